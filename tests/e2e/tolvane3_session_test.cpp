// tolvane3 against the simulated module: the binary host corrected with a reboot and reconnecting
// by itself after it and after the module dropped the connection (with reconnecting off, the
// reboot's end and the Connect button are checked by list_sequence_test), the scan configuration
// read and changed, and the program as a real process that connects (the sequence stepping on the
// module's real group ends) and is ended by SIGTERM with its settings saved.

#include "connection/autoreconnect.h"
#include "program_fixture.h"
#include "scanconfig/VornConfig.h"
#include "simulatorprocess.h"

#include <QProcess>
#include <csignal>

namespace {

constexpr int WaitMs = 20000;

class SimulatorSession : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        transcript = sandbox.path(QStringLiteral("vornsim.log"));
    }
    void startSimulator(QStringList options = {}) {
        ASSERT_NE(simulator.start(options << QStringLiteral("--transcript") << transcript), 0);
    }
    bool received(const QByteArray& bytes) const {
        return QTest::qWaitFor(
            [&] { return SimulatorProcess::receivedInTranscript(transcript).contains(bytes); },
            WaitMs);
    }

    SimulatorProcess simulator;
    QString transcript;
};

TEST_F(SimulatorSession, ReconnectingByItselfFollowsTheRebootAndAConnectionTheModuleDrops) {
    // The four groups are 38 lines: the first reply after them closes the connection.
    startSimulator({QStringLiteral("--reboot-ms"), QStringLiteral("200"),
                    QStringLiteral("--close-after"), QStringLiteral("39")});
    SettingsSandbox::store({{"HssEnabled", "True"},
                            {"AutoReconnect", "True"},
                            {"StatusPollAlways", "False"},
                            {"StatusPollOff", "True"}});
    startProgram();
    // After start-up, so that the list time-out keeps its 5 s: the reboot's pauses last 350 ms,
    // as do the retries' pauses.
    Timing::setScale(0.01);
    ASSERT_TRUE(connectTo(simulator.address()));
    const QByteArray connectSequence = "SET BIN 1\rSET FORMAT 0\rList I\rList C\rList H\rList S\r";
    QByteArray expected =
        connectSequence + "SET HOST 127.0.0.1 23 U\rSAVE\rreboot\r" + connectSequence;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return SimulatorProcess::receivedInTranscript(transcript) == expected; }, WaitMs));
    ASSERT_TRUE(settingsRead(WaitMs));
    EXPECT_EQ(Global::ConnState, Global::Connected);
    EXPECT_EQ(messages.size(), 1); // the reboot's warning; refused retries say nothing

    // A pause of a second, long enough to be seen counting down.
    Timing::setScale(1.0);
    Global::SendVornCommand(QStringLiteral("STATUS\r"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return frame().statusPanel(1) == "Reconnecting to " + simulator.address() + " in 1 s";
        },
        WaitMs));
    expected += "STATUS\r" + connectSequence;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return SimulatorProcess::receivedInTranscript(transcript) == expected; }, WaitMs));
    ASSERT_TRUE(settingsRead(WaitMs));
    EXPECT_EQ(messages.size(), 1);

    window().Command1->click(); // Disconnect
    EXPECT_EQ(frame().statusPanel(1), QStringLiteral("No connection"));
    EXPECT_FALSE(window().autoReconnector->tmrCountdown->isActive());
}

TEST_F(SimulatorSession, TheScanConfigurationShowsAndChangesTheModulesSettings) {
    startSimulator({QStringLiteral("--set"), QStringLiteral("PERIOD=400"), QStringLiteral("--set"),
                    QStringLiteral("AVG=8"), QStringLiteral("--set"), QStringLiteral("FPS=10")});
    startProgram();
    ASSERT_TRUE(connectTo(simulator.address()));
    ASSERT_TRUE(settingsRead(WaitMs));
    frame().mnuConfigure->trigger();
    VornConfig& dialog = FormInstance<VornConfig>::instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.cmdApply->isEnabled(); }, WaitMs));
    EXPECT_EQ(dialog.medRate->text(), QStringLiteral("19.53125")); // 400 us, 8 averaged
    EXPECT_EQ(dialog.medFps->text(), QStringLiteral("10"));

    dialog.medFps->setText(QStringLiteral("25"));
    dialog.medAverage->setText(QStringLiteral("10"));
    dialog.cmdApply->click();
    // What the module lists back after Apply is what the program now goes by.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dialog.cmdApply->isEnabled() && Global::FramesPerScan == 25.0f; }, WaitMs));
    EXPECT_EQ(Global::FramePeriod, 0.064f);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SimulatorSession, RealProgramConnectsPollsAndSavesOnSigterm) {
    // The module already sends its high-speed frames to this computer: no correction, no reboot.
    startSimulator({QStringLiteral("--set"), QStringLiteral("HOST=127.0.0.1 23 U")});
    SettingsSandbox::store({{"StatusPollInterval", "1"}, {"HssEnabled", "True"}});
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), sandbox.path(QString()));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), sandbox.path(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(sandbox.path(QString()));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(qEnvironmentVariable("VORN_BIN_DIR") + QStringLiteral("/tolvane3"),
                  {QStringLiteral("--connect"), simulator.address()});
    ASSERT_TRUE(program.waitForStarted(WaitMs));

    ASSERT_TRUE(received("List S\rSTATUS\r"));
    EXPECT_EQ(CommandsWithout(SimulatorProcess::receivedInTranscript(transcript), "STATUS"),
              "SET BIN 1\rSET FORMAT 0\rList I\rList C\rList H\rList S\r");

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(WaitMs));
    EXPECT_EQ(program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, 0);
    EXPECT_EQ(sandbox.history(), simulator.address().toLatin1() + QByteArray("\r\n").repeated(11));
    EXPECT_EQ(SettingsSandbox::stored("StatusPollInterval"), QStringLiteral("1"));
    EXPECT_EQ(SettingsSandbox::stored("HssEnabled"), QStringLiteral("True"));
}

} // namespace
