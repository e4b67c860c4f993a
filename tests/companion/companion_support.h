#pragma once

#include "core/datetime.h"
#include "core/model.h"
#include "core/validation.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace quomble::testing {

inline DateTime at(const char* text)
{
    const auto value = parseTimestamp(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(0);
}

// Zone rules written out, so that no zone files are needed: those of Europe/Berlin, where
// the recorded samples were printed, of America/New_York and of Asia/Kolkata.
inline constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
inline constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";
inline constexpr const char* kIndia = "IST-5:30";

// The local time zone (TZ) of the test and the tools it starts, for the life of the object.
class LocalTimeZone {
public:
    explicit LocalTimeZone(const char* rules)
    {
        if (const char* before = std::getenv("TZ"))
            before_ = before;
        ::setenv("TZ", rules, 1);
        ::tzset();
    }
    ~LocalTimeZone()
    {
        if (before_)
            ::setenv("TZ", before_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    LocalTimeZone(const LocalTimeZone&) = delete;
    LocalTimeZone& operator=(const LocalTimeZone&) = delete;

private:
    std::optional<std::string> before_;
};

// The program reads the log without error and its validation finds nothing.
inline ::testing::AssertionResult readsCleanly(const std::filesystem::path& log)
{
    try {
        LogModel model(fixedClock({2030, 1, 1, 0, 0, 0}));
        model.LogFile_read(log);
    } catch (const std::exception& error) {
        return ::testing::AssertionFailure() << "the reader stops: " << error.what();
    }
    const auto findings = LogFileCheck(log);
    if (!findings.empty())
        return ::testing::AssertionFailure() << "validation: " << findings.front().text();
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult readsCleanly(const std::string& text, const TempFolder& dir)
{
    const auto path = dir / "check.log";
    writeFile(path, text);
    return readsCleanly(path);
}

// Runs a shell command; output receives what it printed (standard output first).
inline int runTool(const std::string& command, const TempFolder& dir, std::string* output = nullptr,
                   bool withErrors = true)
{
    const auto out = dir / "output.txt";
    const auto err = dir / "errors.txt";
    const int status = std::system((command + " >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
    if (output)
        *output = readFile(out) + (withErrors ? readFile(err) : std::string());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string shellQuoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace quomble::testing
