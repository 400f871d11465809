#include "key_input.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace ferrow {

namespace {

constexpr int keyboard = STDIN_FILENO;
// An ESC whose sequence has not fully arrived gets this long for the rest (an arrow key's bytes
// come together; a person cannot type a second key this fast).
constexpr int sequenceGapMs = 25;

termios savedTerminal{};
volatile std::sig_atomic_t terminalChanged = 0;

void restoreTerminal() {
    if (terminalChanged) {
        tcsetattr(keyboard, TCSANOW, &savedTerminal);
        terminalChanged = 0;
    }
}

// A crash must not leave the operator's terminal without echo.
void restoreAndDie(int signalNumber) {
    restoreTerminal();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void enterRawMode() {
    if (tcgetattr(keyboard, &savedTerminal) != 0) {
        return;
    }
    termios raw = savedTerminal;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    // Enter is CR, as the editor expects; Ctrl-S is a key, not a stop of the console's output
    // (which would stall the capture loop on its next message).
    raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(keyboard, TCSANOW, &raw) != 0) {
        return;
    }
    terminalChanged = 1;
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(restoreTerminal);
        for (const int fatal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
            std::signal(fatal, restoreAndDie);
        }
    }
}

// Most terminals send DEL for the Backspace key (their erase character); the line editor and
// the module know Backspace as 8.
void toBackspace(std::span<unsigned char> bytes) {
    const cc_t erase = savedTerminal.c_cc[VERASE];
    if (!terminalChanged || erase == _POSIX_VDISABLE) {
        return;
    }
    std::replace(bytes.begin(), bytes.end(), static_cast<unsigned char>(erase), backspaceKey);
}

bool moreWithin(int milliseconds) {
    pollfd entry{keyboard, POLLIN, 0};
    return poll(&entry, 1, milliseconds) > 0 && (entry.revents & POLLIN);
}

} // namespace

bool consoleOutputValid() {
    return fcntl(STDOUT_FILENO, F_GETFD) != -1;
}

KeyInput::KeyInput() {
    terminal_ = isatty(keyboard) == 1;
    if (terminal_) {
        enterRawMode();
    }
}

KeyInput::~KeyInput() {
    restoreTerminal();
}

std::intptr_t KeyInput::handle() const {
    return keyboard;
}

void KeyInput::readWaiting() {
    if (ended_) {
        return;
    }
    unsigned char bytes[512];
    const ssize_t count = read(keyboard, bytes, sizeof bytes / 2);
    if (count <= 0) {
        // End of a pipe or file, or an input that cannot be read: no more keys either way.
        ended_ = count == 0 || (errno != EINTR && errno != EAGAIN);
        return;
    }
    auto length = static_cast<std::size_t>(count);
    // An arrow key's bytes may straddle two reads: wait briefly for the rest of its sequence.
    if (terminal_ && endsInsideEscapeSequence({bytes, length}) && moreWithin(sequenceGapMs)) {
        const ssize_t more = read(keyboard, bytes + length, sizeof bytes - length);
        length += more > 0 ? static_cast<std::size_t>(more) : 0;
    }
    if (terminal_) {
        toBackspace({bytes, length});
    }
    queue({bytes, length});
}

} // namespace ferrow
