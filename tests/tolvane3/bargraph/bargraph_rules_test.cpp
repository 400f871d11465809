// The bar graph's rules without a window: bars, font, value texts, tags and warnings.

#include "bargraph/AlarmLimits.h"
#include "bargraph/barfont.h"
#include "bargraph/bargeometry.h"
#include "bargraph/bartags.h"
#include "bargraph/overrange.h"
#include "bargraph/valuetext.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <tuple>

namespace {

constexpr float Infinite = std::numeric_limits<float>::infinity();
constexpr float NotANumber = std::numeric_limits<float>::quiet_NaN();

// Channel 2's bar on a drawing area of 1000 x 1000 pixels: its row lies at 210 to 240. What
// cannot be drawn gives no bar.
TEST(BarGeometry, BarsRunFromTheZeroLineAndOnlyAsFarAsCanBeSeen) {
    const std::tuple<float, float, std::optional<QRect>> rows[] = {
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
    for (const auto& [value, fullScale, pixels] : rows) {
        const auto bar = BarGraph::CalcBarRect(2, value, fullScale);
        EXPECT_EQ(bar ? std::optional(BarGraph::ToPixels(BarGraph::BarFraction(*bar), {1000, 1000}))
                      : std::nullopt,
                  pixels)
            << value << " of " << fullScale;
    }
    const auto half = BarGraph::CalcBarRect(2, 7.5f, 15);
    EXPECT_FLOAT_EQ(half->left + half->width, 0.6833475f);
}

// On an area 1000 pixels wide the grid lines lie 66.7 pixels apart.
TEST(BarGeometry, LegendShowsEveryLabelEveryOtherOrOnlyTheEndsAndZeroAsTheyFit) {
    // The widest label, the gap, the area's width; the labels shown and label 8's place.
    const std::tuple<double, double, int, const char*, QRect> rows[] = {
        {60, 6, 1000, "xxxxxxxxx", {783, 910, 80, 50}},
        {61, 6, 1000, "x.x.x.x.x", {750, 910, 147, 50}},
        {127, 6, 1000, "x.x.x.x.x", {750, 910, 147, 50}},
        {128, 6, 1000, "x...x...x", {683, 910, 280, 50}},
        {260, 6, 1000, "x...x...x", {683, 910, 280, 50}},
        {261, 6, 1000, ".........", {783, 910, 80, 50}},
        {60, 6, 0, ".........", {783, 910, 80, 50}},
    };
    for (const auto& [widest, gap, areaWidth, shown, last] : rows) {
        const int stride = BarGraph::LegendStride(widest, gap, areaWidth);
        QString marks;
        for (int k = 0; k < 9; ++k) {
            marks += BarGraph::LegendShown(k, stride) ? QLatin1Char('x') : QLatin1Char('.');
        }
        EXPECT_EQ(marks, QLatin1String(shown)) << widest << " on " << areaWidth;
        EXPECT_EQ(BarGraph::ToPixels(BarGraph::LegendRect(8, stride), {1000, 1000}), last)
            << widest;
    }
    // Label 0 keeps its centre whatever the stride.
    EXPECT_EQ(BarGraph::ToPixels(BarGraph::LegendRect(0, 4), {1000, 1000}),
              QRect(150, 910, 280, 50));
}

TEST(BarFont, ThreeQuartersOfTheLabelHeightInPointsSmallFontsBelowSeven) {
    const std::tuple<double, double, const char*, double> rows[] = {
        {20, 96, "Arial", 11.25},
        {7, 54, "Arial", 7}, // 7 points exactly is not below 7
        {6.48, 54, "Small Fonts", 6.48},
        {0.5, 96, "Small Fonts", 1}, // never below one point
    };
    for (const auto& [heightPixels, dotsPerInch, family, points] : rows) {
        const BarGraph::LabelFont font = BarGraph::LabelFontFor(heightPixels, dotsPerInch);
        EXPECT_EQ(font.family, QLatin1String(family)) << heightPixels;
        EXPECT_DOUBLE_EQ(font.pointSize, points) << heightPixels;
    }
}

TEST(ValueText, NumbersInTheDisplayFormatOtherTextUnchanged) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
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
    for (const auto& [text, format, shown] : rows) {
        EXPECT_EQ(BarGraph::ValueText(QLatin1String(text), QLatin1String(format)),
                  QLatin1String(shown))
            << text << " in " << format;
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
    // The range; the channels tagged low and high.
    const std::tuple<int, int, int, int> rows[] = {
        {0, 15, 3, 12},           {0, 7, 3, 6},   {8, 15, 8, 12}, {4, 5, 5, 4}, {9, 9, 9, 9},
        {8, 7, 0, 0} /* empty */, {-5, 40, 3, 12} /* outside skipped */};
    for (const auto& [start, end, low, high] : rows) {
        const BarGraph::Tags tags = BarGraph::ChooseTags(shown, start, end);
        EXPECT_EQ(std::pair(tags.low, tags.high), std::pair(low, high)) << start << " to " << end;
    }
}

// Against a full scale of 15 and alarm limits -2 to 10 when they are on.
TEST(Warnings, BeyondFullScaleOnEitherSideAndBeyondAlarmLimitsWhileOn) {
    const Global::AlarmRange on{true, -2, 10};
    // The value, full scale and limits; over range, beyond the limits.
    const std::tuple<float, float, Global::AlarmRange, bool, bool> rows[] = {
        {15, 15, on, false, true},       // at full scale is not beyond it
        {-15.01f, 15, on, true, true},   // the scale runs to minus full scale
        {-16, -15, {}, true, false},     // a negative full scale mirrors
        {Infinite, 15, {}, true, false}, // a value beyond single precision
        {NotANumber, 15, on, false, false},
        {99, 0, {}, false, false},  // no full scale, nothing to tell
        {10, 15, on, false, false}, // at a limit is not beyond it
        {-2.5f, 15, on, false, true},
        {-2.5f, 15, {false, -2, 10}, false, false},
    };
    for (const auto& [value, fullScale, limits, overRange, alarm] : rows) {
        EXPECT_EQ(BarGraph::WarningsFor(value, fullScale, limits),
                  (BarGraph::ChannelWarnings{overRange, alarm}))
            << value << " of " << fullScale;
    }
}

// Each excursion is counted once, from the value that begins it to the one back inside; the
// text names the channels from 1.
TEST(Warnings, EachExcursionCountsOnceAndTheTextNamesItsChannels) {
    std::fill(std::begin(Global::OverRangeEvents), std::end(Global::OverRangeEvents), 0);
    std::fill(std::begin(Global::AlarmEvents), std::end(Global::AlarmEvents), 0);
    BarGraph::ExcursionTracker tracker;
    const BarGraph::ChannelWarnings none{}, over{true, false}, alarm{false, true}, both{true, true};
    // The channel and its warnings now; whether that changed them and the text after it.
    const std::tuple<int, BarGraph::ChannelWarnings, bool, const char*> steps[] = {
        {8, over, true, "Over range: 9"},
        {8, over, false, "Over range: 9"},
        {10, both, true, "Over range: 9, 11  Alarm limits: 11"},
        {8, alarm, true, "Over range: 11  Alarm limits: 9, 11"},
        {10, none, true, "Alarm limits: 9"},
        {8, both, true, "Over range: 9  Alarm limits: 9"},
        {16, over, false, "Over range: 9  Alarm limits: 9"}, // no such channel
        {8, none, true, ""},
    };
    for (const auto& [channel, now, changed, text] : steps) {
        EXPECT_EQ(tracker.update(channel, now), changed) << text;
        EXPECT_EQ(BarGraph::WarningText(tracker), QLatin1String(text));
    }
    EXPECT_EQ(std::tuple(Global::OverRangeEvents[8], Global::AlarmEvents[8],
                         Global::OverRangeEvents[10], Global::AlarmEvents[10]),
              std::tuple(2, 1, 1, 1));
    tracker.update(3, over);
    tracker.clear(); // ends the excursion uncounted; the next value begins a new one
    EXPECT_EQ(BarGraph::WarningText(tracker), QString());
    tracker.update(3, over);
    EXPECT_EQ(Global::OverRangeEvents[3], 2);
}

// Channel 2 on 1000 x 1000 pixels: the bar runs to 25 pixels before the axis's end, where the
// arrowhead, 40 pixels high around the bar's row, ends.
TEST(BarGeometry, AnOverRangeBarRunsToTheAxisEndWithAnArrowhead) {
    const auto pixels = [](const QRectF& fraction) {
        return BarGraph::ToPixels(fraction, {1000, 1000});
    };
    const auto right = BarGraph::OverRangeBarFor(2, BarGraph::DrawnRightOfZero(-16, -15));
    EXPECT_EQ(pixels(BarGraph::BarFraction(right.shaft)), QRect(550, 210, 275, 30));
    EXPECT_EQ(pixels(right.head), QRect(825, 205, 25, 40));
    const auto left = BarGraph::OverRangeBarFor(2, BarGraph::DrawnRightOfZero(-16, 15));
    EXPECT_EQ(pixels(BarGraph::BarFraction(left.shaft)), QRect(275, 210, 275, 30));
    EXPECT_EQ(pixels(left.head), QRect(250, 205, 25, 40));
    EXPECT_EQ(BarGraph::ArrowHead({25, 40}, false), QPolygonF({{25, 0}, {0, 20}, {25, 40}}));
}

TEST(AlarmLimits, ARowIsNumbersOrEmptyAndOnNeedsLowBelowHigh) {
    const std::tuple<bool, const char*, const char*, const char*, Global::AlarmRange> rows[] = {
        {true, " -5 ", "12.5", "", {true, -5, 12.5f}},
        {false, "", "", "", {}},
        {false, "7", "3", "", {false, 7, 3}}, // kept for when it is switched on
        {true, "3", "3", "Low must be below High", {}},
        {true, "", "3", "Low must be below High", {}},
        {false, "1,5", "3", "Low and High must be numbers", {}},
        {true, "1", "1e39", "Low and High must be numbers", {}},
        {false, "nan", "", "Low and High must be numbers", {}},
    };
    for (const auto& [enabled, low, high, problem, range] : rows) {
        const BarGraph::AlarmRow read =
            BarGraph::ReadAlarmRow(enabled, QLatin1String(low), QLatin1String(high));
        EXPECT_EQ(read.problem, QLatin1String(problem)) << low << " " << high;
        EXPECT_EQ(read.range, range) << low << " " << high;
    }
}

} // namespace
