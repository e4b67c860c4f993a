#pragma once

#include "core/datetime.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quomble {

// What the log writer knows about the boot it runs in.
struct RunningBoot {
    std::string id;                        // the boot id (normalBootId); empty when unknown
    std::optional<DateTime> start;         // the kernel's boot time, local time
    std::optional<std::int64_t> uptimeMs;  // time since the boot, sleep included
    bool clockSynchronised = false;        // a time service has set the clock in this boot
    // The local time `seconds` before now, by the system clock (across a change of summer
    // time too). Tests put their own clock here.
    std::function<DateTime(std::int64_t seconds)> localTimeAgo;
};

// The running boot as the kernel and the time service tell it. The boot id is per boot
// (a container gets its own); the clock counts as set once systemd-timesyncd (or another
// time service using the same flag) has synchronised it.
RunningBoot systemRunningBoot();

// A boot id as the kernel ("0f6b1c2a-...", with dashes) or systemd ("0f6b1c2a...", without)
// writes it, in one form: 32 lower-case hex digits. Empty for text that is no boot id.
std::string normalBootId(std::string_view text);

// The local date-time of a moment given as seconds since 1970 (nullopt out of range).
std::optional<DateTime> localDateTime(std::time_t moment);

// Which boot the log's last entry belongs to. quomble-log keeps it beside the log (see
// bootMarkPath) at every login and logout, so that a new boot is told from a restart of
// the boot service by the kernel's boot id rather than by the times in the log.
struct BootMark {
    std::string bootId;
    DateTime login = 0;                    // the login of the entry it describes
    std::optional<std::int64_t> uptimeMs;  // the boot's uptime when that login was taken
    bool clockSynchronised = false;        // the clock was synchronised when the login was taken
};

// "Quomble.log" -> "Quomble.log.boot", in the folder of the log the links lead to.
std::filesystem::path bootMarkPath(const std::filesystem::path& logTarget);

std::string formatBootMark(const BootMark& mark);
// nullopt for text that is no mark (a damaged or foreign file is ignored, never trusted).
std::optional<BootMark> parseBootMark(std::string_view text);

}  // namespace quomble
