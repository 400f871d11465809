#pragma once
// The trend window's memory: the newest frames of a scan, each with its frame number, the time it
// arrived and the values of the channels that came with it. The capacity is fixed by the span
// shown and a frame-rate bound, so that a long scan never makes it grow.

#include <QtGlobal>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace TrendData {

inline constexpr int Channels = 16;
// Frames per second kept for the whole span; a faster scan shows a shorter stretch of it.
inline constexpr int MaxFrameRate = 1000;

struct Sample {
    qint64 frame = 0;
    double time = 0; // seconds
    std::array<float, Channels> values{};
    quint16 present = 0; // bit n: channel n's value came
};

// Room for `seconds` of frames at the bound.
std::size_t CapacityFor(int seconds);

class SampleRing {
public:
    explicit SampleRing(std::size_t capacity);

    std::size_t capacity() const { return samples_.size(); }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // Oldest first.
    const Sample& operator[](std::size_t index) const {
        return samples_[(first_ + index) % samples_.size()];
    }
    const Sample& newest() const { return (*this)[count_ - 1]; }
    // Frames added since the ring was made, never going back: tells a reader which are new.
    std::uint64_t added() const { return added_; }

    // A new frame, replacing the oldest when full. Times never go back: an earlier one is taken
    // as the newest time so far, which keeps the samples ordered for FirstFrom.
    void addFrame(qint64 frame, double time);
    // Into the newest frame; nothing before the first frame, outside 0..15 or not finite.
    void setValue(int channel, float value);
    // Keeps the newest samples that fit.
    void setCapacity(std::size_t capacity);
    void clear();
    // Index of the first sample at or after the time (size() when there is none).
    std::size_t firstFrom(double time) const;

private:
    std::vector<Sample> samples_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::uint64_t added_ = 0;
};

} // namespace TrendData
