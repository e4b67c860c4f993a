#pragma once

namespace quomble {

// The project's contact addresses as the About window shows them. The web address is
// written without a scheme; the window opens it as a web page.
inline constexpr const char* kWebAddress = "www.example.org/quombleview";
inline constexpr const char* kMailAddress = "quombleview@example.org";

}  // namespace quomble
