#include "companion/history_support.h"

#include <algorithm>
#include <cctype>

namespace quomble::history_support {

namespace {

std::string offsetText(std::int64_t seconds)
{
    const std::int64_t size = seconds < 0 ? -seconds : seconds;
    std::string text = seconds < 0 ? "-" : "+";
    text += std::to_string(size / kHour) + " h";
    if (size % kHour != 0)
        text += " " + std::to_string(size % kHour / 60) + " min";
    return text;
}

}  // namespace

std::vector<std::string_view> tokens(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool digits(std::string_view text, std::size_t count)
{
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view text)
{
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<DateTime> makeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1 || year > 9999 || !isValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return dayNumber(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

// "hh:mm:ss", optionally followed by a fraction of a second (dropped).
bool clockTime(std::string_view text, int& h, int& m, int& s)
{
    const auto dot = text.find_first_of(".,");
    if (dot != std::string_view::npos) {
        if (!std::all_of(text.begin() + static_cast<std::ptrdiff_t>(dot) + 1, text.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        text = text.substr(0, dot);
    }
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !digits(text.substr(0, 2), 2) ||
        !digits(text.substr(3, 2), 2) || !digits(text.substr(6, 2), 2))
        return false;
    h = number(text.substr(0, 2));
    m = number(text.substr(3, 2));
    s = number(text.substr(6, 2));
    return true;
}

std::string plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Moves a boot's login by the offset of a hardware clock on local time, and says so.
void moveLogin(BootSpan& boot, std::int64_t shift, ImportNotes& notes)
{
    const DateTime before = boot.login;
    boot.login += shift;
    boot.seenUntil = std::max(boot.seenUntil, boot.login);
    notes.push_back("the boot of " + formatTimestamp(before) +
                    " was recorded before the clock was set (a hardware clock on local time): moved by " +
                    offsetText(shift) + " to " + formatTimestamp(boot.login));
}

std::int64_t fixLoginAfter(BootSpan& boot, DateTime later, std::optional<DateTime> floor,
                           const std::vector<std::int64_t>& found, bool wholeHours, ImportNotes& notes)
{
    const std::int64_t ahead = boot.login - later;
    if (ahead <= kSmallestClockFix || ahead > kLargestZoneOffset)
        return 0;
    std::vector<std::int64_t> offsets = {localZoneOffset(boot.login)};
    offsets.insert(offsets.end(), found.begin(), found.end());
    for (const std::int64_t offset : offsets) {
        if (offset >= ahead && offset <= kLargestZoneOffset && (!floor || boot.login - offset >= *floor)) {
            moveLogin(boot, -offset, notes);
            return offset;
        }
    }
    const std::int64_t hours = (ahead + kHour - 1) / kHour * kHour;
    if (!wholeHours || (floor && boot.login - hours < *floor))
        return 0;
    moveLogin(boot, -hours, notes);
    return hours;
}

// The boots to keep (see keepConsistent).
std::vector<bool> consistentBoots(const std::vector<BootSpan>& boots, DateTime now, std::size_t last)
{
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<bool> keep(boots.size(), false);
    if (last >= boots.size() || boots[last].login > now)
        last = kNone;
    // A boot may begin up to kClockStepTolerance before the end of the one before it (the
    // clock went back at the end of summer time), but a shut down boot then ends after that
    // end: one that ended before it lies on the other side of a clock set back.
    const auto fits = [](const BootSpan& before, const BootSpan& after) {
        return after.login >= before.seenUntil || (after.login + kClockStepTolerance >= before.seenUntil &&
                                                   (!after.logout || after.seenUntil > before.seenUntil));
    };
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < boots.size(); ++i)
        if (boots[i].login <= now && (last == kNone || (i != last && fits(boots[i], boots[last]))))
            candidates.push_back(i);
    // The longest chain of boots in order, each fitting the one before it.
    const std::size_t n = candidates.size();
    std::vector<std::size_t> length(n, 1), before(n, n);
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t from = j > kConsistencyWindow ? j - kConsistencyWindow : 0;
        for (std::size_t i = from; i < j; ++i) {
            // Of chains as long, the one through the later boot.
            if (length[i] + 1 >= length[j] && fits(boots[candidates[i]], boots[candidates[j]])) {
                length[j] = length[i] + 1;
                before[j] = i;
            }
        }
    }
    std::size_t end = n;
    for (std::size_t j = 0; j < n; ++j)
        if (end == n || length[j] >= length[end])
            end = j;
    for (std::size_t j = end; j < n; j = before[j])
        keep[candidates[j]] = true;
    if (last != kNone)
        keep[last] = true;
    return keep;
}

// Reports each boot left out, the first ten by their time.
void dropInconsistent(std::vector<BootSpan>& boots, const std::vector<bool>& keep, DateTime now,
                      ImportNotes& notes)
{
    constexpr std::size_t kNamed = 10;
    std::size_t i = 0, dropped = 0;
    std::erase_if(boots, [&](const BootSpan& boot) {
        if (keep[i++])
            return false;
        if (++dropped > kNamed)
            return true;
        if (boot.login > now)
            notes.push_back("the boot of " + formatTimestamp(boot.login) + " lies after now (" +
                            formatTimestamp(now) + ") and was dropped: the clock was ahead then");
        else
            notes.push_back("the boot of " + formatTimestamp(boot.login) +
                            " does not fit between the boots around it and was dropped: the clock was "
                            "wrong then");
        return true;
    });
    if (dropped > kNamed)
        notes.push_back(plural(dropped - kNamed, "more boot", "more boots") + " with a wrong clock " +
                        (dropped - kNamed == 1 ? "was" : "were") + " dropped");
}

}  // namespace quomble::history_support
