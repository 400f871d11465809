#include "bartags.h"

#include <algorithm>

namespace BarGraph {

Tags ChooseTags(const std::array<double, 16>& shownValues, int rangeStart, int rangeEnd) {
    double high = -1000000000;
    double low = 1000000000;
    Tags tags{0, 0};
    const int last = static_cast<int>(shownValues.size()) - 1;
    for (int channel = std::max(rangeStart, 0); channel <= std::min(rangeEnd, last); ++channel) {
        const double value = shownValues[static_cast<std::size_t>(channel)];
        if (value > high) {
            high = value;
            tags.high = channel;
        }
        if (value < low) {
            low = value;
            tags.low = channel;
        }
    }
    return tags;
}

} // namespace BarGraph
