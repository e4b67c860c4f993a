#pragma once

#include "core/model.h"
#include "core/validation.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quomble {

// What the start-up intake tells its caller while it runs.
struct IntakeObserver {
    // The percentage reached, before each step: 10 validation, 20 reader, 50 first refresh,
    // 60 day list and analysis, 100 done.
    std::function<void(int percent)> progress;
    // The validation's findings in line order, as soon as the validation is done; the intake
    // goes on after them.
    std::function<void(const std::vector<Finding>& findings)> findings;
};

// The one intake of the desktop program and the report tool: validation, reader, first
// refresh, day list and analysis of `logFile` into `model`. Returns the text of the error
// that stopped it (a missing or unreadable log, an empty log, a timestamp that cannot be
// read, too little memory), or nothing when the model holds the whole log.
std::optional<std::string> runIntake(LogModel& model, const std::filesystem::path& logFile,
                                     const IntakeObserver& observer = {});

}  // namespace quomble
