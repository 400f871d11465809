#pragma once

// The few places where Winsock and BSD sockets differ, so the link code is written once.

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace ferrow::net {

#ifdef _WIN32
using Handle = SOCKET;
inline constexpr Handle invalidHandle = INVALID_SOCKET;
using PollEntry = WSAPOLLFD;
inline constexpr int shutdownReceiving = SD_RECEIVE;
inline constexpr int noSignalFlag = 0;

inline int lastError() {
    return WSAGetLastError();
}
inline bool wouldBlock(int error) {
    return error == WSAEWOULDBLOCK;
}
inline bool connectPending(int error) {
    return error == WSAEWOULDBLOCK;
}
// An ICMP report of an earlier send is no reason to stop receiving frames.
inline bool transientDatagramError(int error) {
    return error == WSAECONNRESET || error == WSAEINTR;
}
// Winsock fails a datagram longer than the receive area, having filled the area with its start.
inline bool datagramCutShort(int error) {
    return error == WSAEMSGSIZE;
}
inline void closeHandle(Handle handle) {
    closesocket(handle);
}
inline bool makeNonBlocking(Handle handle) {
    u_long on = 1;
    return ioctlsocket(handle, FIONBIO, &on) == 0;
}
inline int pollHandles(PollEntry* entries, unsigned count, int timeoutMs) {
    return WSAPoll(entries, count, timeoutMs);
}
inline int startup() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
}
inline void cleanup() {
    WSACleanup();
}
#else
using Handle = int;
inline constexpr Handle invalidHandle = -1;
using PollEntry = pollfd;
inline constexpr int shutdownReceiving = SHUT_RD;
#ifdef MSG_NOSIGNAL
inline constexpr int noSignalFlag = MSG_NOSIGNAL;
#else
inline constexpr int noSignalFlag = 0;
#endif

inline int lastError() {
    return errno;
}
inline bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}
inline bool connectPending(int error) {
    return error == EINPROGRESS;
}
inline bool transientDatagramError(int error) {
    return error == EINTR || error == ENOBUFS || error == ENOMEM || error == ECONNREFUSED;
}
// BSD sockets cut a long datagram to the receive area without an error.
inline bool datagramCutShort(int) {
    return false;
}
inline void closeHandle(Handle handle) {
    ::close(handle);
}
inline bool makeNonBlocking(Handle handle) {
    const int flags = fcntl(handle, F_GETFL, 0);
    return flags >= 0 && fcntl(handle, F_SETFL, flags | O_NONBLOCK) == 0;
}
inline int pollHandles(PollEntry* entries, unsigned count, int timeoutMs) {
    return ::poll(entries, static_cast<nfds_t>(count), timeoutMs);
}
inline int startup() {
    return 0;
}
inline void cleanup() {}
#endif

} // namespace ferrow::net
