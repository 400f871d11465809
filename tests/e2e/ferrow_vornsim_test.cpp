// ferrow end to end against the real simulated module, started as tolvane3 starts it: without
// keys. (The capture test checks the bytes ferrow writes, and a scan ended at its frame count.)
#include "simulatorprocess.h"
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using namespace ferrow::test;

// The module never sends one frame of the paced high-speed scan and no key can end it: once the
// frames have stopped, the scan ends by itself, what came is written and the gap reported.
TEST(FerrowWithVornsim, WithoutKeysAScanMissingAFrameEndsOnceItsFramesStop) {
    const int udpPort = freeUdpPort();
    // Binary output towards udpPort, 20 frames 0.8 ms apart.
    SimulatorProcess simulator;
    ASSERT_NE(simulator.start({"BIN=1", "HOST=127.0.0.1 " + QString::number(udpPort) + " U",
                               "PERIOD=50", "AVG=1", "FPS=20"},
                              {QStringLiteral("--drop"), QStringLiteral("7")}),
              0);

    TemporaryCurrentDirectory directory;
    writeFile("FERROW.CFG", "SET IPADDR " + simulator.address().toStdString() +
                                "\r\nSET FPS 20\r\nSET BFILENAME hss.bin\r\nSET UDPPORT " +
                                std::to_string(udpPort) + "\r\n");
    FerrowProcess ferrow(directory.path, FerrowProcess::Console::NullDevice);
    ASSERT_EQ(ferrow.waitForExit(), 0);
    const std::string givenUp =
        "ERROR: No frame for 5000 ms and no key can come: scan ended after 19 of 20 frames\n";
    EXPECT_TRUE(ferrow.output().ends_with("Read 18\n" + givenUp)) << ferrow.output();
    // The same, whole but for its time stamp, in the log.
    EXPECT_TRUE(std::regex_search(
        readFile("ERRLOG.TXT"),
        std::regex("\nERROR, [0-9]+/[0-9]+/[0-9]+ ,[0-9]+:[0-9]+:[0-9]+\\.[0-9]+, " +
                   givenUp.substr(0, givenUp.size() - 1) + "\r\n\r\nEVENT, ")));

    // Every frame the simulator sent is stored as a VORN record, in order: one gap in all, whose
    // first record after it is reported instead of converted.
    EXPECT_EQ(readFile("hss.bin").size(), 19u * vornShape.size);
    const std::string csv = readFile("hss.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 18);

    // Its sidecar tells what ferrow measured, the gap among it; run by hand, no module part.
    const std::regex utcTime(R"("\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z")");
    const std::regex granted(R"("receiveBufferBytes": [1-9]\d*)");
    EXPECT_EQ(std::regex_replace(std::regex_replace(readFile("hss.bin.json"), utcTime, "T"),
                                 granted, "\"receiveBufferBytes\": N"),
              "{\r\n    \"program\": \"ferrow 3.03\",\r\n    \"start\": T,\r\n    \"end\": T,\r\n"
              "    \"capture\": {\r\n        \"file\": \"hss.bin\",\r\n"
              "        \"frameType\": \"VORN\",\r\n        \"channels\": 16,\r\n"
              "        \"frameSize\": 104,\r\n        \"framesAsked\": 20,\r\n"
              "        \"framesStored\": 19,\r\n        \"udpPort\": " +
                  std::to_string(udpPort) +
                  ",\r\n        \"receiveBufferBytes\": N\r\n    },\r\n"
                  "    \"missingFrames\": [[7, 7]]\r\n}\r\n");
}

} // namespace
