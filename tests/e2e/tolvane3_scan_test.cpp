// Scans end to end: a low-speed scan from the simulated module into a comma-separated log, and a
// high-speed scan handed to the real ferrow, after which tolvane3 is connected again.

#include "program_fixture.h"
#include "simulatorprocess.h"
#include "vornsim/textframe.h"

#include <QUdpSocket>

namespace {

constexpr int WaitMs = 20000;

class ScanSession : public ProgramFixture {
protected:
    void TearDown() override {
        qunsetenv("VORN_FERROW_TERMINAL");
        ProgramFixture::TearDown();
    }
    // Presets as "KEY=VALUE"; the module also gets what tolvane3 sends on connecting.
    void startSimulator(const QStringList& presets) {
        QStringList options;
        for (const QString& preset : presets) {
            options << QStringLiteral("--set") << preset;
        }
        ASSERT_NE(simulator.start(options), 0);
    }
    void connectAndReadSettings() {
        ASSERT_TRUE(connectTo(simulator.address()));
        ASSERT_TRUE(settingsRead(WaitMs));
    }

    SimulatorProcess simulator;
};

TEST_F(ScanSession, ALowSpeedScanFillsTheCommaSeparatedLogWithWhatTheModuleSent) {
    const QStringList presets = {"FPS=50", "PERIOD=500", "AVG=1"};
    startSimulator(presets);
    startProgram();
    connectAndReadSettings();
    UserPrompts::setFileDialogHandler([](const auto&) { return QStringLiteral("scan.csv"); });
    frame().mnuOpenLogFile->trigger();
    frame().mnuStartScan->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents("scan.csv").count('\n') == 50; }, WaitMs));
    frame().mnuCloseLogFile->trigger();
    EXPECT_TRUE(frame().mnuStartScan->isEnabled()); // the scan ended with its last frame

    vornsim::SimConfig config;
    vornsim::ModuleSettings settings(config.model);
    for (const QString& preset : presets) {
        const QStringList keyValue = preset.split(QLatin1Char('='));
        settings.set(keyValue[0].toLatin1(), keyValue[1].toLatin1());
    }
    const vornsim::PressureModel readings =
        vornsim::moduleReadings(settings, config.seed, 16, false);
    QByteArray expected;
    for (quint32 frameNumber = 0; frameNumber < 50; ++frameNumber) {
        const QList<QByteArray> lines = vornsim::textFrameLines(
            vornsim::textFrameFormat(settings, config), readings, frameNumber);
        expected +=
            Global::NumberText(Global::FramePeriod * static_cast<float>(frameNumber)).toLatin1() +
            ',' + QByteArray::number(frameNumber);
        for (qsizetype channel = 1; channel < lines.size(); ++channel) {
            expected += ',' + lines[channel].split(' ')[1];
        }
        expected += "\r\n";
    }
    EXPECT_EQ(contents("scan.csv"), expected);
}

TEST_F(ScanSession, AHighSpeedScanIsCapturedByFerrowAndTheConnectionComesBack) {
    QUdpSocket probe; // a free port for the frames, where ferrow binds: the dual-stack wildcard
    ASSERT_TRUE(probe.bind(QHostAddress::AnyIPv6, 0));
    const QByteArray udpPort = QByteArray::number(probe.localPort());
    probe.close();
    startSimulator({"FPS=1000", "PERIOD=50", "AVG=1", "HOST=127.0.0.1 " + udpPort + " U"});
    SettingsSandbox::store({{"HssEnabled", "True"},
                            {"HssFileName", "capture"},
                            {"HssUdpPort", udpPort.constData()},
                            {"StatusPollAlways", "False"}});
    qputenv("VORN_FERROW_TERMINAL", ""); // no console: ferrow ends once its frames are in
    startProgram();
    connectAndReadSettings();
    frame().mnuStartScan->trigger(); // returns when ferrow has ended
    EXPECT_TRUE(messages.isEmpty());
    constexpr int VornRecordBytes = 104;
    EXPECT_EQ(contents("capture.bin").size(), 1000 * VornRecordBytes);
    EXPECT_EQ(contents("capture.csv").count('\n'), 1000);
    EXPECT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }, WaitMs));
}

} // namespace
