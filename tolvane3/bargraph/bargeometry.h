#pragma once
// Where everything of the bar graph lies, as fractions of its drawing area (x of the width, y of
// the height), so that the whole picture scales with the window; and the step to pixels.

#include "program/Global.h"

#include <QLine>
#include <QLineF>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <optional>

namespace BarGraph {

inline constexpr int Channels = 16;
inline constexpr int GridLines = 9; // with one legend label under each

QLineF TopLine();
QLineF CenterLine(); // the zero line
QLineF AxisLine();
QLineF AxisLeftEnd();
QLineF AxisRightEnd();
QLineF GridLine(int k);
QLineF TickLine(int channel);

QRectF FrameCaptionRect();
QRectF FrameNumberRect();
QRectF UnitsRect();
QRectF ChannelCaptionRect(int channel);
QRectF ValueRect(int channel);
QRectF MinRect(int channel);
QRectF MaxRect(int channel);
// Legend label k's place when every stride-th label is shown: centred where the label of stride
// 1 is, and as much wider as the labels dropped beside it leave room.
QRectF LegendRect(int k, int stride);

// Every stride-th legend label is shown (1, 2 or 4), the smallest stride whose spacing on an area
// that wide holds the widest label and a gap, so that labels never run into each other; 0 (no
// legend) where not even every fourth fits.
int LegendStride(double widestLabelPixels, double gapPixels, int areaWidthPixels);
bool LegendShown(int k, int stride);

QRectF BarFraction(const Global::BarRect& bar);

// A channel's bar for a value against a full scale, in single precision: from the zero line at
// 0.55 to 0.816695 at plus full scale. Nothing when it cannot be drawn: the value or the full
// scale not finite, a full scale of 0, or an end beyond single precision.
std::optional<Global::BarRect> CalcBarRect(int channel, float value, float fullScale);

// Over range, a bar runs from the zero line to the end of the axis on its side, where an
// arrowhead taller than the bar points out of the scale: the bar up to the head and the head's box.
struct OverRangeBar {
    Global::BarRect shaft;
    QRectF head;
};
OverRangeBar OverRangeBarFor(int channel, bool rightOfZero);
// The side of the zero line a value's bar lies on: a negative full scale mirrors.
bool DrawnRightOfZero(float value, float fullScale);
// A head filling a box of that size, its tip in the middle of the side it points to.
QPolygonF ArrowHead(const QSizeF& box, bool pointsRight);

// Fractions to pixels of an area, edges rounded. Coordinates are held to one area beyond either
// edge: a bar may run past the window as designed, but what lies that far out is never seen and
// must not overflow.
QRect ToPixels(const QRectF& fraction, const QSize& area);
QLine ToPixels(const QLineF& fraction, const QSize& area);

} // namespace BarGraph
