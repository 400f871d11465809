// ferrow end to end: the real program against a module stand-in on loopback, keys piped in.
#include "log/message.h"
#include "support/ferrow_process.h"
#include "support/ferrow_test_support.h"
#include "support/module_standin.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <regex>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct FerrowRun : ::testing::Test {
    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    int udpPort = freeUdpPort();

    void writeConfig(int frames) {
        writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET FPS " +
                                    std::to_string(frames) + "\r\nSET BFILENAME cap.bin\r\n" +
                                    "SET UDPPORT " + std::to_string(udpPort) + "\r\n");
    }
    std::string frames(std::initializer_list<std::uint32_t> numbers) const {
        std::string bytes;
        for (const std::uint32_t number : numbers) {
            bytes += vornFrame(number);
        }
        return bytes;
    }
    void sendFrames(std::initializer_list<std::uint32_t> numbers) {
        for (const std::uint32_t number : numbers) {
            module.sendDatagram(udpPort, vornFrame(number));
        }
    }
    // The CSV line printf gives for a VORN frame: "%ld", then ",%f," per value.
    static std::string csvLine(std::uint32_t number) {
        const std::string frame = vornFrame(number);
        std::string line = std::to_string(number);
        for (std::size_t channel = 0; channel < 16; ++channel) {
            float value = 0;
            std::memcpy(&value, frame.data() + 8 + 4 * channel, sizeof value);
            line += message(",%f,", static_cast<double>(value));
        }
        return line + "\r\n";
    }
    std::string startOfOutput() const {
        return "FERROW Version 0.90a\nConnecting to " + module.address() +
               "\nPress <ESC> to stop scan\n";
    }
    // ERRLOG.TXT without its time stamps (and the granted buffer size, which the system picks).
    static std::string errlogWithoutTimes() {
        const std::string stamped = readFile("ERRLOG.TXT");
        const std::string plain =
            std::regex_replace(stamped, std::regex(", [0-9]+/[0-9]+/[0-9]+ ,[0-9:.]+, "), ": ");
        return std::regex_replace(plain, std::regex("buffer of [0-9]+ bytes\r\n\r\nEVENT: Open"),
                                  "buffer of N bytes\r\n\r\nEVENT: Open");
    }
    std::string startOfErrlog(int frames) const {
        const std::string fps = std::to_string(frames);
        const std::string port = std::to_string(udpPort);
        return "EVENT: FERROW Version 0.90a\r\n" +
               events({"Reading FERROW", "Ferrow Init command SET IPADDR " + module.address(),
                       "Ferrow Init command SET FPS " + fps,
                       "Ferrow Init command SET BFILENAME cap.bin",
                       "Ferrow Init command SET UDPPORT " + port,
                       "Connecting to " + module.address(), "UDP receive buffer of N bytes",
                       "Opening udp server on port " + port, "Connected",
                       "Opening binary file cap.bin", "Numframes " + fps,
                       "Allocating " + std::to_string(114 * frames) + " bytes of memory for " +
                           fps + " frames of data"});
    }
    // EVENT records without time stamps.
    static std::string events(std::initializer_list<std::string> texts) {
        std::string records;
        for (const std::string& text : texts) {
            records += "EVENT: " + text + "\r\n\r\n";
        }
        return records;
    }
};

TEST_F(FerrowRun, CapturesFramesWithAGapIntoBinaryFileCsvAndErrlog) {
    writeConfig(6);
    FerrowProcess ferrow(directory.path());
    ASSERT_TRUE(module.waitForReceived("SCAN\r"));
    module.sendText("STATUS: SCAN\r\n\x01");
    ASSERT_TRUE(ferrow.waitForOutput("Found binary packet\n"));
    sendFrames({0, 1, 2, 4, 5, 6});

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_EQ(module.received(), "SCAN\r");
    EXPECT_EQ(readFile("cap.bin"), frames({0, 1, 2, 4, 5, 6}));
    EXPECT_EQ(readFile("cap.csv"), csvLine(0) + csvLine(1) + csvLine(2) + csvLine(5) + csvLine(6));
    EXPECT_EQ(ferrow.output(), startOfOutput() + "STATUS: SCAN\r\nFound binary packet\n"
                                                 "Read 1\nRead 2\nRead 3\nRead 4\nRead 5\nRead 6\n"
                                                 "Completed data read\n");
    EXPECT_EQ(
        errlogWithoutTimes(),
        startOfErrlog(6) +
            events({"Read 1", "Read 2", "Read 3", "Read 4", "Read 5", "Read 6",
                    "Completed data read", "Closing binary file",
                    "Flushing buffer of 624 bytes to file", "Completed write of 624 bytes to file",
                    "Opening text output file cap.csv", "Opening binary input file cap.bin",
                    "VORN Converting 16 channels with 104 bytes frame size"}) +
            "ERROR: ERROR: Missed frame, expecting frame 3 read frame 4\r\n\r\n" +
            events({"Converted 7 frames of VORN data. Missed 1 frames"}));
}

TEST_F(FerrowRun, EscCancelsTheScanAndKeepsWhatWasCaptured) {
    writeConfig(30); // a progress line every 3 frames
    FerrowProcess ferrow(directory.path());
    ASSERT_TRUE(module.waitForReceived("SCAN\r"));
    sendFrames({0, 1, 2});
    ASSERT_TRUE(ferrow.waitForOutput("Read 3\n"));
    ferrow.type("\x1b");

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_TRUE(module.waitForReceived("SCAN\r\x1b"));
    EXPECT_EQ(readFile("cap.bin"), frames({0, 1, 2}));
    EXPECT_EQ(readFile("cap.csv"), csvLine(0) + csvLine(1) + csvLine(2));
    EXPECT_EQ(ferrow.output(), startOfOutput() + "Read 3\n\x1b");
    const std::string log = errlogWithoutTimes();
    EXPECT_NE(log.find(events({"Read 3", "Scan cancelled", "Closing binary file",
                               "Flushing buffer of 312 bytes to file"})),
              std::string::npos)
        << log;
}

TEST_F(FerrowRun, CtrlBracketEntersLocalModeWhereListAndQuitWork) {
    writeConfig(5);
    FerrowProcess ferrow(directory.path());
    ASSERT_TRUE(module.waitForReceived("SCAN\r"));
    ferrow.type("\x1dLIST\rQUIT\r");

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_EQ(module.received(), "SCAN\r");
    EXPECT_EQ(ferrow.output(), startOfOutput() + "\x1d\nLOCAL>LIST\r\n" +
                                   "SET VORN 16\nSET NUMFRAMES 5\nSET BRCV 1\nSET ECHO 1\n"
                                   "SET IP " +
                                   module.address() +
                                   "\nSET BFILE cap\nSET AFILE Data.log\n"
                                   "SET UDPPORT " +
                                   std::to_string(udpPort) + "\n\n\nLOCAL>QUIT\r\n");
    EXPECT_EQ(readFile("cap.bin"), "");
    EXPECT_EQ(readFile("cap.csv"), "");
}

TEST_F(FerrowRun, SigtermMidCaptureStillWritesAndConvertsTheCapture) {
    writeConfig(30);
    FerrowProcess ferrow(directory.path());
    // No keys at all: the end of input must not end the capture.
    ferrow.endKeys();
    ASSERT_TRUE(module.waitForReceived("SCAN\r"));
    sendFrames({0, 1, 2});
    ASSERT_TRUE(ferrow.waitForOutput("Read 3\n"));
    ferrow.signal(SIGTERM);

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_EQ(readFile("cap.bin"), frames({0, 1, 2}));
    EXPECT_EQ(readFile("cap.csv"), csvLine(0) + csvLine(1) + csvLine(2));
}

TEST(FerrowWithoutModule, RunsOnDefaultsUntilInterruptedAndWritesItsEmptyFiles) {
    TemporaryCurrentDirectory directory;
    FerrowProcess ferrow(directory.path());
    ASSERT_TRUE(ferrow.waitForOutput("Press <ESC> to stop scan\n"));
    ferrow.signal(SIGINT);

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_EQ(ferrow.output(), "FERROW Version 0.90a\nConnecting to 0\nPress <ESC> to stop scan\n");
    EXPECT_EQ(readFile("Data.bin.bin"), "");
    EXPECT_EQ(readFile("Data.bin.csv"), "");
    EXPECT_NE(
        readFile("ERRLOG.TXT")
            .find(", ERROR: Could not open configuration file FERROW.CFG. Using defaults\r\n"),
        std::string::npos);
}

TEST(FerrowWithoutModule, EndsByItselfWhenNoKeyCanComeAndNoLinkIsLeft) {
    TemporaryCurrentDirectory directory;
    FerrowProcess ferrow(directory.path());
    ferrow.endKeys();

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_EQ(ferrow.output(), "FERROW Version 0.90a\nConnecting to 0\nPress <ESC> to stop scan\n");
    EXPECT_EQ(readFile("Data.bin.bin"), "");
    EXPECT_EQ(readFile("Data.bin.csv"), "");
}

} // namespace
