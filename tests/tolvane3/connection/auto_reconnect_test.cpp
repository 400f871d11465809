// Reconnecting by itself against a fake module: the pauses and their countdown in panel 1, silent
// retries, the normal connect sequence once back, and what stops it. The countdown's ticks are
// stepped by hand (time is stretched so that its own timer never fires during a test).

#include "connection/autoreconnect.h"
#include "program_fixture.h"

namespace {

const QByteArray ConnectBytes = "SET BIN 0\rSET FORMAT 0\rList I\r";

class AutoReconnect : public ProgramFixture {
protected:
    void startReconnecting() {
        SettingsSandbox::store(
            {{"AutoReconnect", "True"}, {"StatusPollAlways", "False"}, {"StatusPollOff", "True"}});
        startProgram();
        Timing::setScale(1000);
    }
    static AutoReconnector& reconnector() { return *window().autoReconnector; }
    static void tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            reconnector().tmrCountdown_Timer();
        }
    }
    QString countdown(int seconds) const {
        return "Reconnecting to " + module.address() + " in " + QString::number(seconds) + " s";
    }
    bool panelShows(const QString& text) {
        return QTest::qWaitFor([&] { return frame().statusPanel(1) == text; });
    }
};

TEST(AutoReconnectPauses, DoubleFromOneSecondUpToHalfAMinute) {
    QList<int> pauses;
    for (int retry = 0; retry < 8; ++retry) {
        pauses << AutoReconnector::PauseSeconds(retry);
    }
    EXPECT_EQ(pauses, (QList<int>{1, 2, 4, 8, 16, 30, 30, 30}));
    EXPECT_EQ(AutoReconnector::PauseSeconds(1 << 30), 30);
}

TEST_F(AutoReconnect, ALostConnectionIsRetriedSilentlyWithGrowingPausesUntilTheModuleIsBack) {
    startReconnecting();
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForBytes(ConnectBytes.size()));

    module.stopListening();
    Q_EMIT window().Winsock1->errorOccurred(QAbstractSocket::NetworkError);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    EXPECT_EQ(frame().statusPanel(1), countdown(1));
    EXPECT_EQ(frame().statusPanel(2), QStringLiteral("Host is unreachable"));

    // Refused retries wait longer each time and say why where no box has to be answered.
    tick();
    ASSERT_TRUE(panelShows(countdown(2)));
    EXPECT_EQ(frame().statusPanel(2), QStringLiteral("Connection refused"));
    tick(2);
    ASSERT_TRUE(panelShows(countdown(4)));
    tick();
    EXPECT_EQ(frame().statusPanel(1), countdown(3));

    ASSERT_TRUE(module.listenAgain());
    module.clearReceived();
    tick(3);
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }));
    ASSERT_TRUE(module.waitForBytes(ConnectBytes.size()));
    EXPECT_EQ(module.received(), ConnectBytes);
    EXPECT_TRUE(messages.isEmpty());

    // Connected again, the next loss starts over with the shortest pause.
    module.dropConnection();
    EXPECT_TRUE(panelShows(countdown(1)));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AutoReconnect, TheOperatorsButtonTheSettingsDialogAndTheOptionStopOrHoldIt) {
    startReconnecting();
    ASSERT_TRUE(connectTo(module.address()));

    // Connect during the countdown is the operator's own connection.
    module.dropConnection();
    ASSERT_TRUE(panelShows(countdown(1)));
    ASSERT_TRUE(connectTo(module.address()));
    EXPECT_FALSE(reconnector().tmrCountdown->isActive());

    // Cancel during a retry, or Disconnect if the retry connected at once.
    module.dropConnection();
    ASSERT_TRUE(panelShows(countdown(1)));
    tick();
    ASSERT_NE(Global::ConnState, Global::Disconnected);
    window().Command1->click();
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    EXPECT_FALSE(reconnector().tmrCountdown->isActive());
    EXPECT_EQ(frame().statusPanel(1), QStringLiteral("No connection"));

    // The operator's Disconnect ends a connection for good.
    ASSERT_TRUE(connectTo(module.address()));
    window().Command1->click();
    EXPECT_TRUE(module.waitForDisconnection());
    EXPECT_FALSE(reconnector().tmrCountdown->isActive());

    // The settings dialog holds the retry while it is open; turned off there, it stops.
    ASSERT_TRUE(connectTo(module.address()));
    module.dropConnection();
    ASSERT_TRUE(panelShows(countdown(1)));
    linkConfig().bringForward();
    tick();
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    linkConfig().chkAutoReconnect->setChecked(false);
    linkConfig().cmdOk->click();
    EXPECT_FALSE(reconnector().tmrCountdown->isActive());
    EXPECT_EQ(frame().statusPanel(1), QStringLiteral("No connection"));

    // Off, a lost connection stays lost and a socket error shows its box as ever.
    ASSERT_TRUE(connectTo(module.address()));
    Q_EMIT window().Winsock1->errorOccurred(QAbstractSocket::NetworkError);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("Host is unreachable\rError Number 10065"));
    EXPECT_FALSE(reconnector().tmrCountdown->isActive());
    EXPECT_EQ(frame().statusPanel(1), QStringLiteral("No connection"));
}

} // namespace
