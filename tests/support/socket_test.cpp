#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "support/databuffer.h"
#include "support/socket.h"
#include "tests/harness/socket_options.h"
#include "tests/harness/test_roots.h"
#include "tests/support/support_test_util.h"

namespace {

XrDataBuffer* buffer_of(int size) {
    XrDataBuffer* b = new XrDataBuffer();
    b->_New(size);
    return b;
}

void put(XrDataBuffer* b, int offset, const std::string& text) {
    std::memcpy(b->m_bytes + offset, text.data(), text.size());
}

std::string get(XrDataBuffer* b, int offset, int count) {
    return std::string(reinterpret_cast<char*>(b->m_bytes) + offset, size_t(count));
}

int local_port(XrSocket* s) {
    XrSocketAddress* a = new XrSocketAddress();
    if (!s->GetLocalAddress(a)) return -1;
    a->Validate();
    return a->m_port;
}

// A stream may deliver a message in pieces: read until all of it is there.
int receive_all(XrSocket* s, XrDataBuffer* b, int offset, int count) {
    int got = 0;
    while (got < count) {
        int n = s->Receive(b, offset + got, count - got);
        if (n <= 0) return n;
        got += n;
    }
    return got;
}

// Windows gives the option as one byte, Linux as an int: 0 is off either way.
bool no_delay(XrSocket::Handle s) {
    int on = 0;
    GetSocketOption(s, IPPROTO_TCP, TCP_NODELAY, &on);
    return on != 0;
}

// Whether the system still knows the handle as an open socket.
bool is_open(XrSocket::Handle s) {
    int type = 0;
    return GetSocketOption(s, SOL_SOCKET, SO_TYPE, &type);
}

// A listener on a free loopback port, with a client connected to it and the
// connection accepted.
struct TcpPair {
    XrSocket* server = new XrSocket();
    XrSocket* client = new XrSocket();
    XrSocket* connection = nullptr;
    int port = -1;

    explicit TcpPair(int proto) {
        if (!server->Open(proto) || !server->Bind(String("127.0.0.1"), 0) || !server->Listen(4)) return;
        port = local_port(server);
        if (!client->Open(proto) || !client->Connect(String("127.0.0.1"), port)) return;
        if (server->Accept()) connection = server->Accepted();
    }
};

TEST(Sockets, TcpEchoThroughListenAcceptConnect) {
    for (int proto : {XrSocket::kTcp, XrSocket::kTcp2}) {
        TcpPair pair(proto);
        ASSERT_GT(pair.port, 0) << proto;
        ASSERT_NE(pair.connection, nullptr) << proto;
        EXPECT_EQ(pair.server->Accepted(), nullptr) << "a connection is handed out once";
        EXPECT_EQ(pair.connection->m_proto, proto);
        EXPECT_TRUE(no_delay(pair.client->m_socket));
        EXPECT_TRUE(no_delay(pair.connection->m_socket));

        // Each end sees the other's address.
        XrSocketAddress* clientSide = new XrSocketAddress();
        XrSocketAddress* serverSees = new XrSocketAddress();
        ASSERT_TRUE(pair.client->GetLocalAddress(clientSide));
        ASSERT_TRUE(pair.connection->GetRemoteAddress(serverSees));
        clientSide->Validate();
        serverSees->Validate();
        EXPECT_EQ(serverSees->m_host, String("127.0.0.1"));
        EXPECT_EQ(serverSees->m_port, clientSide->m_port);

        // Out of the middle of one buffer, into the middle of another, and back.
        const std::string message = "sonar ping from the deep";
        const int n = int(message.size());
        XrDataBuffer* out = buffer_of(64);
        XrDataBuffer* relay = buffer_of(64);
        XrDataBuffer* back = buffer_of(64);
        put(out, 10, message);
        ASSERT_EQ(pair.client->Send(out, 10, n), n);
        ASSERT_EQ(receive_all(pair.connection, relay, 30, n), n);
        EXPECT_EQ(get(relay, 30, n), message);
        ASSERT_EQ(pair.connection->Send(relay, 30, n), n);
        ASSERT_EQ(receive_all(pair.client, back, 0, n), n);
        EXPECT_EQ(get(back, 0, n), message);
        EXPECT_EQ(get(back, n, 64 - n), std::string(size_t(64 - n), '\0'));

        // The peer closing reads as end of stream.
        pair.connection->Close();
        EXPECT_EQ(pair.client->Receive(back, 0, 8), 0);
    }
}

TEST(Sockets, DatagramArrivesWithItsSendersAddress) {
    XrSocket* a = new XrSocket();
    XrSocket* b = new XrSocket();
    ASSERT_TRUE(a->Open(XrSocket::kUdp));
    ASSERT_TRUE(b->Open(XrSocket::kUdp));
    ASSERT_TRUE(a->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(b->Bind(String("127.0.0.1"), 0));
    const int portA = local_port(a), portB = local_port(b);
    ASSERT_GT(portA, 0);
    ASSERT_GT(portB, 0);
    ASSERT_NE(portA, portB);

    XrDataBuffer* out = buffer_of(32);
    XrDataBuffer* in = buffer_of(32);
    put(out, 4, "treasure+5");
    XrSocketAddress* to = new XrSocketAddress();
    ASSERT_TRUE(to->Set(String("localhost"), portB));
    ASSERT_EQ(a->SendTo(out, 4, 10, to), 10);

    XrSocketAddress* from = new XrSocketAddress();
    ASSERT_EQ(b->ReceiveFrom(in, 20, 12, from), 10);
    EXPECT_EQ(get(in, 20, 10), "treasure+5");
    EXPECT_FALSE(from->m_valid);
    from->Validate();
    EXPECT_TRUE(from->m_valid);
    EXPECT_EQ(from->m_host, String("127.0.0.1"));
    EXPECT_EQ(from->m_port, portA);

    // The reply goes back to the address the datagram came from.
    ASSERT_EQ(b->SendTo(in, 20, 8, from), 8);
    XrSocketAddress* replyFrom = new XrSocketAddress();
    ASSERT_EQ(a->ReceiveFrom(in, 0, 32, replyFrom), 8);
    EXPECT_EQ(get(in, 0, 8), "treasure");
    replyFrom->Validate();
    EXPECT_EQ(replyFrom->m_port, portB);
}

TEST(Sockets, AddressesResolveAndRenderDotted) {
    struct Case {
        std::string host;
        int port;
        bool ok;
        const char* dotted;
        int shownPort;
    };
    const Case cases[] = {
        {"127.0.0.1", 0, true, "127.0.0.1", 0},
        {"127.0.0.1", 65535, true, "127.0.0.1", 65535},
        {"10.200.3.254", 443, true, "10.200.3.254", 443},
        {"localhost", 8080, true, "127.0.0.1", 8080},
        {"", 27015, true, "0.0.0.0", 27015},  // any address, for binding
        {std::string(1024, 'a'), 80, false, "0.0.0.0", 0},
        {"127.0.0.1", 65536, false, "0.0.0.0", 0},
        {"127.0.0.1", -1, false, "0.0.0.0", 0},
    };
    for (const Case& c : cases) {
        XrSocketAddress* a = new XrSocketAddress();
        EXPECT_EQ(a->Set(String(c.host.c_str()), c.port), c.ok) << c.host << ":" << c.port;
        EXPECT_FALSE(a->m_valid);
        a->Validate();
        EXPECT_TRUE(a->m_valid);
        EXPECT_EQ(a->m_host, String(c.dotted)) << c.host << ":" << c.port;
        EXPECT_EQ(a->m_port, c.shownPort) << c.host << ":" << c.port;

        XrSocketAddress* copy = new XrSocketAddress();
        copy->Set(a);
        copy->Validate();
        EXPECT_EQ(copy->m_host, a->m_host);
        EXPECT_EQ(copy->m_port, a->m_port);
    }
}

// A range outside the buffer is refused before any system call: a pending
// datagram is still there afterwards, and nothing refused reaches the peer.
TEST(Sockets, RangesOutsideTheBufferAreRefused) {
    XrSocket* a = new XrSocket();
    XrSocket* b = new XrSocket();
    ASSERT_TRUE(a->Open(XrSocket::kUdp) && a->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(b->Open(XrSocket::kUdp) && b->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(a->Connect(String("127.0.0.1"), local_port(b)));
    ASSERT_TRUE(b->Connect(String("127.0.0.1"), local_port(a)));
    XrSocketAddress* toB = new XrSocketAddress();
    ASSERT_TRUE(toB->Set(String("127.0.0.1"), local_port(b)));

    XrDataBuffer* sixteen = buffer_of(16);
    XrDataBuffer* none = new XrDataBuffer();
    struct Case {
        XrDataBuffer* buffer;
        int offset, count;
    };
    const Case refused[] = {
        {sixteen, -1, 4}, {sixteen, 0, 17},       {sixteen, 16, 1},      {sixteen, 8, 9},
        {sixteen, 0, -1}, {sixteen, INT_MAX, 1},  {sixteen, 1, INT_MAX}, {sixteen, 17, 0},
        {none, 0, 1},     {nullptr, 0, 0},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(a->Send(c.buffer, c.offset, c.count), -1) << c.offset << "+" << c.count;
        EXPECT_EQ(a->SendTo(c.buffer, c.offset, c.count, toB), -1) << c.offset << "+" << c.count;
    }

    XrDataBuffer* marker = buffer_of(4);
    put(marker, 0, "mark");
    ASSERT_EQ(a->Send(marker, 0, 4), 4);
    XrSocketAddress* from = new XrSocketAddress();
    for (const Case& c : refused) {
        EXPECT_EQ(b->Receive(c.buffer, c.offset, c.count), -1) << c.offset << "+" << c.count;
        EXPECT_EQ(b->ReceiveFrom(c.buffer, c.offset, c.count, from), -1) << c.offset << "+" << c.count;
    }
    EXPECT_EQ(get(sixteen, 0, 16), std::string(16, '\0'));

    // The first datagram to arrive is the marker: no refused send went out,
    // and no refused receive consumed it. The last byte is a valid range.
    ASSERT_EQ(b->Receive(sixteen, 12, 4), 4);
    EXPECT_EQ(get(sixteen, 12, 4), "mark");
    ASSERT_EQ(a->Send(sixteen, 15, 1), 1);
    ASSERT_EQ(b->Receive(marker, 3, 1), 1);
    EXPECT_EQ(get(marker, 0, 4), "mark");
}

TEST(Sockets, ClosedOrUnopenedSocketsFailQuietly) {
    XrSocket* never = new XrSocket();
    XrSocket* closed = new XrSocket();
    ASSERT_TRUE(closed->Open(XrSocket::kTcp));
    EXPECT_FALSE(closed->Open(XrSocket::kTcp)) << "already open";
    closed->Close();
    closed->Close();

    XrDataBuffer* b = buffer_of(8);
    XrSocketAddress* a = new XrSocketAddress();
    for (XrSocket* s : {never, closed}) {
        EXPECT_EQ(s->m_socket, XrSocket::kNone);
        EXPECT_FALSE(s->Bind(String("127.0.0.1"), 0));
        EXPECT_FALSE(s->Connect(String("127.0.0.1"), 9));
        EXPECT_FALSE(s->Listen(1));
        EXPECT_FALSE(s->Accept());
        EXPECT_EQ(s->Accepted(), nullptr);
        EXPECT_EQ(s->Send(b, 0, 8), -1);
        EXPECT_EQ(s->Receive(b, 0, 8), -1);
        EXPECT_EQ(s->SendTo(b, 0, 8, a), -1);
        EXPECT_EQ(s->ReceiveFrom(b, 0, 8, a), -1);
        EXPECT_FALSE(s->GetLocalAddress(a));
        EXPECT_FALSE(s->GetRemoteAddress(a));
    }
    for (int proto : {0, 4, -1}) {
        EXPECT_FALSE(never->Open(proto)) << proto;
        EXPECT_EQ(never->m_socket, XrSocket::kNone);
    }
}

// The peer has gone: writing must come back as an error instead of a signal
// that ends the process.
TEST(Sockets, SendingToAVanishedPeerFailsWithoutEndingTheProcess) {
    TcpPair pair(XrSocket::kTcp);
    ASSERT_NE(pair.connection, nullptr);
    pair.connection->Close();
    XrDataBuffer* b = buffer_of(1024);
    int result = 0;
    for (int i = 0; i < 1000 && result >= 0; ++i) result = pair.client->Send(b, 0, 1024);
    EXPECT_EQ(result, -1);
}

// Sockets the game lets go of are closed when collected: the listener's port
// refuses connections, and the taken connection's handle is released.
TEST(Sockets, CollectedSocketsAreClosed) {
    std::fill(std::begin(test_roots), std::end(test_roots), nullptr);
    TcpPair pair(XrSocket::kTcp);
    ASSERT_NE(pair.connection, nullptr);
    const int port = pair.port;
    const XrSocket::Handle connectionHandle = pair.connection->m_socket;
    gc_assign(test_roots[0], pair.client);
    CollectGarbage();

    // Checked before reading, which would wait for ever on an open peer.
    ASSERT_FALSE(is_open(connectionHandle));
    XrDataBuffer* b = buffer_of(4);
    EXPECT_EQ(pair.client->Receive(b, 0, 4), 0) << "the client sees the end of the stream";
    XrSocket* late = new XrSocket();
    ASSERT_TRUE(late->Open(XrSocket::kTcp));
    EXPECT_FALSE(late->Connect(String("127.0.0.1"), port));
}

}  // namespace
