#include "core/paths.h"

#include <filesystem>
#include <system_error>

namespace quomble {

std::string AppDirOf(std::string_view executablePath)
{
    std::string dir(executablePath);
    if (!dir.empty())
        dir.pop_back();
    while (!dir.empty() && dir.back() != '/')
        dir.pop_back();
    return dir;
}

SettingsFiles settingsFilesFor(const std::string& appDir, const SettingsEnvironment& environment)
{
    const std::string beside = IniFileNameIn(appDir);
    std::string config;
    if (environment.xdgConfigHome.starts_with('/'))
        config = environment.xdgConfigHome;
    else if (environment.home.starts_with('/'))
        config = environment.home + (environment.home.ends_with('/') ? ".config" : "/.config");
    if (config.empty() || (environment.writable && environment.writable(appDir.empty() ? "." : appDir)))
        return {beside, beside};
    if (!config.ends_with('/'))
        config += '/';
    const std::string own = config + "quombleview/Quomble.ini";
    const auto exists = [&](const std::string& file) {
        return environment.exists && environment.exists(file);
    };
    return {exists(own) || !exists(beside) ? own : beside, own};
}

std::string runningExecutablePath()
{
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

}  // namespace quomble
