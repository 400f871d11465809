// Menus and toolbar through every connection state: start-up, Connecting, Connected, Scanning,
// After scan, Disconnected and Connected again, each checked against the state table.

#include "program_fixture.h"

namespace {

// One entry of each kind of behaviour: kept through connecting, switched by the connection, kept
// through a scan, and the log buttons that only a scan's end enables. Enabled (1) or not (0)
// after: start-up, Connecting, Connected, Scanning, After scan, Disconnected, Connected again.
void expectStep(int step, const char* stepName) {
    const MDIMain& frame = FormInstance<MDIMain>::instance();
    const std::pair<QAction*, const char*> items[] = {{frame.mnuFile, "1110111"},
                                                      {frame.mnuUploadFileToVorn, "0011101"},
                                                      {frame.mnuTolvaneSettings, "1100010"},
                                                      {frame.mnuBarGraph, "0010101"},
                                                      {frame.mnuStop, "1111111"},
                                                      {frame.toolbarButton(2), "0000111"},
                                                      {frame.toolbarButton(5), "1100110"},
                                                      {frame.toolbarButton(7), "0011101"}};
    for (const auto& [action, enabled] : items) {
        EXPECT_EQ(action->isEnabled(), enabled[step] == '1')
            << action->text().toStdString() << " in " << stepName;
    }
}

using ConnectionStates = ProgramFixture;

TEST_F(ConnectionStates, MenusAndToolbarFollowTheStateTable) {
    startProgram();
    expectStep(0, "start-up");

    window().txtIpAdd->setText(module.address());
    window().Command1->click();
    if (Global::ConnState == Global::Connecting) {
        expectStep(1, "Connecting");
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }));
    expectStep(2, "Connected");

    Global::SetScanning();
    expectStep(3, "Scanning");
    Global::RestoreAfterScan();
    expectStep(4, "After scan");

    window().Command1->click();
    expectStep(5, "Disconnected");

    ASSERT_TRUE(connectTo(module.address()));
    expectStep(6, "Connected again");
}

// Events are handled during a pause: the reboot's progress ticks through its pauses.
TEST_F(ConnectionStates, APauseOfNothingReturnsAtOnce) {
    startProgram();
    Global::Pause(0); // would wait for a tick that never comes
    EXPECT_TRUE(Global::PauseDone);
}

} // namespace
