#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// One line of the log as the intake sees it. Only the first kHeadChars characters are
// kept (the later columns are never read), but the full length counts.
struct LogLine {
    static constexpr std::size_t kHeadChars = 40;
    std::string_view head;  // valid until the next call of LogLineReader::next
    std::uint64_t length = 0;
};

// Splits the log into lines: a line ends at LF, with or without a CR before it; any other
// CR is dropped from the line; character 26 (Ctrl-Z) ends the file; the last line needs no
// line end, and a line end at the very end of the file starts no further line.
// Reads in fixed-size chunks, so a huge file or a huge line costs no more memory.
class LogLineReader {
public:
    // Reads the file at path; throws IntakeError when it cannot be opened or read.
    explicit LogLineReader(const std::filesystem::path& path);
    // Reads bytes held in memory (they must outlive the reader).
    explicit LogLineReader(std::string_view bytes);
    // A std::string could be meant as either; say which by passing a path or a string_view.
    LogLineReader(const std::string&) = delete;
    ~LogLineReader();
    LogLineReader(const LogLineReader&) = delete;
    LogLineReader& operator=(const LogLineReader&) = delete;

    bool next(LogLine& line);

private:
    bool refill();
    void keep(const char* begin, const char* end);

    std::FILE* file_ = nullptr;
    std::string path_;
    std::vector<char> buffer_;
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    bool ended_ = false;
    char head_[LogLine::kHeadChars] = {};
    std::size_t headSize_ = 0;
    std::uint64_t length_ = 0;
};

// Throws IntakeError when the log at path is not a regular file: "LogFile not avaiable!"
// when there is none, "LogFile cannot be read: <reason>" when the path cannot be followed
// (too long, a folder that may not be searched, a loop of links).
void requireReadableLog(const std::filesystem::path& path);

}  // namespace quomble
