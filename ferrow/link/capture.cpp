#include "capture.h"

#include "console/outputs.h"
#include "console/settings.h"
#include "log/errlog.h"
#include "log/message.h"

#include <algorithm>
#include <cstring>

namespace ferrow {

namespace {
// Each record has this much spare room in the buffer, keeping a normal scan clear of its end.
constexpr std::int64_t spareBytesPerFrame = 10;
} // namespace

std::int64_t captureFrameSize(const std::string& frameType, std::int32_t channelCount) {
    if (frameType == "PXT" || frameType == "WGN") {
        return 4 * static_cast<std::int64_t>(channelCount) + 12;
    }
    if (frameType == "HKQ") {
        return channelCount == 16 ? 168 : channelCount == 32 ? 304 : 572;
    }
    if (frameType == "VORN") {
        return 104;
    }
    return 0;
}

Capture::Capture(Outputs& out, const Settings& settings) : out_(out), settings_(settings) {}

Capture::~Capture() = default;

void Capture::arm(const std::string& fileName) {
    // Arming over a recording would abandon it with its file left empty.
    endRecording();
    out_.log.event(message("Opening binary file %s\n", fileName.c_str()));
    file_.reset(std::fopen(fileName.c_str(), "wb"));
    if (!file_) {
        out_.log.error(message("Cannot open file %s\n", fileName.c_str()));
        return;
    }
    fileName_ = fileName;
    if (const std::int64_t size = captureFrameSize(settings_.frameType, settings_.channelCount);
        size > 0) {
        frameSize_ = size;
    }
    out_.log.event(message("Numframes %d\n", settings_.frameCount));
    // 64-bit sizes: 512-channel frames times a large frame count pass 2 GiB.
    const std::int64_t frames = std::max<std::int64_t>(settings_.frameCount, 1);
    bufferSize_ = (frameSize_ + spareBytesPerFrame) * frames;
    // calloc: the zeroed pages cost nothing until frames land in them.
    buffer_.reset(static_cast<std::byte*>(std::calloc(static_cast<std::size_t>(bufferSize_), 1)));
    if (!buffer_) {
        out_.log.error(message("ERROR: Could not allocate %lld bytes of memory\n",
                               static_cast<long long>(bufferSize_)));
        file_.reset();
        return;
    }
    out_.log.event(message("Allocating %lld bytes of memory for %lld frames of data\n",
                           static_cast<long long>(bufferSize_), static_cast<long long>(frames)));
    stored_ = 0;
    fill_ = 0;
    start_ = std::chrono::system_clock::now();
}

StoreResult Capture::store(std::span<const std::byte> datagram) {
    if (!armed()) {
        return StoreResult::GoOn;
    }
    ++stored_;
    // An interval of 0 means no progress lines; a negative one counts like its magnitude.
    if (settings_.progressInterval != 0 && stored_ % settings_.progressInterval == 0) {
        const std::string progress = message("Read %lld\n", static_cast<long long>(stored_));
        out_.print(progress);
        out_.log.event(progress);
    }
    const std::int64_t room = std::max<std::int64_t>(bufferSize_ - fill_, 0);
    const auto length = std::min({static_cast<std::int64_t>(datagram.size()), frameSize_, room});
    if (length > 0) {
        std::memcpy(buffer_.get() + fill_, datagram.data(), static_cast<std::size_t>(length));
    }
    fill_ += frameSize_;
    if (stored_ >= settings_.frameCount) {
        out_.print("Completed data read\n");
        out_.log.event("Completed data read\n");
        return StoreResult::Complete;
    }
    if (fill_ >= bufferSize_) {
        out_.log.error(message("ERROR: Buffer overflow reading data at offset %lld\n",
                               static_cast<long long>(fill_)));
        return StoreResult::Full;
    }
    return StoreResult::GoOn;
}

void Capture::endRecording() {
    if (!armed()) {
        return;
    }
    // Only whole records reach the file, however far past the buffer's end fill has moved.
    const std::int64_t written = std::min(fill_, bufferSize_) / frameSize_ * frameSize_;
    out_.log.event("Closing binary file\n");
    out_.log.event(
        message("Flushing buffer of %lld bytes to file\n", static_cast<long long>(written)));
    const std::size_t count =
        std::fwrite(buffer_.get(), 1, static_cast<std::size_t>(written), file_.get());
    // Flushed first: fclose does not report a failed flush in every C library (wine's).
    const bool flushed = std::fflush(file_.get()) == 0;
    const bool closed = std::fclose(file_.release()) == 0;
    lastRecording_ = Recording{fileName_,
                               frameSize_,
                               settings_.frameCount,
                               static_cast<std::int64_t>(count) / frameSize_,
                               start_,
                               std::chrono::system_clock::now()};
    if (count != static_cast<std::size_t>(written) || !flushed || !closed) {
        out_.log.error(message("ERROR: Could not write to file %s\n", fileName_.c_str()));
    } else {
        out_.log.event(
            message("Completed write of %lld bytes to file\n", static_cast<long long>(written)));
    }
    buffer_.reset();
}

} // namespace ferrow
