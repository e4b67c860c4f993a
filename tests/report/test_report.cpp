#include "report.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quomble;
using nlohmann::json;

namespace {

const std::string kSample = std::string(QUOMBLE_TEST_DATA) + "/sample.log";

std::optional<report::Options> parse(std::vector<const char*> args, std::string& problem)
{
    args.insert(args.begin(), "quomble-report");
    return report::parseArguments(static_cast<int>(args.size()), args.data(), problem);
}

struct ReportRun {
    int status;
    std::string out;
};

ReportRun runReport(const std::string& args)
{
    const std::string command = std::string(QUOMBLE_REPORT_EXE) + " " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer{};
    while (const std::size_t got = fread(buffer.data(), 1, buffer.size(), pipe))
        out.append(buffer.data(), got);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace

TEST(ReportOptions, AcceptsTheDocumentedCommandLine)
{
    std::string problem;
    const auto o = parse({"--now", "07.12.2026 12:00:00", "--json", "--trend-days", "7", "--smooth-radius",
                          "1440", "--table", "days", "--sort", "3:asc", "--sort", "0:desc", "my.log"},
                         problem);
    ASSERT_TRUE(o) << problem;
    EXPECT_TRUE(o->json);
    EXPECT_EQ(o->now->day, 7);
    EXPECT_EQ(o->now->hour, 12);
    EXPECT_EQ(o->trendDays, 7);
    EXPECT_EQ(o->smoothRadius, 1440);
    EXPECT_EQ(o->table, "days");
    ASSERT_EQ(o->sorts.size(), 2u);
    EXPECT_EQ(o->sorts[1].column, 0);
    EXPECT_FALSE(o->sorts[1].ascending);
    EXPECT_EQ(o->logFile, "my.log");

    const auto defaults = parse({}, problem);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->trendDays, 1);
    EXPECT_EQ(defaults->smoothRadius, 60);
    EXPECT_TRUE(defaults->logFile.ends_with("/Quomble.log"));
}

TEST(ReportOptions, RejectsUsageErrors)
{
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"--now", "7.12.2026 12:00"},
             {"--now"},
             {"--trend-days", "0"},
             {"--smooth-radius", "1441"},
             {"--smooth-radius", "-1"},
             {"--smooth-radius", "60x"},
             {"--table", "weeks"},
             {"--table", "boots", "--sort", "3"},
             {"--table", "boots", "--sort", "9:asc"},
             {"--table", "boots", "--table", "days"},
             {"--sort", "1:asc"},
             {"--csv"},
             {"--frobnicate"},
             {"a.log", "b.log"},
         }) {
        std::string problem;
        EXPECT_FALSE(parse(args, problem)) << args[0];
        EXPECT_FALSE(problem.empty()) << args[0];
    }
}

TEST(ReportOptions, SortBeyondTheTablesColumnsNamesItsColumns)
{
    std::string problem;
    EXPECT_FALSE(parse({"--table", "boots", "--sort", "5:desc"}, problem));
    EXPECT_EQ(problem,
              "--sort 5:desc: the boots table has the columns 0 to 4 (Nr., LogIn, LogOut, OnTime, OffTime)");
    EXPECT_FALSE(parse({"--sort", "6:asc", "--table", "days"}, problem));
    EXPECT_EQ(
        problem,
        "--sort 6:asc: the days table has the columns 0 to 5 (Nr., DayofWeek, Date, Boots, Crashs, OnTime)");
    EXPECT_TRUE(parse({"--table", "days", "--sort", "5:desc"}, problem)) << problem;
}

TEST(ReportJson, NamesEveryKeyOfTheContract)
{
    const ReportRun run = runReport("--now \"07.12.2026 12:00:00\" --json " + kSample);
    ASSERT_EQ(run.status, 0);
    const json j = json::parse(run.out);
    const std::vector<std::string> keys = {"findings",
                                           "error",
                                           "CurrentDateTime",
                                           "BootCount",
                                           "LogoutCount",
                                           "CrashCount",
                                           "DayCount",
                                           "DaysWithOnTime",
                                           "BootIndex",
                                           "CrashsPerBoot",
                                           "CrashsPerDay",
                                           "MaxBootsPerDay",
                                           "MaxBootFrequency",
                                           "boots",
                                           "summary",
                                           "Label33Hint",
                                           "days",
                                           "WeekdayTable",
                                           "Bootverlauf",
                                           "Shutdownverlauf",
                                           "Crashverlauf",
                                           "BootverlaufGlatt",
                                           "ShutdownverlaufGlatt",
                                           "CrashverlaufGlatt",
                                           "Verlauf",
                                           "VerlaufNormiert"};
    for (const auto& key : keys)
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_EQ(j.size(), keys.size());
    EXPECT_TRUE(j["findings"].empty());
    EXPECT_TRUE(j["error"].is_null());
    EXPECT_EQ(j["CurrentDateTime"], "07.12.2026 12:00:00");
    EXPECT_EQ(j["BootCount"], 10);
    EXPECT_EQ(j["LogoutCount"], 7);
    EXPECT_EQ(j["CrashCount"], 2);
    ASSERT_EQ(j["boots"].size(), 10u);
    EXPECT_EQ(j["boots"][2]["LogOut"], "");
    EXPECT_EQ(j["boots"][2]["OnTime"], 190);  // a crash lasts until the next login
    EXPECT_EQ(j["boots"][9]["LogOut"], "07.12.2026 12:00:00");
    for (const char* name :
         {"StatMin", "StatMax", "StatSum", "StatAvg", "StatMinBase", "StatSpan", "StatSinceCrash",
          "StatCrashFreeAvg", "StatDayAvg", "StatCrashFreeRun", "StatCrashFreeMax"}) {
        const json& s = j["summary"][name];
        EXPECT_TRUE(s.contains("LogIn") && s.contains("LogOut") && s.contains("OnTime") &&
                    s.contains("OffTime"))
            << name;
    }
    EXPECT_EQ(j["summary"]["StatSinceCrash"]["LogIn"], "04.12.2026 06:30:00");
    EXPECT_EQ(j["WeekdayTable"].size(), 7u);
    EXPECT_EQ(j["Verlauf"].size(), 1441u);
    EXPECT_EQ(j["Label33Hint"].get<std::string>().rfind("between ", 0), 0u);
}

TEST(ReportJson, FindingsAndErrorsAreReported)
{
    const quomble::testing::TempFolder folder;
    const auto& dir = folder.path();
    const auto log = dir / "faulty.log";
    std::ofstream(log, std::ios::binary) << "07.12.2026 08:00:00 07.12.2026 07:00:00\r\n"
                                            "07.12.2026 09:00:00\r\n"
                                            "07.12.2026 10:00:00 \r\n";
    ReportRun run = runReport("--now \"07.12.2026 12:00:00\" --json " + log.string());
    ASSERT_EQ(run.status, 0);
    json j = json::parse(run.out);
    EXPECT_EQ(j["findings"], json({"Error in line : 1 - (logout not later as login)",
                                   "Error in line : 2 - not a correct Log-Entry"}));

    std::ofstream(log, std::ios::binary) << "07.12.2026 08:00:00 \r\n\r\n07.12.2026 10:00:00 \r\n";
    run = runReport("--json " + log.string());
    EXPECT_EQ(run.status, 1);
    j = json::parse(run.out);
    EXPECT_EQ(j["error"], "'' is not a valid date and time");
    EXPECT_FALSE(j.contains("boots"));

    std::ofstream(log, std::ios::binary | std::ios::trunc).flush();
    run = runReport("--json " + log.string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(json::parse(run.out)["error"], "LogFile is empty!");

    run = runReport("--json " + (dir / "missing.log").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(json::parse(run.out)["error"], "LogFile not avaiable!");

    EXPECT_EQ(runReport("--trend-days 0 " + kSample).status, 2);
}

TEST(ReportText, ReadsLikeTheMainWindow)
{
    const ReportRun run = runReport("--now \"07.12.2026 12:00:00\" " + kSample);
    ASSERT_EQ(run.status, 0);
    for (const char* expected :
         {"first log of 28.11.2026 at 08:12:40 o'clock, thus before",
          "current boot of 07.12.2026 at 09:30:00 o'clock, thus before",
          "last crash on 04.12.2026 at 06:30:00 o'clock, thus before", "Altogether 10 times booted on",
          "Altogether 2 times crashed and 7 times shutdowned.", "crashs per boot and",
          "sum of all OffTimes"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    EXPECT_NE(run.out.find("0 days, 2:30:00"), std::string::npos);  // the current boot
    EXPECT_NE(run.out.find("0.200 crashs per boot"), std::string::npos);
}

TEST(ReportText, ShortestOffTimeThatNoBootHasIsADash)
{
    const quomble::testing::TempFolder dir;
    const auto log = dir / "crashes.log";
    std::ofstream(log, std::ios::binary) << "07.12.2026 08:00:00 \r\n07.12.2026 09:00:00 \r\n";
    const ReportRun text = runReport("--now \"07.12.2026 12:00:00\" " + log.string());
    EXPECT_NE(text.out.find("shortest OffTime" + std::string(42, ' ') + std::string(19, ' ') + "-\n"),
              std::string::npos)
        << text.out;
    const json j = json::parse(runReport("--now \"07.12.2026 12:00:00\" --json " + log.string()).out);
    EXPECT_EQ(j["summary"]["StatMin"]["OffTime"], 2147483647);
    EXPECT_EQ(j["summary"]["StatMinBase"]["OffTime"], 2147483647);
    EXPECT_EQ(j["summary"]["StatMin"]["OnTime"], 3600);
}

TEST(ReportTable, PrintsTheWindowsTableAfterTheSorts)
{
    ReportRun run = runReport("--now \"07.12.2026 12:00:00\" --table boots --sort 3:asc " + kSample);
    ASSERT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header, "Nr. .\tLogIn \u00B0\tLogOut \u00B0\tOnTime .\tOffTime \u00B0");
    EXPECT_EQ(first, "9\t06.12.2026 11:11:11\t06.12.2026 11:11:11\t0 / 00:00:00\t0 / 22:18:49");
    EXPECT_EQ(second, "3\t29.11.2026 09:00:00\t\t0 / 00:03:10\t");  // a crash: blank cells

    run = runReport("--now \"07.12.2026 12:00:00\" --table boots --sort 0:desc --sort 0:asc " + kSample);
    std::istringstream again(run.out);
    std::getline(again, header);
    std::getline(again, first);
    EXPECT_EQ(header.substr(0, 6), "Nr. .\t");
    EXPECT_EQ(first.substr(0, 2), "1\t");
}

TEST(ReportTable, CsvIsTheSameTableWithCommasAndCrLf)
{
    const ReportRun run =
        runReport("--now \"07.12.2026 12:00:00\" --table boots --csv --sort 3:asc " + kSample);
    ASSERT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header, "Nr. .,LogIn \u00B0,LogOut \u00B0,OnTime .,OffTime \u00B0\r");
    EXPECT_EQ(first, "9,06.12.2026 11:11:11,06.12.2026 11:11:11,0 / 00:00:00,0 / 22:18:49\r");
    EXPECT_EQ(second, "3,29.11.2026 09:00:00,,0 / 00:03:10,\r");
}

TEST(ReportBadInput, EveryStopHasItsMessageAndStatusOne)
{
    const quomble::testing::TempFolder folder;
    const auto& dir = folder.path();
    const auto log = dir / "Quomble.log";
    // Status and standard error of one run.
    auto run = [](const std::string& file) {
        const std::string command =
            std::string(QUOMBLE_REPORT_EXE) + " --now \"07.12.2026 12:00:00\" " + file + " 2>&1 >/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        std::string err;
        std::array<char, 4096> buffer{};
        while (const std::size_t got = fread(buffer.data(), 1, buffer.size(), pipe))
            err.append(buffer.data(), got);
        const int status = pclose(pipe);
        return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1, err);
    };
    using Result = std::pair<int, std::string>;

    std::filesystem::create_directory(log);
    EXPECT_EQ(run(log.string()),
              (Result{1, "quomble-report: LogFile is not a regular file: " + log.string() + "\n"}));
    std::filesystem::remove(log);
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    EXPECT_EQ(run(log.string()),
              (Result{1, "quomble-report: LogFile is not a regular file: " + log.string() + "\n"}));
    std::filesystem::remove(log);

    // One line of 100 MB of NUL bytes without a line end.
    std::ofstream(log, std::ios::binary).flush();
    std::filesystem::resize_file(log, 100u << 20);
    EXPECT_EQ(run(log.string()),
              (Result{1, "quomble-report: '" + std::string(19, '?') + "' is not a valid date and time\n"}));

    std::ofstream(log, std::ios::binary | std::ios::trunc) << "07.12.2026 08:00:00 \r\n";
    std::filesystem::permissions(log, std::filesystem::perms::none, std::filesystem::perm_options::replace);
    const pid_t child = ::fork();
    if (child == 0) {
        // Without root's rights, so that the permissions count.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(run(log.string()) == Result{1, "quomble-report: LogFile cannot be read: Permission denied\n"}
                    ? 0
                    : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unreadable log was not reported";
}

// What a tool writes to standard output arrives whole or the tool says so: a full disk is an
// error with status 1, a reader that closed the pipe early ends the tool quietly. Both tools
// that print data share the check, so both are run here.
TEST(ToolOutput, FullDiskIsAnErrorAndAClosedPipeIsNot)
{
    const quomble::testing::TempFolder dir;
    // Status and standard error of a bash script.
    auto run = [&dir](const std::string& script) {
        quomble::testing::writeFile(dir / "run.sh", script);
        const std::string command =
            "bash '" + (dir / "run.sh").string() + "' 2>'" + (dir / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                              quomble::testing::readFile(dir / "err.txt"));
    };
    const std::string report = std::string(QUOMBLE_REPORT_EXE) + " --now '07.12.2026 12:00:00' ";
    const std::string generated = std::string(QUOMBLE_TEST_DATA) + "/generated.log";
    for (const std::string& tool : std::vector<std::string>{
             report + "--json " + generated,
             report + "--table days --csv " + generated,
             report + kSample,
             report + "--help",
             std::string(QUOMBLE_IMPORT_EXE) + " --now '07.12.2026 12:00:00' --output - --last " +
                 QUOMBLE_TEST_DATA + "/import/last-x-F.txt",
         }) {
        const auto [status, said] = run(tool + " >/dev/full\n");
        EXPECT_EQ(status, 1) << tool;
        EXPECT_NE(said.find("write error on standard output: No space left on device\n"), std::string::npos)
            << tool << "\n"
            << said;
    }
    // 236 KB of JSON into a pipe that is closed after one byte, with SIGPIPE ignored as some
    // callers leave it: the write fails with EPIPE, and the tool still ends quietly.
    EXPECT_EQ(run("trap '' PIPE\n" + report + "--json " + generated +
                  " | head -c 1 >/dev/null\nexit ${PIPESTATUS[0]}\n"),
              std::make_pair(0, std::string()));
}

namespace quomble {
namespace {

TEST(ReportCrashes, EveryEndWithoutLogoutWithItsRecordedCause)
{
    testing::TempFolder dir;
    const auto log = dir / "Quomble.log";
    testing::writeFile(log, "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n02.12.2026 08:03:12 \r\n"
                            "03.12.2026 09:00:00 \r\n04.12.2026 09:00:00 \r\n");
    testing::writeFile(dir / "Quomble.log.ends",
                       "QuombleView boot ends 1\n[02.12.2026 08:03:12]\nkernel=6.1.0-28-amd64\n"
                       "cause=kernel-panic\nconfidence=high\nlast_entry=02.12.2026 09:03:12\n"
                       "evidence=pstore: /var/lib/systemd/pstore/1/dmesg-efi-1: Kernel panic\n");
    const ReportRun json = runReport("--crashes --json " + log.string());
    ASSERT_EQ(json.status, 0);
    const auto crashes = nlohmann::json::parse(json.out)["crashes"];
    ASSERT_EQ(crashes.size(), 2u);  // the running boot is no crash
    EXPECT_EQ(crashes[0]["cause"], "kernel-panic");
    EXPECT_EQ(crashes[0]["last_entry"], "02.12.2026 09:03:12");
    EXPECT_EQ(crashes[1]["login"], "03.12.2026 09:00:00");
    EXPECT_EQ(crashes[1]["cause"], "none");
    // Per kernel: the panic's boot ran an hour up to its last entry, the closed boot 14 h.
    const auto kernels = nlohmann::json::parse(json.out)["kernels"];
    ASSERT_EQ(kernels.size(), 2u);
    EXPECT_EQ(kernels[1]["kernel"], "6.1.0-28-amd64");
    EXPECT_EQ(kernels[1]["crashes"], 1);
    EXPECT_EQ(nlohmann::json::parse(json.out)["evidence_settings"].size(), 3u);

    const ReportRun text = runReport("--crashes " + log.string());
    EXPECT_NE(
        text.out.find("02.12.2026 08:03:12\t02.12.2026 09:03:12\t0 01:00:00\tkernel panic or oops\thigh\t"
                      "6.1.0-28-amd64"),
        std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("03.12.2026 09:00:00\t-\t-\tnot looked at"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace quomble
