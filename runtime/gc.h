// Incremental, non-moving mark-and-sweep collector for every object and array.
//
// Objects sit on one of four doubly linked lists by colour. Marking advances
// in steps proportional to allocation, sweeping only splices lists, and the
// unreachable are destroyed lazily by later allocations. Roots are the module
// globals (the program's gc_mark()) and steps run only between host callbacks,
// so the machine stack is never scanned.
#pragma once

#include <cstddef>
#include <atomic>
#include <new>

struct gc_object;

void* gc_object_alloc(int size);
inline void gc_object_free(gc_object* object);
void gc_mark(gc_object* object);       // mark at once and scan
void gc_mark_q(gc_object* object);     // queue for a later scan
void gc_mark_queued(int target);
void gc_sweep();
void gc_collect();
void gc_ext_malloced(int bytes);
void gc_init1();

// Queues every module global holding a reference. The program provides it:
// only the program knows every module it links.
void gc_mark();

inline void gc_object_link(gc_object* object);

// Header of every collected object. The allocator hands out a block; the
// constructor puts it on the unmarked list. Doing that here rather than in the
// allocator keeps the header safe from the zeroing that value-initialisation
// (`new T()`) applies before constructors run. An object made outside the
// allocator (on the stack, static) gets the static colour and is never listed.
struct gc_object {
    gc_object* succ;
    gc_object* pred;
    int flags;

    gc_object() { gc_object_link(this); }
    // For objects that live outside the collector (list heads, empty arrays).
    constexpr explicit gc_object(int colour) : succ(nullptr), pred(nullptr), flags(colour) {}
    // A list head: an empty circular list from the first instant of the program.
    constexpr explicit gc_object(gc_object* head) : succ(head), pred(head), flags(0) {}
    gc_object(const gc_object&) = delete;
    gc_object& operator=(const gc_object&) = delete;
    virtual ~gc_object() {}
    virtual void mark() {}

    static void* operator new(std::size_t size) { return gc_object_alloc(int(size)); }
    static void* operator new(std::size_t, void* where) { return where; }
    static void operator delete(void* p) { gc_object_free(static_cast<gc_object*>(p)); }
    static void operator delete(void*, void*) {}
};

enum { GC_COLOUR_MASK = 3, GC_COLOUR_STATIC = 3, GC_THRESHOLD = 8388608, GC_CACHE_MAX = 56 };

extern int gc_markbit;
extern gc_object gc_unmarked_list;
extern gc_object gc_queued_list;
extern gc_object gc_marked_list;
extern gc_object gc_free_list;
extern gc_object* gc_cache[8];
extern int gc_new_bytes;
extern std::atomic<int> gc_ext_new_bytes;
extern int gc_alloced_bytes;
extern int gc_marked_bytes;
extern int gc_free_bytes;

inline int gc_size(const gc_object* o) { return o->flags & ~7; }

// Blocks handed out and not yet constructed. More than one is pending only
// while a constructor's arguments allocate (`new A(new B())`).
enum { GC_PENDING_MAX = 64 };
struct gc_pending_block {
    void* block;
    int size;
};
extern gc_pending_block gc_pending[GC_PENDING_MAX];
extern int gc_pending_count;

void gc_object_link_nested(gc_object* object);

// Allocation and freeing sit on every object's path: their common cases are
// kept inline.
inline void gc_object_link(gc_object* o) {
    int top = gc_pending_count - 1;
    if (top < 0 || gc_pending[top].block != o) {
        gc_object_link_nested(o);
        return;
    }
    int size = gc_pending[top].size;
    gc_pending_count = top;
    o->flags = size | gc_markbit;
    o->succ = &gc_unmarked_list;
    o->pred = gc_unmarked_list.pred;
    gc_unmarked_list.pred->succ = o;
    gc_unmarked_list.pred = o;
    gc_alloced_bytes += size;
}

void gc_free_large(gc_object* object);

inline void gc_object_free(gc_object* o) {
    int size = gc_size(o);
    gc_free_bytes -= size;
    if (size > GC_CACHE_MAX) {
        gc_free_large(o);
        return;
    }
    o->succ = gc_cache[size >> 3];
    gc_cache[size >> 3] = o;
}
