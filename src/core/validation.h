#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

class LogLineReader;

// One message of the log validation, kept compact: a log of junk lines may raise millions.
struct Finding {
    enum class Kind : std::uint8_t {
        NotALogEntry,     // length below 20 or above 39
        WrongLineFormat,  // a timestamp cannot be read
        LoginBeforeLast,  // login earlier than the reference time
        LogoutNotLater,   // logout earlier than the login of the same line
    };
    Kind kind;
    std::uint64_t line;  // 1-based

    std::string text() const;
    friend bool operator==(const Finding&, const Finding&) = default;
};

// Checks every line of the log and returns the findings in the order they arise.
// It only reports: the intake goes on whatever it finds.
std::vector<Finding> LogFileCheck(LogLineReader& lines);
std::vector<Finding> LogFileCheck(const std::filesystem::path& logFile);

}  // namespace quomble
