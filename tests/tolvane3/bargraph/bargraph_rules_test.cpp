// The bar graph's rules without a window: bars, font, value texts and tags.

#include "bargraph/barfont.h"
#include "bargraph/bargeometry.h"
#include "bargraph/bartags.h"
#include "bargraph/valuetext.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace {

constexpr float Infinite = std::numeric_limits<float>::infinity();
constexpr float NotANumber = std::numeric_limits<float>::quiet_NaN();

// Channel 2's bar on a drawing area of 1000 x 1000 pixels: its row lies at 210 to 240. What
// cannot be drawn gives no bar.
TEST(BarGeometry, BarsRunFromTheZeroLineAndOnlyAsFarAsCanBeSeen) {
    const struct {
        float value;
        float fullScale;
        std::optional<QRect> pixels;
    } rows[] = {
        {7.5f, 15, QRect(550, 210, 133, 30)},       // half full scale: 0.55 to 0.6833475
        {-7.5f, 15, QRect(417, 210, 133, 30)},      // minus half: 0.4166525 to 0.55
        {0, 15, QRect(550, 210, 0, 30)},            // nothing to either side
        {15, 15, QRect(550, 210, 267, 30)},         // ends on the rightmost grid line
        {-15, 15, QRect(283, 210, 267, 30)},        // starts beside the leftmost one
        {1e30f, 1, QRect(550, 210, 1450, 30)},      // past the edge, held one area beyond it
        {-32767, -32767, QRect(550, 210, 267, 30)}, // a negative full scale mirrors
        {1, 0, {}},
        {1, -0.0f, {}},
        {1, Infinite, {}},
        {1, NotANumber, {}},
        {Infinite, 15, {}},
        {NotANumber, 15, {}},
        {3e38f, 1e-30f, {}}, // beyond single precision
    };
    for (const auto& row : rows) {
        const auto bar = BarGraph::CalcBarRect(2, row.value, row.fullScale);
        EXPECT_EQ(bar ? std::optional(BarGraph::ToPixels(BarGraph::BarFraction(*bar), {1000, 1000}))
                      : std::nullopt,
                  row.pixels)
            << row.value << " of " << row.fullScale;
    }
    const auto half = BarGraph::CalcBarRect(2, 7.5f, 15);
    EXPECT_FLOAT_EQ(half->left + half->width, 0.6833475f);
}

// On an area 1000 pixels wide the grid lines lie 66.7 pixels apart.
TEST(BarGeometry, LegendShowsEveryLabelEveryOtherOrOnlyTheEndsAndZeroAsTheyFit) {
    const struct {
        double widest;
        double gap;
        int areaWidth;
        const char* shown;
        QRect last; // label 8's place
    } rows[] = {
        {60, 6, 1000, "xxxxxxxxx", {783, 910, 80, 50}},
        {61, 6, 1000, "x.x.x.x.x", {750, 910, 147, 50}},
        {127, 6, 1000, "x.x.x.x.x", {750, 910, 147, 50}},
        {128, 6, 1000, "x...x...x", {683, 910, 280, 50}},
        {260, 6, 1000, "x...x...x", {683, 910, 280, 50}},
        {261, 6, 1000, ".........", {783, 910, 80, 50}},
        {60, 6, 0, ".........", {783, 910, 80, 50}},
    };
    for (const auto& row : rows) {
        const int stride = BarGraph::LegendStride(row.widest, row.gap, row.areaWidth);
        QString shown;
        for (int k = 0; k < 9; ++k) {
            shown += BarGraph::LegendShown(k, stride) ? QLatin1Char('x') : QLatin1Char('.');
        }
        EXPECT_EQ(shown, QLatin1String(row.shown)) << row.widest << " on " << row.areaWidth;
        EXPECT_EQ(BarGraph::ToPixels(BarGraph::LegendRect(8, stride), {1000, 1000}), row.last)
            << row.widest;
    }
    // Label 0 keeps its centre whatever the stride.
    EXPECT_EQ(BarGraph::ToPixels(BarGraph::LegendRect(0, 4), {1000, 1000}),
              QRect(150, 910, 280, 50));
}

TEST(BarFont, ThreeQuartersOfTheLabelHeightInPointsSmallFontsBelowSeven) {
    const struct {
        double heightPixels;
        double dotsPerInch;
        const char* family;
        double points;
    } rows[] = {
        {20, 96, "Arial", 11.25},
        {7, 54, "Arial", 7}, // 7 points exactly is not below 7
        {6.48, 54, "Small Fonts", 6.48},
        {0.5, 96, "Small Fonts", 1}, // never below one point
    };
    for (const auto& row : rows) {
        const BarGraph::LabelFont font = BarGraph::LabelFontFor(row.heightPixels, row.dotsPerInch);
        EXPECT_EQ(font.family, QLatin1String(row.family)) << row.heightPixels;
        EXPECT_DOUBLE_EQ(font.pointSize, row.points) << row.heightPixels;
    }
}

TEST(ValueText, NumbersInTheDisplayFormatOtherTextUnchanged) {
    const struct {
        const char* text;
        const char* format;
        const char* shown;
    } rows[] = {
        {"12.3456", "0.00", "12.35"},
        {"12.3456", "0", "12"},
        {"-3.5", "0.00000", "-3.50000"},
        {" 7 ", "0.0", "7.0"},
        {"1e3", "0", "1000"},
        {"-0.001", "0.00", "0.00"}, // no minus on a zero
        {"12abc", "0.00", "12abc"},
        {"<b>1</b>", "0.00", "<b>1</b>"},
        {"inf", "0.00", "inf"},
        {"", "0.00", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BarGraph::ValueText(QLatin1String(row.text), QLatin1String(row.format)),
                  QLatin1String(row.shown))
            << row.text << " in " << row.format;
    }
}

TEST(Tags, LowestAndHighestInTheRangeTiesKeepTheFirst) {
    std::array<double, 16> shown{};
    shown.fill(5);
    shown[3] = -2;
    shown[5] = -2;
    shown[6] = 9;
    shown[7] = 9;
    shown[12] = 40;
    const struct {
        int start;
        int end;
        int low;
        int high;
    } rows[] = {{0, 15, 3, 12}, {0, 7, 3, 6}, {8, 15, 8, 12},
                {4, 5, 5, 4},   {9, 9, 9, 9}, {8, 7, 0, 0} /* empty */,
                {-5, 40, 3, 12} /* outside skipped */};
    for (const auto& row : rows) {
        const BarGraph::Tags tags = BarGraph::ChooseTags(shown, row.start, row.end);
        EXPECT_EQ(tags.low, row.low) << row.start << " to " << row.end;
        EXPECT_EQ(tags.high, row.high) << row.start << " to " << row.end;
    }
}

} // namespace
