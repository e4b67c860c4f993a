#include "companion/history_support.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <limits>

namespace quomble::history_support {

namespace {

// Seconds of the epoch of time_t (01.01.1970 00:00:00 UTC) in the log's count.
DateTime unixEpoch() { return dayNumber(1970, 1, 1) * kSecondsPerDay; }

// The local date and time of a broken-down time.
DateTime dateTimeOf(const std::tm& local)
{
    return dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * kSecondsPerDay +
           local.tm_hour * kHour + local.tm_min * 60 + std::min(local.tm_sec, 59);
}

bool letters(std::string_view text)
{
    return !text.empty() && text.size() <= 6 && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c));
    });
}

// "+01", "+0100", "+01:00", "-0330": seconds east of UTC.
std::optional<std::int64_t> numericOffset(std::string_view zone)
{
    if (zone.size() < 3 || (zone[0] != '+' && zone[0] != '-') || !digits(zone.substr(1, 2), 2))
        return std::nullopt;
    std::string_view minutes = zone.substr(3);
    if (!minutes.empty() && minutes[0] == ':')
        minutes.remove_prefix(1);
    if (!(minutes.empty() || digits(minutes, 2)) || (zone.size() > 3 && minutes.empty()))
        return std::nullopt;
    const std::int64_t size =
        number(zone.substr(1, 2)) * kHour + (minutes.empty() ? 0 : number(minutes) * 60);
    if (size > kLargestZoneOffset || (!minutes.empty() && number(minutes) > 59))
        return std::nullopt;
    return zone[0] == '-' ? -size : size;
}

}  // namespace

std::int64_t localZoneOffset(DateTime local)
{
    const auto utc = unixTimeOfLocal(local);
    return utc ? local - unixEpoch() - *utc : 0;
}

LocalZone::LocalZone() { tzset(); }

bool LocalZone::looksLikeZone(std::string_view token) { return letters(token) || numericOffset(token); }

std::optional<DateTime> LocalZone::toLocal(DateTime printed, std::string_view zone)
{
    std::optional<std::int64_t> offset = numericOffset(zone);
    if (zone == "UTC" || zone == "GMT" || zone == "Z") {
        offset = 0;
    } else if (!offset && letters(zone)) {
        // Of the periods of the year in which the local zone uses this abbreviation, the
        // nearest to the time printed.
        std::int64_t nearest = std::numeric_limits<std::int64_t>::max();
        for (const Use& use : uses(civilFromDateTime(printed).year)) {
            const std::int64_t at = printed - unixEpoch() - use.offset;
            const std::int64_t distance = at < use.from ? use.from - at : at > use.to ? at - use.to : 0;
            if (use.abbreviation == zone && distance < nearest) {
                nearest = distance;
                offset = use.offset;
            }
        }
    }
    if (!offset)
        return std::nullopt;
    const std::time_t utc = static_cast<std::time_t>(printed - unixEpoch() - *offset);
    std::tm local{};
    if (!localtime_r(&utc, &local))
        return std::nullopt;
    return dateTimeOf(local);
}

std::string LocalZone::abbreviations(int year)
{
    std::vector<std::string> names;
    for (const Use& use : uses(year))
        if (std::find(names.begin(), names.end(), use.abbreviation) == names.end())
            names.push_back(use.abbreviation);
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

const std::vector<LocalZone::Use>& LocalZone::uses(int year)
{
    const auto found = years_.find(year);
    if (found != years_.end())
        return found->second;
    // Noon UTC of every day from the day before the year to the day after it: a zone keeps an
    // abbreviation for months, never for less than a day.
    std::vector<Use> periods;
    const std::int64_t first = dayNumber(year, 1, 1) - 1, last = dayNumber(year + 1, 1, 1);
    for (std::int64_t day = first; day <= last; ++day) {
        const std::int64_t at = day * kSecondsPerDay + 12 * kHour - unixEpoch();
        const std::time_t utc = static_cast<std::time_t>(at);
        std::tm local{};
        char name[16] = {};
        if (!localtime_r(&utc, &local) || std::strftime(name, sizeof name, "%Z", &local) == 0)
            continue;
        const std::int64_t offset = dateTimeOf(local) - unixEpoch() - at;
        if (!periods.empty() && periods.back().abbreviation == name && periods.back().offset == offset)
            periods.back().to = at;
        else
            periods.push_back({name, offset, at, at});
    }
    return years_.emplace(year, std::move(periods)).first->second;
}

}  // namespace quomble::history_support
