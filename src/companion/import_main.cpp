// quomble-import: builds the boot log from the history the machine already keeps.
#include "companion/atomic_file.h"
#include "companion/history.h"
#include "companion/log_writer.h"
#include "core/datetime.h"
#include "core/paths.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 64;

void usage(std::FILE* out)
{
    std::fputs("usage: quomble-import [--last FILE] [--journal FILE [--journal-tails FILE]]\n"
               "                      [--output LOG] [--merge | --replace] [--now \"dd.mm.yyyy hh:mm:ss\"]\n"
               "  --last FILE           output of `last -x -F` (several wtmp files may follow one another)\n"
               "  --journal FILE        output of `journalctl --list-boots`\n"
               "  --journal-tails FILE  each boot's last journal lines, headed \"-- Boot <id> --\",\n"
               "                        to tell a shutdown from a crash\n"
               "  FILE may be - for standard input.\n"
               "  --output LOG          the boot log to write (default: Quomble.log beside this program);\n"
               "                        - writes it to standard output\n"
               "  --merge               keep the entries of an existing log and add the imported boots\n"
               "  --replace             replace an existing log (it is kept as LOG.bak)\n"
               "  --now TIME            boots after this time are dropped (default: the clock)\n"
               "An existing, non-empty log is only changed with --merge or --replace.\n",
               out);
}

struct Input {
    std::unique_ptr<std::ifstream> file;
    std::istream* stream = nullptr;
};

bool open(const std::string& name, Input& input)
{
    if (name == "-") {
        input.stream = &std::cin;
        return true;
    }
    input.file = std::make_unique<std::ifstream>(name, std::ios::binary);
    input.stream = input.file.get();
    if (!*input.file) {
        std::fprintf(stderr, "quomble-import: cannot read %s\n", name.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string lastFile, journalFile, tailsFile, output, nowText;
    bool merge = false, replace = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "-h" || arg == "--help") {
            usage(stdout);
            return kDone;
        } else if (arg == "--last" && hasValue) {
            lastFile = argv[++i];
        } else if (arg == "--journal" && hasValue) {
            journalFile = argv[++i];
        } else if (arg == "--journal-tails" && hasValue) {
            tailsFile = argv[++i];
        } else if ((arg == "--output" || arg == "-o") && hasValue) {
            output = argv[++i];
        } else if (arg == "--now" && hasValue) {
            nowText = argv[++i];
        } else if (arg == "--merge") {
            merge = true;
        } else if (arg == "--replace") {
            replace = true;
        } else {
            usage(stderr);
            return kUsage;
        }
    }
    const int fromStdin = (lastFile == "-") + (journalFile == "-") + (tailsFile == "-");
    if ((lastFile.empty() && journalFile.empty()) || (merge && replace) || fromStdin > 1 ||
        (!tailsFile.empty() && journalFile.empty())) {
        usage(stderr);
        return kUsage;
    }

    quomble::DateTime now = 0;
    if (nowText.empty()) {
        now = quomble::readTimestamp(quomble::Datumermitteln(quomble::systemClock()));
    } else if (auto at = quomble::parseTimestamp(nowText)) {
        now = *at;
    } else {
        std::fprintf(stderr, "quomble-import: not a time \"dd.mm.yyyy hh:mm:ss\": %s\n", nowText.c_str());
        return kUsage;
    }
    if (output.empty()) {
        const std::string exe = quomble::runningExecutablePath();
        if (exe.empty()) {
            std::fputs("quomble-import: cannot tell where this program lies; name the log with --output\n",
                       stderr);
            return kFailed;
        }
        output = quomble::LogFileNameIn(quomble::AppDirOf(exe));
    }

    // With the log on standard output, what the import says goes to standard error.
    std::FILE* info = output == "-" ? stderr : stdout;
    try {
        quomble::ImportNotes notes;
        std::vector<quomble::BootSpan> fromLast, fromJournal;
        if (!lastFile.empty()) {
            Input in;
            if (!open(lastFile, in))
                return kFailed;
            fromLast = quomble::bootsFromLast(*in.stream, now, notes);
            std::fprintf(info, "quomble-import: %zu boots from wtmp\n", fromLast.size());
        }
        if (!journalFile.empty()) {
            Input in;
            if (!open(journalFile, in))
                return kFailed;
            const auto list = quomble::parseBootList(*in.stream, notes);
            std::map<std::string, bool> tails;
            if (!tailsFile.empty()) {
                Input tailsIn;
                if (!open(tailsFile, tailsIn))
                    return kFailed;
                tails = quomble::parseShutdownTails(*tailsIn.stream, notes);
            }
            fromJournal = quomble::bootsFromJournal(list, tailsFile.empty() ? nullptr : &tails, now, notes);
            std::fprintf(info, "quomble-import: %zu boots from the journal\n", fromJournal.size());
        }
        // wtmp knows shutdowns for certain; the journal fills in the boots it lacks.
        auto boots = quomble::mergeBoots(std::move(fromLast), fromJournal);

        if (output == "-") {
            const std::string text = quomble::logTextOf(std::move(boots), now, notes);
            std::fwrite(text.data(), 1, text.size(), stdout);
        } else {
            const std::filesystem::path target(output);
            const auto dir = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
            quomble::DirectoryLock lock(dir);
            std::string existing;
            const bool exists = quomble::readWholeFile(target, existing, quomble::kMaxLogBytes);
            if (exists && !existing.empty()) {
                if (merge) {
                    boots = quomble::mergeBoots(quomble::bootsFromLog(existing), boots);
                } else if (replace) {
                    quomble::replaceFileAtomically(output + ".bak", existing, 0644);
                } else {
                    std::fprintf(stderr,
                                 "quomble-import: %s already holds entries; add --merge to keep them "
                                 "or --replace to replace them\n",
                                 output.c_str());
                    return kFailed;
                }
            }
            const std::string text = quomble::logTextOf(std::move(boots), now, notes);
            quomble::replaceFileAtomically(target, text, 0644);
            std::size_t lines = 0;
            for (char c : text)
                lines += c == '\n';
            std::fprintf(info, "quomble-import: %s: %zu entries written\n", output.c_str(), lines);
        }
        for (const auto& note : notes)
            std::fprintf(stderr, "quomble-import: note: %s\n", note.c_str());
        return kDone;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quomble-import: %s\n", error.what());
        return kFailed;
    }
}
