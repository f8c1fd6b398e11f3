// An ordered map on integer keys: a red-black tree of collected nodes.
// Nodes are never removed. The map is a template over its value type; the
// program's instances are named where their value type lives.
#pragma once

#include "runtime/object.h"

template <class V>
class c_NodeOf : public Object {
public:
    int m_key = 0;
    c_NodeOf* m_right = nullptr;
    c_NodeOf* m_left = nullptr;
    V m_value = V();
    int m_color = 0;  // -1 red, 1 black
    c_NodeOf* m_parent = nullptr;

    c_NodeOf* m_new(int key, V value, int color, c_NodeOf* parent) {
        m_key = key;
        gc_assign(m_value, value);
        m_color = color;
        gc_assign(m_parent, parent);
        return this;
    }

    void mark() override {
        gc_mark_field(m_right);
        gc_mark_field(m_left);
        gc_mark_field(m_value);
        gc_mark_field(m_parent);
    }
};

template <class V>
class c_MapOf : public Object {
public:
    typedef c_NodeOf<V> Node;
    Node* m_root = nullptr;

    virtual int p_Compare(int a, int b) = 0;

    bool p_Set(int key, V value) {
        Node* node = m_root;
        Node* parent = nullptr;
        int cmp = 0;
        while (node) {
            parent = node;
            cmp = p_Compare(key, node->m_key);
            if (cmp > 0) {
                node = node->m_right;
            } else if (cmp < 0) {
                node = node->m_left;
            } else {
                gc_assign(node->m_value, value);
                return false;
            }
        }
        node = (new Node())->m_new(key, value, -1, parent);
        if (!parent) {
            gc_assign(m_root, node);
            return true;
        }
        if (cmp > 0)
            gc_assign(parent->m_right, node);
        else
            gc_assign(parent->m_left, node);
        p_InsertFixup(node);
        return true;
    }

    bool p_Insert(int key, V value) { return p_Set(key, value); }

    Node* p_FindNode(int key) {
        Node* node = m_root;
        while (node) {
            int cmp = p_Compare(key, node->m_key);
            if (cmp > 0)
                node = node->m_right;
            else if (cmp < 0)
                node = node->m_left;
            else
                return node;
        }
        return nullptr;
    }

    bool p_Contains(int key) { return p_FindNode(key) != nullptr; }

    void p_RotateLeft(Node* node) {
        Node* child = node->m_right;
        gc_assign(node->m_right, child->m_left);
        if (child->m_left) gc_assign(child->m_left->m_parent, node);
        Replace(node, child);
        gc_assign(child->m_left, node);
        gc_assign(node->m_parent, child);
    }

    void p_RotateRight(Node* node) {
        Node* child = node->m_left;
        gc_assign(node->m_left, child->m_right);
        if (child->m_right) gc_assign(child->m_right->m_parent, node);
        Replace(node, child);
        gc_assign(child->m_right, node);
        gc_assign(node->m_parent, child);
    }

    void p_InsertFixup(Node* node) {
        while (node->m_parent && node->m_parent->m_color == -1 && node->m_parent->m_parent) {
            Node* parent = node->m_parent;
            Node* grand = parent->m_parent;
            if (parent == grand->m_left) {
                Node* uncle = grand->m_right;
                if (uncle && uncle->m_color == -1) {
                    parent->m_color = uncle->m_color = 1;
                    grand->m_color = -1;
                    node = grand;
                    continue;
                }
                if (node == parent->m_right) {
                    node = parent;
                    p_RotateLeft(node);
                }
                node->m_parent->m_color = 1;
                node->m_parent->m_parent->m_color = -1;
                p_RotateRight(node->m_parent->m_parent);
            } else {
                Node* uncle = grand->m_left;
                if (uncle && uncle->m_color == -1) {
                    parent->m_color = uncle->m_color = 1;
                    grand->m_color = -1;
                    node = grand;
                    continue;
                }
                if (node == parent->m_left) {
                    node = parent;
                    p_RotateRight(node);
                }
                node->m_parent->m_color = 1;
                node->m_parent->m_parent->m_color = -1;
                p_RotateLeft(node->m_parent->m_parent);
            }
        }
        m_root->m_color = 1;
    }

    void mark() override { gc_mark_field(m_root); }

private:
    // Puts `child` where `node` hangs: under node's parent, or as the root.
    void Replace(Node* node, Node* child) {
        Node* parent = node->m_parent;
        gc_assign(child->m_parent, parent);
        if (!parent)
            gc_assign(m_root, child);
        else if (node == parent->m_left)
            gc_assign(parent->m_left, child);
        else
            gc_assign(parent->m_right, child);
    }
};

template <class V>
class c_IntMapOf : public c_MapOf<V> {
public:
    int p_Compare(int a, int b) override { return int(unsigned(a) - unsigned(b)); }
};
