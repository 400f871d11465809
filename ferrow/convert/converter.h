#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ferrow {

class ErrorLog;

enum class ConversionForm {
    Csv,  // the automatic conversion at the end of a run: comma-separated, no per-frame trace
    Text, // the CVT command: space-separated, with a per-frame trace of EVENTs
};

// Frame numbers first..last, both included.
struct FrameRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

// The frame numbers a conversion met.
struct FrameNumbers {
    std::uint32_t first = 0;         // the number the capture's first frame should have
    std::uint32_t next = 0;          // the number after the last frame read
    std::vector<FrameRange> skipped; // each forward gap, in order
};

struct ConversionRequest {
    ConversionForm form = ConversionForm::Csv;
    std::string frameType = "VORN"; // "VORN", "HKQ", "PXT" or "WGN", compared exactly
    int channelCount = 16;
    std::string inputName;                // the binary capture file
    std::string outputName;               // the text file, replaced
    FrameNumbers* frameNumbers = nullptr; // filled in when given
};

// Converts one binary capture file to text, one CR LF line per frame, reporting each gap or
// out-of-order frame number as an ERROR and closing with an EVENT that gives the counts.
// Returns true after a complete conversion; false when a file cannot be opened or written, or
// when the channel count does not fit the frame type (then nothing is opened, so an older
// output file survives).
//
// The converter knows nothing of the capture: a caller that may have a recording armed ends
// and writes it first, so no captured frame is lost.
bool convertCapture(const ConversionRequest& request, ErrorLog& log);

// The automatic conversion at the end of a run: "<base>.bin" to "<base>.csv".
bool convertAfterRun(std::string_view frameType, int channelCount, const std::string& baseName,
                     ErrorLog& log, FrameNumbers* frameNumbers = nullptr);

} // namespace ferrow
