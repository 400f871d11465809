// Capture throughput and idle cost of ferrow. A sendmmsg sender pushes VORN frames on loopback
// as fast as the kernel takes them, first to the real ferrow program, then to a spinning
// reference receive loop with the same receive buffer; then ferrow's CPU use while idle.
//
//   capture_bench [frames]   (default 1,000,000; writes the capture and its CSV to a scratch
//                             folder under the system's temporary directory)

#include "link/module_link.h"
#include "support/ferrow_test_support.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace ferrow::test;
using Clock = std::chrono::steady_clock;

constexpr std::size_t frameSize = 104;
constexpr unsigned batch = 256;
// A receiver that has taken nothing new for this long has taken all it will.
constexpr auto quietLimit = std::chrono::seconds(2);

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User + system CPU seconds of a running process, from /proc.
double cpuSecondsOf(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    // The command name is in parentheses and has no spaces here ("ferrow").
    for (int i = 1; i <= 13 && stat >> field; ++i) {
    }
    double user = 0;
    double system = 0;
    stat >> user >> system;
    return (user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Sends frames numbered 0..count-1 in sendmmsg batches; returns the seconds it took.
double sendFrames(int port, std::uint32_t count) {
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(static_cast<std::uint16_t>(port));
    std::vector<std::string> frames(batch);
    std::vector<iovec> areas(batch);
    std::vector<mmsghdr> headers(batch);
    const auto start = Clock::now();
    for (std::uint32_t first = 0; first < count; first += batch) {
        const unsigned inBatch = std::min<std::uint32_t>(batch, count - first);
        for (unsigned i = 0; i < inBatch; ++i) {
            frames[i] = vornFrame(first + i);
            areas[i] = {frames[i].data(), frameSize};
            headers[i] = {};
            headers[i].msg_hdr.msg_name = &target;
            headers[i].msg_hdr.msg_namelen = sizeof target;
            headers[i].msg_hdr.msg_iov = &areas[i];
            headers[i].msg_hdr.msg_iovlen = 1;
        }
        unsigned sent = 0;
        while (sent < inBatch) {
            const int now = sendmmsg(sender, headers.data() + sent, inBatch - sent, 0);
            if (now > 0) {
                sent += static_cast<unsigned>(now);
            }
        }
    }
    const double seconds = secondsSince(start);
    close(sender);
    return seconds;
}

void printRow(const char* receiver, std::uint32_t sent, std::uint64_t stored, double seconds,
              double cpu) {
    std::printf("%-22s sent %9u  stored %9llu  lost %9llu  %10.0f frames/s  CPU %6.2f s\n",
                receiver, sent, static_cast<unsigned long long>(stored),
                static_cast<unsigned long long>(sent - stored),
                static_cast<double>(stored) / seconds, cpu);
}

void benchFerrow(std::uint32_t count) {
    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    const int port = freeUdpPort();
    writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET FPS " +
                                std::to_string(count) + "\r\nSET BFILENAME bench.bin\r\n" +
                                "SET UDPPORT " + std::to_string(port) + "\r\n");
    FerrowProcess ferrow(directory.path);
    ferrow.endKeys();
    if (!module.waitForReceived("SCAN\r")) {
        std::printf("ferrow did not start\n");
        return;
    }
    const auto start = Clock::now();
    sendFrames(port, count);
    // Completes by itself when nothing was lost; otherwise it waits for frames that never come.
    std::size_t lastOutput = 0;
    auto lastChange = Clock::now();
    while (!ferrow.waitForOutput("Completed data read", std::chrono::milliseconds(100)) &&
           Clock::now() - lastChange < quietLimit) {
        if (ferrow.output().size() != lastOutput) {
            lastOutput = ferrow.output().size();
            lastChange = Clock::now();
        }
    }
    const bool complete = ferrow.output().find("Completed data read") != std::string::npos;
    // Without completion, the last progress line is the best end time there is.
    const double seconds =
        complete ? secondsSince(start) : std::chrono::duration<double>(lastChange - start).count();
    const double cpu = cpuSecondsOf(ferrow.pid());
    if (!complete) {
        ferrow.signal(SIGTERM);
    }
    ferrow.waitForExit(std::chrono::minutes(5));
    const auto stored = std::filesystem::file_size("bench.bin") / frameSize;
    printRow("ferrow (waits in poll)", count, stored, seconds, cpu);
}

// The reference: a loop that never waits, one recvfrom after another, into one buffer.
void benchSpinningLoop(std::uint32_t count) {
    const int receiver = socket(AF_INET, SOCK_DGRAM, 0);
    int size = ferrow::ModuleLink::requestedReceiveBuffer;
    if (setsockopt(receiver, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
        setsockopt(receiver, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(receiver, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&local), &length);
    const int port = ntohs(local.sin_port);

    int counts[2];
    if (pipe(counts) != 0) {
        return;
    }
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char> buffer(static_cast<std::size_t>(count) * frameSize);
        std::uint64_t stored = 0;
        char area[4096];
        auto lastFrame = Clock::now();
        while (stored < count && Clock::now() - lastFrame < quietLimit) {
            const ssize_t received =
                recvfrom(receiver, area, sizeof area, MSG_DONTWAIT, nullptr, nullptr);
            if (received > 0) {
                std::copy_n(area, frameSize, buffer.data() + stored * frameSize);
                ++stored;
                lastFrame = Clock::now();
            }
        }
        const double seconds = std::chrono::duration<double>(lastFrame.time_since_epoch()).count();
        [[maybe_unused]] auto written = write(counts[1], &stored, sizeof stored);
        written = write(counts[1], &seconds, sizeof seconds);
        _exit(0);
    }
    const auto start = Clock::now();
    sendFrames(port, count);
    std::uint64_t stored = 0;
    double lastFrameAt = 0;
    [[maybe_unused]] auto got = read(counts[0], &stored, sizeof stored);
    got = read(counts[0], &lastFrameAt, sizeof lastFrameAt);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    const double seconds =
        lastFrameAt - std::chrono::duration<double>(start.time_since_epoch()).count();
    printRow("spinning reference", count, stored, seconds, cpu);
    close(counts[0]);
    close(counts[1]);
    close(receiver);
}

void benchIdle() {
    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET UDPPORT " +
                                std::to_string(freeUdpPort()) + "\r\n");
    FerrowProcess ferrow(directory.path);
    if (!module.waitForReceived("SCAN\r") || !ferrow.waitForOutput("Press <ESC>")) {
        std::printf("ferrow did not start\n");
        return;
    }
    const double before = cpuSecondsOf(ferrow.pid());
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const double used = cpuSecondsOf(ferrow.pid()) - before;
    std::printf("ferrow idle for 5 s, connected, keys open: CPU %.2f s (%.2f %% of a core)\n", used,
                used / 5.0 * 100.0);
    ferrow.type("\x1b");
    ferrow.waitForExit();
}

} // namespace

int main(int argc, char** argv) {
    // ferrow is found beside this program unless the environment says otherwise.
    setenv("VORN_BIN_DIR", std::filesystem::canonical("/proc/self/exe").parent_path().c_str(), 0);
    const std::uint32_t count =
        argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000;
    std::printf("capture_bench: %u VORN frames of %zu bytes on loopback, %d-byte receive buffers\n",
                count, frameSize, ferrow::ModuleLink::requestedReceiveBuffer);
    benchFerrow(count);
    benchSpinningLoop(count);
    benchIdle();
    return 0;
}
