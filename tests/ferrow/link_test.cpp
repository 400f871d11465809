#include "console/settings.h"
#include "convert/frame_layout.h"
#include "link/address.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "support/module_stand_in.h"

#include <gmock/gmock.h>

namespace {

using namespace ferrow;
using namespace ferrow::test;
using ::testing::HasSubstr;
using ::testing::Not;

// The module link and the capture it feeds.
struct Link : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    ModuleStandIn module;
    ModuleLink link{outputs.out, settings};
    Capture capture{outputs.out, settings};

    Link() { settings.udpPort = freeUdpPort(); }
    // A datagram of length bytes, each byte its tag.
    StoreResult store(std::size_t length, char tag) {
        const std::string bytes(length, tag);
        return capture.store(std::as_bytes(std::span(bytes)));
    }
};

// A large receive buffer, since the default loses frames in bursts; any length of datagram.
TEST_F(Link, ReceiverHasALargeBufferSaidAsOperatorsKnowItAndTakesAnyDatagram) {
    link.connect(module.address());
    ASSERT_TRUE(link.connected() && link.udpOpen());
    int granted = 0;
    socklen_t length = sizeof granted;
    getsockopt(link.udpHandle(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &length);
    EXPECT_GE(granted, ModuleLink::requestedReceiveBuffer);

    for (const std::string& datagram : {std::string(), std::string("A"), std::string(5000, 'B')}) {
        module.sendDatagram(settings.udpPort, datagram);
    }
    std::vector<std::size_t> lengths;
    retryUntil(
        [&](Milliseconds left) {
            for (const Datagram& datagram : readable(link.udpHandle(), left)
                                                ? link.receiveDatagrams()
                                                : std::vector<Datagram>{}) {
                lengths.push_back(datagram.length);
            }
            return lengths.size() >= 2;
        },
        patience);
    EXPECT_EQ(lengths, (std::vector<std::size_t>{1, 4096}));
    EXPECT_TRUE(link.udpOpen());

    // The full size keeps the EVENT line operators know; a capped one names the limit to raise.
    constexpr int per = reportedPerSetByte;
    EXPECT_EQ(ModuleLink::receiveBufferEvent(per * 67108864, 67108864),
              "UDP receive buffer of " + std::to_string(per * 67108864) + " bytes\n");
    EXPECT_EQ(ModuleLink::receiveBufferEvent(per * 212992, 67108864),
              "UDP receive buffer of 212992 bytes, less than the 67108864 bytes asked for\n");
}

// OPEN while connected closes the first connection; a module hanging up ends the connection
// quietly and keeps the receiver. Either way the next OPEN finds the UDP port free.
TEST_F(Link, ReopeningOrAHangUpFreesTheUdpPortPortZeroOpensNoneARefusalLeavesNothingOpen) {
    link.connect(module.address());
    ASSERT_TRUE(module.acceptClient());
    link.connect(module.address());
    EXPECT_TRUE(module.waitForReceived("")); // the first connection's hang-up
    ASSERT_TRUE(module.acceptClient());
    module.hangUp();
    const bool noticed = retryUntil(
        [&](Milliseconds left) {
            if (readable(link.tcpHandle(), left)) {
                link.receiveBytes();
            }
            return !link.connected();
        },
        patience);
    ASSERT_TRUE(noticed) << "the link still counts as connected after the module hung up";
    const std::string connecting = "Connecting to " + module.address() + "\n";
    EXPECT_EQ(outputs.takeConsole(), connecting + connecting);
    EXPECT_TRUE(link.udpOpen());
    link.connect(module.address());
    EXPECT_TRUE(link.connected() && link.udpOpen());
    EXPECT_THAT(errlogLines(), Not(HasSubstr("bind() failed")));

    // UDP port 0 opens no receiver; a refused connection leaves nothing open.
    settings.udpPort = 0;
    link.connect(module.address());
    EXPECT_TRUE(link.connected() && !link.udpOpen());
    EXPECT_TRUE(link.receiveDatagrams().empty());

    const std::string gone = [] { return ModuleStandIn().address(); }();
    link.connect(gone);
    EXPECT_FALSE(link.connected() || link.udpOpen());
    EXPECT_THAT(errlogLines(), HasSubstr("Connecting to " + gone +
                                         "\nERROR: ERROR: Connecting to the server failed."));
}

TEST(ModuleAddressParsing, HostPortBracketedIpv6AndTheDefaultPort) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"10.0.0.5", "10.0.0.5", "23"},        {"vorn7:2323", "vorn7", "2323"},
        {"[fe80::1]:5000", "fe80::1", "5000"}, {"[::1]", "::1", "23"},
        {"fe80::1", "fe80::1", "23"},          {"0", "0", "23"}};
    for (const auto& [text, host, port] : cases) {
        const ModuleAddress parsed = parseModuleAddress(text);
        EXPECT_EQ(parsed.host + " " + parsed.port, std::string(host) + " " + port) << text;
    }
}

TEST_F(Link, ProgressLinesEveryIntervalNoneForZeroAndANegativeOneCountsLikeItsMagnitude) {
    settings.frameCount = 30;
    const std::pair<int, const char*> cases[] = {
        {10, "Read 10\nRead 20\nRead 30\n"}, {0, ""}, {-15, "Read 15\nRead 30\n"}};
    for (const auto& [interval, console] : cases) {
        settings.progressInterval = interval;
        capture.arm("run.bin");
        for (int frame = 0; frame < 30; ++frame) {
            store(104, 'x');
        }
        EXPECT_EQ(outputs.takeConsole(), console + std::string("Completed data read\n"));
        capture.endRecording();
    }
}

// A changed frame count never overruns the buffer. A datagram fills one whole record, zero-padded
// and never more; arming again writes the recording in progress first; a failed arm stores nothing.
TEST_F(Link, NoChangeOverrunsTheBufferEveryDatagramFillsOneRecordArmingAgainWritesTheFirst) {
    settings.frameCount = 2; // buffer (104 + 10) * 2 = 228 bytes: two records and 20 spare
    capture.arm("run.bin");
    settings.frameCount = 10;
    EXPECT_EQ(store(4096, 'a'), StoreResult::GoOn);
    EXPECT_EQ(store(4096, 'b'), StoreResult::GoOn);
    EXPECT_EQ(store(4096, 'c'), StoreResult::Full);
    capture.endRecording();

    EXPECT_EQ(readFile("run.bin"), std::string(104, 'a') + std::string(104, 'b'));
    EXPECT_THAT(errlogLines(), HasSubstr("Buffer overflow reading data at offset 312\n"));

    // Lowered instead, the capture ends at the new count.
    settings.frameCount = 10;
    capture.arm("run.bin");
    settings.frameCount = 2;
    EXPECT_EQ(store(104, 'a'), StoreResult::GoOn);
    EXPECT_EQ(store(104, 'b'), StoreResult::Complete);

    settings.frameType = "PXT"; // 76-byte records for 16 channels
    settings.frameCount = 5;
    capture.arm("first.bin");
    for (const auto& [length, tag] :
         {std::pair{60, 'a'}, {0, 'b'}, {4096, 'c'}, {77, 'd'}, {4096, 'e'}}) {
        store(static_cast<std::size_t>(length), tag);
    }
    capture.arm("second.bin");
    store(4096, 'f');
    capture.arm("no/such/dir/run.bin");
    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(store(76, 'g'), StoreResult::GoOn);
    capture.endRecording();

    EXPECT_EQ(readFile("first.bin"), std::string(60, 'a') + std::string(16 + 76, '\0') +
                                         std::string(76, 'c') + std::string(76, 'd') +
                                         std::string(76, 'e'));
    EXPECT_EQ(readFile("second.bin"), std::string(76, 'f'));
    EXPECT_THAT(errlogLines(), HasSubstr("ERROR: Cannot open file no/such/dir/run.bin\n"));
}

TEST_F(Link, AnImpossibleBufferIsRefusedWithoutArming) {
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
    EXPECT_THAT(errlogLines(), HasSubstr("Could not allocate 4445291149290 bytes of memory\n"));
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
