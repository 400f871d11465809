#include "log/errlog.h"
#include "log/textlog.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace ferrow;
using namespace ferrow::test;

TEST(ErrorLog, RecordCarriesKindTimeStampWithoutLeadingZerosAndCrLfLineEnds) {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    outputs.log.event("Connected\n");
    outputs.log.error("ERROR: bind() failed with error 98\n");
    outputs.log.event("FERROW Version 0.90a");

    EXPECT_EQ(outputs.errlog(),
              "EVENT, 3/3/2005 ,14:5:9.42, Connected\r\n\r\n"
              "ERROR, 3/3/2005 ,14:5:9.42, ERROR: bind() failed with error 98\r\n\r\n"
              "EVENT, 3/3/2005 ,14:5:9.42, FERROW Version 0.90a\r\n");
    EXPECT_EQ(outputs.takeConsole(), "");
    EXPECT_EQ(formatTimeStamp({2026, 12, 31, 23, 59, 58, 999}), ", 12/31/2026 ,23:59:58.999");
    EXPECT_EQ(formatTimeStamp({2005, 1, 2, 0, 0, 0, 0}), ", 1/2/2005 ,0:0:0.0");
}

TEST(ErrorLog, SecondRunAppendsToTheSameFile) {
    TemporaryCurrentDirectory directory;
    {
        CapturedOutputs firstRun;
        firstRun.log.event("Reading FERROW\n");
    }
    CapturedOutputs secondRun;
    secondRun.log.event("Scan cancelled\n");

    EXPECT_EQ(secondRun.errlog(),
              logRecord("EVENT", "Reading FERROW\n") + logRecord("EVENT", "Scan cancelled\n"));
}

TEST(ErrorLog, UnwritableFileIsReportedOnceWithoutWaitingForAKey) {
    TemporaryCurrentDirectory directory;
    std::filesystem::create_directory("ERRLOG.TXT");
    CapturedOutputs outputs;
    outputs.log.event("Connected\n");
    outputs.log.error("Cannot open file x\n");

    EXPECT_EQ(outputs.takeConsole(), "ERROR: Could not open to ERRLOG.TXT file\n");
}

TEST(TextLog, KeepsTheModulesBytesExactlyAndASecondOpenKeepsTheFirstFile) {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    TextLog log(outputs.console);
    const std::string bytes("STATUS: READY\r\nbare\n\0end", 25);
    log.open("first.log");
    for (const char byte : bytes) {
        log.logByte(byte);
    }
    log.open("second.log");
    log.logByte('B');
    log.close();

    EXPECT_EQ(readFile("first.log"), bytes);
    EXPECT_EQ(readFile("second.log"), "B");
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file first.log\nOpening log file second.log\nClosing log file\n");
}

TEST(TextLog, CloseWithoutAnOpenLogPrintsNothingAndAFailedOpenLeavesItClosed) {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    TextLog log(outputs.console);
    log.close();
    EXPECT_EQ(outputs.takeConsole(), "");

    log.open("no/such/dir/x.log");
    log.logByte('A');
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file no/such/dir/x.log\nCannot open log file no/such/dir/x.log\n");
}

TEST(TextLog, AFailingWriteIsReportedOnceAndEndsTheLog) {
    CapturedOutputs outputs;
    TextLog log(outputs.console);
    log.open("/dev/full");
    for (int i = 0; i < 100000; ++i) {
        log.logByte('x');
    }
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file /dev/full\nERROR: Could not write to file /dev/full\n");
}

} // namespace
