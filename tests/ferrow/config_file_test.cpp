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
};

TEST_F(ConfigFile, ProgressIntervalFollowsTheFrameCountHeldAfterEachFpsLine) {
    const struct {
        const char* lines;
        int frames;
        int interval;
    } cases[] = {
        {"SET FPS 5\n", 5, 1},
        {"SET FPS 2500\r\n", 2500, 250},
        {"SET FPS 250\nSET FPS 0\n", 250, 25}, // a refused count keeps the one held
        {"set fps\n", 100, 10},
    };
    for (const auto& c : cases) {
        settings = {};
        read(c.lines);
        EXPECT_EQ(settings.frameCount, c.frames) << c.lines;
        EXPECT_EQ(settings.progressInterval, c.interval) << c.lines;
    }
}

TEST_F(ConfigFile, CaptureFileNameKeepsItsDirectoriesAndSpacesAndLosesOnlyItsExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"SET BFILENAME C:\\My Data\\run.bin  \r\n", "C:\\My Data\\run"},
        {"SET BFILENAME C:\\old.2\\run\n", "C:\\old.2\\run"},
        {"SET BFILENAME /data/run.2024.bin\n", "/data/run.2024"},
    };
    for (const auto& [line, baseName] : cases) {
        read(line);
        EXPECT_EQ(settings.binaryBaseName, baseName);
    }
}

TEST_F(ConfigFile, BadLinesEachGiveOneErrorAndReadingGoesOn) {
    read("\r\nSCAN\r\nSET\r\nSET IP 10.0.0.5\r\nSET BFILENAME\r\nSET FPS 7");

    EXPECT_EQ(settings.frameCount, 7);
    EXPECT_EQ(settings.moduleAddress, "0");
    EXPECT_EQ(settings.binaryBaseName, "Data.bin");
    EXPECT_EQ(errlogLines(), "EVENT: Ferrow Init command \n"
                             "ERROR: ERROR: Invalid command in FERROW.CFG\n"
                             "EVENT: Ferrow Init command SCAN\n"
                             "ERROR: ERROR: Invalid command in FERROW.CFG\n"
                             "EVENT: Ferrow Init command SET\n"
                             "ERROR: ERROR: Set argument not found\n"
                             "EVENT: Ferrow Init command SET IP 10.0.0.5\n"
                             "ERROR: ERROR: Set argument invalid\n"
                             "EVENT: Ferrow Init command SET BFILENAME\n"
                             "EVENT: Ferrow Init command SET FPS 7\n");
    EXPECT_EQ(outputs.takeConsole(), "ERROR: BFILE value not found\n");
}

TEST_F(ConfigFile, LongLinesAreHandledIn254CharacterPiecesAndNulBytesDoNoHarm) {
    const std::string line = "SET BFILENAME " + std::string(300, 'x');
    read(line + "\n" + std::string("SET FPS 9\0 1\n", 13));

    EXPECT_EQ(settings.binaryBaseName, line.substr(14, 240));
    EXPECT_EQ(settings.frameCount, 9);
    EXPECT_EQ(errlogLines(), "EVENT: Ferrow Init command " + line.substr(0, 254) +
                                 "\nEVENT: Ferrow Init command " + std::string(60, 'x') +
                                 "\nERROR: ERROR: Invalid command in FERROW.CFG\n"
                                 "EVENT: Ferrow Init command " +
                                 std::string("SET FPS 9\0 1\n", 13));
}

} // namespace
