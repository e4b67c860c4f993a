#include "core/safe_file.h"

#include <cerrno>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace quomble {

void writeFileSafely(const std::filesystem::path& file, std::string_view content, std::string_view subject,
                     const FileWriteCalls& calls)
{
    const std::string target = file.string();
    const std::string temp = target + ".tmp";
    int fd = -1;
    bool created = false;
    auto fail = [&](const std::string& what, int error) {
        if (fd >= 0)
            ::close(fd);
        if (created)
            ::unlink(temp.c_str());
        throw FileWriteError(std::string(subject) + " could not be written: " + target + " (" + what + ": " +
                             std::generic_category().message(error) + ")");
    };

    if (file.has_parent_path()) {
        std::error_code made;
        std::filesystem::create_directories(file.parent_path(), made);
        if (made)
            fail("cannot create the folder " + file.parent_path().string(), made.value());
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
    const std::string folder = file.has_parent_path() ? file.parent_path().string() : std::string(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace quomble
