#pragma once

#include "console/outputs.h"
#include "link/socket_compat.h"
#include "log/errlog.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
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
// True when the socket, pipe or terminal has something to read (or has ended) within the limit.
bool readable(net::Handle handle, Milliseconds limit);
// Closes each open socket or descriptor and marks it closed.
void closeAll(std::initializer_list<net::Handle*> handles);

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
// ERRLOG.TXT as one "KIND: text" line per record, without time stamps and blank lines.
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

// Little-endian records, values differing per frame and index (negatives and exact halves among
// them), other bytes 0xAA.
std::string records(const RecordShape& shape, const std::vector<std::uint32_t>& frames);
inline std::string vornFrame(std::uint32_t frame) {
    return records(vornShape, {frame});
}
// The lines printf gives for those records: "%lu", then per value the separator, "%f" and the
// suffix; CR LF.
std::string printfLines(const RecordShape& shape, const std::vector<std::uint32_t>& frames,
                        const char* separator, const char* suffix = "");

} // namespace ferrow::test
