#include "core/format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quomble {

namespace {

void appendPadded2(std::string& out, long long value)
{
    if (value >= 0 && value < 10)
        out.push_back('0');
    out += std::to_string(value);
}

}  // namespace

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
    std::string out = std::to_string(days) + " / ";
    appendPadded2(out, hours);
    out.push_back(':');
    appendPadded2(out, minutes);
    out.push_back(':');
    appendPadded2(out, seconds);
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
