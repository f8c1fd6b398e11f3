// IPv4 sockets over the system's BSD socket calls, or Windows Sockets.
//
// Calls block only as long as the system call they make. Failures come back
// as false or -1, never as runtime errors: a network is expected to fail.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#else
#include <netinet/in.h>
#endif

#include "runtime/object.h"
#include "runtime/string.h"

class XrDataBuffer;

class XrSocketAddress : public Object {
public:
    sockaddr_in m_addr{};
    bool m_valid = false;  // m_host and m_port describe m_addr
    String m_host;
    int m_port = 0;

    XrSocketAddress();

    // Resolves `host` (name or dotted address) to its first IPv4 address. An
    // empty host means any address (0.0.0.0) and succeeds; a host that is
    // too long or cannot be resolved leaves 0.0.0.0 and fails.
    bool Set(String host, int port);
    void Set(XrSocketAddress* address);
    // Rebuilds m_host ("a.b.c.d") and m_port from the native address.
    void Validate();
};

class XrSocket : public Object {
public:
    // Protos 1 and 2 open the same kind of socket.
    enum { kTcp = 1, kTcp2 = 2, kUdp = 3 };

    // The system's handle of a socket; -1 (on Windows INVALID_SOCKET, the
    // same bits) when there is none.
#ifdef _WIN32
    using Handle = SOCKET;
#else
    using Handle = int;
#endif
    static constexpr Handle kNone = Handle(-1);

    Handle m_socket = kNone;
    int m_proto = 0;
    Handle m_accepted = kNone;  // a connection Accept() took and Accepted() has not

    ~XrSocket() override;

    // 1 or 2: TCP without send coalescing; 3: UDP. Fails when already open.
    bool Open(int proto);
    void Close();
    bool Bind(String host, int port);
    bool Connect(String host, int port);
    bool Listen(int backlog);
    bool Accept();
    // The connection Accept() took, as a socket of its own; null if none.
    XrSocket* Accepted();

    // Bytes moved, or -1. A range outside the buffer is refused before any
    // system call; so is a closed socket.
    int Send(XrDataBuffer* buffer, int offset, int count);
    int Receive(XrDataBuffer* buffer, int offset, int count);
    int SendTo(XrDataBuffer* buffer, int offset, int count, XrSocketAddress* address);
    int ReceiveFrom(XrDataBuffer* buffer, int offset, int count, XrSocketAddress* address);

    bool GetLocalAddress(XrSocketAddress* address);
    bool GetRemoteAddress(XrSocketAddress* address);
};
