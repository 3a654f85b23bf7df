// The string: views of C texts, C texts back, comparison, search, splitting,
// the lexer and the record.
#include "cqv_test.h"

#include <cstring>
#include <string>
#include <vector>

using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;
using cqvtest::Ptrs;
using Ints = std::vector<int>;

namespace {

// A string that owns a block of exactly the text's characters, with nothing
// after them: reading past the end is caught by the sanitizer build.
qvString Owned(const std::string& text) {
    qvString s(static_cast<int>(text.size()));
    if (!text.empty()) std::memcpy(s.GetPointer(), text.data(), text.size());
    return s;
}

std::string Str(const qvString& s) { return std::string(s.begin(), s.end()); }

// The words, joined by '/'.
std::string Joined(const qvSimpleArray<qvString>& words) {
    std::string out;
    for (const qvString& w : words) out += (out.empty() ? "" : "/") + Str(w);
    return out;
}

// Every token of text up to and including the end, each written as its
// kind's letter (Name, Integer, Real, String, Char, End), ':' and its text,
// joined by '|'; a quote left open ends the list with "!". The string's block
// ends with the text, so a read past it would be reported by the sanitizer
// build.
std::string Lex(const std::string& text) {
    const qvString s = Owned(text);
    std::string out;
    qvString token;
    int pos = 0;
    for (;;) {
        qvString::TOKEN kind;
        try {
            kind = s.GetToken(pos, token);
        } catch (const BadParameters&) {
            return out + "!";
        }
        out += std::string(1, "NIRSCE"[kind]) + ":" + Str(token);
        if (kind == qvString::TK_END) return out;
        out += "|";
    }
}

}  // namespace

TEST(String, ConstructionViewsCTextsAndCopiesArePrivate) {
    const char text[] = "abc";
    const qvString v(text), part(text + 1, 2);
    EXPECT_EQ(Ptrs(v.GetPointer(), v.GetMem(), part.GetPointer()), Ptrs(text, nullptr, text + 1));
    EXPECT_EQ((Ints{v.Len(), part.Len()}), (Ints{3, 2}));
    for (const qvString& e :
         {qvString(""), qvString(static_cast<const char*>(nullptr)), qvString(text, 0), qvString(0)})
        EXPECT_TRUE(e.empty());
    CQV_EXPECT_BAD(qvString(-1), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvString(text, -1), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(BlockSizeWord(qvString(5).GetPointer()), -5);

    const qvString copy(v);  // a copy of a view is private
    EXPECT_EQ((Ints{BlockCount(copy.GetPointer()), copy == "abc"}), (Ints{1, 1}));
}

TEST(String, GetCStringAppendsAZeroInsideTheBlockAndKeepsTheLength) {
    char text[] = "abc";
    qvString v(text);
    char* c = v.GetCString();
    EXPECT_EQ((Ints{v.Len(), BlockCount(c), BlockSizeWord(c)}), (Ints{3, 1, -4}));
    EXPECT_EQ(std::memcmp(c, "abc", 4), 0);
    EXPECT_EQ(static_cast<char*>(v), c);  // the zero is found: no second copy
    EXPECT_EQ(v.MemSize(), 7);            // the zero is not part of the string
    v += qvString("de");  // growth inside the string's own block, past the zero
    EXPECT_STREQ(v.GetCString(), "abcde");
    qvString e;
    EXPECT_STREQ(e.GetCString(), "");
    EXPECT_EQ(BlockSizeWord(e.GetPointer()), -1);

    // A window whose next character in the block is not zero gets its own
    // copy; one that ends just before the zero uses the block as it is.
    qvString whole = Owned("hello");
    qvString ell;
    ell.SetSubWindow(whole, 1, 3);
    EXPECT_STREQ(ell.GetCString(), "ell");
    EXPECT_EQ(BlockCount(whole.GetPointer()), 1);
    whole.GetCString();
    qvString lo;
    lo.SetSubWindow(whole, 3, 2);
    EXPECT_EQ(lo.GetCString(), whole.GetPointer() + 3);
    EXPECT_EQ(BlockCount(whole.GetPointer()), 2);
}

TEST(String, ComparisonIsSignedLexicographicThenByLength) {
    // Characters compare as signed bytes: 0x80 is below every ASCII one.
    const struct {
        const char* a;
        const char* b;
        int order;
    } pairs[] = {{"abc", "abc", 0}, {"abc", "abd", -1}, {"ab", "abc", -1}, {"b", "abc", 1}, {"\x80", "a", -1},
                 {"z", "\xff", 1}};
    for (const auto& p : pairs) {
        const qvString a(p.a), b(p.b);
        const int o = p.order;
        EXPECT_EQ(std::vector<int>({a < b, a > b, a <= b, a >= b, a == b, a != b}),
                  std::vector<int>({o < 0, o > 0, o <= 0, o >= 0, o == 0, o != 0}))
            << p.a << " " << p.b;
    }
    // Against C texts: exactly the same characters, then the text's end.
    const qvString abc("abc");
    const char zeroInside[] = {'a', 'b', '\0'};
    EXPECT_EQ((Ints{abc == "abc", abc != "abcd", abc != "ab", qvString() == static_cast<const char*>(nullptr),
                    qvString(zeroInside, 3) == "ab"}),
              (Ints{1, 1, 1, 1, 0}));
}

// Concatenation makes new private strings; the characters of a view are
// never written by assignment or appending.
TEST(String, ConcatenationAndViewedCharacters) {
    const qvString abcd = qvString("ab") + qvString("cd");
    EXPECT_EQ(BlockSizeWord(abcd.GetPointer()), -4);
    EXPECT_EQ(Str(abcd) + Str(qvString("ab").GetUnion(qvString())), "abcdab");
    EXPECT_EQ((qvString() + qvString()).GetPointer(), nullptr);
    qvString s = Owned("xy");
    s += s;
    s += "!";
    EXPECT_EQ(Str(s), "xyxy!");

    char text[] = "abc";
    qvString v(text);
    v += qvString();  // nothing to append: still the same view
    EXPECT_EQ(v.GetPointer(), text);
    v += "d";
    EXPECT_EQ(Str(v), "abcd");
    qvString w(text);
    w = qvString("xyz");  // equal length: a private copy, not a write into text
    EXPECT_STREQ(text, "abc");
    ASSERT_NE(w.GetMem(), nullptr);
    const qvString& same = w;
    w = same;
    EXPECT_EQ(Str(w), "xyz");

    // A string that holds a block is written in place, a window included.
    qvString owner = Owned("hello");
    char* const first = owner.GetPointer();
    qvString window;
    window.SetSubWindow(owner, 1, 3);
    window = qvString("ELL");
    EXPECT_EQ(Str(owner), "hELLo");
    owner = qvString("HELLO");
    EXPECT_EQ(owner.GetPointer(), first);
    EXPECT_EQ(Str(window), "ELL");
}

TEST(String, FindLinesAndSubStrings) {
    // Characters from k on; texts from k on (-1 where the rest is too short).
    const qvString s("abcabc");
    EXPECT_EQ((Ints{s.Find('c', 3), s.Find('c', 6), qvString().Find('a')}), (Ints{5, -1, -1}));
    EXPECT_EQ((Ints{s.Find(qvString("bc"), 2), s.Find(qvString("abc"), 4), s.Find(qvString("acb")),
                    s.Find(qvString(), 6), s.Find(qvString(), 7)}),
              (Ints{4, -1, -1, 6, -1}));
    CQV_EXPECT_BAD(s.Find('a', -1), "qvString::Find:char: k < 0 ");
    CQV_EXPECT_BAD(s.Find(qvString("a"), -1), "qvString::Find:str: k < 0 ");

    EXPECT_EQ(qvString("one\ntwo\nthree").GetNumberOfString(), 2);
    const qvString t("abcdef");
    const qvString left = t.Left(2);
    EXPECT_EQ(Str(left) + Str(t.Right(3)) + Str(t.Mid(1, 4)), "abdefbcde");
    EXPECT_EQ(BlockSizeWord(left.GetPointer()), -2);
}

TEST(String, TokenizeGivesViewsOfTheWords) {
    const qvString text = Owned("  one,two  three ");
    qvSimpleArray<qvString> words;
    text.Tokenize(words, qvString(", "));
    EXPECT_EQ(Joined(words), "one/two/three");
    EXPECT_EQ(Ptrs(words[1].GetPointer(), words[1].GetMem()), Ptrs(text.GetPointer() + 6, nullptr));
    EXPECT_EQ(BlockCount(text.GetPointer()), 1);

    // The same number of words reuses the elements; the private storage an
    // element held is released. Words stay valid while their text lives.
    words[0] = qvString("private");
    qvString* const elements = words.GetPointer();
    const qvString abc = Owned("a b c");
    abc.Tokenize(words, qvString(" "));
    EXPECT_EQ(words.GetPointer(), elements);
    EXPECT_EQ(Joined(words), "a/b/c");
    const qvString word = Owned("word");
    word.Tokenize(words, qvString());
    EXPECT_EQ(Joined(words), "word");
    Owned(",,,").Tokenize(words, qvString(","));
    EXPECT_EQ(words.Len(), 0);
}

TEST(String, LexerTokens) {
    const struct {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"x1 = 12.5e-3 + \"hi\" 7.", "N:x1|C:=|R:12.5e-3|C:+|S:\"hi\"|I:7|C:.|E:"},
        {"_a9(-4)\t\"a b\"c", "N:_a9|C:(|C:-|I:4|C:)|S:\"a b\"|N:c|E:"},
        {"1e5 2e-5 3.0e7", "R:1e5|R:2e-5|R:3.0e7|E:"},
        // What a number cannot use is given back.
        {"1.e5", "I:1|C:.|N:e5|E:"},
        {"12ex", "I:12|N:ex|E:"},
        {"3e-x", "I:3|N:e|C:-|N:x|E:"},
        {"1.5e+2", "R:1.5|N:e|C:+|I:2|E:"},
        {"1.5e-a", "R:1.5|N:e|C:-|N:a|E:"},
        {"1E5", "I:1|N:E5|E:"},
        {"2.5x", "R:2.5|N:x|E:"},
        {"4e2y", "R:4e2|N:y|E:"},
        // Bytes above 127 (Latin-1 e-acute, no-break space, y-diaeresis) are
        // none of letter, digit or white space.
        {"\xe9t\xa0\xff", "C:\xe9|N:t|C:\xa0|C:\xff|E:"},
        {"ab\xe9" "12\xe9", "N:ab|C:\xe9|I:12|C:\xe9|E:"},
        {"\"\xe9\"", "S:\"\xe9\"|E:"},
        // The text ends in each state of the lexer.
        {" \t\n", "E:"},
        {"ab_1", "N:ab_1|E:"},
        {"123", "I:123|E:"},
        {"12.", "I:12|C:.|E:"},
        {"1.25", "R:1.25|E:"},
        {"12e", "I:12|N:e|E:"},
        {"12e-", "I:12|N:e|C:-|E:"},
        {"1.5e", "R:1.5|N:e|E:"},
        {"1.5e-", "R:1.5|N:e|C:-|E:"},
        {"1.5e-7", "R:1.5e-7|E:"},
        {"=", "C:=|E:"},
    };
    for (const auto& c : cases) EXPECT_EQ(Lex(c.text), c.tokens) << c.text;
    // (... and in a quoted text, which must be closed: below.)
}

TEST(String, LexerPositionsTokensAndBadPositions) {
    const qvString s = Owned("ab 12  ");
    qvString token;
    int pos = 0;
    // A token is a window on the string's block; pos moves past it.
    EXPECT_EQ(s.GetToken(pos, token), qvString::TK_NAME);
    EXPECT_EQ(token.GetPointer(), s.GetPointer());
    EXPECT_EQ(BlockCount(s.GetPointer()), 2);
    EXPECT_EQ(s.GetToken(pos, token), qvString::TK_INTEGER);
    EXPECT_EQ((Ints{pos, static_cast<int>(token.GetPointer() - s.GetPointer())}), (Ints{5, 3}));
    EXPECT_EQ(s.GetToken(pos, token), qvString::TK_END);
    EXPECT_EQ((Ints{pos, token.Len(), BlockCount(s.GetPointer())}), (Ints{7, 0, 1}));
    pos = 40;
    EXPECT_EQ((Ints{s.GetToken(pos, token), pos}), (Ints{qvString::TK_END, 40}));

    // Refusals: a quote left open (pos stays at the quote) and a negative pos.
    const qvString open = Owned("  \"abc");
    CQV_EXPECT_BAD(open.GetToken(pos = 0, token), "syntax error : expected '\"'");
    EXPECT_EQ(pos, 2);
    token = qvString("kept");
    pos = -1;
    CQV_EXPECT_BAD(s.GetToken(pos, token), "qvString::GetToken: pos < 0");
    EXPECT_EQ(pos, -1);
    EXPECT_EQ(Str(token), "kept");
    EXPECT_EQ(qvString().GetToken(pos = 0, token), qvString::TK_END);
    EXPECT_TRUE(token.empty());  // nothing stale is left at the end
}

// Cut records and sizes beyond 32 bits are checked in array_record_test.cpp.
TEST(String, RecordIsTheLengthThenTheCharacters) {
    unsigned char buf[16];
    std::memset(buf, 0xee, sizeof buf);
    const qvString ell("ELL");
    int at = qvToMem(buf, ell);
    at += qvString().ToMem(buf + at);
    EXPECT_EQ((Ints{qvMemSize(ell), at}), (Ints{7, 11}));
    const unsigned char expected[] = {3, 0, 0, 0, 'E', 'L', 'L', 0, 0, 0, 0, 0xee};
    EXPECT_EQ(std::memcmp(buf, expected, sizeof expected), 0);

    // Read back chained: a record of equal length writes into a window, an
    // empty one leaves no block; the free reader gives a fresh string.
    qvString owner = Owned("hello"), window, back = Owned("x"), fresh;
    window.SetSubWindow(owner, 1, 3);
    at = window.FromMem(buf);
    at += back.FromMem(buf + at);
    EXPECT_EQ((Ints{at, qvFromMem(buf, fresh)}), (Ints{11, 7}));
    EXPECT_EQ(Str(owner) + Str(fresh), "hELLoELL");
    EXPECT_EQ(back.GetMem(), nullptr);
}
