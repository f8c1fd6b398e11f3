#include "runtime/gc.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

int gc_markbit;
gc_object gc_unmarked_list(&gc_unmarked_list);
gc_object gc_queued_list(&gc_queued_list);
gc_object gc_marked_list(&gc_marked_list);
gc_object gc_free_list(&gc_free_list);
gc_object* gc_cache[8];
int gc_new_bytes;
std::atomic<int> gc_ext_new_bytes;
int gc_alloced_bytes;
int gc_marked_bytes;
int gc_free_bytes;

gc_pending_block gc_pending[GC_PENDING_MAX];
int gc_pending_count;

static void gc_clear_list(gc_object* head) {
    head->succ = head->pred = head;
}

static void gc_remove(gc_object* o) {
    o->pred->succ = o->succ;
    o->succ->pred = o->pred;
}

static void gc_append(gc_object* head, gc_object* o) {
    o->succ = head;
    o->pred = head->pred;
    head->pred->succ = o;
    head->pred = o;
}

// Moves every object of `from` to the tail of `to`, leaving `from` empty.
static void gc_splice(gc_object* from, gc_object* to) {
    if (from->succ == from) return;
    gc_object* first = from->succ;
    gc_object* last = from->pred;
    first->pred = to->pred;
    to->pred->succ = first;
    last->succ = to;
    to->pred = last;
    gc_clear_list(from);
}

void gc_init1() {
    gc_clear_list(&gc_unmarked_list);
    gc_clear_list(&gc_queued_list);
    gc_clear_list(&gc_marked_list);
    gc_clear_list(&gc_free_list);
}

void* gc_object_alloc(int size) {
    size = (size + 7) & ~7;
    gc_new_bytes += size;

    int floor = gc_free_bytes - size;
    if (floor < 0) floor = 0;
    while (gc_free_bytes > floor) {
        gc_object* dead = gc_free_list.succ;
        gc_remove(dead);
        delete dead;
    }

    void* block;
    if (size <= GC_CACHE_MAX && gc_cache[size >> 3]) {
        block = gc_cache[size >> 3];
        gc_cache[size >> 3] = gc_cache[size >> 3]->succ;
    } else {
        block = std::malloc(size);
        if (!block) std::abort();
    }
    if (gc_pending_count == GC_PENDING_MAX) std::abort();
    gc_pending[gc_pending_count++] = {block, size};
    return block;
}

// A constructor whose block is not the latest handed out: either an object
// made while another's constructor arguments were evaluated, or one made
// outside the collector altogether.
void gc_object_link_nested(gc_object* o) {
    int i = gc_pending_count - 1;
    while (i >= 0 && gc_pending[i].block != o) --i;
    if (i < 0) {
        o->succ = o->pred = nullptr;
        o->flags = GC_COLOUR_STATIC;
        return;
    }
    gc_pending_block found = gc_pending[i];
    for (; i + 1 < gc_pending_count; ++i) gc_pending[i] = gc_pending[i + 1];
    gc_pending[i] = found;
    gc_object_link(o);
}

void gc_free_large(gc_object* o) {
    std::free(o);
}

void gc_mark(gc_object* o) {
    if (!o || (o->flags & GC_COLOUR_MASK) != gc_markbit) return;
    gc_remove(o);
    o->flags ^= 1;
    gc_marked_bytes += gc_size(o);
    gc_append(&gc_marked_list, o);
    o->mark();
}

void gc_mark_q(gc_object* o) {
    if (!o || (o->flags & GC_COLOUR_MASK) != gc_markbit) return;
    gc_remove(o);
    o->flags ^= 1;
    gc_append(&gc_queued_list, o);
}

void gc_mark_queued(int target) {
    while (gc_marked_bytes < target && gc_queued_list.succ != &gc_queued_list) {
        gc_object* o = gc_queued_list.succ;
        gc_remove(o);
        gc_append(&gc_marked_list, o);
        gc_marked_bytes += gc_size(o);
        o->mark();
    }
}

void gc_sweep() {
    if (gc_marked_bytes != gc_alloced_bytes) {
        gc_splice(&gc_unmarked_list, &gc_free_list);
        gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
    }
    gc_splice(&gc_marked_list, &gc_unmarked_list);
    gc_alloced_bytes = gc_marked_bytes;
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
}

void gc_collect() {
    int ext = gc_ext_new_bytes.load();
    if (int64_t(gc_new_bytes) + ext > GC_THRESHOLD) {
        gc_ext_new_bytes -= ext;
        gc_mark_queued(INT_MAX);
        gc_sweep();
        gc_mark();
        gc_new_bytes = 0;
        return;
    }
    int64_t scaled = int64_t(gc_alloced_bytes - gc_new_bytes) * gc_new_bytes / GC_THRESHOLD;
    gc_mark_queued(int(gc_new_bytes + scaled));
}

void gc_ext_malloced(int bytes) {
    gc_ext_new_bytes += bytes;
}
