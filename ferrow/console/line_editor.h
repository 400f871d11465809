#pragma once

#include <optional>
#include <string>

namespace ferrow {

struct Outputs;

// The local-mode line editor: one key per call, printing what the operator sees.
class LineEditor {
public:
    // Room of a line, its terminating CR included; keys beyond it are dropped.
    static constexpr std::size_t capacity = 255;

    // Returns the completed line (ending in CR) when key completes one.
    std::optional<std::string> key(unsigned char key, Outputs& out);

private:
    std::string line_;
};

} // namespace ferrow
