#pragma once

// File system faults that a test cannot simply ask for when it runs as root: root ignores
// permission bits, so a read-only folder is made with the immutable attribute and an
// unreadable file is read by a child process that gave up root.

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quomble::testing {

// Makes a folder read-only for this process while it lives: by its permission bits for
// a normal user, by the immutable attribute for root. active() is false when neither
// works (a file system without the attribute, no right to set it).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path dir) : dir_(std::move(dir))
    {
        if (::geteuid() != 0) {
            std::error_code ec;
            std::filesystem::permissions(
                dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec,
                std::filesystem::perm_options::replace, ec);
            active_ = !ec;
            return;
        }
        fd_ = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            active_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ReadOnlyFolder() { undo(); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool active() const { return active_; }
    void undo()
    {
        if (active_ && ::geteuid() != 0) {
            std::error_code ec;
            std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, ec);
        } else if (active_) {
            int flags = 0;
            if (::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
            }
        }
        active_ = false;
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    std::filesystem::path dir_;
    int fd_ = -1;
    bool active_ = false;
};

// Runs `body` in a child process without root's rights (as "nobody" when the test runs as
// root, unchanged otherwise) and returns its exit status, or -1 when it did not exit.
inline int runUnprivileged(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace quomble::testing
