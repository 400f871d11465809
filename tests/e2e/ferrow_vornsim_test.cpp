// ferrow end to end against the real simulated module: the hand-off of a paced high-speed scan
// in which the module never sends one frame. (The capture test checks the bytes ferrow writes.)
#include "simulatorprocess.h"
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <gmock/gmock.h>

#include <regex>

namespace {

using namespace ferrow::test;

// With keys to come, the scan ends at its frame count; with none (standard input at its end, as
// tolvane3 starts ferrow without a console), once the frames have stopped: the missing one must
// not keep it waiting for ever. Either way what came is written and the gap reported.
TEST(FerrowWithVornsim, CapturesAHighSpeedScanWithAMissingFrameAndReportsTheGap) {
    SimulatorProcess simulator;
    const quint16 commandPort = simulator.start({QStringLiteral("--drop"), QStringLiteral("7")});
    ASSERT_NE(commandPort, 0);
    const int udpPort = freeUdpPort();
    // Binary output towards udpPort, 20 frames 0.8 ms apart; the STATUS reply shows that every
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

    const struct {
        int frames;
        FerrowProcess::Console console;
        std::string end;
    } runs[] = {{19, FerrowProcess::Console::Pipes, "Read 19\nCompleted data read\n"},
                {20, FerrowProcess::Console::NullDevice,
                 "Read 18\nERROR: No frame for 5000 ms and no key can come: scan ended after 19 "
                 "of 20 frames\n"}};
    // The record of a scan given up, whole but for its time stamp.
    const std::regex givenUp("\nERROR, [0-9]+/[0-9]+/[0-9]+ ,[0-9]+:[0-9]+:[0-9]+\\.[0-9]+, "
                             "ERROR: No frame for 5000 ms and no key can come: scan ended after "
                             "19 of 20 frames\r\n\r\nEVENT, ");
    for (const auto& [frames, console, end] : runs) {
        TemporaryCurrentDirectory directory;
        writeFile("FERROW.CFG", "SET IPADDR " + simulator.address().toStdString() + "\r\nSET FPS " +
                                    std::to_string(frames) +
                                    "\r\nSET BFILENAME hss.bin\r\nSET UDPPORT " +
                                    std::to_string(udpPort) + "\r\n");

        FerrowProcess ferrow(directory.path, console);
        ASSERT_EQ(ferrow.waitForExit(), 0) << frames;
        EXPECT_TRUE(ferrow.output().ends_with(end)) << ferrow.output();

        // Every frame the simulator sent is stored as a VORN record, in order: one gap in all,
        // whose first record after it is reported instead of converted.
        EXPECT_EQ(readFile("hss.bin").size(), 19u * vornShape.size) << frames;
        const std::string csv = readFile("hss.csv");
        EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 18) << frames;
        EXPECT_THAT(errlogLines(),
                    ::testing::HasSubstr("expecting frame 7 read frame 8\nEVENT: "
                                         "Converted 20 frames of VORN data. Missed 1 "));
        const std::string log = readFile("ERRLOG.TXT");
        EXPECT_EQ(std::regex_search(log, givenUp), console == FerrowProcess::Console::NullDevice)
            << log;
    }
}

} // namespace
