// Menus and toolbar through every connection state: start-up, Connecting, Connected, Scanning,
// After scan, Disconnected and Connected again, each checked against the state table.

#include "program_fixture.h"

#include <QAction>
#include <QListWidget>
#include <QTimer>

namespace {

struct Item {
    const char* name;
    QAction* (*find)();
    // Enabled (1) or not (0) after: start-up, Connecting, Connected, Scanning, After scan,
    // Disconnected, Connected again.
    const char* expected;
};

template <QAction* MDIMain::*Entry> QAction* menu() {
    return FormInstance<MDIMain>::instance().*Entry;
}
template <int Position> QAction* button() {
    return FormInstance<MDIMain>::instance().toolbarButton(Position);
}

// One entry of each kind of behaviour: kept through connecting, switched by the connection,
// kept through a scan, and the log buttons that only a scan's end enables.
const Item Items[] = {
    {"mnuFile", menu<&MDIMain::mnuFile>, "1110111"},
    {"mnuUploadFileToVorn", menu<&MDIMain::mnuUploadFileToVorn>, "0011101"},
    {"mnuTolvaneSettings", menu<&MDIMain::mnuTolvaneSettings>, "1100010"},
    {"mnuBarGraph", menu<&MDIMain::mnuBarGraph>, "0010101"},
    {"mnuStop (untouched)", menu<&MDIMain::mnuStop>, "1111111"},
    {"button 2 CloseLogFile", button<2>, "0000111"},
    {"button 5 ConfigureTolvane", button<5>, "1100110"},
    {"button 7 StartScan", button<7>, "0011101"},
};

void expectStep(int step, const char* stepName) {
    for (const Item& item : Items) {
        const bool expected = item.expected[step] == '1';
        EXPECT_EQ(item.find()->isEnabled(), expected) << item.name << " in " << stepName;
    }
}

using ConnectionStates = ProgramFixture;

TEST_F(ConnectionStates, MenusAndToolbarFollowTheStateTable) {
    Timing::setScale(1.0);
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

TEST_F(ConnectionStates, PauseKeepsHandlingEventsUntilItsTimeIsUp) {
    Timing::setScale(0.01);
    startProgram();
    bool handledDuringPause = false;
    QTimer::singleShot(0, [&] { handledDuringPause = true; });
    Global::Pause(5000);
    EXPECT_TRUE(handledDuringPause);
    EXPECT_TRUE(Global::PauseDone);
    EXPECT_FALSE(window().tmrSleep->isActive());
    Global::Pause(0); // would wait for a tick that never comes
    EXPECT_TRUE(Global::PauseDone);
}

} // namespace
