// The sensor-profile windows, the command-file upload and the point lists against a fake module:
// the file a listing writes, the lines an upload sends and when, the ways a file fails, uploads
// that lose their connection, and the point-list requests.

#include "program_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

class ProfilesTest : public ProgramFixture {
protected:
    // Every file dialog answered with the name.
    void answerFileDialogs(const QString& name) {
        UserPrompts::setFileDialogHandler([this, name](const UserPrompts::FileDialogRequest& r) {
            fileDialogs.append(r);
            return name;
        });
    }
    // The window the entry opens, its file dialog answered with the name.
    template <typename Window> Window& openWith(QAction* MDIMain::*entry, const QString& name) {
        answerFileDialogs(name);
        (frame().*entry)->trigger();
        return FormInstance<Window>::instance();
    }
    static bool statusBecomes(const QLabel* label, const char* text) {
        return QTest::qWaitFor([&] { return label->text() == QLatin1String(text); });
    }

    QList<UserPrompts::FileDialogRequest> fileDialogs;
};

TEST_F(ProfilesTest, CreateWritesTheChosenSensorsLinesAsListedAndAppendsOnASecondStart) {
    ASSERT_TRUE(startConnectedQuietly());
    const QString path = sandbox.path(QStringLiteral("sensor.spf"));
    CreateSPF& form = openWith<CreateSPF>(&MDIMain::mnuCreateSensorProfileFile, path);
    frame().mnuCreateSensorProfileFile->trigger(); // open already: only brought forward
    ASSERT_EQ(fileDialogs.size(), 1);
    EXPECT_EQ(fileDialogs[0].mode, UserPrompts::FileDialogMode::Save);
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Creating ") + path);
    EXPECT_TRUE(window().tmrStatus->isActive()); // for the window's work, though polling is off

    for (const auto& [position, index] :
         {std::pair{"16", 15}, {"0", 0}, {"-3", 0}, {"40", 15}, {"4.4", 3}}) {
        form.txtSensorPosition->setText(QLatin1String(position));
        EXPECT_EQ(form.sensorIndex(), index) << position;
    }
    QTest::keyClick(form.txtSensorPosition, Qt::Key_Return);
    EXPECT_TRUE(form.txtSensorPosition->isEnabled()); // Enter starts no run

    // The module's listings; the high bank's NEGPTSH is no line of sensor 0.
    const std::pair<QByteArray, QList<QByteArray>> listings[] = {
        {"LIST O", {"SET TEMP 0 1 2", "SET TEMP 3 4 5", "SET TEMP 15 6 7"}},
        {"LIST G", {"SET TEMP 3 8 9", "SET TEMP 15 1 1"}},
        {"LIST B", {"SET ABS0 1", "SET ABS3 1", "SET ABS13 0", "SET ABS15 0"}},
        {"LIST L", {"SET MIN3 -5", "SET MIN15 -5"}},
        {"LIST H", {"SET MAX3 15", "SET MAX15 15"}},
        {"LIST N", {"SET NEGPTSH 0", "SET NEGPTS0 2", "SET NEGPTS3 4", "SET NEGPTS15 0"}},
    };
    for (const QByteArray sensor : {"3", "0"}) {
        SCOPED_TRACE(sensor.constData());
        form.txtSensorPosition->setText(QString::number(sensor.toInt() + 1));
        module.clearReceived();
        form.btnStart->click();
        EXPECT_FALSE(form.txtSensorPosition->isEnabled());
        for (const auto& [command, reply] : listings) {
            ASSERT_TRUE(module.waitForCommandCount(command, 1)) << command.constData();
            for (const QByteArray& line : reply) {
                module.sendLine(line);
            }
        }
        ASSERT_TRUE(module.waitForCommandCount("LIST M 0 69 " + sensor, 1));
        // A status answer holding READY counts as one of the three.
        for (const QByteArray& line :
             {"INSERT 0 " + sensor + " 1.0 2.0", "INSERT 1 " + sensor + " 3.0 4.0",
              QByteArray("READY"), QByteArray("STATUS: READY"), QByteArray("READY")}) {
            module.sendLine(line);
        }
        ASSERT_TRUE(statusBecomes(form.labStatusText, "Done creating file"));
        EXPECT_TRUE(form.txtSensorPosition->isEnabled());
    }
    EXPECT_EQ(commandsSoFar(), (QList<QByteArray>{"LIST O", "LIST G", "LIST B", "LIST L", "LIST H",
                                                  "LIST N", "LIST M 0 69 0"}));

    form.close(); // the close box takes Close's path
    EXPECT_FALSE(FormInstance<CreateSPF>::isLoaded());
    EXPECT_FALSE(window().tmrStatus->isActive());
    EXPECT_EQ(frame().statusPanel(2), "Status Off");
    EXPECT_EQ(contents(path), QByteArray("SET TEMP 3 4 5\r\nSET TEMP 3 8 9\r\nSET ABS3 1\r\n"
                                         "SET MIN3 -5\r\nSET MAX3 15\r\nSET NEGPTS3 4\r\n"
                                         "INSERT 0 3 1.0 2.0\r\nINSERT 1 3 3.0 4.0\r\n"
                                         "SET TEMP 0 1 2\r\nSET ABS0 1\r\nSET NEGPTS0 2\r\n"
                                         "INSERT 0 0 1.0 2.0\r\nINSERT 1 0 3.0 4.0\r\n"));
}

TEST_F(ProfilesTest, AFailedProfileWriteIsReportedOnceAndEndsTheRun) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) {
        GTEST_SKIP() << "needs /dev/full";
    }
    ASSERT_TRUE(startConnectedQuietly());
    CreateSPF& form =
        openWith<CreateSPF>(&MDIMain::mnuCreateSensorProfileFile, QStringLiteral("/dev/full"));
    form.btnStart->click();
    ASSERT_TRUE(module.waitForCommandCount("LIST O", 1));
    for (const char* line : {"SET TEMP 0 1 2", "SET TEMP 15 0 0", "SET TEMP 0 3 4", "STATUS: X"}) {
        module.sendLine(line);
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return frame().statusPanel(2).endsWith('X'); }));
    EXPECT_EQ(messageTexts(), QStringList{"Error writing /dev/full"});
    EXPECT_EQ(form.labStatusText->text(), "Error writing /dev/full");
    EXPECT_FALSE(form.btnStart->isEnabled());
    EXPECT_EQ(commandsSoFar(), QList<QByteArray>{"LIST O"});
}

TEST_F(ProfilesTest, AFileThatIsNotChosenOrCannotBeOpenedOpensNoWindow) {
    ASSERT_TRUE(startConnectedQuietly());
    const QString missing = sandbox.path(QStringLiteral("missing/file.spf"));
    // The entry, the file chosen and the message about it.
    const std::tuple<const char*, QAction * MDIMain::*, QString, QString> cases[] = {
        {"create, cancelled", &MDIMain::mnuCreateSensorProfileFile, QString(), QString()},
        {"create in a missing folder", &MDIMain::mnuCreateSensorProfileFile, missing,
         "Error creating " + missing},
        {"upload of a missing profile", &MDIMain::mnuUploadSensorProfileFile, missing,
         "Error opening " + missing},
        {"command file, cancelled", &MDIMain::mnuUploadFileToVorn, QString(), QString()},
        {"missing command file", &MDIMain::mnuUploadFileToVorn, missing,
         "Error opening upload file " + missing},
    };
    for (const auto& [name, entry, chosen, message] : cases) {
        SCOPED_TRACE(name);
        fileDialogs.clear();
        messages.clear();
        answerFileDialogs(chosen);
        (frame().*entry)->trigger();
        ASSERT_EQ(fileDialogs.size(), 1);
        EXPECT_EQ(messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        EXPECT_FALSE(FormInstance<CreateSPF>::isLoaded() || FormInstance<UploadSPF>::isLoaded() ||
                     FormInstance<Upload>::isLoaded());
        EXPECT_TRUE(window().Command1->isEnabled());
    }
}

TEST_F(ProfilesTest, UploadSendsTheProfileForTheChosenSensorAndASecondStartSendsItAllAgain) {
    // Without status polls nothing comes from the module after the file's last line.
    SettingsSandbox::store({{"StatusPollInterval", "0"}});
    ASSERT_TRUE(startConnectedQuietly());
    const QString path =
        sandbox.write("sensor.spf", "SET TEMP 12 25.0\r\n\r\n' copied from 3\r\n"
                                    "SET ABS3 1\r\nSET NEGPTS3 1\nINSERT 5 3 1.0 2.0\r\n");
    Timing::setScale(0.01); // a line every 5 ms
    UploadSPF& form = openWith<UploadSPF>(&MDIMain::mnuUploadSensorProfileFile, path);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Uploading ") + path);
    form.txtSensorPosition->setText(QStringLiteral("8"));
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        module.clearReceived();
        form.btnStart->click();
        EXPECT_FALSE(form.txtSensorPosition->isEnabled() || form.btnSave->isEnabled());
        ASSERT_TRUE(module.waitForCommandCount("DELETE 0 69 7", 1));
        module.sendLine("READY");
        module.sendLine("STATUS: READY");
        ASSERT_TRUE(module.waitForCommandCount("FILL", 1));
        EXPECT_EQ(module.received(), QByteArray("DELETE 0 69 7\rSET TEMP 7 25.0\rSET ABS7 1\r"
                                                "SET NEGPTS7 1\rINSERT 5 7 1.0 2.0\rFILL\r"));
        module.sendLine("READY");
        module.sendLine("READY");
        ASSERT_TRUE(
            statusBecomes(form.labStatusText, "Done with upload, push SAVE to save in VORN"));
    }
    module.clearReceived();
    form.btnSave->click();
    EXPECT_FALSE(FormInstance<UploadSPF>::isLoaded());
    EXPECT_EQ(commandsSoFar(), QList<QByteArray>{"SAVE"});
}

TEST_F(ProfilesTest, ACommandFileGoesOneLinePerTickUnchangedAndEndsWithItsLastLine) {
    ASSERT_TRUE(startConnectedQuietly());
    const QString path = sandbox.write("commands.txt", "SET A 1\r\n\r\n  set b 2 \nSET C 3\r\n");
    // Ticks by hand first: the timer's own would come after ten minutes.
    Global::UploadDwell = QStringLiteral("600000");
    Upload& form = openWith<Upload>(&MDIMain::mnuUploadFileToVorn, path);
    ASSERT_TRUE(form.isVisible());
    EXPECT_EQ(form.labUploadFileName->text(), path);
    EXPECT_FALSE(form.cmdClose->isEnabled());
    EXPECT_FALSE(window().Command1->isEnabled());
    // The empty line uses up the second tick.
    const QByteArray sentAfterTick[] = {"SET A 1\r", "SET A 1\r", "SET A 1\r  set b 2 \r",
                                        "SET A 1\r  set b 2 \rSET C 3\r"};
    for (const QByteArray& sent : sentAfterTick) {
        form.TimerUpload_Timer();
        ASSERT_TRUE(module.waitForBytes(sent.size()));
        EXPECT_EQ(module.received(), sent);
    }
    form.TimerUpload_Timer(); // the file's last line end starts no further line
    EXPECT_EQ(form.labUploadFileName->text(), "End of file reached");
    EXPECT_TRUE(form.cmdClose->isEnabled());
    EXPECT_EQ(form.txtUploadData->toPlainText(), "SET A 1\n  set b 2 \nSET C 3\n");
    form.cmdCancel->click(); // Cancel has the last word
    EXPECT_EQ(form.labUploadFileName->text(), "Upload canceled");
    form.cmdClose->click();
    EXPECT_FALSE(FormInstance<Upload>::isLoaded());
    EXPECT_TRUE(window().Command1->isEnabled());

    // A dwell of 0 still paces the file.
    module.clearReceived();
    Global::UploadDwell = QStringLiteral("0");
    frame().mnuUploadFileToVorn->trigger();
    ASSERT_TRUE(
        statusBecomes(FormInstance<Upload>::instance().labUploadFileName, "End of file reached"));
    const QByteArray sent("SET A 1\r  set b 2 \rSET C 3\r");
    ASSERT_TRUE(module.waitForBytes(sent.size()));
    EXPECT_EQ(module.received(), sent);
}

// Enter in a box presses nothing (Start clears a sensor's table at once; Enter on buttons is the
// frame's check, Enter in the created profile's position the creation's). A run in progress
// outlives Escape; the window's own Close, or Cancel first, ends it.
TEST_F(ProfilesTest, KeysStartNoRunAndEndNoneInProgress) {
    SettingsSandbox::store({{"StatusPollInterval", "0"}});
    ASSERT_TRUE(startConnectedQuietly());
    Global::UploadDwell = QStringLiteral("600000"); // no line is sent within the test
    const QString path = sandbox.write("keys.spf", "SET ABS3 1\r\n");
    UploadSPF& profile = openWith<UploadSPF>(&MDIMain::mnuUploadSensorProfileFile, path);
    checkPresses<UploadSPF>({
        {"Enter in the position", key(profile.txtSensorPosition, Qt::Key_Return), "", true},
        {"Space on Start", key(profile.btnStart, Qt::Key_Space), "DELETE 0 69 0\r", true},
        {"Escape while running", key(&profile, Qt::Key_Escape), "", true},
        {"Space on Close while running", key(profile.btnExit, Qt::Key_Space), "", false},
    });
    Upload& upload = openWith<Upload>(&MDIMain::mnuUploadFileToVorn, path);
    checkPresses<Upload>({
        {"Enter in the lines sent", key(upload.txtUploadData, Qt::Key_Return), "", true},
        {"Escape while sending", key(&upload, Qt::Key_Escape), "", true},
        {"Space on Cancel", key(upload.cmdCancel, Qt::Key_Space), "", true},
    });
    EXPECT_FALSE(upload.TimerUpload->isActive());
    checkPresses<Upload>({{"Escape once canceled", key(&upload, Qt::Key_Escape), "", false}});
    EXPECT_TRUE(window().Command1->isEnabled());
}

TEST_F(ProfilesTest, ListingsAndUploadsStopAndSaySoWhenTheConnectionIsLost) {
    ASSERT_TRUE(startConnectedQuietly());
    Timing::setScale(1000); // neither upload gets to its end first, however slow the test runs
    const QString path = sandbox.write("sensor.spf", "SET ABS3 1\r\nSET ABS4 1\r\n");
    Upload& upload = openWith<Upload>(&MDIMain::mnuUploadFileToVorn, path);
    UploadSPF& profile = openWith<UploadSPF>(&MDIMain::mnuUploadSensorProfileFile, path);
    CreateSPF& created = openWith<CreateSPF>(&MDIMain::mnuCreateSensorProfileFile,
                                             sandbox.path(QStringLiteral("created.spf")));
    created.btnStart->click();
    profile.btnStart->click();
    ASSERT_TRUE(module.waitForCommandCount("DELETE 0 69 0", 1));
    module.sendLine("READY");
    module.sendLine("READY");
    ASSERT_TRUE(QTest::qWaitFor([&] { return profile.tmrUpload->isActive(); }));

    module.dropConnection();

    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Disconnected; }));
    EXPECT_EQ(upload.labUploadFileName->text(), "Connection lost, upload stopped");
    EXPECT_TRUE(!upload.TimerUpload->isActive() && upload.cmdClose->isEnabled());
    EXPECT_EQ(profile.labStatusText->text(), "Connection lost, upload stopped");
    EXPECT_TRUE(!profile.tmrUpload->isActive() && profile.btnStart->isEnabled());
    // Part of a listing is in the file: no second listing is appended to it.
    EXPECT_EQ(created.labStatusText->text(), "Connection lost, profile not complete");
    EXPECT_FALSE(created.btnStart->isEnabled());
}

// The point list dialogs: OK sends the request, empty choices included; Cancel and Escape send
// nothing. Every way out unloads (Enter is none: the frame checks that no button is its default).
TEST_F(ProfilesTest, PointListOkSendsTheRowsAndChannelAsChosenAndEveryWayOutUnloads) {
    ASSERT_TRUE(startConnectedQuietly());
    constexpr int none = -1;
    enum Way { Ok, Cancel, Escape };
    // Master list?, start row, ending row, channel, the way out, bytes sent.
    const std::tuple<bool, int, int, int, Way, const char*> cases[] = {
        {true, 0, 69, 3, Ok, "List M 0 69 3\r"},
        {false, 0, none, 5, Ok, "List A 0  5\r"},
        {false, 60, 2, 15, Ok, "List A 60 2 15\r"},
        {true, none, none, none, Ok, "List M   \r"},
        {true, 1, 2, 3, Cancel, ""},
        {false, 1, 2, 3, Escape, ""}};
    for (const auto& [master, start, end, channel, way, sent] : cases) {
        frame().mnuCommands->trigger();
        Commands& commands = FormInstance<Commands>::instance();
        (master ? commands.cmdListMP : commands.cmdListAselect)->click();
        PointListDialog& dialog =
            master ? static_cast<PointListDialog&>(FormInstance<MasterList>::instance())
                   : FormInstance<AllList>::instance();
        ASSERT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.cmbChannel->isEditable());
        EXPECT_EQ(dialog.cmbChannel->currentIndex(), none);
        dialog.cmbStartTemp->setCurrentIndex(start);
        dialog.cmbEndingTemp->setCurrentIndex(end);
        dialog.cmbChannel->setCurrentIndex(channel);
        if (way == Escape) {
            QTest::keyClick(dialog.cmbChannel, Qt::Key_Escape);
        } else {
            (way == Ok ? dialog.cmdOk : dialog.cmdCancel)->click();
        }
        EXPECT_EQ(bytesSent(), sent);
        EXPECT_FALSE(FormInstance<MasterList>::isLoaded() || FormInstance<AllList>::isLoaded());
    }
}

} // namespace
