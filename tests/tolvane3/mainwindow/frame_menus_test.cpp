// The frame: toolbar buttons, status panels, the bar-graph check marks, and the entries that send
// a command.

#include "program_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace {

TEST_F(ProgramFixture, ToolbarButtonsHaveAnIconAndAreNamedByTheirToolTip) {
    EXPECT_EQ(frame().Toolbar1->actions().size(), MDIMain::ToolbarButtonCount);
    for (int index = 1; index <= MDIMain::ToolbarButtonCount; ++index) {
        QAction* action = frame().toolbarButton(index);
        ASSERT_EQ(action, frame().Toolbar1->actions()[index - 1]);
        const bool separator = index == 3 || index == 6 || index == 9 || index == 11;
        EXPECT_EQ(action->isSeparator(), separator) << index;
        if (separator) {
            continue;
        }
        EXPECT_FALSE(action->icon().isNull()) << index;
        EXPECT_FALSE(action->toolTip().isEmpty()) << index;
        // Icon-only buttons are known to screen readers by their tool tip.
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(frame().Toolbar1->widgetForAction(action));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), action->toolTip()) << index;
    }
    EXPECT_EQ(frame().toolbarButton(0), nullptr);
    EXPECT_EQ(frame().toolbarButton(15), nullptr);
}

// Screen readers and automation on the accessibility bus read each panel's text as its name.
TEST_F(ProgramFixture, StatusPanelsAreNamedByTheirCurrentText) {
    startProgram();
    const char* const purposes[] = {"Connection", "Module Status", "Log File"};
    for (int panel = 1; panel <= MDIMain::StatusPanelCount; ++panel) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(
            frame().StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel%1").arg(panel)));
        ASSERT_NE(accessible, nullptr) << panel;
        EXPECT_EQ(accessible->text(QAccessible::Description), QLatin1String(purposes[panel - 1]));
        EXPECT_EQ(accessible->text(QAccessible::Name), frame().statusPanel(panel)) << panel;
        const QString text = QStringLiteral("Panel %1 text").arg(panel);
        frame().setStatusPanel(panel, text);
        EXPECT_EQ(accessible->text(QAccessible::Name), text) << panel;
    }
}

TEST_F(ProgramFixture, DecimalPlacesLeaveExactlyTheChosenEntryChecked) {
    frame().mnuBarGraph2Places->setChecked(true);
    frame().mnuBarGraph3Places->trigger();
    const auto places = frame().decimalPlacesEntries();
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i]->isChecked(), i == 3) << i;
    }
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0.000"));

    // Choosing the checked entry again keeps it checked.
    frame().mnuBarGraph3Places->trigger();
    EXPECT_TRUE(frame().mnuBarGraph3Places->isChecked());
    frame().mnuBarGraph0Places->trigger();
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0"));
    frame().mnuBarGraph5Places->trigger();
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0.00000"));
}

TEST_F(ProgramFixture, PressuresAndTemperaturesAreNeverCheckedTogether) {
    frame().mnuBarGraphPress->setChecked(true);
    frame().mnuBarGraphTemp->trigger();
    EXPECT_TRUE(frame().mnuBarGraphTemp->isChecked());
    EXPECT_FALSE(frame().mnuBarGraphPress->isChecked());
    frame().mnuBarGraphTemp->trigger();
    EXPECT_TRUE(frame().mnuBarGraphTemp->isChecked());
    frame().mnuBarGraphPress->trigger();
    EXPECT_TRUE(frame().mnuBarGraphPress->isChecked());
    EXPECT_FALSE(frame().mnuBarGraphTemp->isChecked());
}

TEST_F(ProgramFixture, CalZeroAndSaveSettingsSendTheirCommand) {
    SettingsSandbox::store({{"StatusPollAlways", "False"}, {"StatusPollOff", "True"}});
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForCommandCount("List I", 1));

    const std::pair<QAction*, QByteArray> entries[] = {{frame().toolbarButton(10), "CALZ\r"},
                                                       {frame().mnuCalZero, "CALZ\r"},
                                                       {frame().mnuSaveSettings, "SAVE\r"}};
    for (const auto& [entry, command] : entries) {
        module.clearReceived();
        entry->trigger();
        ASSERT_TRUE(module.waitForBytes(command.size()));
        EXPECT_EQ(module.received(), command);
    }
}

TEST_F(ProgramFixture, AToolbarKeyOfNoButtonDoesNothing) {
    startProgram();
    QAction stray(QStringLiteral("stray"));
    stray.setData(QStringLiteral("help")); // keys compare case-sensitively
    frame().Toolbar1_ButtonClick(&stray);
    EXPECT_FALSE(FormInstance<About>::isLoaded());
    EXPECT_FALSE(linkConfig().isVisible());
}

} // namespace
