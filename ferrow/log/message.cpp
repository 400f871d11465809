#include "message.h"

#include <cstdarg>
#include <cstdio>

namespace ferrow {

std::string message(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        // vsnprintf writes the terminating NUL into the string's own terminator slot.
        std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    }
    va_end(arguments);
    return text;
}

std::string withCrLf(std::string_view text) {
    std::string converted;
    converted.reserve(text.size() + text.size() / 16 + 2);
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

} // namespace ferrow
