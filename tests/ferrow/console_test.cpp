#include "console/interpreter.h"
#include "console/key_input.h"
#include "console/line_editor.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/message.h"
#include "log/textlog.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace ferrow;
using namespace ferrow::test;

// The local command console: the line editor and the interpreter of the lines it gives.
struct LocalConsole : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    ModuleLink link{outputs.out, settings};
    Capture capture{outputs.out, settings};
    TextLog textLog{outputs.console};
    Mode mode = Mode::Local;
    Interpreter interpreter{settings, outputs.out, link, capture, textLog, mode};
    LineEditor editor;

    // Runs a typed line and returns what it printed.
    std::string type(const std::string& line) {
        interpreter.run(line + "\r");
        return outputs.takeConsole();
    }
    std::optional<std::string> typeKeys(std::string_view keys) {
        std::optional<std::string> line;
        for (const char key : keys) {
            line = editor.key(static_cast<unsigned char>(key), outputs.out);
        }
        return line;
    }
};

TEST_F(LocalConsole, CommandWordsMatchByPrefixWithoutRegardToCaseAndEveryLineIsLogged) {
    EXPECT_EQ(type(""), "");
    EXPECT_EQ(type("  "), "ERROR: Invalid command\n");
    EXPECT_EQ(type("QUI"), "ERROR: Invalid command\n");
    EXPECT_EQ(type("help"), "");
    EXPECT_EQ(type("LISTALL"), settingsBlock(settings) + "\n");
    EXPECT_EQ(mode, Mode::Local);
    for (const char* quit : {"quit", "QUITTING now"}) {
        mode = Mode::Local;
        EXPECT_EQ(type(quit), "");
        EXPECT_EQ(mode, Mode::Quit) << quit;
    }
    // As typed, with its CR.
    EXPECT_TRUE(errlogLines().starts_with("EVENT: COMMAND IS \r\nEVENT: COMMAND IS   \r\n"));
}

// Each way a value can be missing or unreadable, key by key: reported, and the setting kept.
// Frame counts are reported to ERRLOG.TXT only.
TEST_F(LocalConsole, RefusedSetValuesAreReportedAndKeepTheSettings) {
    const std::string before = settingsBlock(settings);
    const struct {
        const char* line;
        const char* printed;
        const char* logged;
    } cases[] = {
        {"SET", "ERROR: Set argument not found\n", ""},
        {"SET FPS 10", "ERROR: Set argument invalid\n", ""},
        {"SET NUMFRAMES", "", "Number of frames value not found"},
        {"SET NUMFRAMES lots", "", "Number of frames size value not found"},
        {"SET NUMFRAMES -3", "", "Number of frames cannot be lower than 1"},
        {"SET BRCV", "ERROR: Binary Receiver status update value not found\n", ""},
        {"SET BRCV x", "ERROR: Binary receiver status upadte value not found\n", ""},
        {"SET ECHO off", "ERROR: Echo value not found\n", ""},
        {"SET IP", "ERROR: IP value not found\n", ""},
        {"SET BFILE", "ERROR: BFILE value not found\n", ""},
        {"SET AFILE", "ERROR: AFILE value not found\n", ""},
        {"SET UDPPORT none", "ERROR: UDP PORT value not found\n", ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove("ERRLOG.TXT");
        EXPECT_EQ(type(c.line), c.printed);
        EXPECT_EQ(errlogLines(),
                  "EVENT: COMMAND IS " + std::string(c.line) + "\r\n" +
                      (*c.logged ? "ERROR: ERROR: " + std::string(c.logged) + "\n" : ""));
        EXPECT_EQ(settingsBlock(settings), before) << c.line;
    }
}

// The converter must have a layout for every count taken; the type changes even when refused.
TEST_F(LocalConsole, FrameTypeKeysSetTheTypeAndTakeOnlyChannelCountsItCanHave) {
    const struct {
        const char* line;
        const char* printed;
        const char* setting;
    } cases[] = {
        {"SET PXT 64", "", "SET PXT 64"},
        {"SET HKQ 48", "ERROR: Channel must be 16, 32 or 64\n", "SET HKQ 64"},
        {"SET HKQ", "ERROR: Channel value not found\n", "SET HKQ 64"},
        {"SET VORN 64", "", "SET VORN 16"},
        {"SET wgn 513", "ERROR: Channel cannot be higher than 512\n", "SET WGN 16"},
        {"SET PXT 512", "", "SET PXT 512"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(type(c.line), c.printed);
        EXPECT_TRUE(settingsBlock(settings).starts_with(std::string(c.setting) + "\n")) << c.line;
    }
}

TEST_F(LocalConsole, AcceptedValuesShowInListAndSaveWritesThemWithCrLfLineEnds) {
    for (const char* line : {"SET HKQ 64", "SET BRCV 0", "SET NUMFRAMES 99999999999", "SET ECHO 0",
                             "SET IPADDR 10.0.0.5:2323", "SET BFILENAME run1.bin",
                             "SET AFILE scan.log", "SET UDPPORT 5023"}) {
        EXPECT_EQ(type(line), "") << line;
    }
    // The local NUMFRAMES leaves the progress interval alone; only FERROW.CFG's FPS sets it.
    const std::string block = "SET HKQ 64\nSET NUMFRAMES 2147483647\nSET BRCV 0\nSET ECHO 0\n"
                              "SET IP 10.0.0.5:2323\nSET BFILE run1\nSET AFILE scan.log\n"
                              "SET UDPPORT 5023\n";
    EXPECT_EQ(type("LIST"), block + "\n");
    EXPECT_EQ(type("SAVE"), "");
    EXPECT_EQ(readFile("CONFIG.TXT"), withCrLf(block));

    std::filesystem::remove("CONFIG.TXT");
    std::filesystem::create_directory("CONFIG.TXT");
    EXPECT_EQ(type("SAVE"), "ERROR: Could not write to file CONFIG.TXT\n");
}

TEST_F(LocalConsole, ToggleAndClosingsWithNothingOpenDoNothing) {
    EXPECT_EQ(type("TOGGLE"), "Got toggle\nERROR: Cannot enter pass through mode, not connected\n");
    EXPECT_EQ(mode, Mode::Local);
    EXPECT_EQ(type("CLOSE") + type("CBLOG") + type("CLOG"), "");
}

TEST_F(LocalConsole, ConvertWhileRecordingWritesTheRecordingFirst) {
    type("SET NUMFRAMES 4");
    type("BLOG run1");
    const std::string frame = vornFrame(0);
    capture.store(std::as_bytes(std::span(frame)));
    type("CVT run1.txt run1");

    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(readFile("run1"), frame);
    EXPECT_EQ(readFile("run1.txt"), printfLines(vornShape, {0}, " "));
}

TEST_F(LocalConsole, LogOpensTheTextLogOnTheNamedOrDefaultFile) {
    EXPECT_EQ(type("LOG") + type("LOG other.log"),
              "Opening log file Data.log\nOpening log file other.log\n");
    EXPECT_TRUE(textLog.isOpen() && std::filesystem::exists("Data.log"));
}

TEST_F(LocalConsole, EnterEndsTheLineBackspaceErasesCtrlBracketTogglesAndTheRoomIsBounded) {
    EXPECT_EQ(typeKeys("\bLISX\bT\r"), "LIST\r");
    EXPECT_EQ(outputs.takeConsole(), "LISX\b \bT\r\n");
    EXPECT_EQ(typeKeys("SE\x1d"), "TOGGLE\r");
    EXPECT_EQ(outputs.takeConsole(), "SE\n");
    EXPECT_EQ(typeKeys("\r"), "\r");

    EXPECT_EQ(typeKeys(std::string(300, 'A') + "\r"), std::string(254, 'A') + "\r");
    EXPECT_EQ(outputs.takeConsole(), "\r\n" + std::string(254, 'A') + "\r\n");
}

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// Arrow, function and Alt keys are measured whole once complete; an unfinished one, even after
// a complete one, is waited for.
TEST(EscapeSequences, AreMeasuredWholeOnceCompleteAndWaitedForWhileUnfinished) {
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"\x1b[A", 3}, {"\x1b[15~x", 5}, {"\x1bOPx", 3}, {"\x1bx", 2},
        {"\x1b", 0},   {"\x1b[", 0},     {"\x1b[15", 0}, {"\x1bO", 0}};
    for (const auto& [keys, length] : cases) {
        EXPECT_EQ(escapeSequenceLength(bytes(keys)).value_or(0), length) << keys.substr(1);
        EXPECT_EQ(endsInsideEscapeSequence(bytes("\x1b[A" + std::string(keys))), length == 0)
            << keys.substr(1);
    }
    EXPECT_FALSE(endsInsideEscapeSequence(bytes("abc")));
}

TEST(KeysFromAPipe, EveryByteIsAKeyEscIncluded) {
    KeyInput keys;
    if (keys.isTerminal()) {
        GTEST_SKIP() << "run from a terminal: keys would come through the terminal path";
    }
    keys.queue(bytes("\x1b[A"));
    for (const char key : std::string_view("\x1b[A")) {
        EXPECT_EQ(keys.next(), static_cast<unsigned char>(key));
    }
    EXPECT_FALSE(keys.next());
}

} // namespace
