#include "ferrow_test_support.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <bit>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace ferrow::test {

namespace fs = std::filesystem;

namespace {

float valueOf(std::uint32_t frame, int index) {
    return static_cast<float>(index) * 0.25f - 2.0f + static_cast<float>(frame % 100) * 10.0f;
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

// Closes each open descriptor and marks it closed.
void closeAll(std::initializer_list<int*> fds) {
    for (int* fd : fds) {
        if (*fd >= 0) {
            close(std::exchange(*fd, -1));
        }
    }
}

} // namespace

bool retryUntil(const std::function<bool(Milliseconds left)>& attempt, Milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now());
        if (attempt(std::max(left, 0ms))) {
            return true;
        }
        if (left <= 0ms) {
            return false;
        }
    }
}

bool readable(int fd, Milliseconds limit) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, static_cast<int>(limit.count())) > 0;
}

TemporaryCurrentDirectory::TemporaryCurrentDirectory() {
    static std::atomic<int> counter = 0;
    path = fs::temp_directory_path() /
           ("ferrow-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path);
    fs::create_directories(path);
    fs::current_path(path);
}

TemporaryCurrentDirectory::~TemporaryCurrentDirectory() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(path, ignored);
}

std::string readFile(const fs::path& file) {
    std::ifstream input(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

std::string firstDifference(std::string_view actual, std::string_view expected) {
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const std::string_view before(actual.begin(), at.first);
    const std::size_t start = before.rfind('\n') + 1; // npos + 1 = 0
    const auto lineAt = [start](std::string_view text) {
        return std::string(text.substr(start, std::min(text.find('\n', start) - start, 200ul)));
    };
    return actual == expected ? ""
                              : "sizes " + std::to_string(actual.size()) + " and " +
                                    std::to_string(expected.size()) + "; line " +
                                    std::to_string(std::ranges::count(before, '\n') + 1) +
                                    " differs:\n  actual:   \"" + lineAt(actual) +
                                    "\"\n  expected: \"" + lineAt(expected) + "\"";
}

std::string errlogLines() {
    const std::string unstamped = std::regex_replace(
        readFile("ERRLOG.TXT"), std::regex(", [0-9]+/[0-9]+/[0-9]+ ,[0-9:.]+, "), ": ");
    return std::regex_replace(unstamped, std::regex("\r\n(\r\n)?"), "\n");
}

std::string records(const RecordShape& shape, const std::vector<std::uint32_t>& frames) {
    std::string bytes;
    for (const std::uint32_t frame : frames) {
        std::string record(static_cast<std::size_t>(shape.size), '\xAA');
        const auto put = [&record](int offset, std::uint32_t value) {
            for (int i = 0; i < 4; ++i) {
                record[static_cast<std::size_t>(offset + i)] = static_cast<char>(value >> (8 * i));
            }
        };
        put(shape.numberOffset, frame);
        for (int i = 0; i < shape.valueCount; ++i) {
            put(shape.valuesOffset + 4 * i, std::bit_cast<std::uint32_t>(valueOf(frame, i)));
        }
        bytes += record;
    }
    return bytes;
}

std::string printfLines(const RecordShape& shape, const std::vector<std::uint32_t>& frames,
                        const char* separator, const char* suffix) {
    std::string text;
    char value[64];
    for (const std::uint32_t frame : frames) {
        std::snprintf(value, sizeof value, "%lu", static_cast<unsigned long>(frame));
        text += value;
        for (int i = 0; i < shape.valueCount; ++i) {
            std::snprintf(value, sizeof value, "%s%f%s", separator,
                          static_cast<double>(valueOf(frame, i)), suffix);
            text += value;
        }
        text += "\r\n";
    }
    return text;
}

ModuleStandIn::ModuleStandIn() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sender_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (listener_ < 0 || sender_ < 0 ||
        bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("module stand-in cannot listen");
    }
    commandPort_ = ntohs(address.sin_port);
}

ModuleStandIn::~ModuleStandIn() {
    closeAll({&listener_, &client_, &sender_});
}

bool ModuleStandIn::acceptClient(Milliseconds limit) {
    if (!readable(listener_, limit)) {
        return false;
    }
    hangUp();
    client_ = accept(listener_, nullptr, nullptr);
    received_.clear();
    hungUp_ = false;
    return client_ >= 0;
}

bool ModuleStandIn::waitForReceived(std::string_view text, Milliseconds limit) {
    const auto done = [&] {
        return text.empty() ? hungUp_ : received_.find(text) != std::string::npos;
    };
    retryUntil(
        [&](Milliseconds left) {
            if ((client_ >= 0 || acceptClient(left)) && !hungUp_ && readable(client_, left)) {
                char bytes[4096];
                const ssize_t count = recv(client_, bytes, sizeof bytes, 0);
                hungUp_ = count <= 0;
                received_.append(bytes, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
            }
            return done() || hungUp_;
        },
        limit);
    return done();
}

void ModuleStandIn::sendText(std::string_view text) {
    send(client_, text.data(), text.size(), MSG_NOSIGNAL);
}

void ModuleStandIn::hangUp() {
    closeAll({&client_});
}

void ModuleStandIn::sendDatagram(int port, std::string_view bytes) {
    const sockaddr_in target = loopback(port);
    sendto(sender_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
           sizeof target);
}

int freeUdpPort() {
    // Probed on the IPv6 wildcard, where ferrow's dual-stack receiver binds.
    int probe = socket(AF_INET6, SOCK_DGRAM, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_any;
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closeAll({&probe});
    return ntohs(address.sin6_port);
}

FerrowProcess::FerrowProcess(const fs::path& dir, Console console) {
    const char* binaries = std::getenv("VORN_BIN_DIR");
    const std::string program = std::string(binaries ? binaries : ".") + "/ferrow";
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
            execl(program.c_str(), "ferrow", static_cast<char*>(nullptr));
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

bool FerrowProcess::waitForOutput(std::string_view text, Milliseconds limit) {
    const auto arrived = [&] { return output_.find(text) != std::string::npos; };
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
