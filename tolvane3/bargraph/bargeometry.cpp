#include "bargeometry.h"

#include <algorithm>
#include <cmath>

namespace BarGraph {
namespace {

constexpr double LabelHeight = 0.05;
constexpr double RowTop = 0.1; // channel 0's row; each row is one label high
constexpr double AxisY = 0.9;
constexpr double LegendStep = 0.0666667; // from one grid line to the next
constexpr double LegendWidth = 0.08;
constexpr int WidestLegendStride = 4; // -100%, 0% and 100%

// The zero line and plus full scale, where the bars start and the rightmost grid line lies.
constexpr float ZeroX = 0.55f;
constexpr float FullScaleX = 0.816695f;
// The axis runs as far beyond either full scale; an over-range bar's arrowhead ends there.
constexpr double AxisLeftX = 0.25;
constexpr double AxisRightX = 0.85;
constexpr double ArrowLength = 0.025;
constexpr double ArrowHeight = 0.04;

double RowY(int channel) {
    return LabelHeight * channel + RowTop;
}

QRectF LabelRect(double left, double top, double width) {
    return {left, top, width, LabelHeight};
}

// A channel's bar in its row, still without width.
Global::BarRect BarInRow(int channel) {
    Global::BarRect bar;
    bar.top = static_cast<float>(0.05 * channel + 0.11);
    bar.height = 0.03f;
    return bar;
}

QPointF ClampedPixels(const QPointF& fraction, const QSize& area) {
    const auto scaled = [](double part, int whole) {
        return std::clamp(part * whole, -static_cast<double>(whole), 2.0 * whole);
    };
    return {scaled(fraction.x(), area.width()), scaled(fraction.y(), area.height())};
}

} // namespace

QLineF TopLine() {
    return {0, 0.1, 1, 0.1};
}
QLineF CenterLine() {
    return {0.55, 0.1, 0.55, AxisY};
}
QLineF AxisLine() {
    return {AxisLeftX, AxisY, AxisRightX, AxisY};
}
QLineF AxisLeftEnd() {
    return {AxisLeftX, AxisY, AxisLeftX, 0.92};
}
QLineF AxisRightEnd() {
    return {AxisRightX, AxisY, AxisRightX, 0.92};
}
QLineF GridLine(int k) {
    const double x = ((0.06667 * k + 0.2) + 0.033335 + 0.05);
    return {x, 0.1, x, AxisY};
}
QLineF TickLine(int channel) {
    const double y = RowY(channel);
    return {0.54, y, 0.56, y};
}

QRectF FrameCaptionRect() {
    return LabelRect(0.015, 0.03, 0.10);
}
QRectF FrameNumberRect() {
    return LabelRect(0.12, 0.03, 0.20);
}
QRectF UnitsRect() {
    return LabelRect(0.35, 0.95, 0.40);
}
QRectF ChannelCaptionRect(int channel) {
    return LabelRect(0.015, RowY(channel), 0.04);
}
QRectF ValueRect(int channel) {
    return LabelRect(0.06, RowY(channel), 0.10);
}
QRectF MinRect(int channel) {
    return LabelRect(0.17, RowY(channel), 0.10);
}
QRectF MaxRect(int channel) {
    return LabelRect(0.85, RowY(channel), 0.10);
}
QRectF LegendRect(int k, int stride) {
    const double width = LegendWidth + (std::max(stride, 1) - 1) * LegendStep;
    const double centre = (LegendStep * k + 0.2) + 0.05 + LegendWidth / 2;
    return LabelRect(centre - width / 2, 0.91, width);
}

int LegendStride(double widestLabelPixels, double gapPixels, int areaWidthPixels) {
    for (int stride = 1; stride <= WidestLegendStride; stride *= 2) {
        if (widestLabelPixels + gapPixels <= stride * LegendStep * areaWidthPixels) {
            return stride;
        }
    }
    return 0;
}

bool LegendShown(int k, int stride) {
    return stride > 0 && k % stride == 0;
}

QRectF BarFraction(const Global::BarRect& bar) {
    return {bar.left, bar.top, bar.width, bar.height};
}

std::optional<Global::BarRect> CalcBarRect(int channel, float value, float fullScale) {
    if (!std::isfinite(value) || !std::isfinite(fullScale) || fullScale == 0.0f) {
        return std::nullopt;
    }
    const float x = (FullScaleX - ZeroX) * value / fullScale + ZeroX;
    if (!std::isfinite(x)) {
        return std::nullopt;
    }
    Global::BarRect bar = BarInRow(channel);
    // Which side of the zero line the bar lies on follows from x, not from the value's sign, so
    // that a negative full scale mirrors the bar instead of giving it a negative width. With a
    // positive full scale both read the same.
    if (x >= ZeroX) {
        bar.left = ZeroX;
        bar.width = x - ZeroX;
    } else {
        bar.left = x;
        bar.width = ZeroX - x;
    }
    return bar;
}

OverRangeBar OverRangeBarFor(int channel, bool rightOfZero) {
    OverRangeBar bar;
    bar.shaft = BarInRow(channel);
    // The axis's ends lie as far from the zero line on either side.
    bar.shaft.width = static_cast<float>(ZeroX - AxisLeftX - ArrowLength);
    bar.shaft.left = rightOfZero ? ZeroX : static_cast<float>(AxisLeftX + ArrowLength);
    const double headLeft = rightOfZero ? AxisRightX - ArrowLength : AxisLeftX;
    const double rowMiddle = bar.shaft.top + bar.shaft.height / 2.0;
    bar.head = QRectF(headLeft, rowMiddle - ArrowHeight / 2, ArrowLength, ArrowHeight);
    return bar;
}

bool DrawnRightOfZero(float value, float fullScale) {
    return (value >= 0) == (fullScale >= 0);
}

QPolygonF ArrowHead(const QSizeF& box, bool pointsRight) {
    const double base = pointsRight ? 0 : box.width();
    const double tip = pointsRight ? box.width() : 0;
    return QPolygonF({{base, 0}, {tip, box.height() / 2}, {base, box.height()}});
}

QRect ToPixels(const QRectF& fraction, const QSize& area) {
    const QPointF topLeft = ClampedPixels(fraction.topLeft(), area);
    const QPointF bottomRight = ClampedPixels(fraction.bottomRight(), area);
    const int left = qRound(topLeft.x());
    const int top = qRound(topLeft.y());
    return {left, top, qRound(bottomRight.x()) - left, qRound(bottomRight.y()) - top};
}

QLine ToPixels(const QLineF& fraction, const QSize& area) {
    return {ClampedPixels(fraction.p1(), area).toPoint(),
            ClampedPixels(fraction.p2(), area).toPoint()};
}

} // namespace BarGraph
