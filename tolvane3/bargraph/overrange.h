#pragma once
// When a channel's value calls for a warning: beyond its full scale on either side of zero (the
// bar graph's scale runs from minus to plus full scale), or beyond the operator's alarm limits;
// and the excursions, each counted once from the value that begins it until a value back inside.

#include "program/Global.h"

#include <QString>
#include <array>

namespace BarGraph {

struct ChannelWarnings {
    bool overRange = false;
    bool alarm = false;
    bool operator==(const ChannelWarnings&) const = default;
    bool any() const { return overRange || alarm; }
};

// Beyond plus or minus full scale (not at it). A full scale of 0 or not finite tells nothing; an
// infinite value is beyond any other.
bool IsOverRange(float value, float fullScale);
// Below low or above high (not at them) while the limits are on.
bool IsBeyondAlarmLimits(float value, const Global::AlarmRange& limits);
ChannelWarnings WarningsFor(float value, float fullScale, const Global::AlarmRange& limits);

class ExcursionTracker {
public:
    static constexpr int Channels = 16;

    // The channel's warnings for its latest value; the beginning of each excursion is counted in
    // Global::OverRangeEvents and Global::AlarmEvents. True when the channel's warnings changed.
    // Channels outside 0 to 15 are ignored.
    bool update(int channel, ChannelWarnings now);
    // Every excursion ends without being counted again.
    void clear();
    ChannelWarnings current(int channel) const;

private:
    std::array<ChannelWarnings, Channels> current_{};
};

// "Over range: 9, 11  Alarm limits: 3": the channels as the bar graph numbers them (from 1), each
// part only when it has channels; "" when none has a warning.
QString WarningText(const ExcursionTracker& tracker);

} // namespace BarGraph
