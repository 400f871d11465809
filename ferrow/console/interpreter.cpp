#include "interpreter.h"

#include "convert/converter.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/errlog.h"
#include "log/message.h"
#include "log/textlog.h"
#include "set_command.h"
#include "words.h"

#include <fstream>

namespace ferrow {

namespace {
const std::string settingsFile = "CONFIG.TXT";
const std::string defaultTextFile = "Data.txt";
} // namespace

Interpreter::Interpreter(Settings& settings, Outputs& out, ModuleLink& link, Capture& capture,
                         TextLog& textLog, Mode& mode)
    : settings_(settings), out_(out), link_(link), capture_(capture), textLog_(textLog),
      mode_(mode) {}

void Interpreter::run(const std::string& line) {
    out_.log.event("COMMAND IS " + line + "\n");
    const std::vector<std::string> words = splitWords(line);
    const auto argument = [&words](std::size_t index, const std::string& fallback) {
        return wordAt(words, index).value_or(fallback);
    };
    const std::string command = argument(0, {});

    if (matchesKeyword(command, "QUIT")) {
        mode_ = Mode::Quit;
    } else if (matchesKeyword(command, "HELP")) {
        // Recognised, so that it is not reported as invalid; there is no help text.
    } else if (matchesKeyword(command, "TOGGLE")) {
        toggle();
    } else if (matchesKeyword(command, "OPEN")) {
        open(argument(1, settings_.moduleAddress));
    } else if (matchesKeyword(command, "CLOSE")) {
        link_.close();
    } else if (matchesKeyword(command, "LIST")) {
        out_.print(settingsBlock(settings_) + "\n");
    } else if (matchesKeyword(command, "SAVE")) {
        save();
    } else if (matchesKeyword(command, "SET")) {
        runSetCommand(words, settings_, out_);
    } else if (matchesKeyword(command, "BLOG")) {
        capture_.arm(argument(1, settings_.binaryBaseName));
    } else if (matchesKeyword(command, "CBLOG")) {
        capture_.endRecording();
    } else if (matchesKeyword(command, "LOG")) {
        textLog_.open(argument(1, settings_.textLogName));
    } else if (matchesKeyword(command, "CLOG")) {
        textLog_.close();
    } else if (matchesKeyword(command, "CVT")) {
        convert(argument(1, defaultTextFile), argument(2, settings_.binaryBaseName));
    } else if (!line.starts_with('\r')) {
        out_.print("ERROR: Invalid command\n");
    }
}

void Interpreter::toggle() {
    out_.print("Got toggle\n");
    if (link_.connected()) {
        mode_ = Mode::PassThrough;
    } else {
        out_.print("ERROR: Cannot enter pass through mode, not connected\n");
    }
}

void Interpreter::open(const std::string& address) {
    link_.connect(address);
    if (link_.connected()) {
        out_.print("Connected\n");
        mode_ = Mode::PassThrough;
    }
}

void Interpreter::save() {
    std::ofstream file(settingsFile, std::ios::binary | std::ios::trunc);
    const std::string block = withCrLf(settingsBlock(settings_));
    file.write(block.data(), static_cast<std::streamsize>(block.size()));
    file.close();
    if (!file) {
        out_.print(message("ERROR: Could not write to file %s\n", settingsFile.c_str()));
    }
}

void Interpreter::convert(const std::string& textFile, const std::string& binaryFile) {
    // The conversion may read the very file a recording in progress would write: that
    // recording is ended and written first so nothing captured is lost.
    capture_.endRecording();
    convertCapture(
        {ConversionForm::Text, settings_.frameType, settings_.channelCount, binaryFile, textFile},
        out_.log);
}

} // namespace ferrow
