// Immutable UTF-16 text: a handle to a shared, reference-counted block.
//
// Results that equal an operand share its block instead of copying, and every
// empty result is the one static empty block, which is never freed. Counts are
// plain integers: strings belong to the game thread.
#pragma once

#include <cstdio>
#include <string>

#include "runtime/array.h"

typedef unsigned short Char;

class String {
public:
    struct Rep {
        int refs;
        int length;

        Char* data() { return reinterpret_cast<Char*>(this + 1); }
        void retain() { ++refs; }
        void release();
        static Rep* alloc(int length);
    };

    static Rep nullRep;

    String() : rep(&nullRep) { rep->retain(); }
    String(const String& s) : rep(s.rep) { rep->retain(); }
    String(String&& s) noexcept : rep(s.rep) { s.rep = &nullRep; nullRep.retain(); }
    String(const Char* units, int length);
    String(const char* narrow);
    String(const char* narrow, int length);
    explicit String(int value);
    ~String() { rep->release(); }

    String& operator=(const String& s) {
        s.rep->retain();
        rep->release();
        rep = s.rep;
        return *this;
    }

    int Length() const { return rep->length; }
    const Char* Data() const { return rep->data(); }
    Char operator[](int i) const { return rep->data()[i]; }

    String operator+(const String& other) const;
    String& operator+=(const String& other) { return *this = *this + other; }

    String Slice(int from) const { return Slice(from, Length()); }
    String Slice(int from, int to) const;
    String Replace(const String& find, const String& with) const;
    Array<String> Split(const String& separator) const;
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    int Find(const String& what, int start = 0) const;
    int FindLast(const String& what) const;
    String ToLower() const;
    int ToInt() const;

    int Compare(const String& other) const;
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    bool operator<(const String& other) const { return Compare(other) < 0; }

    // One byte per code unit (truncated), for the platform's narrow text.
    std::string ToNarrow() const;
    // UTF-8, units above 0x7FF as three bytes; surrogates are not combined.
    std::string ToUtf8() const;
    // Writes the UTF-8 form of `length` units to `out`, which holds 3 bytes a
    // unit; returns the number of bytes written.
    static int EncodeUtf8(const Char* units, int length, char* out);

    // The pieces with the separator between them, in one allocation; a single
    // piece is shared.
    static String Join(const String* pieces, int count, const String& separator);

    static String Load(FILE* file);
    static String FromUtf8(const char* bytes, int length);

    Rep* rep;

private:
    explicit String(Rep* adopted) : rep(adopted) {}
};
