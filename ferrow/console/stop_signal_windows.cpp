#include "stop_signal.h"

#include <atomic>
#include <windows.h>

namespace ferrow {

namespace {

std::atomic<bool> stopRequested = false;
// Set once the end-of-run steps are done; closing the console waits for it so that a capture in
// memory is still written (Windows ends the process when the handler returns).
HANDLE runFinished = nullptr;
constexpr DWORD closeGraceMs = 4500;

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        stopRequested = true;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        stopRequested = true;
        if (runFinished) {
            WaitForSingleObject(runFinished, closeGraceMs);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

StopSignal::StopSignal() {
    stopRequested = false;
    runFinished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignal::~StopSignal() {
    if (runFinished) {
        SetEvent(runFinished);
    }
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

bool StopSignal::requested() const {
    return stopRequested;
}

std::intptr_t StopSignal::handle() const {
    return 0;
}

} // namespace ferrow
