#pragma once
// What the trend window draws from its samples: the last span up to the newest frame, each
// channel's values as points. A 60 s span of a 1 kHz scan holds 60,000 frames, far more than
// a plot has pixel columns, so each column keeps only its lowest and highest value: the line
// looks the same, spikes included, and the chart gets a few thousand points instead of a million.

#include "trendring.h"

#include <QList>
#include <QPointF>

namespace TrendData {

struct ChannelLine {
    QList<QPointF> points; // x the time in seconds, in time order
    double low = 0;        // lowest and highest y; meaningless without points
    double high = 0;
};

struct Picture {
    double start = 0; // the times shown, newest at the end
    double end = 0;
    std::array<ChannelLine, Channels> lines;
};

// The span before the newest sample (0 to span without samples), at most two points per column
// per channel (columns at least 1).
Picture Project(const SampleRing& samples, double span, int columns);

struct ValueRange {
    double low;
    double high;
};

// The values of the shown channels (bit n: channel n) with a twentieth of room above and below;
// 1 either side of a flat line, -1 to 1 with nothing to show.
ValueRange RangeOf(const Picture& picture, quint16 shown);

} // namespace TrendData
