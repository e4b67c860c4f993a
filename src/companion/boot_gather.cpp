#include "companion/boot_gather.h"

#include "companion/atomic_file.h"
#include "companion/history.h"
#include "companion/log_writer.h"
#include "core/log_lines.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <set>
#include <sstream>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quomble {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxCommandOutput = 16u * 1024 * 1024;

std::string runJournalctl(const std::vector<std::string>& arguments)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> all{"journalctl"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "journalctl", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    std::string output;
    if (spawned == 0) {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            if (output.size() < kMaxCommandOutput)
                output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(pipeFds[0]);
    if (spawned != 0)
        return {};
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? output : std::string();
}

std::string headOf(const fs::path& file, std::size_t bytes)
{
    std::ifstream in(file, std::ios::binary);
    std::string text(bytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(bytes));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::time_t modified(const fs::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mtime : 0;
}

// Files (any depth) below `dir` written since `since`.
std::vector<fs::path> filesSince(const fs::path& dir, std::time_t since)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && modified(it->path()) >= since)
            found.push_back(it->path());
        if (found.size() >= 64)
            break;
    }
    std::sort(found.begin(), found.end());
    return found;
}

fs::path under(const fs::path& root, const char* path) { return root / fs::path(path).relative_path(); }

std::string shownPath(const fs::path& root, const fs::path& path)
{
    return "/" + path.lexically_relative(root).string();
}

// A verdict into the record of the boot it tells.
void takeVerdict(BootEndRecord& record, const EndVerdict& verdict)
{
    record.cause = verdict.cause;
    record.confidence = verdict.confidence;
    record.evidence = verdict.evidence;
    record.missing = verdict.missing;
    if (verdict.lastEntryUs)
        record.lastEntry = localDateTime(static_cast<std::time_t>(*verdict.lastEntryUs / 1000000));
}

struct LogEntry {
    DateTime login = 0;
    bool open = false;
};

std::vector<LogEntry> entriesOf(std::string_view content)
{
    std::vector<LogEntry> entries;
    LogLineReader lines{content};
    LogLine line;
    while (lines.next(line)) {
        const auto login = line.head.size() >= 19 ? parseTimestamp(line.head.substr(0, 19)) : std::nullopt;
        if (login)
            entries.push_back({*login, line.length < 23});
    }
    return entries;
}

}  // namespace

EvidenceSource systemEvidenceSource() { return EvidenceSource{runJournalctl, "/"}; }

EndEvidence gatherEndEvidence(const EvidenceSource& source, const std::string& bootId, std::time_t since)
{
    EndEvidence e;
    const std::string boot = bootId.empty() ? "-1" : bootId;
    const std::vector<std::string> fields{"--output-fields=MESSAGE,MESSAGE_ID,SYSLOG_IDENTIFIER,SHUTDOWN"};
    auto tail = source.journalctl({"-b", boot, "-n", "300", "-o", "export", "--no-pager", fields[0]});
    e.previousBoot = parseJournalExport(tail);
    std::error_code ec;
    e.journalKept = fs::is_directory(under(source.root, "/var/log/journal"), ec) && !e.previousBoot.empty();
    e.thisBootKernel = parseJournalExport(
        source.journalctl({"-b", "0", "-k", "-n", "5000", "-o", "export", "--no-pager", fields[0]}));
    std::erase_if(e.thisBootKernel, [](const JournalEntry& j) {
        return j.message.find("reset reason") == std::string::npos &&
               j.message.find("BERT") == std::string::npos &&
               j.message.find("[Hardware Error]") == std::string::npos;
    });

    for (const char* dir : {"/sys/fs/pstore", "/var/lib/systemd/pstore"})
        for (const auto& file : filesSince(under(source.root, dir), since))
            e.pstore.push_back({shownPath(source.root, file), headOf(file, 16384)});
    for (const auto& dump : filesSince(under(source.root, "/var/crash"), since))
        e.kdumps.push_back(shownPath(source.root, dump));
    for (auto it = fs::directory_iterator(under(source.root, "/sys/class/watchdog"), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::ifstream status(it->path() / "bootstatus");
        unsigned long value = 0;
        if (status >> value && (value & 32u))  // WDIOF_CARDRESET: this watchdog reset the machine
            e.watchdogResets.push_back("watchdog: " + shownPath(source.root, it->path() / "bootstatus") +
                                       " = " + std::to_string(value) + " (the card reset the machine)");
    }
    std::ifstream backend(under(source.root, "/sys/module/pstore/parameters/backend"));
    std::string name;
    e.pstoreBackend = std::getline(backend, name) && !name.empty() && name != "(null)";
    return e;
}

std::filesystem::path bootEndsPath(const std::filesystem::path& logTarget)
{
    std::filesystem::path ends = logTarget;
    ends += ".ends";
    return ends;
}

std::vector<std::string> recordBootEnd(const std::filesystem::path& log, const RunningBoot& boot,
                                       const std::string& kernel, const EvidenceSource& source)
{
    std::vector<std::string> said;
    const fs::path target = followLinks(log);
    DirectoryLock lock = lockFolderOf(target);
    std::string content;
    readWholeFile(target, content, kMaxLogBytes);
    removeCtrlZ(content);
    const auto entries = entriesOf(content);
    if (entries.empty() || !entries.back().open) {
        said.push_back("no open entry of the running boot; nothing recorded");
        return said;
    }
    std::string text;
    const fs::path endsPath = bootEndsPath(target);
    readWholeFile(endsPath, text, kMaxLogBytes);
    auto records = parseBootEnds(text);

    const LogEntry& running = entries.back();
    BootEndRecord self =
        findBootEnd(records, running.login) ? *findBootEnd(records, running.login) : BootEndRecord{};
    self.login = running.login;
    if (!boot.id.empty())
        self.bootId = boot.id;
    if (!kernel.empty())
        self.kernel = kernel;
    storeBootEnd(records, self);
    said.push_back("this boot: " + formatTimestamp(running.login) + ", kernel " + kernel);

    if (entries.size() >= 2 && entries[entries.size() - 2].open) {
        const LogEntry& crashed = entries[entries.size() - 2];
        const BootEndRecord* known = findBootEnd(records, crashed.login);
        if (!known || known->cause == EndCause::None) {
            BootEndRecord record = known ? *known : BootEndRecord{};
            record.login = crashed.login;
            const auto since = static_cast<std::time_t>(unixTimeOfLocal(crashed.login).value_or(0));
            EndEvidence evidence = gatherEndEvidence(source, record.bootId, since);
            // A record or a dump that told an earlier end is not this one's.
            const auto toldBefore = [&records](const std::string& path) {
                return std::any_of(records.begin(), records.end(), [&path](const BootEndRecord& r) {
                    return std::any_of(
                        r.evidence.begin(), r.evidence.end(),
                        [&path](const std::string& line) { return line.find(path) != std::string::npos; });
                });
            };
            std::erase_if(evidence.pstore, [&](const EvidenceFile& f) { return toldBefore(f.path); });
            std::erase_if(evidence.kdumps, toldBefore);
            takeVerdict(record, classifyEnd(evidence));
            said.push_back("the boot of " + formatTimestamp(crashed.login) +
                           " ended without a logout: " + std::string(causeText(record.cause)) + " (" +
                           std::string(confidenceKey(record.confidence)) + ")" +
                           (record.missing.empty() ? "" : "; " + record.missing));
            for (const auto& line : record.evidence)
                said.push_back("  " + line);
            storeBootEnd(records, std::move(record));
        }
    }
    if (auto warning = replaceFileAtomically(endsPath, formatBootEnds(records), 0644); !warning.empty())
        said.push_back("warning: " + warning);
    return said;
}

std::vector<std::string> recordPastEnds(const std::filesystem::path& log, const EvidenceSource& source,
                                        bool locked)
{
    std::vector<std::string> said;
    const fs::path target = followLinks(log);
    std::optional<DirectoryLock> lock;
    if (!locked)
        lock.emplace(target.parent_path().empty() ? fs::path(".") : target.parent_path());
    std::string content;
    readWholeFile(target, content, kMaxLogBytes);
    removeCtrlZ(content);
    const auto entries = entriesOf(content);
    std::string text;
    const fs::path endsPath = bootEndsPath(target);
    readWholeFile(endsPath, text, kMaxLogBytes);
    auto records = parseBootEnds(text);

    ImportNotes notes;
    std::istringstream list(source.journalctl({"--list-boots", "--no-pager"}));
    const auto journal = parseBootList(list, notes);
    std::size_t known = 0, told = 0;
    std::set<std::string> taken;  // the journal's boots already given to an entry
    for (std::size_t i = 0; i < entries.size() && !journal.empty(); ++i) {
        const LogEntry& entry = entries[i];
        // The journal's boot that began last before the entry (the boot service logs a boot
        // seconds to minutes after its first journal entry), when the entry lies within it;
        // failing that, the first one that began within a minute after it (a clock that
        // stood a little behind). Never a later boot when an earlier one fits, and never a
        // boot an earlier entry took: boots a few seconds apart (a crash loop) would each be
        // told from another one's journal.
        const JournalBoot* boot = nullptr;
        for (const auto& j : journal) {
            if (j.first > entry.login + 60 || j.last + 60 < entry.login || taken.contains(j.id))
                continue;
            const bool before = j.first <= entry.login;
            const bool bootBefore = boot && boot->first <= entry.login;
            if (!boot || (before && (!bootBefore || j.first > boot->first)) ||
                (!before && !bootBefore && j.first < boot->first))
                boot = &j;
        }
        if (!boot)
            continue;
        taken.insert(boot->id);
        BootEndRecord record =
            findBootEnd(records, entry.login) ? *findBootEnd(records, entry.login) : BootEndRecord{};
        record.login = entry.login;
        const bool crashed = entry.open && i + 1 < entries.size();
        if (!record.bootId.empty() && (!crashed || record.cause != EndCause::None))
            continue;
        record.bootId = normalBootId(boot->id);
        if (record.kernel.empty()) {
            for (const auto& k :
                 parseJournalExport(source.journalctl({"-b", boot->id, "-k", "-o", "export", "--no-pager",
                                                       "--output-fields=MESSAGE", "-n", "2000"}))) {
                if (k.message.starts_with("Linux version ")) {
                    const auto end = k.message.find(' ', 14);
                    record.kernel =
                        k.message.substr(14, end == std::string::npos ? std::string::npos : end - 14);
                    break;
                }
            }
        }
        ++known;
        if (crashed && record.cause == EndCause::None) {
            EndEvidence evidence;
            evidence.journalKept = true;
            evidence.previousBoot = parseJournalExport(
                source.journalctl({"-b", boot->id, "-n", "300", "-o", "export", "--no-pager",
                                   "--output-fields=MESSAGE,MESSAGE_ID,SYSLOG_IDENTIFIER,SHUTDOWN"}));
            takeVerdict(record, classifyEnd(evidence));
            said.push_back("the boot of " + formatTimestamp(entry.login) +
                           " ended without a logout: " + std::string(causeText(record.cause)));
            ++told;
        }
        storeBootEnd(records, std::move(record));
    }
    said.push_back(std::to_string(known) + " boots found in the journal, " + std::to_string(told) +
                   " ends without logout told");
    if (known > 0) {
        if (auto warning = replaceFileAtomically(endsPath, formatBootEnds(records), 0644); !warning.empty())
            said.push_back("warning: " + warning);
    }
    return said;
}

}  // namespace quomble
