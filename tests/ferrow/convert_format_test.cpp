#include "convert/fixed_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace {

std::string formatted(float value) {
    char text[ferrow::maxFixedLength];
    return {text, ferrow::formatFixed6(text, value)};
}

std::string printed(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

float fromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

// Stops after the first few mismatches so a broken formatter does not flood the output.
class PrintfComparison {
public:
    void check(float value) {
        if (mismatches_ < 10) {
            const std::string expected = printed(value);
            const std::string actual = formatted(value);
            EXPECT_EQ(actual, expected)
                << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value);
            mismatches_ += actual == expected ? 0 : 1;
        }
    }

private:
    int mismatches_ = 0;
};

// printf's "%f" is the reference: exact halves round to even, and the extremes, NaNs and
// infinities come out as printf writes them.
TEST(FixedFormat, MatchesPrintfOnHalvesAndExtremes) {
    PrintfComparison comparison;
    for (int odd = 1; odd < (1 << 20); odd += 2) {
        comparison.check(static_cast<float>(odd) / 128);
        comparison.check(-static_cast<float>(odd) / 256);
    }
    for (float value :
         {0.0f, 1e-9f, 0.1f, 16777216.0f, 0x1p62f / 1e6f, 0x1p62f, 4.6116860e12f, 4.6116865e12f,
          9.2e18f, 1e38f, std::numeric_limits<float>::max(),
          std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN(), fromBits(0x7f800001)}) {
        comparison.check(value);
        comparison.check(-value);
        comparison.check(std::nextafter(value, 0.0f));
        comparison.check(std::nextafter(value, std::numeric_limits<float>::infinity()));
    }
}

TEST(FixedFormat, MatchesPrintfAcrossAllFloatRanges) {
    PrintfComparison comparison;
    // A stride through every bit pattern reaches each exponent, both signs, NaNs and infinities.
    for (std::uint64_t bits = 0; bits <= 0xffffffffU; bits += 4099) {
        comparison.check(fromBits(static_cast<std::uint32_t>(bits)));
    }
    std::mt19937 generator(20261206);
    std::uniform_real_distribution<float> pressures(-2000.0f, 2000.0f);
    std::uniform_int_distribution<std::uint32_t> patterns;
    for (int i = 0; i < 300000; ++i) {
        comparison.check(pressures(generator));
        comparison.check(fromBits(patterns(generator)));
    }
}

} // namespace
