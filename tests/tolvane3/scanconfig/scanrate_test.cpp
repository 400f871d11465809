// Scan timing: rate, period and average in single precision, their guards, halves to even, the
// 16-bit limit, and the texts the dialog shows and sends.

#include "program/Global.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

TEST(ScanRate, RateFromAverageAndPeriod) {
    const std::tuple<int, float, const char*> cases[] = {
        {10, 500, "12.5"}, {7, 300, "29.76191"}, // period first, then 1/period
        {1, 50, "1250"},   {10, 40, "0"},        {0, 500, "0"},       {1, 49.99f, "0"},
        {1, Inf, "0"},     {1, NaN, "0"},        {32767, 3e38f, "0"}, // overflows single precision
    };
    for (const auto& [average, period, rate] : cases) {
        EXPECT_EQ(Global::NumberText(Global::CalcScanRate(average, period)), QLatin1String(rate))
            << average << " x " << period;
    }
    EXPECT_EQ(Global::FramePeriodOf(2, 500), 0.016f);
    EXPECT_EQ(Global::FramePeriodOf(0, 500), 0.0f);
}

TEST(ScanRate, PeriodAndAverageFromRate) {
    const std::tuple<int, float, const char*> periods[] = {
        {4, 100, "156.25"}, {0, 100, "0"}, {4, 0, "0"}, {4, 1e-40f, "0"}, {4, NaN, "0"},
    };
    for (const auto& [average, rate, period] : periods) {
        EXPECT_EQ(Global::NumberText(Global::CalcPeriodFromRate(average, rate)),
                  QLatin1String(period))
            << average << " at " << rate;
    }
    const std::tuple<float, float, int> averages[] = {
        {500, 100, 1}, {500, 250, 0}, {500, 50, 2},   // 1.25, and halves to even: 0.5 and 2.5
        {40, 100, 0},  {500, 0, 0},   {50, 1e-6f, 0}, // 1.25e12 samples do not fit 16 bits
        {NaN, 100, 0},
    };
    for (const auto& [period, rate, average] : averages) {
        EXPECT_EQ(Global::CalcAverageFromRate(period, rate), average) << period << " at " << rate;
    }
}

TEST(ScanRate, AverageTextAsSixteenBitWholeNumber) {
    const std::pair<const char*, int> cases[] = {
        {" 2.5", 2}, {"3.5", 4},       {"12abc", 12}, {"", 0},
        {"1e5", 1},  {"32767", 32767}, {"32768", 0},  {"-32769", 0},
    };
    for (const auto& [text, average] : cases) {
        EXPECT_EQ(Global::AverageOf(QString::fromLatin1(text)), average) << text;
    }
}

TEST(ScanRate, NumberTextHasSevenDigitsAndAPoint) {
    // A locale with a decimal comma must not leak into texts sent to the module.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::pair<float, const char*> cases[] = {
        {-0.0f, "0"},  {-2.5f, "-2.5"},        {0.0001234567f, "0.0001234567"},
        {0.1f, "0.1"}, {9.9999999f, "10"},     {Inf, "0"},
        {NaN, "0"},    {12345678, "12345680"}, // no exponent: the module reads no exponents
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(Global::NumberText(value), QLatin1String(text)) << text;
    }
    QLocale::setDefault(QLocale::c());
}

} // namespace
