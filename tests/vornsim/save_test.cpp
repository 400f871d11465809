// What outlives a reboot and a restart: SET refusals, SAVE, reboot, the state file, presets.

#include "simtestclient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QByteArray kBinaryHost = "SET HOST 127.0.0.1 23 U\r\n";

} // namespace

TEST(SavedSettings, RefusedSetsAnswerAnErrorAndKeepTheOldValue) {
    const std::pair<QByteArray, QByteArray> refused[] = {
        {"SET PERIOD abc", "ERROR: Invalid value"},  {"SET AVG 12x", "ERROR: Invalid value"},
        {"SET FPS 1 2", "ERROR: Invalid value"},     {"SET FPS .", "ERROR: Invalid value"},
        {"SET AVG -", "ERROR: Invalid value"},       {"SET UNITSCAN FOO", "ERROR: Invalid unit"},
        {"SET UNITSCAN PSI2", "ERROR: Invalid unit"}};
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QByteArray before = readUntilEnd(*client, "List S\r", "SET HOST 0 0 T\r\n");
    QByteArray commands;
    QByteArray expected;
    for (const auto& [command, reply] : refused) {
        commands += command + '\r';
        expected += reply + "\r\n";
    }
    expected += before;
    EXPECT_EQ(exchange(*client, commands + "List S\r", expected), expected);
}

TEST(SavedSettings, RebootClosesThePortAndComesBackOnItWithPresetsAndSavedSetsOnly) {
    constexpr int kRebootMs = 500;
    SimUnderTest sim(QStringLiteral("--reboot-ms %1").arg(kRebootMs),
                     {QStringLiteral("--set"), QStringLiteral("HOST=127.0.0.1  23 U"),
                      QStringLiteral("--set"), QStringLiteral("fps=10")});
    auto client = sim.connectClient();
    const QByteArray saved = readUntilEnd(*client, "SET PERIOD 250\rSAVE\rList S\r", kBinaryHost);
    EXPECT_TRUE(saved.contains("SET PERIOD 250\r\nSET AVG 10\r\nSET FPS 10\r\n"))
        << saved.toStdString();

    QElapsedTimer clock;
    clock.start();
    // Unsaved, lost with the reboot; nothing after "reboot" is answered.
    client->write("SET AVG 3\rSET FPS 1\rSCAN\rReBoot\rSTATUS\r");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return client->state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    EXPECT_FALSE(client->readAll().contains("STATUS"));

    QTcpSocket early;
    const bool beforeRebootEnds = clock.elapsed() < kRebootMs;
    early.connectToHost(QHostAddress(QHostAddress::LocalHost), sim.port());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return early.state() == QAbstractSocket::UnconnectedState ||
                   early.state() == QAbstractSocket::ConnectedState;
        },
        kWaitMs));
    if (beforeRebootEnds) {
        EXPECT_EQ(early.error(), QAbstractSocket::ConnectionRefusedError);
    }

    auto again = sim.connectClient();
    EXPECT_EQ(exchange(*again, "STATUS\rList S\r", kReady + saved), kReady + saved);
}

TEST(SavedSettings, StateFileKeepsWhatWasSavedForTheNextStartAndABadOneIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("module.state"));
    QByteArray saved;
    {
        SimUnderTest sim(QStringLiteral("--state ") + path);
        auto client = sim.connectClient();
        saved = readUntilEnd(*client, "SET UNITSCAN kpa\rSET HOST 127.0.0.1 23 U\rSAVE\rList S\r",
                             kBinaryHost);
        EXPECT_TRUE(saved.contains("SET UNITSCAN KPA\r\n")) << saved.toStdString();
        EXPECT_EQ(exchange(*client, "SET PERIOD 250\rSTATUS\r", kReady), kReady);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    EXPECT_TRUE(text.startsWith("SET PAGE 0\r\n") && text.endsWith(saved)) << text.toStdString();

    SimUnderTest restarted(QStringLiteral("--state ") + path);
    EXPECT_EQ(exchange(*restarted.connectClient(), "List S\r", saved), saved);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("SET FPS 3\nset unitscan foo\r\n");
    file.close();
    vornsim::ModuleServer server(
        *vornsim::parseArguments({QStringLiteral("vornsim"), QStringLiteral("--listen"),
                                  QStringLiteral("127.0.0.1:0"), QStringLiteral("--state"), path})
             .config);
    QString error;
    EXPECT_FALSE(server.start(&error));
    EXPECT_EQ(error, QStringLiteral("Bad state file %1, line 2: ERROR: Invalid unit").arg(path));
}
