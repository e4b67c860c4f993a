#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace quomble {

// Standard output of a command-line tool, checked to the end: every write, the last flush
// and the close. Data that did not arrive (a full disk, a failing disk) ends the tool with
// status 1 and a message on standard error; a reader that went away early (a closed pipe,
// `| head -1`) ends it quietly, as the signal for a closed pipe would.
class StandardOutput {
public:
    // `program` begins the message: "quomble-report: write error on standard output: ...".
    explicit StandardOutput(std::string program);
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Writes to file descriptor 1 through a buffer of its own. After the first failed write
    // it writes nothing more (a tool may go on formatting into it, but no byte goes out).
    std::ostream& stream() { return stream_; }

    // Flushes the stream and C's stdout, closes standard output and gives the tool's exit
    // status: `status` when everything arrived or the reader closed the pipe, otherwise 1
    // after the message.
    int finish(int status);

private:
    class Buffer : public std::streambuf {
    public:
        Buffer();
        int error() const { return error_; }

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* data, std::streamsize size) override;
        int sync() override;

    private:
        bool drain();
        bool writeOut(const char* data, std::size_t size);

        std::vector<char> bytes_;
        int error_ = 0;  // errno of the first failed write
    };

    std::string program_;
    Buffer buffer_;
    std::ostream stream_;
};

}  // namespace quomble
