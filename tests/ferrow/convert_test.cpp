#include "convert/converter.h"
#include "convert/fixed_format.h"
#include "support/ferrow_test_support.h"

#include <gmock/gmock.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace ferrow::test;
using ::testing::HasSubstr;
using Form = ferrow::ConversionForm;

constexpr RecordShape hkq16{168, 8, 12, 18}; // one further value per eight channels
constexpr RecordShape hkq64{572, 8, 12, 72};
constexpr RecordShape plain4{28, 4, 12, 4}; // PXT and WGN with 4 channels

struct Converter : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;

    bool convert(Form form, const char* type, int channels, const char* input = "in.bin",
                 const char* output = "out.txt") {
        fs::remove("ERRLOG.TXT");
        return ferrow::convertCapture({form, type, channels, input, output}, outputs.log);
    }
};

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
        {{304, 8, 12, 36}, "HKQ", 32, {0}, "", 1},
        {hkq64, "HKQ", 64, {0}, "", 1},
        {plain4, "PXT", 4, {1, 2}, "", 2},
        {plain4, "WGN", 4, {0, 1}, "", 1},
        {{2060, 4, 12, 512}, "WGN", 512, {}, "", -1},
    };
    for (const auto& c : cases) {
        const std::uint32_t next = c.frames.empty() ? 0 : c.frames.back() + 1;
        writeFile("in.bin", records(c.shape, c.frames) + records(c.shape, {next}).substr(1));
        writeFile("out.txt", "old contents");
        ASSERT_TRUE(convert(Form::Csv, c.type, c.channels)) << c.type << c.channels;
        EXPECT_EQ(readFile("out.txt"), printfLines(c.shape, c.frames, ",", c.csvSuffix));
        EXPECT_THAT(errlogLines(), HasSubstr(" Converted " + std::to_string(c.converted) +
                                             " frames of " + c.type + " data. Missed 0 frames\n"));
        ASSERT_TRUE(convert(Form::Text, c.type, c.channels));
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
        std::vector<std::uint32_t> frames, written;
        std::uint32_t expecting, read;
        int converted, missed;
    } cases[] = {
        {vornShape, "VORN", 16, {0, 1, 5, 6}, {0, 1, 6}, 2, 5, 7, 3},
        {vornShape, "VORN", 16, {0, 1, 2, 1, 2, 3}, {0, 1, 2, 2, 3}, 3, 1, 4, -2},
        {vornShape, "VORN", 16, {0xfffffffe, 0xffffffff, 0}, {0xffffffff, 0}, 0, 0xfffffffe, 1, -2},
        {plain4, "PXT", 4, {0, 1, 2}, {1, 2}, 1, 0, 2, -1},
        {hkq64, "HKQ", 64, {0, 1, 3}, {0, 1}, 2, 3, 4, 1},
    };
    for (const auto& c : cases) {
        writeFile("in.bin", records(c.shape, c.frames));
        ASSERT_TRUE(convert(Form::Csv, c.type, c.channels)) << c.read;
        EXPECT_EQ(readFile("out.txt"),
                  printfLines(c.shape, c.written, ",", c.type == std::string("VORN") ? "," : ""));
        EXPECT_THAT(errlogLines(),
                    HasSubstr("ERROR: ERROR: Missed frame, expecting frame " +
                              std::to_string(c.expecting) + " read frame " +
                              std::to_string(c.read) + "\nEVENT: Converted " +
                              std::to_string(c.converted) + " frames of " + c.type +
                              " data. Missed " + std::to_string(c.missed) + " frames\n"));
    }
}

// Many read blocks of the odd-sized PXT records, with a gap deep inside.
TEST_F(Converter, ConvertsRecordsSplitAcrossReadBlocks) {
    const RecordShape pxt3{24, 4, 12, 3};
    std::vector<std::uint32_t> frames;
    for (std::uint32_t frame = 1; frame <= 30000; ++frame) {
        if (frame != 20000) {
            frames.push_back(frame);
        }
    }
    writeFile("in.bin", records(pxt3, frames));
    ASSERT_TRUE(convert(Form::Csv, "PXT", 3));

    frames.erase(frames.begin() + 19999); // frame 20001 is dropped with the gap
    EXPECT_EQ(firstDifference(readFile("out.txt"), printfLines(pxt3, frames, ",")), "");
    EXPECT_THAT(errlogLines(), HasSubstr("expecting frame 20000 read frame 20001\n"
                                         "EVENT: Converted 30000 frames of PXT data. Missed 1"));
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
        EXPECT_FALSE(convert(Form::Text, type, channels, input, output)) << output;
        const std::string log = errlogLines();
        const std::size_t error = log.find("\nERROR: ");
        EXPECT_TRUE(error != std::string::npos && log.find('\n', error + 1) == log.size() - 1)
            << log;
        EXPECT_EQ(readFile("in.bin"), capture);
        EXPECT_EQ(readFile("out.txt"), "older output");
    }
}

// glibc's printf "%f" is the reference: exact halves round to even; the extremes, NaNs and
// infinities come out as printf writes them; a stride through every bit pattern and random
// values cover each exponent. Stops after a few mismatches so as not to flood the output.
TEST(FixedFormat, MatchesPrintfOnHalvesExtremesAndAllFloatRanges) {
    int mismatches = 0;
    const auto check = [&mismatches](float value) {
        char printed[64];
        std::snprintf(printed, sizeof printed, "%f", static_cast<double>(value));
        // glibc's sign of a NaN, kept on every platform; not every C library prints it.
        const std::string expected =
            std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : printed;
        char text[ferrow::maxFixedLength];
        const std::string actual(text, ferrow::formatFixed6(text, value));
        if (actual != expected && ++mismatches <= 10) {
            ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value)
                          << ": got " << actual << ", printf gives " << expected;
        }
    };
    for (int odd = 1; odd < (1 << 20); odd += 2) {
        check(static_cast<float>(odd) / 128);
        check(-static_cast<float>(odd) / 256);
    }
    constexpr float infinity = std::numeric_limits<float>::infinity();
    for (float value :
         {0.0f, 1e-9f, 0.1f, 16777216.0f, 0x1p62f / 1e6f, 0x1p62f, 4.6116860e12f, 4.6116865e12f,
          9.2e18f, 1e38f, std::numeric_limits<float>::max(),
          std::numeric_limits<float>::denorm_min(), infinity,
          std::numeric_limits<float>::quiet_NaN(), std::bit_cast<float>(0x7f800001U)}) {
        for (const float nearby :
             {value, std::nextafter(value, 0.0f), std::nextafter(value, infinity)}) {
            check(nearby);
            check(-nearby);
        }
    }
    for (std::uint64_t bits = 0; bits <= 0xffffffffU; bits += 4099) {
        check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    }
    std::mt19937 generator(20261206);
    std::uniform_real_distribution<float> pressures(-2000.0f, 2000.0f);
    std::uniform_int_distribution<std::uint32_t> patterns;
    for (int i = 0; i < 300000; ++i) {
        check(pressures(generator));
        check(std::bit_cast<float>(patterns(generator)));
    }
}

} // namespace
