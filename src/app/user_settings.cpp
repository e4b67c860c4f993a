#include "app/user_settings.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace quomble {

SettingsFiles settingsFilesOfThisUser(const std::string& appDir)
{
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    SettingsEnvironment environment;
    environment.xdgConfigHome = variable("XDG_CONFIG_HOME");
    environment.home = variable("HOME");
    environment.writable = [](const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; };
    environment.exists = [](const std::string& file) {
        std::error_code ec;
        return std::filesystem::exists(file, ec);
    };
    return settingsFilesFor(appDir, environment);
}

}  // namespace quomble
