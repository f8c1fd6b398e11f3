// Root classes of everything the collector owns, and the write barrier.
#pragma once

#include <type_traits>

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

// The header of whatever a reference points at: a plain upcast for objects,
// a run-time cast for references held as an interface.
template <class T>
inline gc_object* gc_as_object(T* p) {
    if constexpr (std::is_base_of<gc_object, T>::value)
        return p;
    else
        return dynamic_cast<gc_object*>(p);
}

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
