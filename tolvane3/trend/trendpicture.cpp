#include "trendpicture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace TrendData {

void LivePicture::reset() {
    for (auto& columns : columns_) {
        columns.clear();
    }
    taken_ = 0;
}

const Picture& LivePicture::update(const SampleRing& samples, double span, int columns) {
    columns = std::max(columns, 1);
    if (span != span_ || columns != columnCount_ || samples.added() < taken_) {
        reset();
        span_ = span;
        columnCount_ = columns;
        width_ = span / columns;
    }
    picture_.end = samples.empty() ? 0 : samples.newest().time;
    picture_.start = picture_.end - span;
    const qint64 firstColumn = static_cast<qint64>(std::floor(picture_.start / width_));
    std::size_t first = samples.firstFrom(static_cast<double>(firstColumn) * width_);
    if (taken_ != 0) {
        // From the newest sample taken, again: its channel values may have come
        // since.
        const std::uint64_t since = samples.added() - taken_ + 1;
        if (since <= samples.size()) {
            first = std::max(first, samples.size() - since);
        } else {
            reset(); // more came than the ring holds: what it dropped is lost to the
                     // picture too
        }
    }
    for (std::size_t i = first; i < samples.size(); ++i) {
        take(samples[i]);
    }
    taken_ = samples.added();
    for (auto& channel : columns_) {
        while (!channel.empty() && channel.front().column < firstColumn) {
            channel.pop_front();
        }
    }
    drawLines();
    return picture_;
}

void LivePicture::take(const Sample& sample) {
    const auto column = static_cast<qint64>(std::floor(sample.time / width_));
    for (int channel = 0; channel < Channels; ++channel) {
        if (!(sample.present & (1u << channel))) {
            continue;
        }
        const QPointF point(sample.time, sample.values[channel]);
        std::deque<Extremes>& extremes = columns_[channel];
        if (extremes.empty() || extremes.back().column != column) {
            extremes.push_back({column, point, point});
            continue;
        }
        Extremes& open = extremes.back();
        if (point.y() < open.low.y()) {
            open.low = point;
        }
        if (point.y() > open.high.y()) {
            open.high = point;
        }
    }
}

void LivePicture::drawLines() {
    for (int channel = 0; channel < Channels; ++channel) {
        ChannelLine& line = picture_.lines[channel];
        line.points.clear();
        line.low = std::numeric_limits<double>::infinity();
        line.high = -line.low;
        for (const Extremes& extremes : columns_[channel]) {
            line.low = std::min(line.low, extremes.low.y());
            line.high = std::max(line.high, extremes.high.y());
            if (extremes.low == extremes.high) {
                line.points.append(extremes.low);
            } else if (extremes.low.x() <= extremes.high.x()) {
                line.points.append({extremes.low, extremes.high});
            } else {
                line.points.append({extremes.high, extremes.low});
            }
        }
    }
}

ValueRange RangeOf(const Picture& picture, quint16 shown) {
    ValueRange range{std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()};
    for (int channel = 0; channel < Channels; ++channel) {
        const ChannelLine& line = picture.lines[channel];
        if ((shown & (1u << channel)) && !line.points.isEmpty()) {
            range.low = std::min(range.low, line.low);
            range.high = std::max(range.high, line.high);
        }
    }
    return range;
}

} // namespace TrendData
