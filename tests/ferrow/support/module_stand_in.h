#pragma once

#include "ferrow_test_support.h"

#include <string>
#include <string_view>

namespace ferrow::test {

// Stands in for a Vorn module on loopback: a command port (TCP, port chosen by the system)
// that records every byte it receives, and a UDP sender for binary frames.
class ModuleStandIn {
public:
    ModuleStandIn();
    ~ModuleStandIn();
    ModuleStandIn(const ModuleStandIn&) = delete;
    ModuleStandIn& operator=(const ModuleStandIn&) = delete;
    std::string address() const { return "127.0.0.1:" + std::to_string(commandPort_); }
    // Accepts the next connection; false when none came within the limit.
    bool acceptClient(Milliseconds limit = patience);
    // Reads until what was received contains text; false when it did not come within the
    // limit or the client hung up first. An empty text waits for the hang-up.
    bool waitForReceived(std::string_view text, Milliseconds limit = patience);
    const std::string& received() const { return received_; }
    void sendText(std::string_view text);
    // Closes the command connection from the module's side.
    void hangUp();
    void sendDatagram(int port, std::string_view bytes);

private:
    net::Handle listener_ = net::invalidHandle, client_ = net::invalidHandle,
                sender_ = net::invalidHandle;
    int commandPort_ = 0;
    bool hungUp_ = false;
    std::string received_;
};

// A UDP port that was free a moment ago, for ferrow's UDPPORT.
int freeUdpPort();

} // namespace ferrow::test
