#include "stop_signal.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ferrow {

namespace {

// The handler writes one byte into this pipe, so a wait in poll() wakes at once.
int wakePipe[2] = {-1, -1};
volatile std::sig_atomic_t stopRequested = 0;
constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void onStopSignal(int) {
    stopRequested = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
}

} // namespace

StopSignal::StopSignal() {
    stopRequested = 0;
    if (pipe(wakePipe) == 0) {
        for (const int end : wakePipe) {
            fcntl(end, F_SETFL, fcntl(end, F_GETFL, 0) | O_NONBLOCK);
            fcntl(end, F_SETFD, FD_CLOEXEC);
        }
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocking call in progress returns at once with EINTR.
    action.sa_flags = 0;
    for (const int signalNumber : stopSignals) {
        sigaction(signalNumber, &action, nullptr);
    }
    // A module that hangs up while we send must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
}

StopSignal::~StopSignal() {
    for (const int signalNumber : stopSignals) {
        std::signal(signalNumber, SIG_DFL);
    }
    for (int& end : wakePipe) {
        if (end >= 0) {
            close(end);
            end = -1;
        }
    }
}

bool StopSignal::requested() const {
    return stopRequested != 0;
}

std::intptr_t StopSignal::handle() const {
    return wakePipe[0];
}

} // namespace ferrow
