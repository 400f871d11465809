#include "drawncontrols.h"

#include "bargeometry.h"

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <algorithm>

LineControl::LineControl(QWidget* parent, Qt::PenStyle style) : QWidget(parent), style_(style) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::setLine(const QLine& line) {
    if (line == line_) {
        return;
    }
    line_ = line;
    setGeometry(QRect(QPoint(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
                      QPoint(std::max(line.x1(), line.x2()), std::max(line.y1(), line.y2()))));
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Width 0: one pixel at any scale.
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0, style_));
    painter.drawLine(line_.translated(-pos()));
}

QWidget* NewFilledShape(QWidget* parent, const QColor& fill) {
    auto* shape = new QWidget(parent);
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetShapeFill(*shape, fill);
    shape->setAutoFillBackground(true);
    return shape;
}

void SetShapeFill(QWidget& shape, const QColor& fill) {
    QPalette palette = shape.palette();
    palette.setColor(QPalette::Window, fill);
    shape.setPalette(palette);
}

ArrowControl::ArrowControl(QWidget* parent, const QColor& fill) : QWidget(parent), fill_(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ArrowControl::setPointsRight(bool pointsRight) {
    if (pointsRight != pointsRight_) {
        pointsRight_ = pointsRight;
        update();
    }
}

void ArrowControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    painter.drawPolygon(BarGraph::ArrowHead(size(), pointsRight_));
}
