#include "ferrow_process.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace ferrow::test {

namespace {

std::string ferrowPath() {
    const char* directory = std::getenv("VORN_BIN_DIR");
    return std::string(directory ? directory : ".") + "/ferrow";
}

std::chrono::milliseconds leftUntil(std::chrono::steady_clock::time_point deadline) {
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now()));
}

} // namespace

FerrowProcess::FerrowProcess(const std::filesystem::path& directory, Console console) {
    const std::string program = ferrowPath();
    int keys[2] = {-1, -1};
    int output[2] = {-1, -1};
    if (console == Console::Terminal) {
        int leader = -1;
        if (openpty(&leader, &terminalFd_, nullptr, nullptr, nullptr) != 0) {
            throw std::runtime_error("no pseudo-terminal");
        }
        fcntl(leader, F_SETFD, FD_CLOEXEC);
        keys[0] = output[1] = terminalFd_;
        keysFd_ = outputFd_ = leader;
    } else if (pipe2(keys, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0) {
        // Close-on-exec: a write end of the keys pipe left open in ferrow would hide the end of
        // its input.
        throw std::runtime_error("no pipes");
    } else {
        keysFd_ = keys[1];
        outputFd_ = output[0];
    }
    pid_ = fork();
    if (pid_ == 0) {
        if (console == Console::Terminal) {
            setsid();
            ioctl(terminalFd_, TIOCSCTTY, 0);
        }
        dup2(keys[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        if (chdir(directory.c_str()) == 0) {
            execl(program.c_str(), "ferrow", static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    if (console == Console::Pipes) {
        close(keys[0]);
        close(output[1]);
    }
}

FerrowProcess::~FerrowProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (keysFd_ >= 0 && keysFd_ != outputFd_) {
        close(keysFd_);
    }
    for (const int fd : {outputFd_, terminalFd_}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void FerrowProcess::type(std::string_view keys) {
    if (keysFd_ >= 0) {
        [[maybe_unused]] const ssize_t written = write(keysFd_, keys.data(), keys.size());
    }
}

void FerrowProcess::endKeys() {
    if (keysFd_ >= 0 && keysFd_ != outputFd_) {
        close(keysFd_);
        keysFd_ = -1;
    }
}

bool FerrowProcess::readOutput(std::chrono::milliseconds limit) {
    pollfd entry{outputFd_, POLLIN, 0};
    if (outputEnded_ || poll(&entry, 1, static_cast<int>(limit.count())) <= 0) {
        return false;
    }
    char bytes[4096];
    const ssize_t count = read(outputFd_, bytes, sizeof bytes);
    if (count <= 0) {
        // End of the pipe, or EIO once the terminal's last user has gone: ferrow has ended.
        outputEnded_ = true;
        return false;
    }
    output_.append(bytes, static_cast<std::size_t>(count));
    return true;
}

bool FerrowProcess::waitForOutput(std::string_view text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (output_.find(text) == std::string::npos) {
        if (!readOutput(leftUntil(deadline)) &&
            (outputEnded_ || leftUntil(deadline).count() == 0)) {
            return output_.find(text) != std::string::npos;
        }
    }
    return true;
}

std::optional<int> FerrowProcess::waitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    // Output is read meanwhile so that ferrow never blocks on a full pipe.
    while (pid_ > 0) {
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) {
            pid_ = -1;
            break;
        }
        if (leftUntil(deadline).count() == 0) {
            return std::nullopt;
        }
        if (!readOutput(std::min(leftUntil(deadline), std::chrono::milliseconds(20)))) {
            if (outputEnded_ && waitpid(pid_, &status, 0) == pid_) {
                pid_ = -1;
            }
        }
    }
    while (readOutput(std::chrono::milliseconds(0))) {
    }
    if (!WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

void FerrowProcess::signal(int signalNumber) {
    if (pid_ > 0) {
        kill(pid_, signalNumber);
    }
}

std::optional<unsigned> FerrowProcess::terminalLocalFlags() const {
    termios settings{};
    if (terminalFd_ < 0 || tcgetattr(terminalFd_, &settings) != 0) {
        return std::nullopt;
    }
    return static_cast<unsigned>(settings.c_lflag);
}

} // namespace ferrow::test
