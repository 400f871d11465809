#include "convert/converter.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace ferrow::test;
using ferrow::ConversionForm;

constexpr RecordShape hkq16{168, 8, 12, 18}; // one further value per eight channels
constexpr RecordShape hkq32{304, 8, 12, 36};
constexpr RecordShape hkq64{572, 8, 12, 72};
constexpr RecordShape plain4{28, 4, 12, 4}; // PXT and WGN with 4 channels

struct Converter : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;

    bool convert(ConversionForm form, const char* frameType, int channels,
                 const std::string& input = "in.bin", const std::string& output = "out.txt") {
        return ferrow::convertCapture({form, frameType, channels, input, output}, outputs.log);
    }
    static std::string opening(const std::string& output = "out.txt",
                               const std::string& input = "in.bin") {
        return "EVENT: Opening text output file " + output + "\nEVENT: Opening binary input file " +
               input + "\n";
    }
};

// The records that frame a conversion's report: the layout taken, then the counts.
std::string summary(const RecordShape& shape, const std::string& type, int channels, int converted,
                    int missed) {
    return "EVENT: " + (type == "PXT" ? "WGN" : type) + " Converting " + std::to_string(channels) +
           " channels with " + std::to_string(shape.size) + " bytes frame size\n" +
           "EVENT: Converted " + std::to_string(converted) + " frames of " + type +
           " data. Missed " + std::to_string(missed) + " frames\n";
}

// Both forms of every frame type against printf, and the count of converted frames (PXT numbers
// from 1, WGN counts one less than it writes). A short last record is left out and the output
// file is replaced.
TEST_F(Converter, EachFrameTypeWritesPrintfLinesInBothFormsAndCountsItsFrames) {
    const struct {
        RecordShape shape;
        const char* type;
        int channels;
        std::vector<std::uint32_t> frames;
        const char* csvSuffix;
        int converted;
    } cases[] = {
        {vornShape, "VORN", 16, {0, 1}, ",", 2},
        {hkq16, "HKQ", 16, {0, 1}, "", 2},
        {hkq32, "HKQ", 32, {0}, "", 1},
        {hkq64, "HKQ", 64, {0}, "", 1},
        {plain4, "PXT", 4, {1, 2}, "", 2},
        {plain4, "WGN", 4, {0, 1}, "", 1},
        {{2060, 4, 12, 512}, "WGN", 512, {}, "", -1},
    };
    for (const auto& c : cases) {
        const std::uint32_t next = c.frames.empty() ? 0 : c.frames.back() + 1;
        writeFile("in.bin", records(c.shape, c.frames) +
                                records(c.shape, {next}).substr(1)); // one byte short
        fs::remove("ERRLOG.TXT");
        writeFile("out.txt", "old contents");
        ASSERT_TRUE(convert(ConversionForm::Csv, c.type, c.channels)) << c.type << c.channels;
        EXPECT_EQ(readFile("out.txt"), printfLines(c.shape, c.frames, ",", c.csvSuffix));
        EXPECT_EQ(errlogLines(), opening() + summary(c.shape, c.type, c.channels, c.converted, 0));
        ASSERT_TRUE(convert(ConversionForm::Text, c.type, c.channels));
        EXPECT_EQ(readFile("out.txt"), printfLines(c.shape, c.frames, " "));
    }
}

// The record after a gap is reported and skipped; out-of-order numbers count as negative
// misses; numbers are unsigned and wrap; PXT expects to start at 1.
TEST_F(Converter, MissedFramesAreReportedAndTheFirstRecordAfterThemIsSkipped) {
    const struct {
        RecordShape shape;
        const char* type;
        int channels;
        std::vector<std::uint32_t> frames;
        std::vector<std::uint32_t> written;
        std::uint32_t expecting;
        std::uint32_t read;
        int converted;
        int missed;
    } cases[] = {
        {vornShape, "VORN", 16, {0, 1, 5, 6}, {0, 1, 6}, 2, 5, 7, 3},
        {vornShape, "VORN", 16, {0, 1, 2, 1, 2, 3}, {0, 1, 2, 2, 3}, 3, 1, 4, -2},
        {vornShape, "VORN", 16, {0xfffffffe, 0xffffffff, 0}, {0xffffffff, 0}, 0, 0xfffffffe, 1, -2},
        {plain4, "PXT", 4, {0, 1, 2}, {1, 2}, 1, 0, 2, -1},
        {hkq64, "HKQ", 64, {0, 1, 3}, {0, 1}, 2, 3, 4, 1},
    };
    for (const auto& c : cases) {
        writeFile("in.bin", records(c.shape, c.frames));
        fs::remove("ERRLOG.TXT");
        ASSERT_TRUE(convert(ConversionForm::Csv, c.type, c.channels)) << c.read;
        EXPECT_EQ(readFile("out.txt"),
                  printfLines(c.shape, c.written, ",", c.type == std::string("VORN") ? "," : ""));
        std::string log = summary(c.shape, c.type, c.channels, c.converted, c.missed);
        log.insert(log.find("EVENT: Converted"), "ERROR: ERROR: Missed frame, expecting frame " +
                                                     std::to_string(c.expecting) + " read frame " +
                                                     std::to_string(c.read) + "\n");
        EXPECT_EQ(errlogLines(), opening() + log) << c.read;
    }
}

TEST_F(Converter, RefusesAChannelCountTheFrameTypeCannotHaveAndKeepsTheOldOutput) {
    writeFile("in.bin", records(hkq16, {0}));
    writeFile("out.txt", "earlier conversion");
    EXPECT_FALSE(convert(ConversionForm::Csv, "HKQ", 48));
    EXPECT_FALSE(convert(ConversionForm::Text, "PXT", 0));
    EXPECT_FALSE(convert(ConversionForm::Csv, "WGN", 513));

    EXPECT_EQ(readFile("out.txt"), "earlier conversion");
    EXPECT_EQ(errlogLines(), opening() + "ERROR: ERROR: Channel must be 16, 32 or 64\n" +
                                 opening() + "ERROR: ERROR: Channel cannot be lower than 1\n" +
                                 opening() + "ERROR: ERROR: Channel cannot be higher than 512\n");
}

TEST_F(Converter, ReportsFilesThatCannotBeOpenedReadOrWritten) {
    EXPECT_FALSE(convert(ConversionForm::Csv, "VORN", 16, "missing.bin", "out.txt"));
    EXPECT_FALSE(fs::exists("out.txt"));

    writeFile("in.bin", records(vornShape, {0}));
    EXPECT_FALSE(convert(ConversionForm::Csv, "VORN", 16, "in.bin", "no/such/folder.txt"));
    // Converting a capture onto itself would empty it.
    EXPECT_FALSE(convert(ConversionForm::Text, "VORN", 16, "in.bin", "./in.bin"));
    EXPECT_EQ(readFile("in.bin"), records(vornShape, {0}));
    EXPECT_FALSE(convert(ConversionForm::Csv, "VORN", 16, "in.bin", "/dev/full"));
    fs::create_directory("folder.bin");
    EXPECT_FALSE(convert(ConversionForm::Csv, "VORN", 16, "folder.bin", "out.txt"));

    const std::string converting = "EVENT: VORN Converting 16 channels with 104 bytes frame size\n";
    EXPECT_EQ(errlogLines(),
              opening("out.txt", "missing.bin") + "ERROR: Cannot open input file missing.bin\n" +
                  opening("no/such/folder.txt") +
                  "ERROR: Could not open out file no/such/folder.txt\n" + opening("./in.bin") +
                  "ERROR: Could not open out file ./in.bin\n" + opening("/dev/full") + converting +
                  "ERROR: ERROR: Could not write to file /dev/full\n" +
                  opening("out.txt", "folder.bin") + converting +
                  "ERROR: ERROR: Could not read file folder.bin\n");
}

TEST_F(Converter, AfterARunConvertsBaseBinToBaseCsv) {
    writeFile("run1.bin", records(vornShape, {0}));
    ASSERT_TRUE(ferrow::convertAfterRun("VORN", 16, "run1", outputs.log));
    EXPECT_EQ(readFile("run1.csv"), printfLines(vornShape, {0}, ",", ","));
}

TEST_F(Converter, ConvertsRecordsSplitAcrossReadBlocks) {
    // Many read blocks of the odd-sized PXT records, with a gap deep inside.
    const RecordShape pxt3{24, 4, 12, 3};
    std::vector<std::uint32_t> frames;
    for (std::uint32_t frame = 1; frame <= 30000; ++frame) {
        if (frame != 20000) {
            frames.push_back(frame);
        }
    }
    writeFile("in.bin", records(pxt3, frames));
    ASSERT_TRUE(convert(ConversionForm::Csv, "PXT", 3));

    frames.erase(frames.begin() + 19999); // frame 20001 is dropped with the gap
    EXPECT_EQ(firstDifference(readFile("out.txt"), printfLines(pxt3, frames, ",")), "");
    EXPECT_EQ(errlogLines(), opening() +
                                 "EVENT: WGN Converting 3 channels with 24 bytes frame size\n"
                                 "ERROR: ERROR: Missed frame, expecting frame 20000 read "
                                 "frame 20001\n"
                                 "EVENT: Converted 30000 frames of PXT data. Missed 1 frames\n");
}

} // namespace
