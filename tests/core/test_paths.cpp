#include "core/paths.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(Paths, SettingsStayBesideAWritableProgramAndGoToTheUsersFolderOtherwise)
{
    std::set<std::string> files;
    bool appWritable = true;
    SettingsEnvironment env{"", "/home/ann", [&](const std::string&) { return appWritable; },
                            [&](const std::string& f) { return files.contains(f); }};
    const std::string app = "/usr/lib/quombleview/";
    const std::string beside = app + "Quomble.ini";
    const std::string own = "/home/ann/.config/quombleview/Quomble.ini";

    EXPECT_EQ(settingsFilesFor(app, env), (SettingsFiles{beside, beside}));  // portable
    appWritable = false;
    EXPECT_EQ(settingsFilesFor(app, env), (SettingsFiles{own, own}));  // nothing anywhere yet
    files.insert(beside);
    EXPECT_EQ(settingsFilesFor(app, env), (SettingsFiles{beside, own}));  // the system-wide default
    files.insert(own);
    EXPECT_EQ(settingsFilesFor(app, env), (SettingsFiles{own, own}));  // the user's own wins

    env.xdgConfigHome = "/srv/cfg/";
    EXPECT_EQ(settingsFilesFor(app, env).write, "/srv/cfg/quombleview/Quomble.ini");
    env.xdgConfigHome = "relative/cfg";  // not absolute: ignored
    EXPECT_EQ(settingsFilesFor(app, env).write, own);
    env.home = "";
    env.xdgConfigHome = "";
    EXPECT_EQ(settingsFilesFor(app, env), (SettingsFiles{beside, beside}));  // no home at all
}
