#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/string.h"
#include "tests/harness/test_roots.h"

namespace {

std::vector<int> destroyed;

struct Node : Object {
    int id;
    Node* next = nullptr;
    Node* other = nullptr;
    explicit Node(int id) : id(id) {}
    ~Node() override { destroyed.push_back(id); }
    void mark() override {
        gc_mark_field(next);
        gc_mark_field(other);
    }
};

struct ArrayHolder : Object {
    Array<int> items;
    Array<Node*> nodes;
    ArrayHolder* link = nullptr;
    void mark() override {
        gc_mark_field(items);
        gc_mark_field(nodes);
        gc_mark_field(link);
    }
};

const int kNodeSize = int((sizeof(Node) + 7) & ~size_t(7));

bool was_destroyed(int id) {
    return std::find(destroyed.begin(), destroyed.end(), id) != destroyed.end();
}

bool on_list(const gc_object& head, const gc_object* o) {
    for (const gc_object* p = head.succ; p != &head; p = p->succ)
        if (p == o) return true;
    return false;
}

// Each test starts just after a sweep, with no roots, nothing of an earlier
// test left to destroy, and its own destructor log: whatever ran before in
// the program (other suites, in any order) leaves no trace in its figures.
class Collector : public ::testing::Test {
protected:
    void SetUp() override {
        std::fill(std::begin(test_roots), std::end(test_roots), nullptr);
        // The first end finishes the marking begun from the earlier roots;
        // the second finds all of that unreachable.
        EndCycle();
        EndCycle();
        DestroyGarbage();
        destroyed.clear();
    }
    // Destroys every unreachable object at once, as allocations otherwise
    // would, a few at a time.
    static void DestroyGarbage() {
        while (gc_free_list.succ != &gc_free_list) {
            gc_object* dead = gc_free_list.succ;
            dead->pred->succ = dead->succ;
            dead->succ->pred = dead->pred;
            delete dead;
        }
    }
    // Reporting external memory past the threshold makes the next step end
    // the cycle: finish marking, sweep, queue the roots again.
    void EndCycle() {
        gc_ext_malloced(GC_THRESHOLD + 1);
        gc_collect();
    }
    // Allocations destroy garbage worth their own size; these keep themselves
    // rooted, so they leave no new garbage behind.
    void Drain() {
        while (gc_free_bytes > 0) {
            Node* n = new Node(-1);
            gc_assign(n->next, static_cast<Node*>(test_roots[7]));
            gc_assign(test_roots[7], n);
        }
    }
};

TEST_F(Collector, StoreThroughBarrierIntoScannedObjectSurvivesSweep) {
    Node* a = new Node(1);
    gc_assign(test_roots[0], a);
    EndCycle();
    gc_mark_queued(INT_MAX);  // a is scanned: its fields will not be looked at again
    ASSERT_TRUE(on_list(gc_marked_list, a));

    Node* kept = new Node(2);
    gc_assign(a->next, kept);
    Node* lost = new Node(3);
    a->other = lost;  // no barrier: the collector never learns of it

    EndCycle();
    Drain();
    EXPECT_FALSE(was_destroyed(1));
    EXPECT_FALSE(was_destroyed(2));
    EXPECT_TRUE(was_destroyed(3));
    EXPECT_TRUE(on_list(gc_unmarked_list, kept));
}

TEST_F(Collector, UnreachableObjectIsDestroyedOnlyByLaterAllocations) {
    Node* root = new Node(1);
    gc_assign(test_roots[0], root);
    gc_assign(root->next, new Node(2));
    EndCycle();
    Drain();
    EndCycle();
    ASSERT_EQ(gc_free_bytes, 0);

    root->next = nullptr;
    EndCycle();
    EXPECT_TRUE(destroyed.empty()) << "the sweep itself destroys nothing";
    EXPECT_EQ(gc_free_bytes, kNodeSize);

    new Node(4);  // the same size: destroys exactly the one garbage object
    EXPECT_EQ(destroyed, std::vector<int>{2});
    EXPECT_EQ(gc_free_bytes, 0);
}

TEST_F(Collector, SweepWithNothingUnreachableLeavesFreeBytesAlone) {
    Node* root = new Node(1);
    gc_assign(test_roots[0], root);
    gc_assign(root->next, new Node(2));
    EndCycle();
    Drain();
    EndCycle();
    int freeBefore = gc_free_bytes;
    int allocedBefore = gc_alloced_bytes;

    EndCycle();
    EXPECT_EQ(gc_free_bytes, freeBefore);
    EXPECT_EQ(gc_alloced_bytes, allocedBefore);

    root->next = nullptr;
    EndCycle();
    EXPECT_EQ(gc_free_bytes, freeBefore + kNodeSize);
    EXPECT_EQ(gc_alloced_bytes, allocedBefore - kNodeSize);
}

TEST_F(Collector, SmallRequestReusesCachedBlockOfItsRoundedSize) {
    Drain();
    EndCycle();
    Node* dropped = new Node(7);
    EndCycle();
    ASSERT_TRUE(on_list(gc_free_list, dropped));
    ASSERT_EQ(gc_free_bytes, kNodeSize);

    // A request 6 bytes short rounds up to the dropped node's size; destroying
    // the node caches its block, and the request takes it straight back.
    void* block = gc_object_alloc(kNodeSize - 6);
    EXPECT_EQ(block, static_cast<void*>(dropped));
    EXPECT_TRUE(was_destroyed(7));
    EXPECT_EQ(gc_size(static_cast<gc_object*>(block)), kNodeSize);
    new (block) Object();  // a real object, so the collector can destroy it later
}

TEST_F(Collector, StaticEmptyArraysNeverJoinAList) {
    Array<int> ints(0);
    Array<String> strings(-5);
    Array<Node*> nodes = Array<Node*>(3).Resize(0);
    EXPECT_EQ(ints.rep, &Array<int>::nullRep);
    EXPECT_EQ(strings.rep, &Array<String>::nullRep);
    EXPECT_EQ(nodes.rep, &Array<Node*>::nullRep);

    ArrayHolder* holder = new ArrayHolder();
    gc_assign(test_roots[0], holder);
    for (int pass = 0; pass < 2; ++pass) {  // under both values of the mark bit
        gc_mark(ints.rep);
        gc_mark_q(strings.rep);
        gc_assign(holder->nodes, nodes);
        EndCycle();
    }
    for (gc_object* rep : {static_cast<gc_object*>(ints.rep), static_cast<gc_object*>(strings.rep),
                           static_cast<gc_object*>(nodes.rep)}) {
        EXPECT_EQ(rep->succ, nullptr);
        EXPECT_EQ(rep->flags & GC_COLOUR_MASK, GC_COLOUR_STATIC);
    }
}

TEST_F(Collector, StepScansInProportionToAllocation) {
    // 4 MiB alive in 64 arrays, then 2 MiB of garbage: a quarter of the
    // threshold is new, so the step must scan new + alive / 4 bytes, and stop
    // as soon as it has.
    ArrayHolder* chain = nullptr;
    for (int i = 0; i < 64; ++i) {
        ArrayHolder* h = new ArrayHolder();
        gc_assign(h->items, Array<int>(16384));
        gc_assign(h->link, chain);
        chain = h;
    }
    gc_assign(test_roots[0], chain);
    EndCycle();
    int freeBefore = gc_free_bytes;
    Array<int> junk((GC_THRESHOLD / 4 - 32) / 4);
    int64_t target = gc_new_bytes + int64_t(gc_alloced_bytes - gc_new_bytes) * gc_new_bytes / GC_THRESHOLD;
    ASSERT_LT(target, gc_alloced_bytes);

    gc_collect();
    EXPECT_GE(gc_marked_bytes, target);
    EXPECT_LT(gc_marked_bytes, target + 16384 * 4 + 64);
    EXPECT_EQ(gc_free_bytes, freeBefore) << "below the threshold nothing is swept";
}

TEST_F(Collector, ArrayOfReferencesKeepsItsElementsAlive) {
    ArrayHolder* h = new ArrayHolder();
    gc_assign(test_roots[0], h);
    gc_assign(h->nodes, Array<Node*>(3));
    gc_assign(h->nodes[0], new Node(10));
    gc_assign(h->nodes[2], new Node(12));
    new Node(13);

    EndCycle();
    Drain();
    EXPECT_FALSE(was_destroyed(10));
    EXPECT_FALSE(was_destroyed(12));
    EXPECT_TRUE(was_destroyed(13));
}

TEST_F(Collector, ResizedArrayIsMarkedAtOnceDuringACycle) {
    ArrayHolder* h = new ArrayHolder();
    gc_assign(h->items, Array<int>(2));
    h->items[1] = 5;
    gc_assign(test_roots[0], h);
    EndCycle();
    gc_mark_queued(INT_MAX);  // h scanned

    Array<int> grown = h->items.Resize(4);
    h->items = grown;  // even a plain store keeps it: resizing marked it
    EXPECT_TRUE(on_list(gc_marked_list, grown.rep));
    EndCycle();
    Drain();
    EXPECT_TRUE(on_list(gc_unmarked_list, grown.rep));
    EXPECT_EQ(grown.Length(), 4);
    EXPECT_EQ(grown[1], 5);
    EXPECT_EQ(grown[3], 0);
    EXPECT_EQ(h->items.Resize(1)[0], 0);
}

TEST_F(Collector, StringArrayReleasesItsElementsWhenDestroyed) {
    String shared = String("shared") + String("text");
    {
        Array<String> texts(2);
        texts[0] = shared;
        EXPECT_EQ(shared.rep->refs, 2);
        EXPECT_EQ(texts[1].rep, &String::nullRep);
    }
    EndCycle();
    Drain();
    EXPECT_EQ(shared.rep->refs, 1);
}

}  // namespace
