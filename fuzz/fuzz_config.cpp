// Any FERROW.CFG content (long lines, no line end, NUL bytes, any words): the reader must
// neither crash nor overrun, and must leave every setting within what its setter allows.

#include "console/config_file.h"
#include "log/errlog.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ostringstream console;
    ferrow::ErrorLog log(
        "/dev/null", [] { return ferrow::LocalTime{}; }, &console);
    ferrow::Outputs out{console, log};
    ferrow::Settings settings;
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    ferrow::readConfig(input, settings, out);
    if (settings.frameCount < 1 || settings.progressInterval < 1 || settings.frameType != "VORN" ||
        settings.channelCount != 16) {
        __builtin_trap();
    }
    return 0;
}
