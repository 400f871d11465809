#include "log/errlog.h"
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

TEST_F(Logs, TextLogKeepsTheModulesBytesExactlyAndASecondOpenEndsTheFirstFile) {
    const std::string bytes("STATUS: READY\r\nbare\n\0end", 25);
    textLog.open("first.log");
    for (const char byte : bytes) {
        textLog.logByte(byte);
    }
    textLog.open("second.log");
    textLog.logByte('B');
    textLog.close();

    EXPECT_EQ(readFile("first.log"), bytes);
    EXPECT_EQ(readFile("second.log"), "B");
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file first.log\nOpening log file second.log\nClosing log file\n");
}

TEST_F(Logs, TextLogThatCannotOpenOrWriteSaysSoOnceAndEnds) {
    textLog.close();
    EXPECT_EQ(outputs.takeConsole(), "");

    textLog.open("no/such/dir/x.log");
    textLog.logByte('A');
    textLog.close();
    EXPECT_FALSE(textLog.isOpen());
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file no/such/dir/x.log\nCannot open log file no/such/dir/x.log\n");

    textLog.open("/dev/full");
    for (int i = 0; i < 100000; ++i) {
        textLog.logByte('x');
    }
    textLog.close();
    EXPECT_FALSE(textLog.isOpen());
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file /dev/full\nERROR: Could not write to file /dev/full\n");
}

} // namespace
