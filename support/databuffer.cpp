#include "support/databuffer.h"

#include <cstdlib>

#include "host/xrgame.h"
#include "support/thread.h"

XrDataBuffer::~XrDataBuffer() {
    std::free(m_bytes);
}

bool XrDataBuffer::_New(int size, void* memory) {
    if (m_bytes || size < 0) return false;
    if (!memory) {
        // Zeroed, so that bytes never written cannot leak old heap contents
        // onto the network. At least one byte: calloc(0) may return null.
        memory = std::calloc(size > 0 ? size_t(size) : 1, 1);
        if (!memory) return false;
        gc_ext_malloced(size);
    }
    m_bytes = static_cast<unsigned char*>(memory);
    m_size = size;
    return true;
}

bool XrDataBuffer::_Load(String path) {
    if (m_bytes || !XrGame::_game) return false;
    int length = 0;
    unsigned char* data = XrGame::_game->LoadData(path, &length);
    if (!data) return false;
    m_bytes = data;
    m_size = length;
    return true;
}

bool XrDataBuffer::_LoadAsync(String path, XrThread* thread) {
    if (!_Load(path)) return false;
    if (thread) thread->SetResult(this);
    return true;
}

void XrDataBuffer::Discard() {
    std::free(m_bytes);
    m_bytes = nullptr;
    m_size = 0;
}
