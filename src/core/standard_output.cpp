#include "core/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace quomble {

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

}  // namespace

StandardOutput::Buffer::Buffer() : bytes_(kBufferBytes)
{
    setp(bytes_.data(), bytes_.data() + bytes_.size());
}

bool StandardOutput::Buffer::writeOut(const char* data, std::size_t size)
{
    while (size > 0 && error_ == 0) {
        const ssize_t done = ::write(STDOUT_FILENO, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            error_ = done < 0 ? errno : ENOSPC;  // no progress at all: the disk is full
            break;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
    }
    return error_ == 0;
}

bool StandardOutput::Buffer::drain()
{
    const bool ok = writeOut(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return ok;
}

StandardOutput::Buffer::int_type StandardOutput::Buffer::overflow(int_type c)
{
    if (!drain())
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize StandardOutput::Buffer::xsputn(const char* data, std::streamsize size)
{
    const auto count = static_cast<std::size_t>(size);
    if (count <= static_cast<std::size_t>(epptr() - pptr())) {
        traits_type::copy(pptr(), data, count);
        pbump(static_cast<int>(count));
        return size;
    }
    // A large piece goes out directly, after what the buffer holds.
    if (!drain() || !writeOut(data, count))
        return 0;
    return size;
}

int StandardOutput::Buffer::sync() { return drain() ? 0 : -1; }

StandardOutput::StandardOutput(std::string program) : program_(std::move(program)), stream_(&buffer_) {}

int StandardOutput::finish(int status)
{
    stream_.flush();
    int error = buffer_.error();
    // What went through C's stdout: a failed write there left its mark, and the last one
    // may fail only now, when the buffer is flushed.
    if (std::fflush(stdout) != 0 && error == 0)
        error = errno;
    bool unknown = error == 0 && std::ferror(stdout) != 0;
    if (unknown) {
        // Its reason is gone; into a pipe or a socket only a reader that went away fails it.
        struct stat target {};
        if (::fstat(STDOUT_FILENO, &target) == 0 && (S_ISFIFO(target.st_mode) || S_ISSOCK(target.st_mode))) {
            unknown = false;
            error = EPIPE;
        }
    }
    // A file system may report a lost write only at the close. Standard output that was
    // never open is no fault of the tool.
    if (std::fclose(stdout) != 0 && error == 0 && !unknown && errno != EBADF)
        error = errno;
    if (error == EPIPE || (error == 0 && !unknown))
        return status;
    std::string message = program_ + ": write error on standard output";
    if (!unknown)
        message += ": " + std::generic_category().message(error);
    message += '\n';
    std::fputs(message.c_str(), stderr);
    return 1;
}

}  // namespace quomble
