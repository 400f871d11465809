// ferrow end to end against the real simulated module: the hand-off of a paced high-speed scan
// in which the module never sends one frame. (The capture test checks the bytes ferrow writes.)
#include "simulatorprocess.h"
#include "support/ferrow_process.h"
#include "support/module_standin.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace ferrow::test;

constexpr std::uint32_t framesSent = 20; // numbered 0 to 19
constexpr std::uint32_t droppedFrame = 7;

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
    return QTest::qWaitFor(
        [&] {
            replies += socket.readAll();
            return replies.contains("STATUS:");
        },
        SimulatorProcess::WaitMs);
}

TEST(FerrowWithVornsim, CapturesAHighSpeedScanWithAMissingFrameAndReportsTheGap) {
    TemporaryCurrentDirectory directory;
    SimulatorProcess simulator;
    const quint16 commandPort =
        simulator.start({QStringLiteral("--drop"), QString::number(droppedFrame)});
    ASSERT_NE(commandPort, 0);
    const int udpPort = freeUdpPort();
    ASSERT_TRUE(prepareHighSpeedScan(commandPort, udpPort));
    writeFile("FERROW.CFG", "SET IPADDR " + simulator.address().toStdString() + "\r\nSET FPS " +
                                std::to_string(framesSent - 1) +
                                "\r\nSET BFILENAME hss.bin\r\nSET UDPPORT " +
                                std::to_string(udpPort) + "\r\n");

    FerrowProcess ferrow(directory.path());
    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_TRUE(ferrow.output().ends_with("Read 19\nCompleted data read\n")) << ferrow.output();

    // Every frame the simulator sent is stored in order, as a VORN record.
    const std::string capture = readFile("hss.bin");
    ASSERT_EQ(capture.size(), (framesSent - 1) * vornShape.size);
    std::size_t offset = vornShape.numberOffset;
    for (std::uint32_t frame = 0; frame < framesSent; ++frame) {
        if (frame != droppedFrame) {
            EXPECT_EQ(capture.substr(offset, 4),
                      vornFrame(frame).substr(vornShape.numberOffset, 4));
            offset += vornShape.size;
        }
    }
    // The first record after the gap is reported, not converted.
    const std::string csv = readFile("hss.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), framesSent - 2);
    EXPECT_NE(errlogLines().find("ERROR: ERROR: Missed frame, expecting frame 7 read frame 8\n"),
              std::string::npos);
}

} // namespace
