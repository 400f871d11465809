// tolvane3 against the simulated module: the connect sequence, the status in the status bar, and
// the program as a real process ended by SIGTERM with its history and settings saved.

#include "program_fixture.h"
#include "simulatorprocess.h"

#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <csignal>

namespace {

constexpr int WaitMs = 20000;
const QByteArray TenEmptyLines = QByteArray("\r\n").repeated(10);

// The commands received, less the STATUS polls: polling runs beside the connect sequence, so a
// poll may fall between any two of its commands.
QByteArray withoutPolls(const QByteArray& received) {
    QList<QByteArray> commands = received.split('\r');
    commands.removeLast(); // the text after the last CR is not a complete command yet
    commands.removeAll("STATUS");
    return commands.join('\r') + '\r';
}

class SimulatorSession : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        transcript = sandbox.path(QStringLiteral("vornsim.log"));
        ASSERT_NE(simulator.start({QStringLiteral("--transcript"), transcript}), 0);
    }
    bool received(const QByteArray& bytes) const {
        return QTest::qWaitFor(
            [&] { return SimulatorProcess::receivedInTranscript(transcript).contains(bytes); },
            WaitMs);
    }

    SimulatorProcess simulator;
    QString transcript;
};

TEST_F(SimulatorSession, ConnectReadsTheSettingGroupsAndShowsTheModuleStatus) {
    Timing::setScale(0.05); // a STATUS poll every 100 ms instead of every 2 s
    startProgram();
    ASSERT_TRUE(connectTo(simulator.address()));

    ASSERT_TRUE(QTest::qWaitFor(
        [] { return frame().statusPanel(2) == QStringLiteral("Vorn Status: READY"); }, WaitMs))
        << frame().statusPanel(2).toStdString();
    ASSERT_TRUE(received("List S\r"));
    EXPECT_EQ(withoutPolls(SimulatorProcess::receivedInTranscript(transcript)),
              "SET BIN 0\rSET FORMAT 0\rList I\rList C\rList H\rList S\r");
    EXPECT_EQ(frame().statusPanel(1),
              QStringLiteral("Connected to %1 (Model 1216)").arg(simulator.address()));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SimulatorSession, RealProgramConnectsPollsAndSavesOnSigterm) {
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
    EXPECT_EQ(withoutPolls(SimulatorProcess::receivedInTranscript(transcript)),
              "SET BIN 1\rSET FORMAT 0\rList I\rList C\rList H\rList S\r");

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(WaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(sandbox.history(), simulator.address().toLatin1() + "\r\n" + TenEmptyLines);
    EXPECT_EQ(SettingsSandbox::stored("StatusPollInterval"), QStringLiteral("1"));
    EXPECT_EQ(SettingsSandbox::stored("HssEnabled"), QStringLiteral("True"));
    EXPECT_EQ(SettingsSandbox::stored("HssUdpPort"), QStringLiteral("23"));
    EXPECT_EQ(SettingsSandbox::stored("BarGraph2Places"), QStringLiteral("True"));
}

} // namespace
