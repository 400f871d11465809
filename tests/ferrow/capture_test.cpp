#include "console/settings.h"
#include "link/capture.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct Recording : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    Capture capture{outputs.out, settings};

    // A datagram of length bytes, each byte its frame's tag.
    static std::string datagram(std::size_t length, char tag) { return std::string(length, tag); }
    StoreResult store(const std::string& bytes) {
        return capture.store(std::as_bytes(std::span(bytes)));
    }
};

TEST_F(Recording, HundredVornFramesFillTheFileRecordByRecord) {
    capture.arm("run.bin");
    for (int frame = 0; frame < 99; ++frame) {
        ASSERT_EQ(store(datagram(104, static_cast<char>(frame))), StoreResult::GoOn);
    }
    EXPECT_EQ(store(datagram(104, 99)), StoreResult::Complete);
    capture.endRecording();

    std::string expected;
    for (int frame = 0; frame < 100; ++frame) {
        expected += datagram(104, static_cast<char>(frame));
    }
    EXPECT_EQ(readFile("run.bin"), expected);
    EXPECT_EQ(outputs.takeConsole(), "Completed data read\n");
    EXPECT_EQ(outputs.errlog(),
              logRecord("EVENT", "Opening binary file run.bin\n") +
                  logRecord("EVENT", "Numframes 100\n") +
                  logRecord("EVENT", "Allocating 11400 bytes of memory for 100 frames of data\n") +
                  logRecord("EVENT", "Completed data read\n") +
                  logRecord("EVENT", "Closing binary file\n") +
                  logRecord("EVENT", "Flushing buffer of 10400 bytes to file\n") +
                  logRecord("EVENT", "Completed write of 10400 bytes to file\n"));
}

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
            store(datagram(104, 'x'));
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
        store(datagram(static_cast<std::size_t>(length), tag));
    }
    store(datagram(4096, 'e'));
    capture.endRecording();

    EXPECT_EQ(readFile("run.bin"), datagram(60, 'a') + std::string(16 + 76, '\0') +
                                       datagram(76, 'c') + datagram(76, 'd') + datagram(76, 'e'));
}

TEST_F(Recording, ChangingTheFrameCountAfterArmingNeverOverrunsTheBuffer) {
    settings.frameCount = 2; // buffer (104 + 10) * 2 = 228 bytes: two records and 20 spare
    capture.arm("run.bin");
    settings.frameCount = 10;
    EXPECT_EQ(store(datagram(4096, 'a')), StoreResult::GoOn);
    EXPECT_EQ(store(datagram(4096, 'b')), StoreResult::GoOn);
    EXPECT_EQ(store(datagram(4096, 'c')), StoreResult::Full);
    capture.endRecording();

    EXPECT_EQ(readFile("run.bin"), datagram(104, 'a') + datagram(104, 'b'));
    const std::string log = outputs.errlog();
    EXPECT_NE(log.find(logRecord("ERROR", "ERROR: Buffer overflow reading data at offset 312\n")),
              std::string::npos);

    // Lowered instead, the capture ends at the new count.
    settings.frameCount = 10;
    capture.arm("run.bin");
    settings.frameCount = 2;
    EXPECT_EQ(store(datagram(104, 'a')), StoreResult::GoOn);
    EXPECT_EQ(store(datagram(104, 'b')), StoreResult::Complete);
}

TEST_F(Recording, ArmingAgainWritesTheRecordingInProgressFirst) {
    capture.arm("first.bin");
    store(datagram(104, 'a'));
    capture.arm("second.bin");
    store(datagram(104, 'b'));
    capture.endRecording();

    EXPECT_EQ(readFile("first.bin"), datagram(104, 'a'));
    EXPECT_EQ(readFile("second.bin"), datagram(104, 'b'));
}

TEST_F(Recording, NothingIsStoredWhenArmingFailsOrNothingIsArmed) {
    EXPECT_EQ(store(datagram(104, 'a')), StoreResult::GoOn);
    capture.arm("no/such/dir/run.bin");
    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(store(datagram(104, 'a')), StoreResult::GoOn);
    capture.endRecording();
    EXPECT_EQ(outputs.errlog(), logRecord("EVENT", "Opening binary file no/such/dir/run.bin\n") +
                                    logRecord("ERROR", "Cannot open file no/such/dir/run.bin\n"));
}

bool allocatorMayPromiseAnything() {
#if defined(__SANITIZE_ADDRESS__)
    return true; // the sanitizer's allocator stops the program on such a request
#else
    // With overcommit always on, the system promises even terabytes.
    return readFile("/proc/sys/vm/overcommit_memory").starts_with("1");
#endif
}

TEST_F(Recording, AnImpossibleBufferIsRefusedWithoutArming) {
    if (allocatorMayPromiseAnything()) {
        GTEST_SKIP() << "this allocator does not refuse huge requests";
    }
    settings.frameType = "PXT";
    settings.channelCount = 512;
    settings.frameCount = 2147483647; // (2060 + 10) * 2147483647 bytes: no machine has that
    capture.arm("run.bin");
    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(outputs.errlog(),
              logRecord("EVENT", "Opening binary file run.bin\n") +
                  logRecord("EVENT", "Numframes 2147483647\n") +
                  logRecord("ERROR", "ERROR: Could not allocate 4445291149290 bytes of memory\n"));
}

TEST(CaptureFrameSize, FollowsTheFrameTypeByExactName) {
    EXPECT_EQ(captureFrameSize("VORN", 64), 104);
    EXPECT_EQ(captureFrameSize("PXT", 16), 76);
    EXPECT_EQ(captureFrameSize("WGN", 512), 2060);
    EXPECT_EQ(captureFrameSize("HKQ", 16), 168);
    EXPECT_EQ(captureFrameSize("HKQ", 32), 304);
    EXPECT_EQ(captureFrameSize("HKQ", 48), 572);
    EXPECT_EQ(captureFrameSize("vorn", 16), 0);
}

} // namespace
