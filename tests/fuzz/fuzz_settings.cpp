// Fuzz target: arbitrary bytes as the settings file, read by all three readers. Whatever
// the file holds, the values end up in their ranges, the writer's text is well formed, and
// the stored windows, bounded by any screens, fit on one of them.

#include "core/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quomble;

namespace {

const std::filesystem::path& scratchFile()
{
    // Memory-backed where the system has it: a file is written twice per run.
    static const std::filesystem::path dir =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    static const std::filesystem::path path = dir / ("quomble-fuzz-" + std::to_string(getpid()) + ".ini");
    return path;
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// A stored window, bounded by the screens, is at least one pixel and fits whole on one of
// them (on none: within the fixed range, and its place is not used). A place that is used
// has a part of the window's top edge on a screen.
void requireOnScreens(const WindowRect& stored, const std::vector<WindowRect>& screens)
{
    const FrameOnScreens bounded = frameOnScreens(stored, screens, kDiagramsMinSize);
    const WindowRect& f = bounded.frame;
    require(f.left == stored.left && f.top == stored.top);
    require(f.width >= 1 && f.height >= 1 && f.width <= kWindowExtentMax && f.height <= kWindowExtentMax);
    bool fits = false;
    bool reachable = false;
    bool anyScreen = false;
    for (const WindowRect& s : screens) {
        if (s.width <= 0 || s.height <= 0)
            continue;
        anyScreen = true;
        fits = fits || (f.width <= s.width && f.height <= s.height);
        const std::int64_t right = std::int64_t{f.left} + f.width;
        const std::int64_t screenRight = std::int64_t{s.left} + s.width;
        const std::int64_t screenBottom = std::int64_t{s.top} + s.height;
        reachable = reachable || (f.left < screenRight && right > s.left && f.top < screenBottom &&
                                  std::int64_t{f.top} + 20 > s.top);
    }
    require(anyScreen ? fits : !bounded.placeUsable);
    require(!bounded.placeUsable || reachable);
}

// Screens made of the input's first bytes (any place, any size, also none or without area)
// beside a few ordinary arrangements.
std::vector<std::vector<WindowRect>> screenSets(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::vector<WindowRect>> sets{
        {},
        {{0, 0, 1920, 1040}},
        {{0, 0, 1920, 1040}, {1920, -400, 1080, 1880}},
        {{-1280, 0, 1280, 984}, {0, 27, 2560, 1413}},
        {{0, 0, 60, 40}},  // smaller than the least size of a window
    };
    std::vector<WindowRect> made;
    auto next = [&, at = std::size_t{0}]() mutable {
        std::int32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 8 |
                                              (at < size ? data[at++] : 0u));
        return value;
    };
    for (std::size_t i = 0; i < std::min<std::size_t>(size / 16, 3); ++i)
        made.push_back(WindowRect{next(), next(), next(), next()});
    sets.push_back(made);
    return sets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Settings settings;
    settings.readMain(scratchFile());
    settings.readLogData(scratchFile());
    int toggles = 0;
    settings.readDiagrams(scratchFile(), [&](DiagramOption) { ++toggles; });
    settings.fitToDayCount(size > 0 ? data[0] : 0);
    settings.clampToRanges();

    require(settings.RotationHours >= kRotationHoursMin && settings.RotationHours <= kRotationHoursMax);
    require(settings.SmoothRadius >= 0 && settings.SmoothRadius <= kSmoothRadiusMax);
    require(settings.TrendDays >= 1 && settings.SlotDays >= 1);
    require(settings.LogDataPageIndex >= 0 && settings.LogDataPageIndex < kLogDataPageCount);
    require(settings.DiagramsPageIndex >= 0 && settings.DiagramsPageIndex < kDiagramsPageCount);
    for (const auto& screens : screenSets(data, size)) {
        requireOnScreens(settings.DiagramsRect, screens);
        if (settings.MainPlace)
            requireOnScreens({settings.MainPlace->left, settings.MainPlace->top, 440, 397}, screens);
        if (settings.LogDataPlace)
            requireOnScreens({settings.LogDataPlace->left, settings.LogDataPlace->top, 506, 400}, screens);
    }

    const std::string text = settings.text("3.9");
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    require(lines == 33);

    // What the writer wrote, the readers read back unchanged.
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out << text;
    }
    Settings again;
    again.readMain(scratchFile());
    again.readLogData(scratchFile());
    again.readDiagrams(scratchFile());
    again.fitToDayCount(size > 0 ? data[0] : 0);
    again.clampToRanges();
    require(again.text("3.9") == text);
    return 0;
}
