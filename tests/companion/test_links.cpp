// The installed layout: Quomble.log beside the programs is a link into the state folder.
#include "companion/atomic_file.h"
#include "companion_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <cstdlib>
#include <thread>
#include <sys/wait.h>
#include <system_error>

namespace quomble {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;

TEST(LinkedLog, ReplacingWritesTheLinksTargetInItsOwnFolderAndKeepsTheLink)
{
    TempFolder dir;
    fs::create_directories(dir / "app");
    fs::create_directories(dir / "state");
    const auto link = dir / "app" / "Quomble.log";
    fs::create_symlink("../state/Quomble.log", link);  // relative and dangling, as after an install

    bool tempBesideTarget = false, tempBesideLink = true;
    ReplaceProbe probe;
    probe.onStep = [&](ReplaceStep step, std::size_t) {
        if (step == ReplaceStep::Rename) {
            tempBesideTarget = fs::exists(dir / "state" / "Quomble.log.tmp");
            tempBesideLink = fs::exists(dir / "app" / "Quomble.log.tmp");
        }
    };
    EXPECT_EQ(replaceFileAtomically(link, "first\r\n", 0644, probe), "");
    EXPECT_EQ(replaceFileAtomically(link, "second\r\n", 0644), "");
    EXPECT_TRUE(tempBesideTarget);
    EXPECT_FALSE(tempBesideLink);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(dir / "state" / "Quomble.log"), "second\r\n");
    EXPECT_EQ(fs::read_symlink(link), "../state/Quomble.log");

    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_THROW(replaceFileAtomically(dir / "loop-a", "x", 0644), std::system_error);
}

TEST(LinkedLog, InstalledToolsWriteThroughTheLinkBesideThem)
{
    TempFolder dir;
    fs::create_directories(dir / "app");
    fs::create_directories(dir / "state");
    fs::copy_file(QUOMBLE_LOG_EXE, dir / "app" / "quomble-log");
    fs::copy_file(QUOMBLE_IMPORT_EXE, dir / "app" / "quomble-import");
    fs::create_symlink((dir / "state" / "Quomble.log").string(), dir / "app" / "Quomble.log");
    const std::string app = "'" + (dir / "app").string() + "/";

    const std::string quiet = " >/dev/null 2>&1";
    const std::string last = std::string(QUOMBLE_TEST_DATA) + "/import/last-x-F.txt";
    ASSERT_EQ(
        std::system(
            (app + "quomble-import' --now '07.12.2026 12:00:00' --last '" + last + "'" + quiet).c_str()),
        0);
    const int status =
        std::system((app + "quomble-log' logout --time '07.12.2026 17:00:00'" + quiet).c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_TRUE(fs::is_symlink(dir / "app" / "Quomble.log"));
    EXPECT_EQ(readFile(dir / "state" / "Quomble.log"), "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                                                       "02.12.2026 08:03:12 \r\n"
                                                       "02.12.2026 12:30:00 03.12.2026 00:00:01\r\n"
                                                       "04.12.2026 09:00:00 04.12.2026 17:45:30\r\n"
                                                       "07.12.2026 08:02:11 07.12.2026 17:00:00\r\n");
    EXPECT_FALSE(fs::exists(dir / "app" / "Quomble.log.tmp"));
}

// The sleep service: logout before a suspend, login after the resume, within one boot.
TEST(LinkedLog, ALoginAfterAResumeStartsANewEntry)
{
    TempFolder dir;
    const std::string log = " '" + (dir / "Quomble.log").string() + "' >/dev/null 2>&1";
    const std::string tool = QUOMBLE_LOG_EXE;
    ASSERT_EQ(std::system((tool + " login" + log).c_str()), 0);
    ASSERT_EQ(std::system((tool + " logout" + log).c_str()), 0);
    ASSERT_EQ(std::system((tool + " login --resume" + log).c_str()), 0);
    const std::string text = readFile(dir / "Quomble.log");
    ASSERT_EQ(text.size(), 41u + 22u) << text;  // the closed entry before the suspend and the new one
    EXPECT_EQ(text.substr(60), " \r\n");
}

// The import through the link and the boot service on the link's target take one lock.
TEST(LinkedLog, ImportThroughTheLinkWaitsForTheLockOfTheTargetsFolder)
{
    TempFolder dir;
    fs::create_directories(dir / "app");
    fs::create_directories(dir / "state");
    fs::create_symlink("../state/Quomble.log", dir / "app" / "Quomble.log");
    testing::writeFile(dir / "state" / "Quomble.log", "07.12.2026 08:02:11 \r\n");
    const std::string last = std::string(QUOMBLE_TEST_DATA) + "/import/last-x-F.txt";

    std::optional<DirectoryLock> held;
    held.emplace(dir / "state");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        held.reset();
    });
    const auto start = std::chrono::steady_clock::now();
    const int status =
        std::system((std::string("'") + QUOMBLE_IMPORT_EXE + "' --now '07.12.2026 12:00:00' --last '" + last +
                     "' --merge --output '" + (dir / "app" / "Quomble.log").string() + "' >/dev/null 2>&1")
                        .c_str());
    const auto waited = std::chrono::steady_clock::now() - start;
    release.join();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GE(waited, std::chrono::milliseconds(1400));
}

TEST(LinkedLog, MergeKeepsTheEntriesAfterACtrlZ)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    testing::writeFile(log, "01.01.2020 08:00:00 01.01.2020 18:00:00\r\n\x1a"
                            "02.01.2020 08:00:00 02.01.2020 18:00:00\r\n");
    const std::string last = std::string(QUOMBLE_TEST_DATA) + "/import/last-x-F.txt";
    std::string output;
    ASSERT_EQ(testing::runTool(std::string("'") + QUOMBLE_IMPORT_EXE +
                                   "' --now '07.12.2026 12:00:00' --last '" + last + "' --merge --output '" +
                                   log.string() + "'",
                               dir, &output),
              0)
        << output;
    const std::string text = readFile(log);
    EXPECT_EQ(text.find('\x1a'), std::string::npos);
    EXPECT_NE(text.find("02.01.2020 08:00:00 02.01.2020 18:00:00\r\n"), std::string::npos) << text;
    EXPECT_NE(output.find("Ctrl-Z"), std::string::npos) << output;
}

}  // namespace
}  // namespace quomble
