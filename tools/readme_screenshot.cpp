// The README's picture: tolvane3 with its bar graph during a low-speed scan of the simulated
// module, high and low channels tagged, a CSV log open.
//
//   readme_screenshot FILE.png   (scripts/screenshot runs it under a virtual display)

#include "livesession.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/userprompts.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: readme_screenshot FILE.png\n");
        return 2;
    }
    // Named before the session moves into its scratch folder.
    const QString picture = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    LiveSession session;
    QApplication app(argc, argv);
    // An endless scan, 25 frames a second (500 us x 5 samples x 16 channels).
    if (!session.start({"FPS=0", "PERIOD=500", "AVG=5"})) {
        return 1;
    }
    MDIMain& frame = session.frame();
    frame.mnuBarGraphOpen_Click();
    if (QMdiSubWindow* bars = frame.mdiArea->activeSubWindow()) {
        bars->setGeometry(QRect(QPoint(0, 0), frame.mdiArea->size()));
    }
    UserPrompts::setFileDialogHandler([](const auto&) { return QStringLiteral("scan.csv"); });
    frame.mnuOpenLogFile_Click();
    frame.mnuStartScan_Click();
    constexpr int ScanMs = 3000;
    QTest::qWait(ScanMs);
    frame.mnuStop_Click();
    frame.mnuTag1to16_Click();
    QTest::qWait(200); // the last frame's lines and the repaint
    if (!frame.grab().save(picture)) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", qPrintable(picture));
    return 0;
}
