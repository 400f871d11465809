// Capture throughput and idle cost of ferrow. A sendmmsg sender pushes VORN frames on loopback
// as fast as the kernel takes them, first to the real ferrow program, then to a spinning
// reference receive loop with the same receive buffer, each on a quiet computer and again with
// one busy process per core beside them; then ferrow's CPU use while idle. Frames per second
// are each capture's own, from its first to its last stored frame, so that runs compare.
//
//   capture_bench [frames]   (default 1,000,000; writes the capture and its CSV to a scratch
//                             folder under the system's temporary directory)

#include "link/module_link.h"
#include "support/ferrow_process.h"
#include "support/module_stand_in.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <netinet/in.h>
#include <optional>
#include <regex>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace ferrow::test;
using Clock = std::chrono::steady_clock;
using WallClock = std::chrono::system_clock;

constexpr std::size_t frameSize = 104;
constexpr unsigned batch = 256;
// A receiver that has taken nothing new for this long has taken all it will.
constexpr auto quietLimit = std::chrono::seconds(2);
constexpr long long millisecondsPerDay = 24LL * 3600 * 1000;

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

// Milliseconds since local midnight, the clock ERRLOG.TXT's records are stamped with.
long long localMillisecondOfDay(WallClock::time_point when) {
    const std::time_t seconds = WallClock::to_time_t(when);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() %
        1000;
    return ((parts.tm_hour * 60LL + parts.tm_min) * 60 + parts.tm_sec) * 1000 + milliseconds;
}

// Sends frames numbered 0..count-1 in sendmmsg batches.
void sendFrames(int port, std::uint32_t count) {
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(static_cast<std::uint16_t>(port));
    std::vector<std::string> frames(batch);
    std::vector<iovec> areas(batch);
    std::vector<mmsghdr> headers(batch);
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
    close(sender);
}

struct Run {
    std::uint64_t stored = 0;
    double framesPerSecond = 0; // from the first stored frame to the last
    double cpu = 0;
    std::string buffer; // the receive buffer granted, as the receiver saw it
};

void printRow(const char* receiver, std::uint32_t sent, const Run& run) {
    std::printf("%-22s sent %9u  stored %9llu  lost %9llu  %10.0f frames/s  CPU %6.2f s  %s\n",
                receiver, sent, static_cast<unsigned long long>(run.stored),
                static_cast<unsigned long long>(sent - run.stored), run.framesPerSecond, run.cpu,
                run.buffer.c_str());
}

// What ferrow's own records say: the receive buffer it was granted, and how many frames it had
// stored at the last "Read n" or "Completed data read" record and when (local milliseconds of
// the day).
struct FerrowRecords {
    std::string buffer;
    std::uint64_t lastCount = 0;
    long long lastAt = -1;
};

FerrowRecords readErrlog(std::uint32_t count) {
    FerrowRecords records;
    std::ifstream errlog("ERRLOG.TXT");
    const std::regex stamped(R"(^EVENT, [0-9/]+ ,(\d+):(\d+):(\d+)\.(\d+), (.*?)\r?$)");
    std::string line;
    std::smatch parts;
    while (std::getline(errlog, line)) {
        if (!std::regex_match(line, parts, stamped)) {
            continue;
        }
        const std::string text = parts[5];
        const long long at =
            ((std::stoll(parts[1]) * 60 + std::stoll(parts[2])) * 60 + std::stoll(parts[3])) *
                1000 +
            std::stoll(parts[4]);
        if (text.starts_with("UDP receive buffer")) {
            records.buffer = text;
        } else if (text == "Completed data read") {
            records.lastCount = count;
            records.lastAt = at;
        } else if (text.starts_with("Read ")) {
            records.lastCount = std::stoull(text.substr(5));
            records.lastAt = at;
        }
    }
    return records;
}

Run benchFerrow(std::uint32_t count) {
    TemporaryCurrentDirectory directory;
    ModuleStandIn module;
    const int port = freeUdpPort();
    writeFile("FERROW.CFG", "SET IPADDR " + module.address() + "\r\nSET FPS " +
                                std::to_string(count) + "\r\nSET BFILENAME bench.bin\r\n" +
                                "SET UDPPORT " + std::to_string(port) + "\r\n");
    FerrowProcess ferrow(directory.path);
    ferrow.endKeys();
    Run run;
    if (!module.waitForReceived("SCAN\r")) {
        std::printf("ferrow did not start\n");
        return run;
    }
    // ferrow waits in poll, so it takes the first frame the moment it is sent.
    const long long firstAt = localMillisecondOfDay(WallClock::now());
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
    run.cpu = cpuSecondsOf(ferrow.pid());
    if (!complete) {
        ferrow.signal(SIGTERM);
    }
    ferrow.waitForExit(std::chrono::minutes(5));
    run.stored = std::filesystem::file_size("bench.bin") / frameSize;
    const FerrowRecords records = readErrlog(count);
    run.buffer = records.buffer;
    if (records.lastAt >= 0) {
        const long long span = (records.lastAt - firstAt + millisecondsPerDay) % millisecondsPerDay;
        run.framesPerSecond = static_cast<double>(records.lastCount) /
                              (static_cast<double>(std::max(span, 1LL)) / 1000);
    }
    return run;
}

// The reference: a loop that never waits, one recvfrom after another, into one buffer.
Run benchSpinningLoop(std::uint32_t count) {
    Run run;
    const int receiver = socket(AF_INET, SOCK_DGRAM, 0);
    int size = ferrow::ModuleLink::requestedReceiveBuffer;
    if (setsockopt(receiver, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
        setsockopt(receiver, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    int granted = 0;
    socklen_t grantedLength = sizeof granted;
    getsockopt(receiver, SOL_SOCKET, SO_RCVBUF, &granted, &grantedLength);
    run.buffer = ferrow::ModuleLink::receiveBufferEvent(granted, size);
    run.buffer.pop_back();
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(receiver, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&local), &length);
    const int port = ntohs(local.sin_port);

    int counts[2];
    if (pipe(counts) != 0) {
        return run;
    }
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char> buffer(static_cast<std::size_t>(count) * frameSize);
        std::uint64_t stored = 0;
        char area[4096];
        Clock::time_point firstFrame;
        auto lastFrame = Clock::now();
        while (stored < count && Clock::now() - lastFrame < quietLimit) {
            const ssize_t received =
                recvfrom(receiver, area, sizeof area, MSG_DONTWAIT, nullptr, nullptr);
            if (received > 0) {
                std::copy_n(area, frameSize, buffer.data() + stored * frameSize);
                ++stored;
                lastFrame = Clock::now();
                if (stored == 1) {
                    firstFrame = lastFrame;
                }
            }
        }
        const double seconds = std::chrono::duration<double>(lastFrame - firstFrame).count();
        [[maybe_unused]] auto written = write(counts[1], &stored, sizeof stored);
        written = write(counts[1], &seconds, sizeof seconds);
        _exit(0);
    }
    sendFrames(port, count);
    double seconds = 0;
    [[maybe_unused]] auto got = read(counts[0], &run.stored, sizeof run.stored);
    got = read(counts[0], &seconds, sizeof seconds);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (run.stored > 1 && seconds > 0) {
        run.framesPerSecond = static_cast<double>(run.stored - 1) / seconds;
    }
    close(counts[0]);
    close(counts[1]);
    close(receiver);
    return run;
}

// One busy process per core for as long as it lives, like a build beside the capture.
class BusyCores {
public:
    BusyCores() {
        const long cores = sysconf(_SC_NPROCESSORS_ONLN);
        for (long i = 0; i < cores; ++i) {
            const pid_t child = fork();
            if (child == 0) {
                // Ends by the destructor's signal, or with the benchmark if that dies first.
                prctl(PR_SET_PDEATHSIG, SIGKILL);
                for (;;) {
                    asm volatile("");
                }
            }
            children_.push_back(child);
        }
    }
    ~BusyCores() {
        for (const pid_t child : children_) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;
    std::size_t count() const { return children_.size(); }

private:
    std::vector<pid_t> children_;
};

void benchBoth(std::uint32_t count) {
    printRow("ferrow (waits in poll)", count, benchFerrow(count));
    printRow("spinning reference", count, benchSpinningLoop(count));
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
    std::printf("capture_bench: %u VORN frames of %zu bytes on loopback, %d-byte receive buffers "
                "asked\n",
                count, frameSize, ferrow::ModuleLink::requestedReceiveBuffer);
    std::printf("-- quiet computer\n");
    benchBoth(count);
    {
        const BusyCores busy;
        std::printf("-- loaded: %zu busy processes, one per core\n", busy.count());
        benchBoth(count);
    }
    benchIdle();
    return 0;
}
