#include "console/config_file.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct ConfigFile : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;

    void read(const std::string& contents) {
        std::istringstream input(contents);
        readConfig(input, settings, outputs.out);
    }
    static std::string initCommand(const std::string& line) {
        return logRecord("EVENT", "Ferrow Init command " + line + "\n");
    }
};

TEST_F(ConfigFile, TheThreeLinesTolvaneWritesSetAddressFramesAndBaseName) {
    read("SET IPADDR 10.0.0.5\r\nSET FPS 2500\r\nSET BFILENAME test.dat\r\n");

    EXPECT_EQ(settings.moduleAddress, "10.0.0.5");
    EXPECT_EQ(settings.frameCount, 2500);
    EXPECT_EQ(settings.progressInterval, 250);
    EXPECT_EQ(settings.binaryBaseName, "test");
    EXPECT_EQ(outputs.errlog(), initCommand("SET IPADDR 10.0.0.5") + initCommand("SET FPS 2500") +
                                    initCommand("SET BFILENAME test.dat"));
    EXPECT_EQ(outputs.takeConsole(), "");
}

TEST_F(ConfigFile, ProgressIntervalFollowsTheFrameCountHeldAfterEachFpsLine) {
    read("SET FPS 5\n");
    EXPECT_EQ(settings.frameCount, 5);
    EXPECT_EQ(settings.progressInterval, 1);

    read("SET FPS 11\n");
    EXPECT_EQ(settings.progressInterval, 1);

    Settings fresh;
    settings = fresh;
    read("SET FPS 0\n");
    EXPECT_EQ(settings.frameCount, 100);
    EXPECT_EQ(settings.progressInterval, 10);

    settings = fresh;
    read("set fps\n");
    EXPECT_EQ(settings.frameCount, 100);
    EXPECT_EQ(settings.progressInterval, 10);
    EXPECT_EQ(outputs.errlog(),
              initCommand("SET FPS 5") + initCommand("SET FPS 11") + initCommand("SET FPS 0") +
                  logRecord("ERROR", "ERROR: Number of frames cannot be lower than 1\n") +
                  initCommand("set fps") +
                  logRecord("ERROR", "ERROR: Number of frames value not found\n"));
}

TEST_F(ConfigFile, FileAcceptsIpaddrAndUdpportButNotTheLocalIpKey) {
    read("SET IP 10.0.0.5\nSETTING UDPPORT 5023\nSet IPADDRESS [::1]:2323\n");

    EXPECT_EQ(settings.moduleAddress, "[::1]:2323");
    EXPECT_EQ(settings.udpPort, 5023);
    EXPECT_EQ(outputs.errlog(),
              initCommand("SET IP 10.0.0.5") + logRecord("ERROR", "ERROR: Set argument invalid\n") +
                  initCommand("SETTING UDPPORT 5023") + initCommand("Set IPADDRESS [::1]:2323"));
}

TEST_F(ConfigFile, CaptureFileNameKeepsItsDirectoriesAndSpacesAndLosesOnlyItsExtension) {
    read("SET BFILENAME C:\\My Data\\run.bin  \r\n");
    EXPECT_EQ(settings.binaryBaseName, "C:\\My Data\\run");

    read("SET BFILENAME C:\\old.2\\run\n");
    EXPECT_EQ(settings.binaryBaseName, "C:\\old.2\\run");

    read("SET BFILENAME /data/run.2024.bin\n");
    EXPECT_EQ(settings.binaryBaseName, "/data/run.2024");
}

TEST_F(ConfigFile, BadLinesEachGiveOneErrorAndReadingGoesOn) {
    read("\r\nSCAN\r\nSET\r\nSET COLOUR red\r\nSET BFILENAME\r\nSET FPS 7");

    EXPECT_EQ(settings.frameCount, 7);
    EXPECT_EQ(settings.binaryBaseName, "Data.bin");
    EXPECT_EQ(
        outputs.errlog(),
        initCommand("") + logRecord("ERROR", "ERROR: Invalid command in FERROW.CFG\n") +
            initCommand("SCAN") + logRecord("ERROR", "ERROR: Invalid command in FERROW.CFG\n") +
            initCommand("SET") + logRecord("ERROR", "ERROR: Set argument not found\n") +
            initCommand("SET COLOUR red") + logRecord("ERROR", "ERROR: Set argument invalid\n") +
            initCommand("SET BFILENAME") + initCommand("SET FPS 7"));
    EXPECT_EQ(outputs.takeConsole(), "ERROR: BFILE value not found\n");
}

TEST_F(ConfigFile, LongLinesAreHandledIn254CharacterPiecesAndNulBytesDoNoHarm) {
    const std::string longName(300, 'x');
    read("SET BFILENAME " + longName + "\n" + std::string("SET FPS 9\0 1\n", 13));

    // The first 254 characters make one line, the rest another.
    const std::string first = ("SET BFILENAME " + longName).substr(0, 254);
    EXPECT_EQ(settings.binaryBaseName, first.substr(14));
    EXPECT_EQ(settings.frameCount, 9);
    EXPECT_EQ(outputs.errlog(), initCommand(first) + initCommand(std::string(60, 'x')) +
                                    logRecord("ERROR", "ERROR: Invalid command in FERROW.CFG\n") +
                                    initCommand(std::string("SET FPS 9\0 1", 12)));
}

TEST_F(ConfigFile, MissingFileKeepsTheDefaults) {
    loadConfigFile("FERROW.CFG", settings, outputs.out);

    EXPECT_EQ(settings.frameCount, 100);
    EXPECT_EQ(settings.binaryBaseName, "Data.bin");
    EXPECT_EQ(outputs.errlog(),
              logRecord("ERROR",
                        "ERROR: Could not open configuration file FERROW.CFG. Using defaults\n"));
}

} // namespace
