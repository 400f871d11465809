#include "module_standin.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace ferrow::test {

namespace {

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
    if (listener_ < 0 || sender_ < 0 ||
        bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("module stand-in cannot listen");
    }
    commandPort_ = ntohs(address.sin_port);
}

ModuleStandIn::~ModuleStandIn() {
    for (const int socket : {listener_, client_, sender_}) {
        if (socket >= 0) {
            close(socket);
        }
    }
}

bool ModuleStandIn::acceptClient(Milliseconds limit) {
    if (!readable(listener_, limit)) {
        return false;
    }
    hangUp();
    client_ = accept(listener_, nullptr, nullptr);
    received_.clear();
    hungUp_ = false;
    return client_ >= 0;
}

bool ModuleStandIn::readUntil(const std::function<bool()>& done, Milliseconds limit) {
    const auto readSome = [this](Milliseconds left) {
        if ((client_ < 0 && !acceptClient(left)) || hungUp_ || !readable(client_, left)) {
            return;
        }
        char bytes[4096];
        const ssize_t count = recv(client_, bytes, sizeof bytes, 0);
        hungUp_ = count <= 0;
        received_.append(bytes, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    };
    retryUntil(
        [&](Milliseconds left) {
            readSome(left);
            return done() || hungUp_;
        },
        limit);
    return done();
}

void ModuleStandIn::sendText(std::string_view text) {
    send(client_, text.data(), text.size(), MSG_NOSIGNAL);
}

void ModuleStandIn::hangUp() {
    if (client_ >= 0) {
        close(client_);
        client_ = -1;
    }
}

void ModuleStandIn::sendDatagram(int port, std::string_view bytes) {
    const sockaddr_in target = loopback(port);
    sendto(sender_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
           sizeof target);
}

int freeUdpPort() {
    // Probed on the IPv6 wildcard, where ferrow's dual-stack receiver binds.
    const int probe = socket(AF_INET6, SOCK_DGRAM, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_any;
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin6_port);
}

} // namespace ferrow::test
