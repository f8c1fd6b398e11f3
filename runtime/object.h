// Root classes of everything the collector owns, and the write barrier.
#pragma once

#include "runtime/gc.h"

class String;

class Object : public gc_object {
public:
    virtual bool Equals(Object* other);
    virtual int Compare(Object* other);
    virtual String debug();
};

// Root of interfaces; implemented through virtual inheritance, so a reference
// held as an interface needs a run-time cast to reach its header.
class gc_interface {
public:
    virtual ~gc_interface() {}
};

class ThrowableObject : public Object {};

inline gc_object* gc_as_object(gc_object* o) { return o; }
inline gc_object* gc_as_object(gc_interface* i) { return dynamic_cast<gc_object*>(i); }

// Write barrier: every store of a reference into a global or into a field of a
// collected object goes through here, so incremental marking stays sound.
template <class T, class U>
inline void gc_assign(T*& slot, U* value) {
    if (value) gc_mark_q(gc_as_object(value));
    slot = value;
}

// Used by mark(): queues a field, whatever its static type.
template <class T>
inline void gc_mark_field(T* value) {
    if (value) gc_mark_q(gc_as_object(value));
}
