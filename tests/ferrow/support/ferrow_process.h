#pragma once

#include "ferrow_test_support.h"

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ferrow::test {

// The real ferrow (from VORN_BIN_DIR, or VORN_FERROW, run by VORN_FERROW_LAUNCHER when set: wine
// for a Windows build) in a directory, its keys and output through pipes, a pseudo-terminal as an
// operator's console, or without keys: standard input the null device.
class FerrowProcess {
public:
    enum class Console { Pipes, Terminal, NullDevice };

    explicit FerrowProcess(const std::filesystem::path& dir, Console console = Console::Pipes);
    ~FerrowProcess();
    FerrowProcess(const FerrowProcess&) = delete;
    FerrowProcess& operator=(const FerrowProcess&) = delete;
    void type(std::string_view keys);
    // Ends standard input (pipes only): ferrow gets no more keys.
    void endKeys();
    // Reads ferrow's output until it holds text; false when it did not come within the limit.
    bool waitForOutput(std::string_view text, Milliseconds limit = patience);
    // The exit code once ferrow has ended; nothing when it was killed or did not end in time.
    std::optional<int> waitForExit(Milliseconds limit = 3 * patience);
    void signal(int signalNumber);
    // Asks ferrow to stop as a closing terminal does, with SIGTERM; a Windows program gets
    // SIGINT, its Ctrl-C, since wine ends a program on SIGTERM without its console handler.
    void askToStop() { signal(windowsProgram_ ? SIGINT : SIGTERM); }
    // What ferrow printed; a Windows program's CR LF line ends (its console's text mode) as LF.
    std::string output() const;
    // Process id while ferrow runs, -1 once it has ended.
    int pid() const { return pid_; }
    // Whether the terminal is in its cooked mode (line editing and echo) now; Terminal only.
    bool terminalCooked() const;

private:
    bool readOutput(Milliseconds limit);

    int pid_ = -1, keysFd_ = -1, outputFd_ = -1;
    int terminalFd_ = -1; // the pseudo-terminal's follower side, kept to read its settings
    bool outputEnded_ = false;
    bool windowsProgram_ = false;
    std::string output_;
};

} // namespace ferrow::test
