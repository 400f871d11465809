// The frame: toolbar buttons, status panels and the bar-graph check marks (the entries that send
// a command are checked with the scan control).

#include "program_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace {

TEST_F(ProgramFixture, ToolbarButtonsHaveAnIconAndAreNamedByTheirToolTip) {
    for (QAction* action : frame().Toolbar1->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        // Icon-only buttons are known to screen readers by their tool tip.
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(frame().Toolbar1->widgetForAction(action));
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(action->icon().isNull() || action->toolTip().isEmpty())
            << action->objectName().toStdString();
        EXPECT_EQ(accessible->text(QAccessible::Name), action->toolTip());
    }
}

// Screen readers and automation on the accessibility bus read each panel's text as its name.
TEST_F(ProgramFixture, StatusPanelsAreNamedByTheirCurrentText) {
    startProgram();
    for (int panel = 1; panel <= MDIMain::StatusPanelCount; ++panel) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(
            frame().StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel%1").arg(panel)));
        ASSERT_NE(accessible, nullptr) << panel;
        EXPECT_EQ(accessible->text(QAccessible::Name), frame().statusPanel(panel)) << panel;
        const QString text = QStringLiteral("Panel %1 text").arg(panel);
        frame().setStatusPanel(panel, text);
        EXPECT_EQ(accessible->text(QAccessible::Name), text) << panel;
    }
}

// The decimal places and the pressure/temperature choice act as option groups.
TEST_F(ProgramFixture, BarGraphChoicesLeaveExactlyTheChosenEntryChecked) {
    // Without engineering units the bar graph shows whole numbers whatever is chosen.
    FormInstance<VornConfig>::instance().chkEu->setChecked(true);
    frame().mnuBarGraph2Places->setChecked(true);
    frame().mnuBarGraph3Places->trigger();
    frame().mnuBarGraph3Places->trigger(); // choosing the checked entry again keeps it
    const auto places = frame().decimalPlacesEntries();
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i]->isChecked(), i == 3) << i;
    }
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0.000"));

    frame().mnuBarGraphPress->setChecked(true);
    frame().mnuBarGraphTemp->trigger();
    frame().mnuBarGraphTemp->trigger();
    EXPECT_TRUE(frame().mnuBarGraphTemp->isChecked());
    EXPECT_FALSE(frame().mnuBarGraphPress->isChecked());
}

} // namespace
