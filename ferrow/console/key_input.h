#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

namespace ferrow {

// Keys with a meaning of their own to ferrow.
inline constexpr unsigned char enterKey = 13;
inline constexpr unsigned char backspaceKey = 8;
inline constexpr unsigned char escapeKey = 0x1B;      // cancels the scan
inline constexpr unsigned char toLocalModeKey = 0x1D; // Ctrl-]

// The operator's keys. From a terminal they are read raw and without echo (the terminal is
// restored on every way out); from a pipe or file its bytes are the keys, and its end means no
// more keys. Keys are queued so that one can be handled at a time.
class KeyInput {
public:
    KeyInput();
    ~KeyInput();
    KeyInput(const KeyInput&) = delete;
    KeyInput& operator=(const KeyInput&) = delete;

    // Reads what is waiting without blocking; call when the input is ready.
    void readWaiting();
    std::optional<unsigned char> next();
    bool pending() const { return !keys_.empty(); }
    // No more keys will come (end of input, or no input at all).
    bool ended() const { return ended_; }
    bool isTerminal() const { return terminal_; }
    // The native handle to wait on for keys.
    std::intptr_t handle() const;

    // Queues bytes as keys; from a terminal, escape sequences (arrow keys and the like) are
    // dropped here so that their leading ESC does not cancel a scan.
    void queue(std::span<const unsigned char> bytes);

private:
    std::deque<unsigned char> keys_;
    bool terminal_ = false;
    bool ended_ = false;
};

// False when the console's output cannot be written to at all (no handle).
bool consoleOutputValid();

// Length of the escape sequence starting at bytes[0] (an ESC), nothing while it is incomplete.
std::optional<std::size_t> escapeSequenceLength(std::span<const unsigned char> bytes);

// True when the last escape sequence in bytes has not fully arrived yet.
bool endsInsideEscapeSequence(std::span<const unsigned char> bytes);

} // namespace ferrow
