#include "core/safe_file.h"

#include <cerrno>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quomble {

namespace {

// As many links in a row as the system itself follows before it gives up with ELOOP.
constexpr int kMostLinks = 40;

// Where a write to `file` lands: the file itself, or the end of the chain of symbolic links
// that `file` is, so that the links stay links. 0 in `error` unless the chain never ends.
std::filesystem::path endOfLinks(const std::filesystem::path& file, int& error)
{
    std::filesystem::path at = file;
    for (int hops = 0; hops <= kMostLinks; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;  // a file, or nothing yet: written here
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(at, ec);
        if (ec)
            return at;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    error = ELOOP;
    return at;
}

}  // namespace

void writeFileSafely(const std::filesystem::path& file, std::string_view content, std::string_view subject,
                     const FileWriteCalls& calls)
{
    const std::string shown = file.string();
    int fd = -1;
    bool created = false;
    std::string temp;
    auto fail = [&](const std::string& what, int error) {
        if (fd >= 0)
            ::close(fd);
        if (created)
            ::unlink(temp.c_str());
        throw FileWriteError(std::string(subject) + " could not be written: " + shown + " (" + what + ": " +
                             std::generic_category().message(error) + ")");
    };

    int loop = 0;
    const std::filesystem::path target = endOfLinks(file, loop);
    if (loop != 0)
        fail("cannot follow the link", loop);
    temp = target.string() + ".tmp";
    if (target.has_parent_path()) {
        std::error_code made;
        std::filesystem::create_directories(target.parent_path(), made);
        if (made)
            fail("cannot create the folder " + target.parent_path().string(), made.value());
    }

    // Whatever an interrupted write left in the temporary file's place goes first; a link
    // there must neither redirect the write nor block every later one.
    ::unlink(temp.c_str());
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        const int error = errno;
        fail("cannot create " + std::filesystem::path(temp).filename().string(), error);
    }
    created = true;
    // A file that is there keeps its mode (a private file stays private) and, where the
    // system allows it, its owner.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only root may give a file away; the writer's own file is as good.
        }
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const long done = calls.write ? calls.write(fd, content.data() + written, content.size() - written)
                                      : ::write(fd, content.data() + written, content.size() - written);
        const int error = done < 0 ? errno : ENOSPC;  // no progress at all: the disk is full
        if (done < 0 && error == EINTR)
            continue;
        if (done <= 0)
            fail("write error", error);
        written += static_cast<std::size_t>(done);
    }
    if ((calls.sync ? calls.sync(fd) : ::fsync(fd)) != 0) {
        const int error = errno;
        fail("write error", error);
    }
    const int closed = ::close(fd);
    const int closeError = errno;
    fd = -1;
    if (closed != 0)
        fail("write error", closeError);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        fail("cannot replace the file", error);
    }
    created = false;

    // The rename itself reaches the disk with the folder; the file is complete either way,
    // so a folder that cannot be synced is no reason to report a failure.
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : std::string(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace quomble
