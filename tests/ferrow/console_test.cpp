#include "console/command_line.h"
#include "console/config_file.h"
#include "console/frame_silence.h"
#include "console/interpreter.h"
#include "console/key_input.h"
#include "console/line_editor.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/capture_sidecar.h"
#include "log/message.h"
#include "log/textlog.h"
#include "support/ferrow_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <tuple>

namespace {

using namespace ferrow;
using namespace ferrow::test;

// The console: FERROW.CFG, the line editor, the interpreter of the lines it gives, its logs.
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

    void read(const std::string& fileContents) {
        std::istringstream input(fileContents);
        readConfig(input, settings, outputs.out);
    }
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

// FPS sets the progress interval from the frame count held after it; a capture file name keeps
// its directories and spaces and loses only its extension.
TEST_F(LocalConsole, ConfigFileSetsFrameCountProgressIntervalAndCaptureFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"SET FPS 5\n", "5 1 Data.bin"},
        {"SET FPS 2500\r\n", "2500 250 Data.bin"},
        {"SET FPS 250\nSET FPS 0\n", "250 25 Data.bin"}, // a refused count keeps the one held
        {"set fps\n", "100 10 Data.bin"},
        {"SET BFILENAME C:\\My Data\\run.bin  \r\n", "100 1000 C:\\My Data\\run"},
        {"SET BFILENAME C:\\old.2\\run\n", "100 1000 C:\\old.2\\run"},
        {"SET BFILENAME /data/run.2024.bin\n", "100 1000 /data/run.2024"}};
    for (const auto& [lines, held] : cases) {
        settings = {};
        read(lines);
        EXPECT_EQ(std::to_string(settings.frameCount) + " " +
                      std::to_string(settings.progressInterval) + " " + settings.binaryBaseName,
                  held);
    }
}

// Lines are read in 254-character pieces (the rest of a longer one is a line of its own); a bad
// line gives one error and reading goes on; NUL bytes do no harm.
TEST_F(LocalConsole, BadAndLongLinesEachGiveOneErrorAndReadingGoesOn) {
    const std::string longLine = "SET BFILENAME " + std::string(300, 'x');
    read("\r\nSCAN\r\nSET\r\nSET IP 10.0.0.5\r\nSET BFILENAME\r\n" + longLine + "\n" +
         std::string("SET FPS 9\0 1\n", 13));

    EXPECT_EQ(settings.frameCount, 9);
    EXPECT_EQ(settings.moduleAddress, "0");
    EXPECT_EQ(settings.binaryBaseName, std::string(240, 'x'));
    const std::string log = errlogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 8 + 5) << log; // 8 lines, 5 refused
    EXPECT_NE(log.find("EVENT: Ferrow Init command " + std::string(60, 'x') +
                       "\nERROR: ERROR: Invalid command in FERROW.CFG\n"),
              std::string::npos);
    EXPECT_EQ(outputs.takeConsole(), "ERROR: BFILE value not found\n");
}

// Command words match by prefix without regard to case, each line logged as typed. A frame type
// key sets the type even when refused, and takes only the channel counts the converter can read.
// Each way a value can be missing or unreadable gives an ERROR on the console or (frame counts)
// in ERRLOG.TXT and keeps the settings; accepted ones show in LIST, and SAVE writes them.
TEST_F(LocalConsole, TypedLinesAreRefusedOrTakenAndTheTakenOnesListedAndSaved) {
    // Line, refused, then the settings' first line after "SET " ("QUIT": it quits).
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"", 0, "VORN 16"},           {"  ", 1, "VORN 16"},
        {"QUI", 1, "VORN 16"},        {"help", 0, "VORN 16"},
        {"quit", 0, "QUIT"},          {"QUITTING now", 0, "QUIT"},
        {"SET PXT 64", 0, "PXT 64"},  {"SET HKQ 48", 1, "HKQ 64"},
        {"SET HKQ", 1, "HKQ 64"},     {"SET VORN 64", 0, "VORN 16"},
        {"SET wgn 513", 1, "WGN 16"}, {"SET PXT 512", 0, "PXT 512"}};
    for (const auto& [line, refused, after] : cases) {
        mode = Mode::Local;
        EXPECT_EQ(type(line).starts_with("ERROR: "), refused) << line;
        const std::string block = settingsBlock(settings);
        EXPECT_EQ(mode == Mode::Quit ? "QUIT" : block.substr(4, block.find('\n') - 4), after)
            << line;
    }
    EXPECT_TRUE(errlogLines().starts_with("EVENT: COMMAND IS \r\nEVENT: COMMAND IS   \r\n"));

    const std::string before = settingsBlock(settings);
    for (const char* line : {"SET", "SET FPS 10", "SET NUMFRAMES", "SET NUMFRAMES lots",
                             "SET NUMFRAMES -3", "SET BRCV", "SET BRCV x", "SET ECHO off", "SET IP",
                             "SET BFILE", "SET AFILE", "SET UDPPORT none"}) {
        std::filesystem::remove("ERRLOG.TXT");
        const std::string printed = type(line);
        const std::string logged = errlogLines();
        EXPECT_TRUE(printed.starts_with("ERROR: ") !=
                    (logged.find("\nERROR: ERROR: ") != std::string::npos))
            << line << ": " << printed << logged;
        EXPECT_EQ(settingsBlock(settings), before) << line;
    }

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

TEST_F(LocalConsole, ToggleNeedsAConnectionCloseDoesNothingLogOpensCvtWritesTheRecordingFirst) {
    EXPECT_EQ(type("TOGGLE"), "Got toggle\nERROR: Cannot enter pass through mode, not connected\n");
    EXPECT_EQ(mode, Mode::Local);
    EXPECT_EQ(type("CLOSE") + type("CBLOG") + type("CLOG"), "");
    type("LOG");
    type("LOG other.log");
    EXPECT_TRUE(textLog.isOpen() && std::filesystem::exists("Data.log") &&
                std::filesystem::exists("other.log"));
    type("SET NUMFRAMES 4");
    type("BLOG run1");
    const std::string frame = vornFrame(0);
    capture.store(std::as_bytes(std::span(frame)));
    type("CVT run1.txt run1");

    EXPECT_FALSE(capture.armed());
    EXPECT_EQ(readFile("run1"), frame);
    EXPECT_EQ(readFile("run1.txt"), printfLines(vornShape, {0}, " "));
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

TEST_F(LocalConsole, ErrlogAndTextLogKeepTheirBytesAndSayAFailureOnce) {
    outputs.log.event("Connected\n");
    outputs.log.error("ERROR: bind() failed with error 98\n");
    outputs.log.event("FERROW Version 0.90a");

    EXPECT_EQ(readFile("ERRLOG.TXT"),
              "EVENT, 3/3/2005 ,14:5:9.42, Connected\r\n\r\n"
              "ERROR, 3/3/2005 ,14:5:9.42, ERROR: bind() failed with error 98\r\n\r\n"
              "EVENT, 3/3/2005 ,14:5:9.42, FERROW Version 0.90a\r\n");
    EXPECT_EQ(outputs.takeConsole(), "");
    EXPECT_EQ(formatTimeStamp({2026, 12, 31, 23, 59, 58, 999}), ", 12/31/2026 ,23:59:58.999");

    // Unwritable: reported once, without waiting for a key.
    std::filesystem::remove("ERRLOG.TXT");
    std::filesystem::create_directory("ERRLOG.TXT");
    outputs.log.event("Connected\n");
    outputs.log.error("Cannot open file x\n");

    EXPECT_EQ(outputs.takeConsole(), "ERROR: Could not open to ERRLOG.TXT file\n");

    // The module's bytes exactly; a second open ends the first file; a file that cannot be opened
    // or written says so once and ends the log.
    std::string logged; // 100 kB: past any buffer, so /dev/full fails
    for (int i = 0; i < 4000; ++i) {
        logged += std::string("STATUS: READY\r\nbare\n\0end", 25);
    }
    textLog.close(); // nothing open: nothing said
    for (const char* file : {"first.log", "second.log", "no/such/dir/x.log", "/dev/full"}) {
        textLog.open(file);
        std::ranges::for_each(logged, [this](char byte) { textLog.logByte(byte); });
    }
    textLog.close();
    EXPECT_FALSE(textLog.isOpen());

    EXPECT_EQ(firstDifference(readFile("first.log"), logged), "");
    EXPECT_EQ(firstDifference(readFile("second.log"), logged), "");
    EXPECT_EQ(outputs.takeConsole(),
              "Opening log file first.log\nOpening log file second.log\n"
              "Opening log file no/such/dir/x.log\nCannot open log file no/such/dir/x.log\n"
              "Opening log file /dev/full\nERROR: Could not write to file /dev/full\n");
}

// A scan no key can end is given up after 5 s without a frame, or after 10 frame periods when
// the frames come slower; the period is measured from the frames that came, batches counted whole.
TEST(FrameSilence, AllowsTenMeasuredFramePeriodsAndAtLeastFiveSeconds) {
    const FrameSilence::Clock::time_point scan{};
    const struct {
        std::vector<std::pair<int, Milliseconds>> arrivals; // frames, when
        Milliseconds limit, deadline;
    } cases[] = {{{}, 5000ms, 5000ms},
                 {{{1, 3000ms}}, 5000ms, 8000ms},
                 {{{1, 0ms}, {1, 100ms}, {1, 200ms}}, 5000ms, 5200ms},
                 {{{1, 1000ms}, {1, 2000ms}, {1, 3001ms}}, 10005ms, 13006ms},
                 {{{4, 1000ms}, {0, 9000ms}, {2, 4000ms}}, 6000ms, 10000ms}};
    for (const auto& [arrivals, limit, deadline] : cases) {
        FrameSilence silence(scan);
        for (const auto& [frames, when] : arrivals) {
            silence.arrived(frames, scan + when);
        }
        EXPECT_EQ(silence.limit(), limit) << arrivals.size();
        EXPECT_EQ(silence.deadline(), scan + deadline) << arrivals.size();
    }
}

// Only a run without arguments captures; --help and --version print, anything else is refused
// with the usage; none of them writes a file.
TEST(Arguments, HelpAndVersionPrintAnythingElseIsRefusedAndNothingIsWritten) {
    TemporaryCurrentDirectory directory;
    const auto run = [](const std::vector<std::string_view>& arguments) {
        std::ostringstream out, err;
        const int code = runWithArguments(arguments, out, err);
        return std::tuple{code, out.str(), err.str()};
    };
    const std::string usage = std::get<1>(run({"--help"}));
    EXPECT_TRUE(usage.starts_with("Usage: ferrow [--help | --version]\n")) << usage;
    const std::string version = std::get<1>(run({"--version"}));
    EXPECT_TRUE(std::regex_match(version, std::regex("ferrow [0-9]+\\.[0-9]+\n"))) << version;
    const struct {
        std::vector<std::string_view> arguments;
        int code;
        std::string out, err;
    } cases[] = {{{"--help"}, 0, usage, ""},
                 {{"--version"}, 0, version, ""},
                 {{"--version", "--help"}, 0, usage, ""},
                 {{"-h"}, 2, "", "ferrow: unknown argument: -h\n" + usage},
                 {{"--help", "now"}, 2, "", "ferrow: unknown argument: now\n" + usage}};
    for (const auto& [arguments, code, out, err] : cases) {
        EXPECT_EQ(run(arguments), std::tuple(code, out, err)) << arguments.back();
    }
    EXPECT_TRUE(std::filesystem::is_empty(directory.path));
}

// A capture file name is Latin-1 bytes of any value; its JSON string is valid UTF-8 JSON.
TEST(CaptureSidecar, FileNamesBecomeJsonStringsAndTimesUtcWithMilliseconds) {
    const std::pair<std::string, std::string> cases[] = {
        {"run 1.bin", R"("run 1.bin")"},
        {R"(a"b\c.bin)", R"("a\"b\\c.bin")"},
        {std::string("\x01\t\n\r\x1f\x7f", 6), R"("\u0001\u0009\u000a\u000d\u001f\u007f")"},
        {std::string("\0", 1), R"("\u0000")"},
        {"caf\xe9 \xff", R"("caf\u00e9 \u00ff")"},
        {"", R"("")"},
    };
    for (const auto& [name, json] : cases) {
        EXPECT_EQ(jsonString(name), json) << name;
    }
    using namespace std::chrono;
    EXPECT_EQ(utcTimeText(system_clock::time_point(milliseconds(1796642403125))),
              "2026-12-07T11:20:03.125Z");
    EXPECT_EQ(utcTimeText(system_clock::time_point(microseconds(999))), "1970-01-01T00:00:00.000Z");
}

} // namespace
