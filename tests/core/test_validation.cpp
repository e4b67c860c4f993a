#include "core/errors.h"
#include "core/log_lines.h"
#include "core/validation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace quomble;

namespace {

using Texts = std::vector<std::string>;

const std::filesystem::path kData = QUOMBLE_TEST_DATA;

Texts texts(const std::vector<Finding>& findings)
{
    Texts out;
    for (const Finding& f : findings)
        out.push_back(f.text());
    return out;
}

// Validates log lines given one per element; each gets a CR LF.
Texts check(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    LogLineReader reader{std::string_view(bytes)};
    return texts(LogFileCheck(reader));
}

std::string notAnEntry(int n)
{
    return "Error in line : " + std::to_string(n) + " - not a correct Log-Entry";
}
std::string wrongFormat(int n) { return "wrong line format : " + std::to_string(n); }
std::string loginEarly(int n)
{
    return "Error in line : " + std::to_string(n) + " - (login later as last logout)";
}
std::string logoutEarly(int n)
{
    return "Error in line : " + std::to_string(n) + " - (logout not later as login)";
}

}  // namespace

TEST(LogFileCheck, MessageTexts)
{
    EXPECT_EQ((Finding{Finding::Kind::NotALogEntry, 7}.text()),
              "Error in line : 7 - not a correct Log-Entry");
    EXPECT_EQ((Finding{Finding::Kind::WrongLineFormat, 12}.text()), "wrong line format : 12");
    EXPECT_EQ((Finding{Finding::Kind::LoginBeforeLast, 1000000}.text()),
              "Error in line : 1000000 - (login later as last logout)");
    EXPECT_EQ((Finding{Finding::Kind::LogoutNotLater, 3}.text()),
              "Error in line : 3 - (logout not later as login)");
}

TEST(LogFileCheck, WellFormedLogsRaiseNothing)
{
    // Leap day, a year change, sessions across midnight, a crash, equal times and an
    // open last line.
    EXPECT_EQ(texts(LogFileCheck(kData / "wellformed.log")), Texts{});
    // 400 boots over two years as the log generator writes them.
    EXPECT_EQ(texts(LogFileCheck(kData / "generated.log")), Texts{});
    EXPECT_EQ(check({"07.12.2026 08:00:00 "}), Texts{});
    EXPECT_EQ(check({}), Texts{});
}

TEST(LogFileCheck, FaultyLogInLineOrder)
{
    const Texts expected = {
        loginEarly(3),                    // before line 1's logout
        notAnEntry(4),   wrongFormat(4),  // empty line
        notAnEntry(5),                    // 19 characters
        logoutEarly(6),
        wrongFormat(7),                    // 31.02.
        notAnEntry(8),                     // 45 characters, logout still read
        loginEarly(10),                    // before line 8's logout, an open entry between
        loginEarly(11),                    // 22 characters: compared with the last logout
        wrongFormat(12), logoutEarly(12),  // unreadable logout keeps the last one
        notAnEntry(13),  wrongFormat(13), logoutEarly(13),
    };
    EXPECT_EQ(texts(LogFileCheck(kData / "faulty.log")), expected);
}

TEST(LogFileCheck, LengthLimits)
{
    const std::string closed = "07.12.2026 08:00:00 07.12.2026 09:00:00";
    EXPECT_EQ(check({"07.12.2026 08:00:00"}), Texts{notAnEntry(1)});
    EXPECT_EQ(check({closed + " "}), Texts{notAnEntry(1)});
    EXPECT_EQ(check({closed + std::string(1000, 'x')}), Texts{notAnEntry(1)});
    EXPECT_EQ(check({"07.12.2026 08:00:00  "}), Texts{});   // 21 characters
    EXPECT_EQ(check({"07.12.2026 08:00:00 07"}), Texts{});  // 22 characters: no logout read
    // 23 characters: the logout is read, fails, and the zero date-time stays the last logout.
    EXPECT_EQ(check({"07.12.2026 08:00:00 07."}), (Texts{wrongFormat(1), logoutEarly(1)}));
    EXPECT_EQ(check({closed + "\x1a"}), Texts{});  // Ctrl-Z ends the file
}

TEST(LogFileCheck, EmptyLineKeepsTheLastLogin)
{
    EXPECT_EQ(check({""}), (Texts{notAnEntry(1), wrongFormat(1)}));
    // The next open entry is compared with the login before the empty line.
    EXPECT_EQ(check({"07.12.2026 08:00:00 07.12.2026 09:00:00", "", "07.12.2026 08:30:00 "}),
              (Texts{notAnEntry(2), wrongFormat(2)}));
    EXPECT_EQ(check({"07.12.2026 08:00:00 07.12.2026 09:00:00", "", "07.12.2026 07:59:59 "}),
              (Texts{notAnEntry(2), wrongFormat(2), loginEarly(3)}));
}

TEST(LogFileCheck, OpenEntryIsComparedWithThePreviousLogin)
{
    const std::string first = "07.12.2026 08:00:00 07.12.2026 12:00:00";
    EXPECT_EQ(check({first, "07.12.2026 08:00:00 "}), Texts{});
    EXPECT_EQ(check({first, "07.12.2026 07:59:59 "}), Texts{loginEarly(2)});
    // A closed entry after an open one is compared with the logout before them, even when
    // it lies before the open entry's login.
    EXPECT_EQ(check({first, "07.12.2026 11:00:00 ", "07.12.2026 11:30:00 07.12.2026 13:00:00"}),
              Texts{loginEarly(3)});
    EXPECT_EQ(check({first, "07.12.2026 13:00:00 ", "07.12.2026 12:00:00 07.12.2026 14:00:00"}), Texts{});
}

TEST(LogFileCheck, ClosedEntryOrder)
{
    const std::string first = "07.12.2026 08:00:00 07.12.2026 12:00:00";
    EXPECT_EQ(check({first, "07.12.2026 12:00:00 07.12.2026 12:00:00"}), Texts{});
    EXPECT_EQ(check({first, "07.12.2026 11:59:59 07.12.2026 13:00:00"}), Texts{loginEarly(2)});
    EXPECT_EQ(check({"07.12.2026 08:00:00 07.12.2026 07:59:59"}), Texts{logoutEarly(1)});
    // A logout before its login becomes the reference of the next closed entry all the same.
    EXPECT_EQ(check({"07.12.2026 08:00:00 07.12.2026 06:00:00", "07.12.2026 07:00:00 07.12.2026 07:30:00"}),
              Texts{logoutEarly(1)});
}

TEST(LogFileCheck, FirstLineIsComparedWithTheZeroDateTime)
{
    EXPECT_EQ(check({"30.12.1899 00:00:00 30.12.1899 00:00:00"}), Texts{});
    EXPECT_EQ(check({"29.12.1899 23:59:59 "}), Texts{loginEarly(1)});
    EXPECT_EQ(check({"01.01.0001 00:00:00 01.01.0001 00:00:01"}), Texts{loginEarly(1)});
}

TEST(LogFileCheck, UnreadableTimestamps)
{
    const std::string first = "07.12.2026 08:00:00 07.12.2026 09:00:00";
    for (const char* bad : {"31.02.2026 10:00:00 ", "29.02.2025 10:00:00 ", "07.12.2026 24:00:00 ",
                            "7.12.2026 10:00:00  ", "07-12-2026 10:00:00 ", "07.12.2026 10:00:60 "}) {
        EXPECT_EQ(check({first, bad}), Texts{wrongFormat(2)}) << bad;
    }
    EXPECT_EQ(check({"29.02.2024 10:00:00 29.02.2024 11:00:00"}), Texts{});
    // An unreadable login keeps the last login and skips the logout, so a closed entry
    // compares the previous login with the previous logout.
    EXPECT_EQ(check({first, "xx.12.2026 10:00:00 07.12.2026 11:00:00"}),
              (Texts{wrongFormat(2), loginEarly(2)}));
    // An unreadable logout keeps the last logout, which the same line's login and the next
    // closed entry are then compared with.
    EXPECT_EQ(
        check({first, "07.12.2026 10:00:00 07.12.2026 99:00:00", "07.12.2026 09:30:00 07.12.2026 10:00:00"}),
        (Texts{wrongFormat(2), logoutEarly(2)}));
}

TEST(LogFileCheck, SameDateDifferentTimes)
{
    // Many lines of one day in a row: every time is still checked on its own.
    const Texts expected = {wrongFormat(2), wrongFormat(3), wrongFormat(4), wrongFormat(5), loginEarly(6)};
    EXPECT_EQ(
        check({"07.12.2026 08:00:00 07.12.2026 09:00:00", "07.12.2026 25:00:00 ", "07.12.2026 10:60:00 ",
               "07.12.2026 10:00:0x ", "07.12.2026 10-00:00 ", "07.12.2026 07:59:59 "}),
        expected);
    EXPECT_EQ(check({"07.12.2026 23:59:59 08.12.2026 00:00:00", "08.12.2026 00:00:00 08.12.2026 23:59:59",
                     "09.12.2026 00:00:00 "}),
              Texts{});
    // The date of the previous line must match in full.
    EXPECT_EQ(check({"07.12.2026 08:00:00 07.12.2026 09:00:00", "07.12.2026 10:00:00 07.12.2027 10:00:00",
                     "07.12.2027 11:00:00 07.12.2026 12:00:00"}),
              Texts{logoutEarly(3)});
}

TEST(LogFileCheck, MissingLog) { EXPECT_THROW(LogFileCheck(kData / "no-such.log"), IntakeError); }
