// Scans as a receiver sees them: UDP frames byte by byte in each layout, numbered, paced,
// dropped, repeated or sent in a burst; text frames on the command port; the readings in them.

#include "simtestclient.h"

#include "vornsim/pressuremodel.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>
#include <QtEndian>
#include <gtest/gtest.h>

using vornsim::PressureModel;

namespace {

// Readings of the default module: full scale 15 for channels 0-7, 50 for 8-15, repeated.
PressureModel moduleReadings(quint32 seed, int channels) {
    std::vector<double> scales;
    for (int channel = 0; channel < channels; ++channel) {
        scales.push_back(channel % 16 < 8 ? 15.0 : 50.0);
    }
    return PressureModel(seed, scales);
}

// A binary layout: its type code, size, first frame number and where it keeps its fields (-1:
// nowhere).
struct Layout {
    quint32 code;
    int channels;
    int size;
    quint32 first;
    int numberAt;
    int channelsAt;
    int valuesAt;
};

// A frame as a receiver expects it, built from its layout: little-endian words, zero elsewhere;
// HKQ (code 2) adds one temperature per eight channels after the values.
QByteArray expectedFrame(const Layout& layout, quint32 number, const PressureModel& readings) {
    QByteArray frame(layout.size, '\0');
    qToLittleEndian(layout.code, frame.data());
    qToLittleEndian(number, frame.data() + layout.numberAt);
    if (layout.channelsAt >= 0) {
        qToLittleEndian(static_cast<quint32>(layout.channels), frame.data() + layout.channelsAt);
    }
    for (int channel = 0; channel < layout.channels; ++channel) {
        qToLittleEndian(readings.pressure(channel, number),
                        frame.data() + layout.valuesAt + 4 * channel);
    }
    for (int block = 0; layout.code == 2 && block < layout.channels / 8; ++block) {
        qToLittleEndian(readings.temperature(8 * block, number),
                        frame.data() + layout.valuesAt + 4 * layout.channels + 4 * block);
    }
    return frame;
}

} // namespace

TEST(BinaryScan, SendsEachLayoutsFramesNumberedAndPacedWithDropRepeatAndBurst) {
    constexpr qint64 kIntervalNs = 625 * 5 * 16 * 1000; // PERIOD 625 us x AVG 5 x 16 = 50 ms
    const Layout vorn{1, 16, 104, 0, 4, -1, 8};
    const std::tuple<const char*, Layout, QList<quint32>> cases[] = {
        // Frame numbers as they arrive; none given: three from the layout's first.
        {"", vorn, {}},
        {"--drop 2,40 --repeat 3", vorn, {0, 1, 3, 3, 4}},
        {"--frame-type hkq --channels 16", {2, 16, 168, 0, 8, 4, 12}, {}},
        {"--frame-type HKQ --channels 32", {2, 32, 304, 0, 8, 4, 12}, {}},
        {"--frame-type HKQ --channels 64", {2, 64, 572, 0, 8, 4, 12}, {}},
        {"--frame-type pxt --channels 3", {3, 3, 24, 1, 4, 8, 12}, {}},
        {"--frame-type WGN --channels 512", {4, 512, 2060, 0, 4, 8, 12}, {}},
        // An hour between frames: only a burst sends more than the first.
        {"--burst", vorn, {}},
    };
    for (auto [options, layout, numbers] : cases) {
        SCOPED_TRACE(options);
        for (quint32 n = layout.first; numbers.size() < 3; ++n) {
            numbers.append(n);
        }
        SimUnderTest sim(QStringLiteral("--seed 7 ") + QLatin1String(options));
        auto client = sim.connectClient();
        QUdpSocket receiver;
        ASSERT_TRUE(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const bool burst = QByteArray(options) == "--burst";
        QElapsedTimer clock;
        clock.start();
        client->write(
            "SET BIN 1\rSET HOST 127.0.0.1 " + QByteArray::number(receiver.localPort()) +
            (burst ? " U\rSET PERIOD 60000\rSET AVG 60000" : " U\rSET PERIOD 625\rSET AVG 5") +
            "\rSET FPS " + QByteArray::number(numbers.last() - layout.first + 1) + "\rSCAN\r");
        QList<QByteArray> frames;
        QList<qint64> arrivals;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                while (receiver.hasPendingDatagrams()) {
                    frames.append(receiver.receiveDatagram().data());
                    arrivals.append(clock.nsecsElapsed());
                }
                return frames.size() >= numbers.size();
            },
            kWaitMs));
        ASSERT_EQ(frames.size(), numbers.size());
        const PressureModel readings = moduleReadings(7, layout.channels);
        for (int i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i], expectedFrame(layout, numbers[i], readings)) << "frame " << i;
            // Frame k is not due before k intervals after the start.
            const qint64 due = (numbers[i] - layout.first) * kIntervalNs;
            EXPECT_TRUE(burst || arrivals[i] >= due) << "frame " << i << " came early";
        }
        // The scan ends with its last frame: ready again, nothing more on either port.
        EXPECT_EQ(exchange(*client, "STATUS\r", kReady), kReady);
        EXPECT_FALSE(receiver.hasPendingDatagrams());
    }
}

TEST(BinaryScan, RefusedWithoutAUdpHostOrWithAZeroRate) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QByteArray refused = "ERROR: Binary host not set\r\n";
    EXPECT_EQ(exchange(*client, "SET BIN 1\rSCAN\r", refused), refused);
    EXPECT_EQ(exchange(*client, "SET HOST 127.0.0.1 5000 T\rSCAN\r", refused), refused);
    const QByteArray badRate = "ERROR: Invalid scan rate\r\n";
    EXPECT_EQ(exchange(*client, "SET AVG 0\rSCAN\r", badRate), badRate);
}

TEST(TextScan, SendsAFrameLineAndSixteenChannelLinesPerFrameUntilStopped) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const PressureModel readings = moduleReadings(1, 16);
    QByteArray expected;
    for (quint32 frame = 0; frame < 3; ++frame) {
        expected += "FRAME = " + QByteArray::number(frame) + "\r\n";
        for (int channel = 0; channel < 16; ++channel) {
            expected += QByteArray::number(channel) + ' ' +
                        QByteArray::number(readings.pressure(channel, frame), 'f', 4) + ' ' +
                        QByteArray::number(readings.temperature(channel, frame), 'f', 2) + "\r\n";
        }
    }
    // FPS 0 scans until stopped; 50 us x 20 x 16 = 16 ms per frame.
    EXPECT_EQ(exchange(*client, "SET PERIOD 50\rSET AVG 20\rSET FPS 0\rSCAN\r", expected)
                  .left(expected.size()),
              expected);
    const QByteArray scanning = "STATUS: SCAN\r\n";
    client->write("STATUS\r");
    EXPECT_TRUE(readUntil(*client, [&](const QByteArray& b) {
                    return b.contains(scanning);
                }).contains(scanning));
    const QByteArray stopped = readUntilEnd(*client, "STOP\rSTATUS\r", kReady);
    EXPECT_TRUE(stopped.endsWith(kReady)) << stopped.toStdString();
    // Nothing follows once stopped.
    EXPECT_EQ(exchange(*client, "STATUS\r", kReady), kReady);
}

TEST(PressureModel, ReadingsFollowTheSeedStayWithinFullScaleAndChangeFromFrameToFrame) {
    const PressureModel readings = moduleReadings(3, 16);
    int changes = 0;
    for (quint32 frame = 0; frame < 200; ++frame) {
        for (int channel = 0; channel < 16; ++channel) {
            const float pressure = readings.pressure(channel, frame);
            EXPECT_LE(std::abs(pressure), channel < 8 ? 15.0f : 50.0f);
            EXPECT_GT(readings.temperature(channel, frame), 15.0f);
            EXPECT_LT(readings.temperature(channel, frame), 35.0f);
            changes += pressure != readings.pressure(channel, frame + 1) ? 1 : 0;
        }
    }
    EXPECT_GT(changes, 3000);
    EXPECT_NE(readings.pressure(0, 0), moduleReadings(4, 16).pressure(0, 0));
}
