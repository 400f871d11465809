#pragma once

#include <QtGlobal>
#include <vector>

namespace vornsim {

// Plausible readings that drift smoothly from frame to frame with a little noise. A reading is
// a pure function of (seed, channel, frame number), so a repeated or re-sent frame carries the
// same values and two runs with one seed send the same bytes.
class PressureModel {
public:
    // fullScales: one full-scale pressure per channel; readings stay within +/- full scale.
    PressureModel(quint32 seed, std::vector<double> fullScales);

    int channelCount() const { return static_cast<int>(channels_.size()); }
    float pressure(int channel, quint32 frame) const;
    float temperature(int channel, quint32 frame) const;
    // The full scale a channel's readings stay within (1 where the given one was 0).
    double fullScale(int channel) const { return at(channel).fullScale; }
    // The centre a channel's readings move around; CALZ takes it away.
    double offset(int channel) const { return at(channel).offset; }
    // Zero calibration: from now on every channel's readings move around zero.
    void removeOffsets();

private:
    struct Channel {
        double fullScale;
        double offset;
        double amplitude;
        double framesPerCycle;
        double phase;
        double baseTemperature;
    };
    const Channel& at(int channel) const { return channels_.at(static_cast<std::size_t>(channel)); }
    double noise(int channel, quint32 frame, quint64 stream) const;

    quint32 seed_;
    std::vector<Channel> channels_;
};

} // namespace vornsim
