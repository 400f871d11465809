#pragma once
// The bar graph's lines and filled rectangles. The toolkit has no such controls; these light
// widgets keep each one an object of its own, found by its name like any other control.

#include <QColor>
#include <QLine>
#include <QWidget>

// A line between two points of its parent, one pixel wide in its pen style; the widget covers
// just the line.
class LineControl : public QWidget {
public:
    LineControl(QWidget* parent, Qt::PenStyle style);

    // In the parent's pixels.
    void setLine(const QLine& line);
    QLine line() const { return line_; }
    Qt::PenStyle penStyle() const { return style_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLine line_;
    Qt::PenStyle style_;
};

// A rectangle filled solid in one colour: the widget's own background, nothing to paint.
QWidget* NewFilledShape(QWidget* parent, const QColor& fill);

// Gives a filled shape another colour.
void SetShapeFill(QWidget& shape, const QColor& fill);

// An arrowhead filling its box in one colour, pointing left or right.
class ArrowControl : public QWidget {
public:
    ArrowControl(QWidget* parent, const QColor& fill);

    void setPointsRight(bool pointsRight);
    bool pointsRight() const { return pointsRight_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    bool pointsRight_ = true;
};
