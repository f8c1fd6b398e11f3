// A block of raw bytes owned by a collected object: what files are read into
// and what sockets send from and receive into.
#pragma once

#include "runtime/object.h"
#include "runtime/string.h"

class XrThread;

class XrDataBuffer : public Object {
public:
    unsigned char* m_bytes = nullptr;  // malloc'd, owned
    int m_size = 0;

    ~XrDataBuffer() override;

    // Takes `memory` (malloc'd, now owned) or, when it is null, a new zeroed
    // block of `size` bytes. Fails if the buffer already holds memory.
    bool _New(int size, void* memory = nullptr);
    // Reads a whole file through the host into an empty buffer.
    bool _Load(String path);
    // The same load, run from a thread's body; on success this buffer becomes
    // the thread's result. Give the body a private copy of the path
    // (XrThread::Strdup): string counts are not shared safely between threads.
    bool _LoadAsync(String path, XrThread* thread);
    void Discard();

    // Whether [offset, offset + count) lies inside the bytes.
    bool HoldsRange(int offset, int count) const {
        return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset;
    }
};
