#include "trendring.h"

#include <algorithm>
#include <cmath>

namespace TrendData {

std::size_t CapacityFor(int seconds) {
    return static_cast<std::size_t>(std::max(seconds, 1)) * MaxFrameRate;
}

SampleRing::SampleRing(std::size_t capacity) : samples_(std::max<std::size_t>(capacity, 1)) {}

void SampleRing::addFrame(qint64 frame, double time) {
    if (!empty()) {
        time = std::max(time, newest().time);
    }
    Sample& sample = samples_[(first_ + count_) % samples_.size()];
    sample = Sample{frame, time, {}, 0};
    ++added_;
    if (count_ < samples_.size()) {
        ++count_;
    } else {
        first_ = (first_ + 1) % samples_.size();
    }
}

void SampleRing::setValue(int channel, float value) {
    if (empty() || channel < 0 || channel >= Channels || !std::isfinite(value)) {
        return;
    }
    Sample& sample = samples_[(first_ + count_ - 1) % samples_.size()];
    sample.values[channel] = value;
    sample.present |= static_cast<quint16>(1u << channel);
}

void SampleRing::setCapacity(std::size_t capacity) {
    capacity = std::max<std::size_t>(capacity, 1);
    const std::size_t kept = std::min(count_, capacity);
    std::vector<Sample> resized(capacity);
    for (std::size_t i = 0; i < kept; ++i) {
        resized[i] = (*this)[count_ - kept + i];
    }
    samples_ = std::move(resized);
    first_ = 0;
    count_ = kept;
}

void SampleRing::clear() {
    first_ = 0;
    count_ = 0;
}

std::size_t SampleRing::firstFrom(double time) const {
    std::size_t first = 0;
    std::size_t last = count_;
    while (first < last) {
        const std::size_t middle = first + (last - first) / 2;
        if ((*this)[middle].time < time) {
            first = middle + 1;
        } else {
            last = middle;
        }
    }
    return first;
}

} // namespace TrendData
