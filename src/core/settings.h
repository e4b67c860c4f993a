#pragma once

#include "core/safe_file.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// Quomble.ini: a section line and 32 lines "key=value", each ended by CR LF. One writer
// writes the whole file at the end; three readers (main, log data and diagrams window)
// each pick their own keys out of it at start-up. Every key, its default and its range
// live here.

struct WindowPlace {
    std::int32_t left = 0;
    std::int32_t top = 0;
    friend bool operator==(const WindowPlace&, const WindowPlace&) = default;
};

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// The diagram options in the order of their lines in the file.
enum class DiagramOption : int {
    View3D,               // "3D view"
    BootsPerDay,          // "Boots per day"
    BootTrendPerDay,      // "BootTrend per day"
    CrashsPerDay,         // "Crashs per day"
    CrashTrendPerDay,     // "CrashTrend per day"
    OnTimePerDay,         // "OnTime per day"
    OnTimePerDayTrend,    // "OnTime per day - Trend"
    BootFrequency,        // "Bootfrequency "
    BootFrequencyTrend,   // "Bootfrequency Trend"
    CrashFrequency,       // "Crashfrequency "
    CrashFrequencyTrend,  // "Crashfrequency Trend"
    AutosizeYAxis,        // "autosize Y-axis"
    Stepped,              // "stepped"
    Boots,                // "Boots"
    ShutDowns,            // "ShutDowns"
    Crashs,               // "Crashs"; the last
};
inline constexpr int kDiagramOptionCount = static_cast<int>(DiagramOption::Crashs) + 1;

struct DiagramOptionKey {
    DiagramOption option;
    const char* key;  // 7 characters
    bool initial;     // the menu item's check mark at start
};
inline constexpr std::array<DiagramOptionKey, kDiagramOptionCount> kDiagramOptionKeys{{
    {DiagramOption::View3D, "op_d_3d", true},
    {DiagramOption::BootsPerDay, "op_d_b_", true},
    {DiagramOption::BootTrendPerDay, "op_d_bt", true},
    {DiagramOption::CrashsPerDay, "op_d_c_", true},
    {DiagramOption::CrashTrendPerDay, "op_d_ct", true},
    {DiagramOption::OnTimePerDay, "op_d_e_", true},
    {DiagramOption::OnTimePerDayTrend, "op_d_et", true},
    {DiagramOption::BootFrequency, "op_d_bf", true},
    {DiagramOption::BootFrequencyTrend, "op_dbft", true},
    {DiagramOption::CrashFrequency, "op_d_cf", true},
    {DiagramOption::CrashFrequencyTrend, "op_dcft", true},
    {DiagramOption::AutosizeYAxis, "op_d_ay", false},
    {DiagramOption::Stepped, "op_d_gs", true},
    {DiagramOption::Boots, "op_d_bo", true},
    {DiagramOption::ShutDowns, "op_d_sd", true},
    {DiagramOption::Crashs, "op_d_cr", true},
}};
// Each key stands at its option's place, so an option indexes its key.
inline constexpr bool diagramOptionKeysInOrder()
{
    for (std::size_t i = 0; i < kDiagramOptionKeys.size(); ++i)
        if (kDiagramOptionKeys[i].option != static_cast<DiagramOption>(i))
            return false;
    return true;
}
static_assert(diagramOptionKeysInOrder(), "kDiagramOptionKeys must follow the order of DiagramOption");

// Ranges of the stored values; anything outside is brought into range before use.
inline constexpr std::int32_t kRotationHoursMin = -23;
inline constexpr std::int32_t kRotationHoursMax = 23;
inline constexpr std::int32_t kSmoothRadiusMin = 0;
inline constexpr std::int32_t kSmoothRadiusMax = 1440;
inline constexpr std::int32_t kTrendDaysMin = 1;            // stored wider than the log is kept
inline constexpr std::int32_t kTrendDaysMax = 100'000'000;  // what the report tool accepts
inline constexpr std::int32_t kLogDataPageCount = 2;        // Boots, Days
inline constexpr std::int32_t kDiagramsPageCount = 6;
inline constexpr std::int32_t kDiagramsMinSize = 100;  // outer width and height
inline constexpr std::int32_t kWindowExtentMax = 32767;

// --- Windows on the screens the program runs on ------------------------------------------
// A stored window frame, bounded by the screens' available areas (without panels and task
// bars) as the window system gives them now. The size is at least `minimumSize` and fits
// whole on one of the screens (the one that keeps most of the stored size; that bound wins
// over the minimum on a screen smaller than it). The place is used only when enough of the
// window's top edge lies on a screen to grab the title bar there; otherwise the system
// places the window. Screens without area count as none; without any screen the size stays
// within kWindowExtentMax and the place is not used.
struct FrameOnScreens {
    WindowRect frame;  // the bounded size at the stored place
    bool placeUsable = false;
};
FrameOnScreens frameOnScreens(WindowRect stored, const std::vector<WindowRect>& screens,
                              std::int32_t minimumSize = 1);

// The value of a settings line for one key: the first 8 characters must equal key + "="
// exactly (case-sensitive, nothing trimmed) and the rest must be a decimal integer
// ("-" sign allowed, no blanks) within the signed 32-bit range. Anything else: nullopt.
std::optional<std::int32_t> settingsValue(std::string_view line, std::string_view key);

// Strict decimal conversion: an optional "-", then one or more digits, nothing else,
// within the signed 32-bit range.
std::optional<std::int32_t> strictDecimal(std::string_view text);

// The line loop shared by the readers: calls onLine for every line of the file, without
// its line end (CR LF, LF or CR). A missing file calls nothing and gives false.
bool forEachSettingsLine(const std::filesystem::path& file,
                         const std::function<void(std::string_view line)>& onLine);

// The settings writer's error and its system calls are those of every safe file write.
using SettingsWriteError = FileWriteError;
using SettingsWriteCalls = FileWriteCalls;

// Every value the settings file holds, with its default.
struct Settings {
    // The main window's values, shared with the diagrams and log data windows.
    static constexpr std::int32_t kSmoothRadiusDefault = 60;
    static constexpr std::int32_t kTrendDaysDefault = 1;
    std::int32_t RotationHours = 0;
    std::int32_t SmoothRadius = kSmoothRadiusDefault;
    std::int32_t TrendDays = kTrendDaysDefault;
    std::int32_t SlotDays = 1;
    std::int32_t LogDataPageIndex = 0;
    std::int32_t DiagramsPageIndex = 0;

    // Window places in screen coordinates of the outer frame. Empty: placed by the system.
    std::optional<WindowPlace> MainPlace;
    WindowPlace AboutPlace;  // written, never read: the About window opens centred
    std::optional<WindowPlace> LogDataPlace;
    WindowRect DiagramsRect{0, 0, 620, 420};

    // Whether the window system tells the program where its windows stand (not a file
    // value; the start-up sets it). A Wayland session does not: there `pos()` reads the
    // origin or the decoration's offset, so the places read at start-up are written back
    // as they were, and a place never read is left out of the file, while the sizes are
    // still taken from the windows.
    bool PlacesKnown = true;
    // The place a window hands to the writer: `now` (where it stands, or for a window never
    // shown where it would open) when places are known and the window was shown or has no
    // stored place; otherwise the stored place as it was.
    std::optional<WindowPlace> placeAtEnd(const std::optional<WindowPlace>& stored, WindowPlace now,
                                          bool shown) const;

    // The check marks of the diagrams window's options.
    std::array<bool, kDiagramOptionCount> Options = initialOptions();

    bool option(DiagramOption which) const { return Options[static_cast<std::size_t>(which)]; }
    void setOption(DiagramOption which, bool on) { Options[static_cast<std::size_t>(which)] = on; }
    static std::array<bool, kDiagramOptionCount> initialOptions();

    // --- The three readers; each reads the whole file and picks out only its keys ------
    // Main window: sets its six defaults first (also when the file is missing), then reads
    // scroll1, gradius, tradius, view_a1, pos_a_x, pos_a_y, tab_c_l, tab_d_l, and brings
    // the values into range (the day-dependent ones see fitToDayCount).
    void readMain(const std::filesystem::path& file);
    // Log data window: pos_c_x and pos_c_y; no defaults of its own.
    void readLogData(const std::filesystem::path& file);
    // Diagrams window: places it at 0, 0 with 620 x 420 first, reads pos_d_x, pos_d_y,
    // pos_d_h, pos_d_w, and for each line that is exactly one of the 16 "switch away
    // from the start state" lines ("op_d_3d=0" ... "op_d_ay=1" ...) calls toggle. Without
    // a toggle the option's mark in Options is flipped.
    void readDiagrams(const std::filesystem::path& file,
                      const std::function<void(DiagramOption)>& toggle = {});

    // SlotDays lies within 1..dayCount (1 when there is no day). TrendDays is not cut: a
    // trend wider than the log is used and written back as stored.
    void fitToDayCount(std::int32_t dayCount);
    // The trend width the controls show: TrendDays, at most the day count (at least 1).
    std::int32_t shownTrendDays(std::int32_t dayCount) const { return trendDaysWithin(TrendDays, dayCount); }
    // The one clamp of a trend width: within kTrendDaysMin..widest (widest below the
    // minimum counts as the minimum).
    static std::int32_t trendDaysWithin(std::int32_t days, std::int32_t widest);
    // Brings every value that has a fixed range into it; page indexes out of range give 0.
    void clampToRanges();

    // --- The writer ---------------------------------------------------------------------
    // The 33 lines, each ended by CR LF. A window without a place is written at 0, 0 where
    // places are known; where they are not, its two lines are left out, so that the next
    // start lets the system place it instead of putting it into the corner.
    std::string text(std::string_view versionText) const;
    // Writes text() to `file` + ".tmp", syncs it to the disk and renames it over the old
    // file, so that a full disk, a crash or a power cut leaves the old file or the new one,
    // never a part (writeFileSafely: through a link to its target, the mode kept). A missing
    // folder is created first. Throws SettingsWriteError; the old file then stays untouched
    // and the temporary file is gone.
    void write(const std::filesystem::path& file, std::string_view versionText,
               const SettingsWriteCalls& calls = {}) const;
};

}  // namespace quomble
