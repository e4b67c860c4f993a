#pragma once

#include "core/datetime.h"
#include "core/model.h"
#include "core/validation.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace quomble::testing {

using TempDir = TempFolder;

inline DateTime at(const char* text)
{
    const auto value = parseTimestamp(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(0);
}

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

inline ::testing::AssertionResult readsCleanly(const std::string& text, const TempDir& dir)
{
    const auto path = dir / "check.log";
    writeFile(path, text);
    return readsCleanly(path);
}

}  // namespace quomble::testing
