#include "console/interpreter.h"
#include "console/line_editor.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/textlog.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct LocalCommands : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    ModuleLink link{outputs.out, settings};
    Capture capture{outputs.out, settings};
    TextLog textLog{outputs.console};
    Mode mode = Mode::Local;
    Interpreter interpreter{settings, outputs.out, link, capture, textLog, mode};

    // Runs a typed line and returns what it printed.
    std::string type(const std::string& line) {
        interpreter.run(line + "\r");
        return outputs.takeConsole();
    }
};

constexpr const char* defaultBlock = "SET VORN 16\n"
                                     "SET NUMFRAMES 100\n"
                                     "SET BRCV 1000\n"
                                     "SET ECHO 1\n"
                                     "SET IP 0\n"
                                     "SET BFILE Data.bin\n"
                                     "SET AFILE Data.log\n"
                                     "SET UDPPORT 23\n";

TEST_F(LocalCommands, CommandWordsMatchByPrefixWithoutRegardToCase) {
    EXPECT_EQ(type("QUI"), "ERROR: Invalid command\n");
    EXPECT_EQ(mode, Mode::Local);
    for (const char* quit : {"quit", "Quit", "QUITTING now"}) {
        mode = Mode::Local;
        EXPECT_EQ(type(quit), "");
        EXPECT_EQ(mode, Mode::Quit) << quit;
    }
    EXPECT_EQ(type("LISTALL"), std::string(defaultBlock) + "\n");
    EXPECT_EQ(type("help"), "");
}

TEST_F(LocalCommands, EveryTypedLineIsLoggedAsTypedAndAnEmptyLineDoesNothing) {
    EXPECT_EQ(type(""), "");
    EXPECT_EQ(type("  "), "ERROR: Invalid command\n");
    EXPECT_EQ(outputs.errlog(),
              logRecord("EVENT", "COMMAND IS \r\n") + logRecord("EVENT", "COMMAND IS   \r\n"));
}

TEST_F(LocalCommands, FrameTypeKeysSetTypeAndCheckChannelCounts) {
    EXPECT_EQ(type("SET PXT 64"), "");
    EXPECT_EQ(type("SET HKQ 48"), "ERROR: Channel must be 16, 32 or 64\n");
    EXPECT_EQ(settings.frameType, "HKQ");
    EXPECT_EQ(settings.channelCount, 64);
    EXPECT_EQ(type("SET HKQ"), "ERROR: Channel value not found\n");
    EXPECT_EQ(type("SET HKQ 32"), "");
    EXPECT_EQ(settings.channelCount, 32);
    EXPECT_EQ(type("SET VORN 64"), "");
    EXPECT_EQ(settings.frameType, "VORN");
    EXPECT_EQ(settings.channelCount, 16);
    EXPECT_EQ(type("SET WGN 0"), "ERROR: Channel cannot be lower than 1\n");
    EXPECT_EQ(settings.frameType, "WGN");
    EXPECT_EQ(type("SET wgn 513"), "ERROR: Channel cannot be higher than 512\n");
    EXPECT_EQ(type("SET PXT many"), "ERROR: Channel value not found\n");
    EXPECT_EQ(settings.frameType, "PXT");
    EXPECT_EQ(type("SET PXT 512"), "");
    EXPECT_EQ(settings.channelCount, 512);
}

TEST_F(LocalCommands, NumframesRefusalsGoToTheErrorLogAndKeepTheCount) {
    EXPECT_EQ(type("SET NUMFRAMES"), "");
    EXPECT_EQ(type("SET NUMFRAMES lots"), "");
    EXPECT_EQ(type("SET NUMFRAMES -3"), "");
    EXPECT_EQ(type("SET NUMFRAMES 99999999999"), "");
    EXPECT_EQ(settings.frameCount, 2147483647);
    EXPECT_EQ(type("SET NUMFRAMES 250"), "");
    EXPECT_EQ(settings.frameCount, 250);
    // The local SET leaves the progress interval alone; only FERROW.CFG's FPS sets it.
    EXPECT_EQ(settings.progressInterval, 1000);
    EXPECT_EQ(outputs.errlog(),
              logRecord("EVENT", "COMMAND IS SET NUMFRAMES\r\n") +
                  logRecord("ERROR", "ERROR: Number of frames value not found\n") +
                  logRecord("EVENT", "COMMAND IS SET NUMFRAMES lots\r\n") +
                  logRecord("ERROR", "ERROR: Number of frames size value not found\n") +
                  logRecord("EVENT", "COMMAND IS SET NUMFRAMES -3\r\n") +
                  logRecord("ERROR", "ERROR: Number of frames cannot be lower than 1\n") +
                  logRecord("EVENT", "COMMAND IS SET NUMFRAMES 99999999999\r\n") +
                  logRecord("EVENT", "COMMAND IS SET NUMFRAMES 250\r\n"));
}

TEST_F(LocalCommands, NumberAndWordKeysReportTheirOwnMissingValues) {
    EXPECT_EQ(type("SET BRCV"), "ERROR: Binary Receiver status update value not found\n");
    EXPECT_EQ(type("SET BRCV x"), "ERROR: Binary receiver status upadte value not found\n");
    EXPECT_EQ(type("SET BRCV 0"), "");
    EXPECT_EQ(settings.progressInterval, 0);
    EXPECT_EQ(type("SET ECHO"), "ERROR: Echo value not found\n");
    EXPECT_EQ(type("SET ECHO off"), "ERROR: Echo value not found\n");
    EXPECT_EQ(type("SET ECHO 0"), "");
    EXPECT_EQ(settings.echo, 0);
    EXPECT_EQ(type("SET IP"), "ERROR: IP value not found\n");
    EXPECT_EQ(type("SET IPADDR 10.0.0.5:2323"), "");
    EXPECT_EQ(settings.moduleAddress, "10.0.0.5:2323");
    EXPECT_EQ(type("SET BFILE"), "ERROR: BFILE value not found\n");
    EXPECT_EQ(type("SET BFILENAME run1.bin"), "");
    EXPECT_EQ(settings.binaryBaseName, "run1");
    EXPECT_EQ(type("SET AFILE"), "ERROR: AFILE value not found\n");
    EXPECT_EQ(type("SET AFILE scan.log"), "");
    EXPECT_EQ(settings.textLogName, "scan.log");
    EXPECT_EQ(type("SET UDPPORT"), "ERROR: UDP PORT value not found\n");
    EXPECT_EQ(type("SET UDPPORT none"), "ERROR: UDP PORT value not found\n");
    EXPECT_EQ(type("SET UDPPORT 5023"), "");
    EXPECT_EQ(settings.udpPort, 5023);
    EXPECT_EQ(type("SET"), "ERROR: Set argument not found\n");
    EXPECT_EQ(type("SET FPS 10"), "ERROR: Set argument invalid\n");
    EXPECT_EQ(type("LIST"), "SET VORN 16\nSET NUMFRAMES 100\nSET BRCV 0\nSET ECHO 0\n"
                            "SET IP 10.0.0.5:2323\nSET BFILE run1\nSET AFILE scan.log\n"
                            "SET UDPPORT 5023\n\n");
}

TEST_F(LocalCommands, SaveWritesTheSettingsBlockWithCrLfLineEnds) {
    type("SET HKQ 64");
    EXPECT_EQ(type("SAVE"), "");
    EXPECT_EQ(readFile("CONFIG.TXT"), "SET HKQ 64\r\nSET NUMFRAMES 100\r\nSET BRCV 1000\r\n"
                                      "SET ECHO 1\r\nSET IP 0\r\nSET BFILE Data.bin\r\n"
                                      "SET AFILE Data.log\r\nSET UDPPORT 23\r\n");
}

TEST_F(LocalCommands, SaveThatCannotCreateItsFileSaysSo) {
    std::filesystem::create_directory("CONFIG.TXT");
    EXPECT_EQ(type("SAVE"), "ERROR: Could not write to file CONFIG.TXT\n");
}

TEST_F(LocalCommands, ToggleAndClosingsWithNothingOpenDoNothing) {
    EXPECT_EQ(type("TOGGLE"), "Got toggle\nERROR: Cannot enter pass through mode, not connected\n");
    EXPECT_EQ(mode, Mode::Local);
    EXPECT_EQ(type("CLOSE"), "");
    EXPECT_EQ(type("CBLOG"), "");
    EXPECT_EQ(type("CLOG"), "");
    EXPECT_EQ(outputs.errlog(), logRecord("EVENT", "COMMAND IS TOGGLE\r\n") +
                                    logRecord("EVENT", "COMMAND IS CLOSE\r\n") +
                                    logRecord("EVENT", "COMMAND IS CBLOG\r\n") +
                                    logRecord("EVENT", "COMMAND IS CLOG\r\n"));
}

TEST_F(LocalCommands, ConvertWhileRecordingWritesTheRecordingFirst) {
    type("SET NUMFRAMES 4");
    type("BLOG run1");
    const std::string frame(104, '\0');
    capture.store(std::as_bytes(std::span(frame)));
    type("CVT run1.txt run1");

    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(readFile("run1").size(), 104u);
    EXPECT_EQ(readFile("run1.txt"), "0 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 "
                                    "0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 "
                                    "0.000000 0.000000 0.000000 0.000000\r\n");
}

TEST_F(LocalCommands, LogOpensTheTextLogOnTheNamedOrDefaultFile) {
    EXPECT_EQ(type("LOG"), "Opening log file Data.log\n");
    EXPECT_TRUE(textLog.isOpen());
    EXPECT_EQ(type("CLOG"), "Closing log file\n");
    EXPECT_EQ(type("LOG other.log"), "Opening log file other.log\n");
    EXPECT_TRUE(std::filesystem::exists("other.log"));
}

struct LineEditing : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    LineEditor editor;

    std::optional<std::string> typeKeys(std::string_view keys) {
        std::optional<std::string> line;
        for (const char key : keys) {
            line = editor.key(static_cast<unsigned char>(key), outputs.out);
        }
        return line;
    }
};

TEST_F(LineEditing, EnterEndsTheLineBackspaceErasesCtrlBracketTogglesAndTheRoomIsBounded) {
    EXPECT_EQ(typeKeys("\bLISX\bT\r"), "LIST\r");
    EXPECT_EQ(outputs.takeConsole(), "LISX\b \bT\r\n");
    EXPECT_EQ(typeKeys("SE\x1d"), "TOGGLE\r");
    EXPECT_EQ(outputs.takeConsole(), "SE\n");
    EXPECT_EQ(typeKeys("\r"), "\r");

    const auto line = typeKeys(std::string(300, 'A') + "\r");
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, std::string(254, 'A') + "\r");
    EXPECT_EQ(outputs.takeConsole(), "\r\n" + std::string(254, 'A') + "\r\n");
}

} // namespace
