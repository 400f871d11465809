// tolvane3 end to end against the simulated module, one path each: connecting (the binary host
// corrected with a reboot, after which the program reconnects by itself) and handing a
// high-speed scan to the real ferrow, after which it connects again and its capture opens for
// review; a sensor profile's round trip; and the program as a real process that connects and is
// ended by SIGTERM with its settings saved.

#include "profiles/CreateSPF.h"
#include "profiles/UploadSPF.h"
#include "program_fixture.h"
#include "review/Review.h"
#include "simulatorprocess.h"
#include "vornsim/simconstants.h"

#include <QChart>
#include <QChartView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QUdpSocket>
#include <csignal>

namespace {

constexpr int WaitMs = 20000;

class Tolvane3WithVornsim : public ProgramFixture {
protected:
    void TearDown() override {
        qunsetenv("VORN_FERROW_TERMINAL");
        ProgramFixture::TearDown();
    }
    // Presets as "KEY=VALUE"; the transcript records what tolvane3 sends.
    void startSimulator(const QStringList& presets, const QStringList& options = {}) {
        ASSERT_NE(simulator.start(presets, options + QStringList{"--transcript", transcript}), 0);
    }
    QByteArray received() const { return SimulatorProcess::receivedInTranscript(transcript); }
    // Everything the module has received is exactly bytes.
    bool receivedBecomes(const QByteArray& bytes) const {
        return QTest::qWaitFor([&] { return received() == bytes; }, WaitMs);
    }

    SimulatorProcess simulator;
    const QString transcript = sandbox.path(QStringLiteral("vornsim.log"));
};

TEST_F(Tolvane3WithVornsim, TheHostIsCorrectedWithARebootAndAHighSpeedScanGoesToFerrowAndBack) {
    QUdpSocket probe; // a free port for the frames, where ferrow binds: the dual-stack wildcard
    ASSERT_TRUE(probe.bind(QHostAddress::AnyIPv6, 0));
    const QByteArray udpPort = QByteArray::number(probe.localPort());
    probe.close();
    startSimulator({"FPS=1000", "PERIOD=50", "AVG=1"},
                   {QStringLiteral("--reboot-ms"), QStringLiteral("200")});
    SettingsSandbox::store({{"HssEnabled", "True"},
                            {"HssFileName", "capture"},
                            {"HssUdpPort", udpPort.constData()},
                            {"AutoReconnect", "True"},
                            {"StatusPollAlways", "False"},
                            {"StatusPollOff", "True"}});
    qputenv("VORN_FERROW_TERMINAL", ""); // no console: ferrow ends once its frames are in
    startProgram();
    // After start-up, so that the list time-out keeps its 5 s: the reboot's pauses last 350 ms.
    Timing::setScale(0.01);
    ASSERT_TRUE(connectTo(simulator.address()));
    const QByteArray connectSequence = "SET BIN 1\rSET FORMAT 0\rList I\rList C\rList H\rList S\r";
    const QByteArray corrected =
        connectSequence + "SET HOST 127.0.0.1 " + udpPort + " U\rSAVE\rreboot\r" + connectSequence;
    ASSERT_TRUE(receivedBecomes(corrected));
    ASSERT_TRUE(settingsRead(WaitMs));

    frame().mnuStartScan->trigger(); // returns when ferrow has ended
    // ferrow's sidecar of the capture, with the module's state at the hand-off added.
    const QJsonObject sidecar = QJsonDocument::fromJson(contents("capture.bin.json")).object();
    EXPECT_EQ(sidecar["module"].toObject(), QJsonObject({{"address", simulator.address()},
                                                         {"model", vornsim::kDefaultModel},
                                                         {"serialNumber", "0417"},
                                                         {"firmware", "3.03"}}));
    EXPECT_EQ(sidecar["capture"]["framesStored"].toInt(), 1000);
    EXPECT_TRUE(receivedBecomes(corrected + "SCAN\r" + connectSequence));
    EXPECT_EQ(messages.size(), 1); // the reboot's warning; refused retries say nothing

    // The capture opens for review in one step, in seconds by the frame period of AVG x PERIOD.
    frame().mnuReviewLastCapture->trigger();
    auto* review = qobject_cast<Review*>(frame().mdiArea->activeSubWindow()->widget());
    ASSERT_NE(review, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return review->loaded(); }, WaitMs));
    EXPECT_EQ(review->recording().frameCount(), 1000u);
    EXPECT_EQ(review->chtReview->chart()->axes(Qt::Horizontal).constFirst()->titleText(),
              "Time (s)");
}

// A profile made from sensor 3 and uploaded into sensor 9 gives it the same tables. No status
// polls, so that every READY the windows count answers their own commands.
TEST_F(Tolvane3WithVornsim, AProfileOfSensor3UploadedIntoSensor9GivesItTheSameTables) {
    const auto labelBecomes = [](const QLabel* label, const char* text) {
        return QTest::qWaitFor([&] { return label->text() == QLatin1String(text); }, WaitMs);
    };
    const auto createProfile = [&](const char* position, const char* name) {
        const QString file = sandbox.path(QLatin1String(name));
        UserPrompts::setFileDialogHandler([file](const auto&) { return file; });
        frame().mnuCreateSensorProfileFile->trigger();
        CreateSPF& form = FormInstance<CreateSPF>::instance();
        form.txtSensorPosition->setText(QLatin1String(position));
        form.btnStart->click();
        EXPECT_TRUE(labelBecomes(form.labStatusText, "Done creating file"));
        form.btnExit->click();
        return contents(file);
    };
    // Sensor 3's tables and points: in the module's state file and, as listed, in its profile.
    const QByteArray sensor3 = "SET TEMP 3 OFFSET 1.25\r\nSET TEMP 3 GAIN 0.98\r\nSET ABS3 1\r\n"
                               "SET MIN3 -7.5\r\nSET MAX3 45\r\nSET NEGPTS3 2\r\n"
                               "INSERT 0 3 0.5 1.5\r\nINSERT 10 3 2.5 3.5\r\n";
    startSimulator({}, {QStringLiteral("--state"), sandbox.write("vornsim.state", sensor3)});
    SettingsSandbox::store({{"StatusPollInterval", "0"}});
    startProgram();
    ASSERT_TRUE(connectTo(simulator.address()) && settingsRead(WaitMs));
    Timing::setScale(0.01); // a profile line every 5 ms
    EXPECT_EQ(createProfile("4", "sensor3.spf"), sensor3);

    UserPrompts::setFileDialogHandler([&](const auto&) { return sandbox.path("sensor3.spf"); });
    frame().mnuUploadSensorProfileFile->trigger();
    UploadSPF& upload = FormInstance<UploadSPF>::instance();
    upload.txtSensorPosition->setText(QStringLiteral("10"));
    upload.btnStart->click();
    ASSERT_TRUE(labelBecomes(upload.labStatusText, "Done with upload, push SAVE to save in VORN"));
    upload.btnSave->click();

    EXPECT_EQ(createProfile("10", "sensor9.spf"),
              QByteArray("SET TEMP 9 OFFSET 1.25\r\nSET TEMP 9 GAIN 0.98\r\nSET ABS9 1\r\n"
                         "SET MIN9 -7.5\r\nSET MAX9 45\r\nSET NEGPTS9 2\r\n"
                         "INSERT 0 9 0.5 1.5\r\nINSERT 10 9 2.5 3.5\r\n"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Tolvane3WithVornsim, TheRealProgramConnectsPollsAndSavesOnSigterm) {
    // The module already sends its high-speed frames to this computer: no correction, no reboot.
    startSimulator({"HOST=127.0.0.1 23 U"});
    SettingsSandbox::store({{"StatusPollInterval", "1"}, {"HssEnabled", "True"}});
    QProcess program; // in the sandbox's folders, and offscreen: the environment is this one's
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(qEnvironmentVariable("VORN_BIN_DIR") + QStringLiteral("/tolvane3"),
                  {QStringLiteral("--connect"), simulator.address()});
    ASSERT_TRUE(program.waitForStarted(WaitMs));

    ASSERT_TRUE(QTest::qWaitFor([&] { return received().contains("List S\rSTATUS\r"); }, WaitMs));
    EXPECT_EQ(CommandsWithout(received(), "STATUS"),
              "SET BIN 1\rSET FORMAT 0\rList I\rList C\rList H\rList S\r");

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(WaitMs));
    EXPECT_EQ(program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, 0);
    EXPECT_EQ(sandbox.history(), simulator.address().toLatin1() + QByteArray("\r\n").repeated(11));
}

} // namespace
