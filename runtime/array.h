// Fixed-length arrays owned by the collector.
//
// An Array is a handle to one collected block (header, length, elements).
// Each element type has one static empty block that is never listed, marked
// or freed; creating a length of 0 or less hands it out without allocating.
// Indexing is not bounds-checked: callers keep their indices in range.
#pragma once

#include <new>
#include <type_traits>

#include "runtime/object.h"

template <class T>
class Array {
public:
    struct Rep : gc_object {
        int length;

        Rep() {}
        constexpr explicit Rep(int colour) : gc_object(colour), length(0) {}

        T* data() { return reinterpret_cast<T*>(this + 1); }

        ~Rep() override {
            // The static empty block has no elements beyond its header; saying
            // so spares the compiler a walk past its end at program exit.
            if (this == &nullRep) return;
            if constexpr (!std::is_trivially_destructible<T>::value) {
                T* d = data();
                for (int i = 0; i < length; ++i) d[i].~T();
            }
        }

        void mark() override {
            if constexpr (std::is_pointer<T>::value) {
                T* d = data();
                for (int i = 0; i < length; ++i)
                    if (d[i]) gc_mark(gc_as_object(d[i]));
            }
        }
    };

    static inline Rep nullRep{GC_COLOUR_STATIC};

    Rep* rep;

    Array() : rep(&nullRep) {}

    explicit Array(int length) : rep(&nullRep) {
        if (length <= 0) return;
        void* block = gc_object_alloc(int(sizeof(Rep) + sizeof(T) * length));
        rep = new (block) Rep();
        rep->length = length;
        T* d = rep->data();
        for (int i = 0; i < length; ++i) new (&d[i]) T();
    }

    int Length() const { return rep->length; }
    T& operator[](int i) const { return rep->data()[i]; }
    T* Data() const { return rep->data(); }

    // A new array of `length` elements holding the first min(old, new) of
    // these. It is marked at once so that a collection in progress keeps it.
    Array Resize(int length) const {
        Array grown(length);
        int n = length < Length() ? length : Length();
        T* from = rep->data();
        T* to = grown.rep->data();
        for (int i = 0; i < n; ++i) to[i] = from[i];
        if (grown.rep != &nullRep) gc_mark(grown.rep);
        return grown;
    }
};

template <class T>
inline void gc_assign(Array<T>& slot, const Array<T>& value) {
    gc_mark_q(value.rep);
    slot.rep = value.rep;
}

template <class T>
inline void gc_mark_field(const Array<T>& value) {
    gc_mark_q(value.rep);
}
