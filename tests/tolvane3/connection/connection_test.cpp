// The command connection against a fake module.

#include "connection/autoreconnect.h"
#include "program_fixture.h"

namespace {

const QByteArray ConnectBytesBinOff = "SET BIN 0\rSET FORMAT 0\rList I\r";

using Connection = ProgramFixture;

// One entry of each kind of behaviour: kept through connecting, switched by the connection, kept
// through a scan, and the log buttons that only a scan's end enables. Enabled (1) or not (0)
// after: start-up, Connecting, Connected, Scanning, After scan, Disconnected, Connected again.
void expectMenusAtStep(int step) {
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
            << action->text().toStdString() << " at step " << step;
    }
}

TEST_F(Connection, ConnectSendsBinaryModeFormatAndTheFirstListRequestAndMenusFollowTheState) {
    startProgram();
    expectMenusAtStep(0);
    Global::SendVornCommand(QStringLiteral("STATUS\r")); // no connection: goes nowhere
    window().txtIpAdd->setText(module.address());
    window().Command1->click();
    if (Global::ConnState == Global::Connecting) {
        expectMenusAtStep(1);
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }));
    expectMenusAtStep(2);
    Global::SendVornCommand(QStringLiteral("SET UNIT \u00e9\r")); // Latin-1: one byte
    const QByteArray expected = ConnectBytesBinOff + "SET UNIT \xe9\r";
    ASSERT_TRUE(module.waitForBytes(expected.size()));
    EXPECT_EQ(module.received(), expected);
    EXPECT_FALSE(window().lstIpHistory->isEnabled());
    Global::SetScanning();
    expectMenusAtStep(3);
    Global::RestoreAfterScan();
    expectMenusAtStep(4);

    // Disconnected, the history entry gives the address back.
    window().Command1->click();
    expectMenusAtStep(5);
    window().txtIpAdd->clear();
    QListWidget* list = window().lstIpHistory;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(window().txtIpAdd->text(), module.address());
    ASSERT_TRUE(connectTo(module.address()));
    expectMenusAtStep(6);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Connection, StatusIsPolledEveryIntervalUnlessOffOrZeroUntilDisconnect) {
    Timing::setScale(0.01); // seconds become hundredths; nothing has to come in time
    startProgram();
    // Polling off, the interval, panel 2, and the polls to wait for.
    const std::tuple<bool, const char*, const char*, int> cases[] = {
        {false, "2", "Getting Status", 3},
        {true, "2", "Status Off", 0},
        {false, "0", "Getting Status", 0}};
    for (const auto& [pollOff, interval, panel, polls] : cases) {
        SCOPED_TRACE(panel);
        Global::StatusPollAlways = !pollOff;
        Global::StatusPollOff = pollOff;
        Global::StatusPollInterval = QLatin1String(interval);
        module.clearReceived();
        messages.clear();
        ASSERT_TRUE(connectTo(module.address()));
        EXPECT_EQ(frame().statusPanel(2), QLatin1String(panel));
        EXPECT_EQ(window().tmrStatus->isActive() ? window().tmrStatus->interval() : 0,
                  polls > 0 ? 20 : 0);
        // The silent module lets the four list requests time out: ten poll intervals at least.
        ASSERT_TRUE(QTest::qWaitFor(
            [&, polls = polls] {
                return messages.size() == 4 && module.commandCount("STATUS") >= polls;
            },
            10000));
        EXPECT_EQ(CommandsWithout(module.received(), "List "),
                  "SET BIN 0\rSET FORMAT 0\r" +
                      QByteArray("STATUS\r").repeated(module.commandCount("STATUS")));
        window().Command1->click();
        EXPECT_FALSE(window().tmrStatus->isActive());
        EXPECT_TRUE(module.waitForDisconnection());
    }
}

// Events are handled during a pause (the reboot's progress ticks through its pauses), and a
// pause of nothing returns at once instead of waiting for a tick that never comes.
TEST_F(Connection, LinesAreDispatchedInANestedEventLoopAndUntilTheModuleCloses) {
    startProgram();
    Global::Pause(0);
    EXPECT_TRUE(Global::PauseDone);
    ASSERT_TRUE(connectTo(module.address()));
    QStringList handled;
    QList<short> statesSeen;
    bool secondHandledDuringFirst = false;
    window().lineHandler = [&](const QString& line) {
        handled << line;
        statesSeen << Global::ConnState;
        if (line == QStringLiteral("first")) {
            // Like a message box or Pause: the line's handling waits in an event loop.
            module.sendLine("second");
            secondHandledDuringFirst = QTest::qWaitFor([&] { return handled.size() == 2; });
        }
    };
    module.sendLine("first");
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled.size() == 2; }));
    EXPECT_TRUE(secondHandledDuringFirst);

    // The lines sent just before the module closes are handled while still connected; bytes are
    // Latin-1 characters.
    module.send("STATUS: GOING\r\nlast w\xf6rds\r\n");
    module.dropConnection();
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Disconnected; }));
    EXPECT_EQ(handled, (QStringList{"first", "second", "STATUS: GOING", "last w\u00f6rds"}));
    EXPECT_EQ(statesSeen, QList<short>(4, Global::Connected));
    EXPECT_EQ(frame().statusPanel(2), QString());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Connection, RefusedOrMalformedAddressesAndErrorsWhileConnectedShowTheSocketErrorOnce) {
    startProgram();
    FakeModule closed;
    const QString refused = closed.address();
    closed.stopListening();
    const std::pair<QString, const char*> cases[] = {
        {refused, "Connection refused\rError Number 10061"},
        {QStringLiteral("[::1"), "Host not found\rError Number 11001"},
    };
    for (const auto& [address, text] : cases) {
        messages.clear();
        ASSERT_TRUE(connectTo(address, Global::Disconnected)) << address.toStdString();
        EXPECT_EQ(messageTexts(), QStringList{text}) << address.toStdString();
        EXPECT_TRUE(window().lstIpHistory->isEnabled());
    }
    // The next attempt starts afresh.
    messages.clear();
    ASSERT_TRUE(connectTo(module.address()));
    EXPECT_TRUE(messages.isEmpty());
    Q_EMIT window().Winsock1->errorOccurred(QAbstractSocket::NetworkError);
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    EXPECT_TRUE(module.waitForDisconnection());
    EXPECT_EQ(messageTexts(), QStringList{"Host is unreachable\rError Number 10065"});
}

TEST_F(Connection, CancelWhileConnectingClosesWithoutAMessage) {
    startProgram();
    window().txtIpAdd->setText(module.address());
    window().Command1->click();
    if (Global::ConnState != Global::Connecting) {
        GTEST_SKIP() << "the system completed the loopback connection at once";
    }
    window().Command1->click();
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    // A late event of the abandoned attempt must change nothing: the next attempt is the only one.
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForBytes(ConnectBytesBinOff.size()));
    EXPECT_EQ(module.received(), ConnectBytesBinOff);
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
