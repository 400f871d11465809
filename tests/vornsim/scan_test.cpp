// Scans as a client sees them: UDP frames (layout, count, numbering, drop/repeat) and text
// frames over the command port.

#include "simtestclient.h"

#include "vornsim/frames.h"

#include <QNetworkDatagram>
#include <QRegularExpression>
#include <QTest>
#include <QUdpSocket>
#include <QtEndian>
#include <gtest/gtest.h>

using vornsim::FrameType;
using vornsim::SimConfig;

namespace {

quint32 wordAt(const QByteArray& frame, int offset) {
    return qFromLittleEndian<quint32>(frame.constData() + offset);
}

class UdpReceiver {
public:
    UdpReceiver() { EXPECT_TRUE(socket_.bind(QHostAddress(QHostAddress::LocalHost), 0)); }
    quint16 port() const { return socket_.localPort(); }

    // Collects datagrams until `count` arrived or the time is up (loopback delivers them as they
    // are sent, so a time of 0 takes what is queued).
    QList<QByteArray> receive(int count, int timeMs = 5000) {
        QList<QByteArray> frames;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                while (socket_.hasPendingDatagrams()) {
                    frames.append(socket_.receiveDatagram().data());
                }
                return frames.size() >= count;
            },
            timeMs));
        return frames;
    }

private:
    QUdpSocket socket_;
};

// Sets up a short, fast binary scan to `receiver` and starts it.
void startBinaryScan(QTcpSocket& client, const UdpReceiver& receiver, int frames) {
    client.write("SET BIN 1\rSET HOST 127.0.0.1 " + QByteArray::number(receiver.port()) +
                 " U\rSET PERIOD 50\rSET AVG 1\rSET FPS " + QByteArray::number(frames) +
                 "\rSCAN\r");
}

QList<quint32> frameNumbers(const QList<QByteArray>& frames, int offset) {
    QList<quint32> numbers;
    for (const QByteArray& frame : frames) {
        numbers.append(wordAt(frame, offset));
    }
    return numbers;
}

} // namespace

TEST(BinaryScan, SendsFpsVornFramesNumberedFromZeroWithTheModulesValues) {
    SimConfig config;
    config.seed = 7;
    SimUnderTest sim(config);
    auto client = sim.connectClient();
    UdpReceiver receiver;
    startBinaryScan(*client, receiver, 6);
    const QList<QByteArray> frames = receiver.receive(6);
    ASSERT_EQ(frames.size(), 6);
    EXPECT_EQ(frameNumbers(frames, 4), (QList<quint32>{0, 1, 2, 3, 4, 5}));
    // Values follow the seed and the module's full scales (15 for channels 0-7, 50 above).
    std::vector<double> scales(8, 15.0);
    scales.resize(16, 50.0);
    const vornsim::PressureModel model(7, scales);
    for (const QByteArray& frame : frames) {
        EXPECT_EQ(frame, vornsim::buildFrame(FrameType::Vorn, 16, wordAt(frame, 4), model));
    }
    // The scan ended with its last frame: the module is ready again, sent nothing on the
    // command port and sends no further frame.
    EXPECT_EQ(exchange(*client, "STATUS\r", "STATUS: READY\r\n"), "STATUS: READY\r\n");
    EXPECT_EQ(receiver.receive(1, 0).size(), 0);
}

TEST(BinaryScan, DropsAndRepeatsTheChosenFrameNumbers) {
    SimConfig config;
    config.highSpeed.dropFrames = {2, 40};
    config.highSpeed.repeatFrames = {3};
    SimUnderTest sim(config);
    auto client = sim.connectClient();
    UdpReceiver receiver;
    startBinaryScan(*client, receiver, 5);
    const QList<QByteArray> frames = receiver.receive(5);
    EXPECT_EQ(frameNumbers(frames, 4), (QList<quint32>{0, 1, 3, 3, 4}));
    EXPECT_EQ(frames.value(2), frames.value(3));
}

TEST(BinaryScan, OtherLayoutsCarryTheirSizeNumberOffsetAndFirstNumber) {
    struct Case {
        FrameType type;
        int channels;
        int size;
        int numberOffset;
        quint32 first;
    };
    for (const Case& c : {Case{FrameType::Hkq, 32, 304, 8, 0}, Case{FrameType::Pxt, 3, 24, 4, 1},
                          Case{FrameType::Wgn, 512, 2060, 4, 0}}) {
        SimConfig config;
        config.highSpeed.frameType = c.type;
        config.highSpeed.channels = c.channels;
        config.highSpeed.burst = true;
        SimUnderTest sim(config);
        auto client = sim.connectClient();
        UdpReceiver receiver;
        startBinaryScan(*client, receiver, 40);
        const QList<QByteArray> frames = receiver.receive(40);
        ASSERT_EQ(frames.size(), 40) << vornsim::frameTypeName(c.type);
        QList<quint32> expected;
        for (quint32 n = 0; n < 40; ++n) {
            expected.append(c.first + n);
        }
        EXPECT_EQ(frameNumbers(frames, c.numberOffset), expected);
        for (const QByteArray& frame : frames) {
            EXPECT_EQ(frame.size(), c.size);
            EXPECT_EQ(wordAt(frame, 0), static_cast<quint32>(c.type));
        }
    }
}

TEST(BinaryScan, RefusedWithoutAUdpBinaryHost) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QByteArray refused = "ERROR: Binary host not set\r\n";
    EXPECT_EQ(exchange(*client, "SET BIN 1\rSCAN\r", refused), refused);
    EXPECT_EQ(exchange(*client, "SET HOST 127.0.0.1 5000 T\rSCAN\r", refused), refused);
    const QByteArray badRate = "ERROR: Invalid scan rate\r\n";
    EXPECT_EQ(exchange(*client, "SET AVG 0\rSCAN\r", badRate), badRate);
}

TEST(TextScan, SendsAFrameLineAndSixteenChannelLinesPerFrame) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    client->write("SET PERIOD 50\rSET AVG 1\rSET FPS 3\rSCAN\r");
    const QByteArray received =
        readUntil(*client, [](const QByteArray& bytes) { return bytes.count('\n') >= 3 * 17; });
    const QList<QByteArray> lines = received.split('\n');
    const QRegularExpression channelLine(
        QStringLiteral("^(\\d+) -?\\d+\\.\\d{4} \\d+\\.\\d{2}\r$"));
    int lineIndex = 0;
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(lines.value(lineIndex++), "FRAME = " + QByteArray::number(frame) + '\r');
        for (int channel = 0; channel < 16; ++channel) {
            const auto match = channelLine.match(QString::fromLatin1(lines.value(lineIndex++)));
            ASSERT_TRUE(match.hasMatch()) << lines.value(lineIndex - 1).toStdString();
            EXPECT_EQ(match.captured(1).toInt(), channel);
        }
    }
}

TEST(TextScan, StatusShowsTheScanAndStopEndsIt) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    // FPS 0 scans until stopped; 50 us x 100 x 16 = 80 ms per frame.
    client->write("SET PERIOD 50\rSET AVG 100\rSET FPS 0\rSCAN\rSTATUS\r");
    const QByteArray started = readUntil(*client, [](const QByteArray& bytes) {
        return bytes.contains("STATUS: SCAN\r\n") && bytes.contains("FRAME = 0\r\n");
    });
    ASSERT_TRUE(started.contains("STATUS: SCAN\r\n")) << started.toStdString();
    client->write("STOP\rSTATUS\r");
    const QByteArray stopped = readUntil(
        *client, [](const QByteArray& bytes) { return bytes.endsWith("STATUS: READY\r\n"); });
    ASSERT_TRUE(stopped.endsWith("STATUS: READY\r\n"));
    EXPECT_EQ(exchange(*client, "STATUS\r", "STATUS: READY\r\n"), "STATUS: READY\r\n");
    EXPECT_EQ(client->bytesAvailable(), 0);
}
