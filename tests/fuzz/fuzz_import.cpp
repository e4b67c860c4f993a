// Fuzz target: arbitrary text as the output of `last`, of `journalctl --list-boots`, the
// journal tails and an existing boot log (four parts, each ending at a line "%%"), through
// the import and the merge, in the local time zone of Central Europe (the list's zones are
// read against it: UTC, numeric offsets, CET and CEST are known, other abbreviations refused).
// Broken invariants are findings: the written log always passes the program's validation,
// --merge never changes an entry of a valid existing log, and importing the same input a
// second time changes nothing.

#include "companion/history.h"
#include "core/log_lines.h"
#include "core/validation.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <time.h>
#include <vector>

using namespace quomble;

namespace {

bool validates(const std::string& text)
{
    LogLineReader lines{std::string_view(text)};
    return LogFileCheck(lines).empty();
}

void require(bool condition, const char* broken, const std::string& log)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n%s", broken, log.c_str());
    std::abort();
}

// Every entry of `existing` is in `merged`, unchanged and in the same order.
bool keepsEntries(const std::vector<BootSpan>& existing, const std::vector<BootSpan>& merged)
{
    std::size_t at = 0;
    for (const BootSpan& boot : merged)
        if (at < existing.size() && boot.login == existing[at].login && boot.logout == existing[at].logout)
            ++at;
    return at == existing.size();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts(1);
    for (std::size_t start = 0; start < input.size();) {
        const auto end = input.find('\n', start);
        const auto line = input.substr(start, end == std::string_view::npos ? end : end + 1 - start);
        start = end == std::string_view::npos ? input.size() : end + 1;
        if ((line == "%%\n" || line == "%%") && parts.size() < 4)
            parts.emplace_back();
        else
            parts.back() += line;
    }
    parts.resize(4);

    const DateTime now = dayNumber(2026, 12, 7) * kSecondsPerDay + 12 * 3600;
    ImportNotes notes;
    std::istringstream lastIn(parts[0]), listIn(parts[1]), tailsIn(parts[2]);
    auto fromLast = bootsFromLast(lastIn, now, notes);
    std::vector<JournalBoot> list;
    try {
        list = parseBootList(listIn, notes);
    } catch (const std::runtime_error&) {
        return 0;  // a list in a zone that cannot be known is refused
    }
    const auto tails = parseShutdownTails(tailsIn, notes);
    const auto fromJournal = bootsFromJournal(list, parts[2].empty() ? nullptr : &tails, now, notes);
    const auto imported = settleBoots(mergeBoots(std::move(fromLast), fromJournal, now, notes), now, notes);
    const std::string fresh = formatLog(imported);
    require(validates(fresh), "the imported log validates", fresh);

    // A second import over the log of the first adds nothing.
    std::size_t added = 0;
    require(formatLog(mergeIntoLog(bootsFromLog(fresh), imported, added, notes)) == fresh && added == 0,
            "a second import adds nothing", fresh);

    std::vector<BootSpan> existing;
    try {
        existing = bootsFromLog(parts[3]);
    } catch (const std::runtime_error&) {
        return 0;  // the import refuses to merge into a log with lines that are no entries
    }
    const auto merged = mergeIntoLog(existing, imported, added, notes);
    require(keepsEntries(existing, merged) && merged.size() == existing.size() + added,
            "the merge keeps every entry", formatLog(merged));
    const std::string once = formatLog(merged);
    if (validates(formatLog(existing)))
        require(validates(once), "the merged log validates", once);
    std::size_t addedAgain = 0;
    require(formatLog(mergeIntoLog(bootsFromLog(once), imported, addedAgain, notes)) == once &&
                addedAgain == 0,
            "a second merge adds nothing", once);
    return 0;
}
