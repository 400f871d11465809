#include "reviewlines.h"

#include <QChart>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QValueAxis>

namespace ReviewData {

ReviewLines::ReviewLines(QChart& chart, const QValueAxis& axisX, const QValueAxis& axisY)
    : QGraphicsItem(&chart), chart_(chart), axisX_(axisX), axisY_(axisY) {
    // Above the grid and the (empty) series, below nothing else in the plot area.
    setZValue(1000);
}

void ReviewLines::setLines(std::vector<ChannelLine> lines, std::vector<QColor> colours) {
    lines_ = std::move(lines);
    colours_ = std::move(colours);
    update();
}

void ReviewLines::followPlotArea() {
    prepareGeometryChange();
}

QRectF ReviewLines::boundingRect() const {
    return chart_.plotArea();
}

void ReviewLines::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    const QRectF area = chart_.plotArea();
    const double spanX = axisX_.max() - axisX_.min();
    const double spanY = axisY_.max() - axisY_.min();
    if (!(spanX > 0) || !(spanY > 0) || area.isEmpty()) {
        return;
    }
    const double scaleX = area.width() / spanX;
    const double scaleY = area.height() / spanY;
    const auto toPixel = [&](const QPointF& value) {
        return QPointF(area.left() + (value.x() - axisX_.min()) * scaleX,
                       area.bottom() - (value.y() - axisY_.min()) * scaleY);
    };
    painter->setClipRect(area);
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPolygonF piece;
    for (std::size_t channel = 0; channel < lines_.size() && channel < colours_.size(); ++channel) {
        const ChannelLine& line = lines_[channel];
        painter->setPen(QPen(colours_[channel], 1));
        for (qsizetype p = 0; p < line.pieceStarts.size(); ++p) {
            const qsizetype start = line.pieceStarts[p];
            const qsizetype end =
                p + 1 < line.pieceStarts.size() ? line.pieceStarts[p + 1] : line.points.size();
            piece.clear();
            for (qsizetype i = start; i < end; ++i) {
                piece.append(toPixel(line.points[i]));
            }
            // A lone frame between two gaps is shown as a dot big enough to be seen.
            if (piece.size() == 1) {
                painter->drawEllipse(piece.front(), 1.5, 1.5);
            } else {
                painter->drawPolyline(piece);
            }
        }
    }
}

} // namespace ReviewData
