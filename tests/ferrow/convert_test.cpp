#include "convert/converter.h"
#include "log/errlog.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using ferrow::ConversionForm;
using ferrow::test::readFile;
using ferrow::test::writeFile;

constexpr auto Csv = ConversionForm::Csv;
constexpr auto Text = ConversionForm::Text;

struct Layout {
    int frameSize;
    int numberOffset;
    int valuesOffset;
    int valueCount;
    const char* suffix = ""; // after each CSV value
};

constexpr Layout vorn{104, 4, 8, 16, ","};
constexpr Layout hkq16{168, 8, 12, 18};
constexpr Layout hkq32{304, 8, 12, 36};
constexpr Layout hkq64{572, 8, 12, 72};
constexpr Layout plain4{28, 4, 12, 4}; // PXT and WGN with 4 channels

void putLittleEndian(std::string& bytes, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(offset + i)] = static_cast<char>(value >> (8 * i) & 0xff);
    }
}

// Values that differ per frame and channel, negatives and halves included.
float valueOf(std::uint32_t frame, int index) {
    return static_cast<float>(index) * 0.25f - 2.0f + static_cast<float>(frame % 100) * 10.0f;
}

// One record; bytes the converter must not read are 0xAA.
std::string record(const Layout& layout, std::uint32_t frame) {
    std::string bytes(static_cast<std::size_t>(layout.frameSize), '\xAA');
    putLittleEndian(bytes, layout.numberOffset, frame);
    for (int i = 0; i < layout.valueCount; ++i) {
        std::uint32_t bits = 0;
        const float value = valueOf(frame, i);
        std::memcpy(&bits, &value, sizeof bits);
        putLittleEndian(bytes, layout.valuesOffset + 4 * i, bits);
    }
    return bytes;
}

std::string records(const Layout& layout, const std::vector<std::uint32_t>& frames) {
    std::string bytes;
    for (const std::uint32_t frame : frames) {
        bytes += record(layout, frame);
    }
    return bytes;
}

// The line printf would give: "%ld", then per value the separator, "%f" and the suffix.
std::string line(const Layout& layout, std::uint32_t frame, const char* separator,
                 const char* suffix = "") {
    std::string text = std::to_string(frame);
    for (int i = 0; i < layout.valueCount; ++i) {
        char value[64];
        std::snprintf(value, sizeof value, "%s%f%s", separator,
                      static_cast<double>(valueOf(frame, i)), suffix);
        text += value;
    }
    return text + "\r\n";
}

std::string lines(const Layout& layout, const std::vector<std::uint32_t>& frames,
                  const char* separator, const char* suffix = "") {
    std::string text;
    for (const std::uint32_t frame : frames) {
        text += line(layout, frame, separator, suffix);
    }
    return text;
}

std::string event(const std::string& message) {
    return ferrow::test::logRecord("EVENT", message + "\n");
}
std::string error(const std::string& message) {
    return ferrow::test::logRecord("ERROR", message + "\n");
}
std::string opening(const std::string& output = "out.txt", const std::string& input = "in.bin") {
    return event("Opening text output file " + output) +
           event("Opening binary input file " + input);
}
std::string vornTrace(std::uint32_t frame) {
    return event("Doing VORN EU frame, not time stamped") +
           event("Woking frame " + std::to_string(frame) + " fs 104");
}
std::string ok(std::uint32_t frame) {
    return event("OK: Frame " + std::to_string(frame) + " read frame " + std::to_string(frame));
}

struct Converter : ::testing::Test {
    bool convert(ConversionForm form, const char* frameType, int channels,
                 const std::string& input = "in.bin", const std::string& output = "out.txt") {
        return ferrow::convertCapture({form, frameType, channels, input, output}, log);
    }
    static std::string logText() { return readFile("ERRLOG.TXT"); }

    ferrow::test::TemporaryCurrentDirectory directory;
    ferrow::ErrorLog log{"ERRLOG.TXT", ferrow::test::fixedTime};
};

TEST_F(Converter, VornCsvPartsValuesByTwoCommas) {
    writeFile("in.bin", records(vorn, {0}));
    ASSERT_TRUE(convert(Csv, "VORN", 16));
    EXPECT_EQ(readFile("out.txt"),
              "0,-2.000000,,-1.750000,,-1.500000,,-1.250000,,-1.000000,,-0.750000,,-0.500000,,"
              "-0.250000,,0.000000,,0.250000,,0.500000,,0.750000,,1.000000,,1.250000,,1.500000,,"
              "1.750000,\r\n");
}

// The record after a gap is reported and skipped; out-of-order numbers count as negative
// misses; numbers are unsigned and wrap; PXT expects to start at 1.
TEST_F(Converter, MissedFramesAreReportedAndTheFirstRecordAfterThemIsSkipped) {
    const struct {
        Layout layout;
        const char* type;
        int channels;
        std::vector<std::uint32_t> frames;
        std::vector<std::uint32_t> written;
        std::uint32_t expecting;
        std::uint32_t read;
        int converted;
        int missed;
    } cases[] = {
        {vorn, "VORN", 16, {0, 1, 5, 6}, {0, 1, 6}, 2, 5, 7, 3},
        {vorn, "VORN", 16, {0, 1, 2, 1, 2, 3}, {0, 1, 2, 2, 3}, 3, 1, 4, -2},
        {vorn, "VORN", 16, {0xfffffffe, 0xffffffff, 0}, {0xffffffff, 0}, 0, 0xfffffffe, 1, -2},
        {plain4, "PXT", 4, {0, 1, 2}, {1, 2}, 1, 0, 2, -1},
        {hkq64, "HKQ", 64, {0, 1, 3}, {0, 1}, 2, 3, 4, 1},
    };
    for (const auto& c : cases) {
        writeFile("in.bin", records(c.layout, c.frames));
        fs::remove("ERRLOG.TXT");
        ASSERT_TRUE(convert(Csv, c.type, c.channels)) << c.read;
        EXPECT_EQ(readFile("out.txt"), lines(c.layout, c.written, ",", c.layout.suffix)) << c.read;
        const std::string word = c.type == std::string("PXT") ? "WGN" : c.type;
        EXPECT_EQ(logText(),
                  opening() +
                      event(word + " Converting " + std::to_string(c.channels) + " channels with " +
                            std::to_string(c.layout.frameSize) + " bytes frame size") +
                      error("ERROR: Missed frame, expecting frame " + std::to_string(c.expecting) +
                            " read frame " + std::to_string(c.read)) +
                      event("Converted " + std::to_string(c.converted) + " frames of " + c.type +
                            " data. Missed " + std::to_string(c.missed) + " frames"));
    }
}

TEST_F(Converter, VornTextTracesEveryReadAndMatch) {
    writeFile("in.bin", records(vorn, {0, 1}));
    ASSERT_TRUE(convert(Text, "VORN", 16));

    EXPECT_EQ(readFile("out.txt"), lines(vorn, {0, 1}, " "));
    EXPECT_EQ(logText(), opening() +
                             event("VORN Converting 16 channels with 104 bytes frame size") +
                             vornTrace(0) + ok(0) + vornTrace(1) + ok(1) + vornTrace(2) +
                             event("Converted 2 frames of VORN data. Missed 0 frames"));
}

TEST_F(Converter, HkqAppendsOneFurtherValuePerEightChannelsAndTracesOnlyFor16) {
    writeFile("in.bin", records(hkq16, {0, 1}));
    ASSERT_TRUE(convert(Csv, "HKQ", 16));
    EXPECT_EQ(readFile("out.txt"), lines(hkq16, {0, 1}, ","));
    ASSERT_TRUE(convert(Text, "HKQ", 16));
    EXPECT_EQ(readFile("out.txt"), lines(hkq16, {0, 1}, " "));

    writeFile("in.bin", records(hkq32, {0}));
    ASSERT_TRUE(convert(Text, "HKQ", 32));
    EXPECT_EQ(readFile("out.txt"), lines(hkq32, {0}, " "));

    const std::string doing = event("Doing HKQ frame");
    const std::string hkq16Converting =
        event("HKQ Converting 16 channels with 168 bytes frame size");
    EXPECT_EQ(logText(), opening() + hkq16Converting +
                             event("Converted 2 frames of HKQ data. Missed 0 frames") + opening() +
                             hkq16Converting + doing + event("Woking frame 0 fs 168") + doing +
                             event("Woking frame 1 fs 168") + doing +
                             event("Woking frame 2 fs 168") +
                             event("Converted 2 frames of HKQ data. Missed 0 frames") + opening() +
                             event("HKQ Converting 32 channels with 304 bytes frame size") + doing +
                             doing + event("Converted 1 frames of HKQ data. Missed 0 frames"));
}

TEST_F(Converter, PxtCountsFromOneInBothForms) {
    writeFile("in.bin", records(plain4, {1, 2, 3}));
    ASSERT_TRUE(convert(Csv, "PXT", 4));
    EXPECT_EQ(readFile("out.txt"), "1,8.000000,8.250000,8.500000,8.750000\r\n"
                                   "2,18.000000,18.250000,18.500000,18.750000\r\n"
                                   "3,28.000000,28.250000,28.500000,28.750000\r\n");
    ASSERT_TRUE(convert(Text, "PXT", 4));
    EXPECT_EQ(readFile("out.txt"), lines(plain4, {1, 2, 3}, " "));

    const std::string run = opening() +
                            event("WGN Converting 4 channels with 28 bytes frame size") +
                            event("Converted 3 frames of PXT data. Missed 0 frames");
    EXPECT_EQ(logText(), run + run);
}

TEST_F(Converter, WgnCountsOneLessThanItWrites) {
    writeFile("in.bin", records(plain4, {0, 1, 2}));
    ASSERT_TRUE(convert(Csv, "WGN", 4));
    EXPECT_EQ(readFile("out.txt"), lines(plain4, {0, 1, 2}, ","));
    ASSERT_TRUE(convert(Text, "WGN", 4));
    EXPECT_EQ(readFile("out.txt"), lines(plain4, {0, 1, 2}, " "));

    const std::string converting = event("WGN Converting 4 channels with 28 bytes frame size");
    const std::string converted = event("Converted 2 frames of WGN data. Missed 0 frames");
    EXPECT_EQ(logText(), opening() + converting + converted + opening() + converting + ok(0) +
                             ok(1) + ok(2) + converted);
}

TEST_F(Converter, EmptyInputGivesEmptyOutputAndTheFirstExpectedCount) {
    writeFile("in.bin", "");
    const struct {
        const char* type;
        int channels;
        const char* converting;
        const char* converted;
    } cases[] = {
        {"VORN", 16, "VORN Converting 16 channels with 104 bytes frame size",
         "Converted 0 frames of VORN data. Missed 0 frames"},
        {"HKQ", 32, "HKQ Converting 32 channels with 304 bytes frame size",
         "Converted 0 frames of HKQ data. Missed 0 frames"},
        {"PXT", 1, "WGN Converting 1 channels with 16 bytes frame size",
         "Converted 0 frames of PXT data. Missed 0 frames"},
        {"WGN", 512, "WGN Converting 512 channels with 2060 bytes frame size",
         "Converted -1 frames of WGN data. Missed 0 frames"},
    };
    std::string expectedLog;
    for (const auto& c : cases) {
        writeFile("out.txt", "old contents");
        ASSERT_TRUE(convert(Csv, c.type, c.channels)) << c.type;
        EXPECT_EQ(readFile("out.txt"), "") << c.type;
        expectedLog += opening() + event(c.converting) + event(c.converted);
    }
    EXPECT_EQ(logText(), expectedLog);
}

TEST_F(Converter, IgnoresAShortLastRecord) {
    writeFile("in.bin", records(vorn, {0, 1}) + record(vorn, 2).substr(0, 103));
    ASSERT_TRUE(convert(Csv, "VORN", 16));
    EXPECT_EQ(readFile("out.txt"), lines(vorn, {0, 1}, ",", ","));

    writeFile("in.bin", std::string(5, '\0'));
    ASSERT_TRUE(convert(Text, "VORN", 16));
    EXPECT_EQ(readFile("out.txt"), "");
    EXPECT_EQ(logText(),
              opening() + event("VORN Converting 16 channels with 104 bytes frame size") +
                  event("Converted 2 frames of VORN data. Missed 0 frames") + opening() +
                  event("VORN Converting 16 channels with 104 bytes frame size") + vornTrace(0) +
                  event("Converted 0 frames of VORN data. Missed 0 frames"));
}

TEST_F(Converter, RefusesAChannelCountTheFrameTypeCannotHave) {
    writeFile("in.bin", records(hkq16, {0}));
    writeFile("out.txt", "earlier conversion");
    EXPECT_FALSE(convert(Csv, "HKQ", 48));
    EXPECT_FALSE(convert(Text, "PXT", 0));
    EXPECT_FALSE(convert(Csv, "WGN", 513));

    EXPECT_EQ(readFile("out.txt"), "earlier conversion");
    EXPECT_EQ(logText(), opening() + error("ERROR: Channel must be 16, 32 or 64") + opening() +
                             error("ERROR: Channel cannot be lower than 1") + opening() +
                             error("ERROR: Channel cannot be higher than 512"));
}

TEST_F(Converter, ReportsFilesThatCannotBeOpened) {
    EXPECT_FALSE(convert(Csv, "VORN", 16, "missing.bin", "out.txt"));
    EXPECT_FALSE(fs::exists("out.txt"));

    writeFile("in.bin", records(vorn, {0}));
    EXPECT_FALSE(convert(Csv, "VORN", 16, "in.bin", "no/such/folder.txt"));
    // Converting a capture onto itself would empty it.
    EXPECT_FALSE(convert(Text, "VORN", 16, "in.bin", "./in.bin"));
    EXPECT_EQ(readFile("in.bin"), records(vorn, {0}));

    EXPECT_EQ(logText(),
              opening("out.txt", "missing.bin") + error("Cannot open input file missing.bin") +
                  opening("no/such/folder.txt", "in.bin") +
                  error("Could not open out file no/such/folder.txt") +
                  opening("./in.bin", "in.bin") + error("Could not open out file ./in.bin"));
}

#ifdef __linux__
TEST_F(Converter, ReportsFailedReadsAndWrites) {
    writeFile("in.bin", records(vorn, {0}));
    EXPECT_FALSE(convert(Csv, "VORN", 16, "in.bin", "/dev/full"));

    fs::create_directory("folder.bin");
    EXPECT_FALSE(convert(Csv, "VORN", 16, "folder.bin", "out.txt"));

    const std::string converting = event("VORN Converting 16 channels with 104 bytes frame size");
    EXPECT_EQ(logText(), opening("/dev/full", "in.bin") + converting +
                             error("ERROR: Could not write to file /dev/full") +
                             opening("out.txt", "folder.bin") + converting +
                             error("ERROR: Could not read file folder.bin"));
}
#endif

TEST_F(Converter, AfterARunConvertsBaseBinToBaseCsv) {
    writeFile("run1.bin", records(vorn, {0}));
    ASSERT_TRUE(ferrow::convertAfterRun("VORN", 16, "run1", log));
    EXPECT_EQ(readFile("run1.csv"), lines(vorn, {0}, ",", ","));
    EXPECT_EQ(logText(), opening("run1.csv", "run1.bin") +
                             event("VORN Converting 16 channels with 104 bytes frame size") +
                             event("Converted 1 frames of VORN data. Missed 0 frames"));
}

TEST_F(Converter, ConvertsRecordsSplitAcrossReadBlocks) {
    // More than one read block of the odd-sized PXT records, with a gap deep inside.
    const Layout pxt3{24, 4, 12, 3};
    std::vector<std::uint32_t> frames;
    for (std::uint32_t frame = 1; frame <= 30000; ++frame) {
        if (frame != 20000) {
            frames.push_back(frame);
        }
    }
    writeFile("in.bin", records(pxt3, frames));
    ASSERT_TRUE(convert(Csv, "PXT", 3));

    frames.erase(frames.begin() + 19999); // frame 20001 is dropped with the gap
    EXPECT_EQ(readFile("out.txt"), lines(pxt3, frames, ","));
    EXPECT_EQ(logText(), opening() + event("WGN Converting 3 channels with 24 bytes frame size") +
                             error("ERROR: Missed frame, expecting frame 20000 read frame 20001") +
                             event("Converted 30000 frames of PXT data. Missed 1 frames"));
}

} // namespace
