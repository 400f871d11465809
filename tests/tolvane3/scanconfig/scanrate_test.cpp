// Scan timing: rate, period and average in single precision, their guards, halves to even, the
// 16-bit limit, and the texts the dialog shows and sends.

#include "program/Global.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

TEST(ScanRate, RateFromAverageAndPeriod) {
    const struct {
        int average;
        float period;
        const char* rate;
    } cases[] = {
        {10, 500, "12.5"}, {2, 500, "62.5"},    {7, 300, "29.76191"}, // period first, then 1/period
        {1, 500, "125"},   {5, 500, "25"},      {1, 50, "1250"},      {10, 40, "0"},
        {0, 500, "0"},     {-3, 500, "0"},      {1, 49.99f, "0"},     {1, Inf, "0"},
        {1, NaN, "0"},     {32767, 3e38f, "0"}, // overflows single precision
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Global::NumberText(Global::CalcScanRate(c.average, c.period)),
                  QLatin1String(c.rate))
            << c.average << " x " << c.period;
    }
    EXPECT_EQ(Global::FramePeriodOf(2, 500), 0.016f);
    EXPECT_EQ(Global::FramePeriodOf(0, 500), 0.0f);
}

TEST(ScanRate, PeriodAndAverageFromRate) {
    const struct {
        int average;
        float rate;
        const char* period;
    } periods[] = {
        {4, 100, "156.25"}, {1, 125, "500"},  {0, 100, "0"},
        {4, 0, "0"},        {4, 1e-40f, "0"}, {4, NaN, "0"},
    };
    for (const auto& c : periods) {
        EXPECT_EQ(Global::NumberText(Global::CalcPeriodFromRate(c.average, c.rate)),
                  QLatin1String(c.period))
            << c.average << " at " << c.rate;
    }
    const struct {
        float period;
        float rate;
        int average;
    } averages[] = {
        {500, 100, 1},       {500, 250, 0}, {500, 50, 2}, // 1.25, and halves to even: 0.5 and 2.5
        {500, 0.125f, 1000}, {40, 100, 0},  {500, 0, 0},
        {50, 1e-6f, 0}, // 1.25e12 samples do not fit 16 bits
        {NaN, 100, 0},
    };
    for (const auto& c : averages) {
        EXPECT_EQ(Global::CalcAverageFromRate(c.period, c.rate), c.average)
            << c.period << " at " << c.rate;
    }
}

TEST(ScanRate, AverageTextAsSixteenBitWholeNumber) {
    const struct {
        const char* text;
        int average;
    } cases[] = {
        {"10", 10},         {" 2.5", 2},      {"3.5", 4},
        {"12abc", 12},      {"abc", 0},       {"", 0},
        {"1e5", 1},         {"32767", 32767}, {"32768", 0},
        {"-32768", -32768}, {"-32769", 0},    {"99999999999999999999999999", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Global::AverageOf(QString::fromLatin1(c.text)), c.average) << c.text;
    }
}

TEST(ScanRate, NumberTextHasSevenDigitsAndAPoint) {
    // A locale with a decimal comma must not leak into texts sent to the module.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0f, "0"},
        {100, "100"},
        {12.5f, "12.5"},
        {-2.5f, "-2.5"},
        {1234567, "1234567"},
        {12345678, "12345680"}, // no exponent: the module reads no exponents
        {0.0001234567f, "0.0001234567"},
        {0.1f, "0.1"},
        {9.9999999f, "10"},
        {Inf, "0"},
        {NaN, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Global::NumberText(c.value), QLatin1String(c.text)) << c.text;
    }
    QLocale::setDefault(QLocale::c());
}

} // namespace
