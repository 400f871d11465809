#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <chrono>
#include <functional>

namespace vornsim {

struct ScanPlan {
    std::chrono::nanoseconds interval{1};
    quint64 frameCount = 0; // 0: until stopped
    quint32 firstFrameNumber = 0;
    bool burst = false; // ignore the interval, send as fast as the sink takes frames
    QSet<quint32> dropFrames;
    QSet<quint32> repeatFrames;
};

// Paces the frames of one scan. Frame k is due at start + k x interval, computed from the start
// rather than accumulated, so the rate does not drift; every wake-up sends all frames that are
// due, which covers intervals below the timer's millisecond resolution.
class ScanRun : public QObject {
    Q_OBJECT
public:
    // Delivers one frame; false when the sink cannot take it now (it is offered again later).
    using Deliver = std::function<bool(quint32 frameNumber)>;

    ScanRun(ScanPlan plan, Deliver deliver, QObject* parent = nullptr);
    void start();
    // No frame is sent after this; the run can then be deleted later.
    void stop() { timer_.stop(); }

Q_SIGNALS:
    // After the last frame; the run may be deleted then.
    void finished();

private:
    void tick();
    bool deliverFrame(quint32 frameNumber);

    ScanPlan plan_;
    Deliver deliver_;
    QTimer timer_;
    QElapsedTimer clock_;
    quint64 next_ = 0; // index of the next frame to send
};

} // namespace vornsim
