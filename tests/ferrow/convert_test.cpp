#include "convert/converter.h"
#include "convert/fixed_format.h"
#include "support/ferrow_test_support.h"

#include <gmock/gmock.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <numeric>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace ferrow::test;
using ::testing::EndsWith;
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
// from 1, WGN counts one less than it writes). The record after a gap is reported and skipped;
// out-of-order numbers count as negative misses; numbers are unsigned and wrap. A short last
// record is left out and the output file is replaced.
TEST_F(Converter, EachFrameTypeWritesPrintfLinesInBothFormsAndReportsMissedFrames) {
    // Many read blocks of the odd-sized PXT records, with a gap deep inside.
    constexpr RecordShape pxt3{24, 4, 12, 3};
    std::vector<std::uint32_t> many(30000), manyWritten;
    std::iota(many.begin(), many.end(), 1);
    many.erase(many.begin() + 19999);
    std::ranges::remove_copy(many, std::back_inserter(manyWritten), 20001);
    constexpr std::uint32_t last = 0xffffffff;
    const struct {
        RecordShape shape;
        const char* type;
        int channels;
        std::vector<std::uint32_t> frames, written;
        std::uint32_t expecting, read; // equal when no frame is missed
        int converted, missed;
    } cases[] = {
        {vornShape, "VORN", 16, {0, 1}, {0, 1}, 0, 0, 2, 0},
        {hkq16, "HKQ", 16, {0, 1}, {0, 1}, 0, 0, 2, 0},
        {{304, 8, 12, 36}, "HKQ", 32, {0}, {0}, 0, 0, 1, 0},
        {hkq64, "HKQ", 64, {0}, {0}, 0, 0, 1, 0},
        {plain4, "PXT", 4, {1, 2}, {1, 2}, 0, 0, 2, 0},
        {plain4, "WGN", 4, {0, 1}, {0, 1}, 0, 0, 1, 0},
        {{2060, 4, 12, 512}, "WGN", 512, {}, {}, 0, 0, -1, 0},
        {vornShape, "VORN", 16, {0, 1, 5, 6}, {0, 1, 6}, 2, 5, 7, 3},
        {vornShape, "VORN", 16, {0, 1, 2, 1, 2, 3}, {0, 1, 2, 2, 3}, 3, 1, 4, -2},
        {vornShape, "VORN", 16, {last - 1, last, 0}, {last, 0}, 0, last - 1, 1, -2},
        {plain4, "PXT", 4, {0, 1, 2}, {1, 2}, 1, 0, 2, -1},
        {hkq64, "HKQ", 64, {0, 1, 3}, {0, 1}, 2, 3, 4, 1},
        {pxt3, "PXT", 3, many, manyWritten, 20000, 20001, 30000, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type + std::to_string(c.channels) + " " + std::to_string(c.read));
        const std::uint32_t next = c.frames.empty() ? 0 : c.frames.back() + 1;
        writeFile("in.bin", records(c.shape, c.frames) + records(c.shape, {next}).substr(1));
        writeFile("out.txt", "old contents");
        ASSERT_TRUE(convert(Form::Csv, c.type, c.channels));
        const char* csvSuffix = c.type == std::string("VORN") ? "," : "";
        EXPECT_EQ(
            firstDifference(readFile("out.txt"), printfLines(c.shape, c.written, ",", csvSuffix)),
            "");
        const std::string gap = "ERROR: ERROR: Missed frame, expecting frame " +
                                std::to_string(c.expecting) + " read frame " +
                                std::to_string(c.read) + "\n";
        EXPECT_THAT(errlogLines(),
                    EndsWith((c.expecting != c.read ? gap : "") + "EVENT: Converted " +
                             std::to_string(c.converted) + " frames of " + c.type +
                             " data. Missed " + std::to_string(c.missed) + " frames\n"));
        ASSERT_TRUE(convert(Form::Text, c.type, c.channels));
        EXPECT_EQ(firstDifference(readFile("out.txt"), printfLines(c.shape, c.written, " ")), "");
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
        EXPECT_FALSE(convert(Form::Text, type, channels, input, output)) << output;
        const std::string log = errlogLines();
        const std::size_t error = log.find("\nERROR: ");
        EXPECT_TRUE(error != std::string::npos && log.find('\n', error + 1) == log.size() - 1)
            << log;
        EXPECT_EQ(readFile("in.bin"), capture);
        EXPECT_EQ(readFile("out.txt"), "older output");
    }
}

// glibc's printf "%f" is the reference: exact halves round to even, the extremes, NaNs and
// infinities come out as printf writes them, a stride through every bit pattern covers each
// exponent and random pressures their range. Stops after a few mismatches, not to flood output.
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
    using Limits = std::numeric_limits<float>;
    for (float value :
         {0.0f, 1e-9f, 0.1f, 16777216.0f, 0x1p62f / 1e6f, 0x1p62f, 4.6116860e12f, 4.6116865e12f,
          9.2e18f, 1e38f, Limits::max(), Limits::denorm_min(), Limits::infinity(),
          Limits::quiet_NaN(), std::bit_cast<float>(0x7f800001U)}) {
        for (const float nearby :
             {value, std::nextafter(value, 0.0f), std::nextafter(value, Limits::infinity())}) {
            check(nearby);
            check(-nearby);
        }
    }
    std::mt19937 generator(20261206);
    std::uniform_real_distribution<float> pressures(-2000.0f, 2000.0f);
    for (std::uint64_t bits = 0; bits <= 0xffffffffU; bits += 4099) {
        check(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
        check(pressures(generator));
    }
}

} // namespace
