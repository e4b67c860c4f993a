// The two programs as the boot service and the user call them.
#include "companion_support.h"

#include <gtest/gtest.h>

namespace quomble {
namespace {

using testing::readFile;
using testing::readsCleanly;
using testing::runTool;
using testing::shellQuoted;
using testing::TempFolder;
using testing::writeFile;

TEST(QuombleLog, LoginLogoutAndTheirExitStatus)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    const std::string tool = std::string(QUOMBLE_LOG_EXE) + " ";
    std::string said;
    EXPECT_EQ(runTool(tool + "login --time '07.12.2026 08:02:11' " + shellQuoted(log), dir, &said), 0);
    EXPECT_NE(said.find("login logged: 07.12.2026 08:02:11"), std::string::npos) << said;
    EXPECT_EQ(runTool(tool + "logout --time '07.12.2026 17:45:30' " + shellQuoted(log), dir), 0);
    EXPECT_EQ(runTool(tool + "logout --time '07.12.2026 17:46:00' " + shellQuoted(log), dir, &said), 2);
    EXPECT_NE(said.find("no open entry"), std::string::npos) << said;
    EXPECT_EQ(readFile(log), "07.12.2026 08:02:11 07.12.2026 17:45:30\r\n");
    EXPECT_EQ(runTool(tool + "logon", dir), 64);
    EXPECT_EQ(runTool(tool + "login --time 'yesterday' " + shellQuoted(log), dir), 64);
}

TEST(QuombleLog, WritesTheLogBesideItsExecutableByDefault)
{
    TempFolder dir;
    const auto copy = dir / "quomble-log";
    std::filesystem::copy_file(QUOMBLE_LOG_EXE, copy);
    EXPECT_EQ(runTool(shellQuoted(copy) + " login --time '07.12.2026 08:02:11'", dir), 0);
    EXPECT_EQ(readFile(dir / "Quomble.log"), "07.12.2026 08:02:11 \r\n");
}

TEST(QuombleLog, AnUnwritableLogFailsWithStatusOne)
{
    TempFolder dir;
    std::string said;
    EXPECT_EQ(runTool(std::string(QUOMBLE_LOG_EXE) + " login " + shellQuoted(dir / "missing" / "Quomble.log"),
                      dir, &said),
              1);
    EXPECT_NE(said.find("quomble-log:"), std::string::npos);
}

TEST(QuombleImport, KeepsAnExistingLogUnlessToldToMergeOrReplace)
{
    const testing::LocalTimeZone zone(testing::kCentralEurope);  // of the recorded lists
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    const std::string data = std::string(QUOMBLE_TEST_DATA) + "/import/";
    const std::string import = std::string(QUOMBLE_IMPORT_EXE) + " --now '07.12.2026 12:00:00' --output " +
                               shellQuoted(log) + " --last " + shellQuoted(data + "last-x-F.txt");
    writeFile(log, "07.12.2026 09:30:00 \r\n");
    EXPECT_EQ(runTool(import, dir), 1);
    EXPECT_EQ(readFile(log), "07.12.2026 09:30:00 \r\n");

    EXPECT_EQ(runTool(import + " --merge", dir), 0);
    EXPECT_TRUE(readFile(log).starts_with("01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"));
    EXPECT_TRUE(readFile(log).ends_with("\r\n07.12.2026 09:30:00 \r\n"));
    EXPECT_TRUE(readsCleanly(log));

    const std::string merged = readFile(log);
    std::string said;
    EXPECT_EQ(runTool(import + " --replace --journal " + shellQuoted(data + "journal-list-boots.txt") +
                          " --journal-tails " + shellQuoted(data + "journal-tails.txt"),
                      dir, &said),
              0);
    EXPECT_EQ(readFile(dir / "Quomble.log.bak"), merged);
    EXPECT_TRUE(readFile(log).starts_with("30.11.2026 18:40:02 30.11.2026 23:05:47\r\n")) << said;
    EXPECT_TRUE(readsCleanly(log));
}

TEST(QuombleImport, ReadsAPipeAndWritesToStandardOutput)
{
    const testing::LocalTimeZone zone(testing::kCentralEurope);  // of the recorded lists
    TempFolder dir;
    const std::string data = std::string(QUOMBLE_TEST_DATA) + "/import/";
    std::string said;
    EXPECT_EQ(runTool("cat " + shellQuoted(data + "journal-list-boots-dash.txt") + " | " +
                          QUOMBLE_IMPORT_EXE + " --now '07.12.2026 12:00:00' --journal - --output -",
                      dir, &said, false),
              0);
    EXPECT_EQ(said, "01.12.2026 07:58:31 01.12.2026 22:10:09\r\n"
                    "02.12.2026 08:03:05 02.12.2026 09:47:13\r\n"
                    "07.12.2026 08:02:03 \r\n");
    EXPECT_EQ(runTool(std::string(QUOMBLE_IMPORT_EXE) + " --output -", dir), 64);
}

}  // namespace
}  // namespace quomble
