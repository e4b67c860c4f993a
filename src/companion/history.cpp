#include "companion/history.h"

#include "companion/log_writer.h"
#include "core/log_lines.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace quomble {

bool TextLines::next(std::string& line)
{
    line.clear();
    cut_ = false;
    bool any = false;
    char c = 0;
    while (in_.get(c)) {
        any = true;
        if (c == '\n')
            break;
        if (line.size() < max_)
            line += c;
        else
            cut_ = true;
    }
    if (!any)
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

namespace {

constexpr std::int64_t kSameBootSlack = 5;

std::vector<std::string_view> tokens(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool digits(std::string_view text, std::size_t count)
{
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int number(std::string_view text)
{
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<DateTime> makeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1 || year > 9999 || !isValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return dayNumber(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
}

// "hh:mm:ss", optionally followed by a fraction of a second (dropped).
bool clockTime(std::string_view text, int& h, int& m, int& s)
{
    const auto dot = text.find_first_of(".,");
    if (dot != std::string_view::npos) {
        if (!std::all_of(text.begin() + static_cast<std::ptrdiff_t>(dot) + 1, text.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        text = text.substr(0, dot);
    }
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !digits(text.substr(0, 2), 2) ||
        !digits(text.substr(3, 2), 2) || !digits(text.substr(6, 2), 2))
        return false;
    h = number(text.substr(0, 2));
    m = number(text.substr(3, 2));
    s = number(text.substr(6, 2));
    return true;
}

int monthOf(std::string_view name)
{
    static constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (name == kMonths[i])
            return static_cast<int>(i) + 1;
    return 0;
}

// A time as last prints it, starting at tokens[at]: "Mon Dec  7 08:02:11 2026" (five tokens)
// or "2026-12-07T08:02:11+01:00" (one token). The local time is taken as printed.
std::optional<DateTime> timeAt(const std::vector<std::string_view>& t, std::size_t at, std::size_t& used)
{
    if (at >= t.size())
        return std::nullopt;
    const std::string_view iso = t[at];
    if (iso.size() >= 19 && iso[4] == '-' && iso[7] == '-' && iso[10] == 'T' && digits(iso.substr(0, 4), 4) &&
        digits(iso.substr(5, 2), 2) && digits(iso.substr(8, 2), 2)) {
        int h = 0, m = 0, s = 0;
        if (!clockTime(iso.substr(11, 8), h, m, s))
            return std::nullopt;
        used = 1;
        return makeDateTime(number(iso.substr(0, 4)), number(iso.substr(5, 2)), number(iso.substr(8, 2)), h,
                            m, s);
    }
    if (at + 5 > t.size() || t[at].size() != 3)
        return std::nullopt;
    const int month = monthOf(t[at + 1]);
    const std::string_view day = t[at + 2];
    int h = 0, m = 0, s = 0;
    if (month == 0 || !(digits(day, 1) || digits(day, 2)) || !clockTime(t[at + 3], h, m, s) ||
        !digits(t[at + 4], 4))
        return std::nullopt;
    used = 5;
    return makeDateTime(number(t[at + 4]), month, number(day), h, m, s);
}

enum class RecordKind { Boot, Shutdown };
enum class EndKind { None, Time, Crash, Down, StillRunning };

struct WtmpRecord {
    RecordKind kind = RecordKind::Boot;
    DateTime at = 0;
    EndKind end = EndKind::None;
    DateTime endTime = 0;
};

std::optional<WtmpRecord> wtmpRecord(const std::vector<std::string_view>& t, bool& unreadable)
{
    WtmpRecord record;
    std::size_t first = 3;
    if (t.size() >= 3 && t[0] == "reboot" && t[1] == "system" && t[2] == "boot") {
        record.kind = RecordKind::Boot;
    } else if (t.size() >= 3 && t[0] == "shutdown" && t[1] == "system" && t[2] == "down") {
        record.kind = RecordKind::Shutdown;
    } else if (t.size() >= 4 && t[0] == "runlevel" && t[1] == "(to" && t[2] == "lvl" &&
               (t[3] == "0)" || t[3] == "6)")) {
        record.kind = RecordKind::Shutdown;
        first = 4;
    } else {
        return std::nullopt;
    }
    // The host column (the kernel release) may be empty or anything; the time follows it.
    std::size_t used = 0;
    std::size_t at = first;
    std::optional<DateTime> when;
    for (; at < t.size() && !when; ++at)
        when = timeAt(t, at, used);
    if (!when) {
        unreadable = true;
        return std::nullopt;
    }
    record.at = *when;
    std::size_t next = at - 1 + used;
    if (next < t.size() && t[next] == "-" && next + 1 < t.size()) {
        if (t[next + 1] == "crash") {
            record.end = EndKind::Crash;
        } else if (t[next + 1] == "down") {
            record.end = EndKind::Down;
        } else if (auto end = timeAt(t, next + 1, used)) {
            record.end = EndKind::Time;
            record.endTime = *end;
        }
    } else if (next < t.size() && t[next] == "still") {
        record.end = EndKind::StillRunning;
    }
    return record;
}

bool hexId(std::string_view text)
{
    return text.size() == 32 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

std::string plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::vector<BootSpan> bootsFromLast(std::istream& in, DateTime now, ImportNotes& notes)
{
    // Blocks of records as printed (newest first), one per wtmp file.
    std::vector<std::vector<WtmpRecord>> blocks(1);
    TextLines lines(in);
    std::string line;
    std::size_t unreadable = 0;
    while (lines.next(line)) {
        const auto t = tokens(line);
        if (t.size() >= 2 && t[1] == "begins") {
            blocks.emplace_back();
            continue;
        }
        bool bad = false;
        if (auto record = wtmpRecord(t, bad); record && !lines.cut())
            blocks.back().push_back(*record);
        else if (bad || (record && lines.cut()))
            ++unreadable;
    }
    if (unreadable > 0)
        notes.push_back(plural(unreadable, "reboot or shutdown line", "reboot or shutdown lines") +
                        " without a readable full time were skipped (was last called with -F?)");

    // Each block into the order of the file, then the blocks by their oldest record.
    for (auto& block : blocks)
        std::reverse(block.begin(), block.end());
    std::erase_if(blocks, [](const auto& block) { return block.empty(); });
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const auto& a, const auto& b) { return a.front().at < b.front().at; });

    struct Pending {
        BootSpan span;
        WtmpRecord bootRecord;
    };
    std::vector<Pending> boots;
    std::size_t orphanShutdowns = 0;
    for (const auto& block : blocks) {
        for (const auto& record : block) {
            if (record.kind == RecordKind::Boot) {
                boots.push_back({BootSpan{record.at, std::nullopt, record.at}, record});
            } else if (boots.empty()) {
                ++orphanShutdowns;
            } else {
                // The last shutdown record before the next boot is the one that ended it.
                boots.back().span.logout = record.at;
                boots.back().span.seenUntil = std::max(boots.back().span.seenUntil, record.at);
            }
        }
    }
    if (orphanShutdowns > 0)
        notes.push_back(plural(orphanShutdowns, "shutdown record", "shutdown records") +
                        " before the first boot record were skipped");

    std::vector<BootSpan> result;
    result.reserve(boots.size());
    for (std::size_t i = 0; i < boots.size(); ++i) {
        BootSpan span = boots[i].span;
        const WtmpRecord& own = boots[i].bootRecord;
        const bool isLast = i + 1 == boots.size();
        // last prints on a reboot line the time of the next shutdown it knows, even when that
        // belongs to a later boot (this boot crashed): take it only when it ends this boot.
        if (!span.logout && own.end == EndKind::Time && own.endTime >= span.login &&
            (isLast || own.endTime <= boots[i + 1].span.login)) {
            span.logout = own.endTime;
            span.seenUntil = own.endTime;
        }
        if (isLast && !span.logout && own.end == EndKind::StillRunning)
            span.seenUntil = std::max(span.seenUntil, now);
        result.push_back(span);
    }
    dropClockJumps(result, now, notes);
    return result;
}

void dropClockJumps(std::vector<BootSpan>& boots, DateTime now, ImportNotes& notes)
{
    std::optional<DateTime> latest;
    std::size_t ahead = 0, behind = 0;
    std::erase_if(boots, [&](const BootSpan& boot) {
        if (boot.login > now) {
            ++ahead;
            return true;
        }
        if (latest && boot.login < *latest - kClockStepTolerance) {
            ++behind;
            return true;
        }
        DateTime seen = boot.login;
        if (boot.logout && *boot.logout <= now)
            seen = std::max(seen, *boot.logout);
        latest = std::max(latest.value_or(seen), seen);
        return false;
    });
    if (ahead > 0)
        notes.push_back(plural(ahead, "boot lies", "boots lie") + " after now (" + formatTimestamp(now) +
                        ") and " + (ahead == 1 ? "was" : "were") + " dropped: the clock was ahead then");
    if (behind > 0)
        notes.push_back(plural(behind, "boot lies", "boots lie") + " far before the boot before it and " +
                        (behind == 1 ? "was" : "were") + " dropped: the clock was wrong then");
}

std::vector<JournalBoot> parseBootList(std::istream& in, ImportNotes& notes)
{
    std::vector<JournalBoot> boots;
    TextLines lines(in);
    std::string line;
    std::size_t unreadable = 0;
    while (lines.next(line)) {
        // Older versions join the two times with an em dash.
        for (std::size_t pos; (pos = line.find("\xE2\x80\x94")) != std::string::npos;)
            line.replace(pos, 3, " ");
        const auto t = tokens(line);
        if (t.empty() || t[0] == "IDX")
            continue;
        const std::string_view idx = t[0];
        const bool signedIndex = (idx[0] == '-' || idx[0] == '+') && idx.size() > 1;
        const std::string_view magnitude = signedIndex ? idx.substr(1) : idx;
        if (t.size() < 2 || magnitude.empty() || magnitude.size() > 9 ||
            !digits(magnitude, magnitude.size()) || !hexId(t[1])) {
            ++unreadable;
            continue;
        }
        std::vector<DateTime> times;
        for (std::size_t i = 2; i + 1 < t.size() && times.size() < 2; ++i) {
            const std::string_view date = t[i];
            int h = 0, m = 0, s = 0;
            if (date.size() == 10 && date[4] == '-' && date[7] == '-' && digits(date.substr(0, 4), 4) &&
                digits(date.substr(5, 2), 2) && digits(date.substr(8, 2), 2) &&
                clockTime(t[i + 1], h, m, s)) {
                if (auto at = makeDateTime(number(date.substr(0, 4)), number(date.substr(5, 2)),
                                           number(date.substr(8, 2)), h, m, s))
                    times.push_back(*at);
                ++i;
            }
        }
        if (times.size() != 2 || lines.cut()) {
            ++unreadable;
            continue;
        }
        const std::int64_t index =
            (idx[0] == '-' ? -1 : 1) * static_cast<std::int64_t>(std::stoll(std::string(magnitude)));
        boots.push_back({index, std::string(t[1]), times[0], times[1]});
    }
    if (unreadable > 0)
        notes.push_back(plural(unreadable, "line of the boot list was", "lines of the boot list were") +
                        " not understood and skipped");
    std::stable_sort(boots.begin(), boots.end(),
                     [](const JournalBoot& a, const JournalBoot& b) { return a.index < b.index; });
    return boots;
}

std::map<std::string, bool> parseShutdownTails(std::istream& in, ImportNotes& notes)
{
    static constexpr std::array<std::string_view, 12> kTargets = {
        "Shutdown",        "shutdown.target", "Power Off",     "Power-Off",
        "poweroff.target", "Reboot",          "reboot.target", "Halt",
        "halt.target",     "final.target",    "Kexec",         "kexec.target"};
    std::map<std::string, bool> clean;
    std::string current;
    TextLines lines(in);
    std::string line;
    while (lines.next(line)) {
        const auto t = tokens(line);
        if (t.size() >= 3 && t[0] == "--" && t[1] == "Boot" && hexId(t[2])) {
            current = std::string(t[2]);
            clean.emplace(current, false);
            continue;
        }
        if (t.size() >= 2 && t[0] == "==" && hexId(t[1])) {
            current = std::string(t[1]);
            clean.emplace(current, false);
            continue;
        }
        if (current.empty())
            continue;
        const std::string_view text = line;
        const auto reached = text.find("Reached target ");
        bool shutdown = text.find("systemd-shutdown") != std::string_view::npos;
        if (reached != std::string_view::npos) {
            const std::string_view target = text.substr(reached + 15);
            for (auto name : kTargets)
                if (target.find(name) != std::string_view::npos)
                    shutdown = true;
        }
        if (shutdown)
            clean[current] = true;
    }
    if (clean.empty())
        notes.push_back("the journal tails hold no block headed \"-- Boot <id> --\"");
    return clean;
}

std::vector<BootSpan> bootsFromJournal(const std::vector<JournalBoot>& boots,
                                       const std::map<std::string, bool>* tails, DateTime now,
                                       ImportNotes& notes)
{
    std::vector<BootSpan> result;
    std::size_t assumedClean = 0;
    for (std::size_t i = 0; i < boots.size(); ++i) {
        const JournalBoot& boot = boots[i];
        BootSpan span{boot.first, std::nullopt, std::max(boot.first, boot.last)};
        if (i + 1 < boots.size()) {
            bool clean = true;
            if (tails) {
                const auto found = tails->find(boot.id);
                if (found != tails->end())
                    clean = found->second;
                else
                    ++assumedClean;
            } else {
                ++assumedClean;
            }
            if (clean)
                span.logout = boot.last;
        }
        result.push_back(span);
    }
    if (assumedClean > 0)
        notes.push_back(plural(assumedClean, "boot has", "boots have") +
                        " no journal tail to tell a shutdown from a crash and " +
                        (assumedClean == 1 ? "was" : "were") +
                        " taken as shut down at its last journal entry");
    dropClockJumps(result, now, notes);
    return result;
}

std::vector<BootSpan> bootsFromLog(std::string_view logText)
{
    std::vector<BootSpan> boots;
    LogLineReader reader(logText);
    LogLine line;
    std::uint64_t n = 0;
    while (reader.next(line)) {
        ++n;
        const std::string_view head = line.head;
        const auto login = head.size() >= 19 ? parseTimestamp(head.substr(0, 19)) : std::nullopt;
        std::optional<DateTime> logout;
        if (line.length == 39 && head[19] == ' ')
            logout = parseTimestamp(head.substr(20, 19));
        const bool open = line.length == 20 && head[19] == ' ';
        if (!login || (!open && !logout))
            throw std::runtime_error("line " + std::to_string(n) + " of the log is no entry of the boot log");
        boots.push_back({*login, logout, logout ? std::max(*login, *logout) : *login});
    }
    return boots;
}

std::vector<BootSpan> mergeBoots(std::vector<BootSpan> preferred, const std::vector<BootSpan>& other)
{
    const std::size_t own = preferred.size();
    for (const BootSpan& boot : other) {
        bool known = false;
        for (std::size_t i = 0; i < own && !known; ++i) {
            BootSpan& mine = preferred[i];
            if (boot.login <= mine.seenUntil + kSameBootSlack &&
                mine.login <= boot.seenUntil + kSameBootSlack) {
                known = true;
                mine.seenUntil = std::max(mine.seenUntil, boot.seenUntil);
            }
        }
        if (!known)
            preferred.push_back(boot);
    }
    return preferred;
}

std::string logTextOf(std::vector<BootSpan> boots, DateTime now, ImportNotes& notes)
{
    const DateTime earliest = dayNumber(1991, 1, 1) * kSecondsPerDay;
    const std::size_t before = boots.size();
    std::size_t future = 0;
    std::erase_if(boots, [&](const BootSpan& b) {
        const bool late = b.login > now;
        future += late ? 1 : 0;
        return late || b.login < earliest;
    });
    if (future > 0)
        notes.push_back(plural(future, "boot lies", "boots lie") + " after now (" + formatTimestamp(now) +
                        ") and " + (future == 1 ? "was" : "were") + " dropped: the clock was wrong then");
    if (before - boots.size() > future)
        notes.push_back(plural(before - boots.size() - future, "boot lies", "boots lie") +
                        " before 1991 and " + (before - boots.size() - future == 1 ? "was" : "were") +
                        " dropped: the clock was not set then");

    std::size_t backwards = 0, doubled = 0, overlapping = 0;
    for (BootSpan& b : boots) {
        if (b.logout && *b.logout < b.login) {
            b.logout = b.login;
            ++backwards;
        }
    }
    std::stable_sort(boots.begin(), boots.end(),
                     [](const BootSpan& a, const BootSpan& b) { return a.login < b.login; });
    std::vector<BootSpan> unique;
    for (const BootSpan& b : boots) {
        if (!unique.empty() && unique.back().login == b.login) {
            ++doubled;
            if (b.logout && (!unique.back().logout || *b.logout > *unique.back().logout))
                unique.back().logout = b.logout;
            continue;
        }
        unique.push_back(b);
    }
    for (std::size_t i = 0; i + 1 < unique.size(); ++i) {
        if (unique[i].logout && *unique[i].logout > unique[i + 1].login) {
            unique[i].logout = unique[i + 1].login;
            ++overlapping;
        }
    }
    if (backwards > 0)
        notes.push_back(plural(backwards, "shutdown lies", "shutdowns lie") +
                        " before its boot (the clock was set back); its logout was set to its login");
    if (doubled > 0)
        notes.push_back(plural(doubled, "boot was", "boots were") + " listed twice and written once");
    if (overlapping > 0)
        notes.push_back(
            plural(overlapping, "shutdown lies", "shutdowns lie") +
            " after the next boot (the clock was set back); its logout was set to the next login");

    std::string text;
    text.reserve(unique.size() * 41);
    for (const BootSpan& b : unique) {
        text += formatTimestamp(b.login);
        text += ' ';
        if (b.logout)
            text += formatTimestamp(*b.logout);
        text += "\r\n";
    }
    return text;
}

}  // namespace quomble
