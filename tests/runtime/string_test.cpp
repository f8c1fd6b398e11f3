#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/string.h"

namespace {

std::u16string units(const String& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.Data()), size_t(s.Length()));
}

String text(const std::u16string& u) {
    return String(reinterpret_cast<const Char*>(u.data()), int(u.size()));
}

struct SliceCase {
    int from, to;
    std::u16string expected;
    bool sharesWhole;
};

TEST(String, Slice) {
    const String abcdef("abcdef");
    const std::vector<SliceCase> cases = {
        {-3, 6, u"def", false},  {4, 2, u"", false},     {0, 100, u"abcdef", true},
        {-100, 3, u"abc", false}, {2, -1, u"cde", false}, {0, 6, u"abcdef", true},
        {6, 6, u"", false},      {7, 9, u"", false},     {-2, -3, u"", false},
    };
    for (const SliceCase& c : cases) {
        String got = abcdef.Slice(c.from, c.to);
        EXPECT_EQ(units(got), c.expected) << c.from << ".." << c.to;
        EXPECT_EQ(got.rep == abcdef.rep, c.sharesWhole) << c.from << ".." << c.to;
        if (c.expected.empty()) {
            EXPECT_EQ(got.rep, &String::nullRep);
        }
    }
    EXPECT_EQ(units(abcdef.Slice(-0)), u"abcdef");
}

TEST(String, ConcatenationSharesAnEmptySidesPartner) {
    String s("river");
    int refs = s.rep->refs;
    String left = String() + s;
    String right = s + String();
    EXPECT_EQ(left.rep, s.rep);
    EXPECT_EQ(right.rep, s.rep);
    EXPECT_EQ(s.rep->refs, refs + 2);
    String both = s + String(" bed");
    EXPECT_EQ(units(both), u"river bed");
    EXPECT_EQ(both.rep->refs, 1);
    EXPECT_EQ((String() + String()).rep, &String::nullRep);
}

struct ReplaceCase {
    std::u16string in, find, with, expected;
};

TEST(String, Replace) {
    const std::vector<ReplaceCase> cases = {
        {u"aaa", u"aa", u"b", u"ba"},
        {u"a-b-c", u"-", u"--", u"a--b--c"},
        {u"abab", u"ab", u"", u""},
        {u"xyz", u"q", u"r", u"xyz"},
        {u"\u20ac5", u"\u20ac", u"EUR", u"EUR5"},
    };
    for (const ReplaceCase& c : cases) {
        String in = text(c.in);
        String got = in.Replace(text(c.find), text(c.with));
        EXPECT_EQ(units(got), c.expected);
    }
    String none("xyz");
    EXPECT_EQ(none.Replace(String("q"), String("r")).rep, none.rep);
}

TEST(String, Split) {
    struct Case {
        const char* in;
        std::vector<std::u16string> pieces;
    };
    const std::vector<Case> cases = {
        {"a|b|c", {u"a", u"b", u"c"}},
        {"1|2|", {u"1", u"2", u""}},
        {"||", {u"", u"", u""}},
        {"", {u""}},
        {"plain", {u"plain"}},
    };
    for (const Case& c : cases) {
        String in(c.in);
        Array<String> parts = in.Split(String("|"));
        ASSERT_EQ(parts.Length(), int(c.pieces.size())) << c.in;
        for (int i = 0; i < parts.Length(); ++i) EXPECT_EQ(units(parts[i]), c.pieces[size_t(i)]) << c.in;
        if (c.pieces.size() == 1) {
            EXPECT_EQ(parts[0].rep, in.rep);
        }
    }
}

TEST(String, ToInt) {
    struct Case {
        const char* in;
        int value;
    };
    const std::vector<Case> cases = {
        {" -12x", -12}, {"abc", 0}, {"", 0}, {"+7", 7}, {"\t 42 43", 42}, {"2147483647", 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(String(c.in).ToInt(), c.value) << c.in;
    // Only the first 63 units count.
    EXPECT_EQ((String(std::string(62, ' ').c_str()) + String("9")).ToInt(), 9);
    EXPECT_EQ((String(std::string(63, ' ').c_str()) + String("9")).ToInt(), 0);
    // Units are truncated to 8 bits: U+0135 reads as '5'.
    EXPECT_EQ(text(u"1\u0135").ToInt(), 15);
}

TEST(String, SearchAndCase) {
    String path("vantle://data/Ship.PNG");
    EXPECT_TRUE(path.StartsWith(String("vantle://")));
    EXPECT_FALSE(path.StartsWith(String("vantle://data/Ship.PNG!")));
    EXPECT_TRUE(path.ToLower().EndsWith(String(".png")));
    EXPECT_FALSE(path.EndsWith(String(".png")));
    EXPECT_EQ(path.FindLast(String("/")), 13);
    EXPECT_EQ(path.FindLast(String("#")), -1);
    EXPECT_EQ(path.Find(String("a"), 3), 10);
    String lower("already lower");
    EXPECT_EQ(lower.ToLower().rep, lower.rep);
    // The program sets a UTF-8 character type at start-up, or where there is
    // none (Windows) the user's own; do the same here.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "");
    EXPECT_EQ(units(text(u"\u00c9T\u00c9").ToLower()), u"\u00e9t\u00e9");
}

TEST(String, ConstructionAndComparison) {
    EXPECT_EQ(units(String(-305)), u"-305");
    EXPECT_EQ(units(String(0)), u"0");
    EXPECT_EQ(String(static_cast<const Char*>(nullptr), 0).rep, &String::nullRep);
    EXPECT_EQ(String("abc"), text(u"abc"));
    EXPECT_NE(String("abc"), String("abd"));
    EXPECT_LT(String("ab").Compare(String("abc")), 0);
    EXPECT_GT(String("b").Compare(String("abc")), 0);
    EXPECT_EQ(text(u"a\u00e9\u20ac").ToUtf8(), "a\xc3\xa9\xe2\x82\xac");
}

TEST(String, ReleasingTheEmptyStringNeverFreesIt) {
    for (int i = 0; i < 5; ++i) String::nullRep.release();
    EXPECT_EQ(String::nullRep.length, 0);
    String again;
    EXPECT_EQ(again.rep, &String::nullRep);
    for (int i = 0; i < 5; ++i) String::nullRep.retain();
}

String load_bytes(const std::vector<unsigned char>& bytes) {
    FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    String s = String::Load(f);
    std::fclose(f);
    return s;
}

TEST(String, Load) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {"empty", {}, u""},
        {"utf16le", {0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}, u"AB"},
        {"utf16le odd byte", {0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00, 0x43}, u"AB"},
        {"utf16be", {0xFE, 0xFF, 0x20, 0xAC, 0x00, 0x41}, u"\u20acA"},
        {"utf16 mark only", {0xFF, 0xFE}, u""},
        {"utf8 mark only", {0xEF, 0xBB, 0xBF}, u""},
        {"utf8 with mark", {0xEF, 0xBB, 0xBF, 'h', 0xC3, 0xA9}, u"h\u00e9"},
        {"utf8 three bytes", {0xE2, 0x82, 0xAC, '!'}, u"\u20ac!"},
        {"lone latin-1 byte", {'c', 'a', 'f', 0xE9}, u"caf\u00e9"},
        {"stray continuation", {'a', 0x80, 'b'}, u"a\u0080b"},
        {"four-byte lead", {0xF0, 0x9F, 0x98, 0x80}, u"\u00f0\u009f\u0098\u0080"},
        {"cut sequence", {'x', 0xE2, 0x82}, u"x\u00e2\u0082"},
        {"bad continuation", {0xC3, 0x41}, u"\u00c3A"},
        {"fallback after mark", {0xEF, 0xBB, 0xBF, 0xFF}, u"\u00ff"},
        {"two bytes only, no mark", {0xEF, 0xBB}, u"\u00ef\u00bb"},
    };
    for (const Case& c : cases) EXPECT_EQ(units(load_bytes(c.bytes)), c.expected) << c.name;

    // Longer than one read chunk, across the chunk boundary.
    std::vector<unsigned char> big(5000, 'z');
    big[4095] = 0xC3;
    big[4096] = 0xA9;
    String s = load_bytes(big);
    EXPECT_EQ(s.Length(), 4999);
    EXPECT_EQ(s[4095], 0xE9);
    std::vector<unsigned char> exact(4096, 'q');
    EXPECT_EQ(load_bytes(exact).Length(), 4096);
}

}  // namespace
