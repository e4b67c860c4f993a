#include "core/intake.h"

#include "core/errors.h"
#include "core/log_lines.h"

#include <exception>
#include <new>

namespace quomble {

std::optional<std::string> runIntake(LogModel& model, const std::filesystem::path& logFile,
                                     const IntakeObserver& observer)
{
    const auto progress = [&observer](int percent) {
        if (observer.progress)
            observer.progress(percent);
    };
    try {
        requireReadableLog(logFile);
        progress(10);
        const std::vector<Finding> findings = LogFileCheck(logFile);
        if (observer.findings)
            observer.findings(findings);
        progress(20);
        model.LogFile_read(logFile);
        progress(50);
        model.Statistik_aktualisieren();
        progress(60);
        model.BC_Array_fuellen();
        progress(100);
    } catch (const IntakeError& e) {
        return e.what();
    } catch (const std::bad_alloc&) {
        return "Not enough memory to read the LogFile!";
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::nullopt;
}

}  // namespace quomble
