#include "module_stand_in.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace ferrow::test {

namespace {

// Winsock is started for the test program's life, as ferrow's run starts it for its own; the
// module link under test needs it as much as the stand-in.
const struct SocketsStarted {
    SocketsStarted() { net::startup(); }
    ~SocketsStarted() { net::cleanup(); }
} socketsStarted;

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

} // namespace

ModuleStandIn::ModuleStandIn() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sender_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (listener_ == net::invalidHandle || sender_ == net::invalidHandle ||
        bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("module stand-in cannot listen");
    }
    commandPort_ = ntohs(address.sin_port);
}

ModuleStandIn::~ModuleStandIn() {
    closeAll({&listener_, &client_, &sender_});
}

bool ModuleStandIn::acceptClient(Milliseconds limit) {
    if (!readable(listener_, limit)) {
        return false;
    }
    hangUp();
    client_ = accept(listener_, nullptr, nullptr);
    received_.clear();
    hungUp_ = false;
    return client_ != net::invalidHandle;
}

bool ModuleStandIn::waitForReceived(std::string_view text, Milliseconds limit) {
    const auto done = [&] {
        return text.empty() ? hungUp_ : received_.find(text) != std::string::npos;
    };
    retryUntil(
        [&](Milliseconds left) {
            if (!done() && (client_ != net::invalidHandle || acceptClient(left)) && !hungUp_ &&
                readable(client_, left)) {
                char bytes[4096];
                const auto count = recv(client_, bytes, sizeof bytes, 0);
                hungUp_ = count <= 0;
                received_.append(bytes,
                                 static_cast<std::size_t>(std::max<decltype(count)>(count, 0)));
            }
            return done() || hungUp_;
        },
        limit);
    return done();
}

void ModuleStandIn::sendText(std::string_view text) {
    send(client_, text.data(), static_cast<int>(text.size()), net::noSignalFlag);
}

void ModuleStandIn::hangUp() {
    closeAll({&client_});
}

void ModuleStandIn::sendDatagram(int port, std::string_view bytes) {
    const sockaddr_in target = loopback(port);
    sendto(sender_, bytes.data(), static_cast<int>(bytes.size()), 0,
           reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

int freeUdpPort() {
    // Probed on the IPv6 wildcard, where ferrow's dual-stack receiver binds.
    net::Handle probe = socket(AF_INET6, SOCK_DGRAM, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_any;
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closeAll({&probe});
    return ntohs(address.sin6_port);
}

} // namespace ferrow::test
