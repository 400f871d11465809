// Start-up and shut-down of the program through the main window's load and unload handlers.

#include "program_fixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

TEST_F(ProgramFixture, StartUpShowsPanelsAndTheConnectionWindowAndConnectShowsItAgain) {
    SettingsSandbox::store({{"LogErrors", "True"}});
    sandbox.writeHistory("10.0.0.1\r\n10.0.0.2\r\n" + QByteArray("\r\n").repeated(9));
    MDIMain& started = startProgram();

    // The disconnected state, entered last, words panel 1 its own way.
    EXPECT_EQ(started.statusPanel(1), QStringLiteral("No connection"));
    // Settings and history are loaded into their homes; the dialog stays hidden.
    EXPECT_FALSE(linkConfig().isVisible());
    EXPECT_TRUE(linkConfig().chkErrors->isChecked());
    EXPECT_EQ(window().lstIpHistory->count(), 2);
    // The connection window is the frame's visible child; the bar graph is loaded hidden.
    ASSERT_EQ(started.mdiArea->subWindowList().size(), 2);
    EXPECT_EQ(started.mdiArea->subWindowList()[0]->widget(), &window());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().size(), window().sizeHint()); // not squeezed into the unshown area
    EXPECT_EQ(started.mdiArea->subWindowList()[1]->widget(), &FormInstance<Bar>::instance());
    EXPECT_FALSE(FormInstance<Bar>::instance().isVisible());

    // Connect shows the connection window again, not a second one.
    started.hideMdiChild(&window());
    started.mnuConnect->trigger();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(started.mdiArea->subWindowList().size(), 2);
    EXPECT_EQ(started.mdiArea->activeSubWindow()->widget(), &window());
}

TEST_F(ProgramFixture, ShutDownSavesSettingsAndHistoryAndUnloadsTheWindows) {
    startProgram();
    Global::AddToIpHistory(QStringLiteral("10.9.8.7"));
    linkConfig().chkHSS->setChecked(true);
    frame().mnuAbout->trigger();
    frame().mnuCommands->trigger();
    frame().mnuErrors->trigger();
    frame().mnuExit->trigger();
    EXPECT_FALSE(frame().isVisible());
    EXPECT_EQ(sandbox.history(), "10.9.8.7" + QByteArray("\r\n").repeated(11));
    EXPECT_EQ(SettingsSandbox::stored("HssEnabled"), QStringLiteral("True"));
    EXPECT_FALSE(FormInstance<LinkConfig>::isLoaded());
    EXPECT_FALSE(FormInstance<About>::isLoaded());
    EXPECT_FALSE(FormInstance<Commands>::isLoaded() || FormInstance<Error>::isLoaded());
    EXPECT_FALSE(FormInstance<Main>::isLoaded());
    EXPECT_FALSE(FormInstance<Bar>::isLoaded());
}

} // namespace
