#pragma once
// How a channel looks in every chart window: its line colour and its legend entry, dimmed while
// the channel is hidden.

#include <QColor>

class QChart;
class QAbstractSeries;
class QLineSeries;
class QValueAxis;

namespace TrendData {

// Neighbouring channels far apart on the colour wheel, every other one darker.
QColor ChannelColour(int channel);

// The channel's line, named "linChannelN" and "Ch N+1", in its colour, added to the chart on
// the two axes.
QLineSeries* AddChannelLine(QChart& chart, int channel, QValueAxis& x, QValueAxis& y);

// A hidden series hides its legend marker too; it is kept, dimmed, to be clicked again.
void ShowLegendEntry(QChart& chart, QAbstractSeries* series, bool shown);

} // namespace TrendData
