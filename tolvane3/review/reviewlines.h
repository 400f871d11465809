#pragma once
// The lines of the review window, drawn over the chart's plot area. The chart's own line series
// cannot leave a gap, so they only carry the legend and the axes, and this item draws each
// channel's pieces from the projection, with nothing between them.

#include "reviewpicture.h"

#include <QColor>
#include <QGraphicsItem>
#include <vector>

class QChart;
class QValueAxis;

namespace ReviewData {

class ReviewLines : public QGraphicsItem {
public:
    ReviewLines(QChart& chart, const QValueAxis& axisX, const QValueAxis& axisY);

    void setLines(std::vector<ChannelLine> lines, std::vector<QColor> colours);
    // The plot area moved or changed size.
    void followPlotArea();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QChart& chart_;
    const QValueAxis& axisX_;
    const QValueAxis& axisY_;
    std::vector<ChannelLine> lines_;
    std::vector<QColor> colours_;
};

} // namespace ReviewData
