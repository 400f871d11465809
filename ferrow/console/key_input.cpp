#include "key_input.h"

namespace ferrow {

std::optional<std::size_t> escapeSequenceLength(std::span<const unsigned char> bytes) {
    if (bytes.size() < 2) {
        return std::nullopt;
    }
    if (bytes[1] == '[') {
        // CSI: parameters and intermediates, then one final byte from '@' to '~'.
        for (std::size_t length = 2; length < bytes.size(); ++length) {
            if (bytes[length] >= 0x40 && bytes[length] <= 0x7E) {
                return length + 1;
            }
        }
        return std::nullopt;
    }
    if (bytes[1] == 'O') {
        return bytes.size() >= 3 ? std::optional<std::size_t>(3) : std::nullopt;
    }
    return 2; // Alt with a key
}

bool endsInsideEscapeSequence(std::span<const unsigned char> bytes) {
    for (std::size_t start = bytes.size(); start-- > 0;) {
        if (bytes[start] == escapeKey) {
            return !escapeSequenceLength(bytes.subspan(start));
        }
    }
    return false;
}

void KeyInput::queue(std::span<const unsigned char> bytes) {
    std::size_t position = 0;
    while (position < bytes.size()) {
        const std::span<const unsigned char> rest = bytes.subspan(position);
        if (terminal_ && rest[0] == escapeKey && rest.size() > 1) {
            position += escapeSequenceLength(rest).value_or(rest.size());
        } else {
            keys_.push_back(rest[0]);
            ++position;
        }
    }
}

std::optional<unsigned char> KeyInput::next() {
    if (keys_.empty()) {
        return std::nullopt;
    }
    const unsigned char key = keys_.front();
    keys_.pop_front();
    return key;
}

} // namespace ferrow
