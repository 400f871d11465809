#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace ferrow {

struct Outputs;
struct Settings;

enum class StoreResult { GoOn, Complete, Full };

// Frame record size of a recording, in bytes, by the frame type's exact name; nothing for a
// name that is none of VORN, HKQ, PXT, WGN.
std::int64_t captureFrameSize(const std::string& frameType, std::int32_t channelCount);

// One recording as it ended: its file, how many frames were asked and how many reached it.
struct Recording {
    std::string fileName;
    std::int64_t frameSize = 0;
    std::int32_t framesAsked = 0;
    std::int64_t framesStored = 0;
    std::chrono::system_clock::time_point start;
    std::chrono::system_clock::time_point end;
};

// One recording: frames are kept in memory, in a buffer allocated once, and written to the
// binary capture file only when the recording ends, so storing keeps up with the module.
class Capture {
public:
    Capture(Outputs& out, const Settings& settings);
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // Opens fileName (replaced) and allocates the buffer for the frame count. A recording
    // still armed is ended and written first, so nothing captured is lost.
    void arm(const std::string& fileName);
    // Stores one datagram as the next frame record: at most one record's bytes are taken, and
    // bytes a short datagram does not cover stay zero.
    StoreResult store(std::span<const std::byte> datagram);
    // Writes the stored records to the file and frees the buffer; nothing when not armed.
    void endRecording();

    // Armed exactly while the buffer is held.
    bool armed() const { return buffer_ != nullptr; }
    // The last recording ended, if any.
    const std::optional<Recording>& lastRecording() const { return lastRecording_; }

private:
    struct FreeBuffer {
        void operator()(std::byte* buffer) const { std::free(buffer); }
    };
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    Outputs& out_;
    const Settings& settings_;
    std::string fileName_;
    std::unique_ptr<std::FILE, CloseFile> file_;
    std::int64_t frameSize_ = 104;
    std::unique_ptr<std::byte, FreeBuffer> buffer_;
    std::int64_t bufferSize_ = 0;
    std::int64_t stored_ = 0;
    std::int64_t fill_ = 0;
    std::chrono::system_clock::time_point start_;
    std::optional<Recording> lastRecording_;
};

} // namespace ferrow
