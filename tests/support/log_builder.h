#pragma once

#include "core/datetime.h"
#include "core/log_lines.h"
#include "core/model.h"
#include "support/clock.h"

#include <memory>
#include <string>
#include <string_view>

namespace quomble::testing {

// Joins lines into a log text with CR LF line ends.
inline std::string logText(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// Reads a log text into a model at the given clock and runs the first refresh.
inline void readAndRefresh(LogModel& model, std::string_view text)
{
    LogLineReader lines(text);
    model.LogFile_read(lines);
    model.Statistik_aktualisieren();
}

}  // namespace quomble::testing
