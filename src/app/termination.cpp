#include "app/termination.h"

#include "ui/main/tform1.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>
#ifndef QT_NO_SESSIONMANAGER
#include <QSessionManager>
#endif

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quomble {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};
std::array<struct sigaction, kSignals.size()> previousActions{};

// The pipe's write end for the handler; -1 while no Termination listens.
std::atomic<int> writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads it");

// Runs in whatever the process was doing: only async-signal-safe calls here.
void onSignal(int)
{
    const int savedErrno = errno;
    const int fd = writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const char byte = 1;
        if (::write(fd, &byte, 1) < 0) {
            // A full pipe already holds a request; nothing else can be done here.
        }
    }
    errno = savedErrno;
}

// Popups, message boxes and modal windows, innermost first, so that their loops end.
void closeOpenWindows()
{
    for (int guard = 0; guard < 64; ++guard) {
        QWidget* w = QApplication::activePopupWidget();
        if (!w)
            w = QApplication::activeModalWidget();
        if (!w)
            return;
        w->close();
        if (w->isVisible()) {  // a message box without an escape button refuses the close
            if (auto* dialog = qobject_cast<QDialog*>(w))
                dialog->reject();
            else
                w->hide();
        }
    }
}

}  // namespace

Termination::Termination(TForm1* mainWindow) : mainWindow_(mainWindow)
{
    retry_.setSingleShot(true);
    retry_.setInterval(100);
    connect(&retry_, &QTimer::timeout, this, &Termination::attempt);
#ifndef QT_NO_SESSIONMANAGER
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { request(); });
#endif

    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;  // the signals keep ending the process at once
    }
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &Termination::readPipe);
    writeEnd.store(pipe_[1]);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &action, &previousActions[i]);
        // Started with the signal ignored (nohup, a background job): it stays ignored.
        if (previousActions[i].sa_handler == SIG_IGN)
            ::sigaction(kSignals[i], &previousActions[i], nullptr);
    }
}

Termination::~Termination()
{
    if (pipe_[1] < 0)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &previousActions[i], nullptr);
    writeEnd.store(-1);
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void Termination::setMainWindow(TForm1* mainWindow) { mainWindow_ = mainWindow; }

void Termination::readPipe()
{
    char bytes[64];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    request();
}

void Termination::request()
{
    if (!ended_)
        attempt();
}

void Termination::attempt()
{
    closeOpenWindows();
    if (mainWindow_ && !mainWindow_->closeForTheSystem()) {
        retry_.start();  // busy: the start-up or a sort is not done yet
        return;
    }
    ended_ = true;
    QCoreApplication::exit(0);
}

}  // namespace quomble
