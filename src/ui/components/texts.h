#pragma once

#include "core/records.h"

#include <QString>

#include <string_view>

namespace quomble {

// The texts of the log (timestamps, weekday names, clock texts): single bytes as read.
QString textOf(std::string_view text);
template <std::size_t K>
QString textOf(const FixedText<K>& text)
{
    return textOf(text.view());
}
// "dd.mm.yyyy" and "hh:mm:ss" of a timestamp.
QString datePart(const Timestamp& t);
QString timePart(const Timestamp& t);

// A message of the core (an error text, a finding): UTF-8 where it is valid, else
// Windows-1252 bytes, as a log line quoted in it may be.
QString textFromCore(std::string_view text);

}  // namespace quomble
