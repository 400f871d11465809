#pragma once

#include <cstddef>
#include <cstdint>

namespace ferrow {

// Room for the longest "%f" text of a float: "-", 39 integer digits, ".", 6 decimals.
inline constexpr std::size_t maxFixedLength = 47;
// Room for the longest unsigned 32-bit number.
inline constexpr std::size_t maxUnsignedLength = 10;

// Writes value exactly as printf's "%f" does (six decimals, half to even, "-0.000000", "nan",
// "-inf", ...) at out and returns the end. No terminating NUL.
char* formatFixed6(char* out, float value);

// Writes value in decimal at out and returns the end. No terminating NUL.
char* formatUnsigned(char* out, std::uint64_t value);

} // namespace ferrow
