// A low-speed scan of 1,000 frames per second for 10 s from the simulated module into tolvane3,
// with the bar graph shown and a comma-separated log open: frames logged against frames sent,
// and the longest time the event loop did not come round (a 1 ms timer's longest gap).
//
//   scan_bench [seconds]   (offscreen unless QT_QPA_PLATFORM says otherwise; needs vornsim
//                           beside it or in VORN_BIN_DIR)

#include "connection/Main.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "simulatorprocess.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
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
    // Settings, address history and the log stay in a scratch folder.
    QTemporaryDir scratch;
    qputenv("HOME", scratch.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toLocal8Bit());
    QDir::setCurrent(scratch.path());
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       scratch.filePath(QStringLiteral("config")));
    if (qEnvironmentVariableIsEmpty("VORN_BIN_DIR")) {
        qputenv("VORN_BIN_DIR", QCoreApplication::applicationDirPath().toLocal8Bit());
    }
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int frames = seconds * FrameRate;

    // 62.5 us x 16 channels x 1 sample = 1 ms per frame.
    SimulatorProcess simulator;
    if (simulator.start({"--set", QStringLiteral("FPS=%1").arg(frames), "--set", "PERIOD=62.5",
                         "--set", "AVG=1"}) == 0) {
        std::fprintf(stderr, "vornsim did not start\n");
        return 1;
    }
    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.MDIForm_Load();
    frame.resize(1024, 768);
    frame.show();
    frame.mnuBarGraphOpen_Click();
    UserPrompts::setFileDialogHandler([](const auto&) { return QStringLiteral("scan.csv"); });
    frame.mnuOpenLogFile_Click();
    Main& window = FormInstance<Main>::instance();
    window.txtIpAdd->setText(simulator.address());
    window.Command1->click();
    const bool settingsRead = QTest::qWaitFor(
        [&] {
            return Global::ConnState == Global::Connected &&
                   Global::ListPosition > Global::ListLetters.size() &&
                   !window.tmrResponse->isActive();
        },
        20000);
    if (!settingsRead) {
        std::fprintf(stderr, "could not connect to vornsim and read its settings\n");
        return 1;
    }

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
