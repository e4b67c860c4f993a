#include "companion/log_writer.h"

#include <cerrno>
#include <ctime>
#include <fstream>
#include <string>
#include <system_error>

#include <sys/stat.h>

namespace quomble {
namespace {

constexpr char kCtrlZ = '\x1a';
constexpr std::string_view kLineEnd = "\r\n";

// The end of the log as the program sees it.
struct Tail {
    std::size_t visible = 0;        // bytes up to the first Ctrl-Z
    std::size_t lastLineStart = 0;  // offset of the last line
    bool hasLine = false;
    bool endsWithLineEnd = false;  // the visible bytes end in LF
    std::string lastLine;          // as read: stray CRs dropped, no line end
};

Tail inspect(std::string_view content)
{
    Tail tail;
    const auto ctrlZ = content.find(kCtrlZ);
    tail.visible = ctrlZ == std::string_view::npos ? content.size() : ctrlZ;
    const std::string_view visible = content.substr(0, tail.visible);
    if (visible.empty())
        return tail;
    tail.hasLine = true;
    tail.endsWithLineEnd = visible.back() == '\n';
    const std::string_view body = tail.endsWithLineEnd ? visible.substr(0, visible.size() - 1) : visible;
    const auto lf = body.rfind('\n');
    tail.lastLineStart = lf == std::string_view::npos ? 0 : lf + 1;
    for (char c : body.substr(tail.lastLineStart))
        if (c != '\r')
            tail.lastLine += c;
    return tail;
}

// The last entry, when it has the shape the writer produces.
struct Entry {
    DateTime login = 0;
    std::optional<DateTime> logout;
};

std::optional<Entry> entryOf(const std::string& line)
{
    if (line.size() < 19)
        return std::nullopt;
    const auto login = parseTimestamp(std::string_view(line).substr(0, 19));
    if (!login)
        return std::nullopt;
    if (line.size() <= 22) {
        // An open entry: the login and blanks (the program reads no logout below 23 characters).
        if (line.find_first_not_of(' ', 19) != std::string::npos)
            return std::nullopt;
        return Entry{*login, std::nullopt};
    }
    if (line.size() != 39 || line[19] != ' ')
        return std::nullopt;
    const auto logout = parseTimestamp(std::string_view(line).substr(20, 19));
    if (!logout)
        return std::nullopt;
    return Entry{*login, *logout};
}

std::string durationText(std::int64_t seconds)
{
    const std::int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    std::string text;
    if (h > 0)
        text += std::to_string(h) + " h ";
    if (h > 0 || m > 0)
        text += std::to_string(m) + " min ";
    return text + std::to_string(s) + " s";
}

// The time to write when the clock says `now` and the log's latest time is `latest`.
DateTime orderedTime(DateTime now, std::optional<DateTime> latest, std::vector<std::string>& notes)
{
    if (!latest || now >= *latest)
        return now;
    const std::int64_t behind = *latest - now;
    if (behind <= kClockStepTolerance) {
        notes.push_back("the clock (" + formatTimestamp(now) + ") is " + durationText(behind) +
                        " behind the last entry; the time of the last entry, " + formatTimestamp(*latest) +
                        ", was written instead");
        return *latest;
    }
    notes.push_back("the clock (" + formatTimestamp(now) + ") is " + durationText(behind) +
                    " behind the last entry (" + formatTimestamp(*latest) +
                    "); the time was written as the clock says, and QuombleView will report this line");
    return now;
}

}  // namespace

LogEdit planLogin(std::string_view content, DateTime now, std::optional<DateTime> bootTime)
{
    LogEdit edit;
    const Tail tail = inspect(content);
    const auto last = tail.hasLine ? entryOf(tail.lastLine) : std::nullopt;

    // The last entry belongs to the running boot when it began at or after the boot's start
    // (and not later than now: a login that a wrong clock put into the future is another boot),
    // or when it was logged out since the boot's start: the service was stopped and started
    // again, after a login that the clock (behind, or moved back to the entry before) dated
    // before the boot's start.
    const bool loginInBoot =
        last && bootTime && last->login + kBootTimeSlack >= *bootTime && last->login <= now;
    const bool logoutInBoot =
        last && bootTime && last->logout && *last->logout >= *bootTime && *last->logout <= now;
    if (loginInBoot || logoutInBoot) {
        if (!last->logout) {
            edit.action = LogAction::AlreadyLoggedIn;
            edit.line = tail.lastLine;
            return edit;
        }
        // The service was stopped and started again within one boot: the boot goes on.
        edit.action = LogAction::Reopened;
        edit.changed = true;
        edit.line = formatTimestamp(last->login) + " ";
        edit.content.assign(content.substr(0, tail.lastLineStart));
        edit.content += edit.line;
        edit.content += kLineEnd;
        return edit;
    }

    std::optional<DateTime> latest;
    if (last)
        latest = last->logout ? *last->logout : last->login;
    const DateTime login = orderedTime(now, latest, edit.notes);

    edit.action = last && !last->logout ? LogAction::LoggedInAfterCrash : LogAction::LoggedIn;
    if (tail.hasLine && !last)
        edit.notes.push_back("the last line of the log is no entry of the boot log; it was left as it is");
    edit.changed = true;
    edit.line = formatTimestamp(login) + " ";
    edit.content.assign(content.substr(0, tail.visible));
    if (tail.hasLine && !tail.endsWithLineEnd)
        edit.content += kLineEnd;
    edit.content += edit.line;
    edit.content += kLineEnd;
    return edit;
}

LogEdit planLogout(std::string_view content, DateTime now)
{
    LogEdit edit;
    const Tail tail = inspect(content);
    const auto last = tail.hasLine ? entryOf(tail.lastLine) : std::nullopt;
    if (!last || last->logout) {
        edit.action = LogAction::NothingToLogOut;
        if (!tail.hasLine)
            edit.notes.push_back("the log is empty or missing");
        else if (!last)
            edit.notes.push_back("the last line of the log is no entry of the boot log");
        else
            edit.notes.push_back("the last entry is already closed: " + tail.lastLine);
        return edit;
    }
    const DateTime logout = orderedTime(now, last->login, edit.notes);
    edit.action = LogAction::LoggedOut;
    edit.changed = true;
    edit.line = formatTimestamp(last->login) + " " + formatTimestamp(logout);
    edit.content.assign(content.substr(0, tail.lastLineStart));
    edit.content += edit.line;
    edit.content += kLineEnd;
    return edit;
}

std::string describe(const LogEdit& edit)
{
    switch (edit.action) {
    case LogAction::LoggedIn:
        return "login logged: " + edit.line;
    case LogAction::LoggedInAfterCrash:
        return "the last entry was still open, so the previous boot ended without a shutdown "
               "(a crash); it stays open as the crash record; login logged: " +
               edit.line;
    case LogAction::AlreadyLoggedIn:
        return "the running boot is already logged: " + edit.line + "; nothing written";
    case LogAction::Reopened:
        return "the running boot had been logged out; its entry is open again: " + edit.line;
    case LogAction::LoggedOut:
        return "logout logged: " + edit.line;
    case LogAction::NothingToLogOut:
        return "no open entry to log out; nothing written";
    }
    return {};
}

namespace {

LogEdit applyEdit(const std::filesystem::path& log, const WriterOptions& options, bool login)
{
    std::filesystem::path target = log;
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        target = std::filesystem::weakly_canonical(target, ec);
        if (ec)
            throw std::system_error(ec, "cannot follow the link " + log.string());
    }
    const auto dir = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    DirectoryLock lock(dir, options.lockTimeoutMs);

    std::string content;
    const bool exists = readWholeFile(target, content, kMaxLogBytes);
    mode_t mode = 0644;
    if (exists) {
        struct stat info {};
        if (::stat(target.c_str(), &info) == 0)
            mode = info.st_mode & 07777;
    }
    const DateTime now = readTimestamp(Datumermitteln(options.clock));
    LogEdit edit = login ? planLogin(content, now, options.bootTime) : planLogout(content, now);
    if (edit.changed)
        replaceFileAtomically(target, edit.content, mode, options.probe);
    return edit;
}

}  // namespace

LogEdit writeLogin(const std::filesystem::path& log, const WriterOptions& options)
{
    return applyEdit(log, options, true);
}

LogEdit writeLogout(const std::filesystem::path& log, const WriterOptions& options)
{
    return applyEdit(log, options, false);
}

std::optional<DateTime> systemBootTime()
{
    std::ifstream stat("/proc/stat");
    std::string key;
    long long value = 0;
    while (stat >> key) {
        if (key == "btime" && stat >> value) {
            const std::time_t boot = static_cast<std::time_t>(value);
            std::tm local{};
            if (!localtime_r(&boot, &local))
                return std::nullopt;
            return parseTimestamp(formatTimestamp(CivilDateTime{local.tm_year + 1900, local.tm_mon + 1,
                                                                local.tm_mday, local.tm_hour, local.tm_min,
                                                                local.tm_sec > 59 ? 59 : local.tm_sec}));
        }
        stat.ignore(1 << 20, '\n');
    }
    return std::nullopt;
}

}  // namespace quomble
