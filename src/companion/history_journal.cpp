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

bool isoDate(std::string_view date)
{
    return date.size() == 10 && date[4] == '-' && date[7] == '-' && digits(date.substr(0, 4), 4) &&
           digits(date.substr(5, 2), 2) && digits(date.substr(8, 2), 2);
}

// journalctl's notice to a user outside the groups that may read the whole journal (printed
// on standard error, so in the file when that was caught too), and its further lines.
bool userOnlyNotice(std::string_view line)
{
    return line.find("You are currently not seeing messages from other users") != std::string_view::npos;
}

bool noticeContinued(std::string_view line)
{
    return line.find("can see all messages") != std::string_view::npos ||
           line.find("turn off this notice") != std::string_view::npos;
}

bool hexId(std::string_view text)
{
    return text.size() == 32 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

}  // namespace

std::vector<JournalBoot> parseBootList(std::istream& in, ImportNotes& notes)
{
    std::vector<JournalBoot> boots;
    TextLines lines(in);
    std::string line;
    std::size_t unreadable = 0;
    // Each time is printed with its zone; the log holds local time.
    LocalZone localZone;
    std::size_t converted = 0;
    std::vector<std::string> convertedZones;
    int convertedYear = 0;
    bool userOnly = false;
    while (lines.next(line)) {
        if (userOnlyNotice(line) || noticeContinued(line)) {
            userOnly = userOnly || userOnlyNotice(line);
            continue;
        }
        // Older versions join the two times with an em dash: it becomes blanks.
        for (std::size_t pos; (pos = line.find("\xE2\x80\x94")) != std::string::npos;)
            line.replace(pos, 3, 3, ' ');
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
        bool zoneUnreadable = false, moved = false;
        for (std::size_t i = 2; i + 1 < t.size() && times.size() < 2; ++i) {
            const std::string_view date = t[i];
            int h = 0, m = 0, s = 0;
            if (!isoDate(date) || !clockTime(t[i + 1], h, m, s))
                continue;
            auto at = makeDateTime(number(date.substr(0, 4)), number(date.substr(5, 2)),
                                   number(date.substr(8, 2)), h, m, s);
            ++i;
            // The zone follows the time, unless what follows begins the next time.
            if (i + 1 >= t.size() || isoDate(t[i + 1]) || (i + 2 < t.size() && isoDate(t[i + 2])) || !at) {
                if (at)
                    times.push_back(*at);
                continue;
            }
            const std::string_view zone = t[++i];
            if (!LocalZone::looksLikeZone(zone)) {
                zoneUnreadable = true;
                break;
            }
            const auto local = localZone.toLocal(*at, zone);
            if (!local) {
                const int year = civilFromDateTime(*at).year;
                throw std::runtime_error(
                    "the boot list gives its times in " + std::string(zone) +
                    ", an abbreviation that the local time zone does not use (it uses " +
                    localZone.abbreviations(year) + " in " + std::to_string(year) +
                    ") and that may stand for several zones: its boots cannot be placed, nothing written; "
                    "print the list in UTC (TZ=UTC sudo journalctl --list-boots) or in the local time zone");
            }
            if (*local != *at &&
                std::find(convertedZones.begin(), convertedZones.end(), zone) == convertedZones.end())
                convertedZones.emplace_back(zone);
            moved = moved || *local != *at;
            times.push_back(*local);
        }
        if (times.size() != 2 || zoneUnreadable || lines.cut()) {
            ++unreadable;
            continue;
        }
        if (moved) {
            ++converted;
            convertedYear = civilFromDateTime(times[0]).year;
        }
        const std::int64_t index =
            (idx[0] == '-' ? -1 : 1) * static_cast<std::int64_t>(std::stoll(std::string(magnitude)));
        boots.push_back({index, std::string(t[1]), times[0], times[1]});
    }
    if (unreadable > 0)
        notes.push_back(plural(unreadable, "line of the boot list was", "lines of the boot list were") +
                        " not understood and skipped");
    if (converted > 0) {
        std::string zones;
        for (const auto& zone : convertedZones)
            zones += (zones.empty() ? "" : ", ") + zone;
        notes.push_back("the boot list gives its times in " + zones + ": the times of " +
                        plural(converted, "boot was", "boots were") + " converted to local time (" +
                        localZone.abbreviations(convertedYear) + ")");
    }
    std::stable_sort(boots.begin(), boots.end(),
                     [](const JournalBoot& a, const JournalBoot& b) { return a.index < b.index; });
    if (userOnly && !boots.empty()) {
        const auto [oldest, newest] =
            std::minmax_element(boots.begin(), boots.end(),
                                [](const JournalBoot& a, const JournalBoot& b) { return a.first < b.first; });
        notes.push_back(
            "the boot list was made by a user who sees only his own journal entries: the times of "
            "its " +
            plural(boots.size(), "boot", "boots") + ", " + formatTimestamp(oldest->first) + " to " +
            formatTimestamp(newest->first) +
            ", are that user's first and last entries, so each boot may begin late and end early; "
            "list the boots with sudo journalctl --list-boots");
    }
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
    bool userOnly = false;
    while (lines.next(line)) {
        userOnly = userOnly || userOnlyNotice(line);
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
    if (userOnly)
        notes.push_back(
            "the journal tails were taken by a user who sees only his own journal entries: the "
            "system's shutdown does not show in them, so a boot may be taken as a crash; take them "
            "with sudo journalctl");
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
    std::vector<std::int64_t> clockOffsets;  // found for earlier boots
    for (const std::size_t i : order) {
        BootSpan span{list[i].first, std::nullopt, std::max(list[i].first, list[i].last)};
        // The first entries of a boot carry the time the kernel read from the hardware clock.
        const auto floor = spans.empty() ? std::nullopt : std::optional<DateTime>(spans.back().seenUntil);
        if (const auto offset = fixLoginAfter(span, list[i].last, floor, clockOffsets, true, notes))
            clockOffsets.push_back(offset);
        span.seenUntil = std::max(span.login, list[i].last);
        spans.push_back(span);
    }
    // Each boot's journal tells where it ended, crash or not: the check sees it end there.
    auto ended = spans;
    for (std::size_t k = 0; k < order.size(); ++k)
        ended[k].logout = list[order[k]].last;
    const auto keep = consistentBoots(ended, now, running ? spans.size() - 1 : spans.size());
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

}  // namespace quomble
