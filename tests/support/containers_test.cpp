#include <climits>
#include <functional>

#include <gtest/gtest.h>

#include "support/map.h"
#include "support/math.h"
#include "support/random.h"
#include "support/stack.h"
#include "tests/harness/test_roots.h"

namespace {

TEST(Random, SharedGeneratorSteps) {
    xr_random_Seed = 1234;
    EXPECT_FLOAT_EQ(xr_random_Rnd(), 11984094 * 5.9604645e-08f);
    EXPECT_EQ(unsigned(xr_random_Seed), 3067928073u);
    int before = xr_random_Seed;
    EXPECT_EQ(xr_random_Rnd2(5, 5), 5.0f);
    EXPECT_NE(xr_random_Seed, before) << "every draw advances the seed";
    for (int i = 0; i < 1000; ++i) {
        float r = xr_random_Rnd3(10);
        EXPECT_GE(r, 0.0f);
        EXPECT_LT(r, 10.0f);
    }
    xr_random_Seed = -1;  // wraps modulo 2^32
    xr_random_Rnd();
    EXPECT_EQ(unsigned(xr_random_Seed), unsigned(0xFFFFFFFFu * 1664525u + 1013904223u));
}

TEST(Maths, AbsAndMax) {
    EXPECT_EQ(xr_math_Abs(-3), 3);
    EXPECT_EQ(xr_math_Abs2(-0.5f), 0.5f);
    EXPECT_EQ(xr_math_Max(2, 7), 7);
    EXPECT_EQ(xr_math_Max2(2.5f, -1), 2.5f);
}

struct Value : Object {
    int id;
    explicit Value(int id) : id(id) {}
};

typedef c_IntMapOf<Value*> IntMap;

TEST(IntMap, BalancesAndReplaces) {
    IntMap* map = new IntMap();
    gc_assign(test_roots[0], map);
    for (int key : {1, 2, 3}) EXPECT_TRUE(map->p_Set(key, new Value(key)));
    ASSERT_NE(map->m_root, nullptr);
    EXPECT_EQ(map->m_root->m_key, 2);
    EXPECT_EQ(map->m_root->m_color, 1);
    EXPECT_EQ(map->m_root->m_left->m_key, 1);
    EXPECT_EQ(map->m_root->m_left->m_color, -1);
    EXPECT_EQ(map->m_root->m_right->m_key, 3);
    EXPECT_EQ(map->m_root->m_right->m_color, -1);
    EXPECT_EQ(map->m_root->m_left->m_parent, map->m_root);

    Value* replaced = new Value(20);
    EXPECT_FALSE(map->p_Set(2, replaced));
    EXPECT_EQ(map->m_root->m_key, 2);
    EXPECT_EQ(map->p_FindNode(2)->m_value, replaced);
    EXPECT_FALSE(map->p_Contains(4));

    // Many keys in both orders stay ordered and balanced: every path from
    // the root down has the same number of black nodes.
    for (int k = 1000; k > 4; k -= 3) map->p_Insert(k, new Value(k));
    for (int k = 5; k < 2000; k += 7) map->p_Insert(k, new Value(k));
    std::function<int(IntMap::Node*, int, int)> check = [&](IntMap::Node* n, int low, int high) {
        if (!n) return 1;
        EXPECT_GT(n->m_key, low);
        EXPECT_LT(n->m_key, high);
        if (n->m_color == -1 && n->m_parent) {
            EXPECT_EQ(n->m_parent->m_color, 1) << "red under red";
        }
        int left = check(n->m_left, low, n->m_key), right = check(n->m_right, n->m_key, high);
        EXPECT_EQ(left, right);
        return left + (n->m_color == 1);
    };
    check(map->m_root, INT_MIN, INT_MAX);
    for (int k = 5; k < 2000; k += 7) EXPECT_TRUE(map->p_Contains(k)) << k;
    test_roots[0] = nullptr;
}

TEST(Stack, GrowsGeometricallyAndCopiesOut) {
    auto* stack = new c_StackOf<Value*>();
    gc_assign(test_roots[0], stack);
    for (int i = 0; i < 10; ++i) stack->p_Push(new Value(i));
    EXPECT_EQ(stack->m_data.Length(), 10);
    stack->p_Push(new Value(10));
    EXPECT_EQ(stack->m_data.Length(), 30);
    EXPECT_EQ(stack->m_data[11], nullptr);
    Array<Value*> all = stack->p_ToArray();
    ASSERT_EQ(all.Length(), 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(all[i]->id, i);
    EXPECT_EQ((new c_StackOf<Value*>())->p_ToArray().rep, &Array<Value*>::nullRep);

    stack->p_Length(3);
    EXPECT_EQ(stack->p_Length2(), 3);
    EXPECT_EQ(stack->m_data[5], nullptr) << "dropped slots are emptied";
    stack->p_Length(45);
    EXPECT_EQ(stack->m_data.Length(), 45);
    EXPECT_EQ(stack->p_Get(2)->id, 2);
    test_roots[0] = nullptr;
}

TEST(StringStack, PushesAndJoins) {
    auto* stack = (new c_StringStack())->m_new2();
    gc_assign(test_roots[0], stack);
    EXPECT_EQ(stack->p_Join(String(",")).rep, &String::nullRep);
    String a("a");
    stack->p_Push4(a);
    EXPECT_EQ(stack->p_Join(String(",")).rep, a.rep) << "one piece is returned itself";
    Array<String> more(3);
    more[0] = String("x");
    more[1] = String("b");
    more[2] = String("c");
    stack->p_Push6(more, 1);
    String joined = stack->p_Join(String(","));
    EXPECT_EQ(joined, String("a,b,c"));
    EXPECT_EQ(joined.rep->refs, 1);

    auto* copy = (new c_StringStack())->m_new(more);
    EXPECT_EQ(copy->p_Join(String("")), String("xbc"));
    copy->p_Push5(more, 0, 1);
    EXPECT_EQ(copy->p_Join(String("+")), String("x+b+c+x"));
    more[0] = String("changed");
    EXPECT_EQ(copy->p_Join(String("+")), String("x+b+c+x")) << "the stack holds its own copy";
    test_roots[0] = nullptr;
}

}  // namespace
