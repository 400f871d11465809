// vornsim as its clients see it, in process on 127.0.0.1 port 0: replies and fault options on
// the command port, settings kept or lost across reconnections, reboots and restarts, scans.

#include "vornsim/moduleserver.h"
#include "vornsim/pressuremodel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <numeric>

using vornsim::PressureModel;

namespace {

// Every wait ends when its condition holds or after kWaitMs.
constexpr int kWaitMs = 10000;
bool waitFor(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, kWaitMs);
}
const QByteArray kReady = "STATUS: READY\r\n";

// `options` as typed on a command line, quotes included.
std::unique_ptr<vornsim::ModuleServer> startSim(const QString& options = {}) {
    const QStringList args = QProcess::splitCommand("vornsim --listen 127.0.0.1:0 " + options);
    auto sim =
        std::make_unique<vornsim::ModuleServer>(vornsim::parseArguments(args).config.value());
    QString error;
    EXPECT_TRUE(sim->start(&error)) << error.toStdString();
    return sim;
}

// A connected client; a refused attempt is made again, as the port is closed during a reboot.
std::unique_ptr<QTcpSocket> connectTo(const vornsim::ModuleServer& sim) {
    auto socket = std::make_unique<QTcpSocket>();
    EXPECT_TRUE(waitFor([&] {
        socket->connectToHost(QHostAddress(QHostAddress::LocalHost), sim.port());
        return socket->waitForConnected(kWaitMs);
    }));
    return socket;
}

// Sends `command`; everything received until `done` holds for it (or until it ends with `end`,
// or until `size` bytes are in or the module closed the connection).
QByteArray ask(QTcpSocket& socket, const QByteArray& command,
               const std::function<bool(const QByteArray&)>& done) {
    socket.write(command);
    QByteArray received;
    static_cast<void>(waitFor([&] { return done(received += socket.readAll()); }));
    return received;
}
QByteArray ask(QTcpSocket& socket, const QByteArray& command, const QByteArray& end) {
    return ask(socket, command, [&](const QByteArray& bytes) { return bytes.endsWith(end); });
}
QByteArray ask(QTcpSocket& socket, const QByteArray& command, qsizetype size) {
    return ask(socket, command, [&](const QByteArray& bytes) {
        return bytes.size() >= size || socket.state() == QAbstractSocket::UnconnectedState;
    });
}
constexpr qsizetype kUntilClosed = std::numeric_limits<qsizetype>::max();

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Readings of the default module: full scale 15 for channels 0-7, 50 for 8-15, repeated.
PressureModel moduleReadings(quint32 seed, int channels) {
    std::vector<double> scales;
    for (int channel = 0; channel < channels; ++channel) {
        scales.push_back(channel % 16 < 8 ? 15.0 : 50.0);
    }
    return PressureModel(seed, scales);
}

// A binary layout: type code, channels, size and where it keeps the frame number, the channel
// count (-1: nowhere) and the values.
struct Layout {
    quint32 code;
    int channels, size, numberAt, channelsAt, valuesAt;
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
    const int values = layout.channels + (layout.code == 2 ? layout.channels / 8 : 0);
    for (int i = 0; i < values; ++i) {
        qToLittleEndian(i < layout.channels
                            ? readings.pressure(i, number)
                            : readings.temperature(8 * (i - layout.channels), number),
                        frame.data() + layout.valuesAt + 4 * i);
    }
    return frame;
}

} // namespace

TEST(CommandPort, OptionsShapeWhatEveryClientReceives) {
    QByteArray binary(256, '\0'); // one line of every byte value but CR and LF
    std::iota(binary.begin(), binary.end(), '\0');
    binary.removeIf([](char byte) { return byte == '\r' || byte == '\n'; }).append("\r\n");
    const QByteArray greeting = "Module 3099 SN 0417\r\n";
    const std::tuple<const char*, QByteArray, QByteArray> cases[] = {
        // Options, commands, replies: in order, in any case, empty lines skipped.
        {"",
         QByteArray("STATUS\r").repeated(2000) +
             "FROB\rSET NOSUCH 1\rSET FPS\r\r \rList X\rsTaTuS\r",
         kReady.repeated(2000) +
             "ERROR: Invalid command\r\nERROR: Invalid setting\r\n"
             "ERROR: Invalid setting\r\nERROR: Invalid command\r\n" +
             kReady},
        // A scan needs a rate, a binary one a UDP host.
        {"", "SET BIN 1\rSET HOST 127.0.0.1 5000 T\rSCAN\rSET AVG 0\rSCAN\rSET AVG 10\r",
         "ERROR: Binary host not set\r\nERROR: Invalid scan rate\r\n"},
        {"--silent-group hsMz", "List H\rlist s\rLIST M 0 69\rList Z\rSTATUS\r", kReady},
        // 30xx models greet, have their own STATUS reply and keep 60 points per sensor.
        {"--model 3099", "STATUS\rLIST M 0 69\rLIST M 0 59\r",
         greeting + "Module firmware 3.03\r\nStatus->READY\r\nERROR: Invalid row\r\n" +
             QByteArray("READY\r\n").repeated(3)},
        {"--close-after 3", "STATUS\rList H\r", kReady + "SET MAX0 15\r\nSET MAX1 15\r\n"},
        {"--model 3099 --close-after 1", "", greeting},
        {"--garbage binary", "STATUS\rSTATUS\r", binary + kReady + binary + kReady},
        // After 300000 bytes of any value but CR and LF:
        {"--garbage long --garbage-bytes 300000", "STATUS\r", "\r\n" + kReady},
        {"--garbage noeol --garbage-bytes 300000", "STATUS\r", kReady}};
    for (const auto& [options, send, expected] : cases) {
        const bool closes = QByteArray(options).contains("--close-after");
        const int garbage = QByteArray(options).contains("--garbage-bytes") ? 300000 : 0;
        auto sim = startSim(QString::fromLatin1(options));
        auto first = connectTo(*sim);
        auto second = connectTo(*sim);
        second->write(send);
        // One client at a time; the next gets the same, nothing carries over from the one before.
        for (QTcpSocket* socket : {first.get(), second.get()}) {
            SCOPED_TRACE(std::string(options) + (socket == first.get() ? ", first" : ", second"));
            const QByteArray received = ask(*socket, socket == first.get() ? send : "",
                                            closes ? kUntilClosed : garbage + expected.size());
            const QByteArray junk = received.left(garbage);
            EXPECT_FALSE(junk.contains('\r') || junk.contains('\n'));
            EXPECT_TRUE(garbage == 0 || junk.contains('\xff'));
            EXPECT_EQ(received.mid(garbage), expected);
            EXPECT_TRUE(closes || second->bytesAvailable() == 0); // served only once the first ends
            socket->disconnectFromHost();
        }
    }
}

TEST(CommandPort, RepliesAreCutIntoSeparateWritesAtTheChosenOffsetsAsTheTranscriptShows) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    auto sim = startSim("--split-at 10,3,99 --split-delay 1 --transcript \"" + path + '"');
    auto client = connectTo(*sim);
    EXPECT_EQ(ask(*client, "STATUS\r", kReady) + ask(*client, "STATUS\r", kReady), kReady + kReady);
    // Each write is one TX record: its length, its bytes, a line end.
    const QByteArray status = "RX 7\nSTATUS\r\nTX 3\nSTA\nTX 7\nTUS: RE\nTX 5\nADY\r\n\n";
    const QByteArray written = "# connected 127.0.0.1:" + QByteArray::number(client->localPort()) +
                               '\n' + status + status + "# disconnected\n";
    client.reset();
    EXPECT_TRUE(waitFor([&] { return contents(path) == written; })) << contents(path).toStdString();
}

TEST(SavedSettings, WhatTheNextClientListsAfterAReconnectionARebootOrARestart) {
    enum End { Reconnect, Reboot, Restart };
    const QByteArray binaryHost = "SET HOST 127.0.0.1 23 U\r\n";
    const QByteArray badValue = "ERROR: Invalid value\r\n";
    // Options (STATE: a state file); sent first, after which group S shows these lines; sent
    // next (refused, unsaved before a reboot, or unsaved) and its replies; how the client goes.
    const std::tuple<const char*, QByteArray, QByteArray, QByteArray, QByteArray, End> cases[] = {
        // Words and keys in any case, values of several words; refused SETs change nothing.
        {"", "set PERIOD 250\rSet UNITSCAN kpa\rSET HOST 10.0.0.5 23 U\r",
         "SET PERIOD 250\r\nSET UNITSCAN KPA\r\nSET HOST 10.0.0.5 23 U\r\n",
         "SET UNITSCAN FOO\rSET UNITSCAN PSI2\rSET PERIOD abc\rSET AVG 12x\rSET FPS 1 2\r"
         "SET FPS .\rSET AVG -\r",
         QByteArray("ERROR: Invalid unit\r\n").repeated(2) + badValue.repeated(5), Reconnect},
        // Presets count as saved; unsaved SETs are lost with the reboot, and nothing after
        // "reboot" is answered.
        {"--reboot-ms 500 --set \"HOST=127.0.0.1  23 U\" --set fps=10", "SET PERIOD 250\rSAVE\r",
         "SET PERIOD 250\r\nSET AVG 10\r\nSET FPS 10\r\n" + binaryHost,
         "SET AVG 3\rSET FPS 1\rReBoot\rSTATUS\r", "", Reboot},
        {"--state STATE", "SET UNITSCAN kpa\rSET HOST 127.0.0.1 23 U\rSAVE\r",
         "SET UNITSCAN KPA\r\n" + binaryHost, "SET PERIOD 250\rSTATUS\r", kReady, Restart}};
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("module.state"));
    for (const auto& [preset, kept, shown, lost, replies, end] : cases) {
        SCOPED_TRACE(preset);
        const QString options = QString::fromLatin1(preset).replace(QStringLiteral("STATE"), state);
        auto sim = startSim(options);
        auto client = connectTo(*sim);
        // Each `shown` ends with the group's last line.
        const QByteArray first =
            ask(*client, kept + "List S\r", shown.mid(shown.lastIndexOf("SET HOST")));
        for (const QByteArray& line : shown.split('\n')) {
            EXPECT_TRUE(first.contains(line + '\n')) << line.toStdString() << first.toStdString();
        }
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(ask(*client, lost, end == Reboot ? kUntilClosed : replies.size()), replies);
        if (end == Reboot) { // the port stays closed for the reboot's 500 ms
            QTcpSocket early;
            early.connectToHost(QHostAddress(QHostAddress::LocalHost), sim->port());
            EXPECT_TRUE(!early.waitForConnected(kWaitMs) || clock.elapsed() >= 500);
        }
        client.reset();
        if (end == Restart) {
            sim.reset();
            EXPECT_TRUE(contents(state).endsWith(first));
            sim = startSim(options);
        }
        EXPECT_EQ(ask(*connectTo(*sim), "STATUS\rList S\r", kReady + first), kReady + first);
    }
}

TEST(BinaryScan, SendsEachLayoutsFramesNumberedAndPacedWithDropRepeatAndBurst) {
    constexpr qint64 kIntervalNs = 625 * 5 * 16 * 1000; // PERIOD 625 us x AVG 5 x 16 = 50 ms
    const Layout vorn{1, 16, 104, 4, -1, 8};
    const std::tuple<const char*, Layout, QList<quint32>> cases[] = {
        // Options, layout, frame numbers as they arrive.
        {"", vorn, {0, 1, 2}},
        {"--drop 2,40 --repeat 3", vorn, {0, 1, 3, 3, 4}},
        {"--frame-type hkq --channels 16", {2, 16, 168, 8, 4, 12}, {0, 1, 2}},
        {"--frame-type HKQ --channels 64", {2, 64, 572, 8, 4, 12}, {0, 1, 2}},
        {"--frame-type pxt --channels 3", {3, 3, 24, 4, 8, 12}, {1, 2, 3}},
        {"--frame-type WGN --channels 512", {4, 512, 2060, 4, 8, 12}, {0, 1, 2}},
        // An hour between frames: only a burst sends more than the first.
        {"--burst", vorn, {0, 1, 2}},
    };
    for (const auto& [options, layout, numbers] : cases) {
        SCOPED_TRACE(options);
        auto sim = startSim(QStringLiteral("--seed 7 ") + QLatin1String(options));
        auto client = connectTo(*sim);
        QUdpSocket receiver;
        ASSERT_TRUE(receiver.bind(QHostAddress(QHostAddress::LocalHost), 0));
        const bool burst = QByteArray(options) == "--burst";
        QElapsedTimer clock;
        clock.start();
        client->write(
            "SET BIN 1\rSET HOST 127.0.0.1 " + QByteArray::number(receiver.localPort()) +
            (burst ? " U\rSET PERIOD 60000\rSET AVG 60000" : " U\rSET PERIOD 625\rSET AVG 5") +
            "\rSET FPS " + QByteArray::number(numbers.last() - numbers.first() + 1) + "\rSCAN\r");
        QList<std::pair<QByteArray, qint64>> frames; // with their arrival times
        static_cast<void>(waitFor([&] {
            while (receiver.hasPendingDatagrams()) {
                frames.append({receiver.receiveDatagram().data(), clock.nsecsElapsed()});
            }
            return frames.size() >= numbers.size();
        }));
        ASSERT_EQ(frames.size(), numbers.size());
        const PressureModel readings = moduleReadings(7, layout.channels);
        for (int i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].first, expectedFrame(layout, numbers[i], readings))
                << "frame " << i;
            // Frame k is not due before k intervals after the start.
            const qint64 due = (numbers[i] - numbers.first()) * kIntervalNs;
            EXPECT_TRUE(burst || frames[i].second >= due) << "frame " << i << " came early";
        }
        // The scan ends with its last frame: ready again, nothing more on either port.
        EXPECT_EQ(ask(*client, "STATUS\r", kReady), kReady);
        EXPECT_FALSE(receiver.hasPendingDatagrams());
    }
}

// Three frames of sixteen channel lines, 16 ms apart (50 us x 20 x 16); FPS 0 scans until STOP.
TEST(TextScan, SendsFramesInEngineeringUnitsRawCountsOrFixedTextsThenEndsOrStops) {
    const PressureModel readings = moduleReadings(1, 16);
    PressureModel zeroed = readings;
    zeroed.removeOffsets();
    using Fields = std::function<QByteArray(int channel, quint32 frame)>;
    // The fields after the channel number in engineering units: pressure x factor, temperature.
    auto units = [](const PressureModel& model, double factor) -> Fields {
        return [&model, factor](int c, quint32 f) {
            return QByteArray::number(model.pressure(c, f) * factor, 'f', 4) + ' ' +
                   QByteArray::number(model.temperature(c, f), 'f', 2);
        };
    };
    const std::tuple<const char*, QByteArray, Fields> cases[] = {
        // Options, commands before the scan, a channel line's fields.
        {"", "SET FPS 0\r", units(readings, 1.0)},
        {"", "SET CVTUNIT 6.894757\r", units(readings, 6.894757)},
        // Raw: full scale (15 or 50) is 32767 counts; temperatures in hundredths of a degree.
        {"", "SET EU 0\rSET CVTUNIT 2\r",
         [&](int c, quint32 f) {
             return QByteArray::number(
                        std::lround(readings.pressure(c, f) / (c < 8 ? 15 : 50) * 32767)) +
                    ' ' + QByteArray::number(std::lround(readings.temperature(c, f) * 100));
         }},
        {"", "CALZ\rSET XSCANTRIG 1\r", units(zeroed, 1.0)},
        {"--fixed-values 1.50,+020.0", "SET EU 0\r", [](int, quint32) { return "1.50 +020.0"; }},
        {"--fixed-values x,y --omit-channel 3", "",
         [](int c, quint32) { return c == 3 ? QByteArray() : "x y"; }},
    };
    for (const auto& [options, commands, fields] : cases) {
        SCOPED_TRACE(options + commands.toStdString());
        QByteArray expected;
        for (quint32 frame = 0; frame < 3; ++frame) {
            expected += "FRAME = " + QByteArray::number(frame) + "\r\n";
            for (int channel = 0; channel < 16; ++channel) {
                const QByteArray text = fields(channel, frame);
                expected += text.isEmpty() ? "" : QByteArray::number(channel) + ' ' + text + "\r\n";
            }
        }
        auto sim = startSim(QString::fromLatin1(options));
        auto client = connectTo(*sim);
        const QByteArray scan = "SET PERIOD 50\rSET AVG 20\rSET FPS 3\r" + commands + "SCAN\r";
        EXPECT_EQ(ask(*client, scan, expected.size()).left(expected.size()), expected);
        if (commands.startsWith("SET FPS 0")) { // endless until STOP
            const QByteArray stopped = ask(*client, "STATUS\rSTOP\rSTATUS\r", kReady);
            EXPECT_TRUE(stopped.contains("STATUS: SCAN\r\n")) << stopped.toStdString();
        }
        // Nothing follows once ended or stopped.
        EXPECT_EQ(ask(*client, "STATUS\r", kReady), kReady);
    }
}

// Point tables answer each command with its READY lines and keep the last 100 refusals until
// CLEAR; every listed sensor table line is taken back by SET; both are held for the next client.
TEST(Tables, PointAndSensorTablesAnswerAsAModuleAndAreHeldForTheNextClient) {
    const QByteArray ready2 = QByteArray("READY\r\n").repeated(2);
    const QByteArray ready3 = QByteArray("READY\r\n").repeated(3);
    QByteArray frobs, kept;
    for (int i = 0; i < 105; ++i) {
        frobs += "FROB " + QByteArray::number(i) + '\r';
        kept += i < 5 ? "" : "ERROR: Invalid command: FROB " + QByteArray::number(i) + "\r\n";
    }
    const std::pair<QByteArray, QByteArray> steps[] = {
        // Commands, replies.
        {"INSERT 5 3 1.0 2.0\rINSERT 9 3 3 -2\rInsert 2 4 7 7\rLIST M 0 69 3\r",
         "INSERT 5 3 1.0 2.0\r\nINSERT 9 3 3 -2\r\n" + ready3},
        // FILL: master points, straight lines between them, the nearest beyond.
        {"FILL\rLIST A 4 10 3\r",
         ready2 +
             "POINT 4 3 1.0000 2.0000\r\nPOINT 5 3 1.0000 2.0000\r\nPOINT 6 3 1.5000 1.0000\r\n"
             "POINT 7 3 2.0000 0.0000\r\nPOINT 8 3 2.5000 -1.0000\r\nPOINT 9 3 3.0000 -2.0000\r\n"
             "POINT 10 3 3.0000 -2.0000\r\n" +
             ready3},
        // The full table stays as filled until the next FILL.
        {"delete 0 5 3\rLIST M 0 69\rList A 2 2\r",
         ready2 + "INSERT 9 3 3 -2\r\nINSERT 2 4 7 7\r\n" + ready3 +
             "POINT 2 3 1.0000 2.0000\r\nPOINT 2 4 7.0000 7.0000\r\n" + ready3},
        {"LIST M 0 70\rLIST A 0  5\rINSERT 1 16 1 1\rINSERT 1 1 x 1\rDELETE 6 5 3\rLIST M 5\r"
         "DELETE 0 69\rSET ABS3 2\rFROB\x01\xff\rERROR\r",
         "ERROR: Invalid row\r\nERROR: Invalid row\r\nERROR: Invalid sensor\r\n"
         "ERROR: Invalid value\r\nERROR: Invalid row\r\nERROR: Invalid command\r\n"
         "ERROR: Invalid command\r\nERROR: Invalid value\r\nERROR: Invalid command\r\n"
         "ERROR: Invalid row: LIST M 0 70\r\nERROR: Invalid row: LIST A 0  5\r\n"
         "ERROR: Invalid sensor: INSERT 1 16 1 1\r\nERROR: Invalid value: INSERT 1 1 x 1\r\n"
         "ERROR: Invalid row: DELETE 6 5 3\r\nERROR: Invalid command: LIST M 5\r\n"
         "ERROR: Invalid command: DELETE 0 69\r\nERROR: Invalid value: SET ABS3 2\r\n"
         "ERROR: Invalid command: FROB??\r\n"},
        {"CLEAR\rERROR\rSTATUS\r", kReady},
        {frobs + "ERROR\r", QByteArray("ERROR: Invalid command\r\n").repeated(105) + kept},
    };
    auto sim = startSim();
    auto client = connectTo(*sim);
    auto answer = [&](const QByteArray& commands) {
        return ask(*client, commands + "STATUS\r", kReady).chopped(kReady.size());
    };
    for (const auto& [commands, replies] : steps) {
        SCOPED_TRACE(commands.left(40).toStdString());
        EXPECT_EQ(ask(*client, commands, replies.size()), replies);
    }
    const QByteArray tables = "LIST O\rList g\rLIST B\rLIST L\rLIST H\rLIST N\r";
    // The sensor number where a profile's reader takes it from.
    const QRegularExpression sensorAt(QStringLiteral("^(SET TEMP |SET [A-Z]+)(\\d+) "));
    // Each line back with a value of its own as its last word.
    const QList<QByteArray> listed = answer(tables).replace("\r\n", "\n").chopped(1).split('\n');
    ASSERT_EQ(listed.size(), 6 * 16);
    QByteArray changed;
    for (int i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(sensorAt.match(QString::fromLatin1(listed[i])).captured(2).toInt(), i % 16)
            << listed[i].toStdString();
        const QByteArray value = listed[i].startsWith("SET ABS") ? "1" : QByteArray::number(i);
        changed += listed[i].left(listed[i].lastIndexOf(' ') + 1) + value + "\r\n";
    }
    EXPECT_EQ(answer(changed.replace("\r\n", "\r")), "");
    EXPECT_EQ(answer(tables), changed.replace("\r", "\r\n"));

    // Tables and points are held by the module for the next client.
    const QByteArray all = answer(tables + "LIST A 0 69\r");
    client = connectTo(*sim);
    EXPECT_EQ(answer(tables + "LIST A 0 69\r"), all);
}

TEST(PressureModel, ReadingsFollowTheSeedStayWithinFullScaleAndChangeFromFrameToFrame) {
    const PressureModel readings = moduleReadings(3, 16);
    int changes = 0;
    for (quint32 frame = 0; frame < 3200; ++frame) {
        const int channel = static_cast<int>(frame % 16);
        const float pressure = readings.pressure(channel, frame);
        const float temperature = readings.temperature(channel, frame);
        EXPECT_TRUE(std::abs(pressure) <= (channel < 8 ? 15 : 50) && temperature > 15 &&
                    temperature < 35);
        changes += pressure != readings.pressure(channel, frame + 1) ? 1 : 0;
    }
    EXPECT_GT(changes, 3000);
    EXPECT_NE(readings.pressure(0, 0), moduleReadings(4, 16).pressure(0, 0));
}
