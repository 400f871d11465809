// The command connection against a fake module: the bytes of the connect sequence, status
// polling, status replies, closing, cancelling and socket errors.

#include "program_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QByteArray ConnectBytesBinOff = "SET BIN 0\rSET FORMAT 0\rList I\r";

// The commands received less the list requests, which the silent module's reply time-outs keep
// sending when time is shrunk.
QByteArray WithoutListRequests(const FakeModule& module) {
    QByteArray commands;
    for (const QByteArray& command : module.commands()) {
        if (!command.startsWith("List ")) {
            commands += command + '\r';
        }
    }
    return commands;
}

using Connection = ProgramFixture;

TEST_F(Connection, ConnectSendsBinaryOffFormatAndTheFirstListRequest) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForBytes(ConnectBytesBinOff.size()));
    EXPECT_EQ(module.received(), ConnectBytesBinOff);
    EXPECT_EQ(window().Command1->text(), QStringLiteral("Disconnect"));
    EXPECT_EQ(frame().statusPanel(1), QStringLiteral("Connecting to ") + module.address());
    EXPECT_EQ(frame().statusPanel(2), QStringLiteral("Getting Status"));
    ASSERT_EQ(window().lstIpHistory->count(), 1);
    EXPECT_EQ(window().lstIpHistory->item(0)->text(), module.address());
    EXPECT_FALSE(window().lstIpHistory->isEnabled());
    EXPECT_TRUE(messages.isEmpty());

    // With high-speed scans on, the module is asked for binary output.
    window().Command1->click();
    linkConfig().chkHSS->setChecked(true);
    module.clearReceived();
    ASSERT_TRUE(connectTo(module.address()));
    const QByteArray binaryOn = "SET BIN 1\rSET FORMAT 0\rList I\r";
    ASSERT_TRUE(module.waitForBytes(binaryOn.size()));
    EXPECT_EQ(module.received(), binaryOn);
}

TEST_F(Connection, SendsWithoutAConnectionDoNothing) {
    startProgram();
    Global::SendVornCommand(QStringLiteral("STATUS\r"));
    ASSERT_TRUE(connectTo(module.address()));
    Global::SendVornCommand(QStringLiteral("SET UNIT \u00e9\r")); // Latin-1: one byte
    const QByteArray expected = ConnectBytesBinOff + "SET UNIT \xe9\r";
    ASSERT_TRUE(module.waitForBytes(expected.size()));
    EXPECT_EQ(module.received(), expected);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Connection, StatusIsPolledEveryIntervalUntilDisconnect) {
    Timing::setScale(0.01); // the designed 2 s become 20 ms
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    EXPECT_EQ(window().tmrStatus->interval(), 20);
    ASSERT_TRUE(module.waitForCommandCount("STATUS", 3));
    EXPECT_TRUE(module.received().startsWith(ConnectBytesBinOff));
    EXPECT_EQ(WithoutListRequests(module),
              "SET BIN 0\rSET FORMAT 0\r" +
                  QByteArray("STATUS\r").repeated(module.commandCount("STATUS")));

    window().Command1->click();
    EXPECT_FALSE(window().tmrStatus->isActive());
    EXPECT_TRUE(module.waitForDisconnection());

    // The interval setting is in seconds.
    Global::StatusPollInterval = QStringLiteral("5");
    ASSERT_TRUE(connectTo(module.address()));
    EXPECT_EQ(window().tmrStatus->interval(), 50);
    EXPECT_TRUE(window().tmrStatus->isActive());
}

TEST_F(Connection, PollingOffOrAnIntervalOfZeroSendsNoStatus) {
    Timing::setScale(0.01);
    startProgram();
    const struct {
        bool pollOff;
        const char* interval;
        const char* panel;
    } cases[] = {{true, "2", "Status Off"}, {false, "0", "Getting Status"}};
    for (const auto& c : cases) {
        Global::StatusPollAlways = !c.pollOff;
        Global::StatusPollOff = c.pollOff;
        Global::StatusPollInterval = QLatin1String(c.interval);
        module.clearReceived();
        ASSERT_TRUE(connectTo(module.address()));
        EXPECT_EQ(frame().statusPanel(2), QLatin1String(c.panel));
        EXPECT_FALSE(window().tmrStatus->isActive());
        QTest::qWait(200); // ten poll intervals
        EXPECT_EQ(WithoutListRequests(module), "SET BIN 0\rSET FORMAT 0\r") << c.panel;
        window().Command1->click();
    }
}

TEST_F(Connection, StatusRepliesOfBothFormsShowInPanelTwoAsPlainTextAfterAnyGarbage) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    const auto panelShows = [this](const QString& text) {
        return QTest::qWaitFor([&] { return frame().statusPanel(2) == text; });
    };
    module.send("STAT");
    module.send("US: READY\r\n");
    EXPECT_TRUE(panelShows(QStringLiteral("Vorn Status: READY")));

    module.send(QByteArray(1024 * 1024, 'A')); // a megabyte without CR LF
    module.send(QByteArray("\r\n\x00\x01\xff\xfe\r\n", 8));
    QByteArray flood;
    for (int i = 0; i < 10000; ++i) {
        flood += "noise " + QByteArray::number(i) + "\r\n";
    }
    module.send(flood);
    module.sendLine("STATUS: <b>R\xc9"
                    "ADY</b>");
    EXPECT_TRUE(panelShows(QStringLiteral("Vorn Status: <b>R\u00c9ADY</b>")));
    const auto* panel = frame().StatusBar1->findChild<QLabel*>(QStringLiteral("StatusBar1Panel2"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->textFormat(), Qt::PlainText);
    EXPECT_EQ(Global::ConnState, Global::Connected);

    Global::Model30 = true;
    module.sendLine("Module banner line");
    module.sendLine("Status->BUSY");
    EXPECT_TRUE(panelShows(QStringLiteral("Vorn Status: BUSY")));
}

TEST_F(Connection, LinesArrivingWhileALineWaitsInANestedEventLoopAreStillDispatched) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    QStringList handled;
    bool secondHandledDuringFirst = false;
    window().lineHandler = [&](const QString& line) {
        handled << line;
        if (line == QStringLiteral("first")) {
            // Like a message box or Pause: the line's handling waits in an event loop.
            module.sendLine("second");
            secondHandledDuringFirst = QTest::qWaitFor([&] { return handled.size() == 2; });
        }
    };
    module.sendLine("first");
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled.size() == 2; }));
    EXPECT_TRUE(secondHandledDuringFirst);
    EXPECT_EQ(handled, (QStringList{"first", "second"}));
}

TEST_F(Connection, TheModuleClosingTheConnectionDisconnectsQuietlyAfterItsLastLines) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    QStringList handled;
    QList<short> statesSeen;
    window().lineHandler = [&](const QString& line) {
        handled << line;
        statesSeen << Global::ConnState;
    };
    module.send("STATUS: GOING\r\nlast words\r\n");
    module.dropConnection();
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Disconnected; }));
    EXPECT_EQ(handled, (QStringList{"STATUS: GOING", "last words"}));
    EXPECT_EQ(statesSeen, (QList<short>{Global::Connected, Global::Connected}));
    EXPECT_EQ(frame().statusPanel(1), QStringLiteral("No connection"));
    EXPECT_EQ(frame().statusPanel(2), QString());
    EXPECT_EQ(window().Command1->text(), QStringLiteral("Connect"));
    EXPECT_TRUE(window().lstIpHistory->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Connection, ASocketErrorWhileConnectedShowsOneMessageAndDisconnects) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    Q_EMIT window().Winsock1->errorOccurred(QAbstractSocket::NetworkError);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("Host is unreachable\rError Number 10065"));
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    EXPECT_FALSE(frame().mnuVorn->isEnabled());
    EXPECT_TRUE(frame().mnuTolvaneSettings->isEnabled());
    EXPECT_TRUE(module.waitForDisconnection());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(Connection, RefusedEmptyOrMalformedAddressesShowTheSocketErrorOnce) {
    startProgram();
    FakeModule closed;
    const QString refused = closed.address();
    closed.stopListening();
    const std::pair<QString, const char*> cases[] = {
        {refused, "Connection refused\rError Number 10061"},
        {QString(), "Host not found\rError Number 11001"},
        {QStringLiteral("127.0.0.1:99999"), "Host not found\rError Number 11001"},
        {QStringLiteral("[::1"), "Host not found\rError Number 11001"},
    };
    for (const auto& [address, text] : cases) {
        messages.clear();
        ASSERT_TRUE(failToConnect(address)) << address.toStdString();
        ASSERT_EQ(messages.size(), 1) << address.toStdString();
        EXPECT_EQ(messages[0].text, QLatin1String(text));
        EXPECT_EQ(messages[0].title, QStringLiteral("ERROR:"));
        EXPECT_EQ(messages[0].buttons, QMessageBox::Ok);
        EXPECT_EQ(window().Command1->text(), QStringLiteral("Connect"));
        EXPECT_EQ(frame().statusPanel(1), QStringLiteral("No connection"));
        EXPECT_TRUE(window().lstIpHistory->isEnabled());
    }
    // The next attempt starts afresh.
    messages.clear();
    ASSERT_TRUE(connectTo(module.address()));
    EXPECT_TRUE(messages.isEmpty());
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
    QTest::qWait(100); // a late event of the abandoned attempt must change nothing
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(module.received(), QByteArray());
}

TEST_F(Connection, PickingAHistoryEntryFillsTheAddressBox) {
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    window().Command1->click();
    window().txtIpAdd->clear();
    QListWidget* list = window().lstIpHistory;
    const QRect entry = list->visualItemRect(list->item(0));
    frame().showMdiChild(&window());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_EQ(window().txtIpAdd->text(), module.address());
}

} // namespace
