#pragma once

#include "core/model.h"
#include "core/validation.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// The readable summary of an analysed log, as `quomble-report` prints it and the main
// window copies it: the log's name, the findings of the log check, then (unless the intake
// stopped with `error` or the log has no boots) the figures with their captions and hints
// and the totals.
std::string summaryText(const LogModel& model, std::string_view logFile, const std::vector<Finding>& findings,
                        const std::optional<std::string>& error);

}  // namespace quomble
