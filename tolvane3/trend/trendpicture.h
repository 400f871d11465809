#pragma once
// What the trend window draws from its samples: the last span up to the newest frame, each
// channel's values as points. A 60 s span of a 1 kHz scan holds 60,000 frames, far more than
// a plot has pixel columns, so each column keeps only its lowest and highest value: the line
// looks the same, spikes included, and the chart gets a few thousand points instead of a million.
//
// Columns fall on whole multiples of their width, not on the moving left edge, so a column keeps
// its extremes while the picture slides: each redraw takes in only the frames that came since the
// last one and drops the columns that slid out of the span.

#include "trendring.h"

#include <QList>
#include <QPointF>
#include <deque>

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

class LivePicture {
public:
    // The span before the newest sample, drawn as whole columns (at least 1), so the first may
    // begin a little before it; 0 to 0 without samples. A change of span or columns, or samples
    // that went by unseen, start the picture afresh from the ring.
    const Picture& update(const SampleRing& samples, double span, int columns);
    const Picture& picture() const { return picture_; }
    // Forgets what was taken in: the next update starts afresh.
    void reset();

private:
    // One channel's lowest and highest point in one column.
    struct Extremes {
        qint64 column;
        QPointF low;
        QPointF high;
    };

    void take(const Sample& sample);
    void drawLines();

    Picture picture_;
    std::array<std::deque<Extremes>, Channels> columns_;
    double span_ = 0;
    int columnCount_ = 0;
    double width_ = 1;
    std::uint64_t taken_ = 0; // the ring's added() when it was last taken in; 0 for none
};

struct ValueRange {
    double low;
    double high;
};

// The lowest and highest value of the shown channels (bit n: channel n); low above high (the
// infinities) with nothing to show.
ValueRange RangeOf(const Picture& picture, quint16 shown);

} // namespace TrendData
