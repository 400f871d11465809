// Any capture file, frame type, channel count and form: the converter must neither crash nor
// overrun, and must write no more lines than the file has whole records. (The formatter's match
// with printf is checked over every float range by its unit test.)
//
// Input: byte 0 frame type, bytes 1-2 channel count (little-endian, signed), byte 3 form,
// the rest the capture file.

#include "convert/converter.h"
#include "log/errlog.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string scratchFile(const char* extension) {
    const auto name = "fuzz_convert_" + std::to_string(getpid()) + extension;
    return (std::filesystem::temp_directory_path() / name).string();
}

const std::string inputName = scratchFile(".bin");
const std::string outputName = scratchFile(".txt");

std::size_t countLines(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>(), '\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    static const char* const frameTypes[] = {"VORN", "HKQ", "PXT", "WGN", "vorn"};
    const char* frameType = frameTypes[data[0] % 5];
    const auto channels = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const auto form = data[3] % 2 == 0 ? ferrow::ConversionForm::Csv : ferrow::ConversionForm::Text;
    const std::uint8_t* capture = data + 4;
    const std::size_t captureSize = size - 4;

    std::ofstream(inputName, std::ios::binary)
        .write(reinterpret_cast<const char*>(capture), static_cast<std::streamsize>(captureSize));
    ferrow::ErrorLog log("/dev/null");
    const bool converted =
        ferrow::convertCapture({form, frameType, channels, inputName, outputName}, log);
    // The smallest record is a one-channel PXT or WGN frame of 16 bytes.
    if (converted && countLines(outputName) > captureSize / 16) {
        __builtin_trap();
    }
    std::remove(inputName.c_str());
    std::remove(outputName.c_str());
    return 0;
}
