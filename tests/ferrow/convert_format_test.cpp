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

// printf's "%f" is the reference. Stops after the first few mismatches so that a broken
// formatter does not flood the output.
class PrintfComparison {
public:
    void check(float value) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
        char text[ferrow::maxFixedLength];
        const std::string actual(text, ferrow::formatFixed6(text, value));
        if (mismatches_ < 10 && actual != expected) {
            ++mismatches_;
            ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value)
                          << ": got " << actual << ", printf gives " << expected;
        }
    }

private:
    int mismatches_ = 0;
};

// Exact halves round to even; the extremes, NaNs and infinities come out as printf writes them.
TEST(FixedFormat, MatchesPrintfOnHalvesAndExtremes) {
    PrintfComparison comparison;
    for (int odd = 1; odd < (1 << 20); odd += 2) {
        comparison.check(static_cast<float>(odd) / 128);
        comparison.check(-static_cast<float>(odd) / 256);
    }
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (float value :
         {0.0f, 1e-9f, 0.1f, 16777216.0f, 0x1p62f / 1e6f, 0x1p62f, 4.6116860e12f, 4.6116865e12f,
          9.2e18f, 1e38f, std::numeric_limits<float>::max(),
          std::numeric_limits<float>::denorm_min(), infinity,
          std::numeric_limits<float>::quiet_NaN(), std::bit_cast<float>(0x7f800001U)}) {
        for (const float near :
             {value, std::nextafter(value, 0.0f), std::nextafter(value, infinity)}) {
            comparison.check(near);
            comparison.check(-near);
        }
    }
}

TEST(FixedFormat, MatchesPrintfAcrossAllFloatRanges) {
    PrintfComparison comparison;
    // A stride through every bit pattern reaches each exponent, both signs, NaNs and infinities.
    for (std::uint64_t bits = 0; bits <= 0xffffffffU; bits += 4099) {
        comparison.check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    }
    std::mt19937 generator(20261206);
    std::uniform_real_distribution<float> pressures(-2000.0f, 2000.0f);
    std::uniform_int_distribution<std::uint32_t> patterns;
    for (int i = 0; i < 300000; ++i) {
        comparison.check(pressures(generator));
        comparison.check(std::bit_cast<float>(patterns(generator)));
    }
}

} // namespace
