#include "core/log_lines.h"

#include "core/errors.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <sys/stat.h>

namespace quomble {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
constexpr char kCtrlZ = 26;

std::string describeErrno(int code) { return std::generic_category().message(code); }

}  // namespace

void requireReadableLog(const std::filesystem::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        // Only a log that is not there is "not available"; a path too long, a folder that
        // may not be searched or a loop of links keep one that may well be there.
        if (error == ENOENT || error == ENOTDIR)
            throw IntakeError("LogFile not avaiable!");
        throw IntakeError("LogFile cannot be read: " + describeErrno(error));
    }
    if (!S_ISREG(st.st_mode))
        throw IntakeError("LogFile is not a regular file: " + path.string());
}

LogLineReader::LogLineReader(const std::filesystem::path& path) : path_(path.string())
{
    requireReadableLog(path);
    file_ = std::fopen(path_.c_str(), "rb");
    if (file_ == nullptr)
        throw IntakeError("LogFile cannot be read: " + describeErrno(errno));
    buffer_.resize(kChunkBytes);
}

LogLineReader::LogLineReader(std::string_view bytes) : pos_(bytes.data()), end_(bytes.data() + bytes.size())
{
}

LogLineReader::~LogLineReader()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

bool LogLineReader::refill()
{
    if (file_ == nullptr)
        return false;
    const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (got == 0) {
        if (std::ferror(file_))
            throw IntakeError("LogFile cannot be read: " + describeErrno(errno));
        return false;
    }
    pos_ = buffer_.data();
    end_ = pos_ + got;
    return true;
}

void LogLineReader::keep(const char* begin, const char* end)
{
    for (const char* p = begin; p != end; ++p) {
        if (*p == '\r')
            continue;
        if (headSize_ < LogLine::kHeadChars)
            head_[headSize_++] = *p;
        ++length_;
    }
}

bool LogLineReader::next(LogLine& line)
{
    if (ended_)
        return false;
    headSize_ = 0;
    length_ = 0;
    bool started = false;  // a line exists once any byte of it (even a dropped CR) is seen
    for (;;) {
        if (pos_ == end_ && !refill()) {
            ended_ = true;
            break;
        }
        const std::size_t avail = static_cast<std::size_t>(end_ - pos_);
        const char* nl = static_cast<const char*>(std::memchr(pos_, '\n', avail));
        const char* segEnd = nl != nullptr ? nl : end_;
        if (const void* z = std::memchr(pos_, kCtrlZ, static_cast<std::size_t>(segEnd - pos_))) {
            keep(pos_, static_cast<const char*>(z));
            started = started || static_cast<const char*>(z) != pos_;
            ended_ = true;
            break;
        }
        started = true;
        if (nl == nullptr) {
            keep(pos_, end_);
            pos_ = end_;
            continue;
        }
        // Fast path: a whole line inside the chunk whose only CR is the one before the LF.
        const std::size_t segLen = static_cast<std::size_t>(nl - pos_);
        std::size_t contentLen = segLen;
        if (contentLen > 0 && pos_[contentLen - 1] == '\r')
            --contentLen;
        if (headSize_ == 0 && length_ == 0 && std::memchr(pos_, '\r', contentLen) == nullptr) {
            line.head = std::string_view(pos_, std::min(contentLen, LogLine::kHeadChars));
            line.length = contentLen;
            pos_ = nl + 1;
            return true;
        }
        keep(pos_, nl);
        pos_ = nl + 1;
        line.head = std::string_view(head_, headSize_);
        line.length = length_;
        return true;
    }
    if (!started)
        return false;
    line.head = std::string_view(head_, headSize_);
    line.length = length_;
    return true;
}

}  // namespace quomble
