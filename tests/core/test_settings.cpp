#include "core/settings.h"
#include "support/file_faults.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace quomble;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void put(const std::string& content) const { quomble::testing::writeFile(ini_, content); }
    std::string contents() const { return quomble::testing::readFile(ini_); }

    quomble::testing::TempFolder folder_;
    fs::path dir_ = folder_.path();
    fs::path ini_ = folder_ / "Quomble.ini";
};

std::vector<std::string> splitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text must end in CR LF";
    return lines;
}

}  // namespace

TEST(SettingsValue, StrictDecimalAndExactKey)
{
    EXPECT_EQ(settingsValue("gradius=120", "gradius"), 120);
    EXPECT_EQ(settingsValue("scroll1=-5", "scroll1"), -5);
    EXPECT_EQ(settingsValue("pos_a_x=-2147483648", "pos_a_x"), INT32_MIN);
    EXPECT_EQ(settingsValue("pos_a_x=2147483647", "pos_a_x"), INT32_MAX);
    // Rejected values keep the default.
    for (const char* bad : {"gradius=", "gradius= 5", "gradius=5 ", "gradius=abc", "gradius=-", "gradius=+5",
                            "gradius=1e3", "gradius=2147483648", "gradius=99999999999999999999"})
        EXPECT_EQ(settingsValue(bad, "gradius"), std::nullopt) << bad;
    // The key is compared exactly: case, blanks, shorter lines.
    EXPECT_EQ(settingsValue("Gradius=5", "gradius"), std::nullopt);
    EXPECT_EQ(settingsValue(" gradius=5", "gradius"), std::nullopt);
    EXPECT_EQ(settingsValue("gradius =5", "gradius"), std::nullopt);
    EXPECT_EQ(settingsValue("gradius", "gradius"), std::nullopt);
    EXPECT_EQ(settingsValue("gradiusX=5", "gradius"), std::nullopt);
}

TEST_F(SettingsFile, LineLoopKnowsEveryLineEnd)
{
    put("a\r\nb\nc\rd\r\n\r\ne");
    std::vector<std::string> seen;
    EXPECT_TRUE(forEachSettingsLine(ini_, [&](std::string_view l) { seen.emplace_back(l); }));
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));

    // An overlong line is skipped whole, not cut into something that might match.
    put("gradius=" + std::string(5000, '0') + "7\r\ngradius=9\r\n");
    Settings s;
    s.readMain(ini_);
    EXPECT_EQ(s.SmoothRadius, 9);

    EXPECT_FALSE(forEachSettingsLine(dir_ / "missing.ini", [](std::string_view) { FAIL(); }));
}

TEST_F(SettingsFile, MissingFileGivesDefaults)
{
    Settings s;
    s.SmoothRadius = 7;  // the main reader sets its defaults before it looks for the file
    s.readMain(ini_);
    s.readLogData(ini_);
    s.readDiagrams(ini_);
    EXPECT_EQ(s.RotationHours, 0);
    EXPECT_EQ(s.SmoothRadius, 60);
    EXPECT_EQ(s.TrendDays, 1);
    EXPECT_EQ(s.SlotDays, 1);
    EXPECT_EQ(s.LogDataPageIndex, 0);
    EXPECT_EQ(s.DiagramsPageIndex, 0);
    EXPECT_FALSE(s.MainPlace);
    EXPECT_FALSE(s.LogDataPlace);
    EXPECT_EQ(s.DiagramsRect, (WindowRect{0, 0, 620, 420}));
    EXPECT_EQ(s.Options, Settings::initialOptions());
    EXPECT_FALSE(s.option(DiagramOption::AutosizeYAxis));
    EXPECT_TRUE(s.option(DiagramOption::View3D));
}

TEST_F(SettingsFile, WriterWritesThirtyThreeLinesInOrder)
{
    Settings s;
    s.RotationHours = -3;
    s.MainPlace = WindowPlace{100, 200};
    s.AboutPlace = {5, 6};
    s.setOption(DiagramOption::View3D, false);
    s.setOption(DiagramOption::AutosizeYAxis, true);
    const auto lines = splitCrLf(s.text("3.9"));
    const std::vector<std::string> expected{
        "[QuombleView 3.9]", "scroll1=-3",  "gradius=60",  "tradius=1", "view_a1=1", "pos_a_x=100",
        "pos_a_y=200",       "pos_b_x=5",   "pos_b_y=6",   "pos_c_x=0", "pos_c_y=0", "pos_d_x=0",
        "pos_d_y=0",         "pos_d_w=620", "pos_d_h=420", "tab_c_l=0", "tab_d_l=0", "op_d_3d=0",
        "op_d_b_=1",         "op_d_bt=1",   "op_d_c_=1",   "op_d_ct=1", "op_d_e_=1", "op_d_et=1",
        "op_d_bf=1",         "op_dbft=1",   "op_d_cf=1",   "op_dcft=1", "op_d_ay=1", "op_d_gs=1",
        "op_d_bo=1",         "op_d_sd=1",   "op_d_cr=1"};
    EXPECT_EQ(lines, expected);
}

// Where the window system does not tell places (a Wayland session), the stored places go
// back as they were read and a place never read is not written; a window never shown keeps
// its stored place everywhere.
TEST_F(SettingsFile, PlacesTheSystemDoesNotTellStayAsStored)
{
    const WindowPlace stored{300, 400};
    const WindowPlace now{-3, -30};
    Settings s;
    EXPECT_EQ(s.placeAtEnd(stored, now, true), now);
    EXPECT_EQ(s.placeAtEnd(stored, now, false), stored) << "a window never shown";
    EXPECT_EQ(s.placeAtEnd(std::nullopt, now, false), now) << "where it would have opened";

    s.PlacesKnown = false;
    EXPECT_EQ(s.placeAtEnd(stored, now, true), stored);
    EXPECT_EQ(s.placeAtEnd(std::nullopt, now, true), std::nullopt);
    s.LogDataPlace = stored;
    const std::string text = s.text("3.9");
    EXPECT_EQ(text.find("pos_a_"), std::string::npos) << text;
    EXPECT_NE(text.find("pos_c_x=300\r\npos_c_y=400\r\n"), std::string::npos) << text;
    put(text);
    Settings again;
    again.readMain(ini_);
    EXPECT_FALSE(again.MainPlace) << "the next start lets the system place the main window";
}

TEST_F(SettingsFile, RoundTripRestoresEverything)
{
    Settings out;
    out.RotationHours = 23;
    out.SmoothRadius = 0;
    out.TrendDays = 7;
    out.SlotDays = 30;
    out.LogDataPageIndex = 1;
    out.DiagramsPageIndex = 5;
    out.MainPlace = WindowPlace{-8, 12};
    out.LogDataPlace = WindowPlace{300, 400};
    out.DiagramsRect = {10, 20, 800, 600};
    for (int i = 0; i < kDiagramOptionCount; i += 3)
        out.Options[static_cast<std::size_t>(i)] = !out.Options[static_cast<std::size_t>(i)];
    out.write(ini_, "3.9");

    Settings in;
    in.readMain(ini_);
    in.readLogData(ini_);
    in.readDiagrams(ini_);
    in.fitToDayCount(100);
    EXPECT_EQ(in.RotationHours, 23);
    EXPECT_EQ(in.SmoothRadius, 0);
    EXPECT_EQ(in.TrendDays, 7);
    EXPECT_EQ(in.SlotDays, 30);
    EXPECT_EQ(in.LogDataPageIndex, 1);
    EXPECT_EQ(in.DiagramsPageIndex, 5);
    EXPECT_EQ(in.MainPlace, (WindowPlace{-8, 12}));
    EXPECT_EQ(in.LogDataPlace, (WindowPlace{300, 400}));
    EXPECT_EQ(in.DiagramsRect, (WindowRect{10, 20, 800, 600}));
    EXPECT_EQ(in.Options, out.Options);
    EXPECT_EQ(contents(), out.text("3.9"));
    EXPECT_FALSE(fs::exists(dir_ / "Quomble.ini.tmp"));
}

TEST_F(SettingsFile, OptionLinesOnlySwitchAwayFromTheStartState)
{
    auto optionsAfter = [&](const std::string& content) {
        put(content);
        Settings s;
        s.readDiagrams(ini_);
        return s;
    };
    auto s = optionsAfter("op_d_3d=0\r\n");
    EXPECT_FALSE(s.option(DiagramOption::View3D));
    auto rest = s.Options;
    rest[0] = true;
    EXPECT_EQ(rest, Settings::initialOptions());

    EXPECT_TRUE(optionsAfter("op_d_3d=1\r\n").option(DiagramOption::View3D));
    EXPECT_FALSE(optionsAfter("op_d_ay=0\r\n").option(DiagramOption::AutosizeYAxis));
    EXPECT_TRUE(optionsAfter("op_d_ay=1\r\n").option(DiagramOption::AutosizeYAxis));
    EXPECT_TRUE(optionsAfter("op_d_3d=0\r\nop_d_3d=0\r\n").option(DiagramOption::View3D));
    EXPECT_TRUE(optionsAfter("op_d_3d=0 \r\nOP_D_3D=0\r\n op_d_3d=0\r\nop_d_3d=00\r\n")
                    .option(DiagramOption::View3D));
    EXPECT_FALSE(optionsAfter("op_dbft=0\r\n").option(DiagramOption::BootFrequencyTrend));

    // With a toggle the reader hands each flip to the window, in file order.
    put("op_d_cr=0\r\nop_d_gs=0\r\nop_d_cr=0\r\n");
    std::vector<DiagramOption> flips;
    Settings t;
    t.readDiagrams(ini_, [&](DiagramOption o) { flips.push_back(o); });
    EXPECT_EQ(flips, (std::vector{DiagramOption::Crashs, DiagramOption::Stepped, DiagramOption::Crashs}));
    EXPECT_EQ(t.Options, Settings::initialOptions());
}

TEST_F(SettingsFile, ReadersPickOnlyTheirKeysAndTheLastValueWins)
{
    put("[Something else]\r\n"
        "gradius=10\r\n"
        "Gradius=20\r\n"
        "gradius=30\r\n"
        "gradius=junk\r\n"
        "pos_b_x=77\r\n"
        "pos_a_y=15\r\n"
        "pos_d_w=900\r\n"
        "\r\n");
    Settings s;
    s.readMain(ini_);
    EXPECT_EQ(s.SmoothRadius, 30);
    EXPECT_EQ(s.MainPlace, (WindowPlace{0, 15}));
    EXPECT_EQ(s.DiagramsRect.width, 620) << "the main reader does not read the diagrams keys";
    EXPECT_EQ(s.AboutPlace, (WindowPlace{})) << "pos_b_x is never read";
    s.readDiagrams(ini_);
    EXPECT_EQ(s.DiagramsRect, (WindowRect{0, 0, 900, 420}));
    EXPECT_FALSE(s.LogDataPlace);
}

TEST_F(SettingsFile, OutOfRangeValuesAreBroughtIntoRange)
{
    put("scroll1=99\r\ngradius=-1\r\ntradius=0\r\nview_a1=5000\r\ntab_c_l=2\r\ntab_d_l=-1\r\n"
        "pos_d_w=-20\r\npos_d_h=2000000000\r\npos_d_x=-2147483648\r\npos_a_x=2147483647\r\n");
    Settings s;
    s.readMain(ini_);
    s.readDiagrams(ini_);
    EXPECT_EQ(s.RotationHours, 23);
    EXPECT_EQ(s.SmoothRadius, 0);
    EXPECT_EQ(s.TrendDays, 1);
    EXPECT_EQ(s.LogDataPageIndex, 0);
    EXPECT_EQ(s.DiagramsPageIndex, 0);
    EXPECT_EQ(s.DiagramsRect.width, kDiagramsMinSize);
    EXPECT_EQ(s.DiagramsRect.height, kWindowExtentMax);
    EXPECT_EQ(s.DiagramsRect.left, -kWindowExtentMax);
    EXPECT_EQ(s.MainPlace->left, kWindowExtentMax);
    s.fitToDayCount(40);
    EXPECT_EQ(s.SlotDays, 40);
    s.fitToDayCount(0);
    EXPECT_EQ(s.SlotDays, 1);
    EXPECT_EQ(s.TrendDays, 1);

    put("tab_c_l=1\r\ntab_d_l=5\r\nscroll1=-23\r\ngradius=1440\r\n");
    s.readMain(ini_);
    EXPECT_EQ(s.LogDataPageIndex, 1);
    EXPECT_EQ(s.DiagramsPageIndex, 5);
    EXPECT_EQ(s.RotationHours, -23);
    EXPECT_EQ(s.SmoothRadius, 1440);
}

TEST(FrameOnScreens, SizeFitsOnOneScreenAndOnlyAReachablePlaceCounts)
{
    const std::vector<WindowRect> screens{{0, 0, 1920, 1040}, {1920, -400, 1080, 1880}};  // beside: upright
    auto bounded = [&](WindowRect stored) { return frameOnScreens(stored, screens, kDiagramsMinSize); };
    // Too large for both: the screen that keeps more of it bounds it whole.
    EXPECT_EQ(bounded({5, 6, 99999999, 99999999}).frame, (WindowRect{5, 6, 1080, 1880}));
    EXPECT_EQ(bounded({5, 6, 3000, 900}).frame, (WindowRect{5, 6, 1920, 900}));
    EXPECT_EQ(bounded({5, 6, 620, 420}).frame, (WindowRect{5, 6, 620, 420}));
    EXPECT_EQ(bounded({5, 6, -7, 0}).frame, (WindowRect{5, 6, 100, 100}));
    // The place: the title bar must be within reach on some screen.
    EXPECT_TRUE(bounded({2900, -400, 620, 420}).placeUsable);   // 100 pixels on the upright one
    EXPECT_FALSE(bounded({2990, -400, 620, 420}).placeUsable);  // 10 pixels: too few to grab
    EXPECT_FALSE(bounded({100, 1035, 620, 420}).placeUsable);   // the title bar below the first
    EXPECT_FALSE(bounded({-30000, 40, 620, 420}).placeUsable);
    const auto far = bounded({2147483647, -2147483647 - 1, 2147483647, 2147483647});
    EXPECT_FALSE(far.placeUsable);
    EXPECT_EQ(far.frame.width, 1080);
    // No screen known: the size stays within the fixed range, the place is not used.
    const auto none = frameOnScreens({5, 6, 99999999, 50}, {}, kDiagramsMinSize);
    EXPECT_EQ(none.frame, (WindowRect{5, 6, kWindowExtentMax, 100}));
    EXPECT_FALSE(none.placeUsable);
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFile)
{
    put("old content\r\n");
    quomble::testing::ReadOnlyFolder readOnly(dir_);
    if (!readOnly.active())
        GTEST_SKIP() << "this file system cannot make the folder read-only for root";
    Settings s;
    EXPECT_THROW(s.write(ini_, "3.9"), SettingsWriteError);
    readOnly.undo();
    EXPECT_EQ(contents(), "old content\r\n");
}

TEST_F(SettingsFile, MissingFoldersAreMadeAndAFileInTheirPlaceIsReported)
{
    Settings s;
    s.write(dir_ / "config" / "quombleview" / "Quomble.ini", "3.9");
    EXPECT_TRUE(fs::is_regular_file(dir_ / "config" / "quombleview" / "Quomble.ini"));

    put("not a folder");
    try {
        s.write(ini_ / "Quomble.ini", "3.9");
        FAIL() << "no error";
    } catch (const SettingsWriteError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot create the folder"), std::string::npos) << e.what();
    }
}

TEST_F(SettingsFile, RenameFailureLeavesNoTemporaryFile)
{
    // A directory in the place of the file: the temporary file is written, the rename fails.
    fs::create_directories(ini_ / "sub");
    Settings s;
    EXPECT_THROW(s.write(ini_, "3.9"), SettingsWriteError);
    EXPECT_TRUE(fs::is_directory(ini_ / "sub"));
    EXPECT_FALSE(fs::exists(dir_ / "Quomble.ini.tmp"));
}

TEST_F(SettingsFile, FullDiskOrFailedSyncKeepsTheOldFile)
{
    put("old content\r\n");
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    auto expectRefused = [&](const SettingsWriteCalls& calls, const std::string& reason) {
        try {
            Settings().write(ini_, "3.9", calls);
            ADD_FAILURE() << "no error";
        } catch (const SettingsWriteError& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
        EXPECT_EQ(contents(), "old content\r\n");
        EXPECT_FALSE(fs::exists(dir_ / "Quomble.ini.tmp"));
    };
    // Every byte goes to a full disk.
    expectRefused(
        {[full](int, const char* data, std::size_t size) { return long(::write(full, data, size)); }, {}},
        "No space left on device");
    // The disk fills up half-way: a part is written, then nothing more goes.
    int calls = 0;
    expectRefused({[&](int fd, const char* data, std::size_t size) {
                       return ++calls == 1 ? long(::write(fd, data, size / 2))
                                           : long(::write(full, data, size));
                   },
                   {}},
                  "No space left on device");
    EXPECT_EQ(calls, 2);
    // The data never reaches the disk.
    expectRefused({{},
                   [](int) {
                       errno = EIO;
                       return -1;
                   }},
                  "Input/output error");
    ::close(full);
}

TEST_F(SettingsFile, WriteGoesThroughALinkAndKeepsTheMode)
{
    // The file is a link (relative, in another folder, through a second link) to a file
    // only its owner may read.
    fs::create_directories(dir_ / "dotfiles");
    const fs::path target = dir_ / "dotfiles" / "Quomble.ini";
    quomble::testing::writeFile(target, "old content\r\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    fs::create_symlink("dotfiles/Quomble.ini", dir_ / "middle.ini");
    fs::create_symlink("middle.ini", ini_);
    Settings s;
    s.SmoothRadius = 77;
    s.write(ini_, "3.9");
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_TRUE(fs::is_symlink(dir_ / "middle.ini"));
    EXPECT_EQ(quomble::testing::readFile(target), s.text("3.9"));
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(dir_ / "dotfiles" / "Quomble.ini.tmp"));
    EXPECT_FALSE(fs::exists(dir_ / "Quomble.ini.tmp"));

    // A link to nothing yet: the file is made where it points.
    fs::remove(target);
    s.write(ini_, "3.9");
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(quomble::testing::readFile(target), s.text("3.9"));
}

TEST_F(SettingsFile, NewFileIsOnTheDiskBeforeItReplacesTheOld)
{
    put("old content\r\n");
    Settings s;
    s.SmoothRadius = 77;
    bool synced = false;
    s.write(ini_, "3.9", {{}, [&](int fd) {
                              // Synced while the old file is still in place and the new one complete.
                              EXPECT_EQ(contents(), "old content\r\n");
                              EXPECT_EQ(fs::file_size(dir_ / "Quomble.ini.tmp"), s.text("3.9").size());
                              synced = true;
                              return ::fsync(fd);
                          }});
    EXPECT_TRUE(synced);
    EXPECT_EQ(contents(), s.text("3.9"));
    EXPECT_FALSE(fs::exists(dir_ / "Quomble.ini.tmp"));
}

TEST_F(SettingsFile, JunkAndTruncatedFilesKeepTheDefaults)
{
    // Random bytes, NUL bytes and line ends among them: nothing matches, nothing breaks.
    std::mt19937 rng(11);
    std::string junk(1 << 16, '\0');
    for (char& c : junk)
        c = static_cast<char>(rng());
    put(junk);
    Settings s;
    s.readMain(ini_);
    s.readLogData(ini_);
    s.readDiagrams(ini_);
    const Settings defaults;
    EXPECT_EQ(s.text("3.9"), defaults.text("3.9"));

    // A file cut off in the middle of a line: the lines before count, the cut key is
    // read as far as it goes, a cut "key=" is no value.
    const std::string whole = "gradius=30\r\npos_a_x=1234\r\npos_a_y=";
    put(whole);
    s.readMain(ini_);
    EXPECT_EQ(s.SmoothRadius, 30);
    EXPECT_EQ(s.MainPlace, (WindowPlace{1234, 0}));
    put(whole.substr(0, 5));
    s.readMain(ini_);
    EXPECT_EQ(s.SmoothRadius, 60);

    // A symbolic link left where the temporary file goes neither redirects the write nor
    // blocks it.
    const fs::path elsewhere = dir_ / "elsewhere";
    std::ofstream(elsewhere) << "keep";
    fs::create_symlink(elsewhere, dir_ / "Quomble.ini.tmp");
    s.write(ini_, "3.9");
    EXPECT_EQ(contents(), s.text("3.9"));
    std::ifstream in(elsewhere);
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "keep");
}
