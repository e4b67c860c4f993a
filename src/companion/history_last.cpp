#include "companion/history.h"
#include "companion/history_support.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <stdexcept>

namespace quomble {

using namespace history_support;

namespace {

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

// RunLevel: a change to a level other than 0 or 6; Session: a user's login.
enum class RecordKind { Boot, Shutdown, RunLevel, Session };
enum class EndKind { None, Time, Crash, Down, StillRunning };

struct WtmpRecord {
    RecordKind kind = RecordKind::Boot;
    DateTime at = 0;
    EndKind end = EndKind::None;
    DateTime endTime = 0;
};

// What follows a record's time, from tokens[next]. The classic last prints "still running"
// (or "still logged in") after the time, the one of wtmpdb "- still running".
void readEnd(const std::vector<std::string_view>& t, std::size_t next, WtmpRecord& record)
{
    if (next < t.size() && t[next] == "-")
        ++next;
    if (next >= t.size())
        return;
    std::size_t used = 0;
    if (t[next] == "crash") {
        record.end = EndKind::Crash;
    } else if (t[next] == "down") {
        record.end = EndKind::Down;
    } else if (t[next] == "still") {
        record.end = EndKind::StillRunning;
    } else if (auto end = timeAt(t, next, used)) {
        record.end = EndKind::Time;
        record.endTime = *end;
    }
}

std::optional<WtmpRecord> wtmpRecord(const std::vector<std::string_view>& t, bool& unreadable)
{
    WtmpRecord record;
    std::size_t first = 3;
    if (t.size() >= 3 && t[0] == "reboot" && t[1] == "system" && t[2] == "boot") {
        record.kind = RecordKind::Boot;
    } else if (t.size() >= 3 && t[0] == "shutdown" && t[1] == "system" && t[2] == "down") {
        record.kind = RecordKind::Shutdown;
    } else if (t.size() >= 4 && t[0] == "runlevel" && t[1] == "(to" && t[2] == "lvl" && t[3].size() == 2 &&
               t[3][1] == ')') {
        record.kind = t[3] == "0)" || t[3] == "6)" ? RecordKind::Shutdown : RecordKind::RunLevel;
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
    readEnd(t, at - 1 + used, record);
    return record;
}

// A user's session: "alice tty2 :0 Mon Dec  7 08:03:02 2026 - still logged in" (the host may
// be empty). Only a line with a full time is one.
std::optional<WtmpRecord> sessionRecord(const std::vector<std::string_view>& t)
{
    std::size_t used = 0;
    for (std::size_t at = 1; at < t.size(); ++at) {
        if (auto when = timeAt(t, at, used)) {
            WtmpRecord record{RecordKind::Session, *when, EndKind::None, 0};
            readEnd(t, at + used, record);
            return record;
        }
    }
    return std::nullopt;
}

// The line that ends one wtmp file's output, "wtmp begins Tue Dec  1 07:58:40 2026", in any
// language ("wtmp beginnt ...", "wtmp 开始于 ..."): a file name and a word or three, then a
// full time and nothing after it.
bool beginsLine(const std::vector<std::string_view>& t)
{
    for (const std::size_t words : {std::size_t{5}, std::size_t{1}}) {
        if (t.size() < words + 2 || t.size() > words + 4)
            continue;
        const std::size_t at = t.size() - words;
        std::size_t used = 0;
        if (t[at - 1] != "-" && timeAt(t, at, used) && used == words)
            return true;
    }
    return false;
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
        bool bad = false;
        auto record = wtmpRecord(t, bad);
        if (record && !lines.cut()) {
            blocks.back().push_back(*record);
        } else if (bad || record) {
            ++unreadable;
        } else if (beginsLine(t)) {
            blocks.emplace_back();
        } else if (auto session = sessionRecord(t); session && !lines.cut()) {
            blocks.back().push_back(*session);
        }
    }
    if (unreadable > 0)
        notes.push_back(plural(unreadable, "reboot or shutdown line", "reboot or shutdown lines") +
                        " without a full date and time (with year and seconds) " +
                        (unreadable == 1 ? "was" : "were") + " skipped: call last with -F");

    // Each block into the order of the file, then the blocks by their oldest record.
    for (auto& block : blocks)
        std::reverse(block.begin(), block.end());
    std::erase_if(blocks, [](const auto& block) { return block.empty(); });
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const auto& a, const auto& b) { return a.front().at < b.front().at; });
    std::vector<WtmpRecord> records;
    for (const auto& block : blocks)
        records.insert(records.end(), block.begin(), block.end());

    // The boots, and per boot the shutdown that ended it and the first run level record.
    struct Pending {
        WtmpRecord own;
        std::optional<DateTime> shutdown;
        std::optional<DateTime> runLevel;
    };
    std::vector<Pending> boots;
    std::multimap<DateTime, std::size_t> bootAt;
    for (const auto& record : records) {
        if (record.kind == RecordKind::Boot) {
            bootAt.emplace(record.at, boots.size());
            boots.push_back({record, std::nullopt, std::nullopt});
        }
    }
    const bool withShutdownRecords = std::any_of(
        records.begin(), records.end(), [](const WtmpRecord& r) { return r.kind == RecordKind::Shutdown; });
    std::size_t orphanShutdowns = 0;
    std::size_t seen = 0;  // boots before the record in the order of the files
    // How far the newest boot is seen running by the sessions after it: a session still
    // logged in runs now (the classic last says "gone - no logout" for one of an earlier boot).
    DateTime newestSeen = std::numeric_limits<DateTime>::min();
    for (const auto& record : records) {
        if (record.kind == RecordKind::Boot) {
            ++seen;
            continue;
        }
        if (record.kind == RecordKind::Session) {
            if (seen > 0 && seen == boots.size())
                newestSeen = std::max({newestSeen, record.at,
                                       record.end == EndKind::StillRunning ? now
                                       : record.end == EndKind::Time       ? record.endTime
                                                                           : record.at});
            continue;
        }
        if (record.kind == RecordKind::RunLevel) {
            if (seen > 0 && !boots[seen - 1].runLevel)
                boots[seen - 1].runLevel = record.at;
            continue;
        }
        // A shutdown line ends at the boot that followed it; the shutdown belongs to the
        // boot before that one (wtmpdb prints the shutdown line after its own boot's line).
        std::size_t owner = seen;
        if (record.end == EndKind::Time) {
            const auto next = bootAt.find(record.endTime);
            if (next != bootAt.end() && next->second > 0)
                owner = next->second;
        }
        if (owner == 0) {
            ++orphanShutdowns;
            continue;
        }
        // The last shutdown record before the next boot is the one that ended it.
        boots[owner - 1].shutdown = record.at;
    }
    if (orphanShutdowns > 0)
        notes.push_back(plural(orphanShutdowns, "shutdown record", "shutdown records") +
                        " before the first boot record " + (orphanShutdowns == 1 ? "was" : "were") +
                        " skipped");

    std::vector<BootSpan> result;
    result.reserve(boots.size());
    std::vector<std::int64_t> clockOffsets;  // how far the clock was found ahead at a boot
    for (std::size_t i = 0; i < boots.size(); ++i) {
        const WtmpRecord& own = boots[i].own;
        const bool isLast = i + 1 == boots.size();
        BootSpan span{own.at, boots[i].shutdown, own.at};
        // last prints on a reboot line the time of the next shutdown it knows, even when that
        // belongs to a later boot (this boot crashed): take it only when it ends this boot, and
        // only from an output without shutdown records (last without -x). With them, a boot
        // that has none crashed, also when the next boot's shutdown lies in the same second as
        // that boot's start.
        if (!span.logout && !withShutdownRecords && own.end == EndKind::Time &&
            (isLast || own.endTime <= boots[i + 1].own.at))
            span.logout = own.endTime;
        // The run level record follows the boot within seconds once the clock is set; a reboot
        // record whole (or half) hours away from it was written with the clock on local time.
        bool moved = false;
        if (const auto settled = boots[i].runLevel) {
            const std::int64_t off = *settled - span.login;
            const std::int64_t halfHours = (off + (off < 0 ? -kHalfHour / 2 : kHalfHour / 2)) / kHalfHour;
            const std::int64_t shift = halfHours * kHalfHour;
            if (shift != 0 && std::abs(off - shift) <= kRunLevelDelay &&
                std::abs(shift) <= kLargestZoneOffset) {
                moveLogin(span, shift, notes);
                moved = true;
                if (shift < 0)
                    clockOffsets.push_back(-shift);
            }
        }
        const auto floor = result.empty() ? std::nullopt : std::optional<DateTime>(result.back().seenUntil);
        if (!moved && span.logout) {
            if (const auto offset = fixLoginAfter(span, *span.logout, floor, clockOffsets, true, notes))
                clockOffsets.push_back(offset);
        }
        // A running boot recorded after now: only a zone's offset that fits is taken.
        if (!moved && isLast && !span.logout && own.end == EndKind::StillRunning)
            fixLoginAfter(span, now, floor, clockOffsets, false, notes);
        // What is known to lie within the boot, its login set right.
        span.seenUntil =
            std::max({span.login, boots[i].runLevel.value_or(span.login), span.logout.value_or(span.login)});
        if (isLast && !span.logout)
            span.seenUntil = std::max(span.seenUntil, newestSeen);
        result.push_back(span);
    }
    std::optional<std::size_t> running;
    if (!boots.empty() && boots.back().own.end == EndKind::StillRunning && !boots.back().shutdown)
        running = boots.size() - 1;
    keepConsistent(result, now, notes, running);
    return result;
}

}  // namespace quomble
