#pragma once

#include "outputs.h"
#include "settings.h"

#include <string>

namespace ferrow {

class Capture;
class ModuleLink;
class TextLog;

enum class Mode { Startup, Local, PassThrough, Quit };

// The local command language. Command words are matched without regard to case and by
// prefix, in a fixed order, so LISTALL runs LIST.
class Interpreter {
public:
    Interpreter(Settings& settings, Outputs& out, ModuleLink& link, Capture& capture,
                TextLog& textLog, Mode& mode);

    // Runs one typed line (its CR included).
    void run(const std::string& line);

private:
    void toggle();
    void open(const std::string& address);
    void save();
    void convert(const std::string& textFile, const std::string& binaryFile);

    Settings& settings_;
    Outputs& out_;
    ModuleLink& link_;
    Capture& capture_;
    TextLog& textLog_;
    Mode& mode_;
};

} // namespace ferrow
