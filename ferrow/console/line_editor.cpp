#include "line_editor.h"

#include "key_input.h"
#include "outputs.h"

namespace ferrow {

std::optional<std::string> LineEditor::key(unsigned char key, Outputs& out) {
    switch (key) {
    case enterKey: {
        out.print("\r\n");
        std::string completed = std::move(line_) + '\r';
        line_.clear();
        return completed;
    }
    case backspaceKey:
        if (!line_.empty()) {
            line_.pop_back();
            out.print("\b \b");
        }
        return std::nullopt;
    case toLocalModeKey:
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
