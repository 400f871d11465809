// Any bytes read as FERROW.CFG, then typed as keys in local mode: the reader must leave every
// setting within what its setter allows, and neither it, the line editor nor the interpreter may
// crash or overrun, whatever the lines (over 255 characters, NUL bytes, any words). Each input
// runs in its own scratch folder; lines that would leave it (a path separator) or reach the
// network (OPEN) are skipped, and the frame count is held small so BLOG's buffer fits the memory
// limit.

#include "console/config_file.h"
#include "console/interpreter.h"
#include "console/line_editor.h"
#include "console/words.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/errlog.h"
#include "log/textlog.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path folder =
        fs::temp_directory_path() / ("ferrow-fuzz-interpreter-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::current_path(folder);
    std::ostringstream console;
    {
        ferrow::ErrorLog log(
            "/dev/null", [] { return ferrow::LocalTime{}; }, &console);
        ferrow::Outputs out{console, log};
        ferrow::Settings settings;
        ferrow::ModuleLink link(out, settings);
        ferrow::Capture capture(out, settings);
        ferrow::TextLog textLog(console);
        ferrow::Mode mode = ferrow::Mode::Local;
        ferrow::Interpreter interpreter(settings, out, link, capture, textLog, mode);
        ferrow::LineEditor editor;
        std::istringstream config(std::string(reinterpret_cast<const char*>(data), size));
        ferrow::readConfig(config, settings, out);
        if (settings.frameCount < 1 || settings.progressInterval < 1 ||
            settings.frameType != "VORN" || settings.channelCount != 16) {
            __builtin_trap();
        }
        settings.frameCount = std::min(settings.frameCount, 1000);
        for (std::size_t i = 0; i < size; ++i) {
            const auto line = editor.key(data[i], out);
            if (line && line->size() > ferrow::LineEditor::capacity) {
                __builtin_trap();
            }
            const auto words = line ? ferrow::splitWords(*line) : std::vector<std::string>{};
            if (line && line->find_first_of("/\\") == std::string::npos &&
                !(!words.empty() && ferrow::matchesKeyword(words[0], "OPEN"))) {
                interpreter.run(*line);
                settings.frameCount = std::min(settings.frameCount, 1000);
            }
            if (capture.armed()) {
                capture.store({reinterpret_cast<const std::byte*>(data + i), size - i});
            }
        }
    }
    fs::current_path(folder.parent_path());
    fs::remove_all(folder);
    return 0;
}
