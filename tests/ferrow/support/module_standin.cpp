#include "module_standin.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
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

int boundPort(int socket) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

bool readable(int socket, std::chrono::milliseconds limit) {
    pollfd entry{socket, POLLIN, 0};
    return poll(&entry, 1, static_cast<int>(limit.count())) > 0;
}

void putLittleEndian(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace

ModuleStandIn::ModuleStandIn() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sender_ = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in any = loopback(0);
    if (listener_ < 0 || sender_ < 0 ||
        bind(listener_, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0 ||
        listen(listener_, 4) != 0) {
        throw std::runtime_error("module stand-in cannot listen");
    }
    commandPort_ = boundPort(listener_);
}

ModuleStandIn::~ModuleStandIn() {
    for (const int socket : {listener_, client_, sender_}) {
        if (socket >= 0) {
            close(socket);
        }
    }
}

bool ModuleStandIn::acceptClient(std::chrono::milliseconds limit) {
    if (!readable(listener_, limit)) {
        return false;
    }
    if (client_ >= 0) {
        close(client_);
    }
    client_ = accept(listener_, nullptr, nullptr);
    received_.clear();
    hungUp_ = false;
    return client_ >= 0;
}

bool ModuleStandIn::readSome(std::chrono::milliseconds limit) {
    if (client_ < 0 && !acceptClient(limit)) {
        return false;
    }
    if (hungUp_ || !readable(client_, limit)) {
        return false;
    }
    char bytes[4096];
    const ssize_t count = recv(client_, bytes, sizeof bytes, 0);
    if (count <= 0) {
        hungUp_ = true;
        return false;
    }
    received_.append(bytes, static_cast<std::size_t>(count));
    return true;
}

bool ModuleStandIn::readUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || (!readSome(left) && hungUp_)) {
            return done();
        }
    }
    return true;
}

bool ModuleStandIn::waitForReceived(std::string_view text, std::chrono::milliseconds limit) {
    return readUntil([&] { return received_.find(text) != std::string::npos; }, limit);
}

bool ModuleStandIn::waitForHangUp(std::chrono::milliseconds limit) {
    return readUntil([this] { return hungUp_; }, limit);
}

void ModuleStandIn::sendText(std::string_view text) {
    if (client_ >= 0) {
        send(client_, text.data(), text.size(), MSG_NOSIGNAL);
    }
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
    const int probe = socket(AF_INET6, SOCK_DGRAM, 0);
    sockaddr_in6 any{};
    any.sin6_family = AF_INET6;
    any.sin6_addr = in6addr_any;
    bind(probe, reinterpret_cast<const sockaddr*>(&any), sizeof any);
    sockaddr_in6 bound{};
    socklen_t length = sizeof bound;
    getsockname(probe, reinterpret_cast<sockaddr*>(&bound), &length);
    close(probe);
    return ntohs(bound.sin6_port);
}

std::string vornFrame(std::uint32_t frameNumber) {
    std::string frame(104, '\0');
    putLittleEndian(frame, 0, 0xC0FFEE);
    putLittleEndian(frame, 4, frameNumber);
    for (std::uint32_t channel = 0; channel < 16; ++channel) {
        const float value = static_cast<float>(channel) + static_cast<float>(frameNumber) / 4.0f;
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        putLittleEndian(frame, 8 + 4 * channel, bits);
    }
    for (std::size_t i = 72; i < 104; ++i) {
        frame[i] = static_cast<char>(i);
    }
    return frame;
}

} // namespace ferrow::test
