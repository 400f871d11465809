#include "barfont.h"

#include <algorithm>

namespace BarGraph {

LabelFont LabelFontFor(double heightPixels, double dotsPerInch) {
    constexpr double PointsPerInch = 72;
    constexpr double SmallFontsBelow = 7;
    constexpr double MinimumPoints = 1;
    const double size = 0.75 * heightPixels * PointsPerInch / dotsPerInch;
    return {size < SmallFontsBelow ? QStringLiteral("Small Fonts") : QStringLiteral("Arial"),
            std::max(size, MinimumPoints)};
}

} // namespace BarGraph
