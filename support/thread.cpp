#include "support/thread.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <pthread.h>

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

    pthread_attr_t attr;
    bool started = false;
    if (pthread_attr_init(&attr) == 0) {
        pthread_t id;
        started = pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED) == 0 &&
                  pthread_create(&id, &attr, &XrThread::Main, this) == 0;
        pthread_attr_destroy(&attr);
    }
    if (!started) {
        xrPrint(String("CreateThread failed!"));
        std::exit(-1);
    }
}

void* XrThread::Main(void* self) {
    XrThread* thread = static_cast<XrThread*>(self);
    on_worker = true;
    thread->Run__UNSAFE__();
    thread->m_state.store(kFinished, std::memory_order_release);
    return nullptr;
}

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
