// Fault modes as a client sees them: silence, early close, cut replies, garbage.

#include "simtestclient.h"

#include "vornsim/replywriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using vornsim::GarbageKind;
using vornsim::SimConfig;

namespace {

const QByteArray kStatus = "STATUS: READY\r\n";

bool waitDisconnected(QTcpSocket& socket) {
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; },
                           5000);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(Faults, SilentGroupGetsNoAnswerWhileOthersDo) {
    SimConfig config;
    config.faults.silentGroups = "HS";
    SimUnderTest sim(config);
    auto client = sim.connectClient();
    const QByteArray expected =
        "SET MODEL 1216\r\nSET SN 0417\r\nSET VER 3.03\r\nSET PAGE 0\r\n" + kStatus;
    EXPECT_EQ(exchange(*client, "List H\rlist s\rList I\rSTATUS\r", expected), expected);
}

TEST(Faults, CloseAfterNLinesCutsTheReplyAndTheNextClientStartsAfresh) {
    SimConfig config;
    config.faults.closeAfterLines = 3;
    SimUnderTest sim(config);
    auto client = sim.connectClient();
    client->write("STATUS\rList I\rSTATUS\r");
    ASSERT_TRUE(waitDisconnected(*client));
    EXPECT_EQ(client->readAll(), kStatus + "SET MODEL 1216\r\nSET SN 0417\r\n");

    auto next = sim.connectClient();
    EXPECT_EQ(exchange(*next, "STATUS\r", kStatus), kStatus);
}

TEST(Faults, CloseInsideTheBannerStillLetsTheNextClientIn) {
    SimConfig config;
    config.model = "3099";
    config.faults.closeAfterLines = 1;
    SimUnderTest sim(config);
    for (int client = 0; client < 2; ++client) {
        auto socket = sim.connectClient();
        ASSERT_TRUE(waitDisconnected(*socket));
        EXPECT_EQ(socket->readAll(), "Module 3099 SN 0417\r\n");
    }
}

TEST(Faults, SplitRepliesGoOutAsSeparateWritesAtTheChosenOffsets) {
    QTemporaryDir dir;
    SimConfig config;
    config.faults.splitPositions = {10, 3, 99};
    config.faults.splitDelayMs = 1;
    config.transcriptPath = dir.filePath("t.txt");
    SimUnderTest sim(config);
    auto client = sim.connectClient();
    EXPECT_EQ(exchange(*client, "STATUS\r", kStatus), kStatus);
    EXPECT_EQ(exchange(*client, "STATUS\r", kStatus), kStatus);
    client->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return readFile(config.transcriptPath).endsWith("# disconnected\n"); }, 5000));
    const QByteArray pieces = "TX 3\nSTA\nTX 7\nTUS: RE\nTX 5\nADY\r\n\n";
    const QByteArray transcript = readFile(config.transcriptPath);
    const QByteArray expectedTail =
        "RX 7\nSTATUS\r\n" + pieces + "RX 7\nSTATUS\r\n" + pieces + "# disconnected\n";
    EXPECT_TRUE(transcript.startsWith("# connected 127.0.0.1:")) << transcript.toStdString();
    EXPECT_TRUE(transcript.endsWith(expectedTail)) << transcript.toStdString();
}

TEST(Faults, BinaryGarbageCarriesNulAndHighBytesAheadOfEveryReply) {
    SimConfig config;
    config.faults.garbage = GarbageKind::Binary;
    SimUnderTest sim(config);
    auto client = sim.connectClient();
    const QByteArray garbage = vornsim::garbageBlock(GarbageKind::Binary, 0);
    ASSERT_EQ(garbage.size(), 256);
    EXPECT_EQ(garbage.at(0), '\0');
    EXPECT_EQ(static_cast<unsigned char>(garbage.at(253)), 0xff);
    EXPECT_FALSE(garbage.left(254).contains('\r') || garbage.left(254).contains('\n'));
    EXPECT_TRUE(garbage.endsWith("\r\n"));
    const QByteArray expected = garbage + kStatus + garbage + kStatus;
    EXPECT_EQ(exchange(*client, "STATUS\rSTATUS\r", expected), expected);
}

TEST(Faults, LongAndUnendedGarbageLinesHaveTheChosenLength) {
    for (const GarbageKind kind : {GarbageKind::LongLine, GarbageKind::NoLineEnd}) {
        SimConfig config;
        config.faults.garbage = kind;
        config.faults.garbageBytes = 300000;
        SimUnderTest sim(config);
        auto client = sim.connectClient();
        const QByteArray garbage = vornsim::garbageBlock(kind, 300000);
        const QByteArray line = garbage.left(300000);
        EXPECT_FALSE(line.contains('\r') || line.contains('\n'));
        EXPECT_TRUE(line.contains('\xff'));
        EXPECT_EQ(garbage.size(), kind == GarbageKind::LongLine ? 300002 : 300000);
        EXPECT_EQ(exchange(*client, "STATUS\r", garbage + kStatus), garbage + kStatus);
    }
}
