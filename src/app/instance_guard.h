#pragma once

#include <QString>

namespace quomble {

// Keeps a second copy of the program from running: an exclusive lock on a file named
// "QuombleView" in the user's runtime directory, held for the whole run. The system
// drops the lock when the process ends in any way, so a copy that was killed leaves
// nothing behind that could block the next start.
class InstanceGuard {
public:
    explicit InstanceGuard(QString directory = defaultDirectory());
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when this copy holds the lock now, false when another running copy holds it.
    // A directory where no lock can be made at all does not keep the program from running.
    bool tryAcquire();
    void release();

    static QString defaultDirectory();
    static QString lockName() { return QStringLiteral("QuombleView"); }
    QString lockPath() const;

private:
    QString directory_;
    int fd_ = -1;
};

}  // namespace quomble
