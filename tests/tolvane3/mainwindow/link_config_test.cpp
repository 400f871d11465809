// The link-settings dialog: opening and closing, the poll choice re-applied on Close, Browse, and
// names for its text fields.

#include "program_fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>

namespace {

void openDialog() {
    FormInstance<MDIMain>::instance().toolbarButton(5)->trigger();
}

TEST_F(ProgramFixture, OpeningShowsAppliedSettingsAndLocksTheConnectButton) {
    startProgram();
    Global::LogOutgoing = true;
    Global::StatusPollInterval = QStringLiteral("4");
    openDialog();
    ASSERT_TRUE(linkConfig().isVisible());
    EXPECT_TRUE(linkConfig().chkOutgoing->isChecked());
    EXPECT_EQ(linkConfig().medStatusPollInterval->text(), QStringLiteral("4"));
    EXPECT_FALSE(window().Command1->isEnabled());

    // Escape neither closes nor applies (the dialog has no Cancel).
    linkConfig().chkStatusData->setChecked(true);
    QTest::keyClick(&linkConfig(), Qt::Key_Escape);
    EXPECT_TRUE(linkConfig().isVisible());
    EXPECT_FALSE(Global::LogStatusData);

    linkConfig().cmdOk->click();
    EXPECT_FALSE(linkConfig().isVisible());
    EXPECT_TRUE(FormInstance<LinkConfig>::isLoaded());
    EXPECT_TRUE(window().Command1->isEnabled());
    EXPECT_TRUE(Global::LogStatusData);

    // The close box unlocks the button as well.
    openDialog();
    linkConfig().close();
    EXPECT_FALSE(linkConfig().isVisible());
    EXPECT_TRUE(window().Command1->isEnabled());
}

// Moves the focus to the window and waits until it is there.
bool focusOn(QWidget& window) {
    window.windowHandle()->requestActivate();
    return QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window.windowHandle(); });
}

// Edits never applied with Close, and the Connect button unlocked behind the dialog's back.
void leaveUnappliedEdits() {
    LinkConfig& dialog = FormInstance<LinkConfig>::instance();
    dialog.chkErrors->setChecked(true);
    dialog.medStatusPollInterval->setText(QStringLiteral("7"));
    dialog.txtHssFileName->setText(QStringLiteral("run.csv"));
    FormInstance<Main>::instance().Command1->setEnabled(true);
}

// The fields hold the applied settings again and the Connect button is locked.
void expectActivated() {
    LinkConfig& dialog = FormInstance<LinkConfig>::instance();
    EXPECT_FALSE(dialog.chkErrors->isChecked());
    EXPECT_EQ(dialog.medStatusPollInterval->text(), QStringLiteral("2"));
    EXPECT_EQ(dialog.txtHssFileName->text(), QStringLiteral("run.csv")); // has no applied copy
    EXPECT_FALSE(FormInstance<Main>::instance().Command1->isEnabled());
}

TEST_F(ProgramFixture, TheDialogIsActivatedWhenTheFocusComesBackFromTheFrame) {
    startProgram();
    ASSERT_TRUE(focusOn(frame()));
    openDialog();
    ASSERT_TRUE(focusOn(linkConfig()));
    leaveUnappliedEdits();

    // A look at the main window leaves the edits alone ...
    ASSERT_TRUE(focusOn(frame()));
    EXPECT_TRUE(linkConfig().chkErrors->isChecked());
    // ... coming back to the dialog refills the fields from the applied settings.
    ASSERT_TRUE(focusOn(linkConfig()));
    expectActivated();

    // So does choosing the open dialog again.
    leaveUnappliedEdits();
    frame().mnuTolvaneSettings->trigger();
    expectActivated();
    EXPECT_TRUE(linkConfig().isVisible());
}

TEST_F(ProgramFixture, APollChoiceAppliedWithCloseActsAtOnceOnlyWhileConnected) {
    SettingsSandbox::store(
        {{"StatusPollAlways", "False"}, {"StatusPollOff", "True"}, {"StatusPollInterval", "1"}});
    Timing::setScale(0.05);
    startProgram();
    const auto choose = [](QRadioButton* option) {
        openDialog();
        option->setChecked(true);
        FormInstance<LinkConfig>::instance().cmdOk->click();
    };
    choose(linkConfig().optStatusPollAlways);
    EXPECT_TRUE(Global::StatusPollAlways);
    EXPECT_EQ(frame().statusPanel(2), QString());
    EXPECT_FALSE(window().tmrStatus->isActive());

    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForCommandCount("STATUS", 1));
    choose(linkConfig().optStatusPollOff);
    EXPECT_FALSE(window().tmrStatus->isActive());
    EXPECT_EQ(frame().statusPanel(2), QStringLiteral("Status Off"));
    choose(linkConfig().optStatusPollAlways);
    EXPECT_EQ(frame().statusPanel(2), QStringLiteral("Getting Status"));
    EXPECT_TRUE(window().tmrStatus->isActive());
}

TEST_F(ProgramFixture, BrowseSetsTheDataFileNameUnlessCancelled) {
    startProgram();
    QList<UserPrompts::FileDialogRequest> requests;
    QString answer;
    UserPrompts::setFileDialogHandler([&](const UserPrompts::FileDialogRequest& request) {
        requests << request;
        return answer;
    });
    linkConfig().txtHssFileName->setText(QStringLiteral("before.csv"));

    linkConfig().cmdBrowse->click();
    EXPECT_EQ(linkConfig().txtHssFileName->text(), QStringLiteral("before.csv"));

    answer = QStringLiteral("/data/wing run.csv");
    linkConfig().cmdBrowse->click();
    EXPECT_EQ(linkConfig().txtHssFileName->text(), QStringLiteral("/data/wing run.csv"));

    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].mode, UserPrompts::FileDialogMode::Open);
    EXPECT_EQ(requests[0].filter, QStringLiteral("Comma Separated Variable Files (*.csv)|*.csv"));
    EXPECT_EQ(requests[0].fileName, QString());
}

TEST_F(ProgramFixture, TextFieldsAreNamedByTheirLabels) {
    const LinkConfig& dialog = linkConfig();
    const std::pair<QWidget*, const char*> labelled[] = {
        {dialog.txtHssFileName, "Data File Name"},
        {dialog.txtHssUdpPort, "UDP Port"},
        {dialog.medUploadDwell, "Upload Dwell In ms"},
        {dialog.medStatusPollInterval, "Status Poll Interval in Seconds"},
    };
    for (const auto& [control, name] : labelled) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr) << name;
        EXPECT_EQ(accessible->text(QAccessible::Name), QLatin1String(name));
    }
}

TEST_F(ProgramFixture, MaskedFieldsTakeOnlyTheirDigits) {
    LinkConfig& dialog = linkConfig();
    dialog.medStatusPollInterval->clear();
    QTest::keyClicks(dialog.medStatusPollInterval, QStringLiteral("x12"));
    EXPECT_EQ(dialog.medStatusPollInterval->text(), QStringLiteral("1"));
    dialog.medUploadDwell->clear();
    QTest::keyClicks(dialog.medUploadDwell, QStringLiteral("12a345"));
    EXPECT_EQ(dialog.medUploadDwell->text(), QStringLiteral("123"));
}

} // namespace
