#pragma once

#include "core/paths.h"

#include <string>

namespace quomble {

// The settings files of the user running the program, for a program in appDir: beside it
// when the user may write there, in the user's own configuration folder otherwise.
SettingsFiles settingsFilesOfThisUser(const std::string& appDir);

}  // namespace quomble
