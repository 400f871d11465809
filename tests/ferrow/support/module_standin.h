#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ferrow::test {

using namespace std::chrono_literals;

// Stands in for a Vorn module on loopback: a command port (TCP, port chosen by the system)
// that records every byte it receives, and a UDP sender for binary frames.
class ModuleStandIn {
public:
    ModuleStandIn();
    ~ModuleStandIn();
    ModuleStandIn(const ModuleStandIn&) = delete;
    ModuleStandIn& operator=(const ModuleStandIn&) = delete;

    int commandPort() const { return commandPort_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(commandPort_); }

    // Accepts the next connection; false when none came within the limit.
    bool acceptClient(std::chrono::milliseconds limit = 20s);
    // Reads until what was received contains text; false when it did not come within the
    // limit (or the client hung up first).
    bool waitForReceived(std::string_view text, std::chrono::milliseconds limit = 20s);
    // True when the client has closed its end within the limit.
    bool waitForHangUp(std::chrono::milliseconds limit = 20s);
    const std::string& received() const { return received_; }
    void sendText(std::string_view text);
    // Closes the command connection from the module's side.
    void hangUp();
    void sendDatagram(int port, std::string_view bytes);

private:
    bool readSome(std::chrono::milliseconds limit);
    // Reads until done() holds; false when it did not within the limit or the client hung up.
    bool readUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    int listener_ = -1;
    int client_ = -1;
    int sender_ = -1;
    int commandPort_ = 0;
    bool hungUp_ = false;
    std::string received_;
};

// A UDP port that was free a moment ago, for ferrow's UDPPORT.
int freeUdpPort();

// A 104-byte VORN frame: frame number at 4, sixteen float values at 8 (channel + frame / 4).
std::string vornFrame(std::uint32_t frameNumber);

} // namespace ferrow::test
