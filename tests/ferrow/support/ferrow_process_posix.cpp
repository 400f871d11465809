#include "ferrow_process.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace ferrow::test {

namespace fs = std::filesystem;

FerrowProcess::FerrowProcess(const fs::path& dir, Console console) {
    const char* binaries = std::getenv("VORN_BIN_DIR");
    const char* chosen = std::getenv("VORN_FERROW");
    const std::string program =
        chosen ? chosen : std::string(binaries ? binaries : ".") + "/ferrow";
    const char* launcher = std::getenv("VORN_FERROW_LAUNCHER");
    windowsProgram_ = launcher != nullptr;
    const bool terminal = console == Console::Terminal;
    int keys[2] = {-1, -1}, output[2] = {-1, -1};
    // Close-on-exec: a write end of the keys pipe left open in ferrow would hide the end of its
    // input. A terminal's leader side is both ends for the test, its follower both for ferrow.
    if (terminal ? openpty(&keys[1], &terminalFd_, nullptr, nullptr, nullptr) != 0 ||
                       fcntl(keys[1], F_SETFD, FD_CLOEXEC) != 0
                 : pipe2(keys, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipes or pseudo-terminal for ferrow");
    }
    if (terminal) {
        keys[0] = output[1] = terminalFd_;
        output[0] = keys[1];
    }
    if (console == Console::NullDevice) {
        closeAll({&keys[0], &keys[1]});
        keys[0] = open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
    keysFd_ = keys[1];
    outputFd_ = output[0];
    pid_ = fork();
    if (pid_ == 0) {
        if (terminal) {
            setsid();
            ioctl(terminalFd_, TIOCSCTTY, 0);
        }
        dup2(keys[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        if (chdir(dir.c_str()) == 0) {
            launcher ? execl(launcher, launcher, program.c_str(), static_cast<char*>(nullptr))
                     : execl(program.c_str(), "ferrow", static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    if (!terminal) {
        closeAll({&keys[0], &output[1]});
    }
}

FerrowProcess::~FerrowProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    endKeys();
    closeAll({&outputFd_, &terminalFd_});
}

void FerrowProcess::type(std::string_view keys) {
    [[maybe_unused]] const ssize_t written = write(keysFd_, keys.data(), keys.size());
}

void FerrowProcess::endKeys() {
    if (keysFd_ != outputFd_) { // a terminal's keys and output share one descriptor
        closeAll({&keysFd_});
    }
}

bool FerrowProcess::readOutput(Milliseconds limit) {
    if (outputEnded_ || !readable(outputFd_, limit)) {
        return false;
    }
    char bytes[4096];
    const ssize_t count = read(outputFd_, bytes, sizeof bytes);
    // End of the pipe, or EIO once the terminal's last user has gone: ferrow has ended.
    outputEnded_ = count <= 0;
    output_.append(bytes, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    return !outputEnded_;
}

std::string FerrowProcess::output() const {
    return windowsProgram_ ? std::regex_replace(output_, std::regex("\r\n"), "\n") : output_;
}

bool FerrowProcess::waitForOutput(std::string_view text, Milliseconds limit) {
    const auto arrived = [&] { return output().find(text) != std::string::npos; };
    retryUntil([&](Milliseconds left) { return arrived() || (!readOutput(left) && outputEnded_); },
               limit);
    return arrived();
}

std::optional<int> FerrowProcess::waitForExit(Milliseconds limit) {
    int status = 0;
    // Output is read meanwhile so that ferrow never blocks on a full pipe; once that has ended,
    // the exit is looked for every few milliseconds.
    const auto exited = [&](Milliseconds left) {
        return waitpid(pid_, &status, WNOHANG) == pid_ ||
               (!readOutput(std::min(left, 5ms)) && outputEnded_ && poll(nullptr, 0, 5) < 0);
    };
    if (pid_ <= 0 || !retryUntil(exited, limit)) {
        return std::nullopt;
    }
    pid_ = -1;
    while (readOutput(0ms)) {
    }
    return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
}

void FerrowProcess::signal(int signalNumber) {
    if (pid_ > 0) { // never -1: that would reach every process of the user
        kill(pid_, signalNumber);
    }
}

bool FerrowProcess::terminalCooked() const {
    termios settings{};
    return tcgetattr(terminalFd_, &settings) == 0 &&
           (settings.c_lflag & (ICANON | ECHO)) == (ICANON | ECHO);
}

} // namespace ferrow::test
