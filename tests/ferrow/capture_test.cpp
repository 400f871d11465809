#include "console/settings.h"
#include "convert/frame_layout.h"
#include "link/capture.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct Recording : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    Capture capture{outputs.out, settings};

    // A datagram of length bytes, each byte its tag.
    StoreResult store(std::size_t length, char tag) {
        const std::string bytes(length, tag);
        return capture.store(std::as_bytes(std::span(bytes)));
    }
};

TEST_F(Recording, ProgressLinesEveryIntervalNoneForZeroAndANegativeOneCountsLikeItsMagnitude) {
    settings.frameCount = 30;
    const std::pair<int, const char*> cases[] = {
        {10, "Read 10\nRead 20\nRead 30\nCompleted data read\n"},
        {0, "Completed data read\n"},
        {-15, "Read 15\nRead 30\nCompleted data read\n"}};
    for (const auto& [interval, console] : cases) {
        settings.progressInterval = interval;
        capture.arm("run.bin");
        for (int frame = 0; frame < 30; ++frame) {
            store(104, 'x');
        }
        EXPECT_EQ(outputs.takeConsole(), console) << interval;
        capture.endRecording();
    }
}

TEST_F(Recording, EveryDatagramFillsOneWholeRecordZeroPaddedAndNeverMore) {
    settings.frameType = "PXT"; // 76-byte records for 16 channels
    settings.frameCount = 5;
    capture.arm("run.bin");
    for (const auto& [length, tag] : {std::pair{60, 'a'}, {0, 'b'}, {4096, 'c'}, {77, 'd'}}) {
        store(static_cast<std::size_t>(length), tag);
    }
    store(4096, 'e');
    capture.endRecording();

    EXPECT_EQ(readFile("run.bin"), std::string(60, 'a') + std::string(16 + 76, '\0') +
                                       std::string(76, 'c') + std::string(76, 'd') +
                                       std::string(76, 'e'));
}

TEST_F(Recording, ChangingTheFrameCountAfterArmingNeverOverrunsTheBuffer) {
    settings.frameCount = 2; // buffer (104 + 10) * 2 = 228 bytes: two records and 20 spare
    capture.arm("run.bin");
    settings.frameCount = 10;
    EXPECT_EQ(store(4096, 'a'), StoreResult::GoOn);
    EXPECT_EQ(store(4096, 'b'), StoreResult::GoOn);
    EXPECT_EQ(store(4096, 'c'), StoreResult::Full);
    capture.endRecording();

    EXPECT_EQ(readFile("run.bin"), std::string(104, 'a') + std::string(104, 'b'));
    EXPECT_NE(errlogLines().find("ERROR: ERROR: Buffer overflow reading data at offset 312\n"),
              std::string::npos);

    // Lowered instead, the capture ends at the new count.
    settings.frameCount = 10;
    capture.arm("run.bin");
    settings.frameCount = 2;
    EXPECT_EQ(store(104, 'a'), StoreResult::GoOn);
    EXPECT_EQ(store(104, 'b'), StoreResult::Complete);
}

TEST_F(Recording, ArmingWritesTheRecordingInProgressFirstAndAFailedArmStoresNothing) {
    capture.arm("first.bin");
    store(104, 'a');
    capture.arm("second.bin");
    store(104, 'b');
    capture.arm("no/such/dir/run.bin");
    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(store(104, 'c'), StoreResult::GoOn);
    capture.endRecording();

    EXPECT_EQ(readFile("first.bin"), std::string(104, 'a'));
    EXPECT_EQ(readFile("second.bin"), std::string(104, 'b'));
    EXPECT_NE(errlogLines().find("EVENT: Opening binary file no/such/dir/run.bin\n"
                                 "ERROR: Cannot open file no/such/dir/run.bin\n"),
              std::string::npos);
}

TEST_F(Recording, AnImpossibleBufferIsRefusedWithoutArming) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator stops the program on such a request";
#endif
    // With overcommit always on, the system promises even terabytes.
    if (readFile("/proc/sys/vm/overcommit_memory").starts_with("1")) {
        GTEST_SKIP() << "this allocator does not refuse huge requests";
    }
    settings.frameType = "PXT";
    settings.channelCount = 512;
    settings.frameCount = 2147483647; // (2060 + 10) * 2147483647 bytes: no machine has that
    capture.arm("run.bin");
    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(errlogLines(), "EVENT: Opening binary file run.bin\n"
                             "EVENT: Numframes 2147483647\n"
                             "ERROR: ERROR: Could not allocate 4445291149290 bytes of memory\n");
}

// Records the capture writes must be the ones the converter reads back.
TEST(CaptureFrameSize, AgreesWithTheConvertersLayoutForEveryChannelCountItTakes) {
    for (const char* type : {"VORN", "HKQ", "PXT", "WGN"}) {
        for (int channels = 1; channels <= 512; ++channels) {
            if (const LayoutChoice choice = converterLayout(type, channels); choice.layout) {
                EXPECT_EQ(captureFrameSize(type, channels), choice.layout->frameSize)
                    << type << " " << channels;
            }
        }
    }
}

} // namespace
