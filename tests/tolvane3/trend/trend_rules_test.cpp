// The trend window's rules without a window: the axes, the ring of samples,
// what is drawn from it and the saved data.

#include "trend/axisticks.h"
#include "trend/trendcsv.h"
#include "trend/trendpicture.h"
#include "trend/trendring.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <tuple>

namespace {

using namespace TrendData;

// "min..max /step @anchor xticks .decimals"
std::string Text(const AxisTicks::Scale& scale) {
    char text[128];
    std::snprintf(text, sizeof text, "%g..%g /%g @%g x%d .%d", scale.min, scale.max, scale.step,
                  scale.anchor, scale.ticks, scale.decimals);
    return text;
}

TEST(AxisTicks, ValueAxesEndOnRoundTicksAndTimeAxesGrowFromZeroThenSlide) {
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    const std::tuple<double, double, const char*> values[] = {
        {-48.3, -5.27, "-50..0 /10 @-50 x6 .0"},
        {-16.16, -5.27, "-20..-5 /5 @-20 x4 .0"},
        {0.12, 0.47, "0.1..0.5 /0.1 @0.1 x5 .1"},
        {5, 5, "4.5..5.5 /0.5 @4.5 x3 .1"}, // flat: a tenth either side
        {0, 0, "-1..1 /0.5 @-1 x5 .1"},
        {NaN, 3, "-1..1 /0.5 @-1 x5 .1"},
        {-3.4e38, 3.4e38, "-4e+38..4e+38 /2e+38 @-4e+38 x5 .0"},
    };
    for (const auto& [low, high, scale] : values) {
        EXPECT_EQ(Text(AxisTicks::ValueScale(low, high)), scale) << low;
    }
    const std::tuple<double, double, const char*> times[] = {
        {0, 60, "0..1 /0.2 @0 x6 .1"},  {27, 60, "0..27 /10 @0 x3 .0"},
        {60, 60, "0..60 /20 @0 x4 .0"}, {75.5, 60, "15.5..75.5 /20 @20 x3 .0"},
        {-1, 0, "0..1 /0.2 @0 x6 .1"},
    };
    for (const auto& [newest, span, scale] : times) {
        EXPECT_EQ(Text(AxisTicks::TimeScale(newest, span)), scale) << newest;
    }
}

TEST(AxisTicks, AValueAxisWidensAtOnceAndNarrowsOnlyAfterTheDataFitHalfOfItForAWhile) {
    const std::tuple<double, double, double, const char*> steps[] = {
        {0, 27, 0, "0..30"},    {3, 29, 1, "0..30"},   {-2, 29, 2, "-10..30"}, {1, 9, 3, "-10..30"},
        {1, 9, 7.9, "-10..30"}, {1, 25, 8, "-10..30"}, {1, 9, 9, "-10..30"},   {1, 9, 14, "0..10"},
    };
    AxisTicks::StableValueAxis axis;
    for (const auto& [low, high, now, range] : steps) {
        const AxisTicks::Scale& scale = axis.follow(low, high, now);
        EXPECT_EQ(std::to_string(int(scale.min)) + ".." + std::to_string(int(scale.max)), range)
            << now;
    }
}

// Frames first..last, one a second (time = frame), every channel at
// value(frame, channel).
template <typename Value>
SampleRing Filled(std::size_t capacity, int first, int last, Value value) {
    SampleRing ring(capacity);
    for (int frame = first; frame <= last; ++frame) {
        ring.addFrame(frame, frame);
        for (int channel = 0; channel < Channels; ++channel) {
            ring.setValue(channel, value(frame, channel));
        }
    }
    return ring;
}

TEST(TrendRing, KeepsTheNewestFramesInOrderAndOnlyValuesItCanDraw) {
    SampleRing ring(3);
    ring.setValue(0, 1); // before any frame: nowhere to go
    EXPECT_TRUE(ring.empty());
    for (int frame = 1; frame <= 5; ++frame) {
        ring.addFrame(frame, frame);
        ring.setValue(1, static_cast<float>(frame * 10));
    }
    ring.setValue(2, std::numeric_limits<float>::infinity());
    ring.setValue(16, 7);
    ring.setValue(-1, 7);
    ring.addFrame(6, 4.5); // arrived "earlier": kept at the newest time so far
    ASSERT_EQ(ring.size(), 3u);
    EXPECT_EQ(ring[0].frame, 4);
    EXPECT_EQ(ring[1].frame, 5);
    EXPECT_EQ(ring[1].present, 1u << 1);
    EXPECT_EQ(ring[1].values[1], 50);
    EXPECT_EQ(ring[2].time, 5);
    EXPECT_EQ(ring[2].present, 0u);

    ring.setCapacity(2); // a shorter span keeps the newest
    EXPECT_EQ(ring[0].frame, 5);
    ring.setCapacity(10);
    ring.addFrame(7, 7);
    EXPECT_EQ(ring.size(), 3u);
    EXPECT_EQ(ring.firstFrom(6), 2u);
}

TEST(TrendPicture, ShowsTheSpanBeforeTheNewestWithEachColumnsExtremes) {
    // 1,000 frames over 1,000 s of a flat 5 with one spike to 90 and one dip to -40.
    const SampleRing ring = Filled(1000, 1, 1000, [](int frame, int channel) {
        if (channel == 3 && frame == 977) {
            return 90.0f;
        }
        return channel == 3 && frame == 978 ? -40.0f : 5.0f;
    });
    LivePicture live;
    const Picture& picture = live.update(ring, 100, 10); // 900..1000 in columns of 10 s
    EXPECT_EQ(picture.start, 900);
    EXPECT_EQ(picture.end, 1000);
    const QList<QPointF>& spiky = picture.lines[3].points;
    EXPECT_EQ(spiky.front(), QPointF(900, 5)); // the span includes its start
    EXPECT_LE(spiky.size(), 2 * 11);
    EXPECT_TRUE(spiky.contains(QPointF(977, 90)) && spiky.contains(QPointF(978, -40)));
    // A column without a change draws one point.
    EXPECT_EQ(picture.lines[0].points.size(), 11);
    EXPECT_EQ(RangeOf(picture, 0xFFFF).low, -40);
    EXPECT_EQ(RangeOf(picture, 1u << 0).low, 5); // hidden channel 3 does not count
}

TEST(TrendPicture, TakingFramesInAsTheyComeDrawsWhatTakingThemInAtOnceDoes) {
    // 3 s of frames 1 ms apart into a ring of 2 s; channel 0 throughout, channel 5 from 1 s on,
    // at pseudo-random values. Redrawn every so many values (between a frame and its values too,
    // and after more frames than the ring holds), then compared with a picture drawn at the end.
    for (const int every : {3, 7, 4500}) {
        for (const int columns : {4, 13, 500}) {
            SampleRing ring(2000);
            LivePicture live;
            unsigned random = 1;
            int values = 0;
            for (int frame = 0; frame < 3000; ++frame) {
                ring.addFrame(frame, frame / 1000.0);
                for (const int channel : {0, 5}) {
                    if (channel == 5 && frame < 1000) {
                        continue;
                    }
                    random = random * 1103515245 + 12345;
                    ring.setValue(channel, static_cast<float>(random >> 16 & 1023));
                    if (++values % every == 0) {
                        live.update(ring, 1.5, columns);
                    }
                }
            }
            const Picture& taken = live.update(ring, 1.5, columns);
            LivePicture once;
            const Picture& whole = once.update(ring, 1.5, columns);
            for (const int channel : {0, 5}) {
                EXPECT_EQ(taken.lines[channel].points, whole.lines[channel].points)
                    << every << " " << columns;
                EXPECT_EQ(std::pair(taken.lines[channel].low, taken.lines[channel].high),
                          std::pair(whole.lines[channel].low, whole.lines[channel].high));
            }
            EXPECT_EQ(std::pair(taken.start, taken.end), std::pair(whole.start, whole.end));
        }
    }
}

TEST(TrendCsv, SavesTheShownChannelsOfTheSpanWithFrameAndTimeFirst) {
    SampleRing ring = Filled(10, 1, 3, [](int frame, int channel) {
        return static_cast<float>(frame) + static_cast<float>(channel) / 8;
    });
    ring.addFrame(4, 3.25);
    ring.setValue(0, -0.1f); // not -0.10000000149, its value in double; channel 15's never came
    const quint16 firstAndLast = 1u << 0 | 1u << 15;
    EXPECT_EQ(CsvOf(ring, 1.5, firstAndLast), QByteArray("Frame,Time,Ch 1,Ch 16\r\n"
                                                         "2,2.000,2,3.875\r\n"
                                                         "3,3.000,3,4.875\r\n"
                                                         "4,3.250,-0.1,\r\n"));
    EXPECT_EQ(CsvOf(SampleRing(1), 60, 1u << 2), QByteArray("Frame,Time,Ch 3\r\n"));
}

} // namespace
