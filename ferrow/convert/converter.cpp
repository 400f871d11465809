#include "converter.h"

namespace ferrow {

bool convertCapture(const ConversionRequest&, ErrorLog&) {
    return false;
}

bool convertAfterRun(std::string_view frameType, int channelCount, const std::string& baseName,
                     ErrorLog& log) {
    return convertCapture(ConversionRequest{ConversionForm::Csv, std::string(frameType),
                                            channelCount, baseName + ".bin", baseName + ".csv"},
                          log);
}

} // namespace ferrow
