#pragma once

#include "link/socket_compat.h"

#include <chrono>
#include <optional>

namespace ferrow {

class KeyInput;
class StopSignal;

struct ReadyInputs {
    bool keys = false;
    bool connection = false;
    bool datagrams = false;
};

// Waits in the operating system until a key, a byte from the module, a datagram or a stop
// request is there: no spinning, and a datagram is taken the moment it arrives. Sockets given
// as invalidHandle are not waited on; the wait ends after timeout at the latest (none: no
// limit; zero: it only looks).
ReadyInputs waitForInputs(const KeyInput& keys, const StopSignal& stop, net::Handle connection,
                          net::Handle datagrams, std::optional<std::chrono::milliseconds> timeout);

} // namespace ferrow
