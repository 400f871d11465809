// Reconnecting by itself against a fake module. The countdown's ticks are stepped by hand: time
// is stretched so that its own timer never fires during the test.

#include "connection/autoreconnect.h"
#include "program_fixture.h"

namespace {

TEST(AutoReconnectPauses, DoubleFromOneSecondUpToHalfAMinute) {
    QList<int> pauses;
    for (const int retry : {0, 1, 2, 3, 4, 5, 6, 1 << 30}) {
        pauses << AutoReconnector::PauseSeconds(retry);
    }
    EXPECT_EQ(pauses, (QList<int>{1, 2, 4, 8, 16, 30, 30, 30}));
}

TEST_F(ProgramFixture, ALostConnectionIsRetriedSilentlyWithGrowingPausesUntilCancelledOrTurnedOff) {
    SettingsSandbox::store({{"AutoReconnect", "True"}});
    startQuietly();
    Timing::setScale(1000);
    AutoReconnector& reconnector = *window().autoReconnector;
    const auto tick = [&](int times) {
        for (int i = 0; i < times; ++i) {
            reconnector.tmrCountdown_Timer();
        }
    };
    const auto panelShows = [&](int seconds) {
        const QString text =
            "Reconnecting to " + module.address() + " in " + QString::number(seconds) + " s";
        return QTest::qWaitFor([&] { return frame().statusPanel(1) == text; });
    };
    ASSERT_TRUE(connectTo(module.address()));

    module.stopListening();
    Q_EMIT window().Winsock1->errorOccurred(QAbstractSocket::NetworkError);
    EXPECT_TRUE(panelShows(1));
    EXPECT_EQ(frame().statusPanel(2), "Host is unreachable");
    tick(1);
    ASSERT_TRUE(panelShows(2));
    EXPECT_EQ(frame().statusPanel(2), "Connection refused");
    tick(2);
    ASSERT_TRUE(panelShows(4));

    // Back, the module gets the connect sequence; lost again, the shortest pause comes first.
    ASSERT_TRUE(module.listenAgain());
    module.clearReceived();
    tick(4);
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }));
    EXPECT_TRUE(module.waitForCommandCount("List I", 1));
    module.dropConnection();
    ASSERT_TRUE(panelShows(1));

    // The settings dialog holds the retry while it is open.
    linkConfig().bringForward();
    tick(1);
    EXPECT_EQ(Global::ConnState, Global::Disconnected);
    linkConfig().cmdOk->click();
    tick(1);
    ASSERT_NE(Global::ConnState, Global::Disconnected);
    window().Command1->click(); // Cancel, or Disconnect if the retry connected at once
    EXPECT_FALSE(reconnector.tmrCountdown->isActive());
    EXPECT_EQ(frame().statusPanel(1), "No connection");

    // Turned off in the settings window, reconnecting stops at once.
    ASSERT_TRUE(connectTo(module.address()));
    module.dropConnection();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reconnector.tmrCountdown->isActive(); }));
    linkConfig().bringForward();
    linkConfig().chkAutoReconnect->setChecked(false);
    linkConfig().cmdOk->click();
    EXPECT_FALSE(reconnector.tmrCountdown->isActive());
    EXPECT_EQ(frame().statusPanel(1), "No connection");
    EXPECT_TRUE(messages.isEmpty());
}

} // namespace
