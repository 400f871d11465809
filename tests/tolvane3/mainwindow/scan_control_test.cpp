// Scan control, and running the capture console with and without a terminal emulator.

#include "program_fixture.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <fcntl.h>
#include <unistd.h>

namespace {

class ScanControl : public ProgramFixture {
protected:
    void TearDown() override {
        qunsetenv("VORN_FERROW_TERMINAL");
        ProgramFixture::TearDown();
    }
    // A shell script in the test's directory, ready to run.
    QString script(const char* name, const QByteArray& body) {
        const QString path = sandbox.write(name, "#!/bin/sh\n" + body);
        EXPECT_TRUE(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner));
        return path;
    }
};

TEST_F(ScanControl, ALowSpeedScanSendsScanAndStopAroundItsStatesAndCalZeroAndSaveSendTheirs) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    frame().mnuStartScan->trigger();
    EXPECT_TRUE(!frame().mnuStartScan->isEnabled() && frame().toolbarButton(7)->isEnabled());
    frame().mnuStop->trigger();
    EXPECT_TRUE(frame().mnuStartScan->isEnabled());
    for (QAction* entry :
         {frame().toolbarButton(10), frame().mnuCalZero, frame().mnuSaveSettings}) {
        entry->trigger();
    }
    QList<QByteArray> sent = commandsSoFar();
    sent.removeIf([](const QByteArray& command) { return command.startsWith("List "); });
    EXPECT_EQ(sent, QList<QByteArray>(
                        {"SET BIN 0", "SET FORMAT 0", "SCAN", "STOP", "CALZ", "CALZ", "SAVE"}));
}

// A configuration the console would misread, or could not read at all, keeps the module here.
TEST_F(ScanControl, AHighSpeedScanIsNotHandedOverWithoutAGoodConfiguration) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    linkConfig().chkHSS->setChecked(true);
    linkConfig().txtHssFileName->setText(" run");
    frame().mnuStartScan->trigger(); // no frame count reported: the console would take 100
    Global::ProcessVornLine(QStringLiteral("SET FPS 100"));
    frame().mnuStartScan->trigger();
    linkConfig().txtHssFileName->setText("run");
    ASSERT_TRUE(QDir::current().mkdir("FERROW.CFG")); // cannot be replaced by a file
    frame().mnuStartScan->trigger();

    EXPECT_EQ(
        messageTexts(),
        QStringList({"Frames Per Scan must be a whole number of at least 1 for a high speed scan",
                     "Ferrow cannot use the data file name  run",
                     "Error writing " + QDir::current().absoluteFilePath("FERROW.CFG")}));
    EXPECT_EQ(Global::ConnState, Global::Connected);
}

// Without a terminal the console gets no keys (it ends by itself), and in any case none of this
// program's descriptors but the standard three. With one, the wait is for the console.
TEST_F(ScanControl, TheConsoleRunsWithOnlyTheStandardDescriptorsAndIsWaitedForItself) {
    startProgram();
    const int inheritable = ::open("/dev/null", O_RDONLY); // no close-on-exec of its own
    ASSERT_GE(inheritable, 0);
    // readlink opens nothing itself: it prints exactly the descriptors it inherited beyond 0-2.
    const QString console = script(
        "console", "read -r line && echo key > input || echo none > input\n"
                   "echo output; echo errors >&2\n"
                   "exec readlink $(seq -f /proc/self/fd/%g 3 64) > descriptors 2>/dev/null\n");
    qputenv("VORN_FERROW_TERMINAL", "");
    // Its output and errors go where this program's go: here, a file.
    const int consoleOut = ::open("console.out", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int ownOutput = ::dup(STDOUT_FILENO);
    const int ownErrors = ::dup(STDERR_FILENO);
    ::dup2(consoleOut, STDOUT_FILENO);
    ::dup2(consoleOut, STDERR_FILENO);
    frame().ExecCmd(console);
    ::dup2(ownOutput, STDOUT_FILENO);
    ::dup2(ownErrors, STDERR_FILENO);
    for (const int descriptor : {inheritable, consoleOut, ownOutput, ownErrors}) {
        ::close(descriptor);
    }
    EXPECT_EQ(contents("input"), "none\n");
    EXPECT_EQ(contents("descriptors"), "");
    EXPECT_EQ(contents("console.out"), "output\nerrors\n");
    EXPECT_TRUE(messages.isEmpty());

    // Many terminal emulators return at once; the wait is for the console itself.
    const QString terminal =
        script("terminal", "[ \"$1\" = -e ] || exit 2\nshift\n\"$@\" </dev/null >/dev/null &\n");
    qputenv("VORN_FERROW_TERMINAL", terminal.toLocal8Bit());
    EXPECT_EQ(frame().ExecCmd(script("waited", "sleep 1\necho done > finished\nexit 4\n")), 4);
    EXPECT_EQ(contents("finished"), "done\n");

    EXPECT_EQ(frame().ExecCmd(QDir::current().absoluteFilePath("missing")), 0);
    EXPECT_EQ(messageTexts(), QStringList{"Could not open Ferrow.exe"});
}

// Painted, it leaves a file behind: the console below waits for it.
class PaintProbe : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QFile painted(QStringLiteral("painted"));
        painted.open(QIODevice::WriteOnly);
    }
};

// While the console runs, the windows repaint, but no timer runs and no key reaches a window,
// not even after the console has ended.
TEST_F(ScanControl, WhileTheConsoleRunsTheWindowsPaintButTakeNoInputAndRunNoTimers) {
    startProgram();
    PaintProbe probe;
    probe.show();
    ASSERT_TRUE(QTest::qWaitFor([] { return QFile::remove(QStringLiteral("painted")); }));
    probe.update();
    int timerRuns = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++timerRuns; });
    timer.start(0);
    QCoreApplication::postEvent(window().txtIpAdd,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    const QString console = script(
        "console", "for i in $(seq 600); do [ -f painted ] && exit 5; sleep 0.1; done\nexit 1\n");
    qputenv("VORN_FERROW_TERMINAL", "");
    EXPECT_EQ(frame().ExecCmd(console), 5);
    EXPECT_EQ(timerRuns, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().txtIpAdd->text(), QString());
}

// Back from a high-speed scan the program connects again by itself, reconnecting on or off.
TEST_F(ScanControl, AfterAHighSpeedScanTheProgramConnectsAgain) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    linkConfig().chkHSS->setChecked(true);
    module.sendLine("SET FPS 100");
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::FramesPerScan == 100; }));
    // A terminal emulator that reports the console ended without running it.
    qputenv("VORN_FERROW_TERMINAL",
            script("terminal", "echo $$ > \"$6\"; echo 0 > \"$7\"\n").toLocal8Bit());
    module.clearReceived();
    frame().mnuStartScan->trigger();
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return CommandsWithout(module.received(), "STATUS") == "SET BIN 1\rSET FORMAT 0\rList I\r";
    }));
    EXPECT_EQ(messageTexts(), QStringList());
}

} // namespace
