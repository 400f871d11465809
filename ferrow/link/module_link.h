#pragma once

#include "socket_compat.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ferrow {

struct Outputs;
struct Settings;

// getsockopt reports this many bytes per byte of receive buffer set: Linux counts its
// bookkeeping too.
#ifdef __linux__
inline constexpr int reportedPerSetByte = 2;
#else
inline constexpr int reportedPerSetByte = 1;
#endif

// One received datagram, valid until the next receive.
struct Datagram {
    const std::byte* data;
    std::size_t length;
};

// The module's command connection (TCP) and the UDP receiver for its binary frames. Both
// sockets are non-blocking; their handles are offered for waiting on them.
class ModuleLink {
public:
    // Largest datagram taken; a longer one is cut to this.
    static constexpr std::size_t receiveArea = 4096;
    // How much receive buffer we ask for: a scheduler pause of a few tens of milliseconds on a
    // busy computer overflows 8 MiB at a million frames a second. The kernel charges only for
    // datagrams actually queued, so the size costs nothing while we keep up.
    static constexpr int requestedReceiveBuffer = 64 * 1024 * 1024;
    // The EVENT text for the receive buffer getsockopt reports; when less than asked was set,
    // both sizes are said.
    static std::string receiveBufferEvent(int reported, int asked);

    ModuleLink(Outputs& out, const Settings& settings);
    ~ModuleLink();
    ModuleLink(const ModuleLink&) = delete;
    ModuleLink& operator=(const ModuleLink&) = delete;

    // Connects to "host[:port]" (port 23 by default), then opens the UDP receiver. A
    // connection already open is closed first.
    void connect(const std::string& address);
    void close();

    // The UDP receive buffer the system granted, in bytes; 0 before a receiver was opened.
    int receiveBufferGranted() const { return receiveBufferGranted_; }

    bool connected() const { return tcp_ != net::invalidHandle; }
    bool udpOpen() const { return udp_ != net::invalidHandle; }
    net::Handle tcpHandle() const { return tcp_; }
    net::Handle udpHandle() const { return udp_; }

    // The bytes the module sent that are waiting, none when nothing came or it hung up.
    std::string_view receiveBytes();
    void sendByte(unsigned char key);
    void sendText(std::string_view text);

    // Takes the datagrams waiting now (a batch at most), none when nothing is waiting.
    std::span<const Datagram> receiveDatagrams();

private:
    void openUdpReceiver();
    void closeUdp();
    void closeTcp();
    void sendBytes(const char* bytes, std::size_t count);

    Outputs& out_;
    const Settings& settings_;
    net::Handle tcp_ = net::invalidHandle;
    net::Handle udp_ = net::invalidHandle;
    int receiveBufferGranted_ = 0;
    std::vector<char> byteArea_;
    std::vector<std::byte> datagramArea_;
    std::vector<Datagram> batch_;
};

} // namespace ferrow
