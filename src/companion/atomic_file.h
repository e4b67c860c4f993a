#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace quomble {

// The steps of replacing a file. A probe sees each of them before it happens, so a test
// can stop an update between any two of them, as a power cut or a kill would; a
// std::system_error thrown by the probe stands for that step's system call failing.
enum class ReplaceStep {
    CreateTemp,  // the temporary file beside the target is about to be created
    WriteTemp,   // `written` bytes are in the temporary file; the next chunk is about to follow
    SyncTemp,    // all bytes are written; the temporary file is about to be synced
    Rename,      // the temporary file is about to replace the target
    SyncDir,     // the rename is done; the directory is about to be synced
};

struct ReplaceProbe {
    std::function<void(ReplaceStep step, std::size_t written)> onStep;
    std::size_t chunk = 64 * 1024;  // bytes per write call (a test sets 1 to stop after any byte)
};

// The file a path names once every symbolic link on the way is followed, also when the
// last link points to a file that does not exist yet. A relative link counts from its own
// folder. Throws std::system_error on a loop or an unreadable link.
std::filesystem::path followLinks(const std::filesystem::path& path);

// Replaces the file at target with bytes: writes them to target + ".tmp", syncs that file,
// renames it over the target and syncs the directory. Whoever opens the target sees either
// the old or the new content, never a part of either, and after a power cut the disk holds
// one of the two. The new file gets `mode` and, when the process may set it, the owner of
// the file it replaces. A stale temporary file of an earlier, interrupted update is
// overwritten. A target that is a symbolic link stays one: the file it leads to
// (followLinks) is replaced, in that file's own folder. Throws std::system_error when the
// target could not be replaced (it is then unchanged and the temporary file removed).
// Returns an empty text when all went well, or what failed after the rename (the
// directory's sync): the target holds the new bytes, but a power cut may still bring the
// old ones back. The caller holds the lock of the target's folder (lockFolderOf).
[[nodiscard]] std::string replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                                mode_t mode, const ReplaceProbe& probe = {});

// An exclusive lock on a directory (flock), held for the lifetime of the object. Every
// writer of the log takes it before reading the log and keeps it until the new content is
// in place, so two writers cannot interleave. Waits up to `timeoutMs`; throws
// std::system_error when the lock cannot be had.
class DirectoryLock {
public:
    explicit DirectoryLock(const std::filesystem::path& directory, int timeoutMs = 10000);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

private:
    int fd_ = -1;
};

// The lock of the folder that holds the file `path` leads to once its links are followed:
// one lock for one file, whether it is reached by its own name or through a link.
DirectoryLock lockFolderOf(const std::filesystem::path& path, int timeoutMs = 10000);

// Reads a whole file. Returns false when it does not exist; throws std::system_error when
// it exists but cannot be read, std::runtime_error when it is no regular file (a FIFO is
// refused without waiting for a writer), or std::length_error when it is larger than maxBytes.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::size_t maxBytes);

}  // namespace quomble
