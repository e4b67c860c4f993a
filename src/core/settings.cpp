#include "core/settings.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace quomble {

namespace {

constexpr std::size_t kKeyLength = 8;  // seven characters and "="
// No meaningful line comes near this; longer ones are skipped whole, so the loop never
// holds more than this much of a damaged file in memory.
constexpr std::size_t kLongestLine = 4096;

std::int32_t clampTo(std::int32_t value, std::int32_t low, std::int32_t high)
{
    return std::clamp(value, low, high);
}

std::int32_t pageOrZero(std::int32_t page, std::int32_t count)
{
    return page >= 0 && page < count ? page : 0;
}

void appendLine(std::string& out, std::string_view key, std::int64_t value)
{
    out += key;
    out += '=';
    out += std::to_string(value);
    out += "\r\n";
}

}  // namespace

std::optional<std::int32_t> strictDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulate the magnitude in 64 bits; stop as soon as it leaves the 32-bit range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit)
            return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> settingsValue(std::string_view line, std::string_view key)
{
    if (line.size() < kKeyLength || key.size() + 1 != kKeyLength)
        return std::nullopt;
    if (line.substr(0, key.size()) != key || line[key.size()] != '=')
        return std::nullopt;
    return strictDecimal(line.substr(kKeyLength));
}

bool forEachSettingsLine(const std::filesystem::path& file,
                         const std::function<void(std::string_view line)>& onLine)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    bool overlong = false;
    bool pendingCr = false;  // a CR was the last character: an LF right after it belongs to it
    auto finish = [&] {
        if (!overlong)
            onLine(line);
        line.clear();
        overlong = false;
    };
    std::streambuf* buffer = in.rdbuf();
    bool any = false;  // characters since the last line end
    for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
        if (c == '\n' && pendingCr) {
            pendingCr = false;
            continue;
        }
        pendingCr = false;
        if (c == '\r' || c == '\n') {
            pendingCr = c == '\r';
            finish();
            any = false;
            continue;
        }
        any = true;
        if (line.size() < kLongestLine)
            line.push_back(static_cast<char>(c));
        else
            overlong = true;
    }
    if (any)
        finish();
    return true;
}

FrameOnScreens frameOnScreens(WindowRect stored, const std::vector<WindowRect>& screens,
                              std::int32_t minimumSize)
{
    // Enough of the title bar to grab it: 40 pixels wide (the whole window if narrower) and
    // half of its 20 pixels high.
    constexpr std::int64_t kGripWidth = 40;
    constexpr std::int64_t kGripHeight = 20;

    FrameOnScreens out;
    out.frame = stored;
    const std::int32_t low = std::clamp<std::int32_t>(minimumSize, 1, kWindowExtentMax);
    out.frame.width = clampTo(stored.width, low, kWindowExtentMax);
    out.frame.height = clampTo(stored.height, low, kWindowExtentMax);

    // The screen that keeps the largest part of the stored size.
    std::int64_t bestArea = -1;
    WindowRect best = out.frame;
    for (const WindowRect& screen : screens) {
        if (screen.width <= 0 || screen.height <= 0)
            continue;
        const std::int32_t w = std::min(out.frame.width, screen.width);
        const std::int32_t h = std::min(out.frame.height, screen.height);
        if (std::int64_t{w} * h > bestArea) {
            bestArea = std::int64_t{w} * h;
            best.width = w;
            best.height = h;
        }
    }
    out.frame.width = best.width;
    out.frame.height = best.height;

    // In 64 bits: a stored place and a screen may both lie near the ends of the 32-bit range.
    const std::int64_t left = out.frame.left;
    const std::int64_t top = out.frame.top;
    const std::int64_t gripWidth = std::min<std::int64_t>(kGripWidth, out.frame.width);
    for (const WindowRect& screen : screens) {
        if (screen.width <= 0 || screen.height <= 0)
            continue;
        const std::int64_t across =
            std::min<std::int64_t>(left + out.frame.width, std::int64_t{screen.left} + screen.width) -
            std::max<std::int64_t>(left, screen.left);
        const std::int64_t down =
            std::min<std::int64_t>(top + kGripHeight, std::int64_t{screen.top} + screen.height) -
            std::max<std::int64_t>(top, screen.top);
        if (across >= gripWidth && down >= kGripHeight / 2) {
            out.placeUsable = true;
            break;
        }
    }
    return out;
}

std::array<bool, kDiagramOptionCount> Settings::initialOptions()
{
    std::array<bool, kDiagramOptionCount> options{};
    for (std::size_t i = 0; i < options.size(); ++i)
        options[i] = kDiagramOptionKeys[i].initial;
    return options;
}

void Settings::readMain(const std::filesystem::path& file)
{
    const Settings defaults;
    RotationHours = defaults.RotationHours;
    SmoothRadius = defaults.SmoothRadius;
    TrendDays = defaults.TrendDays;
    SlotDays = defaults.SlotDays;
    LogDataPageIndex = defaults.LogDataPageIndex;
    DiagramsPageIndex = defaults.DiagramsPageIndex;
    forEachSettingsLine(file, [this](std::string_view line) {
        if (auto v = settingsValue(line, "scroll1"))
            RotationHours = *v;
        else if (auto v = settingsValue(line, "gradius"))
            SmoothRadius = *v;
        else if (auto v = settingsValue(line, "tradius"))
            TrendDays = *v;
        else if (auto v = settingsValue(line, "view_a1"))
            SlotDays = *v;
        else if (auto v = settingsValue(line, "pos_a_x"))
            MainPlace = WindowPlace{*v, MainPlace ? MainPlace->top : 0};
        else if (auto v = settingsValue(line, "pos_a_y"))
            MainPlace = WindowPlace{MainPlace ? MainPlace->left : 0, *v};
        else if (auto v = settingsValue(line, "tab_c_l"))
            LogDataPageIndex = *v;
        else if (auto v = settingsValue(line, "tab_d_l"))
            DiagramsPageIndex = *v;
    });
    clampToRanges();
}

void Settings::readLogData(const std::filesystem::path& file)
{
    forEachSettingsLine(file, [this](std::string_view line) {
        if (auto v = settingsValue(line, "pos_c_x"))
            LogDataPlace = WindowPlace{*v, LogDataPlace ? LogDataPlace->top : 0};
        else if (auto v = settingsValue(line, "pos_c_y"))
            LogDataPlace = WindowPlace{LogDataPlace ? LogDataPlace->left : 0, *v};
    });
    clampToRanges();
}

void Settings::readDiagrams(const std::filesystem::path& file,
                            const std::function<void(DiagramOption)>& toggle)
{
    DiagramsRect = WindowRect{0, 0, 620, 420};
    forEachSettingsLine(file, [&](std::string_view line) {
        if (auto v = settingsValue(line, "pos_d_x"))
            DiagramsRect.left = *v;
        else if (auto v = settingsValue(line, "pos_d_y"))
            DiagramsRect.top = *v;
        else if (auto v = settingsValue(line, "pos_d_h"))
            DiagramsRect.height = *v;
        else if (auto v = settingsValue(line, "pos_d_w"))
            DiagramsRect.width = *v;
        if (line.size() != kKeyLength + 1)
            return;
        for (std::size_t i = 0; i < kDiagramOptionKeys.size(); ++i) {
            const DiagramOptionKey& k = kDiagramOptionKeys[i];
            // Only the value opposite to the start state does anything.
            if (line.substr(0, 7) == k.key && line[7] == '=' && line[8] == (k.initial ? '0' : '1')) {
                const auto which = static_cast<DiagramOption>(i);
                if (toggle)
                    toggle(which);
                else
                    Options[i] = !Options[i];
                break;
            }
        }
    });
    clampToRanges();
}

void Settings::fitToDayCount(std::int32_t dayCount)
{
    SlotDays = clampTo(SlotDays, 1, std::max<std::int32_t>(dayCount, 1));
}

std::int32_t Settings::trendDaysWithin(std::int32_t days, std::int32_t widest)
{
    return clampTo(days, kTrendDaysMin, std::max(widest, kTrendDaysMin));
}

void Settings::clampToRanges()
{
    RotationHours = clampTo(RotationHours, kRotationHoursMin, kRotationHoursMax);
    SmoothRadius = clampTo(SmoothRadius, kSmoothRadiusMin, kSmoothRadiusMax);
    TrendDays = trendDaysWithin(TrendDays, std::numeric_limits<std::int32_t>::max());
    SlotDays = std::max<std::int32_t>(SlotDays, 1);
    LogDataPageIndex = pageOrZero(LogDataPageIndex, kLogDataPageCount);
    DiagramsPageIndex = pageOrZero(DiagramsPageIndex, kDiagramsPageCount);
    auto clampPlace = [](WindowPlace& p) {
        p.left = clampTo(p.left, -kWindowExtentMax, kWindowExtentMax);
        p.top = clampTo(p.top, -kWindowExtentMax, kWindowExtentMax);
    };
    if (MainPlace)
        clampPlace(*MainPlace);
    if (LogDataPlace)
        clampPlace(*LogDataPlace);
    DiagramsRect.left = clampTo(DiagramsRect.left, -kWindowExtentMax, kWindowExtentMax);
    DiagramsRect.top = clampTo(DiagramsRect.top, -kWindowExtentMax, kWindowExtentMax);
    DiagramsRect.width = clampTo(DiagramsRect.width, kDiagramsMinSize, kWindowExtentMax);
    DiagramsRect.height = clampTo(DiagramsRect.height, kDiagramsMinSize, kWindowExtentMax);
}

std::optional<WindowPlace> Settings::placeAtEnd(const std::optional<WindowPlace>& stored, WindowPlace now,
                                                bool shown) const
{
    if (!PlacesKnown || (stored && !shown))
        return stored;
    return now;
}

std::string Settings::text(std::string_view versionText) const
{
    std::string out;
    out.reserve(600);
    out += "[QuombleView ";
    out += versionText;
    out += "]\r\n";
    appendLine(out, "scroll1", RotationHours);
    appendLine(out, "gradius", SmoothRadius);
    appendLine(out, "tradius", TrendDays);
    appendLine(out, "view_a1", SlotDays);
    auto appendPlace = [&](const char* xKey, const char* yKey, const std::optional<WindowPlace>& place) {
        if (!place && !PlacesKnown)
            return;
        appendLine(out, xKey, place.value_or(WindowPlace{}).left);
        appendLine(out, yKey, place.value_or(WindowPlace{}).top);
    };
    appendPlace("pos_a_x", "pos_a_y", MainPlace);
    appendLine(out, "pos_b_x", AboutPlace.left);
    appendLine(out, "pos_b_y", AboutPlace.top);
    appendPlace("pos_c_x", "pos_c_y", LogDataPlace);
    appendLine(out, "pos_d_x", DiagramsRect.left);
    appendLine(out, "pos_d_y", DiagramsRect.top);
    appendLine(out, "pos_d_w", DiagramsRect.width);
    appendLine(out, "pos_d_h", DiagramsRect.height);
    appendLine(out, "tab_c_l", LogDataPageIndex);
    appendLine(out, "tab_d_l", DiagramsPageIndex);
    for (std::size_t i = 0; i < kDiagramOptionKeys.size(); ++i)
        appendLine(out, kDiagramOptionKeys[i].key, Options[i] ? 1 : 0);
    return out;
}

void Settings::write(const std::filesystem::path& file, std::string_view versionText,
                     const SettingsWriteCalls& calls) const
{
    writeFileSafely(file, text(versionText), "Settings file", calls);
}

}  // namespace quomble
