#include "companion/history.h"
#include "companion/history_support.h"

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

using namespace history_support;

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

void keepConsistent(std::vector<BootSpan>& boots, DateTime now, ImportNotes& notes,
                    std::optional<std::size_t> last)
{
    dropInconsistent(boots, consistentBoots(boots, now, last.value_or(boots.size())), now, notes);
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
// within a crash up to the next boot, within the newest boot without shutdown as far as its
// history shows it running. Each boot is matched once.
std::vector<std::size_t> matchBoots(const std::vector<BootSpan>& records, const std::vector<BootSpan>& logged)
{
    std::vector<std::size_t> byLogin(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        byLogin[i] = i;
    std::stable_sort(byLogin.begin(), byLogin.end(),
                     [&](std::size_t a, std::size_t b) { return records[a].login < records[b].login; });
    // The newest record without shutdown may be the running boot, or the last boot of a wtmp
    // that was no longer written (or of an old rotated file): it reaches as far as its history
    // shows it running (a journal entry, a session still logged in), at least the boot
    // service's delay.
    const auto within = [&](std::size_t at, DateTime t) {
        const BootSpan& record = records[byLogin[at]];
        if (t + kBootTimeJitter < record.login)
            return false;
        if (record.logout)
            return t <= std::max(record.login, *record.logout);
        if (at + 1 < byLogin.size())
            return t < records[byLogin[at + 1]].login;
        return t <= std::max(record.seenUntil, record.login + kBootServiceDelay);
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
                (e > 0 && logged[e - 1].login >= records[byLogin[at]].login) || !within(at, t))
                continue;
            match[byLogin[at]] = e;
            break;
        }
    }
    return match;
}

DateTime endOf(const BootSpan& boot) { return boot.logout ? std::max(boot.login, *boot.logout) : boot.login; }

}  // namespace

std::vector<BootSpan> mergeBoots(std::vector<BootSpan> preferred, const std::vector<BootSpan>& other,
                                 DateTime now, ImportNotes& notes)
{
    std::vector<bool> known(other.size(), false);
    const auto match = matchBoots(preferred, other);
    for (std::size_t i = 0; i < preferred.size(); ++i) {
        if (match[i] < other.size()) {
            known[match[i]] = true;
            preferred[i].seenUntil = std::max(preferred[i].seenUntil, other[match[i]].seenUntil);
        }
    }
    // The newest boot of a source without shutdown, with boots of the other after it: it
    // never reached the other's boots and ended without a shutdown.
    const auto crashed = [&](const BootSpan& boot) {
        notes.push_back("the boot of " + formatTimestamp(boot.login) +
                        " has no shutdown record and later boots follow it: written as a crash");
    };
    if (!preferred.empty() && !preferred.back().logout) {
        for (std::size_t j = 0; j < other.size(); ++j) {
            if (!known[j] && other[j].login >= preferred.back().login) {
                crashed(preferred.back());
                break;
            }
        }
    }
    if (!other.empty() && !known.back() && !other.back().logout &&
        std::any_of(preferred.begin(), preferred.end(),
                    [&](const BootSpan& boot) { return boot.login > other.back().login; }))
        crashed(other.back());
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
    // Each source kept one consistent history; where a clock was wrong they may have kept
    // boots of either side of it. Of the two, one consistent history is kept, the newest boot
    // without shutdown last.
    if (merged.size() > preferred.size() && !preferred.empty()) {
        std::optional<std::size_t> running;
        if (!merged.back().logout)
            running = merged.size() - 1;
        keepConsistent(merged, now, notes, running);
    }
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
        if (j + 1 == imported.size() && !boot.logout && next < existing.size())
            notes.push_back("the boot of " + formatTimestamp(boot.login) +
                            " has no shutdown record and ends before the log's entry of " +
                            formatTimestamp(existing[next].login) + ": written as a crash");
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
