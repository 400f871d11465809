// ferrow end to end against the real simulated module: the hand-off of a paced high-speed scan
// in which the module never sends one frame. (The capture test checks the bytes ferrow writes.)
#include "simulatorprocess.h"
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <gmock/gmock.h>

namespace {

using namespace ferrow::test;

TEST(FerrowWithVornsim, CapturesAHighSpeedScanWithAMissingFrameAndReportsTheGap) {
    TemporaryCurrentDirectory directory;
    SimulatorProcess simulator;
    const quint16 commandPort = simulator.start({QStringLiteral("--drop"), QStringLiteral("7")});
    ASSERT_NE(commandPort, 0);
    const int udpPort = freeUdpPort();
    // Binary output towards udpPort, 20 frames 50 ms apart; the STATUS reply shows that every
    // command before it has been taken.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, commandPort);
    ASSERT_TRUE(socket.waitForConnected(SimulatorProcess::WaitMs));
    socket.write("SET BIN 1\rSET HOST 127.0.0.1 " + QByteArray::number(udpPort) +
                 " U\rSET PERIOD 50\rSET AVG 1\rSET FPS 20\rSTATUS\r");
    QByteArray replies;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (replies += socket.readAll()).contains("STATUS:"); },
                                SimulatorProcess::WaitMs));
    socket.close(); // the module serves one client at a time
    writeFile("FERROW.CFG", "SET IPADDR " + simulator.address().toStdString() +
                                "\r\nSET FPS 19\r\nSET BFILENAME hss.bin\r\nSET UDPPORT " +
                                std::to_string(udpPort) + "\r\n");

    FerrowProcess ferrow(directory.path);
    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_TRUE(ferrow.output().ends_with("Read 19\nCompleted data read\n")) << ferrow.output();

    // Every frame the simulator sent is stored as a VORN record, in order: one gap in all, whose
    // first record after it is reported instead of converted.
    EXPECT_EQ(readFile("hss.bin").size(), 19u * vornShape.size);
    const std::string csv = readFile("hss.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 18);
    EXPECT_THAT(errlogLines(), ::testing::HasSubstr("expecting frame 7 read frame 8\nEVENT: "
                                                    "Converted 20 frames of VORN data. Missed 1 "));
}

} // namespace
