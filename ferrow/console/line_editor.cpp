#include "line_editor.h"

#include "outputs.h"

namespace ferrow {

namespace {
constexpr unsigned char enter = 13;
constexpr unsigned char backspace = 8;
constexpr unsigned char toLocalMode = 0x1D; // Ctrl-]
} // namespace

std::optional<std::string> LineEditor::key(unsigned char key, Outputs& out) {
    switch (key) {
    case enter: {
        out.print("\r\n");
        std::string completed = std::move(line_) + '\r';
        line_.clear();
        return completed;
    }
    case backspace:
        if (!line_.empty()) {
            line_.pop_back();
            out.print("\b \b");
        }
        return std::nullopt;
    case toLocalMode:
        out.print("\n");
        line_.clear();
        return std::string("TOGGLE\r");
    default:
        if (line_.size() + 1 < capacity) {
            line_ += static_cast<char>(key);
            out.print(std::string(1, static_cast<char>(key)));
        }
        return std::nullopt;
    }
}

} // namespace ferrow
