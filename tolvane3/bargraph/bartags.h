#pragma once
// Which channels the high/low tags go to.

#include <array>

namespace BarGraph {

struct Tags {
    int low;
    int high;
};

// The lowest and highest of the shown values among channels rangeStart to rangeEnd (channels
// outside 0 to 15 are skipped). Ties keep the first channel; an empty range tags channel 0 as
// both.
Tags ChooseTags(const std::array<double, 16>& shownValues, int rangeStart, int rangeEnd);

} // namespace BarGraph
