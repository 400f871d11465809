#pragma once
// The labels' font follows the window's height: three quarters of a label's height in points,
// "Small Fonts" where that is below 7 points, else "Arial".

#include <QString>

namespace BarGraph {

struct LabelFont {
    QString family;
    double pointSize;
};

// For a label heightPixels high on a screen of dotsPerInch; never below 1 point.
LabelFont LabelFontFor(double heightPixels, double dotsPerInch);

} // namespace BarGraph
