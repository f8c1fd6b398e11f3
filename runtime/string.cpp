#include "runtime/string.h"

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <vector>

String::Rep String::nullRep = {1, 0};

void String::Rep::release() {
    if (this != &nullRep && refs == 1)
        std::free(this);
    else
        --refs;
}

String::Rep* String::Rep::alloc(int length) {
    Rep* rep = static_cast<Rep*>(std::malloc(sizeof(Rep) + sizeof(Char) * size_t(length)));
    if (!rep) std::abort();
    rep->refs = 1;
    rep->length = length;
    return rep;
}

// A block for `length` units, or the shared empty one.
static String::Rep* make_rep(int length) {
    if (length <= 0) {
        String::nullRep.retain();
        return &String::nullRep;
    }
    return String::Rep::alloc(length);
}

String::String(const Char* units, int length) : rep(make_rep(length)) {
    if (length > 0) std::memcpy(rep->data(), units, sizeof(Char) * size_t(length));
}

String::String(const char* narrow, int length) : rep(make_rep(length)) {
    Char* d = rep->data();
    for (int i = 0; i < length; ++i) d[i] = static_cast<unsigned char>(narrow[i]);
}

String::String(const char* narrow) : String(narrow, int(std::strlen(narrow))) {}

String::String(int value) {
    char text[16];
    int n = std::snprintf(text, sizeof text, "%i", value);
    rep = make_rep(n);
    for (int i = 0; i < n; ++i) rep->data()[i] = Char(text[i]);
}

String String::operator+(const String& other) const {
    if (Length() == 0) return other;
    if (other.Length() == 0) return *this;
    Rep* joined = Rep::alloc(Length() + other.Length());
    std::memcpy(joined->data(), Data(), sizeof(Char) * size_t(Length()));
    std::memcpy(joined->data() + Length(), other.Data(), sizeof(Char) * size_t(other.Length()));
    return String(joined);
}

String String::Slice(int from, int to) const {
    int length = Length();
    if (from < 0) from += length;
    if (to < 0) to += length;
    if (from < 0) from = 0;
    if (from > length) from = length;
    if (to > length) to = length;
    if (to <= from) return String();
    if (from == 0 && to == length) return *this;
    return String(Data() + from, to - from);
}

static bool matches_at(const String& s, int at, const String& what) {
    return std::memcmp(s.Data() + at, what.Data(), sizeof(Char) * size_t(what.Length())) == 0;
}

String String::Replace(const String& find, const String& with) const {
    int n = find.Length();
    if (n == 0) return *this;
    int count = 0;
    for (int i = 0; i + n <= Length();) {
        if (matches_at(*this, i, find)) {
            ++count;
            i += n;
        } else {
            ++i;
        }
    }
    if (count == 0) return *this;

    Rep* out = make_rep(Length() + count * (with.Length() - n));
    Char* d = out->data();
    for (int i = 0; i < Length();) {
        if (i + n <= Length() && matches_at(*this, i, find)) {
            std::memcpy(d, with.Data(), sizeof(Char) * size_t(with.Length()));
            d += with.Length();
            i += n;
        } else {
            *d++ = (*this)[i++];
        }
    }
    return String(out);
}

Array<String> String::Split(const String& separator) const {
    int n = separator.Length();
    int pieces = 1;
    if (n == 0) {
        Array<String> whole(1);
        whole[0] = *this;
        return whole;
    }
    for (int i = Find(separator); i >= 0; i = Find(separator, i + n)) ++pieces;
    Array<String> out(pieces);
    if (pieces == 1) {
        out[0] = *this;
        return out;
    }
    int start = 0, k = 0;
    for (int i = Find(separator); i >= 0; i = Find(separator, i + n)) {
        out[k++] = Slice(start, i);
        start = i + n;
    }
    out[k] = Slice(start);
    return out;
}

String String::Join(const String* pieces, int count, const String& separator) {
    if (count <= 0) return String();
    if (count == 1) return pieces[0];
    int total = separator.Length() * (count - 1);
    for (int i = 0; i < count; ++i) total += pieces[i].Length();
    Rep* out = make_rep(total);
    Char* d = out->data();
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            std::memcpy(d, separator.Data(), sizeof(Char) * size_t(separator.Length()));
            d += separator.Length();
        }
        std::memcpy(d, pieces[i].Data(), sizeof(Char) * size_t(pieces[i].Length()));
        d += pieces[i].Length();
    }
    return String(out);
}

bool String::StartsWith(const String& prefix) const {
    return prefix.Length() <= Length() && matches_at(*this, 0, prefix);
}

bool String::EndsWith(const String& suffix) const {
    return suffix.Length() <= Length() && matches_at(*this, Length() - suffix.Length(), suffix);
}

int String::Find(const String& what, int start) const {
    if (start < 0) start = 0;
    if (what.Length() == 0) return start <= Length() ? start : -1;
    for (int i = start; i + what.Length() <= Length(); ++i)
        if (matches_at(*this, i, what)) return i;
    return -1;
}

int String::FindLast(const String& what) const {
    for (int i = Length() - what.Length(); i >= 0; --i)
        if (matches_at(*this, i, what)) return i;
    return -1;
}

String String::ToLower() const {
    int i = 0;
    while (i < Length() && Char(std::towlower((*this)[i])) == (*this)[i]) ++i;
    if (i == Length()) return *this;
    Rep* out = Rep::alloc(Length());
    for (int k = 0; k < Length(); ++k) out->data()[k] = Char(std::towlower((*this)[k]));
    return String(out);
}

int String::ToInt() const {
    char text[64];
    int n = Length() < 63 ? Length() : 63;
    for (int i = 0; i < n; ++i) text[i] = char((*this)[i]);
    text[n] = 0;
    return std::atoi(text);
}

int String::Compare(const String& other) const {
    int n = Length() < other.Length() ? Length() : other.Length();
    for (int i = 0; i < n; ++i)
        if ((*this)[i] != other[i]) return int((*this)[i]) - int(other[i]);
    return Length() - other.Length();
}

bool String::operator==(const String& other) const {
    return rep == other.rep || (Length() == other.Length() && matches_at(*this, 0, other));
}

std::string String::ToNarrow() const {
    std::string out(size_t(Length()), '\0');
    for (int i = 0; i < Length(); ++i) out[size_t(i)] = char((*this)[i]);
    return out;
}

int String::EncodeUtf8(const Char* units, int length, char* out) {
    unsigned char* o = reinterpret_cast<unsigned char*>(out);
    for (int i = 0; i < length; ++i) {
        unsigned u = units[i];
        if (u < 0x80) {
            *o++ = u;
        } else if (u < 0x800) {
            *o++ = 0xC0 | u >> 6;
            *o++ = 0x80 | (u & 0x3F);
        } else {
            *o++ = 0xE0 | u >> 12;
            *o++ = 0x80 | ((u >> 6) & 0x3F);
            *o++ = 0x80 | (u & 0x3F);
        }
    }
    return int(o - reinterpret_cast<unsigned char*>(out));
}

std::string String::ToUtf8() const {
    std::string out(size_t(Length()) * 3, '\0');
    out.resize(size_t(EncodeUtf8(Data(), Length(), &out[0])));
    return out;
}

// Decodes one-, two- and three-byte sequences; anything else makes the whole
// text fall back to one character per byte.
String String::FromUtf8(const char* bytes, int length) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
    Rep* out = make_rep(length);
    Char* d = out->data();
    int n = 0;
    for (int i = 0; i < length;) {
        unsigned c = b[i];
        if (c < 0x80) {
            d[n++] = Char(c);
            i += 1;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < length && (b[i + 1] & 0xC0) == 0x80) {
            d[n++] = Char((c & 0x1F) << 6 | (b[i + 1] & 0x3F));
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < length && (b[i + 1] & 0xC0) == 0x80 &&
                   (b[i + 2] & 0xC0) == 0x80) {
            d[n++] = Char((c & 0x0F) << 12 | (b[i + 1] & 0x3F) << 6 | (b[i + 2] & 0x3F));
            i += 3;
        } else {
            for (int k = 0; k < length; ++k) d[k] = b[k];
            return String(out);
        }
    }
    if (n == length) return String(out);
    String shorter(d, n);
    out->release();
    return shorter;
}

String String::Load(FILE* file) {
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, file);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) break;
    }
    int size = int(bytes.size());
    const unsigned char* b = bytes.data();

    if (size >= 2 && ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0xFF && b[1] == 0xFE))) {
        bool big = b[0] == 0xFE;
        int units = (size - 2) / 2;
        Rep* out = make_rep(units);
        for (int i = 0; i < units; ++i) {
            unsigned first = b[2 + 2 * i], second = b[3 + 2 * i];
            out->data()[i] = Char(big ? first << 8 | second : second << 8 | first);
        }
        return String(out);
    }
    int skip = size > 2 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF ? 3 : 0;
    return FromUtf8(reinterpret_cast<const char*>(b + skip), size - skip);
}
