#include "core/errors.h"
#include "core/log_lines.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using namespace quomble;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = std::size_t{1} << 20;  // the reader's chunk size

struct Line {
    std::string head;
    std::uint64_t length;
    friend bool operator==(const Line&, const Line&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Line& l)
    {
        return os << '"' << l.head << "\" (" << l.length << ')';
    }
};

std::vector<Line> collect(LogLineReader& reader)
{
    std::vector<Line> lines;
    LogLine line;
    while (reader.next(line))
        lines.push_back({std::string(line.head), line.length});
    // Once ended, the reader stays ended.
    EXPECT_FALSE(reader.next(line));
    return lines;
}

std::vector<Line> split(std::string_view bytes)
{
    LogLineReader reader(bytes);
    return collect(reader);
}

std::vector<Line> splitFile(const std::string& bytes)
{
    const quomble::testing::TempFolder folder;
    quomble::testing::writeFile(folder / "Quomble.log", bytes);
    LogLineReader reader(folder / "Quomble.log");
    return collect(reader);
}

}  // namespace

TEST(LogLineSplit, LineEnds)
{
    using L = std::vector<Line>;
    EXPECT_EQ(split("ab\r\ncd\r\n"), (L{{"ab", 2}, {"cd", 2}}));
    EXPECT_EQ(split("ab\ncd\n"), (L{{"ab", 2}, {"cd", 2}}));
    EXPECT_EQ(split("ab\ncd\r\nef"), (L{{"ab", 2}, {"cd", 2}, {"ef", 2}}));
    // The last line needs no line end, and a final line end starts no further line.
    EXPECT_EQ(split("ab\r\ncd"), (L{{"ab", 2}, {"cd", 2}}));
    EXPECT_EQ(split("ab"), (L{{"ab", 2}}));
    EXPECT_EQ(split("ab\r\n"), (L{{"ab", 2}}));
}

TEST(LogLineSplit, EmptyFilesAndEmptyLines)
{
    using L = std::vector<Line>;
    EXPECT_EQ(split(""), L{});
    EXPECT_EQ(split("\r\n"), (L{{"", 0}}));
    EXPECT_EQ(split("\n"), (L{{"", 0}}));
    EXPECT_EQ(split("\r\n\r\n"), (L{{"", 0}, {"", 0}}));
    EXPECT_EQ(split("ab\r\n\r\ncd\r\n"), (L{{"ab", 2}, {"", 0}, {"cd", 2}}));
}

TEST(LogLineSplit, LoneCarriageReturnsAreDropped)
{
    using L = std::vector<Line>;
    EXPECT_EQ(split("a\rb\r\n"), (L{{"ab", 2}}));
    EXPECT_EQ(split("\rab\r\r\n"), (L{{"ab", 2}}));
    EXPECT_EQ(split("ab\r\r\ncd"), (L{{"ab", 2}, {"cd", 2}}));
    EXPECT_EQ(split("ab\rcd"), (L{{"abcd", 4}}));
    EXPECT_EQ(split("\r\r\n"), (L{{"", 0}}));
}

TEST(LogLineSplit, CtrlZEndsTheFile)
{
    using L = std::vector<Line>;
    EXPECT_EQ(split("\x1a"), L{});
    EXPECT_EQ(split("\x1a"
                    "ab\r\n"),
              L{});
    EXPECT_EQ(split("ab\r\n\x1a"), (L{{"ab", 2}}));
    EXPECT_EQ(split("ab\r\n\x1a"
                    "cd\r\nef\r\n"),
              (L{{"ab", 2}}));
    EXPECT_EQ(split("ab\x1a"
                    "cd\r\nef\r\n"),
              (L{{"ab", 2}}));
    EXPECT_EQ(split("ab\r\ncd\x1a"), (L{{"ab", 2}, {"cd", 2}}));
}

TEST(LogLineSplit, OtherBytesAreKept)
{
    const std::string bytes("a\0b\xff\t c\r\n", 9);
    const auto lines = split(bytes);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].head, std::string("a\0b\xff\t c", 7));
    EXPECT_EQ(lines[0].length, 7u);
}

TEST(LogLineSplit, LongLinesKeepTheirHeadAndFullLength)
{
    const std::string forty(40, 'x');
    const std::string hundred = "0123456789" + std::string(90, 'y');
    using L = std::vector<Line>;
    EXPECT_EQ(split(forty + "\r\n"), (L{{forty, 40}}));
    EXPECT_EQ(split(forty + "z\r\nab"), (L{{forty, 41}, {"ab", 2}}));
    EXPECT_EQ(split(hundred + "\r\n"), (L{{hundred.substr(0, 40), 100}}));
    // A lone CR inside a long line neither counts nor takes a place in the head.
    const std::string withCr = "ab\rcd" + std::string(60, 'q');
    EXPECT_EQ(split(withCr + "\r\n"), (L{{"abcd" + std::string(36, 'q'), 64}}));
    EXPECT_EQ(split(withCr), (L{{"abcd" + std::string(36, 'q'), 64}}));
}

TEST(LogLineFile, ReadsLikeTheBytesInMemory)
{
    const std::string bytes = "07.12.2026 08:00:00 07.12.2026 09:00:00\r\n07.12.2026 10:00:00 \r\n";
    EXPECT_EQ(splitFile(bytes), split(bytes));
    EXPECT_EQ(splitFile(""), std::vector<Line>{});
    EXPECT_EQ(splitFile("\r\n"), (std::vector<Line>{{"", 0}}));
}

TEST(LogLineFile, LinesAcrossChunkBoundaries)
{
    // Put each interesting byte sequence right at the end of the first chunk, at every
    // offset around it, and compare with the same bytes split in one piece.
    const std::vector<std::string> probes = {
        "abc\r\ndef\r\n",  // CR LF split across the chunks
        "abc\ndef\n",
        "ab\rcd\r\n",  // a lone CR near the boundary
        "ab\r\n\x1a"
        "cd\r\n",  // Ctrl-Z near the boundary
        "abc\x1a",
        "\r\n\r\n",
        std::string(50, 'L') + "\r\n",  // a long line whose head spans both chunks
    };
    for (const std::string& probe : probes) {
        for (std::size_t back = 1; back <= probe.size() + 1; ++back) {
            std::string bytes;
            // Filler of 39-character lines up to the probe's position.
            const std::size_t at = kChunk - back;
            while (bytes.size() + 41 <= at)
                bytes += "07.12.2026 08:00:00 07.12.2026 09:00:00\r\n";
            bytes += std::string(at - bytes.size(), 'f');
            bytes += probe;
            bytes += "tail\r\n";
            ASSERT_EQ(splitFile(bytes), split(bytes)) << "probe " << probe.size() << " back " << back;
        }
    }
}

TEST(LogLineFile, LineLongerThanSeveralChunks)
{
    std::string huge = "head-of-a-very-long-line:";
    huge += std::string(3 * kChunk + 123, 'x');
    huge[kChunk + 5] = '\r';  // dropped, and does not count
    const std::string bytes = "first\r\n" + huge + "\r\nlast";
    const auto lines = splitFile(bytes);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (Line{"first", 5}));
    EXPECT_EQ(lines[1].head, huge.substr(0, 40));
    EXPECT_EQ(lines[1].length, huge.size() - 1);
    EXPECT_EQ(lines[2], (Line{"last", 4}));
}

TEST(LogLineFile, MissingOrUnreadableLog)
{
    const fs::path missing = fs::temp_directory_path() / "quomble-no-such-log.log";
    try {
        LogLineReader reader(missing);
        FAIL() << "a missing log was opened";
    } catch (const IntakeError& e) {
        EXPECT_STREQ(e.what(), "LogFile not avaiable!");
    }
    EXPECT_THROW(LogLineReader{fs::temp_directory_path()}, IntakeError);
    EXPECT_THROW(requireReadableLog(missing), IntakeError);
}
