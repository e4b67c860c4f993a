#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quomble {

// The directory of an executable path with its trailing separator: the path's last
// character is removed, then characters until the text ends in '/'.
// "/opt/quombleview/QuombleV" gives "/opt/quombleview/", "/QuombleV" gives "/".
std::string AppDirOf(std::string_view executablePath);

// The full path of the running executable ("" when the system does not tell).
std::string runningExecutablePath();

inline std::string LogFileNameIn(const std::string& appDir) { return appDir + "Quomble.log"; }
inline std::string IniFileNameIn(const std::string& appDir) { return appDir + "Quomble.ini"; }

// Where the settings are read from and written to. They differ only when an installed
// program starts from a system-wide default beside it and keeps the user's own file.
struct SettingsFiles {
    std::string read;
    std::string write;
    friend bool operator==(const SettingsFiles&, const SettingsFiles&) = default;
};

// The files the program works on, resolved once at start-up and handed to the windows.
struct ProgramFiles {
    std::string log;
    SettingsFiles settings;
};

// The log and the settings file beside the executable in appDir.
inline ProgramFiles programFilesIn(const std::string& appDir)
{
    return {LogFileNameIn(appDir), {IniFileNameIn(appDir), IniFileNameIn(appDir)}};
}

// What the settings rule needs to know of the system.
struct SettingsEnvironment {
    std::string xdgConfigHome;                                // $XDG_CONFIG_HOME, "" when unset
    std::string home;                                         // $HOME, "" when unset
    std::function<bool(const std::string& folder)> writable;  // may this user create files there
    std::function<bool(const std::string& file)> exists;
};

// A folder the user may write to (a build tree, an unpacked copy) keeps Quomble.ini beside
// the executable. Otherwise the user's own $XDG_CONFIG_HOME/quombleview/Quomble.ini
// (~/.config/... when the variable is unset or not absolute) is written; it is read when it
// exists, else a Quomble.ini beside the executable serves as the system-wide default.
// Without any home the file beside the executable is used as before.
SettingsFiles settingsFilesFor(const std::string& appDir, const SettingsEnvironment& environment);

}  // namespace quomble
