// Any capture file, frame type, channel count and form: the converter must neither crash nor
// overrun, and must write no more lines than the file has whole records. Input: byte 0 frame
// type, bytes 1-2 channel count (little-endian, signed), byte 3 form, the rest the capture.

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    static const std::string scratch =
        (std::filesystem::temp_directory_path() / ("fuzz_convert_" + std::to_string(getpid())))
            .string();
    static const char* const frameTypes[] = {"VORN", "HKQ", "PXT", "WGN", "vorn"};
    const auto channels = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const auto form = data[3] % 2 == 0 ? ferrow::ConversionForm::Csv : ferrow::ConversionForm::Text;
    std::ofstream(scratch + ".bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(data + 4), static_cast<std::streamsize>(size - 4));
    ferrow::ErrorLog log("/dev/null");
    if (ferrow::convertCapture(
            {form, frameTypes[data[0] % 5], channels, scratch + ".bin", scratch + ".txt"}, log)) {
        std::ifstream output(scratch + ".txt", std::ios::binary);
        // The smallest record is a one-channel PXT or WGN frame of 16 bytes.
        if (std::count(std::istreambuf_iterator<char>(output), {}, '\n') >
            static_cast<std::ptrdiff_t>((size - 4) / 16)) {
            __builtin_trap();
        }
    }
    std::remove((scratch + ".bin").c_str());
    std::remove((scratch + ".txt").c_str());
    return 0;
}
