// qvString::GetToken throughput over a large generated source text, against
// a hand-written lexer with the same token rules over a plain char buffer
// returning std::string_view tokens: the code a client would write instead.
// Both walk the whole text token by token; throughput is reported in bytes
// of source per second. Before timing, both lexers' token streams are
// compared (count, kinds and lengths), so that they are known to do the
// same work.
#include <cqv/cqv.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "bench_support.h"

namespace {

// A C-like source text of at least `bytes` characters: assignments and
// calls with names, integers, reals with fractions and exponents, quoted
// texts and punctuation, indented lines. The same for the same size.
std::string SourceText(std::int64_t bytes) {
    static const char* const kNames[] = {"alpha", "beta_2", "_tmp", "x", "count", "matrixRow", "i", "value_of_k"};
    static const char* const kOps[] = {" = ", " + ", " - ", " * ", " / ", ", ", " < ", " == "};
    static const char* const kTexts[] = {"\"hello, world\"", "\"\"", "\"a longer quoted text with blanks\"", "\"%d\""};
    std::mt19937 gen(7);
    auto pick = [&gen](int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); };
    std::string s;
    s.reserve(static_cast<std::size_t>(bytes) + 128);
    while (static_cast<std::int64_t>(s.size()) < bytes) {
        s.append(static_cast<std::size_t>(4 * pick(3)), ' ');
        s += kNames[pick(8)];
        s += std::to_string(pick(100));
        s += kOps[0];
        const int terms = 2 + pick(5);
        for (int t = 0; t < terms; ++t) {
            if (t > 0) s += kOps[1 + pick(7)];
            switch (pick(6)) {
                case 0: s += std::to_string(pick(100000)); break;
                case 1: s += std::to_string(pick(1000)) + "." + std::to_string(pick(1000)); break;
                case 2: s += std::to_string(1 + pick(9)) + "e-" + std::to_string(pick(30)); break;
                case 3: s += kTexts[pick(4)]; break;
                case 4: s += std::string(kNames[pick(8)]) + "(" + kNames[pick(8)] + "[" + std::to_string(pick(64)) + "])"; break;
                default: s += kNames[pick(8)]; break;
            }
        }
        s += ";\n";
    }
    return s;
}

// The same text in a string holding a counted block of its own, as
// GetToken's windows need.
qvString CqvText(const std::string& s) {
    qvString q(static_cast<int>(s.size()));
    std::memcpy(q.GetPointer(), s.data(), s.size());
    return q;
}

bool IsAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The digits from i on; returns the index after the last.
std::size_t Digits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

// The hand-written lexer: the token rules of GetToken in straight code.
// Returns the kind (qvString::TOKEN values); tok views the token's
// characters in s, pos moves past it. An unclosed quote ends the text.
int PlainToken(std::string_view s, std::size_t& pos, std::string_view& tok) {
    std::size_t i = pos;
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i >= s.size()) {
        pos = i;
        tok = std::string_view();
        return qvString::TK_END;
    }
    const std::size_t start = i;
    const char c = s[i];
    int kind = qvString::TK_CHAR;
    std::size_t end = i + 1;
    if (IsAlpha(c) || c == '_') {
        while (end < s.size() && (IsAlpha(s[end]) || IsDigit(s[end]) || s[end] == '_')) ++end;
        kind = qvString::TK_NAME;
    } else if (IsDigit(c)) {
        end = Digits(s, i);
        kind = qvString::TK_INTEGER;
        if (end + 1 < s.size() && s[end] == '.' && IsDigit(s[end + 1])) {
            end = Digits(s, end + 1);
            kind = qvString::TK_REAL;
        }
        if (end < s.size() && s[end] == 'e') {
            std::size_t j = end + 1;
            if (j < s.size() && s[j] == '-') ++j;
            if (j < s.size() && IsDigit(s[j])) {
                end = Digits(s, j);
                kind = qvString::TK_REAL;
            }
        }
    } else if (c == '"') {
        const std::size_t close = s.find('"', i + 1);
        if (close == std::string_view::npos) {
            pos = s.size();
            tok = std::string_view();
            return qvString::TK_END;
        }
        end = close + 1;
        kind = qvString::TK_STRING;
    }
    tok = s.substr(start, end - start);
    pos = end;
    return kind;
}

// A fingerprint of a token stream: count, and sums of kinds and lengths.
struct Tally {
    std::int64_t tokens = 0, kinds = 0, chars = 0;
    void Add(int kind, std::size_t len) {
        ++tokens;
        kinds += kind;
        chars += static_cast<std::int64_t>(len);
    }
    bool operator==(const Tally& t) const { return tokens == t.tokens && kinds == t.kinds && chars == t.chars; }
};

Tally LexCqv(const qvString& text) {
    Tally t;
    qvString token;
    int pos = 0;
    for (qvString::TOKEN k; (k = text.GetToken(pos, token)) != qvString::TK_END;) t.Add(k, static_cast<std::size_t>(token.Len()));
    return t;
}

Tally LexPlain(std::string_view text) {
    Tally t;
    std::string_view token;
    std::size_t pos = 0;
    for (int k; (k = PlainToken(text, pos, token)) != qvString::TK_END;) t.Add(k, token.size());
    return t;
}

void GetTokenCqv(benchmark::State& state) {
    const std::string s = SourceText(state.range(0));
    const qvString text = CqvText(s);
    if (!(LexCqv(text) == LexPlain(s))) {
        state.SkipWithError("the two lexers disagree on the text");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(LexCqv(text));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.size()));
}

void GetTokenPlain(benchmark::State& state) {
    const std::string s = SourceText(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(LexPlain(s));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.size()));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {std::int64_t{1} << 16, std::int64_t{1} << 20, std::int64_t{1} << 24}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(GetTokenCqv)->Name("BM_GetToken/cqv")->Apply(Sizes);
BENCHMARK(GetTokenPlain)->Name("BM_GetToken/loop")->Apply(Sizes);
