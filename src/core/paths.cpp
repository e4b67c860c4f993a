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

std::string runningExecutablePath()
{
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

}  // namespace quomble
