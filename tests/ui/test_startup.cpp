#include "app/instance_guard.h"
#include "app/program.h"
#include "ui/diagrams/tform5.h"
#include "ui/about/tform2.h"
#include "ui/main/tform1.h"
#include "ui_support.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace quomble;
using namespace quomble::testing;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void secondCopyIsRefused();
    void lockOfAKilledCopyDoesNotBlock();
    void startUpSequence();
    void missingLogEndsTheProgram();
    void systemDefaultSettingsAreKeptInTheUsersOwnFile();
};

void StartupTest::secondCopyIsRefused()
{
    QTemporaryDir dir;
    InstanceGuard first(dir.path());
    QVERIFY(first.tryAcquire());
    QCOMPARE(QFileInfo(first.lockPath()).fileName(), "QuombleView");
    {
        InstanceGuard second(dir.path());
        QVERIFY(!second.tryAcquire());
    }
    QVERIFY(first.tryAcquire());  // the refused copy took nothing away
    first.release();
    InstanceGuard third(dir.path());
    QVERIFY(third.tryAcquire());
}

void StartupTest::lockOfAKilledCopyDoesNotBlock()
{
    QTemporaryDir dir;
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        InstanceGuard held(dir.path());
        const char ok = held.tryAcquire() ? '1' : '0';
        if (::write(ready[1], &ok, 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    QVERIFY(child > 0);
    char ok = 0;
    QCOMPARE(::read(ready[0], &ok, 1), ssize_t{1});
    QCOMPARE(ok, '1');
    InstanceGuard mine(dir.path());
    QVERIFY(!mine.tryAcquire());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    QVERIFY(QFile::exists(mine.lockPath()));  // left behind, and yet:
    QVERIFY(mine.tryAcquire());
}

void StartupTest::startUpSequence()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "pos_c_x=12\r\npos_c_y=34\r\nop_d_gs=0\r\n");
    MessageRecorder messages;
    ManualClock clock;
    Program program(dir.appDir(), clock.clock());
    QVERIFY(program.start());
    TForm1& f = program.form1();
    QCOMPARE(f.windowTitle(), "QuombleView 3.9");
    QCOMPARE(f.applicationTitle(), "QuombleView 3.9");
    QCOMPARE(f.LogFileName, dir.appDir() + "Quomble.log");
    QCOMPARE(f.IniFileName, dir.appDir() + "Quomble.ini");
    QVERIFY(program.form2());
    QCOMPARE(program.form2()->Label6->text(), QString::fromStdString(f.LogFileName));
    QCOMPARE(program.form2()->Label9->text(), QString::fromStdString(f.IniFileName));
    QVERIFY(!program.form2()->isVisible());
    QVERIFY(f.Timer1->isActive());
    QVERIFY(f.FirstShowPending);
    QVERIFY(f.model().DaytimePending);
    QCOMPARE(f.settings().LogDataPlace, (WindowPlace{12, 34}));
    QVERIFY(program.form4());
    QVERIFY(program.form5());
    QVERIFY(!program.form5()->Gestuft1->isChecked());  // the stored line switched it off
    QVERIFY(messages.messages.empty());
    f.close();
    const QString ini = dir.read("Quomble.ini");
    QVERIFY(ini.contains("pos_c_x=12\r\npos_c_y=34\r\n"));
    QVERIFY(ini.contains("op_d_gs=0\r\n"));
}

void StartupTest::missingLogEndsTheProgram()
{
    AppFolder dir;
    MessageRecorder messages;
    Program program(dir.appDir(), ManualClock().clock());
    QVERIFY(!program.start());
    QVERIFY(!program.form2());
    QCOMPARE(messages.texts(), QStringList{"LogFile not avaiable!"});
}

QTEST_MAIN(StartupTest)
void StartupTest::systemDefaultSettingsAreKeptInTheUsersOwnFile()
{
    AppFolder dir;
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "pos_c_x=12\r\npos_c_y=34\r\n");
    MessageRecorder messages;
    TForm1 f(dir.appDir(), ManualClock().clock());
    const QString own = dir.file("config/quombleview/Quomble.ini");
    f.useSettingsFiles({dir.appDir() + "Quomble.ini", own.toStdString()});
    QVERIFY(f.FormCreate());
    f.LogDataSettings_read();
    QCOMPARE(f.settings().LogDataPlace, (WindowPlace{12, 34}));
    f.close();
    QVERIFY(messages.messages.empty());
    QVERIFY(dir.read("config/quombleview/Quomble.ini").contains("pos_c_x=12\r\npos_c_y=34\r\n"));
    QCOMPARE(dir.read("Quomble.ini"), "pos_c_x=12\r\npos_c_y=34\r\n");  // the default stays as it was
}

#include "test_startup.moc"
