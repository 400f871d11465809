#include "trendpicture.h"

#include <algorithm>
#include <cmath>

namespace TrendData {
namespace {

// One channel's lowest and highest value in the pixel column being filled.
struct Column {
    double index = 0;
    bool open = false;
    QPointF low;
    QPointF high;

    void take(double column, const QPointF& point, ChannelLine& line) {
        if (open && column == index) {
            if (point.y() < low.y()) {
                low = point;
            }
            if (point.y() > high.y()) {
                high = point;
            }
            return;
        }
        flushInto(line);
        index = column;
        open = true;
        low = point;
        high = point;
    }
    void flushInto(ChannelLine& line) const {
        if (!open) {
            return;
        }
        if (line.points.isEmpty()) {
            line.low = low.y();
            line.high = high.y();
        } else {
            line.low = std::min(line.low, low.y());
            line.high = std::max(line.high, high.y());
        }
        if (low == high) {
            line.points.append(low);
        } else if (low.x() <= high.x()) {
            line.points.append({low, high});
        } else {
            line.points.append({high, low});
        }
    }
};

} // namespace

Picture Project(const SampleRing& samples, double span, int columns) {
    Picture picture;
    picture.end = samples.empty() ? span : samples.newest().time;
    picture.start = picture.end - span;
    // Columns fall on whole multiples of their width, not from the moving left edge, so that a
    // column keeps its points while the picture scrolls.
    const double width = span / std::max(columns, 1);
    std::array<Column, Channels> open{};
    for (std::size_t i = samples.firstFrom(picture.start); i < samples.size(); ++i) {
        const Sample& sample = samples[i];
        const double column = std::floor(sample.time / width);
        for (int channel = 0; channel < Channels; ++channel) {
            if (sample.present & (1u << channel)) {
                open[channel].take(column, {sample.time, sample.values[channel]},
                                   picture.lines[channel]);
            }
        }
    }
    for (int channel = 0; channel < Channels; ++channel) {
        open[channel].flushInto(picture.lines[channel]);
    }
    return picture;
}

ValueRange RangeOf(const Picture& picture, quint16 shown) {
    bool any = false;
    ValueRange range{0, 0};
    for (int channel = 0; channel < Channels; ++channel) {
        const ChannelLine& line = picture.lines[channel];
        if (!(shown & (1u << channel)) || line.points.isEmpty()) {
            continue;
        }
        range.low = any ? std::min(range.low, line.low) : line.low;
        range.high = any ? std::max(range.high, line.high) : line.high;
        any = true;
    }
    if (!any) {
        return {-1, 1};
    }
    const double room = range.high > range.low ? (range.high - range.low) / 20 : 1;
    return {range.low - room, range.high + room};
}

} // namespace TrendData
