#include "core/boot_ends.h"
#include "report.h"

#include <array>
#include <cmath>
#include <ctime>
#include <map>

namespace quomble::report {
namespace {

constexpr std::string_view kPrefix = "quombleview_";

class Exposition {
public:
    explicit Exposition(std::ostream& out) : out_(out) {}
    // One metric family: its help, its type and its samples.
    void family(std::string_view name, std::string_view type, std::string_view help)
    {
        out_ << "# HELP " << kPrefix << name << ' ' << help << '\n';
        out_ << "# TYPE " << kPrefix << name << ' ' << type << '\n';
    }
    void sample(std::string_view name, double value, std::string_view labels = {})
    {
        out_ << kPrefix << name;
        if (!labels.empty())
            out_ << '{' << labels << '}';
        out_ << ' ';
        if (std::floor(value) == value && std::fabs(value) < 1e15)
            out_ << static_cast<long long>(value);
        else
            out_ << value;
        out_ << '\n';
    }
    void gauge(std::string_view name, std::string_view help, double value)
    {
        family(name, "gauge", help);
        sample(name, value);
    }

private:
    std::ostream& out_;
};

}  // namespace

void writePrometheus(std::ostream& out, const LogModel& model, const Outcome& outcome,
                     const std::string& logFile)
{
    Exposition e(out);
    const bool read = !outcome.error;
    e.gauge("log_read_ok", "1 when the boot log was read, 0 when reading it stopped.", read ? 1 : 0);
    e.gauge("log_findings", "Findings of the boot log's check (0: the log was read without findings).",
            static_cast<double>(outcome.findings.size()));
    if (!read || !model.hasBoots())
        return;

    std::vector<LoggedBoot> boots;
    try {
        boots = readLoggedBoots(logFile);
    } catch (const std::exception&) {
    }
    const auto records = readBootEnds(logFile);

    e.family("boots_total", "counter", "Boots recorded in the boot log.");
    e.sample("boots_total", model.BootCount);
    e.family("clean_shutdowns_total", "counter", "Boots that ended with a logged shutdown.");
    e.sample("clean_shutdowns_total", model.LogoutCount);

    // Every cause of the fixed set, so that a rate can be taken of each from zero on.
    std::map<std::string, int> byCause;
    for (EndCause cause :
         {EndCause::MissedLogout, EndCause::KernelPanic, EndCause::HardwareError, EndCause::Watchdog,
          EndCause::Thermal, EndCause::PowerKey, EndCause::PowerButtonHeld, EndCause::ForcedReboot,
          EndCause::OutOfMemory, EndCause::PowerLossOrFreeze, EndCause::Unknown})
        byCause[std::string(causeKey(cause))] = 0;
    byCause["unrecorded"] = 0;
    std::optional<DateTime> lastUncleanEnd;
    for (std::size_t i = 0; i < boots.size(); ++i) {
        if (!boots[i].crashed)
            continue;
        const BootEndRecord* r = findBootEnd(records, boots[i].login);
        const bool told = r && r->cause != EndCause::None;
        ++byCause[told ? std::string(causeKey(r->cause)) : "unrecorded"];
        // The end lies between the last journal entry and the next boot: the first where known.
        lastUncleanEnd = r && r->lastEntry ? *r->lastEntry : boots[i + 1].login;
    }
    e.family("unclean_ends_total", "counter",
             "Boots that ended without a logged shutdown (crashes), by likely cause; unrecorded: nothing was "
             "gathered about the end.");
    for (const auto& [cause, count] : byCause)
        e.sample("unclean_ends_total", count, "cause=\"" + cause + "\"");

    const BootRecord& sum = model.summary(StatSum);
    e.family("on_time_seconds_total", "counter", "Time the machine ran, summed over all boots.");
    e.sample("on_time_seconds_total", sum.OnTime);
    e.family("off_time_seconds_total", "counter", "Time the machine was off between boots, summed.");
    e.sample("off_time_seconds_total", sum.OffTime);
    e.gauge("longest_crash_free_on_time_seconds", "The longest on-time between two crashes.",
            model.summary(StatCrashFreeMax).OnTime);

    if (!boots.empty()) {
        if (const auto first = unixTimeOfLocal(boots.front().login))
            e.gauge("log_first_entry_timestamp_seconds", "Login of the boot log's first entry.",
                    static_cast<double>(*first));
        if (!boots.back().logout)
            if (const auto start = unixTimeOfLocal(boots.back().login))
                e.gauge("running_boot_start_timestamp_seconds", "Login of the running boot.",
                        static_cast<double>(*start));
    }
    if (lastUncleanEnd)
        if (const auto at = unixTimeOfLocal(*lastUncleanEnd))
            e.gauge("last_unclean_end_timestamp_seconds",
                    "The last crash's end: its last journal entry where known, else the next boot's login.",
                    static_cast<double>(*at));
}

}  // namespace quomble::report
