#include "core/datetime.h"

#include "core/errors.h"

#include <array>
#include <climits>
#include <cstring>
#include <ctime>

namespace quomble {

namespace {

// Days since 01.01.1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kEpochOffset = daysFromCivil(1899, 12, 30);

int twoDigits(const char* p)
{
    const unsigned a = static_cast<unsigned char>(p[0]) - '0';
    const unsigned b = static_cast<unsigned char>(p[1]) - '0';
    if (a > 9 || b > 9)
        return -1;
    return static_cast<int>(a * 10 + b);
}

int fourDigits(const char* p)
{
    const int hi = twoDigits(p);
    const int lo = twoDigits(p + 2);
    return hi < 0 || lo < 0 ? -1 : hi * 100 + lo;
}

std::optional<std::int64_t> parseDayNumber(const char* p)
{
    if (p[2] != '.' || p[5] != '.')
        return std::nullopt;
    const int day = twoDigits(p);
    const int month = twoDigits(p + 3);
    const int year = fourDigits(p + 6);
    if (day < 0 || month < 0 || year < 1 || !isValidDate(year, month, day))
        return std::nullopt;
    return dayNumber(year, month, day);
}

const std::array<const char*, 7> kShortNames = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
const std::array<const char*, 7> kLongNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};

void putTwo(std::string& out, int value)
{
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

void putYear(std::string& out, int year)
{
    // Four digits for 0001..9999, which keeps the text readable as a log timestamp.
    if (year < 1000) {
        for (int div = 1000; div > 0; div /= 10)
            out.push_back(static_cast<char>('0' + (year / div) % 10));
        return;
    }
    out += std::to_string(year);
}

// "dd.mm.yyyy"
void putDate(std::string& out, const CivilDateTime& civil)
{
    putTwo(out, civil.day);
    out.push_back('.');
    putTwo(out, civil.month);
    out.push_back('.');
    putYear(out, civil.year);
}

}  // namespace

CivilDateTime systemLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
}

Clock systemClock()
{
    return [] { return systemLocalTime(); };
}

Clock fixedClock(CivilDateTime at)
{
    return [at] { return at; };
}

bool isValidDate(int year, int month, int day)
{
    if (month < 1 || month > 12 || day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int limit = month == 2 && leap ? 29 : kDays[month - 1];
    return day <= limit;
}

std::int64_t dayNumber(int year, int month, int day)
{
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset;
}

CivilDateTime civilFromDayNumber(std::int64_t number)
{
    const std::int64_t z = number + kEpochOffset + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    CivilDateTime civil;
    civil.year = static_cast<int>(y + (m <= 2));
    civil.month = static_cast<int>(m);
    civil.day = static_cast<int>(d);
    return civil;
}

std::optional<DateTime> parseTimestamp(std::string_view text)
{
    if (text.size() != 19 || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto day = parseDayNumber(text.data());
    if (!day)
        return std::nullopt;
    const int hour = twoDigits(text.data() + 11);
    const int minute = twoDigits(text.data() + 14);
    const int second = twoDigits(text.data() + 17);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return *day * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

std::optional<DateTime> parseDate(std::string_view text)
{
    if (text.size() != 10)
        return std::nullopt;
    const auto day = parseDayNumber(text.data());
    if (!day)
        return std::nullopt;
    return *day * kSecondsPerDay;
}

std::optional<DateTime> parseDateOrTimestamp(std::string_view text)
{
    return text.size() == 10 ? parseDate(text) : parseTimestamp(text);
}

DateTime readTimestamp(std::string_view text)
{
    if (const auto value = parseTimestamp(text))
        return *value;
    throw IntakeError("'" + quoteForMessage(text) + "' is not a valid date and time");
}

DateTime readDate(std::string_view text)
{
    if (const auto value = parseDateOrTimestamp(text))
        return *value;
    throw IntakeError("'" + quoteForMessage(text) + "' is not a valid date");
}

std::optional<DateTime> TimestampReader::read(std::string_view text)
{
    if (text.size() == 19 && hasDate_ && std::memcmp(text.data(), date_, 10) == 0 && text[10] == ' ' &&
        text[13] == ':' && text[16] == ':') {
        const int hour = twoDigits(text.data() + 11);
        const int minute = twoDigits(text.data() + 14);
        const int second = twoDigits(text.data() + 17);
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
            return std::nullopt;
        return dayStart_ + hour * 3600 + minute * 60 + second;
    }
    const auto value = parseTimestamp(text);
    if (value) {
        std::memcpy(date_, text.data(), 10);
        dayStart_ = *value - (twoDigits(text.data() + 11) * 3600 + twoDigits(text.data() + 14) * 60 +
                              twoDigits(text.data() + 17));
        hasDate_ = true;
    }
    return value;
}

DateTime TimestampReader::readOrThrow(std::string_view text)
{
    if (const auto value = read(text))
        return *value;
    return readTimestamp(text);  // throws with the message of an unreadable timestamp
}

std::string formatDate(std::int64_t number)
{
    std::string out;
    out.reserve(10);
    putDate(out, civilFromDayNumber(number));
    return out;
}

CivilDateTime civilFromDateTime(DateTime value)
{
    std::int64_t days = value / kSecondsPerDay;
    std::int64_t rest = value % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    CivilDateTime civil = civilFromDayNumber(days);
    civil.hour = static_cast<int>(rest / 3600);
    civil.minute = static_cast<int>(rest / 60 % 60);
    civil.second = static_cast<int>(rest % 60);
    return civil;
}

std::string formatTimestamp(DateTime value) { return formatTimestamp(civilFromDateTime(value)); }

std::string formatTimestamp(const CivilDateTime& civil)
{
    std::string out;
    out.reserve(19);
    putDate(out, civil);
    out.push_back(' ');
    putTwo(out, civil.hour);
    out.push_back(':');
    putTwo(out, civil.minute);
    out.push_back(':');
    putTwo(out, civil.second);
    return out;
}

std::int32_t saturate32(std::int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t dt_delta(DateTime a, DateTime b) { return saturate32(b - a); }

std::string Datumermitteln(const Clock& clock) { return formatTimestamp(clock()); }

int dayOfWeek(std::int64_t number)
{
    // 30.12.1899 was a Saturday.
    const std::int64_t w = (number + 6) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::string Wochentag_ermitteln(std::string_view dateText)
{
    return kShortNames[static_cast<std::size_t>(dayOfWeek(readDate(dateText) / kSecondsPerDay))];
}

std::string Wochentag_ermitteln_lang(std::string_view dateText)
{
    return kLongNames[static_cast<std::size_t>(dayOfWeek(readDate(dateText) / kSecondsPerDay))];
}

std::string quoteForMessage(std::string_view text)
{
    constexpr std::size_t kLimit = 60;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < kLimit; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out.push_back(c < 32 || c == 127 ? '?' : static_cast<char>(c));
    }
    if (text.size() > kLimit)
        out += "...";
    return out;
}

std::optional<std::int64_t> unixTimeOfLocal(DateTime local)
{
    const CivilDateTime c = civilFromDateTime(local);
    std::tm parts{};
    parts.tm_year = c.year - 1900;
    parts.tm_mon = c.month - 1;
    parts.tm_mday = c.day;
    parts.tm_hour = c.hour;
    parts.tm_min = c.minute;
    parts.tm_sec = c.second;
    parts.tm_isdst = -1;
    const std::time_t t = std::mktime(&parts);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return static_cast<std::int64_t>(t);
}

}  // namespace quomble
