#include "convert/converter.h"
#include "convert/fixed_format.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

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

// A channel count the type cannot have, a missing input, an output that cannot be opened or is
// the capture itself (opening it would empty it), a failed write or read: false, with one ERROR
// as the last record, and neither the capture nor an older output touched.
TEST_F(Converter, FailuresAreReportedOnceAndLeaveTheCaptureAndAnOlderOutputAlone) {
    const std::string capture = records(hkq16, {0});
    writeFile("in.bin", capture);
    fs::create_directory("folder.bin");
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"HKQ", 48, "in.bin", "out.txt"},         {"PXT", 0, "in.bin", "out.txt"},
        {"WGN", 513, "in.bin", "out.txt"},        {"HKQ", 16, "missing.bin", "out.txt"},
        {"HKQ", 16, "in.bin", "no/such/dir.txt"}, {"HKQ", 16, "in.bin", "./in.bin"},
        {"HKQ", 16, "in.bin", "/dev/full"},       {"HKQ", 16, "folder.bin", "new.txt"}};
    for (const auto& [type, channels, input, output] : cases) {
        writeFile("out.txt", "older output");
        fs::remove("ERRLOG.TXT");
        EXPECT_FALSE(convert(ConversionForm::Text, type, channels, input, output)) << output;
        const std::string log = errlogLines();
        const std::size_t error = log.find("\nERROR: ");
        EXPECT_TRUE(error != std::string::npos && log.find('\n', error + 1) == log.size() - 1)
            << log;
        EXPECT_EQ(readFile("in.bin"), capture);
        EXPECT_EQ(readFile("out.txt"), "older output");
    }
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

// printf's "%f" is the reference. Stops after the first few mismatches so that a broken
// formatter does not flood the output.
class PrintfComparison {
public:
    void check(float value) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
        char text[ferrow::maxFixedLength];
        const std::string actual(text, ferrow::formatFixed6(text, value));
        if (mismatches_ < 10 && actual != expected) {
            ++mismatches_;
            ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value)
                          << ": got " << actual << ", printf gives " << expected;
        }
    }

private:
    int mismatches_ = 0;
};

// Exact halves round to even; the extremes, NaNs and infinities come out as printf writes them.
TEST(FixedFormat, MatchesPrintfOnHalvesAndExtremes) {
    PrintfComparison comparison;
    for (int odd = 1; odd < (1 << 20); odd += 2) {
        comparison.check(static_cast<float>(odd) / 128);
        comparison.check(-static_cast<float>(odd) / 256);
    }
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (float value :
         {0.0f, 1e-9f, 0.1f, 16777216.0f, 0x1p62f / 1e6f, 0x1p62f, 4.6116860e12f, 4.6116865e12f,
          9.2e18f, 1e38f, std::numeric_limits<float>::max(),
          std::numeric_limits<float>::denorm_min(), infinity,
          std::numeric_limits<float>::quiet_NaN(), std::bit_cast<float>(0x7f800001U)}) {
        for (const float near :
             {value, std::nextafter(value, 0.0f), std::nextafter(value, infinity)}) {
            comparison.check(near);
            comparison.check(-near);
        }
    }
}

TEST(FixedFormat, MatchesPrintfAcrossAllFloatRanges) {
    PrintfComparison comparison;
    // A stride through every bit pattern reaches each exponent, both signs, NaNs and infinities.
    for (std::uint64_t bits = 0; bits <= 0xffffffffU; bits += 4099) {
        comparison.check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    }
    std::mt19937 generator(20261206);
    std::uniform_real_distribution<float> pressures(-2000.0f, 2000.0f);
    std::uniform_int_distribution<std::uint32_t> patterns;
    for (int i = 0; i < 300000; ++i) {
        comparison.check(pressures(generator));
        comparison.check(std::bit_cast<float>(patterns(generator)));
    }
}

} // namespace
