#pragma once
// What the review window draws of a recording: where each frame stands on the horizontal axis,
// and for the part shown, each channel's lowest and highest value per pixel column, in pieces
// that stop wherever frames are missing, so that no line is drawn across a gap.

#include "recordingreader.h"

#include <QList>
#include <QPointF>
#include <optional>
#include <vector>

namespace ReviewData {

struct HorizontalAxis {
    bool seconds = false;  // else frame numbers
    std::vector<double> x; // per frame, never decreasing
};

// Seconds from the file's own times when they advance, else frame number x the frame period
// when that is known (above 0), else frame numbers. Where the numbers go back (a second scan in
// one log) the axis goes on from the frame before, one step further.
HorizontalAxis AxisOf(const Recording& recording, double framePeriod);

struct ChannelLine {
    QList<QPointF> points;
    QList<qsizetype> pieceStarts; // index of the first point of each piece, 0 first
};

// The frames from `from` to `to`, with one more either side so that the lines run to the edges,
// in at most two points per column (columns at least 1) per shown channel; a channel not shown,
// or without values there, gets no points.
std::vector<ChannelLine> Project(const Recording& recording, const HorizontalAxis& axis,
                                 double from, double to, int columns,
                                 const std::vector<bool>& shown);

struct ValueRange {
    double low = 0;
    double high = 0;
};

// The lowest and highest finite value of the shown channels; nullopt when there is none.
std::optional<ValueRange> RangeOf(const Recording& recording, const std::vector<bool>& shown);

} // namespace ReviewData
