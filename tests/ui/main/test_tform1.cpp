#include "ui/about/tform2.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/durationgrid.h"
#include "ui/main/figures_format.h"
#include "ui/main/tform1.h"
#include "ui/components/window_plugs.h"
#include "support/title_recorder.h"
#include "support/window_fixture.h"
#include "report.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include <gtest/gtest.h>

#include "support/places.h"
#include "support/qt_printers.h"

using namespace quomble;
using namespace quomble::testing;

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kGreen(0x00, 0x80, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);

QStringList row(const TForm1& f, int r)
{
    QStringList cells;
    for (int c = 0; c < 4; ++c)
        cells << f.StringAlignGrid1->cell(c, r);
    return cells;
}

QString text(const TForm1& f, int label) { return f.label(label)->text(); }

// A diagrams window that only records what the main window asks of it.
class FakeDiagrams : public DiagramsWindow {
public:
    void ini_File_read(const std::filesystem::path&, Settings& s) override
    {
        ++reads;
        s.DiagramsRect = {1, 2, 700, 500};
    }
    void storeSettings(Settings& s) const override { s.DiagramsRect = {11, 22, 701, 501}; }
    void showModal() override { calls << "show"; }
    void PageControl1Change() override { calls << "prepare"; }
    QStringList calls;
    int reads = 0;
};

class MainWindowTest : public WindowFixture {};

}  // namespace

TEST_F(MainWindowTest, captionsAndFiguresOfAKnownLog)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    TitleRecorder titles(&f);
    ASSERT_TRUE(f.FormCreate());
    ASSERT_TRUE(messages.messages.empty());
    ASSERT_EQ(titles.distinct(), (QStringList{"analyzing LogFile... 0%", "analyzing LogFile... 10%",
                                              "analyzing LogFile... 20%", "analyzing LogFile... 50%",
                                              "analyzing LogFile... 60%", "analyzing LogFile... 100%"}));
    ASSERT_TRUE(f.isVisible());
    ASSERT_TRUE(f.intakeComplete());
    ASSERT_TRUE(f.Timer1->isActive());
    ASSERT_EQ(f.Timer1->interval(), 1000);

    ASSERT_EQ(text(f, 24), QStringLiteral("Monday, the 07.12.2026 at 12:00:00 o\u00B4clock"));
    ASSERT_EQ(text(f, 2), "01.12.2026");
    ASSERT_EQ(text(f, 26), "08:00:00");
    ASSERT_EQ(text(f, 5), "07.12.2026");
    ASSERT_EQ(text(f, 30), "11:00:00");
    ASSERT_EQ(text(f, 14), "03.12.2026");
    ASSERT_EQ(text(f, 32), "09:00:00");

    ASSERT_EQ(row(f, 0), (QStringList{"day", "hou", "min", "sec"}));
    ASSERT_EQ(row(f, 1), (QStringList{"6", "4", "0", "0"}));   // since the first log
    ASSERT_EQ(row(f, 2), (QStringList{"0", "1", "0", "0"}));   // current boot
    ASSERT_EQ(f.StringAlignGrid1->cell(0, 3), QString());      // never a day count
    ASSERT_EQ(row(f, 4), (QStringList{"0", "3", "0", "0"}));   // longest crash-free
    ASSERT_EQ(row(f, 5), (QStringList{"1", "6", "30", "0"}));  // average crash-free
    ASSERT_EQ(row(f, 6), (QStringList{"0", "3", "0", "0"}));   // since the last crash
    ASSERT_EQ(row(f, 7), (QStringList{"1", "3", "30", "0"}));  // difference
    ASSERT_EQ(row(f, 8), (QStringList{"0", "1", "0", "0"}));
    ASSERT_EQ(row(f, 9), (QStringList{"0", "6", "6", "0"}));
    ASSERT_EQ(row(f, 10), (QStringList{"1", "0", "0", "0"}));
    ASSERT_EQ(row(f, 11), (QStringList{"1", "6", "30", "0"}));
    ASSERT_EQ(row(f, 12), (QStringList{"0", "2", "0", "0"}));
    ASSERT_EQ(row(f, 13), (QStringList{"0", "23", "30", "0"}));
    ASSERT_EQ(row(f, 14), (QStringList{"4", "0", "0", "0"}));
    ASSERT_EQ(row(f, 15), (QStringList{"4", "21", "30", "0"}));

    // Colours, bold and the row heights that line the rows up with their captions.
    const DurationGrid* g = f.StringAlignGrid1;
    ASSERT_TRUE(!g->cellColor(0, 0).isValid());
    ASSERT_EQ(g->cellColor(3, 2), kNavy);
    ASSERT_EQ(g->cellColor(1, 3), kGreen);
    ASSERT_TRUE(g->cellBold(1, 3));
    ASSERT_EQ(g->cellColor(2, 7), kMaroon);
    ASSERT_TRUE(g->cellBold(0, 11) && !g->cellBold(0, 10));
    ASSERT_EQ(g->cellColor(0, 15), kRed);
    ASSERT_TRUE(g->cellBold(0, 15));
    const int captions[16] = {0, 1, 4, 11, 33, 17, 13, 16, 18, 19, 20, 21, 22, 25, 27, 28};
    for (int r = 1; r < 16; ++r)
        ASSERT_EQ(g->y() + g->cellRect(0, r).y() + 2, f.label(captions[r])->y());

    ASSERT_EQ(text(f, 23), "5");
    ASSERT_EQ(text(f, 57), "1");
    ASSERT_EQ(text(f, 59), "3");
    ASSERT_EQ(f.label(22)->toolTip(), QStringLiteral("on 01.12.2026 10:00:00 o\u00B4clock"));
    ASSERT_EQ(f.label(27)->toolTip(), QStringLiteral("on 03.12.2026 11:00:00 o\u00B4clock"));
    ASSERT_EQ(f.label(18)->toolTip(), QStringLiteral("on 07.12.2026 11:00:00 o\u00B4clock"));
    ASSERT_EQ(f.label(20)->toolTip(), QStringLiteral("on 02.12.2026 09:00:00 o\u00B4clock"));
    ASSERT_EQ(f.label(17)->toolTip(),
              QStringLiteral("results from \"sum of all OnTimes\" per number of crashes "));
    ASSERT_EQ(f.label(24)->toolTipDuration(), 60000);

    // The date line stays centred whatever its length.
    const int centre = f.frameGeometry().width() / 2;
    ASSERT_TRUE(qAbs(f.Label24->x() + f.Label24->width() / 2 - centre) <= 1);

    // A tick one second later moves the live figures.
    clock.now->second = 1;
    f.Timer1Timer();
    ASSERT_EQ(row(f, 2), (QStringList{"0", "1", "0", "1"}));
    ASSERT_EQ(text(f, 24), QStringLiteral("Monday, the 07.12.2026 at 12:00:01 o\u00B4clock"));
    f.close();
}

TEST_F(MainWindowTest, logWithoutCrashShowsDashes)
{
    dir.writeLog({"01.12.2026 08:00:00 01.12.2026 10:00:00", "07.12.2026 11:00:00 "});
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    ASSERT_TRUE(f.intakeComplete());
    ASSERT_EQ(row(f, 6), (QStringList{"-", "-", "-", "-"}));
    ASSERT_EQ(text(f, 14), "-");
    ASSERT_EQ(text(f, 32), "-");
    ASSERT_EQ(text(f, 57), "0");
    // The dashes are written again on every tick.
    clock.now->minute = 5;
    f.Timer1Timer();
    ASSERT_EQ(row(f, 6), (QStringList{"-", "-", "-", "-"}));
    ASSERT_EQ(row(f, 2), (QStringList{"0", "1", "5", "0"}));
    f.close();
}

TEST_F(MainWindowTest, shortestOffTimeThatNoBootHasShowsDashesWithoutHint)
{
    dir.writeLog({"07.12.2026 08:00:00 ", "07.12.2026 11:00:00 "});  // a crash: no off-time at all
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    ASSERT_EQ(row(f, 12), (QStringList{"-", "-", "-", "-"}));
    ASSERT_EQ(f.label(22)->toolTip(), QString());
    // The running boot is shorter than the crashed one and counts as the shortest on-time.
    ASSERT_EQ(row(f, 8), (QStringList{"0", "1", "0", "0"}));
    ASSERT_EQ(f.label(18)->toolTip(), QStringLiteral("on 07.12.2026 11:00:00 o\u00B4clock"));
    f.close();
}

TEST_F(MainWindowTest, rowSevenTurnsRedWhenTheRunOvertakesTheAverage)
{
    // Two crashes: the average crash-free on-time is half of all on-time, and the run since
    // the last crash (the running boot) overtakes it after two hours.
    dir.writeLog({"01.12.2026 08:00:00 ", "01.12.2026 09:00:00 ", "01.12.2026 10:00:00 "});
    *clock.now = {2026, 12, 1, 12, 0, 0};
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    for (int c = 0; c < 4; ++c)
        ASSERT_EQ(f.StringAlignGrid1->cellColor(c, 7), kMaroon);  // equal is not overdue
    clock.now->second = 1;
    f.Timer1Timer();
    for (int c = 0; c < 4; ++c)
        ASSERT_EQ(f.StringAlignGrid1->cellColor(c, 7), kRed);
    f.close();
}

TEST_F(MainWindowTest, permanentlyUpdateStopsAndResumesTheClock)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    f.Stndigaktualisieren1Click();
    ASSERT_TRUE(!f.Stndigaktualisieren1->isChecked());
    ASSERT_TRUE(!f.Timer1->isActive());
    QTest::keyClick(&f, Qt::Key_F12);
    ASSERT_TRUE(f.Stndigaktualisieren1->isChecked());
    ASSERT_TRUE(f.Timer1->isActive());
    f.close();
}

TEST_F(MainWindowTest, manyCrashesPushTheTotalsToTheRight)
{
    auto crashLabelRight = [](int crashes) {
        AppFolder dir;
        QStringList lines;
        for (int i = 0; i < crashes; ++i)
            lines << QStringLiteral("01.12.2026 08:%1:%2 ")
                         .arg(i / 60, 2, 10, QChar('0'))
                         .arg(i % 60, 2, 10, QChar('0'));
        lines << "07.12.2026 11:00:00 ";
        dir.writeLog(lines);
        SettableClock clock;
        MessageRecorder messages;
        TForm1 f(programFilesIn(dir.appDir()), clock.clock());
        f.FormCreate();
        [&] {
            ASSERT_EQ(text(f, 57), QString::number(crashes));
            // Every label after the first of its line starts 3 pixels after the one before.
            const std::vector<std::vector<int>> lines{
                {6, 23, 52, 53, 54}, {7, 55, 56}, {8, 57, 58, 59, 60}, {9, 61, 62, 80, 81}};
            for (const auto& line : lines) {
                ASSERT_EQ(f.label(line[0])->x(), 10);
                for (std::size_t i = 1; i < line.size(); ++i) {
                    const QLabel* before = f.label(line[i - 1]);
                    ASSERT_EQ(f.label(line[i])->x(), before->x() + before->width() + 3);
                    ASSERT_EQ(f.label(line[i])->y(), before->y());
                }
            }
        }();
        const int right = f.label(58)->x();
        f.close();
        return right;
    };
    ASSERT_TRUE(crashLabelRight(1200) > crashLabelRight(1));
}

TEST_F(MainWindowTest, ratiosUseTheGivenSeparator)
{
    ASSERT_EQ(ratioTextWith(1.5, ","), "1,500");
    ASSERT_EQ(ratioTextWith(0, ","), "0,000");
    ASSERT_EQ(ratioTextWith(12.3456, "."), "12.350");
    ASSERT_EQ(dateLineText("Sunday", "06.12.2026 00:00:09"),
              QStringLiteral("Sunday, the 06.12.2026 at 00:00:09 o\u00B4clock"));
}

TEST_F(MainWindowTest, missingLogEndsWithoutWindowOrSettings)
{
    TForm1& f = window();
    ASSERT_TRUE(!f.FormCreate());
    ASSERT_EQ(messages.messages.size(), std::size_t{1});
    ASSERT_EQ(messages.messages[0].first, MessageKind::Error);
    ASSERT_EQ(messages.messages[0].second, "LogFile not avaiable!");
    ASSERT_TRUE(!f.isVisible());
    ASSERT_TRUE(!QFile::exists(dir.file("Quomble.ini")));
}

TEST_F(MainWindowTest, intakeErrorStopsWithItsOwnText)
{
    dir.writeLog({"01.12.2026 08:00:00 01.12.2026 10:00:00", "02.12.2026 08:00:00 31.02.2026 10:00:00",
                  "07.12.2026 11:00:00 "});
    TForm1& f = window();
    TitleRecorder titles(&f);
    ASSERT_TRUE(f.FormCreate());
    // The validation reports and goes on; the reader's error stops the intake.
    ASSERT_TRUE(messages.messages.size() >= 2);
    ASSERT_EQ(messages.messages.front().second, "wrong line format : 2");
    ASSERT_EQ(messages.messages.back().second, "'31.02.2026 10:00:00' is not a valid date and time");
    ASSERT_EQ(titles.distinct().back(), "analyzing LogFile... 20%");
    ASSERT_TRUE(!f.intakeComplete());
    ASSERT_TRUE(!f.Timer1->isActive());
    f.Timer1Timer();  // harmless without data
    f.Stndigaktualisieren1Click();
    f.Stndigaktualisieren1Click();
    ASSERT_TRUE(!f.Timer1->isActive());
    f.close();
    ASSERT_TRUE(QFile::exists(dir.file("Quomble.ini")));
}

TEST_F(MainWindowTest, emptyLogIsReported)
{
    dir.write("Quomble.log", "");
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    ASSERT_EQ(messages.texts(), QStringList{"LogFile is empty!"});
    ASSERT_TRUE(!f.intakeComplete());
    f.close();
}

TEST_F(MainWindowTest, menuItemsShortcutsAndMarks)
{
    TForm1 f(programFilesIn("/nonexistent/"), SettableClock().clock());
    QStringList names;
    QStringList captions;
    for (QAction* a : f.PopupMenu1->actions()) {
        names << a->objectName();
        captions << a->text();
    }
    ASSERT_EQ(names, (QStringList{"Hilfe1", "LogDatei1", "Diagramm1", "Stndigaktualisieren1",
                                  "EinstellungenbeimBeendenspeichern1", "N1", "Programmbeenden1", "N2",
                                  "CopySummary1", "CrashesItem"}));
    ASSERT_EQ(captions, (QStringList{"About", "view LogData list", "view diagrams", "permanently update",
                                     "save settings at end", "", "End QuombleV", "", "Copy summary",
                                     "view crashes and their causes"}));
    ASSERT_EQ(f.CrashesItem->shortcut(), QKeySequence(Qt::Key_F4));
    ASSERT_FALSE(f.CrashesItem->isVisible());  // no crashes window plugged in
    ASSERT_TRUE(f.N1->isSeparator());
    ASSERT_TRUE(f.N2->isSeparator());
    ASSERT_EQ(f.CopySummary1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    ASSERT_EQ(f.Hilfe1->shortcut(), QKeySequence(Qt::Key_F1));
    ASSERT_EQ(f.LogDatei1->shortcut(), QKeySequence(Qt::Key_F2));
    ASSERT_EQ(f.Diagramm1->shortcut(), QKeySequence(Qt::Key_F3));
    ASSERT_EQ(f.Stndigaktualisieren1->shortcut(), QKeySequence(Qt::Key_F12));
    ASSERT_TRUE(f.EinstellungenbeimBeendenspeichern1->shortcut().isEmpty());
    ASSERT_TRUE(f.Stndigaktualisieren1->isChecked());
    ASSERT_TRUE(f.EinstellungenbeimBeendenspeichern1->isChecked());
    f.EinstellungenbeimBeendenspeichern1Click();
    ASSERT_TRUE(!f.EinstellungenbeimBeendenspeichern1->isChecked());
    // "view LogData list" without its window does nothing.
    f.LogDatei1Click();
    ASSERT_EQ(f.size(), QSize(440, 397));
    expectPlaces(f, {
                        {"StringAlignGrid1", 308, 6, 115, 270},
                        {"Image1", 376, 26, 32, 32},
                        {"Bevel1", 374, 24, 36, 36},
                    });
    ASSERT_TRUE(f.Bevel1->isHidden());
}

TEST_F(MainWindowTest, copySummaryIsTheReportsText)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    QTest::keyClick(&f, Qt::Key_C, Qt::ControlModifier);

    LogModel reported(fixedClock(kNow));
    report::Options options;
    options.logFile = f.LogFileName;
    const report::Outcome outcome = report::runIntake(reported, options);
    std::ostringstream text;
    report::writeText(text, reported, outcome, options);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text.str());
}

TEST_F(MainWindowTest, escapeClosesAndSavesTheSettings)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    QTest::keyClick(&f, Qt::Key_Escape);
    ASSERT_TRUE(!f.isVisible());
    ASSERT_TRUE(!f.Timer1->isActive());
    const QString ini = dir.read("Quomble.ini");
    ASSERT_TRUE(ini.startsWith("[QuombleView 3.9]\r\nscroll1=0\r\n"));
    ASSERT_EQ(ini.count("\r\n"), 33);
    ASSERT_TRUE(messages.messages.empty());
    ASSERT_EQ(f.model().BootCount, 0);  // the lists are released
}

TEST_F(MainWindowTest, closingWithoutSavingLeavesTheFileAlone)
{
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "gradius=5\r\n");
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    f.EinstellungenbeimBeendenspeichern1Click();
    f.Programmbeenden1Click();
    ASSERT_TRUE(!f.isVisible());
    ASSERT_EQ(dir.read("Quomble.ini"), "gradius=5\r\n");
}

TEST_F(MainWindowTest, unwritableSettingsAreReportedAndTheWindowCloses)
{
    dir.writeLog(knownLog());
    ASSERT_TRUE(QDir(dir.path()).mkpath("Quomble.ini/blocked"));
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    ASSERT_TRUE(f.close());
    ASSERT_TRUE(!f.isVisible());
    ASSERT_EQ(messages.messages.size(), std::size_t{1});
    ASSERT_EQ(messages.messages[0].first, MessageKind::Error);
    ASSERT_TRUE(messages.messages[0].second.startsWith("Settings file could not be written: "));
    ASSERT_TRUE(QFileInfo(dir.file("Quomble.ini/blocked")).isDir());
}

TEST_F(MainWindowTest, storedSettingsAreAppliedAndWrittenBack)
{
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "[QuombleView 3.8]\r\npos_a_x=50\r\npos_a_y=60\r\ngradius=30\r\ntab_d_l=9\r\n"
                             "tab_c_l=1\r\nscroll1=-30\r\nop_d_3d=0\r\nop_d_ay=1\r\npos_c_x=7\r\n");
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    f.LogDataSettings_read();
    f.DiagramsSettings_read();
    ASSERT_EQ(f.pos(), QPoint(50, 60));
    ASSERT_EQ(f.settings().SmoothRadius, 30);
    ASSERT_EQ(f.settings().DiagramsPageIndex, 0);
    ASSERT_EQ(f.settings().LogDataPageIndex, 1);
    ASSERT_EQ(f.settings().RotationHours, -23);
    f.close();
    const QString ini = dir.read("Quomble.ini");
    for (const char* line : {"[QuombleView 3.9]\r\n", "pos_a_x=50\r\n", "pos_a_y=60\r\n", "gradius=30\r\n",
                             "tab_c_l=1\r\n", "tab_d_l=0\r\n", "scroll1=-23\r\n", "op_d_3d=0\r\n",
                             "op_d_ay=1\r\n", "pos_c_x=7\r\n", "pos_d_w=620\r\n"})
        ASSERT_TRUE(ini.contains(line)) << line;
}

TEST_F(MainWindowTest, iconClickFramesTheIconWhileAboutIsOpen)
{
    dir.writeLog(knownLog());
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    auto* about = new TForm2(f.VersionText, f.BuildText, QString::fromStdString(f.LogFileName),
                             QString::fromStdString(f.IniFileName), &f);
    f.setAboutWindow(about);

    bool framedWhileOpen = false;
    QTimer::singleShot(0, about, [&] {
        framedWhileOpen = about->isVisible() && f.Bevel1->isVisible();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    QTest::mouseClick(f.Image1, Qt::LeftButton);
    ASSERT_TRUE(framedWhileOpen);
    ASSERT_TRUE(!about->isVisible());
    ASSERT_TRUE(f.Bevel1->isHidden());

    bool framedFromMenu = true;
    QTimer::singleShot(0, about, [&] {
        framedFromMenu = f.Bevel1->isVisible();
        about->close();
    });
    QApplication::setActiveWindow(&f);  // the offscreen platform does not hand it back
    int aboutShown = 0;
    QObject::connect(f.Hilfe1, &QAction::triggered, [&] { ++aboutShown; });
    QTest::keyClick(&f, Qt::Key_F1);
    ASSERT_EQ(aboutShown, 1);
    ASSERT_TRUE(!framedFromMenu);
    ASSERT_TRUE(!about->isVisible());
    f.close();
}

TEST_F(MainWindowTest, diagramsArePreparedOnlyBeforeTheFirstShow)
{
    dir.writeLog(knownLog());
    FakeDiagrams diagrams;
    TForm1& f = window();
    ASSERT_TRUE(f.FormCreate());
    f.Diagramm1Click();  // no window yet: nothing happens
    ASSERT_TRUE(f.FirstShowPending);
    f.setDiagramsWindow(&diagrams);
    f.DiagramsSettings_read();
    ASSERT_EQ(diagrams.reads, 1);
    ASSERT_EQ(f.settings().DiagramsRect, (WindowRect{1, 2, 700, 500}));
    f.Diagramm1Click();
    QTest::keyClick(&f, Qt::Key_F3);
    ASSERT_EQ(diagrams.calls, (QStringList{"prepare", "show", "show"}));
    ASSERT_TRUE(!f.FirstShowPending);
    f.close();
    ASSERT_TRUE(
        dir.read("Quomble.ini").contains("pos_d_x=11\r\npos_d_y=22\r\npos_d_w=701\r\npos_d_h=501\r\n"));
}

TEST_F(MainWindowTest, gridClickLeavesNoSelection)
{
    TForm1 f(programFilesIn("/nonexistent/"), SettableClock().clock());
    f.show();
    QTest::mouseClick(f.StringAlignGrid1, Qt::LeftButton, {}, QPoint(50, 30));
    ASSERT_TRUE(!f.StringAlignGrid1->hasSelection());
}
