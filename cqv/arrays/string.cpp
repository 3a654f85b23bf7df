#include "cqv/arrays/string.h"

#include <cctype>
#include <cstdint>
#include <cstring>

#include "cqv/arrays/simple_array_impl.h"
#include "cqv/core/byte_order_internal.h"
#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/record_internal.h"
#include "cqv/arrays/messages.h"

// Arrays of strings hold their elements as objects: built when a block is
// made, copied by assignment, destroyed on release.
CQV_INSTANTIATE(qvSimpleArray<qvString>)

namespace {

// Character classes of the lexer, taken on the character as a signed 8-bit
// value, as the C runtime's isalpha, isdigit and isspace give them. What the
// C standard fixes for every locale is decided here without a call: the
// decimal digits are the only digits, the 52 letters are always alphabetic,
// the six standard white-space characters are always white space, and an
// alphabetic character is never a digit or white space. The runtime is
// asked about the other characters from 0 to 127 (punctuation and controls,
// which a locale may add to a class). Negative characters are neither
// letters, digits nor white space, as in the C locale, and never reach the
// runtime (which does not accept them). kEndOfText, past the last
// character, belongs to no class and equals no character.
constexpr int kEndOfText = 0x100;

inline int CharCode(char c) { return static_cast<signed char>(c); }

// The fixed classes of the characters 0 to 127, one table lookup each:
// digits, name starts ("_" and the letters), the standard white space, and
// the characters whose class the runtime decides.
enum CharClass : unsigned char { kDigit = 1, kNameStart = 2, kSpace = 4, kAsk = 8 };
struct CharClasses {
    unsigned char of[128];
    constexpr CharClasses() : of() {
        for (int c = 0; c < 128; ++c) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (c >= '0' && c <= '9') {
                of[c] = kDigit;
            } else if (letter || c == '_') {
                of[c] = kNameStart;
            } else if (c == ' ' || (c >= '\t' && c <= '\r')) {
                of[c] = kSpace;
            } else {
                of[c] = kAsk;
            }
        }
    }
};
constexpr CharClasses kClasses;

// The class bits of c: 0 for negative characters and for kEndOfText.
inline unsigned ClassOf(int c) { return static_cast<unsigned>(c) < 128u ? kClasses.of[c] : 0u; }
inline bool IsDigit(int c) { return (ClassOf(c) & kDigit) != 0; }
inline bool IsSpace(int c) {
    const unsigned k = ClassOf(c);
    return (k & kSpace) != 0 || ((k & kAsk) != 0 && std::isspace(c) != 0);
}
inline bool IsNameStart(int c) {
    const unsigned k = ClassOf(c);
    return (k & kNameStart) != 0 || ((k & kAsk) != 0 && std::isalpha(c) != 0);
}
inline bool IsNameChar(int c) {
    const unsigned k = ClassOf(c);
    return (k & (kNameStart | kDigit)) != 0 || ((k & kAsk) != 0 && std::isalpha(c) != 0);
}

// The index of the first character from i on (of the n at text) that is
// not a name character, or not a digit.
inline int SkipName(const char* text, int i, int n) {
    while (i < n && IsNameChar(CharCode(text[i]))) ++i;
    return i;
}
inline int SkipDigits(const char* text, int i, int n) {
    while (i < n && IsDigit(CharCode(text[i]))) ++i;
    return i;
}

// Whether c occurs among the n characters at set.
inline bool Contains(const char* set, int n, char c) {
    return n > 0 && std::memchr(set, c, static_cast<std::size_t>(n)) != nullptr;
}

inline void CopyChars(char* dst, const char* src, int n) {
    if (n > 0) std::memcpy(dst, src, static_cast<std::size_t>(n));
}

// A string that takes over the storage of a.
qvString Adopt(qvSimpleArray<char> a) {
    qvString s;
    s.Move(a);
    return s;
}

}  // namespace

qvString::qvString(int n) {
    Set(n);
}

qvString::qvString(const char* s) {
    if (s != nullptr && s[0] != '\0') SetDirectly(const_cast<char*>(s), static_cast<int>(std::strlen(s)));
}

qvString::qvString(const char* s, int n) {
    if (n < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    if (s != nullptr && n > 0) SetDirectly(const_cast<char*>(s), n);
}

qvString::qvString(const qvString& s) : qvSimpleArray<char>(s) {}

qvString& qvString::operator=(const qvString& s) {
    if (len > 0 && s.len == len && mem == nullptr) {
        // The characters are viewed, not held: copy instead of writing
        // into them (they may be a read-only C text).
        AdoptCopyOf(s.data, len);
    } else {
        qvSimpleArray<char>::operator=(s);
    }
    return *this;
}

qvString::~qvString() = default;

int qvString::operator==(const qvString& s) const {
    if (len != s.len) return 0;
    return len == 0 || std::memcmp(data, s.data, static_cast<std::size_t>(len)) == 0;
}

int qvString::operator==(const char* s) const {
    if (s == nullptr) return len == 0;
    // Stops at the text's end, so a shorter text is never read past it.
    const char* p = data;
    for (int i = 0; i < len; ++i, ++p, ++s) {
        if (*s == '\0' || *s != *p) return 0;
    }
    return *s == '\0';
}

int qvString::Compare(const qvString& s) const {
    const int n = len < s.len ? len : s.len;
    const char* a = data;
    const char* b = s.data;
    for (int i = 0; i < n; ++i, ++a, ++b) {
        if (*a != *b) return CharCode(*a) < CharCode(*b) ? -1 : 1;
    }
    return len < s.len ? -1 : (len > s.len ? 1 : 0);
}

qvString qvString::GetUnion(const qvString& b) const {
    qvString r;
    const int n = len + b.len;
    if (n == 0) return r;
    r.New(n);
    CopyChars(r.data, data, len);
    CopyChars(r.data + len, b.data, b.len);
    return r;
}

qvString& qvString::operator+=(const qvString& b) {
    Concat(b);
    return *this;
}

int qvString::Find(char c, int k) const {
    if (k < 0) throw BadParameters(qvMsg::StringFindCharNegative);
    if (k >= len) return -1;
    const void* hit = std::memchr(data + k, c, static_cast<std::size_t>(len - k));
    return hit == nullptr ? -1 : static_cast<int>(static_cast<const char*>(hit) - data);
}

int qvString::Find(const qvString& t, int k) const {
    if (k < 0) throw BadParameters(qvMsg::StringFindStrNegative);
    if (t.len == 0) return k <= len ? k : -1;
    const int last = len - t.len;
    if (k > last) return -1;
    const std::size_t n = static_cast<std::size_t>(t.len);
    const char first = t.data[0];
    for (const char* p = data + k; k <= last; ++k, ++p) {
        if (*p == first && std::memcmp(p, t.data, n) == 0) return k;
    }
    return -1;
}

char* qvString::GetCString() {
    if (mem != nullptr && data != nullptr) {
        const std::int64_t off = reinterpret_cast<std::intptr_t>(data) - reinterpret_cast<std::intptr_t>(mem);
        const std::int32_t word = qvDetail::BlockSizeWord(mem);
        const std::int64_t count = word < 0 ? -static_cast<std::int64_t>(word) : word;
        if (off >= 0 && off + len < count && data[len] == '\0') return data;
    }
    const int n = len;
    Regrow(n + 1);
    data[n] = '\0';
    len = n;
    return data;
}

int qvString::GetNumberOfString() const {
    int lines = 0;
    const char* p = data;
    for (int i = 0; i < len; ++i, ++p) lines += *p == '\n';
    return lines;
}

qvString qvString::Left(int n) const { return Adopt(qvSimpleArray<char>::Left(n)); }

qvString qvString::Right(int n) const { return Adopt(qvSimpleArray<char>::Right(n)); }

qvString qvString::Mid(int start, int n) const { return Adopt(qvSimpleArray<char>::Mid(start, n)); }

void qvString::Tokenize(qvSimpleArray<qvString>& words, const qvString& separators) const {
    const char* set = separators.data;
    const int setLen = separators.len;
    const char* const end = data + len;

    int count = 0;
    bool inWord = false;
    for (const char* p = data; p != end; ++p) {
        const bool sep = Contains(set, setLen, *p);
        if (!sep && !inWord) ++count;
        inWord = !sep;
    }
    if (count != words.Len()) words.Set(count);

    qvString* word = words.GetPointer();
    const char* p = data;
    for (int k = 0; k < count; ++k, ++word) {
        while (Contains(set, setLen, *p)) ++p;
        const char* first = p;
        while (p != end && !Contains(set, setLen, *p)) ++p;
        word->SetDirectly(const_cast<char*>(first), static_cast<int>(p - first));
    }
}

qvString::TOKEN qvString::Cut(TOKEN kind, int& pos, int end, qvString& token) const {
    // Every token holds a character: the lexer's own consistency check.
    if (end <= pos) throw BadParameters(qvMsg::StringGetTokenInnerError);
    // A window on [pos, end) as SetSubWindow makes it; a token taken from the
    // same string before already holds its block.
    char* first = data + pos;
    if (token.mem != mem) token.SetMem(mem);
    token.data = first;
    token.len = end - pos;
    pos = end;
    return kind;
}

qvString::TOKEN qvString::GetToken(int& pos, qvString& token) const {
    if (pos < 0) throw BadParameters(qvMsg::StringGetTokenNegative);
    if (pos >= len) {
        token.Clear();
        return TK_END;
    }
    // The states of the lexer as straight code: each run of characters that
    // keeps a state is consumed at once, and the end of the text counts as a
    // character of no class.
    const char* const text = data;
    const int n = len;
    const auto at = [text, n](int i) { return i < n ? CharCode(text[i]) : kEndOfText; };
    int i = pos;
    while (IsSpace(at(i))) ++i;  // white space moves pos on
    pos = i;
    const int c = at(i);
    if (c == kEndOfText) {
        token.Clear();
        return TK_END;
    }
    if (IsNameStart(c)) return Cut(TK_NAME, pos, SkipName(text, i + 1, n), token);
    if (c == '"') {
        const void* close = i + 1 < n ? std::memchr(text + i + 1, '"', static_cast<std::size_t>(n - i - 1)) : nullptr;
        if (close == nullptr) throw BadParameters(qvMsg::StringExpectedQuote);
        return Cut(TK_STRING, pos, static_cast<int>(static_cast<const char*>(close) - text) + 1, token);
    }
    if (!IsDigit(c)) return Cut(TK_CHAR, pos, i + 1, token);

    // Digits, then perhaps "." and digits, then perhaps "e", an optional "-"
    // and digits. A "." or an exponent without its digits is left for the
    // next call, and the number ends before it.
    i = SkipDigits(text, i + 1, n);
    TOKEN kind = TK_INTEGER;
    if (at(i) == '.') {
        if (!IsDigit(at(i + 1))) return Cut(TK_INTEGER, pos, i, token);
        i = SkipDigits(text, i + 2, n);
        kind = TK_REAL;
    }
    if (at(i) == 'e') {
        int j = i + 1;
        if (at(j) == '-') ++j;
        if (!IsDigit(at(j))) return Cut(kind, pos, i, token);
        i = SkipDigits(text, j + 1, n);
        kind = TK_REAL;
    }
    return Cut(kind, pos, i, token);
}

int qvString::MemSize() const { return qvRecordBytes(4, len, 1); }

int qvString::ToMem(unsigned char* p) const {
    qvString::MemSize();
    qvDetail::PutLE<std::int32_t>(p, len);
    return 4 + qvDetail::PutArrayLE(p + 4, data, len);
}

int qvString::RecordSize(const unsigned char* p, int available) {
    return qvCheckRecordLength(qvRecordBytes(4, qvDetail::RecordCount(p, 0, available), 1), available);
}

int qvString::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return qvString::FromMem(const_cast<unsigned char*>(p));
}

int qvString::FromMem(unsigned char* p) {
    const std::int32_t n = qvDetail::GetLE<std::int32_t>(p);
    // A count too large for any record is refused before anything changes;
    // a negative one only once the present block has gone, when New refuses
    // it.
    if (n >= 0) RecordSize(p, qvDetail::kUnboundedRecord);
    if (n != len) {
        MakeEmpty();
        if (n != 0) New(n);
    }
    return 4 + qvDetail::GetArrayLE(p + 4, data, n);
}

int qvMemSize(const qvString& s) { return s.MemSize(); }

int qvToMem(unsigned char* p, const qvString& s) { return s.ToMem(p); }

int qvFromMem(unsigned char* p, qvString& s) { return s.FromMem(p); }

int qvRecordSize(const unsigned char* p, int available, const qvString&) {
    return qvString::RecordSize(p, available);
}

int qvFromMem(const unsigned char* p, int available, qvString& s) { return s.FromMem(p, available); }
