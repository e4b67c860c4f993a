#pragma once

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

}  // namespace quomble
