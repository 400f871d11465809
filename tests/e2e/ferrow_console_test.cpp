// ferrow end to end on a pseudo-terminal, as an operator's console.
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace ferrow::test;

// ferrow on a terminal, connected to a module stand-in, waiting for keys in its scan.
struct FerrowConsole : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(module.waitForReceived("SCAN\r"));
        ASSERT_TRUE(ferrow.waitForOutput("Press <ESC> to stop scan"));
        EXPECT_FALSE(ferrow.terminalCooked());
    }
    // The terminal is in its cooked mode again however ferrow ended.
    void TearDown() override {
        if (ferrow.pid() > 0) {
            EXPECT_EQ(ferrow.waitForExit(), 0);
        }
        EXPECT_TRUE(ferrow.terminalCooked());
    }
    std::string startOfOutput() const {
        return "FERROW Version 0.90a\r\nConnecting to " + module.address() +
               "\r\nPress <ESC> to stop scan\r\n";
    }

    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    // Written before ferrow starts and reads it.
    const bool configured =
        (writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET UDPPORT 0\r\n"), true);
    FerrowProcess ferrow{directory.path, FerrowProcess::Console::Terminal};
};

TEST_F(FerrowConsole, ArrowKeysDoNotCancelALoneEscDoes) {
    ferrow.type("\x1b[A");
    ferrow.type("x");
    ASSERT_TRUE(module.waitForReceived("SCAN\rx"));
    ferrow.type("\x1b");

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_TRUE(module.waitForReceived("SCAN\rx\x1b"));
    EXPECT_EQ(module.received(), "SCAN\rx\x1b");
    // The ESC is not echoed: the terminal would take it as the start of a control sequence.
    EXPECT_EQ(ferrow.output(), startOfOutput() + "x");
}

TEST_F(FerrowConsole, CtrlSIsAKeyCtrlBracketGoesLocalAndTheTerminalsBackspaceErases) {
    // Ctrl-S goes to the module instead of stopping the console's output.
    ferrow.type("\x13");
    ASSERT_TRUE(module.waitForReceived("SCAN\r\x13"));
    // The terminal sends DEL for Backspace; QUIX, Backspace, T is QUIT.
    ferrow.type("\x1d");
    ferrow.type("HELP\rQUIX\x7fT\r");

    ASSERT_EQ(ferrow.waitForExit(), 0);
    EXPECT_EQ(module.received(), "SCAN\r\x13");
    EXPECT_EQ(ferrow.output(),
              startOfOutput() + "\x13\x1d\r\nLOCAL>HELP\r\r\n\r\nLOCAL>QUIX\b \bT\r\r\n");
}

TEST_F(FerrowConsole, TerminalIsRestoredWhenInterrupted) {
    ferrow.signal(SIGTERM);
}

} // namespace
