#include "ui/about/version.h"

// The build passes the project version as QUOMBLE_FILE_VERSION_MAJOR ... _BUILD.
#if defined(QUOMBLE_FILE_VERSION_MAJOR) && defined(QUOMBLE_FILE_VERSION_MINOR) &&                            \
    defined(QUOMBLE_FILE_VERSION_RELEASE) && defined(QUOMBLE_FILE_VERSION_BUILD)
#define QUOMBLE_HAS_FILE_VERSION 1
#endif

namespace quomble {

FileVersion stampedFileVersion()
{
#ifdef QUOMBLE_HAS_FILE_VERSION
    return FileVersion{static_cast<std::uint16_t>(QUOMBLE_FILE_VERSION_MAJOR),
                       static_cast<std::uint16_t>(QUOMBLE_FILE_VERSION_MINOR),
                       static_cast<std::uint16_t>(QUOMBLE_FILE_VERSION_RELEASE),
                       static_cast<std::uint16_t>(QUOMBLE_FILE_VERSION_BUILD)};
#else
    return FileVersion{};
#endif
}

QString versionTextOf(const FileVersion& version)
{
    return QString::number(version.major) + QLatin1Char('.') + QString::number(version.minor);
}

QString buildTextOf(const FileVersion& version) { return QString::number(version.build); }

}  // namespace quomble
