#include "timing.h"

#include <algorithm>
#include <cmath>

namespace Timing {
namespace {
double timeScale = 1.0;
}

void setScale(double scale) {
    timeScale = scale;
}

int scaled(int milliseconds) {
    if (milliseconds <= 0) {
        return milliseconds;
    }
    return std::max(1, static_cast<int>(std::lround(milliseconds * timeScale)));
}

} // namespace Timing
