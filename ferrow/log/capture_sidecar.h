#pragma once

#include "convert/converter.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferrow {

struct Outputs;

// What ferrow measured of one capture; the sidecar "<capture file>.json" tells it.
struct CaptureFacts {
    std::string fileName; // the binary capture file
    std::string frameType;
    std::int32_t channelCount = 0;
    std::int64_t frameSize = 0;
    std::int32_t framesAsked = 0;
    std::int64_t framesStored = 0;
    std::int32_t udpPort = 0;
    std::int64_t receiveBufferBytes = 0;      // as granted; 0 when no receiver was opened
    std::optional<FrameNumbers> frameNumbers; // known once the capture was converted
    std::chrono::system_clock::time_point start;
    std::chrono::system_clock::time_point end;
};

// A JSON string literal of Latin-1 text: quotes, backslash and control characters escaped, and
// bytes from 0x80 as the Latin-1 code point they stand for, so the JSON stays valid UTF-8.
std::string jsonString(std::string_view latin1);

// UTC, ISO 8601 with milliseconds: "2026-12-07T11:20:03.125Z".
std::string utcTimeText(std::chrono::system_clock::time_point time);

// The sidecar's JSON text, CR LF line ends.
std::string captureSidecarText(const CaptureFacts& facts, std::string_view program);

// Replaces "<capture file>.json" whole or not at all: a reader never sees half a file. A failure
// is reported and leaves an older sidecar as it was.
void writeCaptureSidecar(const CaptureFacts& facts, std::string_view program, Outputs& out);

} // namespace ferrow
