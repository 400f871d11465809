#include "overrange.h"

#include <QStringList>
#include <cmath>

namespace BarGraph {

bool IsOverRange(float value, float fullScale) {
    if (fullScale == 0.0f || !std::isfinite(fullScale) || std::isnan(value)) {
        return false;
    }
    return std::fabs(value) > std::fabs(fullScale);
}

bool IsBeyondAlarmLimits(float value, const Global::AlarmRange& limits) {
    return limits.enabled && (value < limits.low || value > limits.high);
}

ChannelWarnings WarningsFor(float value, float fullScale, const Global::AlarmRange& limits) {
    return {IsOverRange(value, fullScale), IsBeyondAlarmLimits(value, limits)};
}

bool ExcursionTracker::update(int channel, ChannelWarnings now) {
    if (channel < 0 || channel >= Channels) {
        return false;
    }
    ChannelWarnings& before = current_[static_cast<std::size_t>(channel)];
    if (now == before) {
        return false;
    }
    if (now.overRange && !before.overRange) {
        ++Global::OverRangeEvents[channel];
    }
    if (now.alarm && !before.alarm) {
        ++Global::AlarmEvents[channel];
    }
    before = now;
    return true;
}

void ExcursionTracker::clear() {
    current_.fill({});
}

ChannelWarnings ExcursionTracker::current(int channel) const {
    return channel >= 0 && channel < Channels ? current_[static_cast<std::size_t>(channel)]
                                              : ChannelWarnings{};
}

QString WarningText(const ExcursionTracker& tracker) {
    QStringList overRange;
    QStringList alarm;
    for (int channel = 0; channel < ExcursionTracker::Channels; ++channel) {
        const ChannelWarnings warnings = tracker.current(channel);
        if (warnings.overRange) {
            overRange << QString::number(channel + 1);
        }
        if (warnings.alarm) {
            alarm << QString::number(channel + 1);
        }
    }
    QStringList parts;
    if (!overRange.isEmpty()) {
        parts << QStringLiteral("Over range: ") + overRange.join(QStringLiteral(", "));
    }
    if (!alarm.isEmpty()) {
        parts << QStringLiteral("Alarm limits: ") + alarm.join(QStringLiteral(", "));
    }
    return parts.join(QStringLiteral("  "));
}

} // namespace BarGraph
