// ferrow end to end: the real program against a module stand-in on loopback, keys piped in.
#include "support/ferrow_process.h"
#include "support/module_standin.h"

#include <gtest/gtest.h>

#include <csignal>
#include <regex>

namespace {

using namespace ferrow::test;

constexpr const char* banner = "FERROW Version 0.90a\n";

struct FerrowRun : ::testing::Test {
    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    int udpPort = freeUdpPort();

    // FERROW.CFG as tolvane3 writes it, then ferrow started on it and scanning.
    void start(int frames) {
        writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET FPS " +
                                    std::to_string(frames) + "\r\nSET BFILENAME cap.bin\r\n" +
                                    "SET UDPPORT " + std::to_string(udpPort) + "\r\n");
        ferrow.emplace(directory.path());
        EXPECT_TRUE(module.acceptClient() && module.waitForReceived("SCAN\r"));
    }
    void send(const std::vector<std::uint32_t>& frames) {
        for (const std::uint32_t frame : frames) {
            module.sendDatagram(udpPort, vornFrame(frame));
        }
    }
    std::string startOfOutput() const {
        return banner + ("Connecting to " + module.address() + "\nPress <ESC> to stop scan\n");
    }
    // The capture kept and converted at the end of the run.
    void expectCaptured(const std::vector<std::uint32_t>& stored,
                        const std::vector<std::uint32_t>& converted) {
        EXPECT_EQ(readFile("cap.bin"), records(vornShape, stored));
        EXPECT_EQ(readFile("cap.csv"), printfLines(vornShape, converted, ",", ","));
    }

    std::optional<FerrowProcess> ferrow;
};

TEST_F(FerrowRun, CapturesFramesWithAGapIntoBinaryFileCsvAndErrlog) {
    start(6);
    module.sendText("STATUS: SCAN\r\n\x01");
    ASSERT_TRUE(ferrow->waitForOutput("Found binary packet\n"));
    send({0, 1, 2, 4, 5, 6});

    ASSERT_EQ(ferrow->waitForExit(), 0);
    EXPECT_EQ(module.received(), "SCAN\r");
    expectCaptured({0, 1, 2, 4, 5, 6}, {0, 1, 2, 5, 6});
    EXPECT_EQ(ferrow->output(), startOfOutput() + "STATUS: SCAN\r\nFound binary packet\n"
                                                  "Read 1\nRead 2\nRead 3\nRead 4\nRead 5\nRead 6\n"
                                                  "Completed data read\n");
    // The granted receive buffer is the system's choice.
    const std::string port = std::to_string(udpPort);
    EXPECT_EQ(std::regex_replace(errlogLines(), std::regex("receive buffer of [0-9]+"),
                                 "receive buffer of N"),
              "EVENT: FERROW Version 0.90a\nEVENT: Reading FERROW\n"
              "EVENT: Ferrow Init command SET IPADDR " +
                  module.address() +
                  "\nEVENT: Ferrow Init command SET FPS 6\n"
                  "EVENT: Ferrow Init command SET BFILENAME cap.bin\n"
                  "EVENT: Ferrow Init command SET UDPPORT " +
                  port + "\nEVENT: Connecting to " + module.address() +
                  "\nEVENT: UDP receive buffer of N bytes\nEVENT: Opening udp server on port " +
                  port +
                  "\nEVENT: Connected\nEVENT: Opening binary file cap.bin\nEVENT: Numframes 6\n"
                  "EVENT: Allocating 684 bytes of memory for 6 frames of data\n"
                  "EVENT: Read 1\nEVENT: Read 2\nEVENT: Read 3\nEVENT: Read 4\nEVENT: Read 5\n"
                  "EVENT: Read 6\nEVENT: Completed data read\nEVENT: Closing binary file\n"
                  "EVENT: Flushing buffer of 624 bytes to file\n"
                  "EVENT: Completed write of 624 bytes to file\n"
                  "EVENT: Opening text output file cap.csv\n"
                  "EVENT: Opening binary input file cap.bin\n"
                  "EVENT: VORN Converting 16 channels with 104 bytes frame size\n"
                  "ERROR: ERROR: Missed frame, expecting frame 3 read frame 4\n"
                  "EVENT: Converted 7 frames of VORN data. Missed 1 frames\n");
}

// However a run ends early, what was captured is written and converted.
TEST_F(FerrowRun, EscOrSigtermMidCaptureKeepsWhatWasCaptured) {
    for (const bool esc : {true, false}) {
        start(30); // a progress line every 3 frames
        if (!esc) {
            ferrow->endKeys(); // the end of input must not end the capture
        }
        send({0, 1, 2});
        ASSERT_TRUE(ferrow->waitForOutput("Read 3\n"));
        esc ? ferrow->type("\x1b") : ferrow->signal(SIGTERM);

        ASSERT_EQ(ferrow->waitForExit(), 0) << esc;
        expectCaptured({0, 1, 2}, {0, 1, 2});
        if (esc) {
            EXPECT_TRUE(module.waitForReceived("SCAN\r\x1b"));
            EXPECT_EQ(ferrow->output(), startOfOutput() + "Read 3\n\x1b");
            EXPECT_NE(errlogLines().find("EVENT: Read 3\nEVENT: Scan cancelled\n"
                                         "EVENT: Closing binary file\n"),
                      std::string::npos);
        }
    }
    // Each run adds to ERRLOG.TXT, never replaces it.
    const std::string log = errlogLines();
    EXPECT_NE(log.find("EVENT: FERROW Version"), log.rfind("EVENT: FERROW Version"));
}

// Without FERROW.CFG and without a module: interrupted, or by itself once no key can come.
TEST(FerrowWithoutModule, RunsOnDefaultsAndEndsOnSigintOrAtTheEndOfItsKeys) {
    for (const bool interrupt : {true, false}) {
        TemporaryCurrentDirectory directory;
        FerrowProcess ferrow(directory.path());
        ASSERT_TRUE(ferrow.waitForOutput("Press <ESC> to stop scan\n"));
        interrupt ? ferrow.signal(SIGINT) : ferrow.endKeys();

        ASSERT_EQ(ferrow.waitForExit(), 0) << interrupt;
        EXPECT_EQ(ferrow.output(),
                  std::string(banner) + "Connecting to 0\nPress <ESC> to stop scan\n");
        EXPECT_TRUE(std::filesystem::exists("Data.bin.bin") &&
                    std::filesystem::exists("Data.bin.csv"));
        EXPECT_NE(errlogLines().find("ERROR: ERROR: Could not open configuration file FERROW.CFG. "
                                     "Using defaults\n"),
                  std::string::npos);
    }
}

} // namespace
