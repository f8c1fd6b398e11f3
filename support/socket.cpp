#include "support/socket.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/databuffer.h"

namespace {

const int kMaxHostLength = 1023;

// Every call is retried when a signal interrupts it before anything moved,
// so that a caller sees the call's real outcome rather than a spurious error.
template <class Call>
long retry(Call call) {
    long result;
    do result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

void set_no_delay(int fd) {
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Where [offset, offset + count) of the buffer starts, or null when the range
// is not inside it. `ok` tells a refusal from an empty buffer's range.
unsigned char* range_start(XrDataBuffer* buffer, int offset, int count, bool* ok) {
    *ok = buffer && buffer->HoldsRange(offset, count);
    if (!*ok || !buffer->m_bytes) return nullptr;
    return buffer->m_bytes + offset;
}

bool fetch_address(int fd, XrSocketAddress* address, bool remote) {
    if (fd == -1 || !address) return false;
    sockaddr_in found{};
    socklen_t length = sizeof found;
    sockaddr* into = reinterpret_cast<sockaddr*>(&found);
    if ((remote ? getpeername(fd, into, &length) : getsockname(fd, into, &length)) != 0) return false;
    if (found.sin_family != AF_INET) return false;
    address->m_addr = found;
    address->m_valid = false;
    return true;
}

}  // namespace

XrSocketAddress::XrSocketAddress() {
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
    if (m_socket != -1) return false;
    int fd;
    // Close-on-exec: a program the game starts (a browser for a web address)
    // must not inherit and hold open the game's connections.
    if (proto == kTcp || proto == kTcp2)
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    else if (proto == kUdp)
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    else
        return false;
    if (fd < 0) return false;
    if (proto != kUdp) set_no_delay(fd);
    m_socket = fd;
    m_proto = proto;
    return true;
}

void XrSocket::Close() {
    if (m_accepted != -1) close(m_accepted);
    if (m_socket != -1) close(m_socket);
    m_accepted = -1;
    m_socket = -1;
    m_proto = 0;
}

bool XrSocket::Bind(String host, int port) {
    if (m_socket == -1) return false;
    XrSocketAddress address;
    if (!address.Set(host, port)) return false;
    if (m_proto != kUdp) {
        // A restarted server can take its port again while connections of
        // its previous run still linger.
        int on = 1;
        setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    return bind(m_socket, reinterpret_cast<sockaddr*>(&address.m_addr), sizeof address.m_addr) == 0;
}

bool XrSocket::Connect(String host, int port) {
    if (m_socket == -1) return false;
    XrSocketAddress address;
    if (!address.Set(host, port)) return false;
    return connect(m_socket, reinterpret_cast<sockaddr*>(&address.m_addr), sizeof address.m_addr) == 0;
}

bool XrSocket::Listen(int backlog) {
    if (m_socket == -1) return false;
    return listen(m_socket, backlog) == 0;
}

bool XrSocket::Accept() {
    if (m_socket == -1) return false;
    int fd = int(retry([&] { return long(accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC)); }));
    if (fd < 0) return false;
    // One pending connection at a time: an earlier one nobody took would
    // otherwise stay open until the process ends.
    if (m_accepted != -1) close(m_accepted);
    m_accepted = fd;
    return true;
}

XrSocket* XrSocket::Accepted() {
    if (m_accepted == -1) return nullptr;
    XrSocket* connection = new XrSocket();
    connection->m_socket = m_accepted;
    connection->m_proto = m_proto;
    m_accepted = -1;
    if (m_proto != kUdp) set_no_delay(connection->m_socket);
    return connection;
}

// MSG_NOSIGNAL: writing to a connection the peer has reset must come back as
// an error, not as SIGPIPE ending the game.
int XrSocket::Send(XrDataBuffer* buffer, int offset, int count) {
    bool ok;
    unsigned char* from = range_start(buffer, offset, count, &ok);
    if (!ok || m_socket == -1) return -1;
    return int(retry([&] { return long(send(m_socket, from, size_t(count), MSG_NOSIGNAL)); }));
}

int XrSocket::Receive(XrDataBuffer* buffer, int offset, int count) {
    bool ok;
    unsigned char* into = range_start(buffer, offset, count, &ok);
    if (!ok || m_socket == -1) return -1;
    return int(retry([&] { return long(recv(m_socket, into, size_t(count), 0)); }));
}

int XrSocket::SendTo(XrDataBuffer* buffer, int offset, int count, XrSocketAddress* address) {
    bool ok;
    unsigned char* from = range_start(buffer, offset, count, &ok);
    if (!ok || !address || m_socket == -1) return -1;
    const sockaddr* to = reinterpret_cast<const sockaddr*>(&address->m_addr);
    return int(retry([&] {
        return long(sendto(m_socket, from, size_t(count), MSG_NOSIGNAL, to, sizeof address->m_addr));
    }));
}

int XrSocket::ReceiveFrom(XrDataBuffer* buffer, int offset, int count, XrSocketAddress* address) {
    bool ok;
    unsigned char* into = range_start(buffer, offset, count, &ok);
    if (!ok || m_socket == -1) return -1;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    int n = int(retry([&] {
        length = sizeof from;
        return long(recvfrom(m_socket, into, size_t(count), 0, reinterpret_cast<sockaddr*>(&from), &length));
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
