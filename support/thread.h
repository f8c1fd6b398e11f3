// A body of work on a second, detached native thread.
//
// The collector, strings and every framework object belong to the game
// thread. A body may read what it was handed through the thread object's
// fields and write plain bytes, but must not allocate collected objects or
// store references anywhere except through SetResult.
#pragma once

#include <atomic>

#include "runtime/object.h"
#include "runtime/string.h"

class XrThread : public Object {
public:
    enum { kNotStarted = 0, kRunning = 1, kFinished = 2 };

    std::atomic<int> m_state{kNotStarted};
    std::atomic<Object*> m_result{nullptr};

    ~XrThread() override;

    // Starts the body unless it is already running. A thread that cannot be
    // created ends the process with "CreateThread failed!" and status -1.
    virtual void Start();
    virtual bool IsRunning();
    virtual Object* Result();
    // Callable from the body. The object handed back must stay reachable from
    // the game's own references until the game has read it with Result():
    // from the body the store cannot pass the write barrier, whose lists
    // belong to the game thread.
    virtual void SetResult(Object* result);
    virtual void Run__UNSAFE__() {}

    void mark() override;

    // A copy that shares no reference count with `text`, so that another
    // thread may hold and release it.
    static String Strdup(const String& text);

private:
    static void Main(XrThread* thread);
    // Starts Main on a detached native thread; false when none can be made.
    bool StartNative();
};

void xr_thread_init();
// Running threads are roots: a body runs on even after the game lets go of
// its thread object, and must not find it freed under it.
void xr_thread_mark();
