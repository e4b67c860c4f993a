#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string_view>

namespace quomble {

// A file that could not be written; the text is meant for the user. The old file, if
// any, is left as it was.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The two system calls through which a file's bytes reach the disk. A test replaces them
// to make the disk full or the sync fail; empty members use the real calls.
struct FileWriteCalls {
    std::function<long(int fd, const char* data, std::size_t size)> write;  // like ::write
    std::function<int(int fd)> sync;                                        // like ::fsync
};

// Writes `content` to `file` + ".tmp", syncs it to the disk and renames it over `file`:
// the file then holds either its old bytes or all the new ones, never a part, and no
// temporary file stays behind. A missing folder is created first. A `file` that is a
// symbolic link stays one: the write goes to the file it leads to (beside which the
// temporary file is made). A file that is there keeps its mode (and its owner where the
// system allows it). Throws FileWriteError, whose text begins with `subject` ("Settings
// file could not be written: ...") and names `file` as given.
void writeFileSafely(const std::filesystem::path& file, std::string_view content, std::string_view subject,
                     const FileWriteCalls& calls = {});

}  // namespace quomble
