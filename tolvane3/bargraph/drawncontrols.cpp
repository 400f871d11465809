#include "drawncontrols.h"

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
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, fill);
    shape->setPalette(palette);
    shape->setAutoFillBackground(true);
    return shape;
}
