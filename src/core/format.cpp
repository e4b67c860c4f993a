#include "core/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quomble {

namespace {

void appendPadded2(std::string& out, long long value)
{
    if (value >= 0 && value < 10)
        out.push_back('0');
    appendNumber(out, value);
}

}  // namespace

void appendNumber(std::string& out, long long value)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

void appendDurationText(std::string& out, std::int32_t days, int hours, int minutes, int seconds)
{
    appendNumber(out, days);
    out += " / ";
    appendPadded2(out, hours);
    out.push_back(':');
    appendPadded2(out, minutes);
    out.push_back(':');
    appendPadded2(out, seconds);
}

std::string ratioText(double value, char decimalSeparator)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3e", value);  // four significant digits
    const double rounded = std::strtod(buffer, nullptr);
    std::snprintf(buffer, sizeof buffer, "%.3f", rounded);
    std::string text(buffer);
    if (text == "-0.000")
        text = "0.000";
    for (char& c : text)
        if (c == '.')
            c = decimalSeparator;
    return text;
}

std::string durationText(std::int32_t days, int hours, int minutes, int seconds)
{
    std::string out;
    appendDurationText(out, days, hours, minutes, seconds);
    return out;
}

std::string clockText(std::int64_t seconds)
{
    std::string out;
    appendPadded2(out, seconds / 3600);
    out.push_back(':');
    appendPadded2(out, seconds / 60 % 60);
    out.push_back(':');
    appendPadded2(out, seconds % 60);
    return out;
}

std::string daysClockText(std::int32_t days, int hours, int minutes, int seconds)
{
    std::string out = std::to_string(days) + (days == 1 ? " day, " : " days, ");
    out += std::to_string(hours);
    out.push_back(':');
    appendPadded2(out, minutes);
    out.push_back(':');
    appendPadded2(out, seconds);
    return out;
}

}  // namespace quomble
