#pragma once

#include <QString>

#include <cstdint>

namespace quomble {

// The file version of the program: major, minor, release, build.
struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};

// The version the build stamped into the executable; all 0 when it carries none.
FileVersion stampedFileVersion();

// "3.9" of 3.9.0.268, "3.10" of 3.10.x.y.
QString versionTextOf(const FileVersion& version);
// "268" of 3.9.0.268.
QString buildTextOf(const FileVersion& version);

}  // namespace quomble
