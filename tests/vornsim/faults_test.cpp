// Each fault option as a client sees it: silence, early close, garbage, cut replies.

#include "simtestclient.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(Faults, EachOptionShapesWhatEveryClientReceives) {
    QByteArray binary; // one line of every byte value but CR and LF
    for (int byte = 0; byte < 256; ++byte) {
        binary += byte == '\r' || byte == '\n' ? QByteArray() : QByteArray(1, char(byte));
    }
    binary += "\r\n";
    struct Case {
        const char* options;
        QByteArray send;
        int garbage; // leading bytes of any value but CR and LF, 8-bit ones among them
        QByteArray expected;
        bool closes;
    };
    const Case cases[] = {
        {"--silent-group hs", "List H\rlist s\rSTATUS\r", 0, kReady, false},
        {"--close-after 3", "STATUS\rList H\r", 0, kReady + "SET MAX0 15\r\nSET MAX1 15\r\n", true},
        {"--model 3099 --close-after 1", "", 0, "Module 3099 SN 0417\r\n", true},
        {"--garbage binary", "STATUS\rSTATUS\r", 0, binary + kReady + binary + kReady, false},
        {"--garbage long --garbage-bytes 300000", "STATUS\r", 300000, "\r\n" + kReady, false},
        {"--garbage noeol --garbage-bytes 300000", "STATUS\r", 300000, kReady, false},
    };
    for (const Case& c : cases) {
        SimUnderTest sim(QLatin1String(c.options));
        // The next client gets the same: nothing carries over from the one before.
        for (int client = 0; client < 2; ++client) {
            SCOPED_TRACE(std::string(c.options) + ", client " + std::to_string(client));
            auto socket = sim.connectClient();
            socket->write(c.send);
            const bool done = QTest::qWaitFor(
                [&] {
                    return c.closes ? socket->state() == QAbstractSocket::UnconnectedState
                                    : socket->bytesAvailable() >= c.garbage + c.expected.size();
                },
                kWaitMs);
            EXPECT_TRUE(done) << (c.closes ? "still connected" : "too few bytes");
            const QByteArray received = socket->readAll();
            const QByteArray garbage = received.left(c.garbage);
            EXPECT_FALSE(garbage.contains('\r') || garbage.contains('\n'));
            EXPECT_TRUE(c.garbage == 0 || garbage.contains('\xff'));
            EXPECT_EQ(received.mid(c.garbage), c.expected);
        }
    }
}

TEST(Faults, RepliesAreCutIntoSeparateWritesAtTheChosenOffsetsAsTheTranscriptShows) {
    QTemporaryDir dir;
    QFile transcript(dir.filePath(QStringLiteral("t.txt")));
    SimUnderTest sim(QStringLiteral("--split-at 10,3,99 --split-delay 1"),
                     {QStringLiteral("--transcript"), transcript.fileName()});
    {
        auto client = sim.connectClient();
        EXPECT_EQ(exchange(*client, "STATUS\r", kReady), kReady);
        EXPECT_EQ(exchange(*client, "STATUS\r", kReady), kReady);
    }
    // Each write is one TX record: its length, its bytes, a line end.
    const QByteArray pieces = "TX 3\nSTA\nTX 7\nTUS: RE\nTX 5\nADY\r\n\n";
    const QByteArray end =
        "RX 7\nSTATUS\r\n" + pieces + "RX 7\nSTATUS\r\n" + pieces + "# disconnected\n";
    QByteArray written;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            transcript.open(QIODevice::ReadOnly);
            written = transcript.readAll();
            transcript.close();
            return written.endsWith(end);
        },
        kWaitMs));
    EXPECT_TRUE(written.startsWith("# connected 127.0.0.1:") && written.endsWith(end))
        << written.toStdString();
}
