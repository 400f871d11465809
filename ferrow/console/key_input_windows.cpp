#include "key_input.h"

#include <algorithm>
#include <conio.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <windows.h>

namespace ferrow {

namespace {

HANDLE keyboard() {
    return GetStdHandle(STD_INPUT_HANDLE);
}

// Arrow and function keys arrive as 0 or 0xE0 followed by a code: no key of ours.
constexpr int extendedKeyPrefixes[] = {0, 0xE0};

// Keys from a pipe, a file or a device are read by a thread of their own: a blocking read is
// the one way that works on every kind of handle (a pipe of the host cannot be peeked into
// under wine), and the capture loop must never wait for a key.
struct PipedKeys {
    std::mutex mutex;
    std::string bytes;
    bool ended = false;
};

std::shared_ptr<PipedKeys> startReadingPipedKeys() {
    auto keys = std::make_shared<PipedKeys>();
    // Detached, since it may sit in a read until the process ends; the state is shared so that
    // it outlives whichever side goes first.
    std::thread([keys] {
        for (bool more = true; more;) {
            char bytes[256];
            DWORD count = 0;
            more = ReadFile(keyboard(), bytes, sizeof bytes, &count, nullptr) && count > 0;
            const std::lock_guard lock(keys->mutex);
            keys->bytes.append(bytes, more ? count : 0);
            keys->ended = !more;
        }
    }).detach();
    return keys;
}

// Standard input is read once, by one thread, however many KeyInputs there are.
PipedKeys& pipedKeys() {
    static const std::shared_ptr<PipedKeys> keys = startReadingPipedKeys();
    return *keys;
}

} // namespace

bool consoleOutputValid() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != INVALID_HANDLE_VALUE && output != nullptr;
}

// A console is what takes keys with _getch, which reads without echo and unbuffered, so the
// console's own mode is never changed. _isatty would also take NUL, whose keys never come.
KeyInput::KeyInput() {
    DWORD mode = 0;
    terminal_ = GetConsoleMode(keyboard(), &mode) != 0;
}

KeyInput::~KeyInput() = default;

std::intptr_t KeyInput::handle() const {
    return reinterpret_cast<std::intptr_t>(keyboard());
}

void KeyInput::readWaiting() {
    if (ended_) {
        return;
    }
    if (terminal_) {
        while (_kbhit()) {
            const int key = _getch();
            if (std::find(std::begin(extendedKeyPrefixes), std::end(extendedKeyPrefixes), key) !=
                std::end(extendedKeyPrefixes)) {
                if (_kbhit()) {
                    _getch();
                }
                continue;
            }
            const unsigned char byte = static_cast<unsigned char>(key);
            queue({&byte, 1});
        }
        return;
    }
    PipedKeys& piped = pipedKeys();
    std::string bytes;
    {
        const std::lock_guard lock(piped.mutex);
        bytes.swap(piped.bytes);
        ended_ = piped.ended;
    }
    queue({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
}

} // namespace ferrow
