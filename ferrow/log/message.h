#pragma once

#include <string>
#include <string_view>

namespace ferrow {

// Builds one console or log message from a printf format, so every text keeps the exact
// conversions ("%ld", "%f", ...) the operators and their log parsers know.
std::string message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Text-mode line ends on every platform: each "\n" becomes CR LF, every other byte is kept.
std::string withCrLf(std::string_view text);

} // namespace ferrow
