#include "axisticks.h"

#include <algorithm>
#include <cmath>

namespace AxisTicks {
namespace {

// Steps are computed in doubles: a hair of slack keeps 0.3 / 0.1 from counting as 3.0000000004.
constexpr double Slack = 1e-9;

int ExponentOf(double step) {
    return static_cast<int>(std::floor(std::log10(step) + Slack));
}

// The round step after this one: 1 -> 2 -> 5 -> 10.
double NextStep(double step) {
    const double power = std::pow(10.0, ExponentOf(step));
    const double mantissa = std::round(step / power);
    return mantissa < 2 ? 2 * power : mantissa < 5 ? 5 * power : 10 * power;
}

int DecimalsFor(double step) {
    return std::max(0, -ExponentOf(step));
}

// -0 reads "-0" in a label.
double Unsigned0(double value) {
    return value + 0.0;
}

Scale Fallback() {
    return ValueScale(-1, 1);
}

} // namespace

double RoundStep(double width, int intervals) {
    if (!std::isfinite(width) || width <= 0) {
        return 1;
    }
    const double least = width / std::max(intervals, 1);
    double step = std::pow(10.0, ExponentOf(least));
    while (step < least * (1 - Slack)) {
        step = NextStep(step);
    }
    return step;
}

Scale ValueScale(double low, double high, int intervals) {
    if (!std::isfinite(low) || !std::isfinite(high) || low > high) {
        low = -1;
        high = 1;
    }
    if (high - low <= std::max(std::fabs(low), std::fabs(high)) * Slack) {
        const double middle = low / 2 + high / 2;
        const double half = middle == 0 ? 1 : std::fabs(middle) / 10;
        low = middle - half;
        high = middle + half;
    }
    intervals = std::max(intervals, 1);
    double step = RoundStep(high - low, intervals);
    while (std::ceil(high / step - Slack) - std::floor(low / step + Slack) > intervals) {
        step = NextStep(step);
    }
    Scale scale;
    scale.step = step;
    scale.min = Unsigned0(std::floor(low / step + Slack) * step);
    scale.max = Unsigned0(std::ceil(high / step - Slack) * step);
    if (!std::isfinite(scale.min) || !std::isfinite(scale.max) || scale.max <= scale.min) {
        return Fallback(); // beyond what a double holds with room
    }
    scale.anchor = scale.min;
    scale.ticks = static_cast<int>(std::lround((scale.max - scale.min) / step)) + 1;
    scale.decimals = DecimalsFor(step);
    return scale;
}

Scale TimeScale(double newest, double span, int intervals) {
    if (!std::isfinite(span) || span <= 0) {
        span = 1;
    }
    if (!std::isfinite(newest) || newest < 0) {
        newest = 0;
    }
    Scale scale;
    if (newest < span) {
        scale.min = 0;
        scale.max = std::max(newest, std::min(1.0, span));
    } else {
        scale.min = newest - span;
        scale.max = newest;
    }
    scale.step = RoundStep(scale.max - scale.min, intervals);
    scale.anchor = Unsigned0(std::ceil(scale.min / scale.step - Slack) * scale.step);
    scale.ticks = static_cast<int>(std::floor((scale.max - scale.anchor) / scale.step + Slack)) + 1;
    scale.decimals = DecimalsFor(scale.step);
    return scale;
}

const Scale& StableValueAxis::follow(double low, double high, double now, int intervals) {
    const Scale fresh = ValueScale(low, high, intervals);
    const bool data = std::isfinite(low) && std::isfinite(high) && low <= high;
    if (!scale_ || !data || low < scale_->min || high > scale_->max) {
        scale_ = fresh;
        narrowSince_.reset();
    } else if (fresh.max - fresh.min > (scale_->max - scale_->min) / 2) {
        narrowSince_.reset();
    } else if (!narrowSince_) {
        narrowSince_ = now;
    } else if (now - *narrowSince_ >= HoldSeconds) {
        scale_ = fresh;
        narrowSince_.reset();
    }
    return *scale_;
}

void StableValueAxis::reset() {
    scale_.reset();
    narrowSince_.reset();
}

} // namespace AxisTicks
