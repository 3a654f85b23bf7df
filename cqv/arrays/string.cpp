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
// value. The C runtime answers for 0 to 127; negative characters are neither
// letters, digits nor white space, as in the C locale, and never reach the
// runtime (which does not accept them). kEndOfText, past the last
// character, belongs to no class and equals no character.
constexpr int kEndOfText = 0x100;

inline int CharCode(char c) { return static_cast<signed char>(c); }
inline bool InAscii(int c) { return static_cast<unsigned>(c) < 0x80u; }
inline bool IsDigit(int c) { return InAscii(c) && std::isdigit(c) != 0; }
inline bool IsSpace(int c) { return InAscii(c) && std::isspace(c) != 0; }
inline bool IsNameStart(int c) { return c == '_' || (InAscii(c) && std::isalpha(c) != 0); }
inline bool IsNameChar(int c) { return IsNameStart(c) || IsDigit(c); }

// States of the lexer.
enum LexState {
    kStart,
    kName,
    kInt,
    kDot,
    kFrac,
    kIntExp,
    kIntExpSign,
    kRealExp,
    kRealExpSign,
    kExpDigits,
    kQuoted
};

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
    token.SetSubWindow(*this, pos, end - pos);
    pos = end;
    return kind;
}

qvString::TOKEN qvString::GetToken(int& pos, qvString& token) const {
    if (pos < 0) throw BadParameters(qvMsg::StringGetTokenNegative);
    if (pos >= len) {
        token.Clear();
        return TK_END;
    }
    // One step per character; the step at i == len sees kEndOfText, which
    // takes the "other character" branch of every state but two: Start ends
    // the text and Quoted lacks its closing quote. Every state returns or
    // throws there, so the loop never reads past the last character.
    const char* const text = data;
    LexState state = kStart;
    for (int i = pos;; ++i) {
        const int c = i < len ? CharCode(text[i]) : kEndOfText;
        switch (state) {
            case kStart:
                if (IsNameStart(c)) {
                    state = kName;
                } else if (IsDigit(c)) {
                    state = kInt;
                } else if (c == '"') {
                    state = kQuoted;
                } else if (IsSpace(c)) {
                    pos = i + 1;
                } else if (c == kEndOfText) {
                    token.Clear();
                    return TK_END;
                } else {
                    return Cut(TK_CHAR, pos, i + 1, token);
                }
                break;
            case kName:
                if (!IsNameChar(c)) return Cut(TK_NAME, pos, i, token);
                break;
            case kInt:
                if (c == '.') {
                    state = kDot;
                } else if (c == 'e') {
                    state = kIntExp;
                } else if (!IsDigit(c)) {
                    return Cut(TK_INTEGER, pos, i, token);
                }
                break;
            case kDot:
                if (!IsDigit(c)) return Cut(TK_INTEGER, pos, i - 1, token);
                state = kFrac;
                break;
            case kFrac:
                if (c == 'e') {
                    state = kRealExp;
                } else if (!IsDigit(c)) {
                    return Cut(TK_REAL, pos, i, token);
                }
                break;
            case kIntExp:
            case kRealExp:
                if (IsDigit(c)) {
                    state = kExpDigits;
                } else if (c == '-') {
                    state = state == kIntExp ? kIntExpSign : kRealExpSign;
                } else {
                    return Cut(state == kIntExp ? TK_INTEGER : TK_REAL, pos, i - 1, token);
                }
                break;
            case kIntExpSign:
            case kRealExpSign:
                if (!IsDigit(c)) return Cut(state == kIntExpSign ? TK_INTEGER : TK_REAL, pos, i - 2, token);
                state = kExpDigits;
                break;
            case kExpDigits:
                if (!IsDigit(c)) return Cut(TK_REAL, pos, i, token);
                break;
            case kQuoted:
                if (c == '"') return Cut(TK_STRING, pos, i + 1, token);
                if (c == kEndOfText) throw BadParameters(qvMsg::StringExpectedQuote);
                break;
            default:
                throw BadParameters(qvMsg::StringGetTokenInnerError);
        }
    }
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
    RecordSize(p, qvDetail::kUnboundedRecord);
    const std::int32_t n = qvDetail::GetLE<std::int32_t>(p);
    if (n != len) {
        MakeEmpty();
        if (n > 0) New(n);
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
