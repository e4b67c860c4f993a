#include "companion/history.h"

#include "companion/log_writer.h"
#include "core/log_lines.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
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

// A boot with a clock this far off in whole or half hours is taken as a hardware clock on
// local time; a smaller step is a correction of the clock (a time server) and not undone.
constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kHalfHour = 1800;
constexpr std::int64_t kLargestZoneOffset = 14 * kHour;
constexpr std::int64_t kSmallestClockFix = 5 * 60;
// The run level record follows the reboot record within this once the clock is right.
constexpr std::int64_t kRunLevelDelay = 10 * 60;
// A boot history this long is checked for boots out of place against the 512 before each.
constexpr std::size_t kConsistencyWindow = 512;

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

enum class RecordKind { Boot, Shutdown, RunLevel };  // RunLevel: a change to a level other than 0 or 6
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
    // The classic last prints "still running" after the time, the one of wtmpdb "- still running".
    std::size_t next = at - 1 + used;
    if (next < t.size() && t[next] == "-")
        ++next;
    if (next < t.size()) {
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
    return record;
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

std::string offsetText(std::int64_t seconds)
{
    const std::int64_t size = seconds < 0 ? -seconds : seconds;
    std::string text = seconds < 0 ? "-" : "+";
    text += std::to_string(size / kHour) + " h";
    if (size % kHour != 0)
        text += " " + std::to_string(size % kHour / 60) + " min";
    return text;
}

// Moves a boot's login by the offset of a hardware clock on local time, and says so.
void moveLogin(BootSpan& boot, std::int64_t shift, ImportNotes& notes)
{
    const DateTime before = boot.login;
    boot.login += shift;
    boot.seenUntil = std::max(boot.seenUntil, boot.login);
    notes.push_back("the boot of " + formatTimestamp(before) +
                    " was recorded before the clock was set (a hardware clock on local time): moved by " +
                    offsetText(shift) + " to " + formatTimestamp(boot.login));
}

// A login that lies after a time known to be later in the same boot, by more than a small
// correction: the clock was read as local time; it is moved back by whole hours.
void fixLoginAfter(BootSpan& boot, DateTime later, ImportNotes& notes)
{
    const std::int64_t ahead = boot.login - later;
    if (ahead > kSmallestClockFix && ahead <= kLargestZoneOffset)
        moveLogin(boot, -((ahead + kHour - 1) / kHour) * kHour, notes);
}

// The boots to keep (see keepConsistent).
std::vector<bool> consistentBoots(const std::vector<BootSpan>& boots, DateTime now, std::size_t last)
{
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<bool> keep(boots.size(), false);
    if (last >= boots.size() || boots[last].login > now)
        last = kNone;
    const auto fits = [](const BootSpan& before, const BootSpan& after) {
        return after.login + kClockStepTolerance >= before.seenUntil;
    };
    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < boots.size(); ++i)
        if (boots[i].login <= now && (last == kNone || (i != last && fits(boots[i], boots[last]))))
            candidates.push_back(i);
    // The longest chain of boots in order, each fitting the one before it.
    const std::size_t n = candidates.size();
    std::vector<std::size_t> length(n, 1), before(n, n);
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t from = j > kConsistencyWindow ? j - kConsistencyWindow : 0;
        for (std::size_t i = from; i < j; ++i) {
            // Of chains as long, the one through the later boot.
            if (length[i] + 1 >= length[j] && fits(boots[candidates[i]], boots[candidates[j]])) {
                length[j] = length[i] + 1;
                before[j] = i;
            }
        }
    }
    std::size_t end = n;
    for (std::size_t j = 0; j < n; ++j)
        if (end == n || length[j] >= length[end])
            end = j;
    for (std::size_t j = end; j < n; j = before[j])
        keep[candidates[j]] = true;
    if (last != kNone)
        keep[last] = true;
    return keep;
}

// Reports each boot left out, the first ten by their time.
void dropInconsistent(std::vector<BootSpan>& boots, const std::vector<bool>& keep, DateTime now,
                      ImportNotes& notes)
{
    constexpr std::size_t kNamed = 10;
    std::size_t i = 0, dropped = 0;
    std::erase_if(boots, [&](const BootSpan& boot) {
        if (keep[i++])
            return false;
        if (++dropped > kNamed)
            return true;
        if (boot.login > now)
            notes.push_back("the boot of " + formatTimestamp(boot.login) + " lies after now (" +
                            formatTimestamp(now) + ") and was dropped: the clock was ahead then");
        else
            notes.push_back("the boot of " + formatTimestamp(boot.login) +
                            " does not fit between the boots around it and was dropped: the clock was "
                            "wrong then");
        return true;
    });
    if (dropped > kNamed)
        notes.push_back(plural(dropped - kNamed, "more boot", "more boots") + " with a wrong clock " +
                        (dropped - kNamed == 1 ? "was" : "were") + " dropped");
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
    std::size_t orphanShutdowns = 0;
    std::size_t seen = 0;  // boots before the record in the order of the files
    for (const auto& record : records) {
        if (record.kind == RecordKind::Boot) {
            ++seen;
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
    for (std::size_t i = 0; i < boots.size(); ++i) {
        const WtmpRecord& own = boots[i].own;
        const bool isLast = i + 1 == boots.size();
        BootSpan span{own.at, boots[i].shutdown, own.at};
        // last prints on a reboot line the time of the next shutdown it knows, even when that
        // belongs to a later boot (this boot crashed): take it only when it ends this boot.
        if (!span.logout && own.end == EndKind::Time && (isLast || own.endTime <= boots[i + 1].own.at))
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
            }
            span.seenUntil = std::max(span.seenUntil, *settled);
        }
        if (!moved && span.logout)
            fixLoginAfter(span, *span.logout, notes);
        if (span.logout)
            span.seenUntil = std::max(span.seenUntil, *span.logout);
        result.push_back(span);
    }
    std::optional<std::size_t> running;
    if (!boots.empty() && boots.back().own.end == EndKind::StillRunning && !boots.back().shutdown)
        running = boots.size() - 1;
    keepConsistent(result, now, notes, running);
    return result;
}

void keepConsistent(std::vector<BootSpan>& boots, DateTime now, ImportNotes& notes,
                    std::optional<std::size_t> last)
{
    dropInconsistent(boots, consistentBoots(boots, now, last.value_or(boots.size())), now, notes);
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

std::vector<BootSpan> bootsFromJournal(const std::vector<JournalBoot>& list,
                                       const std::map<std::string, bool>* tails, DateTime now,
                                       ImportNotes& notes)
{
    if (list.empty())
        return {};
    // The running boot: the newest whose journal reaches up to now (the list may have been
    // taken a moment before `now`). A boot with a clock ahead may reach further; of those that
    // end together (within ten minutes), the later in the list.
    constexpr std::int64_t kListTaken = 60, kTogether = 600;
    std::optional<std::size_t> running;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].last <= now + kListTaken && (!running || list[i].last > list[*running].last))
            running = i;
    if (running) {
        const DateTime reach = list[*running].last;
        for (std::size_t i = list.size(); i-- > *running;)
            if (list[i].last <= now + kListTaken && list[i].last + kTogether >= reach) {
                running = i;
                break;
            }
    }
    // The running boot is the newest: it goes last.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!running || i != *running)
            order.push_back(i);
    if (running)
        order.push_back(*running);

    std::vector<BootSpan> spans;
    spans.reserve(order.size());
    for (const std::size_t i : order) {
        BootSpan span{list[i].first, std::nullopt, std::max(list[i].first, list[i].last)};
        // The first entries of a boot carry the time the kernel read from the hardware clock.
        fixLoginAfter(span, list[i].last, notes);
        spans.push_back(span);
    }
    const auto keep = consistentBoots(spans, now, running ? spans.size() - 1 : spans.size());
    std::size_t newest = order.size();
    for (std::size_t k = 0; k < order.size(); ++k)
        if (keep[k])
            newest = k;

    std::size_t assumedClean = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const JournalBoot& boot = list[order[k]];
        bool clean = true;
        bool told = false;
        if (tails) {
            const auto found = tails->find(boot.id);
            if (found != tails->end()) {
                clean = found->second;
                told = true;
            }
        }
        if (k == newest) {
            // The newest boot stays open (it runs, or ended without a word) unless its tail
            // shows a shutdown.
            if (told && clean)
                spans[k].logout = boot.last;
            continue;
        }
        if (!told && keep[k])
            ++assumedClean;
        if (clean)
            spans[k].logout = boot.last;
    }
    if (assumedClean > 0)
        notes.push_back(plural(assumedClean, "boot has", "boots have") +
                        " no journal tail to tell a shutdown from a crash and " +
                        (assumedClean == 1 ? "was" : "were") + " taken as shut down at " +
                        (assumedClean == 1 ? "its" : "their") + " last journal entry");
    dropInconsistent(spans, keep, now, notes);
    return spans;
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

namespace {

// The boot time of wtmp and the first entry of the journal differ by a second or two.
constexpr std::int64_t kBootTimeJitter = 60;
// The boot service logs a boot this long after the kernel's boot time at the latest.
constexpr std::int64_t kBootServiceDelay = 600;

// For each boot of `records` (known by the kernel's boot time, in the order they happened),
// the index of the boot of `logged` that is the same boot, or logged.size(). A boot logged
// at any time within a boot is that boot (the boot service logs seconds to minutes after the
// kernel's boot time, the installation at any time): within a closed boot up to its shutdown,
// within a crash or the running boot up to the next boot. Each boot is matched once.
std::vector<std::size_t> matchBoots(const std::vector<BootSpan>& records, const std::vector<BootSpan>& logged)
{
    std::vector<std::size_t> byLogin(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        byLogin[i] = i;
    std::stable_sort(byLogin.begin(), byLogin.end(),
                     [&](std::size_t a, std::size_t b) { return records[a].login < records[b].login; });
    // The newest record without shutdown may be the running boot, which the log's open last
    // entry may have logged at any time since (at the installation); any other entry lies
    // within the boot service's delay of it (the record may come from an old rotated file).
    const auto within = [&](std::size_t at, DateTime t, bool runningEntry) {
        const BootSpan& record = records[byLogin[at]];
        if (t + kBootTimeJitter < record.login)
            return false;
        if (record.logout)
            return t <= std::max(record.login, *record.logout);
        if (at + 1 < byLogin.size())
            return t < records[byLogin[at + 1]].login;
        return runningEntry || t <= record.login + kBootServiceDelay;
    };
    std::vector<std::size_t> match(records.size(), logged.size());
    for (std::size_t e = 0; e < logged.size(); ++e) {
        const DateTime t = logged[e].login;
        const auto after = std::upper_bound(byLogin.begin(), byLogin.end(), t,
                                            [&](DateTime v, std::size_t i) { return v < records[i].login; });
        const std::size_t next = static_cast<std::size_t>(after - byLogin.begin());
        // The boot it lies in, else one that began a moment after it; an entry before it in
        // the log that lies within that boot already stands for it, or for a later one.
        for (const std::size_t at : {next - 1, next}) {
            if (at >= byLogin.size() || match[byLogin[at]] != logged.size() ||
                (e > 0 && logged[e - 1].login >= records[byLogin[at]].login) ||
                !within(at, t, e + 1 == logged.size() && !logged[e].logout))
                continue;
            match[byLogin[at]] = e;
            break;
        }
    }
    return match;
}

DateTime endOf(const BootSpan& boot) { return boot.logout ? std::max(boot.login, *boot.logout) : boot.login; }

}  // namespace

std::vector<BootSpan> mergeBoots(std::vector<BootSpan> preferred, const std::vector<BootSpan>& other)
{
    std::vector<bool> known(other.size(), false);
    for (const std::size_t j : matchBoots(preferred, other))
        if (j < other.size())
            known[j] = true;
    std::vector<BootSpan> merged;
    merged.reserve(preferred.size() + other.size());
    std::size_t i = 0;
    for (std::size_t j = 0; j < other.size(); ++j) {
        if (known[j])
            continue;
        while (i < preferred.size() && preferred[i].login <= other[j].login)
            merged.push_back(preferred[i++]);
        merged.push_back(other[j]);
    }
    while (i < preferred.size())
        merged.push_back(preferred[i++]);
    return merged;
}

std::vector<BootSpan> settleBoots(std::vector<BootSpan> boots, DateTime now, ImportNotes& notes)
{
    const DateTime earliest = dayNumber(1991, 1, 1) * kSecondsPerDay;
    std::size_t future = 0, ancient = 0, backwards = 0, doubled = 0, overlapping = 0, clamped = 0, behind = 0;
    std::vector<BootSpan> settled;
    settled.reserve(boots.size());
    for (BootSpan b : boots) {
        if (b.login > now || b.login < earliest) {
            ++(b.login > now ? future : ancient);
            continue;
        }
        if (b.logout && *b.logout < b.login) {
            b.logout = b.login;
            ++backwards;
        }
        if (!settled.empty()) {
            BootSpan& prev = settled.back();
            if (b.login < prev.login) {
                if (endOf(prev) - b.login > kClockStepTolerance) {
                    ++behind;
                    continue;
                }
                // The clock went back (the end of summer time): the boot begins where the one
                // before it ended, as the logger writes it.
                b.login = endOf(prev);
                if (b.logout && *b.logout < b.login)
                    b.logout = b.login;
                ++clamped;
            }
            if (b.login == prev.login) {
                ++doubled;
                if (b.logout && (!prev.logout || *b.logout > *prev.logout))
                    prev.logout = b.logout;
                continue;
            }
            if (prev.logout && *prev.logout > b.login) {
                prev.logout = b.login;
                ++overlapping;
            }
        }
        settled.push_back(b);
    }
    const auto was = [](std::size_t n) { return n == 1 ? std::string(" was") : std::string(" were"); };
    if (future > 0)
        notes.push_back(plural(future, "boot lies", "boots lie") + " after now (" + formatTimestamp(now) +
                        ") and" + was(future) + " dropped: the clock was wrong then");
    if (ancient > 0)
        notes.push_back(plural(ancient, "boot lies", "boots lie") + " before 1991 and" + was(ancient) +
                        " dropped: the clock was not set then");
    if (behind > 0)
        notes.push_back(plural(behind, "boot begins", "boots begin") +
                        " more than two hours before the boot before it and" + was(behind) +
                        " dropped: the clock was wrong then");
    if (backwards > 0)
        notes.push_back(plural(backwards, "shutdown lies", "shutdowns lie") +
                        " before its boot (the clock was set back); its logout was set to its login");
    if (doubled > 0)
        notes.push_back(plural(doubled, "boot was", "boots were") + " listed twice and written once");
    if (overlapping > 0)
        notes.push_back(
            plural(overlapping, "shutdown lies", "shutdowns lie") +
            " after the next boot (the clock was set back); its logout was set to the next login");
    if (clamped > 0)
        notes.push_back(plural(clamped, "boot begins", "boots begin") +
                        " before the boot before it ended (the clock went back, as at the end of summer "
                        "time); its login was set to that end, as the logger writes it");
    return settled;
}

std::string formatLog(const std::vector<BootSpan>& boots)
{
    std::string text;
    text.reserve(boots.size() * 41);
    for (const BootSpan& b : boots) {
        text += formatTimestamp(b.login);
        text += ' ';
        if (b.logout)
            text += formatTimestamp(*b.logout);
        text += "\r\n";
    }
    return text;
}

std::string logTextOf(std::vector<BootSpan> boots, DateTime now, ImportNotes& notes)
{
    return formatLog(settleBoots(std::move(boots), now, notes));
}

std::vector<BootSpan> mergeIntoLog(const std::vector<BootSpan>& existing,
                                   const std::vector<BootSpan>& imported, std::size_t& added,
                                   ImportNotes& notes)
{
    added = 0;
    std::vector<bool> known(imported.size(), false);
    const auto match = matchBoots(imported, existing);
    for (std::size_t j = 0; j < imported.size(); ++j)
        known[j] = match[j] < existing.size();
    // What an imported boot placed before entry i must stay below: the earliest login of
    // that entry and all after it (a closed entry is checked against the last logout).
    constexpr DateTime kNoLimit = std::numeric_limits<DateTime>::max();
    std::vector<DateTime> limit(existing.size() + 1, kNoLimit);
    for (std::size_t i = existing.size(); i-- > 0;)
        limit[i] = std::min(limit[i + 1], existing[i].login);

    std::vector<BootSpan> merged;
    merged.reserve(existing.size() + imported.size());
    std::size_t next = 0;                                   // the first entry of the log not yet taken
    DateTime floor = std::numeric_limits<DateTime>::min();  // the end of what is written so far
    std::size_t conflicts = 0;
    for (std::size_t j = 0; j < imported.size(); ++j) {
        if (known[j])
            continue;
        const BootSpan& boot = imported[j];
        while (next < existing.size() && existing[next].login <= boot.login) {
            floor = std::max(floor, endOf(existing[next]));
            merged.push_back(existing[next++]);
        }
        if (boot.login < floor || endOf(boot) > limit[next]) {
            if (++conflicts <= 10)
                notes.push_back("the imported boot " + formatLog({boot}).substr(0, boot.logout ? 39 : 19) +
                                " overlaps an entry of the log and was left out; the log's entry stays");
            continue;
        }
        merged.push_back(boot);
        floor = endOf(boot);
        ++added;
    }
    while (next < existing.size())
        merged.push_back(existing[next++]);
    if (conflicts > 10)
        notes.push_back(std::to_string(conflicts - 10) +
                        " more imported boots overlap entries of the log and were left out");
    return merged;
}

}  // namespace quomble
