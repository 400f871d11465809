#include "vornsim/scanrun.h"

#include <algorithm>

namespace vornsim {

namespace {

// Frames sent per wake-up at most, so that commands (STOP) and signals are still served.
constexpr quint64 kMaxFramesPerWake = 512;
constexpr int kRetryMs = 1;

} // namespace

ScanRun::ScanRun(ScanPlan plan, Deliver deliver, QObject* parent)
    : QObject(parent), plan_(std::move(plan)), deliver_(std::move(deliver)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ScanRun::tick);
}

void ScanRun::start() {
    clock_.start();
    next_ = 0;
    timer_.start(0);
}

bool ScanRun::deliverFrame(quint32 frameNumber) {
    if (plan_.dropFrames.contains(frameNumber)) {
        return true;
    }
    if (!deliver_(frameNumber)) {
        return false;
    }
    if (plan_.repeatFrames.contains(frameNumber)) {
        deliver_(frameNumber);
    }
    return true;
}

void ScanRun::tick() {
    const qint64 intervalNs = plan_.interval.count();
    quint64 due = plan_.burst ? next_ + kMaxFramesPerWake
                              : static_cast<quint64>(clock_.nsecsElapsed() / intervalNs) + 1;
    due = std::min(due, next_ + kMaxFramesPerWake);
    if (plan_.frameCount > 0) {
        due = std::min(due, plan_.frameCount);
    }
    bool sinkFull = false;
    while (next_ < due) {
        if (!deliverFrame(static_cast<quint32>(plan_.firstFrameNumber + next_))) {
            sinkFull = true;
            break;
        }
        ++next_;
    }
    if (plan_.frameCount > 0 && next_ >= plan_.frameCount) {
        Q_EMIT finished();
        return;
    }
    if (sinkFull) {
        timer_.start(kRetryMs);
        return;
    }
    const qint64 untilNext = static_cast<qint64>(next_) * intervalNs - clock_.nsecsElapsed();
    if (plan_.burst || untilNext <= 0) {
        timer_.start(0);
        return;
    }
    // Round up: waking early would only find nothing due.
    timer_.start(static_cast<int>((untilNext + 999999) / 1000000));
}

} // namespace vornsim
