// ferrow end to end: the real program against a module stand-in on loopback, keys piped in.
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <gmock/gmock.h>

#include <csignal>
#include <tuple>

namespace {

using namespace ferrow::test;
using ::testing::HasSubstr;

constexpr const char* banner = "FERROW Version 0.90a\n";

// However a run ends (its frame count reached, ESC, a stop signal after the keys have ended),
// what was captured is written whole and converted.
TEST(FerrowRun, CapturesFramesWithAGapIntoBinaryFileAndCsvHoweverItEnds) {
    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    const int udpPort = freeUdpPort();
    // 30 frames give a progress line every 3 frames; no key: a stop signal.
    const std::tuple<int, const char*, const char*> runs[] = {
        {6, "", "Read 1\nRead 2\nRead 3\nRead 4\nRead 5\nRead 6\nCompleted data read\n"},
        {30, "\x1b", "Read 3\nRead 6\n\x1b"},
        {30, nullptr, "Read 3\nRead 6\n"}};
    for (const auto& [frames, stop, progress] : runs) {
        SCOPED_TRACE(progress);
        const std::string key = stop ? stop : "";
        writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET FPS " +
                                    std::to_string(frames) + "\r\nSET BFILENAME cap.bin\r\n" +
                                    "SET UDPPORT " + std::to_string(udpPort) + "\r\n");
        FerrowProcess ferrow(directory.path);
        if (!stop) {
            ferrow.endKeys(); // no more keys: the capture goes on while frames come
        }
        ASSERT_TRUE(module.acceptClient() && module.waitForReceived("SCAN\r"));
        module.sendText("STATUS: SCAN\r\n\x01");
        ASSERT_TRUE(ferrow.waitForOutput("Found binary packet\n"));
        for (const std::uint32_t frame : {0, 1, 2, 4, 5, 6}) {
            module.sendDatagram(udpPort, vornFrame(frame));
        }
        ASSERT_TRUE(ferrow.waitForOutput("Read 6\n"));
        stop ? ferrow.type(key) : ferrow.askToStop();

        ASSERT_EQ(ferrow.waitForExit(), 0);
        module.waitForReceived("SCAN\r" + key);
        EXPECT_EQ(module.received(), "SCAN\r" + key);
        EXPECT_EQ(ferrow.output(), banner + ("Connecting to " + module.address()) +
                                       "\nPress <ESC> to stop scan\nSTATUS: SCAN\r\n"
                                       "Found binary packet\n" +
                                       progress);
        EXPECT_EQ(readFile("cap.bin"), records(vornShape, {0, 1, 2, 4, 5, 6}));
        EXPECT_EQ(readFile("cap.csv"), printfLines(vornShape, {0, 1, 2, 5, 6}, ",", ","));
    }
    EXPECT_THAT(errlogLines(), HasSubstr("EVENT: Read 6\nEVENT: Scan cancelled\nEVENT: Closing"));
}

// Without FERROW.CFG and without a module: interrupted, or by itself once no key can come (the
// keys ended, or standard input is the null device, which a Windows console test takes for a
// console).
TEST(FerrowWithoutModule, RunsOnDefaultsAndEndsOnSigintOrAtTheEndOfItsKeys) {
    using enum FerrowProcess::Console;
    const std::pair<const char*, FerrowProcess::Console> ends[] = {
        {"SIGINT", Pipes}, {"end of keys", Pipes}, {"null device", NullDevice}};
    for (const auto& [end, console] : ends) {
        TemporaryCurrentDirectory directory;
        FerrowProcess ferrow(directory.path, console);
        ASSERT_TRUE(ferrow.waitForOutput("Press <ESC> to stop scan\n")) << end;
        end == std::string("SIGINT") ? ferrow.signal(SIGINT) : ferrow.endKeys();

        ASSERT_EQ(ferrow.waitForExit(), 0) << end;
        EXPECT_EQ(ferrow.output(),
                  std::string(banner) + "Connecting to 0\nPress <ESC> to stop scan\n");
        EXPECT_TRUE(std::filesystem::exists("Data.bin.bin") &&
                    std::filesystem::exists("Data.bin.csv"));
        EXPECT_THAT(errlogLines(), HasSubstr("Could not open configuration file FERROW.CFG."));
    }
}

} // namespace
