#include "support/thread.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

#include "runtime/debug.h"

namespace {

// Threads started and not yet seen finished. Only the game thread touches
// the list; a body's last act is to publish its finished state, after which
// it never reads its thread object again.
std::vector<XrThread*> running;

// Set on a body's own thread: its stores must not reach the collector's lists.
thread_local bool on_worker = false;

void forget_finished() {
    auto finished = [](XrThread* t) {
        return t->m_state.load(std::memory_order_acquire) != XrThread::kRunning;
    };
    running.erase(std::remove_if(running.begin(), running.end(), finished), running.end());
}

}  // namespace

// Starting the modules again must not let go of bodies still running.
void xr_thread_init() {
    forget_finished();
}

void xr_thread_mark() {
    forget_finished();
    for (XrThread* t : running) gc_mark_q(t);
}

XrThread::~XrThread() {
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

void XrThread::Start() {
    if (m_state.load(std::memory_order_acquire) == kRunning) return;
    m_result.store(nullptr, std::memory_order_relaxed);
    m_state.store(kRunning, std::memory_order_release);
    if (std::find(running.begin(), running.end(), this) == running.end()) running.push_back(this);
    // Storing into a root mid-cycle: the barrier keeps this cycle's sweep off it.
    gc_mark_q(this);

    if (!StartNative()) {
        xrPrint(String("CreateThread failed!"));
        std::exit(-1);
    }
}

void XrThread::Main(XrThread* thread) {
    on_worker = true;
    thread->Run__UNSAFE__();
    thread->m_state.store(kFinished, std::memory_order_release);
}

// The native thread is detached at once: nothing waits for it; its state
// says when it has finished.
#ifdef _WIN32
bool XrThread::StartNative() {
    auto body = [](void* self) -> DWORD {
        Main(static_cast<XrThread*>(self));
        return 0;
    };
    HANDLE handle = CreateThread(nullptr, 0, body, this, 0, nullptr);
    if (!handle) return false;
    CloseHandle(handle);
    return true;
}
#else
bool XrThread::StartNative() {
    auto body = [](void* self) -> void* {
        Main(static_cast<XrThread*>(self));
        return nullptr;
    };
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    pthread_t id;
    const bool started = pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED) == 0 &&
                         pthread_create(&id, &attr, body, this) == 0;
    pthread_attr_destroy(&attr);
    return started;
}
#endif

bool XrThread::IsRunning() {
    return m_state.load(std::memory_order_acquire) == kRunning;
}

Object* XrThread::Result() {
    Object* result = m_result.load(std::memory_order_acquire);
    // The body stored it without the barrier; the game reading it is the
    // first moment the barrier can be applied.
    if (!on_worker) gc_mark_field(result);
    return result;
}

void XrThread::SetResult(Object* result) {
    if (!on_worker) gc_mark_field(result);
    m_result.store(result, std::memory_order_release);
}

void XrThread::mark() {
    gc_mark_field(m_result.load(std::memory_order_acquire));
}

String XrThread::Strdup(const String& text) {
    return String(text.Data(), text.Length());
}
