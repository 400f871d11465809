// A low-speed scan of 1,000 frames per second from the simulated module into tolvane3, with the
// bar graph shown and a comma-separated log open: first so, then with the trend window open as
// well, each on a quiet machine and beside one busy process per core. For each: frames logged
// against frames sent, and how often and how long the event loop did not come round (a 1 ms
// timer's gaps).
//
//   scan_bench [seconds [trend span]]   (offscreen unless QT_QPA_PLATFORM says otherwise)
//   scan_bench --soak [minutes]
//
// The trend's span is 10 s unless given, so that its picture is full for most of a short scan;
// `scan_bench 75 60` measures the default span with a full picture. The soak runs one scan with
// all three open for 30 minutes unless told otherwise, with the trend at its default span, and
// prints every minute the rows logged, the frames lost, the longest stall and the memory held.

#include "livesession.h"
#include "mainwindow/MDIMain.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "trend/Trend.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int FrameRate = 1000;
constexpr qint64 StallNs = 50'000'000;

double Ms(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e6;
}

// This thread's processor time: a gap in which it ran little was the machine's doing.
qint64 ThreadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// The gaps between ticks of a 1 ms timer: how long the event loop did not come round, and how
// much of each gap the program itself spent working rather than waiting for a core.
class StallWatch {
public:
    StallWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 gapNs = sinceTick_.nsecsElapsed();
            const qint64 cpuNs = ThreadCpuNs();
            const qint64 workNs = cpuNs - cpuAtTick_;
            longestNs_ = std::max(longestNs_, gapNs);
            stalls_ += gapNs > StallNs ? 1 : 0;
            longestWorkNs_ = std::max(longestWorkNs_, workNs);
            workStalls_ += workNs > StallNs ? 1 : 0;
            sinceTick_.restart();
            cpuAtTick_ = cpuNs;
        });
        sinceTick_.start();
        cpuAtTick_ = ThreadCpuNs();
        timer_.start();
    }
    qint64 longestNs() const { return longestNs_; }
    int stalls() const { return stalls_; }
    qint64 longestWorkNs() const { return longestWorkNs_; }
    int workStalls() const { return workStalls_; }
    // Starts a new period: the figures so far are forgotten.
    void restart() {
        longestNs_ = longestWorkNs_ = 0;
        stalls_ = workStalls_ = 0;
    }

private:
    QTimer timer_;
    QElapsedTimer sinceTick_;
    qint64 cpuAtTick_ = 0;
    qint64 longestNs_ = 0;
    int stalls_ = 0;
    qint64 longestWorkNs_ = 0;
    int workStalls_ = 0;
};

// A comma-separated scan log read as it grows: its rows, and the frame number of the last one
// (its second field), which tells how many frames the module had sent by then.
class LogTail {
public:
    explicit LogTail(const QString& name) : file_(name) {}

    void read() {
        if (!file_.isOpen() && !file_.open(QIODevice::ReadOnly)) {
            return;
        }
        pending_ += file_.readAll();
        const qsizetype end = pending_.lastIndexOf('\n');
        if (end < 0) {
            return;
        }
        rows_ += pending_.first(end + 1).count('\n');
        const qsizetype start = pending_.lastIndexOf('\n', end - 1) + 1;
        const QList<QByteArray> fields = pending_.sliced(start, end - start).split(',');
        if (fields.size() > 1) {
            lastFrame_ = fields[1].trimmed().toLongLong();
        }
        pending_.remove(0, end + 1);
    }
    qint64 rows() const { return rows_; }
    // Frames sent up to the last row (numbered from 0) that have no row.
    qint64 lost() const { return rows_ == 0 ? 0 : lastFrame_ + 1 - rows_; }

private:
    QFile file_;
    QByteArray pending_;
    qint64 rows_ = 0;
    qint64 lastFrame_ = 0;
};

// One busy process per core for as long as it lives.
class BusyCores {
public:
    BusyCores() {
        for (int core = 0; core < QThread::idealThreadCount(); ++core) {
            auto& spinner = spinners_.emplace_back(std::make_unique<QProcess>());
            spinner->setStandardOutputFile(QProcess::nullDevice());
            spinner->start(QStringLiteral("yes"), {});
        }
    }
    ~BusyCores() {
        for (auto& spinner : spinners_) {
            spinner->kill();
            spinner->waitForFinished();
        }
    }

private:
    std::vector<std::unique_ptr<QProcess>> spinners_;
};

std::string LoadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly)
               ? file.readLine().split(' ').mid(0, 3).join(' ').toStdString()
               : "unknown";
}

long ResidentKiB() {
    QFile file(QStringLiteral("/proc/self/status"));
    if (file.open(QIODevice::ReadOnly)) {
        for (QByteArray line = file.readLine(); !line.isEmpty(); line = file.readLine()) {
            if (line.startsWith("VmRSS:")) {
                return line.mid(6).trimmed().split(' ').front().toLong();
            }
        }
    }
    return -1;
}

void OpenLog(MDIMain& frame, const QString& name) {
    UserPrompts::setFileDialogHandler([name](const auto&) { return name; });
    frame.mnuOpenLogFile_Click();
}

// One scan of the module's FPS frames into a fresh log of that name; prints its figures.
void MeasureScan(MDIMain& frame, int frames, const QString& logName, const std::string& windows) {
    OpenLog(frame, logName);
    // The windows just opened are drawn for the first time (fonts, layout) before the scan.
    QTest::qWait(500);
    StallWatch watch;
    QElapsedTimer scan;
    scan.start();
    frame.mnuStartScan_Click();
    // Done when every row is in, or when the log has not grown for 2 s.
    LogTail log(logName);
    QElapsedTimer sinceGrowth;
    sinceGrowth.start();
    while (log.rows() < frames && sinceGrowth.elapsed() < 2000) {
        QTest::qWait(100);
        const qint64 before = log.rows();
        log.read();
        if (log.rows() != before) {
            sinceGrowth.restart();
        }
    }
    const double elapsed = static_cast<double>(scan.elapsed()) / 1000.0;
    frame.mnuCloseLogFile_Click();

    std::printf("low-speed scan, %d frames/s, %s, CSV log open\n", FrameRate, windows.c_str());
    std::printf("  frames sent %d, rows logged %lld (%.2f %%), in %.2f s, load average %s\n",
                frames, static_cast<long long>(log.rows()),
                100.0 * static_cast<double>(log.rows()) / frames, elapsed, LoadAverage().c_str());
    std::printf("  longest event-loop stall %.1f ms (target: under 50 ms), %d stalls over 50 ms\n",
                Ms(watch.longestNs()), watch.stalls());
    std::printf("  of which the program's own work: longest %.1f ms, %d over 50 ms\n",
                Ms(watch.longestWorkNs()), watch.workStalls());
    std::fflush(stdout);
}

// The scan quiet, then beside a busy process per core; each into its own log.
void MeasureQuietAndLoaded(MDIMain& frame, int frames, const QString& logName,
                           const std::string& windows) {
    MeasureScan(frame, frames, logName + QStringLiteral(".csv"), windows);
    const BusyCores busy;
    MeasureScan(frame, frames, logName + QStringLiteral("-busy.csv"),
                windows + ", busy cores beside");
}

bool ChooseSpan(int span) {
    Trend& trend = FormInstance<Trend>::instance();
    const int spanIndex = trend.cmbSpan->findData(span);
    if (spanIndex < 0) {
        std::fprintf(stderr, "The trend window offers no span of %d s\n", span);
        return false;
    }
    trend.cmbSpan->setCurrentIndex(spanIndex);
    trend.cmbSpan_Click();
    return true;
}

void Soak(MDIMain& frame, int minutes) {
    const QString logName = QStringLiteral("soak.csv");
    OpenLog(frame, logName);
    QTest::qWait(500);
    std::printf("soak: low-speed scan, %d frames/s, bar graph and trend (%d s span) shown, CSV "
                "log open, for %d min\n",
                FrameRate, Trend::DefaultSpanSeconds, minutes);
    std::printf("minute  rows logged  frames lost  longest stall (own work)  stalls>50ms (own)  "
                "VmRSS kB  load average\n");
    std::fflush(stdout);
    StallWatch watch;
    LogTail log(logName);
    QElapsedTimer run;
    run.start();
    frame.mnuStartScan_Click();
    for (int minute = 1; minute <= minutes; ++minute) {
        // Read as it grows, so that no read is long enough to stall the loop itself.
        while (run.elapsed() < minute * 60'000LL) {
            QTest::qWait(200);
            log.read();
        }
        std::printf("%6d  %11lld  %11lld  %8.1f ms (%6.1f ms)  %11d (%3d)  %8ld  %s\n", minute,
                    static_cast<long long>(log.rows()), static_cast<long long>(log.lost()),
                    Ms(watch.longestNs()), Ms(watch.longestWorkNs()), watch.stalls(),
                    watch.workStalls(), ResidentKiB(), LoadAverage().c_str());
        std::fflush(stdout);
        watch.restart();
    }
    frame.mnuStop_Click();
    frame.mnuCloseLogFile_Click();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    LiveSession session;
    QApplication app(argc, argv);
    const bool soak = argc > 1 && std::string(argv[1]) == "--soak";
    const int first = soak ? 2 : 1; // the first number
    const int count = argc > first ? std::atoi(argv[first]) : 0;
    const int minutes = soak ? (count > 0 ? count : 30) : 0;
    const int seconds = soak ? minutes * 60 : (count > 0 ? count : 10);
    // 62.5 us x 16 channels x 1 sample = 1 ms per frame; a soak's scan outlasts its minutes.
    const int frames = (seconds + (soak ? 60 : 0)) * FrameRate;
    if (!session.start({QStringLiteral("FPS=%1").arg(frames), "PERIOD=62.5", "AVG=1"})) {
        return 1;
    }
    MDIMain& frame = session.frame();
    frame.mnuBarGraphOpen_Click();
    if (soak) {
        frame.mnuTrend_Click();
        Soak(frame, minutes);
        return 0;
    }
    MeasureQuietAndLoaded(frame, frames, QStringLiteral("scan"), "bar graph shown");
    const int span = argc > first + 1 ? std::atoi(argv[first + 1]) : 10;
    frame.mnuTrend_Click();
    if (!ChooseSpan(span)) {
        return 1;
    }
    MeasureQuietAndLoaded(frame, frames, QStringLiteral("scan-trend"),
                          "bar graph and trend (" + std::to_string(span) + " s span) shown");
    return 0;
}
