#include "app/instance_guard.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quomble {

InstanceGuard::InstanceGuard(QString directory) : directory_(std::move(directory)) {}

InstanceGuard::~InstanceGuard() { release(); }

QString InstanceGuard::lockPath() const { return QDir(directory_).filePath(lockName()); }

bool InstanceGuard::tryAcquire()
{
    if (fd_ >= 0)
        return true;
    const QByteArray path = QFile::encodeName(lockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;  // no lock possible here: run unguarded rather than never
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldByOther = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldByOther;
    }
    fd_ = fd;
    return true;
}

void InstanceGuard::release()
{
    if (fd_ < 0)
        return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

QString InstanceGuard::defaultDirectory()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir;
}

}  // namespace quomble
