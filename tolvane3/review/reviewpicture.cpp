#include "reviewpicture.h"

#include <algorithm>
#include <cmath>

namespace ReviewData {
namespace {

// One channel's lowest and highest value in the pixel column being filled.
struct Column {
    double index = 0;
    bool open = false;
    bool newPiece = true;
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
        if (newPiece) {
            line.pieceStarts.append(line.points.size());
            newPiece = false;
        }
        index = column;
        open = true;
        low = point;
        high = point;
    }
    void flushInto(ChannelLine& line) {
        if (!open) {
            return;
        }
        open = false;
        if (low == high) {
            line.points.append(low);
        } else if (low.x() <= high.x()) {
            line.points.append({low, high});
        } else {
            line.points.append({high, low});
        }
    }
    void breakLine(ChannelLine& line) {
        flushInto(line);
        newPiece = true;
    }
};

bool TimesAdvance(const std::vector<double>& times) {
    return !times.empty() && std::adjacent_find(times.begin(), times.end(), [](double a, double b) {
                                 return b > a;
                             }) != times.end();
}

} // namespace

HorizontalAxis AxisOf(const Recording& recording, double framePeriod) {
    HorizontalAxis axis;
    const bool ownTimes = TimesAdvance(recording.times);
    const bool byPeriod = !ownTimes && std::isfinite(framePeriod) && framePeriod > 0;
    axis.seconds = ownTimes || byPeriod;
    const std::size_t frames = recording.frameCount();
    axis.x.resize(frames);
    double offset = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto frame = static_cast<double>(recording.frames[i]);
        const double raw = ownTimes ? recording.times[i] : byPeriod ? frame * framePeriod : frame;
        double x = raw + offset;
        if (i > 0 && x < axis.x[i - 1]) {
            const double step = i > 1 && axis.x[i - 1] > axis.x[i - 2]
                                    ? axis.x[i - 1] - axis.x[i - 2]
                                : byPeriod ? framePeriod
                                           : 1.0;
            offset += axis.x[i - 1] + step - x;
            x = axis.x[i - 1] + step;
        }
        axis.x[i] = x;
    }
    return axis;
}

std::vector<ChannelLine> Project(const Recording& recording, const HorizontalAxis& axis,
                                 double from, double to, int columns,
                                 const std::vector<bool>& shown) {
    const auto channels = static_cast<std::size_t>(recording.channels);
    std::vector<ChannelLine> lines(channels);
    if (axis.x.empty() || !(to > from)) {
        return lines;
    }
    auto first = static_cast<std::size_t>(std::lower_bound(axis.x.begin(), axis.x.end(), from) -
                                          axis.x.begin());
    auto end = static_cast<std::size_t>(std::upper_bound(axis.x.begin(), axis.x.end(), to) -
                                        axis.x.begin());
    first = first > 0 ? first - 1 : 0;
    end = std::min(end + 1, axis.x.size());
    const double width = (to - from) / std::max(columns, 1);
    auto nextPiece =
        std::upper_bound(recording.pieceStarts.begin(), recording.pieceStarts.end(), first);
    std::vector<Column> open(channels);
    for (std::size_t i = first; i < end; ++i) {
        const bool pieceStarts = nextPiece != recording.pieceStarts.end() && *nextPiece == i;
        if (pieceStarts) {
            ++nextPiece;
        }
        const double column = std::floor((axis.x[i] - from) / width);
        for (std::size_t channel = 0; channel < channels; ++channel) {
            if (channel >= shown.size() || !shown[channel]) {
                continue;
            }
            const float value = recording.value(i, static_cast<int>(channel));
            if (pieceStarts || !std::isfinite(value)) {
                open[channel].breakLine(lines[channel]);
            }
            if (std::isfinite(value)) {
                open[channel].take(column, {axis.x[i], value}, lines[channel]);
            }
        }
    }
    for (std::size_t channel = 0; channel < channels; ++channel) {
        open[channel].flushInto(lines[channel]);
    }
    return lines;
}

std::optional<ValueRange> RangeOf(const Recording& recording, const std::vector<bool>& shown) {
    std::optional<ValueRange> range;
    const auto channels = static_cast<std::size_t>(recording.channels);
    for (std::size_t i = 0; i < recording.values.size(); ++i) {
        const std::size_t channel = i % channels;
        const float value = recording.values[i];
        if (channel >= shown.size() || !shown[channel] || !std::isfinite(value)) {
            continue;
        }
        if (!range) {
            range = ValueRange{value, value};
        } else {
            range->low = std::min(range->low, static_cast<double>(value));
            range->high = std::max(range->high, static_cast<double>(value));
        }
    }
    return range;
}

} // namespace ReviewData
