// tolvane3's sensor profiles and command-file upload against the simulated module: a profile
// made from one sensor and uploaded into another gives it the same tables, and a command file
// changes the module's settings.

#include "profiles/CreateSPF.h"
#include "profiles/Upload.h"
#include "profiles/UploadSPF.h"
#include "program_fixture.h"
#include "simulatorprocess.h"

#include <QLabel>

namespace {

constexpr int WaitMs = 20000;

class ProfileSession : public ProgramFixture {
protected:
    // Connected to the simulator and its settings read; no status polls, so that every READY
    // the windows count answers their own commands.
    void connectToSimulator(const QStringList& options) {
        ASSERT_NE(simulator.start(options), 0);
        SettingsSandbox::store({{"StatusPollInterval", "0"}});
        startProgram();
        ASSERT_TRUE(connectTo(simulator.address()));
        ASSERT_TRUE(settingsRead(WaitMs));
    }
    void chooseFile(const QString& name) {
        UserPrompts::setFileDialogHandler(
            [name](const UserPrompts::FileDialogRequest&) { return name; });
    }
    static bool labelBecomes(const QLabel* label, const char* text) {
        return QTest::qWaitFor([&] { return label->text() == QLatin1String(text); }, WaitMs);
    }
    // The profile of the sensor at the position, as written.
    QByteArray createProfile(const char* position, const char* name) {
        const QString path = sandbox.path(QLatin1String(name));
        chooseFile(path);
        frame().mnuCreateSensorProfileFile->trigger();
        CreateSPF& form = FormInstance<CreateSPF>::instance();
        form.txtSensorPosition->setText(QLatin1String(position));
        form.btnStart->click();
        EXPECT_TRUE(labelBecomes(form.labStatusText, "Done creating file"));
        form.btnExit->click();
        return contents(path);
    }

    SimulatorProcess simulator;
};

// A profile of sensor 3 uploaded into sensor 9 gives it the tables of 3; then a command file
// changes the module's settings.
TEST_F(ProfileSession, AProfileOfSensor3GoesIntoSensor9AndACommandFileChangesSettings) {
    // Sensor 3's tables and points: in the module's state file and, as listed, in its profile.
    const QByteArray sensor3 = "SET TEMP 3 OFFSET 1.25\r\nSET TEMP 3 GAIN 0.98\r\nSET ABS3 1\r\n"
                               "SET MIN3 -7.5\r\nSET MAX3 45\r\nSET NEGPTS3 2\r\n"
                               "INSERT 0 3 0.5 1.5\r\nINSERT 10 3 2.5 3.5\r\n";
    const QString state =
        sandbox.write("vornsim.state", "SET PERIOD 400\r\nSET FPS 10\r\n" + sensor3);
    connectToSimulator({QStringLiteral("--state"), state});
    Timing::setScale(0.01); // a profile line every 5 ms
    EXPECT_EQ(createProfile("4", "sensor3.spf"), sensor3);

    chooseFile(sandbox.path(QStringLiteral("sensor3.spf")));
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

    Global::UploadDwell = QStringLiteral("20");
    chooseFile(sandbox.write("commands.txt", "SET FPS 25\r\n\r\nSET AVG 10\r\n"));
    frame().mnuUploadFileToVorn->trigger();
    ASSERT_TRUE(
        labelBecomes(FormInstance<Upload>::instance().labUploadFileName, "End of file reached"));

    // What the module lists now is what the program goes by.
    Global::SendVornCommand(QStringLiteral("List S\r"));
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::FramesPerScan == 25.0f; }, WaitMs));
    EXPECT_EQ(Global::FramePeriod, 0.064f); // 400 us, 10 averaged
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
