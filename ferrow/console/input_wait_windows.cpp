#include "input_wait.h"

#include "key_input.h"
#include "stop_signal.h"

#include <algorithm>
#include <windows.h>

namespace ferrow {

namespace {
// The console cannot be waited on together with sockets in one call: sockets are waited on for
// this slice, then keys and the stop request are looked at. Idle, that is 100 cheap wake-ups/s.
constexpr std::chrono::milliseconds slice{10};
} // namespace

ReadyInputs waitForInputs(const KeyInput& keys, const StopSignal& stop, net::Handle connection,
                          net::Handle datagrams, std::optional<std::chrono::milliseconds> timeout) {
    WSAPOLLFD entries[2] = {};
    ULONG count = 0;
    for (const net::Handle socket : {connection, datagrams}) {
        if (socket != net::invalidHandle) {
            entries[count].fd = socket;
            entries[count].events = POLLRDNORM;
            ++count;
        }
    }
    const int waitMs =
        stop.requested() ? 0 : static_cast<int>(std::min(timeout.value_or(slice), slice).count());
    if (count > 0) {
        WSAPoll(entries, count, waitMs);
    } else {
        Sleep(static_cast<DWORD>(waitMs));
    }
    ReadyInputs ready;
    // Reading keys never blocks here, so they are looked at on every wake-up.
    ready.keys = !keys.ended();
    for (ULONG i = 0; i < count; ++i) {
        const bool readable = (entries[i].revents & (POLLRDNORM | POLLHUP | POLLERR)) != 0;
        if (entries[i].fd == connection) {
            ready.connection = readable;
        } else {
            ready.datagrams = readable;
        }
    }
    return ready;
}

} // namespace ferrow
