#include "vornsim/pressuremodel.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace vornsim {

namespace {

// splitmix64: a cheap, well-mixed hash so that noise needs no sequential generator state.
quint64 mix(quint64 x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

} // namespace

PressureModel::PressureModel(quint32 seed, std::vector<double> fullScales) : seed_(seed) {
    std::mt19937 generator(seed);
    auto uniform = [&generator](double low, double high) {
        return low + (high - low) * std::generate_canonical<double, 32>(generator);
    };
    channels_.reserve(fullScales.size());
    for (double fullScale : fullScales) {
        const double scale = std::abs(fullScale) > 0.0 ? std::abs(fullScale) : 1.0;
        channels_.push_back(Channel{scale, scale * uniform(-0.3, 0.5), scale * uniform(0.02, 0.1),
                                    uniform(40.0, 400.0), uniform(0.0, 2.0 * std::numbers::pi),
                                    uniform(22.0, 26.0)});
    }
}

void PressureModel::removeOffsets() {
    for (Channel& channel : channels_) {
        channel.offset = 0.0;
    }
}

double PressureModel::noise(int channel, quint32 frame, quint64 stream) const {
    const quint64 key = (quint64{seed_} << 32) ^ (quint64(static_cast<quint32>(channel)) << 48) ^
                        frame ^ (stream << 60);
    // Top 53 bits give a uniform double in [0, 1); map it to [-1, 1).
    return static_cast<double>(mix(key) >> 11) * 0x1.0p-52 - 1.0;
}

float PressureModel::pressure(int channel, quint32 frame) const {
    const Channel& c = at(channel);
    const double wave =
        std::sin(2.0 * std::numbers::pi * frame / c.framesPerCycle + c.phase) * c.amplitude;
    const double value = c.offset + wave + noise(channel, frame, 1) * c.fullScale * 0.002;
    return static_cast<float>(std::clamp(value, -c.fullScale, c.fullScale));
}

float PressureModel::temperature(int channel, quint32 frame) const {
    const Channel& c = at(channel);
    const double drift = std::sin(2.0 * std::numbers::pi * frame / (c.framesPerCycle * 10.0));
    return static_cast<float>(c.baseTemperature + 0.3 * drift + noise(channel, frame, 2) * 0.02);
}

} // namespace vornsim
