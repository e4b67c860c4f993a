#include "core/paths.h"

#include <gtest/gtest.h>

using namespace quomble;

TEST(Paths, LogAndSettingsLieBesideTheExecutable)
{
    EXPECT_EQ(AppDirOf("/opt/quombleview/QuombleV"), "/opt/quombleview/");
    EXPECT_EQ(AppDirOf("/QuombleV"), "/");
    EXPECT_EQ(AppDirOf("QuombleV"), "");
    EXPECT_EQ(AppDirOf(""), "");
    EXPECT_EQ(LogFileNameIn("/opt/q/"), "/opt/q/Quomble.log");
    EXPECT_EQ(IniFileNameIn("/"), "/Quomble.ini");
    const std::string exe = runningExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(AppDirOf(exe).back(), '/');
}
