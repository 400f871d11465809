// The list sequence against a fake module, and the binary-host check with its reboot.

#include "connection/Timeout.h"
#include "program_fixture.h"

#include <QProgressBar>

namespace {

using ListSequence = ProgramFixture;

TEST_F(ListSequence, AGroupThatDoesNotEndInTimeIsSkippedAndEachTimeOutSaysSo) {
    QList<short> positionAtEachMessage;
    answerMessages(QMessageBox::Ok, [&] { positionAtEachMessage << Global::ListPosition; });
    Timing::setScale(0.01); // the 5 s time-out lasts 50 ms
    startQuietly();
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.size() == 4; }, 10000));
    EXPECT_FALSE(window().tmrResponse->isActive());
    EXPECT_EQ(module.received(), "SET BIN 0\rSET FORMAT 0\rList I\rList C\rList H\rList S\r");
    // Each time-out first asks for the next group, then shows its message.
    EXPECT_EQ(positionAtEachMessage, (QList<short>{3, 4, 5, 5}));
}

TEST_F(ListSequence, ANewSequenceReplacesARunningOneAndADisconnectEndsItQuietly) {
    startQuietly();
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForCommandCount("List I", 1));
    Global::StepListSequence(QStringLiteral("SC"), true);
    ASSERT_TRUE(module.answerLists("SC"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window().tmrResponse->isActive(); }));
    EXPECT_EQ(module.received(), "SET BIN 0\rSET FORMAT 0\rList I\rList S\rList C\r");

    Global::StepListSequence(QStringLiteral("ICHS"), true);
    Global::RebootPending = true;
    module.dropConnection();
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Disconnected; }));
    EXPECT_FALSE(window().tmrResponse->isActive());
    EXPECT_FALSE(Global::RebootPending);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ListSequence, TheBinaryHostIsCorrectedOnlyWhenItDiffers) {
    // High-speed scans, their UDP port, the module's host line and the correction sent.
    const std::tuple<bool, const char*, const char*, QByteArray> cases[] = {
        {true, "23", "SET HOST 127.0.0.1 23 U", ""},
        {true, "23", "SET HOST 127.0.0.1 23 T", "SET HOST 127.0.0.1 23 U\r"},
        {true, "5005", "SET HOST 0 0 T", "SET HOST 127.0.0.1 5005 U\r"},
        {false, "23", "SET HOST 0 0 T", ""},
        {false, "23", "SET HOST 10.0.0.5 23 U", "SET HOST 0 0 T\r"},
        {false, "23", "SET HOST", "SET HOST 0 0 T\r"},
    };
    ASSERT_TRUE(startConnectedQuietly());
    for (const auto& [highSpeed, port, line, sent] : cases) {
        linkConfig().chkHSS->setChecked(highSpeed);
        linkConfig().txtHssUdpPort->setText(QLatin1String(port));
        Global::RebootPending = false;
        // "List I" has gone out: the host line asks for the next group, and the reboot waits for
        // the sequence's end.
        Global::ListLetters = QStringLiteral("ICHS");
        Global::ListPosition = 2;
        module.clearReceived();
        Global::ProcessVornLine(QLatin1String(line));
        ASSERT_TRUE(module.waitForBytes(sent.size() + 7)) << line;
        EXPECT_EQ(module.received(), sent + "List C\r") << line;
        EXPECT_EQ(Global::RebootPending, !sent.isEmpty()) << line;
    }
}

TEST_F(ListSequence, ACorrectionOutsideASequenceSavesWarnsRebootsAndReenablesConnect) {
    QList<bool> connectEnabledAtWarning;
    answerMessages(QMessageBox::Ok,
                   [&] { connectEnabledAtWarning << window().Command1->isEnabled(); });
    QList<int> progress;
    ASSERT_TRUE(startConnectedQuietly());
    Timing::setScale(0.01); // the reboot's 35 s last 350 ms; nothing is waited for meanwhile

    QObject::connect(FormInstance<Timeout>::instance().ProgressBar1, &QProgressBar::valueChanged,
                     [&](int value) { progress << value; });
    Global::ProcessVornLine(QStringLiteral("SET HOST 10.0.0.5 23 U"));

    // The whole reboot has run inside the line's handling.
    EXPECT_EQ(module.received(), "SET HOST 0 0 T\rSAVE\rreboot\r");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(connectEnabledAtWarning, QList<bool>{false});
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    EXPECT_TRUE(window().Command1->isEnabled());
    EXPECT_FALSE(Global::RebootPending);
    ASSERT_TRUE(QTest::qWaitFor([] { return !FormInstance<Timeout>::isLoaded(); }, 10000));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.back(), 34); // closed on the 36th tick
}

} // namespace
