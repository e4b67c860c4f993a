#include "companion/log_writer.h"

#include "core/log_lines.h"
#include "core/validation.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>

#include <sys/stat.h>

namespace quomble {
namespace {

constexpr char kCtrlZ = '\x1a';
constexpr std::string_view kLineEnd = "\r\n";

// The end of the log as the program reads it (after removeCtrlZ).
struct Tail {
    std::size_t lastLineStart = 0;  // offset of the last line
    bool hasLine = false;
    bool endsWithLineEnd = false;  // the log ends in LF
    std::string lastLine;          // as read: stray CRs dropped, no line end
};

std::string withoutCrs(std::string_view text)
{
    std::string line;
    for (char c : text)
        if (c != '\r')
            line += c;
    return line;
}

Tail inspect(std::string_view content)
{
    Tail tail;
    if (content.empty())
        return tail;
    tail.hasLine = true;
    tail.endsWithLineEnd = content.back() == '\n';
    const std::string_view body = tail.endsWithLineEnd ? content.substr(0, content.size() - 1) : content;
    const auto lf = body.rfind('\n');
    tail.lastLineStart = lf == std::string_view::npos ? 0 : lf + 1;
    tail.lastLine = withoutCrs(body.substr(tail.lastLineStart));
    return tail;
}

// An entry of the shape the writer produces.
struct Entry {
    DateTime login = 0;
    std::optional<DateTime> logout;
    DateTime latest() const { return logout ? std::max(login, *logout) : login; }
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

// The entry before the last line, when there is one.
std::optional<Entry> entryBefore(std::string_view content, const Tail& tail)
{
    if (tail.lastLineStart == 0)
        return std::nullopt;
    const std::string_view before = content.substr(0, tail.lastLineStart - 1);
    const auto lf = before.rfind('\n');
    return entryOf(withoutCrs(before.substr(lf == std::string_view::npos ? 0 : lf + 1)));
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

// The log's bytes with every Ctrl-Z removed, and the log as it was read.
struct Cleaned {
    std::string text;
    std::size_t ctrlZ = 0;
    Tail tail;
    std::optional<Entry> last;
};

Cleaned clean(std::string_view content)
{
    Cleaned c{std::string(content), 0, {}, {}};
    c.ctrlZ = removeCtrlZ(c.text);
    c.tail = inspect(c.text);
    if (c.tail.hasLine)
        c.last = entryOf(c.tail.lastLine);
    return c;
}

// How the mark relates to the log's last entry.
enum class Owner { Unknown, ThisBoot, OtherBoot };

Owner ownerOfLast(const Cleaned& log, const RunningBoot& boot, const std::optional<BootMark>& mark)
{
    if (!mark || !log.last || mark->login != log.last->login || boot.id.empty())
        return Owner::Unknown;
    return mark->bootId == boot.id ? Owner::ThisBoot : Owner::OtherBoot;
}

BootMark markFor(const RunningBoot& boot, DateTime login)
{
    return BootMark{boot.id, login, boot.uptimeMs, boot.clockSynchronised};
}

// A time that the clock put behind the log's latest time, checked at the end of the plan:
// a large step is written as the clock says, and the note says whether the program will
// report the line.
struct ClockStep {
    bool large = false;
    std::string note;
};

// The time to write when the clock says `now` and the log's latest time is `latest`.
DateTime orderedTime(DateTime now, std::optional<DateTime> latest, std::vector<std::string>& notes,
                     ClockStep& step)
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
    step.large = true;
    step.note = "the clock (" + formatTimestamp(now) + ") is " + durationText(behind) +
                " behind the last entry (" + formatTimestamp(*latest) +
                "); the time was written as the clock says";
    return now;
}

// Completes the note of a large clock step with what the program's check of the log makes
// of the written line (the last line of the new content).
void reportClockStep(LogEdit& edit, const ClockStep& step)
{
    if (!step.large)
        return;
    const auto lineNumber =
        static_cast<std::uint64_t>(std::count(edit.content.begin(), edit.content.end(), '\n'));
    LogLineReader lines{std::string_view(edit.content)};
    const auto findings = LogFileCheck(lines);
    const bool reported =
        std::any_of(findings.begin(), findings.end(), [&](const Finding& f) { return f.line == lineNumber; });
    edit.notes.push_back(step.note + (reported
                                          ? "; QuombleView will report line " + std::to_string(lineNumber)
                                          : "; the log is out of order there"));
}

void noteCtrlZ(LogEdit& edit, std::size_t count)
{
    if (count > 0)
        edit.notes.push_back("removed " + std::to_string(count) +
                             (count == 1 ? " Ctrl-Z character" : " Ctrl-Z characters") +
                             " from the log: QuombleView stops reading at one, so it hid the entries after "
                             "it; every other byte was kept");
}

// The running boot's login as the clock, now, puts it: the moment of the login by the
// boot's uptime. Only for a login the mark says was taken before the clock was set; nullopt
// when it needs no move or cannot be moved (the reason then is a note).
std::optional<DateTime> mendedLogin(const Cleaned& log, DateTime now, const RunningBoot& boot,
                                    const std::optional<BootMark>& mark, std::vector<std::string>& notes)
{
    if (ownerOfLast(log, boot, mark) != Owner::ThisBoot || mark->clockSynchronised || !mark->uptimeMs ||
        !boot.uptimeMs || *boot.uptimeMs < *mark->uptimeMs || !boot.localTimeAgo)
        return std::nullopt;
    const DateTime login = log.last->login;
    const DateTime real = boot.localTimeAgo((*boot.uptimeMs - *mark->uptimeMs + 500) / 1000);
    if (real == kZeroDateTime || std::abs(real - login) <= kMendTolerance)
        return std::nullopt;
    if (real > now)
        return std::nullopt;
    const auto before = entryBefore(log.text, log.tail);
    if (before && real < before->latest()) {
        notes.push_back("the login " + formatTimestamp(login) +
                        " was taken before the clock was set; by the "
                        "clock now it was at " +
                        formatTimestamp(real) + ", before the entry before it, so it was left as it is");
        return std::nullopt;
    }
    notes.push_back("the login was taken before the clock was set: moved from " + formatTimestamp(login) +
                    " to " + formatTimestamp(real));
    return real;
}

// The log with its last line replaced by `line`.
std::string withLastLine(const Cleaned& log, const std::string& line)
{
    std::string content = log.text.substr(0, log.tail.lastLineStart);
    content += line;
    content += kLineEnd;
    return content;
}

}  // namespace

std::size_t removeCtrlZ(std::string& content)
{
    const auto end = std::remove(content.begin(), content.end(), kCtrlZ);
    const auto count = static_cast<std::size_t>(content.end() - end);
    content.erase(end, content.end());
    return count;
}

LogEdit planLogin(std::string_view content, DateTime now, const RunningBoot& boot,
                  const std::optional<BootMark>& mark, bool resume)
{
    LogEdit edit;
    const Cleaned log = clean(content);
    const auto& last = log.last;
    const Owner owner = ownerOfLast(log, boot, mark);

    bool running = false;
    if (resume)
        running = owner == Owner::ThisBoot && !last->logout;  // the suspend's logout is missing
    else if (owner != Owner::Unknown)
        running = owner == Owner::ThisBoot;
    else
        // No mark for the last entry: an open entry that began within this boot (not later
        // than now: a login that a wrong clock put into the future is another boot).
        running = last && !last->logout && boot.start && last->login + kBootTimeSlack >= *boot.start &&
                  last->login <= now;

    if (running) {
        if (owner != Owner::ThisBoot && !boot.id.empty())
            edit.mark = BootMark{boot.id, last->login, std::nullopt, boot.clockSynchronised};
        if (!last->logout) {
            edit.action = LogAction::AlreadyLoggedIn;
            edit.line = log.tail.lastLine;
            if (log.ctrlZ > 0) {
                edit.changed = true;
                edit.content = log.text;
            }
        } else {
            // The service was stopped and started again within one boot: the boot goes on.
            edit.action = LogAction::Reopened;
            edit.changed = true;
            edit.line = formatTimestamp(last->login) + " ";
            edit.content = withLastLine(log, edit.line);
        }
        if (edit.changed)
            noteCtrlZ(edit, log.ctrlZ);
        return edit;
    }

    std::optional<DateTime> latest;
    if (last)
        latest = last->latest();
    ClockStep step;
    const DateTime login = orderedTime(now, latest, edit.notes, step);

    edit.action = last && !last->logout ? LogAction::LoggedInAfterCrash : LogAction::LoggedIn;
    if (log.tail.hasLine && !last)
        edit.notes.push_back("the last line of the log is no entry of the boot log; it was left as it is");
    edit.changed = true;
    edit.line = formatTimestamp(login) + " ";
    edit.content = log.text;
    if (log.tail.hasLine && !log.tail.endsWithLineEnd)
        edit.content += kLineEnd;
    edit.content += edit.line;
    edit.content += kLineEnd;
    if (!boot.id.empty())
        edit.mark = markFor(boot, login);
    noteCtrlZ(edit, log.ctrlZ);
    reportClockStep(edit, step);
    return edit;
}

LogEdit planLogout(std::string_view content, DateTime now, const RunningBoot& boot,
                   const std::optional<BootMark>& mark)
{
    LogEdit edit;
    const Cleaned log = clean(content);
    const auto& last = log.last;
    const Owner owner = ownerOfLast(log, boot, mark);
    edit.action = LogAction::NothingToLogOut;
    if (!log.tail.hasLine) {
        edit.notes.push_back("the log is empty or missing");
        return edit;
    }
    if (!last) {
        edit.notes.push_back("the last line of the log is no entry of the boot log");
        return edit;
    }
    if (last->logout) {
        edit.notes.push_back("the last entry is already closed: " + log.tail.lastLine);
        return edit;
    }
    if (owner == Owner::OtherBoot) {
        edit.notes.push_back("the open last entry (" + log.tail.lastLine +
                             ") belongs to an earlier boot that ended without a shutdown; this boot was not "
                             "logged in, so it stays the crash record");
        return edit;
    }
    const DateTime login = mendedLogin(log, now, boot, mark, edit.notes).value_or(last->login);
    ClockStep step;
    const DateTime logout = orderedTime(now, login, edit.notes, step);
    edit.action = LogAction::LoggedOut;
    edit.changed = true;
    edit.line = formatTimestamp(login) + " " + formatTimestamp(logout);
    edit.content = withLastLine(log, edit.line);
    // Keeps (or, for an entry of this boot without a mark, sets) which boot the entry is.
    if (owner == Owner::ThisBoot)
        edit.mark = BootMark{boot.id, login, mark->uptimeMs,
                             mark->clockSynchronised || boot.clockSynchronised || login != last->login};
    else if (!boot.id.empty() && boot.start && last->login + kBootTimeSlack >= *boot.start)
        edit.mark = BootMark{boot.id, login, std::nullopt, boot.clockSynchronised};
    noteCtrlZ(edit, log.ctrlZ);
    reportClockStep(edit, step);
    return edit;
}

LogEdit planMend(std::string_view content, DateTime now, const RunningBoot& boot,
                 const std::optional<BootMark>& mark)
{
    LogEdit edit;
    edit.action = LogAction::NothingToMend;
    const Cleaned log = clean(content);
    if (!log.last || log.last->logout)
        return edit;
    const auto login = mendedLogin(log, now, boot, mark, edit.notes);
    if (!login)
        return edit;
    edit.action = LogAction::Mended;
    edit.changed = true;
    edit.line = formatTimestamp(*login) + " ";
    edit.content = withLastLine(log, edit.line);
    edit.mark = BootMark{boot.id, *login, boot.uptimeMs, boot.clockSynchronised};
    // The uptime of the mark is that of the login it names.
    edit.mark->uptimeMs = *mark->uptimeMs;
    noteCtrlZ(edit, log.ctrlZ);
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
        return "the running boot is already logged: " + edit.line + (edit.changed ? "" : "; nothing written");
    case LogAction::Reopened:
        return "the boot service was started again within this boot; its entry is open again: " + edit.line;
    case LogAction::LoggedOut:
        return "logout logged: " + edit.line;
    case LogAction::NothingToLogOut:
        return "no open entry of this boot to log out; nothing written";
    case LogAction::Mended:
        return "login of the running boot mended: " + edit.line;
    case LogAction::NothingToMend:
        return "the running boot's login needs no change; nothing written";
    }
    return {};
}

LogEdit writeLog(LogCommand command, const std::filesystem::path& log, const WriterOptions& options)
{
    const std::filesystem::path target = followLinks(log);
    DirectoryLock lock = lockFolderOf(target, options.lockTimeoutMs);

    std::string content;
    const bool exists = readWholeFile(target, content, kMaxLogBytes);
    mode_t mode = 0644;
    if (exists) {
        struct stat info {};
        if (::stat(target.c_str(), &info) == 0)
            mode = info.st_mode & 07777;
    }
    // A mark that cannot be read is no mark: the log's times decide as without one.
    std::optional<BootMark> mark;
    const auto markPath = bootMarkPath(target);
    try {
        std::string markText;
        if (readWholeFile(markPath, markText, 4096))
            mark = parseBootMark(markText);
    } catch (const std::exception&) {
    }

    const RunningBoot& boot = options.boot;
    const DateTime now = readTimestamp(Datumermitteln(options.clock));
    LogEdit edit;
    switch (command) {
    case LogCommand::Login:
    case LogCommand::Resume:
        edit = planLogin(content, now, boot, mark, command == LogCommand::Resume);
        break;
    case LogCommand::Logout:
        edit = planLogout(content, now, boot, mark);
        break;
    case LogCommand::Mend:
        edit = planMend(content, now, boot, mark);
        break;
    }
    if (edit.changed) {
        if (auto warning = replaceFileAtomically(target, edit.content, mode, options.probe); !warning.empty())
            edit.warnings.push_back(std::move(warning));
    }
    if (edit.mark) {
        try {
            if (auto warning = replaceFileAtomically(markPath, formatBootMark(*edit.mark), 0644);
                !warning.empty())
                edit.warnings.push_back(std::move(warning));
        } catch (const std::system_error& error) {
            edit.warnings.push_back(std::string("the log was written, but the boot mark was not: ") +
                                    error.what() + "; the next login decides by the log's times");
        }
    }
    return edit;
}

}  // namespace quomble
