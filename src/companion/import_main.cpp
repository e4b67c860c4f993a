// quomble-import: builds the boot log from the history the machine already keeps.
#include "companion/atomic_file.h"
#include "companion/boot_gather.h"
#include "companion/history.h"
#include "companion/log_writer.h"
#include "core/datetime.h"
#include "core/paths.h"
#include "core/standard_output.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 64;

void usage(std::FILE* out)
{
    std::fputs(
        "usage: quomble-import [--last FILE] [--journal FILE [--journal-tails FILE]]\n"
        "                      [--output LOG] [--merge | --replace] [--now \"dd.mm.yyyy hh:mm:ss\"]\n"
        "  --last FILE           output of `last -x -F` (several wtmp files may follow one another,\n"
        "                        in one FILE or in one --last each)\n"
        "  --journal FILE        output of `journalctl --list-boots`\n"
        "  --journal-tails FILE  each boot's last journal lines, headed \"-- Boot <id> --\",\n"
        "                        to tell a shutdown from a crash\n"
        "  FILE may be - for standard input.\n"
        "  --output LOG          the boot log to write (default: Quomble.log beside this program);\n"
        "                        - writes it to standard output\n"
        "  --merge               keep every entry of an existing log as it is; imported boots\n"
        "                        fill the gaps between them\n"
        "  --replace             replace an existing log (it is kept as LOG.bak)\n"
        "  --now TIME            boots after this time are dropped (default: the clock)\n"
        "  --ends                also record beside the log (LOG.ends) each boot's id and kernel and,\n"
        "                        for a boot without shutdown, its likely cause, from the journal\n"
        "                        (runs journalctl; as root to see the whole journal)\n"
        "An existing, non-empty log is only changed with --merge or --replace.\n"
        "exit status: 0 done, 1 no boot to write or the log could not be read or written,\n"
        "             64 wrong arguments\n",
        out);
}

struct Input {
    std::unique_ptr<std::ifstream> file;
    std::unique_ptr<std::istringstream> joined;
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

// A usage error: what was wrong, and where to read more.
int usageError(const std::string& what)
{
    std::fprintf(stderr, "quomble-import: %s\n", what.c_str());
    std::fputs("Try 'quomble-import --help' for the options.\n", stderr);
    return kUsage;
}

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The outputs of last, one after the other, as one stream: the reader knows where one
// wtmp file's output ends, as in the output of several rotated files.
bool openAll(const std::vector<std::string>& names, Input& input)
{
    if (names.size() == 1)
        return open(names.front(), input);
    std::string all;
    for (const std::string& name : names) {
        Input one;
        if (!open(name, one))
            return false;
        all.append(std::istreambuf_iterator<char>(*one.stream), std::istreambuf_iterator<char>());
        all += '\n';
    }
    input.joined = std::make_unique<std::istringstream>(std::move(all));
    input.stream = input.joined.get();
    return true;
}

int importHistory(int argc, char** argv, quomble::StandardOutput& standardOutput)
{
    std::vector<std::string> lastFiles;
    std::string journalFile, tailsFile, output, nowText;
    bool merge = false, replace = false, ends = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool takesValue = arg == "--last" || arg == "--journal" || arg == "--journal-tails" ||
                                arg == "--output" || arg == "-o" || arg == "--now";
        if (takesValue && i + 1 >= argc)
            return usageError(std::string(arg) + " needs a value");
        // Every option but --last takes one value; a second would silently replace the first.
        const std::string* once = arg == "--journal"                 ? &journalFile
                                  : arg == "--journal-tails"         ? &tailsFile
                                  : arg == "--output" || arg == "-o" ? &output
                                  : arg == "--now"                   ? &nowText
                                                                     : nullptr;
        if (once && !once->empty())
            return usageError(std::string(arg) + " can be given once");
        if (arg == "-h" || arg == "--help") {
            usage(stdout);
            return kDone;
        } else if (arg == "--last") {
            lastFiles.emplace_back(argv[++i]);
        } else if (arg == "--journal") {
            journalFile = argv[++i];
        } else if (arg == "--journal-tails") {
            tailsFile = argv[++i];
        } else if (arg == "--output" || arg == "-o") {
            output = argv[++i];
        } else if (arg == "--now") {
            nowText = argv[++i];
        } else if (arg == "--merge") {
            merge = true;
        } else if (arg == "--ends") {
            ends = true;
        } else if (arg == "--replace") {
            replace = true;
        } else {
            return usageError("unknown argument: " + std::string(arg));
        }
    }
    if (lastFiles.empty() && journalFile.empty())
        return usageError(
            "nothing to import: name the output of last with --last or of journalctl with --journal");
    if (merge && replace)
        return usageError("--merge and --replace exclude each other");
    if (std::count(lastFiles.begin(), lastFiles.end(), "-") + (journalFile == "-") + (tailsFile == "-") > 1)
        return usageError("only one input can be standard input (-)");
    if (!tailsFile.empty() && journalFile.empty())
        return usageError("--journal-tails needs --journal");

    quomble::DateTime now = 0;
    if (nowText.empty()) {
        now = quomble::readTimestamp(quomble::Datumermitteln(quomble::systemClock()));
    } else if (auto at = quomble::parseTimestamp(nowText)) {
        now = *at;
    } else {
        return usageError("not a time \"dd.mm.yyyy hh:mm:ss\": " + nowText);
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
    quomble::ImportNotes notes;
    const auto tell = [&notes] {
        for (const auto& note : notes)
            std::fprintf(stderr, "quomble-import: note: %s\n", note.c_str());
    };
    try {
        std::vector<quomble::BootSpan> fromLast, fromJournal;
        if (!lastFiles.empty()) {
            Input in;
            if (!openAll(lastFiles, in))
                return kFailed;
            fromLast = quomble::bootsFromLast(*in.stream, now, notes);
            std::fprintf(info, "quomble-import: %s from wtmp\n",
                         counted(fromLast.size(), "boot", "boots").c_str());
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
            std::fprintf(info, "quomble-import: %s from the journal\n",
                         counted(fromJournal.size(), "boot", "boots").c_str());
        }
        // wtmp knows shutdowns for certain; the journal fills in the boots it lacks.
        const auto boots = quomble::settleBoots(
            quomble::mergeBoots(std::move(fromLast), fromJournal, now, notes), now, notes);
        if (boots.empty()) {
            tell();
            std::fputs("quomble-import: no boot found that could be written; nothing written\n", stderr);
            return kFailed;
        }

        if (output == "-") {
            standardOutput.stream() << quomble::formatLog(boots);
            tell();
            return kDone;
        }
        // The log's own lock, also when the log is a link (as the package installs it):
        // quomble-log takes the same one, so a logout at shutdown cannot get lost in between.
        const std::filesystem::path target(output);
        quomble::DirectoryLock lock = quomble::lockFolderOf(target);
        std::string existing;
        const bool exists = quomble::readWholeFile(target, existing, quomble::kMaxLogBytes);
        const auto warn = [](const std::string& warning) {
            if (!warning.empty())
                std::fprintf(stderr, "quomble-import: warning: %s\n", warning.c_str());
        };
        // The causes of the history's crashes, from the journal, beside the log just written.
        const auto recordEnds = [&] {
            if (!ends)
                return;
            try {
                for (const auto& line :
                     quomble::recordPastEnds(target, quomble::systemEvidenceSource(), true))
                    std::fprintf(info, "quomble-import: %s\n", line.c_str());
            } catch (const std::exception& error) {
                std::fprintf(stderr, "quomble-import: warning: the ends were not recorded: %s\n",
                             error.what());
            }
        };
        std::string text = quomble::formatLog(boots);
        if (exists && !existing.empty()) {
            if (merge) {
                // QuombleView stops reading at a Ctrl-Z; the entries after one are the log's too.
                std::string logText = existing;
                if (const auto ctrlZ = quomble::removeCtrlZ(logText); ctrlZ > 0)
                    notes.push_back("removed " + counted(ctrlZ, "Ctrl-Z character", "Ctrl-Z characters") +
                                    " from the log: QuombleView stops reading at one, so it hid the entries "
                                    "after it; every entry of the log was kept");
                std::size_t added = 0;
                const auto merged =
                    quomble::mergeIntoLog(quomble::bootsFromLog(logText), boots, added, notes);
                if (added == 0) {
                    std::fprintf(info, "quomble-import: %s: no boot to add; nothing written\n",
                                 output.c_str());
                    tell();
                    return kDone;
                }
                warn(quomble::replaceFileAtomically(target, quomble::formatLog(merged), 0644));
                std::fprintf(info, "quomble-import: %s: %s added, %s kept\n", output.c_str(),
                             counted(added, "entry", "entries").c_str(),
                             counted(merged.size() - added, "entry", "entries").c_str());
                recordEnds();
                tell();
                return kDone;
            } else if (replace) {
                warn(quomble::replaceFileAtomically(output + ".bak", existing, 0644));
            } else {
                std::fprintf(stderr,
                             "quomble-import: %s already holds entries; add --merge to keep them "
                             "or --replace to replace them\n",
                             output.c_str());
                return kFailed;
            }
        }
        warn(quomble::replaceFileAtomically(target, text, 0644));
        std::fprintf(info, "quomble-import: %s: %s written\n", output.c_str(),
                     counted(boots.size(), "entry", "entries").c_str());
        recordEnds();
        tell();
        return kDone;
    } catch (const std::exception& error) {
        tell();
        std::fprintf(stderr, "quomble-import: %s\n", error.what());
        return kFailed;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // What goes to standard output (the log with --output -, or what was done) is checked
    // to the close: a full disk ends the import with status 1.
    quomble::StandardOutput standardOutput("quomble-import");
    return standardOutput.finish(importHistory(argc, argv, standardOutput));
}
