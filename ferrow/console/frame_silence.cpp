#include "frame_silence.h"

#include <algorithm>

namespace ferrow {

void FrameSilence::arrived(std::int64_t frames, Clock::time_point now) {
    if (frames <= 0) {
        return;
    }
    if (frames_ == 0) {
        first_ = now;
    }
    frames_ += frames;
    last_ = now;
}

std::chrono::milliseconds FrameSilence::limit() const {
    if (frames_ < 2) {
        return floor;
    }
    const Clock::duration period = (last_ - first_) / (frames_ - 1);
    return std::max(floor, std::chrono::ceil<std::chrono::milliseconds>(period * periodsAllowed));
}

} // namespace ferrow
