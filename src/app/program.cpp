#include "app/program.h"

#include "app/instance_guard.h"
#include "app/termination.h"
#include "app/user_settings.h"
#include "core/paths.h"
#include "ui/about/tform2.h"
#include "ui/components/messages.h"
#include "ui/components/programicon.h"
#include "ui/crashes/crashes_window.h"
#include "ui/diagrams/tform5.h"
#include "ui/logdata/tform4.h"
#include "ui/main/tform1.h"

#include <QApplication>

namespace quomble {

Program::Program(std::string appDir, Clock clock)
    : files_{LogFileNameIn(appDir), settingsFilesOfThisUser(appDir)},
      form1_(std::make_unique<TForm1>(files_, std::move(clock)))
{
}

Program::~Program() = default;

bool Program::start()
{
    if (!form1_->FormCreate())
        return false;
    form2_ = new TForm2(form1_->VersionText, form1_->BuildText, QString::fromStdString(files_.log),
                        QString::fromStdString(files_.settings.write), form1_.get());
    form1_->setAboutWindow(form2_);
    // The log data and diagrams windows get the main window's settings at their creation
    // and read their own keys right after it.
    form4_ = new TForm4(form1_->model(), form1_->settings(), form1_.get());
    form1_->setLogDataWindow(form4_);
    QObject::connect(form4_, &TForm4::sortingChanged, form1_.get(),
                     [form1 = form1_.get()](bool running) { form1->pauseLiveUpdate(running); });
    form1_->LogDataSettings_read();

    TForm1* form1 = form1_.get();
    TForm5::Host host;
    host.mainWindow = form1;  // its caption shows the progress of the on-time curve
    host.mainTitle = form1->applicationTitle();
    host.firstShowPending = [form1] { return form1->FirstShowPending; };
    host.showAbout = [form1] { form1->Hilfe1Click(); };
    form5_ = new TForm5(form1->model(), form1->settings(), host, form1);
    form1->setDiagramsWindow(form5_);
    form1_->DiagramsSettings_read();
    // Every crash with its likely cause, from the log and the ends file beside it.
    auto* crashes = new CrashesWindow(form1->LogFileName, form1->model().clock(), form1);
    form1->setCrashesWindow([crashes] { crashes->showModal(); });
    form1_->setWindowTitle(form1_->applicationTitle());
    // Hints stay up for a minute: every control with a hint sets its own duration.
    return true;
}

int runQuombleView(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A shutdown, a hang-up or Ctrl+C close the "already running" box of a second copy, and
    // then the main window like its close box.
    Termination termination;
    InstanceGuard guard;
    if (!guard.tryAcquire()) {
        showMessage(MessageKind::Warning, QStringLiteral("Programm l\u00E4uft bereits!  "));
        return 0;
    }
    QApplication::setWindowIcon(programIcon());
    Program program(AppDirOf(runningExecutablePath()), systemClock());
    termination.setMainWindow(&program.form1());
    int status = 0;
    if (program.start() && !termination.ended())
        status = app.exec();
    // Settings that could not be written make the end a failure, however it came about.
    return status == 0 && program.form1().settingsWriteFailed() ? 1 : status;
}

}  // namespace quomble
