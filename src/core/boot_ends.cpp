#include "core/boot_ends.h"

#include "core/log_lines.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <array>
#include <utility>

namespace quomble {
namespace {

constexpr std::string_view kHeader = "QuombleView boot ends 1";

struct CauseName {
    EndCause cause;
    std::string_view key;
    std::string_view text;
};

constexpr std::array<CauseName, 12> kCauses{{
    {EndCause::None, "none", "-"},
    {EndCause::MissedLogout, "missed-logout", "shut down in order, logout not written"},
    {EndCause::KernelPanic, "kernel-panic", "kernel panic or oops"},
    {EndCause::HardwareError, "hardware-error", "hardware error"},
    {EndCause::Watchdog, "watchdog", "watchdog reset"},
    {EndCause::Thermal, "thermal", "overheated"},
    {EndCause::PowerKey, "power-key", "power key pressed"},
    {EndCause::PowerButtonHeld, "power-button-held", "power button held"},
    {EndCause::ForcedReboot, "forced-reboot", "forced reboot or power-off"},
    {EndCause::OutOfMemory, "out-of-memory", "out of memory"},
    {EndCause::PowerLossOrFreeze, "power-loss-or-freeze", "power loss or freeze"},
    {EndCause::Unknown, "unknown", "unknown"},
}};

// A value written on one line: line ends become blanks.
std::string oneLine(std::string_view text)
{
    std::string line(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    return line;
}

}  // namespace

std::string_view causeKey(EndCause cause)
{
    for (const auto& name : kCauses)
        if (name.cause == cause)
            return name.key;
    return "unknown";
}

std::optional<EndCause> causeFromKey(std::string_view key)
{
    for (const auto& name : kCauses)
        if (name.key == key)
            return name.cause;
    return std::nullopt;
}

std::string_view causeText(EndCause cause)
{
    for (const auto& name : kCauses)
        if (name.cause == cause)
            return name.text;
    return "unknown";
}

std::string_view confidenceKey(Confidence confidence)
{
    switch (confidence) {
    case Confidence::High:
        return "high";
    case Confidence::Medium:
        return "medium";
    case Confidence::Low:
        break;
    }
    return "low";
}

std::string formatBootEnds(const std::vector<BootEndRecord>& records)
{
    std::string text(kHeader);
    text += '\n';
    for (const auto& r : records) {
        text += "[" + formatTimestamp(r.login) + "]\n";
        if (!r.bootId.empty())
            text += "boot_id=" + oneLine(r.bootId) + "\n";
        if (!r.kernel.empty())
            text += "kernel=" + oneLine(r.kernel) + "\n";
        if (r.cause != EndCause::None) {
            text += "cause=" + std::string(causeKey(r.cause)) + "\n";
            text += "confidence=" + std::string(confidenceKey(r.confidence)) + "\n";
        }
        if (r.lastEntry)
            text += "last_entry=" + formatTimestamp(*r.lastEntry) + "\n";
        for (const auto& line : r.evidence)
            text += "evidence=" + oneLine(line) + "\n";
        if (!r.missing.empty())
            text += "missing=" + oneLine(r.missing) + "\n";
    }
    return text;
}

std::vector<BootEndRecord> parseBootEnds(std::string_view text)
{
    std::vector<BootEndRecord> records;
    bool first = true;
    BootEndRecord* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            // "QuombleView boot ends 1" and any later minor form "1.x"; another major is not ours.
            if (!line.starts_with(kHeader) || (line.size() > kHeader.size() && line[kHeader.size()] != '.'))
                return {};
            first = false;
            continue;
        }
        if (line.size() == 21 && line.front() == '[' && line.back() == ']') {
            const auto login = parseTimestamp(line.substr(1, 19));
            current = nullptr;
            if (login) {
                records.push_back({});
                current = &records.back();
                current->login = *login;
            }
            continue;
        }
        const auto eq = line.find('=');
        if (!current || eq == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "boot_id")
            current->bootId = value;
        else if (key == "kernel")
            current->kernel = value;
        else if (key == "cause")
            current->cause = causeFromKey(value).value_or(EndCause::Unknown);
        else if (key == "confidence")
            current->confidence = value == "high"     ? Confidence::High
                                  : value == "medium" ? Confidence::Medium
                                                      : Confidence::Low;
        else if (key == "last_entry")
            current->lastEntry = parseTimestamp(value);
        else if (key == "evidence")
            current->evidence.emplace_back(value);
        else if (key == "missing")
            current->missing = value;
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const BootEndRecord& a, const BootEndRecord& b) { return a.login < b.login; });
    return records;
}

const BootEndRecord* findBootEnd(const std::vector<BootEndRecord>& records, DateTime login)
{
    const auto it = std::lower_bound(records.begin(), records.end(), login,
                                     [](const BootEndRecord& r, DateTime value) { return r.login < value; });
    return it != records.end() && it->login == login ? &*it : nullptr;
}

void storeBootEnd(std::vector<BootEndRecord>& records, BootEndRecord record)
{
    const auto it = std::lower_bound(records.begin(), records.end(), record.login,
                                     [](const BootEndRecord& r, DateTime value) { return r.login < value; });
    if (it != records.end() && it->login == record.login)
        *it = std::move(record);
    else
        records.insert(it, std::move(record));
}

std::filesystem::path bootEndsFileOf(const std::filesystem::path& logFile)
{
    std::error_code ec;
    auto target = std::filesystem::weakly_canonical(logFile, ec);
    if (ec)
        target = logFile;
    target += ".ends";
    return target;
}

std::vector<BootEndRecord> readBootEnds(const std::filesystem::path& logFile)
{
    std::ifstream in(bootEndsFileOf(logFile), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return parseBootEnds(text.str());
}

std::vector<LoggedBoot> readLoggedBoots(const std::filesystem::path& logFile)
{
    std::vector<LoggedBoot> boots;
    LogLineReader lines{logFile};
    LogLine line;
    while (lines.next(line)) {
        const auto login = line.head.size() >= 19 ? parseTimestamp(line.head.substr(0, 19)) : std::nullopt;
        if (!login)
            continue;
        if (!boots.empty() && !boots.back().logout)
            boots.back().crashed = true;
        LoggedBoot boot{*login, std::nullopt, false};
        if (line.length >= 39 && line.head.size() >= 39)
            boot.logout = parseTimestamp(line.head.substr(20, 19));
        boots.push_back(boot);
    }
    return boots;
}

std::vector<KernelFigures> kernelFigures(const std::vector<LoggedBoot>& boots,
                                         const std::vector<BootEndRecord>& records, DateTime now)
{
    std::map<std::string, KernelFigures> byKernel;
    for (std::size_t i = 0; i < boots.size(); ++i) {
        const LoggedBoot& b = boots[i];
        const BootEndRecord* r = findBootEnd(records, b.login);
        const std::string kernel = r && !r->kernel.empty() ? r->kernel : "-";
        KernelFigures& k = byKernel[kernel];
        k.kernel = kernel;
        ++k.boots;
        std::optional<DateTime> end = b.logout;
        if (b.crashed) {
            ++k.crashes;
            if (r && r->lastEntry)
                end = r->lastEntry;
        } else if (!b.logout && i + 1 == boots.size()) {
            end = now;
        }
        if (end && *end > b.login)
            k.onHours += static_cast<double>(*end - b.login) / 3600.0;
    }
    std::vector<KernelFigures> figures;
    for (auto& [name, k] : byKernel)
        figures.push_back(std::move(k));
    return figures;
}

std::vector<EvidenceSetting> evidenceSettings(const std::filesystem::path& root)
{
    const auto at = [&root](const char* path) { return root / std::filesystem::path(path).relative_path(); };
    const auto firstLine = [](const std::filesystem::path& file) {
        std::ifstream in(file);
        std::string line;
        std::getline(in, line);
        return line;
    };
    std::error_code ec;
    std::vector<EvidenceSetting> settings;
    settings.push_back(
        {"persistent journal", std::filesystem::is_directory(at("/var/log/journal"), ec),
         "the journal of a crashed boot is gone at the next boot: no cause but a pstore record "
         "or the processor's word",
         "sudo mkdir -p /var/log/journal && sudo systemctl restart systemd-journald"});
    const std::string backend = firstLine(at("/sys/module/pstore/parameters/backend"));
    const bool efi = std::filesystem::is_directory(at("/sys/firmware/efi"), ec);
    settings.push_back({"pstore backend", !backend.empty() && backend != "(null)",
                        "a kernel panic leaves no record of its own",
                        efi ? "sudo modprobe efi_pstore"
                            : "none here: it needs UEFI variables or ACPI ERST from the firmware"});
    settings.push_back({"kdump", firstLine(at("/sys/kernel/kexec_crash_loaded")) == "1",
                        "no memory dump of a panic for its analysis",
                        "sudo apt install kdump-tools (then reboot)"});
    return settings;
}

std::vector<std::string> crashCells(const LoggedBoot& boot, const BootEndRecord* record)
{
    const BootEndRecord none{boot.login, {}, {}, EndCause::None, Confidence::Low, {}, {}, {}};
    const BootEndRecord& r = record ? *record : none;
    std::string evidence;
    for (const auto& line : r.evidence)
        evidence += (evidence.empty() ? "" : " | ") + line;
    if (!r.missing.empty())
        evidence += (evidence.empty() ? "missing: " : " | missing: ") + r.missing;
    std::string onTime = "-";
    if (r.lastEntry && *r.lastEntry >= boot.login) {
        const std::int64_t t = *r.lastEntry - boot.login;
        char text[48];
        std::snprintf(text, sizeof text, "%lld %02lld:%02lld:%02lld", static_cast<long long>(t / 86400),
                      static_cast<long long>(t / 3600 % 24), static_cast<long long>(t / 60 % 60),
                      static_cast<long long>(t % 60));
        onTime = text;
    }
    return {formatTimestamp(boot.login),
            r.lastEntry ? formatTimestamp(*r.lastEntry) : "-",
            onTime,
            r.cause == EndCause::None ? "not looked at" : std::string(causeText(r.cause)),
            r.cause == EndCause::None ? "-" : std::string(confidenceKey(r.confidence)),
            r.kernel.empty() ? "-" : r.kernel,
            evidence.empty() ? "-" : evidence};
}

std::string rateText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace quomble
