#pragma once

#include "core/datetime.h"
#include "core/records.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quomble {

class LogLineReader;

// Everything derived from the boot log: the boot list with its summary records, the day
// list, the counters and the analysis tables. The windows and the report tool read it;
// only the operations below change it. The clock is an input, so "now" can be fixed.
class LogModel {
public:
    explicit LogModel(Clock clock = systemClock());

    // --- Log reader and live refresh -------------------------------------------------
    // Reads every log line into the boot list; throws IntakeError on an empty log or a
    // timestamp that cannot be read (the model is then left without boots).
    void LogFile_read(LogLineReader& lines);
    void LogFile_read(const std::filesystem::path& logFile);
    // Brings the running boot and the summary records up to the present.
    void Statistik_aktualisieren();
    // Rewrites the split fields of BootList[index] from its OnTime and OffTime.
    void Zeit_zerlegen(int index);

    // --- Day list and analysis (once, after the first refresh) ------------------------
    void BC_Array_fuellen();
    // The on-time per daytime curve; progress receives the shown percentage whenever it
    // changes. Runs only while DaytimePending is set and clears it itself, so a second
    // call does nothing (clearing it again in the caller is harmless). BC_Array_fuellen
    // resets the curve and sets DaytimePending again.
    void Verlauf_berechnen(const std::function<void(int percent)>& progress = {});
    void BootGlaettung_berechnen(int TrendDays);
    void BootverlaufGlaettung_berechnen(int SmoothRadius);
    void Verlauf_normieren();

    // Releases both lists with all their records (the main window closes).
    void release();

    // --- Access ------------------------------------------------------------------------
    BootRecord& boot(int index) { return BootList[static_cast<std::size_t>(index)]; }
    const BootRecord& boot(int index) const { return BootList[static_cast<std::size_t>(index)]; }
    BootRecord& summary(Summary which) { return boot(BootCount + which); }
    const BootRecord& summary(Summary which) const { return boot(BootCount + which); }
    DayRecord& day(int index) { return DayList[static_cast<std::size_t>(index)]; }
    const DayRecord& day(int index) const { return DayList[static_cast<std::size_t>(index)]; }
    bool hasBoots() const { return BootCount > 0; }
    const Clock& clock() const { return clock_; }

    // Index 0 is a placeholder; boots 1..BootCount, then the eleven summary records.
    std::vector<BootRecord> BootList;
    std::int32_t BootCount = 0;
    std::int32_t LogoutCount = 0;
    std::int32_t CrashCount = 0;
    std::string CurrentDateTime;
    std::string Label33Hint;  // hint of the "longest crash-free OnTime" label

    // Index 0 is a placeholder; days 1..DayCount, then one extra record for tomorrow.
    std::vector<DayRecord> DayList;
    std::int32_t DayCount = 0;
    std::int32_t DaysWithOnTime = 0;
    float BootIndex = 0;
    float CrashsPerBoot = 0;
    float CrashsPerDay = 0;
    std::int32_t MaxBootsPerDay = 0;
    std::int32_t MaxBootFrequency = 0;
    std::array<WeekdayRecord, 7> WeekdayTable{};  // Monday first

    MinuteTable Verlauf{};
    MinuteTable VerlaufNormiert{};
    MinuteTable Bootverlauf{};
    MinuteTable Shutdownverlauf{};
    MinuteTable Crashverlauf{};
    MinuteTable BootverlaufGlatt{};
    MinuteTable ShutdownverlaufGlatt{};
    MinuteTable CrashverlaufGlatt{};
    MinuteTable Einzelverlauf{};
    bool DaytimePending = true;  // the on-time curve has not been computed yet (see above)

private:
    void refreshCurrentBoot();

    Clock clock_;
    // The finished boots' share of the figures, kept in 64 bits so that no sum overflows;
    // the 32-bit record fields receive saturated copies.
    std::int64_t finishedOnTimeSum_ = 0;
    std::int64_t finishedOffTimeSum_ = 0;
    std::int64_t sinceCrashFinishedSum_ = 0;
    DateTime currentLogIn_ = 0;
    DateTime firstLogIn_ = 0;
};

}  // namespace quomble
