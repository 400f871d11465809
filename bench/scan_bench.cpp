// A low-speed scan of 1,000 frames per second for 10 s from the simulated module into tolvane3,
// with the bar graph shown and a comma-separated log open: frames logged against frames sent,
// and the longest time the event loop did not come round (a 1 ms timer's longest gap).
//
//   scan_bench [seconds]   (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "livesession.h"
#include "mainwindow/MDIMain.h"
#include "program/userprompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int FrameRate = 1000;

qsizetype RowsIn(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    LiveSession session;
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int frames = seconds * FrameRate;
    // 62.5 us x 16 channels x 1 sample = 1 ms per frame.
    if (!session.start({QStringLiteral("FPS=%1").arg(frames), "PERIOD=62.5", "AVG=1"})) {
        return 1;
    }
    MDIMain& frame = session.frame();
    frame.mnuBarGraphOpen_Click();
    UserPrompts::setFileDialogHandler([](const auto&) { return QStringLiteral("scan.csv"); });
    frame.mnuOpenLogFile_Click();

    QElapsedTimer sinceTick;
    qint64 longestGapNs = 0;
    QTimer monitor;
    monitor.setTimerType(Qt::PreciseTimer);
    monitor.setInterval(1);
    QObject::connect(&monitor, &QTimer::timeout, [&] {
        longestGapNs = std::max(longestGapNs, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    QElapsedTimer scan;
    scan.start();
    sinceTick.start();
    monitor.start();
    frame.mnuStartScan_Click();
    // Done when every row is in, or when the log has not grown for 2 s.
    qsizetype rows = 0;
    QElapsedTimer sinceGrowth;
    sinceGrowth.start();
    while (rows < frames && sinceGrowth.elapsed() < 2000) {
        QTest::qWait(100);
        if (const qsizetype now = RowsIn(QStringLiteral("scan.csv")); now != rows) {
            rows = now;
            sinceGrowth.restart();
        }
    }
    const double elapsed = static_cast<double>(scan.elapsed()) / 1000.0;
    monitor.stop();
    frame.mnuCloseLogFile_Click();

    std::printf("low-speed scan, %d frames/s, bar graph shown, CSV log open\n", FrameRate);
    std::printf("  frames sent %d, rows logged %lld (%.2f %%), in %.2f s\n", frames,
                static_cast<long long>(rows), 100.0 * static_cast<double>(rows) / frames, elapsed);
    std::printf("  longest event-loop stall %.1f ms (target: under 50 ms)\n",
                static_cast<double>(longestGapNs) / 1e6);
    return 0;
}
