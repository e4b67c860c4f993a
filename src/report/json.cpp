#include "report.h"

#include <nlohmann/json.hpp>

namespace quomble::report {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

ordered_json bootJson(const BootRecord& r)
{
    return {
        {"LogIn", r.LogIn.str()}, {"LogOut", r.LogOut.str()}, {"OnTime", r.OnTime}, {"OffTime", r.OffTime}};
}

ordered_json minuteValues(const MinuteTable& table)
{
    ordered_json values = ordered_json::array();
    for (const MinutePoint& p : table)
        values.push_back(p.Value);
    return values;
}

double wide(float value) { return static_cast<double>(value); }

// Writes one JSON object key by key, so that a log of a million boots never has to be
// held as one document.
class ObjectWriter {
public:
    explicit ObjectWriter(std::ostream& out) : out_(out) { out_ << '{'; }
    ~ObjectWriter() { out_ << "}\n"; }

    void field(const char* name, const ordered_json& value)
    {
        key(name);
        out_ << dump(value);
    }

    template <typename Range, typename ToJson>
    void array(const char* name, const Range& items, ToJson toJson)
    {
        key(name);
        out_ << '[';
        bool first = true;
        for (const auto& item : items) {
            if (!first)
                out_ << ',';
            first = false;
            out_ << dump(toJson(item));
        }
        out_ << ']';
    }

private:
    void key(const char* name)
    {
        if (!first_)
            out_ << ',';
        first_ = false;
        out_ << '"' << name << "\":";
    }
    // Log texts are single-byte; anything that is not UTF-8 is replaced, never fatal.
    static std::string dump(const ordered_json& value)
    {
        return value.dump(-1, ' ', false, json::error_handler_t::replace);
    }

    std::ostream& out_;
    bool first_ = true;
};

template <typename T>
struct IndexRange {
    const std::vector<T>& items;
    int first;
    int last;
    bool empty() const { return last < first; }
    auto begin() const { return empty() ? items.end() : items.begin() + first; }
    auto end() const { return empty() ? items.end() : items.begin() + last + 1; }
};

ordered_json dayJson(const DayRecord& r)
{
    return {{"Date", r.Date.str()},
            {"Weekday", r.Weekday.str()},
            {"Boots", r.Boots},
            {"Crashs", r.Crashs},
            {"OnTime", r.OnTime},
            {"BootFrequency", wide(r.BootFrequency)},
            {"CrashFrequency", wide(r.CrashFrequency)},
            {"OnTimeTrend", r.OnTimeTrend},
            {"BootTrend", wide(r.BootTrend)},
            {"CrashTrend", wide(r.CrashTrend)},
            {"BootFrequencyTrend", wide(r.BootFrequencyTrend)},
            {"CrashFrequencyTrend", wide(r.CrashFrequencyTrend)}};
}

}  // namespace

void writeJson(std::ostream& out, const LogModel& m, const Outcome& outcome)
{
    ObjectWriter j(out);
    ordered_json findings = ordered_json::array();
    for (const Finding& f : outcome.findings)
        findings.push_back(f.text());
    j.field("findings", findings);
    j.field("error", outcome.error ? ordered_json(*outcome.error) : ordered_json(nullptr));
    if (outcome.error || !m.hasBoots())
        return;

    j.field("CurrentDateTime", m.CurrentDateTime);
    j.field("BootCount", m.BootCount);
    j.field("LogoutCount", m.LogoutCount);
    j.field("CrashCount", m.CrashCount);
    j.field("DayCount", m.DayCount);
    j.field("DaysWithOnTime", m.DaysWithOnTime);
    j.field("BootIndex", wide(m.BootIndex));
    j.field("CrashsPerBoot", wide(m.CrashsPerBoot));
    j.field("CrashsPerDay", wide(m.CrashsPerDay));
    j.field("MaxBootsPerDay", m.MaxBootsPerDay);
    j.field("MaxBootFrequency", m.MaxBootFrequency);
    j.array("boots", IndexRange<BootRecord>{m.BootList, 1, m.BootCount}, bootJson);

    static constexpr std::pair<const char*, Summary> kSummaries[] = {
        {"StatMin", StatMin},
        {"StatMax", StatMax},
        {"StatSum", StatSum},
        {"StatAvg", StatAvg},
        {"StatMinBase", StatMinBase},
        {"StatSpan", StatSpan},
        {"StatSinceCrash", StatSinceCrash},
        {"StatCrashFreeAvg", StatCrashFreeAvg},
        {"StatDayAvg", StatDayAvg},
        {"StatCrashFreeRun", StatCrashFreeRun},
        {"StatCrashFreeMax", StatCrashFreeMax},
    };
    ordered_json summary;
    for (const auto& [name, which] : kSummaries)
        summary[name] = bootJson(m.summary(which));
    j.field("summary", summary);
    j.field("Label33Hint", m.Label33Hint);

    j.array("days", IndexRange<DayRecord>{m.DayList, 1, m.DayCount}, dayJson);
    j.array("WeekdayTable", m.WeekdayTable, [](const WeekdayRecord& w) {
        return ordered_json{{"Name", w.Name.str()}, {"Boots", w.Boots}, {"Crashs", w.Crashs}};
    });
    j.field("Bootverlauf", minuteValues(m.Bootverlauf));
    j.field("Shutdownverlauf", minuteValues(m.Shutdownverlauf));
    j.field("Crashverlauf", minuteValues(m.Crashverlauf));
    j.field("BootverlaufGlatt", minuteValues(m.BootverlaufGlatt));
    j.field("ShutdownverlaufGlatt", minuteValues(m.ShutdownverlaufGlatt));
    j.field("CrashverlaufGlatt", minuteValues(m.CrashverlaufGlatt));
    j.field("Verlauf", minuteValues(m.Verlauf));
    j.field("VerlaufNormiert", minuteValues(m.VerlaufNormiert));
}

}  // namespace quomble::report
