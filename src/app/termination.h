#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QSocketNotifier;

namespace quomble {

class TForm1;

// Ends the program the way the main window's close box does when the system asks for it:
// SIGTERM (a shutdown), SIGHUP (the terminal went away), SIGINT (Ctrl+C) and the session
// manager's end of the session. Menus, message boxes and modal windows that are open are
// closed first, then the main window, which writes the settings when the user wants them
// kept; then every message loop ends. Nothing waits for a person: a settings file that
// cannot be written is reported on stderr, and the program then ends with status 1
// (TForm1::settingsWriteFailed). Before the main window exists (the second copy's "already
// running" box) only the boxes close and the loops end.
//
// The signal handler only writes a byte into a pipe; the closing happens on the window
// thread when the pipe's notifier reports it. While the main window refuses to close (the
// start-up is still reading the log, a sort runs beside the log data window) the closing is
// tried again every 100 ms.
class Termination : public QObject {
public:
    explicit Termination(TForm1* mainWindow = nullptr);
    ~Termination() override;  // the three signals end the process again
    Termination(const Termination&) = delete;
    Termination& operator=(const Termination&) = delete;

    // The main window has been closed on the system's request. When that happened before
    // the message loop ran, the program has nothing left to do.
    bool ended() const { return ended_; }

    // The main window to close from now on.
    void setMainWindow(TForm1* mainWindow);

    // Asks for the end as a signal would (the session manager's request comes here too).
    void request();

private:
    void attempt();
    void readPipe();

    QPointer<TForm1> mainWindow_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer retry_;
    int pipe_[2] = {-1, -1};
    bool ended_ = false;
};

}  // namespace quomble
