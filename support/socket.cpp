#include "support/socket.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "support/databuffer.h"

namespace {

const int kMaxHostLength = 1023;
using Handle = XrSocket::Handle;
const Handle kNone = XrSocket::kNone;

// What differs between the two systems' calls: starting the library, closing,
// the error of an interrupted call, keeping a handle from programs the game
// starts (a browser for a web address must not hold the game's connections),
// and a write to a vanished peer, which must fail rather than raise SIGPIPE.
#ifdef _WIN32
using Length = int;
const int kNoSignal = 0;

// Windows Sockets is started once, for the rest of the process, by the first
// socket or address made.
void start_sockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

bool interrupted() {
    return WSAGetLastError() == WSAEINTR;
}

void close_handle(Handle s) {
    closesocket(s);
}

Handle keep_private(Handle s) {
    if (s != kNone) SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    return s;
}

Handle open_socket(int type, int protocol) {
    start_sockets();
    return keep_private(socket(AF_INET, type, protocol));
}

Handle accept_connection(Handle s) {
    return keep_private(accept(s, nullptr, nullptr));
}
#else
using Length = socklen_t;
const int kNoSignal = MSG_NOSIGNAL;

void start_sockets() {}

bool interrupted() {
    return errno == EINTR;
}

void close_handle(Handle s) {
    close(s);
}

Handle open_socket(int type, int protocol) {
    return socket(AF_INET, type | SOCK_CLOEXEC, protocol);
}

Handle accept_connection(Handle s) {
    return accept4(s, nullptr, nullptr, SOCK_CLOEXEC);
}
#endif

// Every call is retried when a signal interrupts it before anything moved,
// so that a caller sees the call's real outcome rather than a spurious error.
template <class Call>
auto retry(Call call) {
    auto result = call();
    while (result < 0 && interrupted()) result = call();
    return result;
}

void set_option(Handle s, int level, int name, int value) {
    setsockopt(s, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

// Where [offset, offset + count) of the buffer starts, or null when the range
// is not inside it. `ok` tells a refusal from an empty buffer's range.
unsigned char* range_start(XrDataBuffer* buffer, int offset, int count, bool* ok) {
    *ok = buffer && buffer->HoldsRange(offset, count);
    if (!*ok || !buffer->m_bytes) return nullptr;
    return buffer->m_bytes + offset;
}

bool fetch_address(Handle s, XrSocketAddress* address, bool remote) {
    if (s == kNone || !address) return false;
    sockaddr_in found{};
    Length length = sizeof found;
    sockaddr* into = reinterpret_cast<sockaddr*>(&found);
    if ((remote ? getpeername(s, into, &length) : getsockname(s, into, &length)) != 0) return false;
    if (found.sin_family != AF_INET) return false;
    address->m_addr = found;
    address->m_valid = false;
    return true;
}

}  // namespace

XrSocketAddress::XrSocketAddress() {
    start_sockets();
    m_addr.sin_family = AF_INET;
}

bool XrSocketAddress::Set(String host, int port) {
    m_valid = false;
    m_addr = sockaddr_in{};
    m_addr.sin_family = AF_INET;
    if (port < 0 || port > 65535 || host.Length() > kMaxHostLength) return false;
    m_addr.sin_port = htons(uint16_t(port));
    if (host.Length() == 0) return true;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.ToUtf8().c_str(), nullptr, &hints, &found) != 0) return false;
    bool resolved = false;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
        m_addr.sin_addr = reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr;
        resolved = true;
        break;
    }
    freeaddrinfo(found);
    return resolved;
}

void XrSocketAddress::Set(XrSocketAddress* address) {
    m_valid = false;
    if (address) m_addr = address->m_addr;
}

void XrSocketAddress::Validate() {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&m_addr.sin_addr.s_addr);
    String dot(".");
    m_host = String(int(b[0])) + dot + String(int(b[1])) + dot + String(int(b[2])) + dot + String(int(b[3]));
    m_port = ntohs(m_addr.sin_port);
    m_valid = true;
}

XrSocket::~XrSocket() {
    Close();
}

bool XrSocket::Open(int proto) {
    if (m_socket != kNone) return false;
    Handle s;
    if (proto == kTcp || proto == kTcp2)
        s = open_socket(SOCK_STREAM, IPPROTO_TCP);
    else if (proto == kUdp)
        s = open_socket(SOCK_DGRAM, IPPROTO_UDP);
    else
        return false;
    if (s == kNone) return false;
    if (proto != kUdp) set_option(s, IPPROTO_TCP, TCP_NODELAY, 1);
    m_socket = s;
    m_proto = proto;
    return true;
}

void XrSocket::Close() {
    if (m_accepted != kNone) close_handle(m_accepted);
    if (m_socket != kNone) close_handle(m_socket);
    m_accepted = kNone;
    m_socket = kNone;
    m_proto = 0;
}

bool XrSocket::Bind(String host, int port) {
    if (m_socket == kNone) return false;
    XrSocketAddress address;
    if (!address.Set(host, port)) return false;
#ifndef _WIN32
    // A restarted server can take its port again while connections of its
    // previous run still linger. (Windows allows that as it is; there the
    // option would let another program take a port in use.)
    if (m_proto != kUdp) set_option(m_socket, SOL_SOCKET, SO_REUSEADDR, 1);
#endif
    return bind(m_socket, reinterpret_cast<sockaddr*>(&address.m_addr), sizeof address.m_addr) == 0;
}

bool XrSocket::Connect(String host, int port) {
    if (m_socket == kNone) return false;
    XrSocketAddress address;
    if (!address.Set(host, port)) return false;
    return connect(m_socket, reinterpret_cast<sockaddr*>(&address.m_addr), sizeof address.m_addr) == 0;
}

bool XrSocket::Listen(int backlog) {
    if (m_socket == kNone) return false;
    return listen(m_socket, backlog) == 0;
}

bool XrSocket::Accept() {
    if (m_socket == kNone) return false;
    Handle s = kNone;
    do s = accept_connection(m_socket);
    while (s == kNone && interrupted());
    if (s == kNone) return false;
    // One pending connection at a time: an earlier one nobody took would
    // otherwise stay open until the process ends.
    if (m_accepted != kNone) close_handle(m_accepted);
    m_accepted = s;
    return true;
}

XrSocket* XrSocket::Accepted() {
    if (m_accepted == kNone) return nullptr;
    XrSocket* connection = new XrSocket();
    connection->m_socket = m_accepted;
    connection->m_proto = m_proto;
    m_accepted = kNone;
    if (m_proto != kUdp) set_option(connection->m_socket, IPPROTO_TCP, TCP_NODELAY, 1);
    return connection;
}

int XrSocket::Send(XrDataBuffer* buffer, int offset, int count) {
    bool ok;
    const char* from = reinterpret_cast<const char*>(range_start(buffer, offset, count, &ok));
    if (!ok || m_socket == kNone) return -1;
    return int(retry([&] { return send(m_socket, from, count, kNoSignal); }));
}

int XrSocket::Receive(XrDataBuffer* buffer, int offset, int count) {
    bool ok;
    char* into = reinterpret_cast<char*>(range_start(buffer, offset, count, &ok));
    if (!ok || m_socket == kNone) return -1;
    return int(retry([&] { return recv(m_socket, into, count, 0); }));
}

int XrSocket::SendTo(XrDataBuffer* buffer, int offset, int count, XrSocketAddress* address) {
    bool ok;
    const char* from = reinterpret_cast<const char*>(range_start(buffer, offset, count, &ok));
    if (!ok || !address || m_socket == kNone) return -1;
    const sockaddr* to = reinterpret_cast<const sockaddr*>(&address->m_addr);
    return int(retry([&] { return sendto(m_socket, from, count, kNoSignal, to, sizeof address->m_addr); }));
}

int XrSocket::ReceiveFrom(XrDataBuffer* buffer, int offset, int count, XrSocketAddress* address) {
    bool ok;
    char* into = reinterpret_cast<char*>(range_start(buffer, offset, count, &ok));
    if (!ok || m_socket == kNone) return -1;
    sockaddr_in from{};
    Length length = sizeof from;
    int n = int(retry([&] {
        length = sizeof from;
        return recvfrom(m_socket, into, count, 0, reinterpret_cast<sockaddr*>(&from), &length);
    }));
    if (n >= 0 && address && from.sin_family == AF_INET) {
        address->m_addr = from;
        address->m_valid = false;
    }
    return n;
}

bool XrSocket::GetLocalAddress(XrSocketAddress* address) {
    return fetch_address(m_socket, address, false);
}

bool XrSocket::GetRemoteAddress(XrSocketAddress* address) {
    return fetch_address(m_socket, address, true);
}
