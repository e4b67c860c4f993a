#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quomble {

// An error that stops the intake; its text is shown to the user as it stands.
class IntakeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A piece of log text made safe to quote in a message: control bytes become '?',
// and very long texts are shortened.
std::string quoteForMessage(std::string_view text);

}  // namespace quomble
