#include "log/textlog.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct Logs : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    TextLog textLog{outputs.console};
};

TEST_F(Logs, ErrlogRecordCarriesKindTimeStampWithoutLeadingZerosAndCrLfLineEnds) {
    outputs.log.event("Connected\n");
    outputs.log.error("ERROR: bind() failed with error 98\n");
    outputs.log.event("FERROW Version 0.90a");

    EXPECT_EQ(readFile("ERRLOG.TXT"),
              "EVENT, 3/3/2005 ,14:5:9.42, Connected\r\n\r\n"
              "ERROR, 3/3/2005 ,14:5:9.42, ERROR: bind() failed with error 98\r\n\r\n"
              "EVENT, 3/3/2005 ,14:5:9.42, FERROW Version 0.90a\r\n");
    EXPECT_EQ(outputs.takeConsole(), "");
    EXPECT_EQ(formatTimeStamp({2026, 12, 31, 23, 59, 58, 999}), ", 12/31/2026 ,23:59:58.999");
}

TEST_F(Logs, UnwritableErrlogIsReportedOnceWithoutWaitingForAKey) {
    std::filesystem::create_directory("ERRLOG.TXT");
    outputs.log.event("Connected\n");
    outputs.log.error("Cannot open file x\n");

    EXPECT_EQ(outputs.takeConsole(), "ERROR: Could not open to ERRLOG.TXT file\n");
}

// The module's bytes exactly; a second open ends the first file; a file that cannot be opened
// or written says so once and ends the log.
TEST_F(Logs, TextLogKeepsTheModulesBytesAndEndsOnceOnAFailure) {
    const std::string bytes("STATUS: READY\r\nbare\n\0end", 25);
    textLog.close(); // nothing open: nothing said
    for (const char* file : {"first.log", "second.log", "no/such/dir/x.log", "/dev/full"}) {
        textLog.open(file);
        for (int i = 0; i < 4000; ++i) { // 100 kB: past any buffer, so /dev/full fails
            for (const char byte : bytes) {
                textLog.logByte(byte);
            }
        }
    }
    textLog.close();
    EXPECT_FALSE(textLog.isOpen());

    std::string logged;
    for (int i = 0; i < 4000; ++i) {
        logged += bytes;
    }
    EXPECT_EQ(firstDifference(readFile("first.log"), logged), "");
    EXPECT_EQ(firstDifference(readFile("second.log"), logged), "");
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file first.log\nOpening log file second.log\n"
              "Opening log file no/such/dir/x.log\nCannot open log file no/such/dir/x.log\n"
              "Opening log file /dev/full\nERROR: Could not write to file /dev/full\n");
}

} // namespace
