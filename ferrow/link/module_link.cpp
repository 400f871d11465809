#include "module_link.h"

#include "address.h"
#include "console/outputs.h"
#include "console/settings.h"
#include "log/errlog.h"
#include "log/message.h"

#include <chrono>
#include <thread>

namespace ferrow {

namespace {

constexpr std::size_t batchSize = 64;
constexpr std::size_t byteAreaSize = 4096;
// A module that does not answer is given up after this long instead of hanging the console.
constexpr int connectTimeoutMs = 5000;
struct AddressList {
    addrinfo* first = nullptr;
    ~AddressList() {
        if (first) {
            freeaddrinfo(first);
        }
    }
};

// Completes a non-blocking connect; returns 0 or the error code.
int finishConnect(net::Handle socket, const addrinfo& address) {
    if (::connect(socket, address.ai_addr, static_cast<socklen_t>(address.ai_addrlen)) == 0) {
        return 0;
    }
    const int error = net::lastError();
    if (!net::connectPending(error)) {
        return error;
    }
    net::PollEntry entry{};
    entry.fd = socket;
    entry.events = POLLOUT;
    const int ready = net::pollHandles(&entry, 1, connectTimeoutMs);
    if (ready == 0) {
        return ETIMEDOUT;
    }
    if (ready < 0) {
        return net::lastError();
    }
    int socketError = 0;
    socklen_t length = sizeof socketError;
    getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError), &length);
    return socketError;
}

} // namespace

ModuleLink::ModuleLink(Outputs& out, const Settings& settings)
    : out_(out), settings_(settings), byteArea_(byteAreaSize),
      datagramArea_(batchSize * receiveArea) {
    batch_.reserve(batchSize);
}

ModuleLink::~ModuleLink() {
    closeUdp();
    closeTcp();
}

void ModuleLink::connect(const std::string& address) {
    // A second connection beside the first would leave the UDP port bound by the old one;
    // the receiver also outlives a module that hung up, and is closed here for the same reason.
    if (connected()) {
        close();
    }
    closeUdp();
    out_.print(message("Connecting to %s\n", address.c_str()));
    out_.log.event(message("Connecting to %s\n", address.c_str()));

    const ModuleAddress target = parseModuleAddress(address);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    AddressList found;
    const int lookup = getaddrinfo(target.host.c_str(), target.port.c_str(), &hints, &found.first);
    if (lookup != 0 || found.first == nullptr) {
        out_.log.error(message("ERROR: Unable to get the host name. Error: %d\n", lookup));
        return;
    }
    const addrinfo& first = *found.first;
    const net::Handle socket = ::socket(first.ai_family, first.ai_socktype, first.ai_protocol);
    if (socket == net::invalidHandle) {
        out_.log.error(message("ERROR: Allocating socket failed. Error: %d\n", net::lastError()));
        return;
    }
    if (!net::makeNonBlocking(socket)) {
        out_.log.error("ERROR: Could not make server socket non blocking\n");
        net::closeHandle(socket);
        return;
    }
    if (const int error = finishConnect(socket, first); error != 0) {
        out_.log.error(message("ERROR: Connecting to the server failed. Error: %d\n", error));
        net::closeHandle(socket);
        return;
    }
    tcp_ = socket;
    openUdpReceiver();
}

void ModuleLink::openUdpReceiver() {
    if (settings_.udpPort == 0) {
        return;
    }
    // One dual-stack socket takes frames sent over IPv4 and IPv6; IPv4 alone where there is
    // no IPv6.
    bool dualStack = true;
    net::Handle socket = ::socket(AF_INET6, SOCK_DGRAM, 0);
    if (socket == net::invalidHandle) {
        dualStack = false;
        socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    }
    if (socket == net::invalidHandle) {
        out_.log.event(message("ERROR: socket() failed with error %d\n", net::lastError()));
        return;
    }
    const bool portInRange = settings_.udpPort > 0 && settings_.udpPort <= 65535;
    const auto port = htons(static_cast<std::uint16_t>(portInRange ? settings_.udpPort : 0));
    int bound = -1;
    if (portInRange && dualStack) {
        int off = 0;
        setsockopt(socket, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&off),
                   sizeof off);
        sockaddr_in6 local{};
        local.sin6_family = AF_INET6;
        local.sin6_addr = in6addr_any;
        local.sin6_port = port;
        bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    } else if (portInRange) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        local.sin_port = port;
        bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    }
    if (bound != 0) {
        out_.log.error(message("ERROR: bind() failed with error %d\n",
                               portInRange ? net::lastError() : EINVAL));
        net::closeHandle(socket);
        return;
    }
    if (!net::makeNonBlocking(socket)) {
        out_.log.error("ERROR: Failed making socket non blocking\n");
        net::closeHandle(socket);
        return;
    }
    int size = requestedReceiveBuffer;
#ifdef SO_RCVBUFFORCE
    // Beyond the system's limit where we are allowed to; the plain request is capped by it.
    if (setsockopt(socket, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
#endif
        setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size),
                   sizeof size);
    int granted = 0;
    socklen_t length = sizeof granted;
    getsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted), &length);
    out_.log.event(receiveBufferEvent(granted, size));
    receiveBufferGranted_ = granted / reportedPerSetByte;
    out_.log.event(message("Opening udp server on port %d\n", settings_.udpPort));
    udp_ = socket;
}

std::string ModuleLink::receiveBufferEvent(int reported, int asked) {
    const int set = reported / reportedPerSetByte;
    if (set >= asked) {
        return message("UDP receive buffer of %d bytes\n", reported);
    }
    // The size set is the system's limit (net.core.rmem_max on Linux), the figure to raise.
    return message("UDP receive buffer of %d bytes, less than the %d bytes asked for\n", set,
                   asked);
}

void ModuleLink::close() {
    if (!connected()) {
        return;
    }
    if (udpOpen()) {
        shutdown(udp_, net::shutdownReceiving);
    }
    closeUdp();
    // The module is given time to take in what was sent last before the line goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    shutdown(tcp_, net::shutdownReceiving);
    closeTcp();
}

void ModuleLink::closeUdp() {
    if (udpOpen()) {
        net::closeHandle(udp_);
        udp_ = net::invalidHandle;
    }
}

void ModuleLink::closeTcp() {
    if (connected()) {
        net::closeHandle(tcp_);
        tcp_ = net::invalidHandle;
    }
}

std::string_view ModuleLink::receiveBytes() {
    if (!connected()) {
        return {};
    }
    const auto received = ::recv(tcp_, byteArea_.data(), static_cast<int>(byteArea_.size()), 0);
    if (received > 0) {
        return {byteArea_.data(), static_cast<std::size_t>(received)};
    }
    if (received < 0) {
        const int error = net::lastError();
        if (net::wouldBlock(error) || error == EINTR) {
            return {};
        }
        out_.print("Rcv error 2\n");
    }
    // The module hung up (quietly) or the connection failed (reported above).
    closeTcp();
    return {};
}

void ModuleLink::sendByte(unsigned char key) {
    if (key != 0) {
        const char byte = static_cast<char>(key);
        sendBytes(&byte, 1);
    }
}

void ModuleLink::sendText(std::string_view text) {
    sendBytes(text.data(), text.size());
}

void ModuleLink::sendBytes(const char* bytes, std::size_t count) {
    if (connected() && count > 0) {
        ::send(tcp_, bytes, static_cast<int>(count), net::noSignalFlag);
    }
}

std::span<const Datagram> ModuleLink::receiveDatagrams() {
    batch_.clear();
    if (!udpOpen()) {
        return {};
    }
#ifdef __linux__
    // One system call takes the whole batch, so a burst is emptied from the socket quickly.
    mmsghdr headers[batchSize]{};
    iovec areas[batchSize];
    for (std::size_t i = 0; i < batchSize; ++i) {
        areas[i] = {datagramArea_.data() + i * receiveArea, receiveArea};
        headers[i].msg_hdr.msg_iov = &areas[i];
        headers[i].msg_hdr.msg_iovlen = 1;
    }
    const int count = recvmmsg(udp_, headers, batchSize, MSG_DONTWAIT, nullptr);
    for (int i = 0; i < count; ++i) {
        const std::size_t length = headers[i].msg_len;
        // An empty datagram carries no frame; it does not end the receiver either.
        if (length > 0) {
            batch_.push_back({datagramArea_.data() + static_cast<std::size_t>(i) * receiveArea,
                              std::min(length, receiveArea)});
        }
    }
    const int failure = count < 0 ? net::lastError() : 0;
#else
    int failure = 0;
    for (std::size_t i = 0; i < batchSize; ++i) {
        std::byte* area = datagramArea_.data() + i * receiveArea;
        const auto received = ::recvfrom(udp_, reinterpret_cast<char*>(area),
                                         static_cast<int>(receiveArea), 0, nullptr, nullptr);
        const int error = received < 0 ? net::lastError() : 0;
        if (net::datagramCutShort(error)) {
            batch_.push_back({area, receiveArea});
            continue;
        }
        if (received < 0) {
            failure = error;
            break;
        }
        if (received > 0) {
            batch_.push_back({area, static_cast<std::size_t>(received)});
        }
    }
#endif
    if (failure != 0 && !net::wouldBlock(failure) && !net::transientDatagramError(failure)) {
        out_.log.error(message("ERROR: recvfrom() failed: error %d\n", failure));
        closeUdp();
    }
    return batch_;
}

} // namespace ferrow
