#include "ui/about/tform2.h"
#include "ui/components/bevelpanel.h"
#include "ui/components/clickablelabel.h"
#include "ui/components/durationgrid.h"
#include "ui/main/figures_format.h"
#include "ui/main/tform1.h"
#include "ui/components/window_plugs.h"
#include "ui_support.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QtTest>

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

// Records the window titles as they change.
class TitleRecorder : public QObject {
public:
    explicit TitleRecorder(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::WindowTitleChange) {
            const QString t = static_cast<QWidget*>(o)->windowTitle();
            if (titles.isEmpty() || titles.back() != t)
                titles << t;
        }
        return false;
    }
    QStringList titles;
};

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

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void captionsAndFiguresOfAKnownLog();
    void logWithoutCrashShowsDashes();
    void shortestOffTimeThatNoBootHasShowsDashesWithoutHint();
    void rowSevenTurnsRedWhenTheRunOvertakesTheAverage();
    void permanentlyUpdateStopsAndResumesTheClock();
    void manyCrashesPushTheTotalsToTheRight();
    void ratiosUseTheGivenSeparator();
    void missingLogEndsWithoutWindowOrSettings();
    void intakeErrorStopsWithItsOwnText();
    void emptyLogIsReported();
    void menuItemsShortcutsAndMarks();
    void escapeClosesAndSavesTheSettings();
    void closingWithoutSavingLeavesTheFileAlone();
    void unwritableSettingsAreReportedAndTheWindowCloses();
    void storedSettingsAreAppliedAndWrittenBack();
    void iconClickFramesTheIconWhileAboutIsOpen();
    void diagramsArePreparedOnlyBeforeTheFirstShow();
    void gridClickLeavesNoSelection();
};

void MainWindowTest::captionsAndFiguresOfAKnownLog()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    ManualClock clock;
    MessageRecorder messages;
    TForm1 f(dir.appDir(), clock.clock());
    TitleRecorder titles(&f);
    QVERIFY(f.FormCreate());
    QVERIFY(messages.messages.empty());
    QCOMPARE(titles.titles, (QStringList{"analyzing LogFile... 0%", "analyzing LogFile... 10%",
                                         "analyzing LogFile... 20%", "analyzing LogFile... 50%",
                                         "analyzing LogFile... 60%", "analyzing LogFile... 100%"}));
    QVERIFY(f.isVisible());
    QVERIFY(f.intakeComplete());
    QVERIFY(f.Timer1->isActive());
    QCOMPARE(f.Timer1->interval(), 1000);

    QCOMPARE(text(f, 24), QStringLiteral("Monday, the 07.12.2026 at 12:00:00 o\u00B4clock"));
    QCOMPARE(text(f, 2), "01.12.2026");
    QCOMPARE(text(f, 26), "08:00:00");
    QCOMPARE(text(f, 5), "07.12.2026");
    QCOMPARE(text(f, 30), "11:00:00");
    QCOMPARE(text(f, 14), "03.12.2026");
    QCOMPARE(text(f, 32), "09:00:00");

    QCOMPARE(row(f, 0), (QStringList{"day", "hou", "min", "sec"}));
    QCOMPARE(row(f, 1), (QStringList{"6", "4", "0", "0"}));   // since the first log
    QCOMPARE(row(f, 2), (QStringList{"0", "1", "0", "0"}));   // current boot
    QCOMPARE(f.StringAlignGrid1->cell(0, 3), QString());      // never a day count
    QCOMPARE(row(f, 4), (QStringList{"0", "3", "0", "0"}));   // longest crash-free
    QCOMPARE(row(f, 5), (QStringList{"1", "6", "30", "0"}));  // average crash-free
    QCOMPARE(row(f, 6), (QStringList{"0", "3", "0", "0"}));   // since the last crash
    QCOMPARE(row(f, 7), (QStringList{"1", "3", "30", "0"}));  // difference
    QCOMPARE(row(f, 8), (QStringList{"0", "1", "0", "0"}));
    QCOMPARE(row(f, 9), (QStringList{"0", "6", "6", "0"}));
    QCOMPARE(row(f, 10), (QStringList{"1", "0", "0", "0"}));
    QCOMPARE(row(f, 11), (QStringList{"1", "6", "30", "0"}));
    QCOMPARE(row(f, 12), (QStringList{"0", "2", "0", "0"}));
    QCOMPARE(row(f, 13), (QStringList{"0", "23", "30", "0"}));
    QCOMPARE(row(f, 14), (QStringList{"4", "0", "0", "0"}));
    QCOMPARE(row(f, 15), (QStringList{"4", "21", "30", "0"}));

    // Colours, bold and the row heights that line the rows up with their captions.
    const DurationGrid* g = f.StringAlignGrid1;
    QVERIFY(!g->cellColor(0, 0).isValid());
    QCOMPARE(g->cellColor(3, 2), kNavy);
    QCOMPARE(g->cellColor(1, 3), kGreen);
    QVERIFY(g->cellBold(1, 3));
    QCOMPARE(g->cellColor(2, 7), kMaroon);
    QVERIFY(g->cellBold(0, 11) && !g->cellBold(0, 10));
    QCOMPARE(g->cellColor(0, 15), kRed);
    QVERIFY(g->cellBold(0, 15));
    const int captions[16] = {0, 1, 4, 11, 33, 17, 13, 16, 18, 19, 20, 21, 22, 25, 27, 28};
    for (int r = 1; r < 16; ++r)
        QCOMPARE(g->y() + g->cellRect(0, r).y() + 2, f.label(captions[r])->y());

    QCOMPARE(text(f, 23), "5");
    QCOMPARE(text(f, 57), "1");
    QCOMPARE(text(f, 59), "3");
    QCOMPARE(f.label(22)->toolTip(), QStringLiteral("on 01.12.2026 10:00:00 o\u00B4clock"));
    QCOMPARE(f.label(27)->toolTip(), QStringLiteral("on 03.12.2026 11:00:00 o\u00B4clock"));
    QCOMPARE(f.label(18)->toolTip(), QStringLiteral("on 07.12.2026 11:00:00 o\u00B4clock"));
    QCOMPARE(f.label(20)->toolTip(), QStringLiteral("on 02.12.2026 09:00:00 o\u00B4clock"));
    QCOMPARE(f.label(17)->toolTip(),
             QStringLiteral("results from \"sum of all OnTimes\" per number of crashes "));
    QCOMPARE(f.label(24)->toolTipDuration(), 60000);

    // The date line stays centred whatever its length.
    const int centre = f.frameGeometry().width() / 2;
    QVERIFY(qAbs(f.Label24->x() + f.Label24->width() / 2 - centre) <= 1);

    // A tick one second later moves the live figures.
    clock.now->second = 1;
    f.Timer1Timer();
    QCOMPARE(row(f, 2), (QStringList{"0", "1", "0", "1"}));
    QCOMPARE(text(f, 24), QStringLiteral("Monday, the 07.12.2026 at 12:00:01 o\u00B4clock"));
    f.close();
}

void MainWindowTest::logWithoutCrashShowsDashes()
{
    AppFolder dir;
    dir.writeLog({"01.12.2026 08:00:00 01.12.2026 10:00:00", "07.12.2026 11:00:00 "});
    ManualClock clock;
    MessageRecorder messages;
    TForm1 f(dir.appDir(), clock.clock());
    QVERIFY(f.FormCreate());
    QVERIFY(f.intakeComplete());
    QCOMPARE(row(f, 6), (QStringList{"-", "-", "-", "-"}));
    QCOMPARE(text(f, 14), "-");
    QCOMPARE(text(f, 32), "-");
    QCOMPARE(text(f, 57), "0");
    // The dashes are written again on every tick.
    clock.now->minute = 5;
    f.Timer1Timer();
    QCOMPARE(row(f, 6), (QStringList{"-", "-", "-", "-"}));
    QCOMPARE(row(f, 2), (QStringList{"0", "1", "5", "0"}));
    f.close();
}

void MainWindowTest::shortestOffTimeThatNoBootHasShowsDashesWithoutHint()
{
    AppFolder dir;
    dir.writeLog({"07.12.2026 08:00:00 ", "07.12.2026 11:00:00 "});  // a crash: no off-time at all
    ManualClock clock;
    MessageRecorder messages;
    TForm1 f(dir.appDir(), clock.clock());
    QVERIFY(f.FormCreate());
    QCOMPARE(row(f, 12), (QStringList{"-", "-", "-", "-"}));
    QCOMPARE(f.label(22)->toolTip(), QString());
    // The running boot is shorter than the crashed one and counts as the shortest on-time.
    QCOMPARE(row(f, 8), (QStringList{"0", "1", "0", "0"}));
    QCOMPARE(f.label(18)->toolTip(), QStringLiteral("on 07.12.2026 11:00:00 o\u00B4clock"));
    f.close();
}

void MainWindowTest::rowSevenTurnsRedWhenTheRunOvertakesTheAverage()
{
    // Two crashes: the average crash-free on-time is half of all on-time, and the run since
    // the last crash (the running boot) overtakes it after two hours.
    AppFolder dir;
    dir.writeLog({"01.12.2026 08:00:00 ", "01.12.2026 09:00:00 ", "01.12.2026 10:00:00 "});
    ManualClock clock;
    *clock.now = {2026, 12, 1, 12, 0, 0};
    MessageRecorder messages;
    TForm1 f(dir.appDir(), clock.clock());
    QVERIFY(f.FormCreate());
    for (int c = 0; c < 4; ++c)
        QCOMPARE(f.StringAlignGrid1->cellColor(c, 7), kMaroon);  // equal is not overdue
    clock.now->second = 1;
    f.Timer1Timer();
    for (int c = 0; c < 4; ++c)
        QCOMPARE(f.StringAlignGrid1->cellColor(c, 7), kRed);
    f.close();
}

void MainWindowTest::permanentlyUpdateStopsAndResumesTheClock()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    ManualClock clock;
    MessageRecorder messages;
    TForm1 f(dir.appDir(), clock.clock());
    QVERIFY(f.FormCreate());
    f.Stndigaktualisieren1Click();
    QVERIFY(!f.Stndigaktualisieren1->isChecked());
    QVERIFY(!f.Timer1->isActive());
    QTest::keyClick(&f, Qt::Key_F12);
    QVERIFY(f.Stndigaktualisieren1->isChecked());
    QVERIFY(f.Timer1->isActive());
    f.close();
}

void MainWindowTest::manyCrashesPushTheTotalsToTheRight()
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
        ManualClock clock;
        MessageRecorder messages;
        TForm1 f(dir.appDir(), clock.clock());
        f.FormCreate();
        [&] {
            QCOMPARE(text(f, 57), QString::number(crashes));
            // Every label after the first of its line starts 3 pixels after the one before.
            const std::vector<std::vector<int>> lines{
                {6, 23, 52, 53, 54}, {7, 55, 56}, {8, 57, 58, 59, 60}, {9, 61, 62, 80, 81}};
            for (const auto& line : lines) {
                QCOMPARE(f.label(line[0])->x(), 10);
                for (std::size_t i = 1; i < line.size(); ++i) {
                    const QLabel* before = f.label(line[i - 1]);
                    QCOMPARE(f.label(line[i])->x(), before->x() + before->width() + 3);
                    QCOMPARE(f.label(line[i])->y(), before->y());
                }
            }
        }();
        const int right = f.label(58)->x();
        f.close();
        return right;
    };
    QVERIFY(crashLabelRight(1200) > crashLabelRight(1));
}

void MainWindowTest::ratiosUseTheGivenSeparator()
{
    QCOMPARE(ratioTextWith(1.5, ","), "1,500");
    QCOMPARE(ratioTextWith(0, ","), "0,000");
    QCOMPARE(ratioTextWith(12.3456, "."), "12.350");
    QCOMPARE(dateLineText("Sunday", "06.12.2026 00:00:09"),
             QStringLiteral("Sunday, the 06.12.2026 at 00:00:09 o\u00B4clock"));
}

void MainWindowTest::missingLogEndsWithoutWindowOrSettings()
{
    AppFolder dir;
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(!f.FormCreate());
    QCOMPARE(messages.messages.size(), std::size_t{1});
    QCOMPARE(messages.messages[0].first, MessageKind::Error);
    QCOMPARE(messages.messages[0].second, "LogFile not avaiable!");
    QVERIFY(!f.isVisible());
    QVERIFY(!QFile::exists(dir.file("Quomble.ini")));
}

void MainWindowTest::intakeErrorStopsWithItsOwnText()
{
    AppFolder dir;
    dir.writeLog({"01.12.2026 08:00:00 01.12.2026 10:00:00", "02.12.2026 08:00:00 31.02.2026 10:00:00",
                  "07.12.2026 11:00:00 "});
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    TitleRecorder titles(&f);
    QVERIFY(f.FormCreate());
    // The validation reports and goes on; the reader's error stops the intake.
    QVERIFY(messages.messages.size() >= 2);
    QCOMPARE(messages.messages.front().second, "wrong line format : 2");
    QCOMPARE(messages.messages.back().second, "'31.02.2026 10:00:00' is not a valid date and time");
    QCOMPARE(titles.titles.back(), "analyzing LogFile... 20%");
    QVERIFY(!f.intakeComplete());
    QVERIFY(!f.Timer1->isActive());
    f.Timer1Timer();  // harmless without data
    f.Stndigaktualisieren1Click();
    f.Stndigaktualisieren1Click();
    QVERIFY(!f.Timer1->isActive());
    f.close();
    QVERIFY(QFile::exists(dir.file("Quomble.ini")));
}

void MainWindowTest::emptyLogIsReported()
{
    AppFolder dir;
    dir.write("Quomble.log", "");
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    QCOMPARE(messages.texts(), QStringList{"LogFile is empty!"});
    QVERIFY(!f.intakeComplete());
    f.close();
}

void MainWindowTest::menuItemsShortcutsAndMarks()
{
    TForm1 f("/nonexistent/", ManualClock().clock());
    QStringList names;
    QStringList captions;
    for (QAction* a : f.PopupMenu1->actions()) {
        names << a->objectName();
        captions << a->text();
    }
    QCOMPARE(names, (QStringList{"Hilfe1", "LogDatei1", "Diagramm1", "Stndigaktualisieren1",
                                 "EinstellungenbeimBeendenspeichern1", "N1", "Programmbeenden1"}));
    QCOMPARE(captions, (QStringList{"About", "view LogData list", "view diagrams", "permanently update",
                                    "save settings at end", "", "End QuombleV"}));
    QVERIFY(f.N1->isSeparator());
    QCOMPARE(f.Hilfe1->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(f.LogDatei1->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(f.Diagramm1->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(f.Stndigaktualisieren1->shortcut(), QKeySequence(Qt::Key_F12));
    QVERIFY(f.EinstellungenbeimBeendenspeichern1->shortcut().isEmpty());
    QVERIFY(f.Stndigaktualisieren1->isChecked());
    QVERIFY(f.EinstellungenbeimBeendenspeichern1->isChecked());
    f.EinstellungenbeimBeendenspeichern1Click();
    QVERIFY(!f.EinstellungenbeimBeendenspeichern1->isChecked());
    // "view LogData list" without its window does nothing.
    f.LogDatei1Click();
    QCOMPARE(f.size(), QSize(440, 397));
    QCOMPARE(f.StringAlignGrid1->geometry(), QRect(308, 6, 115, 270));
    QCOMPARE(f.Image1->geometry(), QRect(376, 26, 32, 32));
    QCOMPARE(f.Bevel1->geometry(), QRect(374, 24, 36, 36));
    QVERIFY(f.Bevel1->isHidden());
}

void MainWindowTest::escapeClosesAndSavesTheSettings()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    QTest::keyClick(&f, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
    QVERIFY(!f.Timer1->isActive());
    const QString ini = dir.read("Quomble.ini");
    QVERIFY(ini.startsWith("[QuombleView 3.9]\r\nscroll1=0\r\n"));
    QCOMPARE(ini.count("\r\n"), 33);
    QVERIFY(messages.messages.empty());
    QCOMPARE(f.model().BootCount, 0);  // the lists are released
}

void MainWindowTest::closingWithoutSavingLeavesTheFileAlone()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "gradius=5\r\n");
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    f.EinstellungenbeimBeendenspeichern1Click();
    f.Programmbeenden1Click();
    QVERIFY(!f.isVisible());
    QCOMPARE(dir.read("Quomble.ini"), "gradius=5\r\n");
}

void MainWindowTest::unwritableSettingsAreReportedAndTheWindowCloses()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    QVERIFY(QDir(dir.dir.path()).mkpath("Quomble.ini/blocked"));
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    QVERIFY(f.close());
    QVERIFY(!f.isVisible());
    QCOMPARE(messages.messages.size(), std::size_t{1});
    QCOMPARE(messages.messages[0].first, MessageKind::Error);
    QVERIFY(messages.messages[0].second.startsWith("Settings file could not be written: "));
    QVERIFY(QFileInfo(dir.file("Quomble.ini/blocked")).isDir());
}

void MainWindowTest::storedSettingsAreAppliedAndWrittenBack()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "[QuombleView 3.8]\r\npos_a_x=50\r\npos_a_y=60\r\ngradius=30\r\ntab_d_l=9\r\n"
                             "tab_c_l=1\r\nscroll1=-30\r\nop_d_3d=0\r\nop_d_ay=1\r\npos_c_x=7\r\n");
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    f.LogDataSettings_read();
    f.DiagramsSettings_read();
    QCOMPARE(f.pos(), QPoint(50, 60));
    QCOMPARE(f.settings().SmoothRadius, 30);
    QCOMPARE(f.settings().DiagramsPageIndex, 0);
    QCOMPARE(f.settings().LogDataPageIndex, 1);
    QCOMPARE(f.settings().RotationHours, -23);
    f.close();
    const QString ini = dir.read("Quomble.ini");
    for (const char* line : {"[QuombleView 3.9]\r\n", "pos_a_x=50\r\n", "pos_a_y=60\r\n", "gradius=30\r\n",
                             "tab_c_l=1\r\n", "tab_d_l=0\r\n", "scroll1=-23\r\n", "op_d_3d=0\r\n",
                             "op_d_ay=1\r\n", "pos_c_x=7\r\n", "pos_d_w=620\r\n"})
        QVERIFY2(ini.contains(line), line);
}

void MainWindowTest::iconClickFramesTheIconWhileAboutIsOpen()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    auto* about = new TForm2(f.VersionText, f.BuildText, QString::fromStdString(f.LogFileName), &f);
    f.setAboutWindow(about);

    bool framedWhileOpen = false;
    QTimer::singleShot(0, about, [&] {
        framedWhileOpen = about->isVisible() && f.Bevel1->isVisible();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    QTest::mouseClick(f.Image1, Qt::LeftButton);
    QVERIFY(framedWhileOpen);
    QVERIFY(!about->isVisible());
    QVERIFY(f.Bevel1->isHidden());

    bool framedFromMenu = true;
    QTimer::singleShot(0, about, [&] {
        framedFromMenu = f.Bevel1->isVisible();
        about->close();
    });
    QApplication::setActiveWindow(&f);  // the offscreen platform does not hand it back
    int aboutShown = 0;
    connect(f.Hilfe1, &QAction::triggered, [&] { ++aboutShown; });
    QTest::keyClick(&f, Qt::Key_F1);
    QCOMPARE(aboutShown, 1);
    QVERIFY(!framedFromMenu);
    QVERIFY(!about->isVisible());
    f.close();
}

void MainWindowTest::diagramsArePreparedOnlyBeforeTheFirstShow()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    MessageRecorder messages;
    FakeDiagrams diagrams;
    TForm1 f(dir.appDir(), ManualClock().clock());
    QVERIFY(f.FormCreate());
    f.Diagramm1Click();  // no window yet: nothing happens
    QVERIFY(f.FirstShowPending);
    f.setDiagramsWindow(&diagrams);
    f.DiagramsSettings_read();
    QCOMPARE(diagrams.reads, 1);
    QCOMPARE(f.settings().DiagramsRect, (WindowRect{1, 2, 700, 500}));
    f.Diagramm1Click();
    QTest::keyClick(&f, Qt::Key_F3);
    QCOMPARE(diagrams.calls, (QStringList{"prepare", "show", "show"}));
    QVERIFY(!f.FirstShowPending);
    f.close();
    QVERIFY(dir.read("Quomble.ini").contains("pos_d_x=11\r\npos_d_y=22\r\npos_d_w=701\r\npos_d_h=501\r\n"));
}

void MainWindowTest::gridClickLeavesNoSelection()
{
    TForm1 f("/nonexistent/", ManualClock().clock());
    f.show();
    QTest::mouseClick(f.StringAlignGrid1, Qt::LeftButton, {}, QPoint(50, 30));
    QVERIFY(!f.StringAlignGrid1->hasSelection());
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
