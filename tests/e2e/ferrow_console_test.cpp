// ferrow end to end on a pseudo-terminal, as an operator's console.
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <gtest/gtest.h>

#include <csignal>
#include <tuple>

namespace {

using namespace ferrow::test;

// ferrow on a terminal, connected to a module stand-in and in its scan, gets keys until the
// module has seen some, then the rest, or SIGTERM when there is none. The terminal is raw during
// the scan and cooked again however ferrow ended.
TEST(FerrowConsole, KeysGoToTheModuleOrTheLocalConsoleAndTheTerminalIsRestoredHoweverItEnds) {
    // Arrow keys do not cancel, a lone ESC does; it is not echoed, as the terminal would take it
    // for the start of a control sequence. Ctrl-S goes to the module instead of stopping the
    // output, Ctrl-] goes local, and the terminal's Backspace (DEL) erases: QUIX, DEL, T is QUIT.
    const std::tuple<const char*, const char*, const char*, const char*, const char*> runs[] = {
        {"\x1b[Ax", "SCAN\rx", "\x1b", "SCAN\rx\x1b", "x"},
        {"\x13", "SCAN\r\x13", "\x1dHELP\rQUIX\x7fT\r", "SCAN\r\x13",
         "\x13\x1d\r\nLOCAL>HELP\r\r\n\r\nLOCAL>QUIX\b \bT\r\r\n"},
        {"", "SCAN\r", "", "SCAN\r", ""}};
    for (const auto& [keys, seen, rest, received, echoed] : runs) {
        SCOPED_TRACE(received);
        TemporaryCurrentDirectory directory;
        ModuleStandIn module;
        writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET UDPPORT 0\r\n");
        FerrowProcess ferrow(directory.path, FerrowProcess::Console::Terminal);
        ASSERT_TRUE(module.waitForReceived("SCAN\r") &&
                    ferrow.waitForOutput("Press <ESC> to stop scan"));
        EXPECT_FALSE(ferrow.terminalCooked());
        ferrow.type(keys);
        ASSERT_TRUE(module.waitForReceived(seen));
        *rest ? ferrow.type(rest) : ferrow.signal(SIGTERM);

        ASSERT_EQ(ferrow.waitForExit(), 0);
        EXPECT_TRUE(ferrow.terminalCooked());
        module.waitForReceived(received);
        EXPECT_EQ(module.received(), received);
        EXPECT_EQ(ferrow.output(), "FERROW Version 0.90a\r\nConnecting to " + module.address() +
                                       "\r\nPress <ESC> to stop scan\r\n" + echoed);
    }
}

} // namespace
