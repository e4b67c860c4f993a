#include "companion/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quomble {
namespace {

[[noreturn]] void fail(const std::string& what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

// Closes a descriptor when the scope ends.
struct Fd {
    int fd = -1;
    explicit Fd(int value) : fd(value) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

void step(const ReplaceProbe& probe, ReplaceStep which, std::size_t written)
{
    if (probe.onStep)
        probe.onStep(which, written);
}

void writeAll(int fd, std::string_view bytes, const ReplaceProbe& probe, const std::string& name)
{
    const std::size_t chunk = probe.chunk == 0 ? bytes.size() : probe.chunk;
    std::size_t written = 0;
    while (written < bytes.size()) {
        step(probe, ReplaceStep::WriteTemp, written);
        const std::size_t want = std::min(chunk, bytes.size() - written);
        const ssize_t done = ::write(fd, bytes.data() + written, want);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot write " + name);
        }
        written += static_cast<std::size_t>(done);
    }
}

std::filesystem::path directoryOf(const std::filesystem::path& target)
{
    auto dir = target.parent_path();
    return dir.empty() ? std::filesystem::path(".") : dir;
}

}  // namespace

std::filesystem::path followLinks(const std::filesystem::path& path)
{
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec)))
            return current;
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec)
            throw std::system_error(ec, "cannot read the link " + current.string());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    errno = ELOOP;
    fail("cannot follow the links of " + path.string());
}

std::string replaceFileAtomically(const std::filesystem::path& link, std::string_view bytes, mode_t mode,
                                  const ReplaceProbe& probe)
{
    const std::filesystem::path target = followLinks(link);
    const std::string targetName = target.string();
    const std::string tempName = targetName + ".tmp";

    struct stat old {};
    const bool hadTarget = ::stat(targetName.c_str(), &old) == 0;

    step(probe, ReplaceStep::CreateTemp, 0);
    Fd temp(::open(tempName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (temp.fd < 0)
        fail("cannot create " + tempName);
    try {
        // An explicit mode: the umask of a boot service must not hide the log from its reader.
        if (::fchmod(temp.fd, mode) != 0)
            fail("cannot set the mode of " + tempName);
        if (hadTarget && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
            // Keeps the owner of the log when root rewrites a log that a user set up; only
            // root may do this, and a user's rewrite of his own log needs nothing.
            if (::fchown(temp.fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
                fail("cannot set the owner of " + tempName);
        }
        writeAll(temp.fd, bytes, probe, tempName);
        step(probe, ReplaceStep::SyncTemp, bytes.size());
        if (::fsync(temp.fd) != 0)
            fail("cannot sync " + tempName);
        step(probe, ReplaceStep::Rename, bytes.size());
        if (::rename(tempName.c_str(), targetName.c_str()) != 0)
            fail("cannot replace " + targetName);
    } catch (const std::system_error&) {
        ::unlink(tempName.c_str());
        throw;
    }

    const std::string dirName = directoryOf(target).string();
    const auto unsynced = [&](const std::error_code& error) {
        return targetName + " was replaced, but its folder " + dirName + " could not be synced (" +
               error.message() + "): a power cut now may bring the old file back";
    };
    try {
        step(probe, ReplaceStep::SyncDir, bytes.size());
    } catch (const std::system_error& error) {
        return unsynced(error.code());
    }
    Fd dir(::open(dirName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0 || ::fsync(dir.fd) != 0)
        return unsynced(std::error_code(errno, std::generic_category()));
    return {};
}

DirectoryLock::DirectoryLock(const std::filesystem::path& directory, int timeoutMs)
{
    const std::string name = directory.empty() ? std::string(".") : directory.string();
    fd_ = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        fail("cannot open the directory " + name);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
            fd_ = -1;
            errno = error;
            fail("cannot lock the directory " + name);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

DirectoryLock::~DirectoryLock()
{
    if (fd_ >= 0)
        ::close(fd_);  // closing the last descriptor releases the lock
}

DirectoryLock lockFolderOf(const std::filesystem::path& path, int timeoutMs)
{
    return DirectoryLock(directoryOf(followLinks(path)), timeoutMs);
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::size_t maxBytes)
{
    const std::string name = path.string();
    // O_NONBLOCK: a FIFO in the place of the file is refused below instead of waiting for a writer.
    Fd file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.fd < 0) {
        if (errno == ENOENT)
            return false;
        fail("cannot open " + name);
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        fail("cannot read " + name);
    if (!S_ISREG(info.st_mode))
        throw std::runtime_error(name + " is not a regular file");
    bytes.clear();
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail("cannot read " + name);
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
            throw std::length_error(name + " is larger than a boot log can be");
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

}  // namespace quomble
