#pragma once

#include <cstdint>

namespace ferrow {

// SIGINT, SIGTERM and SIGHUP (console close on Windows) ask the run to stop: the main loop
// then leaves and the end-of-run steps write and convert the capture as after ESC.
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool requested() const;
    // A handle that becomes readable when a stop is requested, for waiting on with the inputs.
    std::intptr_t handle() const;
};

} // namespace ferrow
