// Any keys typed in local mode: the line editor and the interpreter must neither crash nor
// overrun, whatever the lines (over 255 characters, NUL bytes, any words).
//
// Runs in a private scratch folder emptied after each input, since commands write files. Lines
// that would leave that folder (a path separator) or reach the network (OPEN) are skipped, and
// the frame count is held small so that BLOG's buffer stays within the fuzzer's memory limit.

#include "console/interpreter.h"
#include "console/line_editor.h"
#include "console/words.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/errlog.h"
#include "log/textlog.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

bool staysInScratchFolder(const std::string& line) {
    const auto words = ferrow::splitWords(line);
    return line.find_first_of("/\\") == std::string::npos &&
           !(words.size() > 0 && ferrow::matchesKeyword(words[0], "OPEN"));
}

const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        const fs::path path =
            fs::temp_directory_path() / ("ferrow-fuzz-interpreter-" + std::to_string(getpid()));
        fs::create_directories(path);
        fs::current_path(path);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratchFolder(), ignored);
        });
        return path;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& folder = scratchFolder();
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
        for (std::size_t i = 0; i < size; ++i) {
            const auto line = editor.key(data[i], out);
            if (line && line->size() > ferrow::LineEditor::capacity) {
                __builtin_trap();
            }
            if (line && staysInScratchFolder(*line)) {
                interpreter.run(*line);
                settings.frameCount = std::min(settings.frameCount, 1000);
            }
            if (capture.armed()) {
                const std::uint8_t* datagram = data + i;
                capture.store({reinterpret_cast<const std::byte*>(datagram), size - i});
            }
        }
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        fs::remove_all(entry.path());
    }
    return 0;
}
