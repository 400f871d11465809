#include "fixed_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace ferrow {

namespace {

constexpr std::array<char, 200> twoDigits = [] {
    std::array<char, 200> table{};
    for (int i = 0; i < 100; ++i) {
        table[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        table[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return table;
}();

char* putTwoDigits(char* out, std::uint64_t value) {
    std::memcpy(out, &twoDigits[2 * value], 2);
    return out + 2;
}

char* putText(char* out, const char* text) {
    const std::size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return out + length;
}

// Below this a float times 1e6 rounds to an integer that fits std::int64_t.
constexpr double integerPathLimit = 0x1p62;

} // namespace

char* formatUnsigned(char* out, std::uint64_t value) {
    int digits = 1;
    for (std::uint64_t rest = value; rest >= 10; rest /= 10) {
        ++digits;
    }
    char* end = out + digits;
    char* p = end;
    while (value >= 100) {
        p -= 2;
        putTwoDigits(p, value % 100);
        value /= 100;
    }
    if (value >= 10) {
        putTwoDigits(p - 2, value);
    } else {
        p[-1] = static_cast<char>('0' + value);
    }
    return end;
}

char* formatFixed6(char* out, float value) {
    if (std::isnan(value)) {
        return putText(out, std::signbit(value) ? "-nan" : "nan");
    }
    if (std::isinf(value)) {
        return putText(out, value < 0 ? "-inf" : "inf");
    }
    // A float has a 24-bit significand and 1e6 = 15625 * 2^6 needs 14 bits more, so the
    // product is exact in a double: rounding it once gives what printf gets from the exact value.
    const double scaled = std::fabs(static_cast<double>(value)) * 1e6;
    if (scaled >= integerPathLimit) {
        return std::to_chars(out, out + maxFixedLength, static_cast<double>(value),
                             std::chars_format::fixed, 6)
            .ptr;
    }
    auto millionths = static_cast<std::uint64_t>(scaled);
    const double remainder = scaled - static_cast<double>(millionths); // exact
    if (remainder > 0.5 || (remainder == 0.5 && (millionths & 1U) != 0)) {
        ++millionths;
    }
    if (std::signbit(value)) {
        *out++ = '-';
    }
    out = formatUnsigned(out, millionths / 1000000);
    *out++ = '.';
    const std::uint64_t fraction = millionths % 1000000;
    out = putTwoDigits(out, fraction / 10000);
    out = putTwoDigits(out, fraction / 100 % 100);
    return putTwoDigits(out, fraction % 100);
}

} // namespace ferrow
