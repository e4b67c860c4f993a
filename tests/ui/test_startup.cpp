#include "app/instance_guard.h"
#include "app/program.h"
#include "app/termination.h"
#include "ui/diagrams/tform5.h"
#include "ui/about/tform2.h"
#include "ui/main/tform1.h"
#include "support/window_fixture.h"
#include "ui/components/chartview.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include <gtest/gtest.h>

#include <chrono>

#include "support/qt_printers.h"

#include <csignal>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace quomble;
using namespace quomble::testing;

TEST(StartupTest, secondCopyIsRefused)
{
    QTemporaryDir dir;
    InstanceGuard first(dir.path());
    ASSERT_TRUE(first.tryAcquire());
    ASSERT_EQ(QFileInfo(first.lockPath()).fileName(), "QuombleView");
    {
        InstanceGuard second(dir.path());
        ASSERT_TRUE(!second.tryAcquire());
    }
    ASSERT_TRUE(first.tryAcquire());  // the refused copy took nothing away
    first.release();
    InstanceGuard third(dir.path());
    ASSERT_TRUE(third.tryAcquire());
}

TEST(StartupTest, lockOfAKilledCopyDoesNotBlock)
{
    QTemporaryDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        InstanceGuard held(dir.path());
        const char ok = held.tryAcquire() ? '1' : '0';
        if (::write(ready[1], &ok, 1) != 1)
            ::_exit(1);
        for (;;)
            ::pause();
    }
    ASSERT_TRUE(child > 0);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), ssize_t{1});
    ASSERT_EQ(ok, '1');
    InstanceGuard mine(dir.path());
    ASSERT_TRUE(!mine.tryAcquire());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(QFile::exists(mine.lockPath()));  // left behind, and yet:
    ASSERT_TRUE(mine.tryAcquire());
}

TEST(StartupTest, startUpSequence)
{
    AppFolder dir;
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "pos_c_x=12\r\npos_c_y=34\r\nop_d_gs=0\r\n");
    MessageRecorder messages;
    SettableClock clock;
    Program program(dir.appDir(), clock.clock());
    ASSERT_TRUE(program.start());
    TForm1& f = program.form1();
    ASSERT_EQ(f.windowTitle(), "QuombleView 3.9");
    ASSERT_EQ(f.applicationTitle(), "QuombleView 3.9");
    ASSERT_EQ(f.LogFileName, dir.appDir() + "Quomble.log");
    ASSERT_EQ(f.IniFileName, dir.appDir() + "Quomble.ini");
    ASSERT_TRUE(program.form2());
    ASSERT_EQ(program.form2()->Label6->text(), QString::fromStdString(f.LogFileName));
    ASSERT_EQ(program.form2()->Label9->text(), QString::fromStdString(f.IniFileName));
    ASSERT_TRUE(!program.form2()->isVisible());
    ASSERT_TRUE(f.Timer1->isActive());
    ASSERT_TRUE(f.FirstShowPending);
    ASSERT_TRUE(f.model().DaytimePending);
    ASSERT_EQ(f.settings().LogDataPlace, (WindowPlace{12, 34}));
    ASSERT_TRUE(program.form4());
    ASSERT_TRUE(program.form5());
    ASSERT_TRUE(!program.form5()->Gestuft1->isChecked());  // the stored line switched it off
    ASSERT_TRUE(messages.messages.empty());
    f.close();
    const QString ini = dir.read("Quomble.ini");
    ASSERT_TRUE(ini.contains("pos_c_x=12\r\npos_c_y=34\r\n"));
    ASSERT_TRUE(ini.contains("op_d_gs=0\r\n"));
}

TEST(StartupTest, missingLogEndsTheProgram)
{
    AppFolder dir;
    MessageRecorder messages;
    Program program(dir.appDir(), SettableClock().clock());
    ASSERT_TRUE(!program.start());
    ASSERT_TRUE(!program.form2());
    ASSERT_EQ(messages.texts(), QStringList{"LogFile not avaiable!"});
}

TEST(StartupTest, systemDefaultSettingsAreKeptInTheUsersOwnFile)
{
    AppFolder dir;
    dir.writeLog(knownLog());
    dir.write("Quomble.ini", "pos_c_x=12\r\npos_c_y=34\r\n");
    MessageRecorder messages;
    TForm1 f(dir.appDir(), SettableClock().clock());
    const QString own = dir.file("config/quombleview/Quomble.ini");
    f.useSettingsFiles({dir.appDir() + "Quomble.ini", own.toStdString()});
    ASSERT_TRUE(f.FormCreate());
    f.LogDataSettings_read();
    ASSERT_EQ(f.settings().LogDataPlace, (WindowPlace{12, 34}));
    f.close();
    ASSERT_TRUE(messages.messages.empty());
    ASSERT_TRUE(dir.read("config/quombleview/Quomble.ini").contains("pos_c_x=12\r\npos_c_y=34\r\n"));
    ASSERT_EQ(dir.read("Quomble.ini"), "pos_c_x=12\r\npos_c_y=34\r\n");  // the default stays as it was
}

TEST(StartupTest, systemEndWritesTheSettingsDespiteAMessageBox)
{
    const std::pair<int, QStringList> runs[] = {
        {SIGTERM, {"07.12.2026 08:00:00 07.12.2026 07:00:00", "07.12.2026 09:00:00 "}},
        {SIGHUP, {"07.12.2026 08:00:00 ", "07.12.2026 0x:00:00 "}},
    };
    for (const auto& [signal, log] : runs) {
        AppFolder dir;
        dir.writeLog(log);
        QTemporaryDir runtime;
        const QString exe = dir.file("QuombleV");
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUOMBLEV_EXE), exe));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(exe, {});
        ASSERT_TRUE(program.waitForStarted());
        // The lock comes first; the windows and the signal handling a moment later.
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(runtime.filePath("QuombleView")); }, 10000));
        std::this_thread::sleep_for(std::chrono::seconds(2));
        ASSERT_TRUE(!QFile::exists(dir.file("Quomble.ini")));
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(10000));
        ASSERT_EQ(program.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(program.exitCode(), 0);
        ASSERT_TRUE(dir.read("Quomble.ini").contains("pos_a_x=")) << qPrintable(dir.read("Quomble.ini"));
    }
}

TEST(StartupTest, systemEndClosesTheAboutWindowAndEndsTheLoop)
{
    AppFolder dir;
    dir.writeLog(knownLog());
    Program program(dir.appDir(), SettableClock().clock());
    Termination termination(&program.form1());
    ASSERT_TRUE(program.start());
    bool aboutWasUp = false;
    QTimer::singleShot(0, &program.form1(), [&] { program.form1().Hilfe1Click(); });
    QTimer::singleShot(300, [&] {
        aboutWasUp = program.form2()->isVisible();
        ::raise(SIGINT);  // arrives inside the About window's own loop
    });
    ASSERT_EQ(QCoreApplication::exec(), 0);
    ASSERT_TRUE(aboutWasUp);
    ASSERT_TRUE(termination.ended());
    ASSERT_TRUE(!program.form2()->isVisible());
    ASSERT_TRUE(!program.form1().isVisible());
    ASSERT_TRUE(dir.read("Quomble.ini").contains("pos_a_x="));
}
