// quomble-log: writes the boot log. "login" at boot, "logout" at a clean shutdown.
#include "companion/boot_gather.h"
#include "companion/log_writer.h"
#include "core/datetime.h"
#include "core/paths.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include <sys/utsname.h>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kNothingToLogOut = 2;
constexpr int kUsage = 64;

void usage(std::FILE* out)
{
    std::fputs("usage: quomble-log login|logout|mend [--time \"dd.mm.yyyy hh:mm:ss\"] [--resume] [--boot-id "
               "ID] [LOG]\n"
               "  login   appends the login time of this boot as an open entry\n"
               "  logout  writes the logout time into the open last entry\n"
               "  mend    moves this boot's login when it was taken before the clock was set\n"
               "  why     records this boot and the likely cause when the boot before it\n"
               "          ended without a logout (Quomble.log.ends beside the log)\n"
               "  LOG     the boot log (default: Quomble.log beside this program)\n"
               "  --time  writes this time instead of the clock's\n"
               "  --resume  login after a suspend or hibernation: a new entry even within this boot\n"
               "  --boot-id  this boot's id (default: the kernel's, from /proc/sys/kernel/random/boot_id)\n"
               "exit status: 0 done (or the boot was already logged), 2 no open entry to log out,\n"
               "             1 the log could not be read or written, 64 wrong arguments\n",
               out);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string command, logPath, timeText;
    const auto wrong = [](const std::string& what) {
        std::fprintf(stderr, "quomble-log: %s\n", what.c_str());
        std::fputs("Try 'quomble-log --help' for the usage.\n", stderr);
        return kUsage;
    };
    bool resume = false;
    std::string bootId;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            usage(stdout);
            return kDone;
        }
        if (arg == "--time") {
            if (i + 1 >= argc)
                return wrong("--time needs a value");
            timeText = argv[++i];
        } else if (arg == "--boot-id") {
            if (i + 1 >= argc)
                return wrong("--boot-id needs a value");
            bootId = argv[++i];
        } else if (arg == "--resume") {
            resume = true;
        } else if (command.empty() && (arg == "login" || arg == "logout" || arg == "mend" || arg == "why")) {
            command = arg;
        } else if (command.empty()) {
            return wrong("unknown command: " + std::string(arg) + " (login, logout, mend or why)");
        } else if (logPath.empty() && !arg.starts_with("-")) {
            logPath = arg;
        } else {
            return wrong("unknown argument: " + std::string(arg));
        }
    }
    if (command.empty())
        return wrong("no command: login, logout, mend or why");

    quomble::WriterOptions options;
    if (!timeText.empty()) {
        const auto at = quomble::parseTimestamp(timeText);
        if (!at)
            return wrong("not a time \"dd.mm.yyyy hh:mm:ss\": " + timeText);
        options.clock = quomble::fixedClock(quomble::civilFromDateTime(*at));
    }
    if (logPath.empty()) {
        const std::string exe = quomble::runningExecutablePath();
        if (exe.empty()) {
            std::fputs("quomble-log: cannot tell where this program lies; name the log\n", stderr);
            return kFailed;
        }
        logPath = quomble::LogFileNameIn(quomble::AppDirOf(exe));
    }

    if (resume && command != "login")
        return wrong("--resume goes with login");
    options.boot = quomble::systemRunningBoot();
    if (!bootId.empty()) {
        options.boot.id = quomble::normalBootId(bootId);
        if (options.boot.id.empty())
            return wrong("not a boot id: " + bootId);
    }
    if (command == "why") {
        try {
            utsname system{};
            const std::string kernel = ::uname(&system) == 0 ? system.release : "";
            for (const auto& line :
                 quomble::recordBootEnd(logPath, options.boot, kernel, quomble::systemEvidenceSource()))
                std::printf("quomble-log: %s\n", line.c_str());
            return kDone;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "quomble-log: %s: %s\n", logPath.c_str(), error.what());
            return kFailed;
        }
    }
    const auto what = command == "logout" ? quomble::LogCommand::Logout
                      : command == "mend" ? quomble::LogCommand::Mend
                      : resume            ? quomble::LogCommand::Resume
                                          : quomble::LogCommand::Login;
    try {
        const quomble::LogEdit edit = quomble::writeLog(what, logPath, options);
        std::printf("quomble-log: %s: %s\n", logPath.c_str(), quomble::describe(edit).c_str());
        for (const auto& note : edit.notes)
            std::printf("quomble-log: note: %s\n", note.c_str());
        // What was done is done: a report that could not be printed is said on stderr, but
        // the status stays that of the log, so that the boot service's logout still runs.
        errno = 0;
        if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && errno != EPIPE)
            std::fprintf(stderr, "quomble-log: write error on standard output: %s\n",
                         errno ? std::strerror(errno) : "unknown error");
        for (const auto& warning : edit.warnings)
            std::fprintf(stderr, "quomble-log: warning: %s\n", warning.c_str());
        return edit.action == quomble::LogAction::NothingToLogOut ? kNothingToLogOut : kDone;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quomble-log: %s: %s\n", logPath.c_str(), error.what());
        return kFailed;
    }
}
