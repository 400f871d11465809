#pragma once

#include <string>
#include <string_view>

namespace ferrow {

class ErrorLog;

enum class ConversionForm {
    Csv,  // the automatic conversion at the end of a run: comma-separated, no per-frame trace
    Text, // the CVT command: space-separated, with a per-frame trace of EVENTs
};

struct ConversionRequest {
    ConversionForm form = ConversionForm::Csv;
    std::string frameType = "VORN"; // "VORN", "HKQ", "PXT" or "WGN", compared exactly
    int channelCount = 16;
    std::string inputName;  // the binary capture file
    std::string outputName; // the text file, replaced
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
                     ErrorLog& log);

} // namespace ferrow
