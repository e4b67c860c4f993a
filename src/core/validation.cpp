#include "core/validation.h"

#include "core/datetime.h"
#include "core/log_lines.h"

#include <algorithm>

namespace quomble {

std::string Finding::text() const
{
    const std::string n = std::to_string(line);
    switch (kind) {
    case Kind::NotALogEntry:
        return "Error in line : " + n + " - not a correct Log-Entry";
    case Kind::WrongLineFormat:
        return "wrong line format : " + n;
    case Kind::LoginBeforeLast:
        return "Error in line : " + n + " - (login later as last logout)";
    case Kind::LogoutNotLater:
        return "Error in line : " + n + " - (logout not later as login)";
    }
    return {};
}

std::vector<Finding> LogFileCheck(LogLineReader& lines)
{
    std::vector<Finding> findings;
    std::uint64_t n = 0;
    DateTime lastLogin = kZeroDateTime;
    DateTime lastLogout = kZeroDateTime;
    TimestampReader timestamps;
    LogLine line;
    while (lines.next(line)) {
        ++n;
        const std::uint64_t len = line.length;
        if (len < 20 || len > 39)
            findings.push_back({Finding::Kind::NotALogEntry, n});

        const DateTime reference = len >= 21 ? lastLogout : lastLogin;
        const std::string_view login = line.head.substr(0, 19);
        const std::string_view logout =
            len >= 21 ? line.head.substr(20, std::min<std::size_t>(19, line.head.size() - 20))
                      : std::string_view{};

        bool readable = false;
        if (const auto in = timestamps.read(login)) {
            lastLogin = *in;
            readable = true;
            if (len >= 23) {
                if (const auto out = timestamps.read(logout))
                    lastLogout = *out;
                else
                    readable = false;
            }
        }
        if (!readable)
            findings.push_back({Finding::Kind::WrongLineFormat, n});
        if (lastLogin < reference)
            findings.push_back({Finding::Kind::LoginBeforeLast, n});
        if (len >= 23 && lastLogout < lastLogin)
            findings.push_back({Finding::Kind::LogoutNotLater, n});
    }
    return findings;
}

std::vector<Finding> LogFileCheck(const std::filesystem::path& logFile)
{
    LogLineReader lines(logFile);
    return LogFileCheck(lines);
}

}  // namespace quomble
