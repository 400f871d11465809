#pragma once

#include "console/outputs.h"
#include "log/errlog.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace ferrow::test {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// How long a test waits for anything: generous, since CI runs on busy two-core machines.
constexpr Milliseconds patience = 10s;

// Calls attempt(left) until it returns true or the limit has passed; attempt waits for its own
// input for at most `left`, so the loop never sleeps a fixed time and never outlives the limit.
bool retryUntil(const std::function<bool(Milliseconds left)>& attempt, Milliseconds limit);
// True when the descriptor has something to read (or has ended) within the limit.
bool readable(int fd, Milliseconds limit);

// A fresh directory made current for the test's life: ferrow names its files relative to it.
struct TemporaryCurrentDirectory {
    TemporaryCurrentDirectory();
    ~TemporaryCurrentDirectory();
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path path;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, std::string_view bytes);
// "" when equal, else the sizes and the first line that differs: a short message for a large
// file, where a full diff would run to megabytes.
std::string firstDifference(std::string_view actual, std::string_view expected);
// ERRLOG.TXT as one "KIND: text" line per record, without the time stamp and the blank line
// that follows each record. (The record bytes have a test of their own.)
std::string errlogLines();

// Console captured in memory; ERRLOG.TXT in the current directory, stamped 3/3/2005 14:05:09.042.
struct CapturedOutputs {
    std::ostringstream console;
    ErrorLog log{"ERRLOG.TXT", [] { return LocalTime{2005, 3, 3, 14, 5, 9, 42}; }, &console};
    Outputs out{console, log};
    // Console text since the last call.
    std::string takeConsole() { return std::exchange(console, {}).str(); }
};

// Where a frame type keeps its number and values: written out here instead of taken from the
// converter, so that a wrong layout there cannot agree with itself.
struct RecordShape {
    int size, numberOffset, valuesOffset, valueCount;
};
constexpr RecordShape vornShape{104, 4, 8, 16};

// Little-endian records whose values differ per frame and index, negatives and exact halves
// among them; the bytes outside number and values are 0xAA.
std::string records(const RecordShape& shape, const std::vector<std::uint32_t>& frames);
inline std::string vornFrame(std::uint32_t frame) {
    return records(vornShape, {frame});
}
// The lines printf gives for those records: "%lu", then per value the separator, "%f" and the
// suffix; CR LF.
std::string printfLines(const RecordShape& shape, const std::vector<std::uint32_t>& frames,
                        const char* separator, const char* suffix = "");

// Stands in for a Vorn module on loopback: a command port (TCP, port chosen by the system)
// that records every byte it receives, and a UDP sender for binary frames.
class ModuleStandIn {
public:
    ModuleStandIn();
    ~ModuleStandIn();
    ModuleStandIn(const ModuleStandIn&) = delete;
    ModuleStandIn& operator=(const ModuleStandIn&) = delete;
    std::string address() const { return "127.0.0.1:" + std::to_string(commandPort_); }
    // Accepts the next connection; false when none came within the limit.
    bool acceptClient(Milliseconds limit = patience);
    // Reads until what was received contains text; false when it did not come within the
    // limit or the client hung up first. An empty text waits for the hang-up.
    bool waitForReceived(std::string_view text, Milliseconds limit = patience);
    const std::string& received() const { return received_; }
    void sendText(std::string_view text);
    // Closes the command connection from the module's side.
    void hangUp();
    void sendDatagram(int port, std::string_view bytes);

private:
    int listener_ = -1, client_ = -1, sender_ = -1, commandPort_ = 0;
    bool hungUp_ = false;
    std::string received_;
};

// A UDP port that was free a moment ago, for ferrow's UDPPORT.
int freeUdpPort();

// The real ferrow program (from VORN_BIN_DIR) run in a directory, its standard input and
// output connected to this test: through pipes, or through a pseudo-terminal as an operator's
// console would be.
class FerrowProcess {
public:
    enum class Console { Pipes, Terminal };

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
    const std::string& output() const { return output_; }
    // Process id while ferrow runs, -1 once it has ended.
    int pid() const { return pid_; }
    // Whether the terminal is in its cooked mode (line editing and echo) now; Terminal only.
    bool terminalCooked() const;

private:
    bool readOutput(Milliseconds limit);

    int pid_ = -1, keysFd_ = -1, outputFd_ = -1;
    int terminalFd_ = -1; // the pseudo-terminal's follower side, kept to read its settings
    bool outputEnded_ = false;
    std::string output_;
};

} // namespace ferrow::test
