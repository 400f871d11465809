#pragma once

#include <string>
#include <string_view>

// Lets the compiler check each message's arguments against its format where it can.
#if defined(__GNUC__) || defined(__clang__)
#define FERROW_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define FERROW_PRINTF_FORMAT
#endif

namespace ferrow {

// Builds one console or log message from a printf format, so every text keeps the exact
// conversions ("%ld", "%f", ...) the operators and their log parsers know.
std::string message(const char* format, ...) FERROW_PRINTF_FORMAT;

// Text-mode line ends on every platform: each "\n" becomes CR LF, every other byte is kept.
std::string withCrLf(std::string_view text);

} // namespace ferrow
