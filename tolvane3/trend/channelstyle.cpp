#include "channelstyle.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>

namespace TrendData {

QColor ChannelColour(int channel) {
    return QColor::fromHsv(channel * 7 % 16 * 360 / 16, 255, channel % 2 == 0 ? 220 : 150);
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
