// The frame (the entries that send a command are checked with the scan control).

#include "program_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

namespace {

TEST_F(ProgramFixture, StartUpShowsTheConnectionWindowAndShutDownSavesAndUnloadsTheWindows) {
    SettingsSandbox::store({{"LogErrors", "True"}});
    sandbox.writeHistory("10.0.0.1\r\n10.0.0.2\r\n" + QByteArray("\r\n").repeated(9));
    MDIMain& started = startProgram();

    // The disconnected state, entered last, words panel 1 its own way.
    EXPECT_EQ(started.statusPanel(1), "No connection");
    // Settings and history are loaded into their homes; the dialog stays hidden.
    EXPECT_TRUE(!linkConfig().isVisible() && linkConfig().chkErrors->isChecked());
    EXPECT_EQ(window().lstIpHistory->count(), 2);
    // The connection window is the frame's visible child; the bar graph is loaded hidden.
    ASSERT_EQ(started.mdiArea->subWindowList().size(), 2);
    EXPECT_EQ(started.mdiArea->subWindowList()[0]->widget(), &window());
    EXPECT_EQ(window().size(), window().sizeHint()); // not squeezed into the unshown area
    EXPECT_EQ(started.mdiArea->subWindowList()[1]->widget(), &FormInstance<Bar>::instance());
    EXPECT_TRUE(window().isVisible() && !FormInstance<Bar>::instance().isVisible());

    // Connect shows the connection window again, not a second one.
    started.hideMdiChild(&window());
    started.mnuConnect->trigger();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(started.mdiArea->subWindowList().size(), 2);
    EXPECT_EQ(started.mdiArea->activeSubWindow()->widget(), &window());

    // Shut-down saves the settings and history and unloads every window.
    Global::AddToIpHistory(QStringLiteral("10.9.8.7"));
    linkConfig().chkHSS->setChecked(true);
    frame().mnuAbout->trigger();
    frame().mnuCommands->trigger();
    frame().mnuErrors->trigger();
    frame().mnuExit->trigger();
    EXPECT_FALSE(frame().isVisible());
    EXPECT_EQ(sandbox.history(),
              "10.9.8.7\r\n10.0.0.1\r\n10.0.0.2" + QByteArray("\r\n").repeated(9));
    EXPECT_EQ(SettingsSandbox::stored("HssEnabled"), "True");
    EXPECT_FALSE(FormInstance<LinkConfig>::isLoaded() || FormInstance<About>::isLoaded() ||
                 FormInstance<Commands>::isLoaded() || FormInstance<Error>::isLoaded() ||
                 FormInstance<Main>::isLoaded() || FormInstance<Bar>::isLoaded());
}

TEST_F(ProgramFixture, ToolbarButtonsAreNamedByTheirToolTipAndStatusPanelsByTheirText) {
    startProgram();
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
    // Screen readers and automation on the accessibility bus read each panel's text as its name.
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

// Enter presses a button only in the two dialogs whose meaning is plainly "OK"; elsewhere no
// button is the default, nor becomes it by taking the focus.
TEST_F(ProgramFixture, OnlyTheAboutBoxAndTheLinkSettingsHaveADefaultButton) {
    ASSERT_TRUE(startConnectedQuietly());
    const QString file = sandbox.write("keys.spf", "");
    UserPrompts::setFileDialogHandler([&](const UserPrompts::FileDialogRequest&) { return file; });
    for (QAction* entry :
         {frame().mnuConfigure, frame().mnuCommands, frame().mnuErrors, frame().mnuUploadFileToVorn,
          frame().mnuUploadSensorProfileFile, frame().mnuCreateSensorProfileFile,
          frame().mnuBarGraphOpen, frame().mnuTrend, frame().mnuAbout}) {
        entry->trigger();
    }
    FormInstance<Commands>::instance().cmdListAselect->click();
    FormInstance<Commands>::instance().cmdListMP->click();
    linkConfig().bringForward(); // its menu entry is off while connected
    QStringList defaults;
    int windows = 0;
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        if (!shown->isVisible()) {
            continue;
        }
        ++windows;
        for (const QPushButton* button : shown->findChildren<QPushButton*>()) {
            if (button->window() != shown) {
                continue; // a dialog's, which is a child of the frame
            }
            const QString name = shown->objectName() + '.' + button->objectName();
            EXPECT_FALSE(button->autoDefault()) << name.toStdString();
            if (button->isDefault()) {
                defaults.append(name);
            }
        }
    }
    EXPECT_EQ(windows, 11); // the frame and every dialog with buttons
    defaults.sort();
    EXPECT_EQ(defaults.join(' ').toStdString(), "About.cmdOk LinkConfig.cmdOk");
}

} // namespace
