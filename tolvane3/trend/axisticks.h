#pragma once
// Chart axes at round values: ticks 1, 2 or 5 x 10^n apart, labels with just the decimals those
// steps need. A value axis keeps its range while the data stay inside it; a live time axis starts
// at 0, grows to its span, then slides with its ticks on round seconds.

#include <optional>

namespace AxisTicks {

// About this many tick intervals on an axis unless the caller has room for more or fewer.
inline constexpr int DefaultIntervals = 5;

struct Scale {
    double min = 0;
    double max = 1;
    double step = 1;   // between ticks: 1, 2 or 5 x 10^n
    double anchor = 0; // a tick at a whole multiple of step (QValueAxis::setTickAnchor)
    int ticks = 2;     // ticks from min to max, both ends included when they lie on ticks
    int decimals = 0;  // label decimals that tell every tick apart
};

// The smallest 1, 2 or 5 x 10^n step that cuts `width` into at most `intervals` parts.
double RoundStep(double width, int intervals = DefaultIntervals);

// A value axis for data from low to high with both ends on ticks: -48.3 to -5.27 gives -50 to 0
// in tens. A flat line gets a tenth of its value either side
// (1 at zero); no data (or none finite) gives -1 to 1.
Scale ValueScale(double low, double high, int intervals = DefaultIntervals);

// A live time axis in seconds from the first sample: 0 to the newest time while that is under
// the span (at least 1 s wide), then the span before the newest. The ticks stay on whole
// multiples of the step, so they move with the data while it slides.
Scale TimeScale(double newest, double span, int intervals = DefaultIntervals);

// A value axis that stays put while the data stay inside it. It widens at once when they leave;
// it narrows only after the data have fitted an axis at most half as wide for HoldSeconds on end,
// so a quiet stretch or a spike sliding out of view does not make it jump.
class StableValueAxis {
public:
    static constexpr double HoldSeconds = 5;

    // The axis for data from low to high at time `now` (seconds, never going back).
    const Scale& follow(double low, double high, double now, int intervals = DefaultIntervals);
    // Forgets the range: the next data choose a fresh one.
    void reset();

private:
    std::optional<Scale> scale_;
    std::optional<double> narrowSince_;
};

} // namespace AxisTicks
