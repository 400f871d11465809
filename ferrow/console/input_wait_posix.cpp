#include "input_wait.h"

#include "key_input.h"
#include "stop_signal.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace ferrow {

ReadyInputs waitForInputs(const KeyInput& keys, const StopSignal& stop, net::Handle connection,
                          net::Handle datagrams, std::optional<std::chrono::milliseconds> timeout) {
    constexpr short readable = POLLIN;
    // Entries with a negative descriptor are ignored by poll().
    std::array<pollfd, 4> entries{{
        {keys.ended() ? -1 : static_cast<int>(keys.handle()), readable, 0},
        {connection, readable, 0},
        {datagrams, readable, 0},
        {static_cast<int>(stop.handle()), readable, 0},
    }};
    // A longer limit than poll takes only wakes the caller early, to wait again.
    const int timeoutMs =
        timeout ? static_cast<int>(std::min<std::int64_t>(timeout->count(), INT_MAX)) : -1;
    ReadyInputs ready;
    if (poll(entries.data(), entries.size(), timeoutMs) <= 0) {
        return ready;
    }
    // Errors and hang-ups count as ready too: the read that follows finds out what happened.
    constexpr short anyEvent = POLLIN | POLLHUP | POLLERR | POLLNVAL;
    ready.keys = (entries[0].revents & anyEvent) != 0;
    ready.connection = (entries[1].revents & anyEvent) != 0;
    ready.datagrams = (entries[2].revents & anyEvent) != 0;
    return ready;
}

} // namespace ferrow
