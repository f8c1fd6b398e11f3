// A socket's options as the tests read them, in the same words on Linux and
// Windows (whose getsockopt takes a char buffer and an int length).
#pragma once

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

#include "support/socket.h"

// Reads an option into `value` (zeroed first: Windows gives some as one
// byte); false when the system refuses, as it does for a closed handle.
inline bool GetSocketOption(XrSocket::Handle s, int level, int name, int* value) {
    *value = 0;
#ifdef _WIN32
    int length = sizeof *value;
#else
    socklen_t length = sizeof *value;
#endif
    return getsockopt(s, level, name, reinterpret_cast<char*>(value), &length) == 0;
}
