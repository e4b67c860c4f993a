// Fuzz target: arbitrary bytes as the settings file, read by all three readers. Whatever
// the file holds, the values end up in their ranges and the writer's text is well formed.

#include "core/settings.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

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
