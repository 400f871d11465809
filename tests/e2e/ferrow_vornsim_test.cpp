// ferrow end to end against the real simulated module: a paced high-speed scan in which the
// module never sends one frame.
#include "simulatorprocess.h"
#include "support/ferrow_process.h"
#include "support/ferrow_test_support.h"
#include "support/module_standin.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <vector>

namespace {

using namespace ferrow::test;

constexpr int framesSent = 20; // numbered 0 to 19
constexpr std::uint32_t droppedFrame = 7;
constexpr int framesStored = framesSent - 1;
constexpr std::size_t vornFrameSize = 104;

// Turns on binary output towards udpPort with a short, fast scan. The STATUS reply shows that
// every command before it has been taken.
bool prepareHighSpeedScan(quint16 commandPort, int udpPort) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, commandPort);
    if (!socket.waitForConnected(SimulatorProcess::WaitMs)) {
        return false;
    }
    socket.write("SET BIN 1\rSET HOST 127.0.0.1 " + QByteArray::number(udpPort) +
                 " U\rSET PERIOD 50\rSET AVG 1\rSET FPS " + QByteArray::number(framesSent) +
                 "\rSTATUS\r");
    QByteArray replies;
    const bool answered = QTest::qWaitFor(
        [&] {
            replies += socket.readAll();
            return replies.contains("STATUS:");
        },
        SimulatorProcess::WaitMs);
    socket.disconnectFromHost();
    return answered;
}

std::uint32_t wordAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        word |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                << (8 * i);
    }
    return word;
}

// ERRLOG.TXT from the automatic conversion on, without its time stamps.
std::string conversionRecords() {
    const std::string errlog = std::regex_replace(
        readFile("ERRLOG.TXT"), std::regex(", [0-9]+/[0-9]+/[0-9]+ ,[0-9:.]+, "), ": ");
    const std::size_t start = errlog.find("EVENT: Opening text output file");
    return start == std::string::npos ? errlog : errlog.substr(start);
}

TEST(FerrowWithVornsim, CapturesAHighSpeedScanWithAMissingFrameAndReportsTheGap) {
    TemporaryCurrentDirectory directory;
    SimulatorProcess simulator;
    const quint16 commandPort =
        simulator.start({QStringLiteral("--drop"), QString::number(droppedFrame)});
    ASSERT_NE(commandPort, 0);
    const int udpPort = freeUdpPort();
    ASSERT_TRUE(prepareHighSpeedScan(commandPort, udpPort));
    const std::string address = simulator.address().toStdString();
    writeFile("FERROW.CFG",
              "SET IPADDR " + address + "\r\nSET FPS " + std::to_string(framesStored) +
                  "\r\nSET BFILENAME hss.bin\r\nSET UDPPORT " + std::to_string(udpPort) + "\r\n");

    FerrowProcess ferrow(directory.path());
    ASSERT_EQ(ferrow.waitForExit(), 0);

    // FPS 19 sets a progress line for every frame.
    std::string progress;
    for (int stored = 1; stored <= framesStored; ++stored) {
        progress += "Read " + std::to_string(stored) + "\n";
    }
    EXPECT_EQ(ferrow.output(), "FERROW Version 0.90a\nConnecting to " + address +
                                   "\nPress <ESC> to stop scan\n" + progress +
                                   "Completed data read\n");

    const std::string capture = readFile("hss.bin");
    ASSERT_EQ(capture.size(), framesStored * vornFrameSize);
    std::vector<std::uint32_t> numbers;
    for (std::size_t offset = 0; offset < capture.size(); offset += vornFrameSize) {
        numbers.push_back(wordAt(capture, offset + 4));
    }
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14,
                                                   15, 16, 17, 18, 19}));
    // The first record after the gap is reported, not converted (the converter's own tests check
    // the lines' bytes).
    const std::string csv = readFile("hss.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), framesStored - 1);

    EXPECT_EQ(conversionRecords(),
              "EVENT: Opening text output file hss.csv\r\n\r\n"
              "EVENT: Opening binary input file hss.bin\r\n\r\n"
              "EVENT: VORN Converting 16 channels with 104 bytes frame size\r\n\r\n"
              "ERROR: ERROR: Missed frame, expecting frame 7 read frame 8\r\n\r\n"
              "EVENT: Converted 20 frames of VORN data. Missed 1 frames\r\n\r\n");
}

} // namespace
