#include "key_input.h"

#include <algorithm>
#include <conio.h>
#include <cstdio>
#include <io.h>
#include <windows.h>

namespace ferrow {

namespace {

HANDLE keyboard() {
    return GetStdHandle(STD_INPUT_HANDLE);
}

// Arrow and function keys arrive as 0 or 0xE0 followed by a code: no key of ours.
constexpr int extendedKeyPrefixes[] = {0, 0xE0};

} // namespace

bool consoleOutputValid() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != INVALID_HANDLE_VALUE && output != nullptr;
}

// _getch reads without echo and unbuffered, so the console's own mode is never changed.
KeyInput::KeyInput() {
    terminal_ = _isatty(_fileno(stdin)) != 0;
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
    // A pipe is only read when it holds bytes, so the read cannot block; a file always can be.
    DWORD available = 256;
    if (GetFileType(keyboard()) == FILE_TYPE_PIPE &&
        !PeekNamedPipe(keyboard(), nullptr, 0, nullptr, &available, nullptr)) {
        ended_ = true;
        return;
    }
    if (available == 0) {
        return;
    }
    unsigned char bytes[256];
    DWORD count = 0;
    if (!ReadFile(keyboard(), bytes, std::min<DWORD>(available, sizeof bytes), &count, nullptr) ||
        count == 0) {
        ended_ = true;
        return;
    }
    queue({bytes, count});
}

} // namespace ferrow
