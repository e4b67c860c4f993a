// A power cut or a kill can stop the writer after any byte and between any two steps; the
// log on disk must then still be one the program reads.
#include "companion/log_writer.h"
#include "companion_support.h"

#include <gtest/gtest.h>

namespace quomble {
namespace {

using testing::readFile;
using testing::readsCleanly;
using testing::TempFolder;
using testing::writeFile;

struct PowerCut {};

struct Case {
    const char* name;
    std::string before;  // "" with `missing` set: no log yet
    bool missing;
    bool login;
    CivilDateTime now;
};

const std::string kHistory = "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                             "02.12.2026 08:03:12 \r\n"
                             "02.12.2026 12:30:00 03.12.2026 00:00:01\r\n";

std::vector<Case> cases()
{
    return {
        {"login after a shutdown", kHistory, false, true, {2026, 12, 7, 8, 2, 11}},
        {"login after a crash", kHistory + "04.12.2026 09:00:00 \r\n", false, true, {2026, 12, 7, 8, 2, 11}},
        {"logout", kHistory + "07.12.2026 08:02:11 \r\n", false, false, {2026, 12, 7, 17, 45, 30}},
        {"login into a missing log", "", true, true, {2026, 12, 7, 8, 2, 11}},
        {"login after a line without line end",
         "01.12.2026 07:58:40 01.12.2026 22:10:05",
         false,
         true,
         {2026, 12, 7, 8, 2, 11}},
    };
}

LogEdit run(const Case& c, const std::filesystem::path& log, const ReplaceProbe& probe)
{
    WriterOptions options;
    options.clock = fixedClock(c.now);
    options.probe = probe;
    return c.login ? writeLog(LogCommand::Login, log, options) : writeLog(LogCommand::Logout, log, options);
}

// The expected new content, from an undisturbed run.
std::string undisturbed(const Case& c)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    if (!c.missing)
        writeFile(log, c.before);
    run(c, log, {});
    return readFile(log);
}

void expectOldLog(const Case& c, const std::filesystem::path& log, const std::string& where)
{
    if (c.missing) {
        EXPECT_FALSE(std::filesystem::exists(log)) << c.name << where;
        return;
    }
    EXPECT_EQ(readFile(log), c.before) << c.name << where;
    if (c.before.starts_with(kHistory)) {
        EXPECT_TRUE(readsCleanly(log)) << c.name << where;
    }
}

TEST(InterruptedWrite, StoppedAfterEveryByteLeavesTheOldLog)
{
    for (const Case& c : cases()) {
        const std::string after = undisturbed(c);
        ASSERT_GT(after.size(), c.before.size()) << c.name;
        for (std::size_t cut = 0; cut < after.size(); ++cut) {
            TempFolder dir;
            const auto log = dir / "Quomble.log";
            if (!c.missing)
                writeFile(log, c.before);
            ReplaceProbe probe;
            probe.chunk = 1;
            probe.onStep = [cut](ReplaceStep step, std::size_t written) {
                if (step == ReplaceStep::WriteTemp && written == cut)
                    throw PowerCut{};
            };
            EXPECT_THROW(run(c, log, probe), PowerCut);
            expectOldLog(c, log, " cut after byte " + std::to_string(cut));

            // The next run finds the stale temporary file and still does its work.
            run(c, log, {});
            EXPECT_EQ(readFile(log), after) << c.name << " rerun after byte " << cut;
            EXPECT_TRUE(readsCleanly(log)) << c.name;
        }
    }
}

TEST(InterruptedWrite, StoppedBetweenStepsLeavesTheOldOrTheNewLog)
{
    for (const Case& c : cases()) {
        const std::string after = undisturbed(c);
        for (ReplaceStep stop :
             {ReplaceStep::CreateTemp, ReplaceStep::SyncTemp, ReplaceStep::Rename, ReplaceStep::SyncDir}) {
            TempFolder dir;
            const auto log = dir / "Quomble.log";
            if (!c.missing)
                writeFile(log, c.before);
            ReplaceProbe probe;
            probe.onStep = [stop](ReplaceStep step, std::size_t) {
                if (step == stop)
                    throw PowerCut{};
            };
            EXPECT_THROW(run(c, log, probe), PowerCut);
            const std::string where = " stopped at step " + std::to_string(static_cast<int>(stop));
            if (stop == ReplaceStep::SyncDir) {
                EXPECT_EQ(readFile(log), after) << c.name << where;
                EXPECT_TRUE(readsCleanly(log)) << c.name << where;
            } else {
                expectOldLog(c, log, where);
            }
        }
    }
}

TEST(InterruptedWrite, AWriteThatFailsLeavesTheLogAsItWas)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    writeFile(log, kHistory);
    std::filesystem::create_directory(dir / "Quomble.log.tmp");  // cannot be opened for writing
    WriterOptions options;
    options.clock = fixedClock({2026, 12, 7, 8, 2, 11});
    EXPECT_THROW(writeLog(LogCommand::Login, log, options), std::system_error);
    EXPECT_EQ(readFile(log), kHistory);
}

TEST(InterruptedWrite, AFailedSyncAfterTheRenameIsReportedAsAWriteThatHappened)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    writeFile(log, kHistory);
    WriterOptions options;
    options.clock = fixedClock({2026, 12, 7, 8, 2, 11});
    options.probe.onStep = [](ReplaceStep step, std::size_t) {
        if (step == ReplaceStep::SyncDir)
            throw std::system_error(EIO, std::generic_category(), "fsync");
    };
    LogEdit edit;
    ASSERT_NO_THROW(edit = writeLog(LogCommand::Login, log, options));
    EXPECT_EQ(edit.action, LogAction::LoggedIn);
    EXPECT_EQ(readFile(log), kHistory + "07.12.2026 08:02:11 \r\n");
    ASSERT_EQ(edit.warnings.size(), 1u);
    EXPECT_NE(edit.warnings[0].find("was replaced, but its folder"), std::string::npos);
}

}  // namespace
}  // namespace quomble
