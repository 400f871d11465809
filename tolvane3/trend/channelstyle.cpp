#include "channelstyle.h"

#include "trendcsv.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

namespace TrendData {

QColor ChannelColour(int channel) {
    return QColor::fromHsv(channel * 7 % 16 * 360 / 16, 255, channel % 2 == 0 ? 220 : 150);
}

QLineSeries* AddChannelLine(QChart& chart, int channel, QValueAxis& x, QValueAxis& y) {
    auto* series = new QLineSeries;
    series->setObjectName(QStringLiteral("linChannel%1").arg(channel));
    series->setName(ChannelName(channel));
    chart.addSeries(series);
    // The theme has five colours; 16 lines need their own. A one-pixel line is drawn by the
    // fast path, where the default two-pixel one costs a stroke.
    series->setPen(QPen(ChannelColour(channel), 1));
    series->attachAxis(&x);
    series->attachAxis(&y);
    return series;
}

void ShowLegendEntry(QChart& chart, QAbstractSeries* series, bool shown) {
    for (QLegendMarker* marker : chart.legend()->markers(series)) {
        marker->setVisible(true);
        QColor label = marker->labelBrush().color();
        label.setAlphaF(shown ? 1.0f : 0.4f);
        marker->setLabelBrush(label);
        QColor swatch = marker->brush().color();
        swatch.setAlphaF(shown ? 1.0f : 0.4f);
        marker->setBrush(swatch);
    }
}

} // namespace TrendData
