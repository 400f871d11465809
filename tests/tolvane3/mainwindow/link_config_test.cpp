// The link-settings dialog.

#include "program_fixture.h"
#include "scanconfig/VornConfig.h"

#include <QDir>
#include <QRadioButton>

namespace {

void openDialog() {
    FormInstance<MDIMain>::instance().toolbarButton(5)->trigger();
}

TEST_F(ProgramFixture, OpeningShowsAppliedSettingsLocksConnectAndCloseAppliesAndWrites) {
    startProgram();
    Global::LogOutgoing = true;
    Global::StatusPollInterval = QStringLiteral("4");
    openDialog();
    ASSERT_TRUE(linkConfig().isVisible());
    EXPECT_TRUE(linkConfig().chkOutgoing->isChecked());
    EXPECT_EQ(linkConfig().medStatusPollInterval->text(), "4");
    EXPECT_FALSE(window().Command1->isEnabled());

    // Escape takes the close box's path: the fields kept and applied, the dialog hidden.
    linkConfig().chkStatusData->setChecked(true);
    linkConfig().txtHssFileName->setText(QStringLiteral("kept.csv"));
    QTest::keyClick(linkConfig().txtHssFileName, Qt::Key_Escape);
    EXPECT_FALSE(linkConfig().isVisible());
    EXPECT_TRUE(Global::LogStatusData);
    EXPECT_TRUE(window().Command1->isEnabled());

    openDialog();
    linkConfig().chkStatusData->setChecked(false);
    linkConfig().cmdOk->click();
    EXPECT_FALSE(linkConfig().isVisible());
    EXPECT_TRUE(window().Command1->isEnabled());
    EXPECT_FALSE(Global::LogStatusData);
    EXPECT_EQ(linkConfig().txtHssFileName->text(), "kept.csv");

    // Connect is free again only when the last window holding it closes (this one by its close
    // box); a release from a window that holds nothing changes nothing.
    openDialog();
    frame().mnuCommands->trigger();
    FormInstance<VornConfig>::instance().cmdCancel->click();
    linkConfig().close();
    EXPECT_FALSE(linkConfig().isVisible() || window().Command1->isEnabled());
    FormInstance<Commands>::instance().close();
    EXPECT_TRUE(window().Command1->isEnabled());

    // Browse sets the data file name unless cancelled.
    for (const QString& answer : {QString(), QStringLiteral("/data/run 2.csv")}) {
        UserPrompts::setFileDialogHandler(
            [&](const UserPrompts::FileDialogRequest&) { return answer; });
        linkConfig().cmdBrowse->click();
        EXPECT_EQ(linkConfig().txtHssFileName->text(), answer.isEmpty() ? "kept.csv" : answer);
    }

    // Close writes FERROW.CFG, and says so when it cannot.
    ASSERT_TRUE(QFile::remove("FERROW.CFG") && QDir::current().mkdir("FERROW.CFG"));
    openDialog();
    linkConfig().cmdOk->click();
    EXPECT_EQ(messages.size(), 1); // its text is checked with the scan control
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
    EXPECT_TRUE(Global::StatusPollAlways && !window().tmrStatus->isActive());
    EXPECT_EQ(frame().statusPanel(2), QString());

    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForCommandCount("STATUS", 1));
    choose(linkConfig().optStatusPollOff);
    EXPECT_EQ(frame().statusPanel(2), "Status Off");
    EXPECT_FALSE(window().tmrStatus->isActive());
    choose(linkConfig().optStatusPollAlways);
    EXPECT_EQ(frame().statusPanel(2), "Getting Status");
    EXPECT_TRUE(window().tmrStatus->isActive());
}

} // namespace
