#include "companion/running_boot.h"

#include <charconv>
#include <fstream>
#include <system_error>

#include <time.h>

namespace quomble {

namespace {

constexpr const char* kBootIdFile = "/proc/sys/kernel/random/boot_id";
constexpr const char* kSynchronisedFlag = "/run/systemd/timesync/synchronized";

std::optional<DateTime> bootStartFromKernel()
{
    std::ifstream stat("/proc/stat");
    std::string key;
    long long value = 0;
    while (stat >> key) {
        if (key == "btime" && stat >> value)
            return localDateTime(static_cast<std::time_t>(value));
        stat.ignore(1 << 20, '\n');
    }
    return std::nullopt;
}

}  // namespace

std::string normalBootId(std::string_view text)
{
    std::string id;
    for (char c : text) {
        if (c == '-')
            continue;
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return {};
        id += c;
    }
    return id.size() == 32 ? id : std::string();
}

std::optional<DateTime> localDateTime(std::time_t moment)
{
    std::tm local{};
    if (!localtime_r(&moment, &local) || local.tm_year + 1900 < 1 || local.tm_year + 1900 > 9999)
        return std::nullopt;
    return parseTimestamp(
        formatTimestamp(CivilDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                      local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec}));
}

RunningBoot systemRunningBoot()
{
    RunningBoot boot;
    std::ifstream idFile(kBootIdFile);
    std::string id;
    if (std::getline(idFile, id))
        boot.id = normalBootId(id);
    boot.start = bootStartFromKernel();
    timespec up{};
    if (::clock_gettime(CLOCK_BOOTTIME, &up) == 0)
        boot.uptimeMs = static_cast<std::int64_t>(up.tv_sec) * 1000 + up.tv_nsec / 1000000;
    std::error_code ec;
    boot.clockSynchronised = std::filesystem::exists(kSynchronisedFlag, ec);
    boot.localTimeAgo = [](std::int64_t seconds) {
        const auto at = localDateTime(std::time(nullptr) - static_cast<std::time_t>(seconds));
        return at.value_or(kZeroDateTime);
    };
    return boot;
}

std::filesystem::path bootMarkPath(const std::filesystem::path& logTarget)
{
    std::filesystem::path mark = logTarget;
    mark += ".boot";
    return mark;
}

std::string formatBootMark(const BootMark& mark)
{
    std::string text = "boot_id=" + mark.bootId + "\nlogin=" + formatTimestamp(mark.login) + "\n";
    if (mark.uptimeMs)
        text += "uptime_ms=" + std::to_string(*mark.uptimeMs) + "\n";
    text += mark.clockSynchronised ? "clock=synchronised\n" : "clock=unsynchronised\n";
    return text;
}

std::optional<BootMark> parseBootMark(std::string_view text)
{
    BootMark mark;
    bool hasLogin = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const auto eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "boot_id") {
            mark.bootId = normalBootId(value);
            if (mark.bootId.empty())
                return std::nullopt;
        } else if (key == "login") {
            const auto login = parseTimestamp(value);
            if (!login)
                return std::nullopt;
            mark.login = *login;
            hasLogin = true;
        } else if (key == "uptime_ms") {
            std::int64_t ms = 0;
            const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
            if (error != std::errc() || ptr != value.data() + value.size() || ms < 0)
                return std::nullopt;
            mark.uptimeMs = ms;
        } else if (key == "clock") {
            mark.clockSynchronised = value == "synchronised";
        }
    }
    if (mark.bootId.empty() || !hasLogin)
        return std::nullopt;
    return mark;
}

}  // namespace quomble
