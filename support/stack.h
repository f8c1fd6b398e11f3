// Growable stacks over collected arrays. The data array grows to 2n + 10
// when full; slots past the length hold the element type's empty value.
#pragma once

#include "runtime/array.h"
#include "runtime/string.h"

class c_IAsyncEventSource;

template <class T>
class c_StackOf : public Object {
public:
    Array<T> m_data;
    int m_length = 0;

    c_StackOf* m_new() { return this; }
    c_StackOf* m_new2(Array<T> data) {
        gc_assign(m_data, data.Resize(data.Length()));
        m_length = data.Length();
        return this;
    }

    void p_Push(T value) {
        if (m_length == m_data.Length()) gc_assign(m_data, m_data.Resize(m_length * 2 + 10));
        Store(m_data[m_length++], value);
    }
    void p_Push2(Array<T> values, int offset, int count) {
        for (int i = 0; i < count; ++i) p_Push(values[offset + i]);
    }
    void p_Push3(Array<T> values, int offset) { p_Push2(values, offset, values.Length() - offset); }

    Array<T> p_ToArray() {
        Array<T> out(m_length);
        for (int i = 0; i < m_length; ++i) Store(out[i], m_data[i]);
        return out;
    }

    int p_Length2() { return m_length; }
    T p_Get(int index) { return m_data[index]; }
    void p_Length(int length) {
        for (int i = length; i < m_length; ++i) m_data[i] = T();
        if (length > m_data.Length()) {
            int grown = m_length * 2 + 10;
            gc_assign(m_data, m_data.Resize(grown > length ? grown : length));
        }
        m_length = length;
    }

    void mark() override { gc_mark_field(m_data); }

private:
    static void Store(T& slot, const T& value) {
        if constexpr (std::is_pointer<T>::value)
            gc_assign(slot, value);
        else
            slot = value;
    }
};

// The stack of strings names its operations apart from the others.
class c_Stack2 : public c_StackOf<String> {
public:
    void p_Push4(String value) { p_Push(value); }
    void p_Push5(Array<String> values, int offset, int count) { p_Push2(values, offset, count); }
    void p_Push6(Array<String> values, int offset) { p_Push3(values, offset); }
};

class c_StringStack : public c_Stack2 {
public:
    c_StringStack* m_new(Array<String> data) {
        c_Stack2::m_new2(data);
        return this;
    }
    c_StringStack* m_new2() { return this; }
    String p_Join(String separator);
};

typedef c_StackOf<c_IAsyncEventSource*> c_Stack3;
