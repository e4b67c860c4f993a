// What the user sees of a broken log, a damaged or unwritable settings file and a clock
// that jumps while the main window runs.

#include "app/program.h"
#include "support/file_faults.h"
#include "ui/diagrams/tform5.h"
#include "ui/components/durationgrid.h"
#include "ui/components/screens.h"
#include "ui/main/tform1.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quomble;
using namespace quomble::testing;

namespace {

QStringList row(const TForm1& f, int r)
{
    QStringList cells;
    for (int c = 0; c < 4; ++c)
        cells << f.StringAlignGrid1->cell(c, r);
    return cells;
}

// True when a cell of the duration table shows a negative number.
bool showsANegativeNumber(const TForm1& f)
{
    for (int r = 1; r < f.StringAlignGrid1->rowCount(); ++r)
        for (int c = 0; c < 4; ++c) {
            bool number = false;
            if (f.StringAlignGrid1->cell(c, r).toLongLong(&number) < 0 && number)
                return true;
        }
    return false;
}

bool onAScreen(const QRect& frame)
{
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(frame))
            return true;
    return false;
}

class BadInputTest : public WindowFixture {};

}  // namespace

TEST_F(BadInputTest, junkLogGivesTenBoxesAndACount)
{
    QByteArray junk;
    for (int i = 0; i < 30; ++i)
        junk += QByteArray("junk\0\x01\x02 line", 12) + "\r\n";  // two findings each
    QFile f(dir.file("Quomble.log"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(junk);
    f.close();
    TForm1& w = window();
    ASSERT_TRUE(w.FormCreate());
    const QStringList texts = messages.texts();
    ASSERT_EQ(texts.size(), 12);
    ASSERT_EQ(texts[0], "Error in line : 1 - not a correct Log-Entry");
    ASSERT_EQ(texts[1], "wrong line format : 1");
    ASSERT_EQ(texts[9], "wrong line format : 5");
    ASSERT_EQ(texts[10], "... and 50 more findings in the LogFile (quomble-report --json lists them all)");
    ASSERT_EQ(texts[11], "'junk??? line' is not a valid date and time");
    ASSERT_TRUE(!w.intakeComplete());
    w.close();
}

TEST_F(BadInputTest, folderOrPipeInThePlaceOfTheLogEndsWithItsReason)
{
    AppFolder dir;
    const QString log = dir.file("Quomble.log");
    ASSERT_TRUE(QDir().mkpath(log));
    for (int round = 0; round < 2; ++round) {
        MessageRecorder messages;
        TForm1 w(programFilesIn(dir.appDir()), SettableClock().clock());
        ::alarm(20);  // a pipe that is opened waits for a writer for ever
        ASSERT_TRUE(!w.FormCreate());
        ::alarm(0);
        ASSERT_EQ(messages.texts(), QStringList{"LogFile is not a regular file: " + log});
        ASSERT_TRUE(!w.isVisible());
        ASSERT_TRUE(!QFile::exists(dir.file("Quomble.ini")));
        ASSERT_TRUE(QDir().rmdir(log) || QFile::remove(log));
        ASSERT_EQ(::mkfifo(log.toLocal8Bit().constData(), 0600), 0);
    }
}

TEST_F(BadInputTest, unreadableLogStopsTheIntakeWithTheReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file; the core tests read it as an unprivileged child";
    dir.writeLog(knownLog());
    QFile::setPermissions(dir.file("Quomble.log"), QFileDevice::Permissions());
    TForm1& w = window();
    ASSERT_TRUE(w.FormCreate());
    ASSERT_EQ(messages.texts(), QStringList{"LogFile cannot be read: Permission denied"});
    ASSERT_TRUE(!w.intakeComplete());
    w.close();
}

TEST_F(BadInputTest, clockJumpsKeepTheLiveFiguresSane)
{
    dir.writeLog(knownLog());
    TForm1& w = window();
    ASSERT_TRUE(w.FormCreate());
    ASSERT_EQ(row(w, 2), (QStringList{"0", "1", "0", "0"}));

    // Back to before the running boot's login (11:00): its on-time is negative.
    *clock.now = {2026, 12, 7, 10, 59, 50};
    w.Timer1Timer();
    ASSERT_EQ(row(w, 2), (QStringList{"-", "-", "-", "-"}));
    ASSERT_TRUE(!showsANegativeNumber(w));
    ASSERT_TRUE(w.Label24->text().contains("10:59:50"));
    ASSERT_TRUE(w.Timer1->isActive());

    // Forward by two centuries: the running figures saturate at 24855 days.
    *clock.now = {2226, 12, 7, 12, 0, 0};
    w.Timer1Timer();
    ASSERT_EQ(row(w, 2), (QStringList{"24855", "3", "14", "7"}));
    ASSERT_TRUE(!showsANegativeNumber(w));
    ASSERT_TRUE(w.Label24->text().contains("07.12.2226"));

    *clock.now = {2026, 12, 7, 12, 0, 1};
    w.Timer1Timer();
    ASSERT_EQ(row(w, 2), (QStringList{"0", "1", "0", "1"}));
    ASSERT_TRUE(messages.messages.empty());
    ASSERT_TRUE(w.Timer1->isActive());
    w.close();
}

TEST_F(BadInputTest, futureRunningBootShowsDashesNotNegativeDays)
{
    // Lines that go backwards, year 0001 and 9999, and a running boot dated after today.
    dir.writeLog({"01.01.0001 00:00:00 01.01.0001 01:00:00", "31.12.9999 23:59:59 31.12.9999 23:59:59",
                  "01.12.2026 08:00:00 01.12.2026 07:00:00", "08.12.2026 08:00:00 "});
    TForm1& w = window();
    ASSERT_TRUE(w.FormCreate());
    ASSERT_EQ(messages.texts(), (QStringList{"Error in line : 1 - (login later as last logout)",
                                             "Error in line : 3 - (login later as last logout)",
                                             "Error in line : 3 - (logout not later as login)"}));
    ASSERT_TRUE(w.intakeComplete());
    ASSERT_EQ(row(w, 2), (QStringList{"-", "-", "-", "-"}));
    ASSERT_TRUE(!showsANegativeNumber(w));
    w.close();
}

TEST_F(BadInputTest, logChangedOrRemovedWhileRunningChangesNothing)
{
    dir.writeLog(knownLog());
    TForm1& w = window();
    ASSERT_TRUE(w.FormCreate());
    const QString boots = w.label(23)->text();
    dir.write("Quomble.log", "junk\r\n");
    w.Timer1Timer();
    ASSERT_TRUE(QFile::remove(dir.file("Quomble.log")));
    clock.now->second = 30;
    w.Timer1Timer();
    ASSERT_EQ(w.label(23)->text(), boots);
    ASSERT_EQ(row(w, 2), (QStringList{"0", "1", "0", "30"}));
    ASSERT_TRUE(w.close());
    ASSERT_TRUE(messages.messages.empty());
    ASSERT_TRUE(QFile::exists(dir.file("Quomble.ini")));
}

TEST_F(BadInputTest, placeOffEveryScreenIsNotUsed)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* place : {"pos_a_x=-30000\r\npos_a_y=-30000\r\n", "pos_a_x=2147483647\r\npos_a_y=5\r\n",
                              "pos_a_x=5\r\npos_a_y=99999999999\r\n"}) {
        AppFolder dir;
        dir.writeLog(knownLog());
        dir.write("Quomble.ini", place);
        MessageRecorder messages;
        TForm1 w(programFilesIn(dir.appDir()), SettableClock().clock());
        ASSERT_TRUE(w.FormCreate());
        ASSERT_TRUE(onAScreen(w.frameGeometry())) << place;
        ASSERT_TRUE(reachableOnSomeScreen(w.frameGeometry())) << place;
        w.close();
    }
    // The rule the three windows share: a place counts only where the title bar can be grabbed.
    QWidget plain;
    plain.resize(300, 200);
    plain.move(screen.topLeft() + QPoint(10, 10));
    moveToStoredPlace(&plain, QPoint(-30000, 40));
    ASSERT_EQ(plain.pos(), screen.topLeft() + QPoint(10, 10));
    moveToStoredPlace(&plain, QPoint(screen.right() - 5, screen.top()));
    ASSERT_EQ(plain.pos(), screen.topLeft() + QPoint(10, 10));
    moveToStoredPlace(&plain, QPoint(screen.left() - 250, screen.top() + 30));
    ASSERT_EQ(plain.pos(), QPoint(screen.left() - 250, screen.top() + 30));  // 50 pixels still on it
}

TEST_F(BadInputTest, storedSizeNeverExceedsTheLargestScreen)
{
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "pos_d_x=0\r\npos_d_y=0\r\npos_d_w=99999999\r\npos_d_h=99999999\r\n");
    Program program(dir.appDir(), clock.clock());
    ASSERT_TRUE(program.start());
    QSize largest;
    for (const QScreen* s : QGuiApplication::screens())
        largest = largest.expandedTo(s->availableGeometry().size());
    const QSize size = program.form5()->size();
    ASSERT_TRUE(size.width() <= largest.width() && size.height() <= largest.height())
        << size.width() << " x " << size.height();
    ASSERT_TRUE(size.width() >= 100 && size.height() >= 100) << size.width() << " x " << size.height();
    ASSERT_TRUE(program.form5()->pos().isNull());  // the place itself lies on the screen
}

TEST_F(BadInputTest, fullDiskOrReadOnlyFolderKeepsTheOldSettings)
{
    const QString old = "[QuombleView 3.8]\r\ngradius=30\r\n";
    {
        AppFolder dir;
        dir.writeLog(knownLog());
        dir.write("Quomble.ini", old);
        const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        ASSERT_TRUE(full >= 0);
        MessageRecorder messages;
        TForm1 w(programFilesIn(dir.appDir()), SettableClock().clock());
        w.setSettingsWriteCalls(
            {[full](int, const char* data, std::size_t size) { return long(::write(full, data, size)); },
             {}});
        ASSERT_TRUE(w.FormCreate());
        ASSERT_TRUE(w.close());
        ::close(full);
        ASSERT_EQ(messages.texts().size(), 1);
        ASSERT_TRUE(messages.texts()[0].startsWith("Settings file could not be written: "));
        ASSERT_TRUE(messages.texts()[0].contains("No space left on device"));
        ASSERT_EQ(dir.read("Quomble.ini"), old);
        ASSERT_TRUE(!QFile::exists(dir.file("Quomble.ini.tmp")));
    }
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", old);
    TForm1& w = window();
    ASSERT_TRUE(w.FormCreate());
    ReadOnlyFolder readOnly(dir.path().toStdString());
    if (!readOnly.active())
        GTEST_SKIP() << "this file system cannot make the folder read-only for root";
    ASSERT_TRUE(w.close());
    readOnly.undo();
    ASSERT_EQ(messages.texts().size(), 1);
    ASSERT_TRUE(messages.texts()[0].startsWith("Settings file could not be written: "));
    ASSERT_EQ(dir.read("Quomble.ini"), old);
}
