#pragma once

#include <chrono>
#include <cstdint>

namespace ferrow {

// When a scan that no key can end any more is given up, so that whoever started ferrow without
// a console is never kept waiting for a frame that was lost on the way.
class FrameSilence {
public:
    using Clock = std::chrono::steady_clock;
    // Silence allowed = max(5 s, 10 frame periods); the period is measured from the frames that
    // came, so before the second frame the 5 s floor alone holds.
    static constexpr std::chrono::milliseconds floor{5000};
    static constexpr int periodsAllowed = 10;

    explicit FrameSilence(Clock::time_point scanStart) : last_(scanStart) {}

    void arrived(std::int64_t frames, Clock::time_point now);
    std::chrono::milliseconds limit() const;
    // No frame since the scan started or since the last one until then: the scan is over.
    Clock::time_point deadline() const { return last_ + limit(); }
    std::int64_t frames() const { return frames_; }

private:
    Clock::time_point first_{};
    Clock::time_point last_;
    std::int64_t frames_ = 0;
};

} // namespace ferrow
