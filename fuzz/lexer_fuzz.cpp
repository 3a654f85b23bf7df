// The lexer (GetToken) and the word splitter (Tokenize) on any text. Every
// token is a window on the text past white space only, the white space
// between tokens lexes to nothing, and a token lexed on its own is the same
// token: the text is rebuilt exactly from its gaps and tokens. Words are the
// maximal runs without separators, in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <cqv/cqv.h>

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

// The text's characters from start, n of them, as a string of its own.
qvString Part(const qvString& text, int start, int n) { return qvString(text.GetPointer() + start, n); }

void Lex(const qvString& text) {
    const char* base = text.GetPointer();
    std::string rebuilt;
    int pos = 0;
    qvString token;
    for (;;) {
        const int start = pos;
        qvString::TOKEN kind;
        try {
            kind = text.GetToken(pos, token);
        } catch (const BadParameters& e) {
            // Only an unclosed quote is refused, and only after white space.
            Require(std::strcmp(e.GetMessageText(), "Invalid parameters : syntax error : expected '\"'") == 0);
            Require(pos >= start && pos < text.Len() && base[pos] == '"');
            Require(std::memchr(base + pos + 1, '"', static_cast<std::size_t>(text.Len() - pos - 1)) == nullptr);
            return;
        }
        if (kind == qvString::TK_END) {
            Require(token.Len() == 0);
            if (start < text.Len()) {
                int rest = 0;
                qvString tail;
                Require(Part(text, start, text.Len() - start).GetToken(rest, tail) == qvString::TK_END);
                rebuilt.append(base + start, static_cast<std::size_t>(text.Len() - start));
            }
            break;
        }
        const int at = static_cast<int>(token.GetPointer() - base);
        Require(token.Len() > 0 && at >= start && at + token.Len() == pos && pos <= text.Len());
        if (at > start) {  // the gap is white space only
            int gapPos = 0;
            qvString nothing;
            Require(Part(text, start, at - start).GetToken(gapPos, nothing) == qvString::TK_END);
        }
        int again = 0;
        qvString alone;
        const qvString copy = Part(text, at, token.Len());
        Require(copy.GetToken(again, alone) == kind && again == token.Len() && alone.Len() == token.Len());
        rebuilt.append(base + start, static_cast<std::size_t>(pos - start));
    }
    Require(rebuilt == std::string(base, static_cast<std::size_t>(text.Len())));
}

void Split(const qvString& text) {
    static const qvString separators(" ,;\t\n");
    qvSimpleArray<qvString> words;
    text.Tokenize(words, separators);
    const char* base = text.GetPointer();
    int at = 0;
    for (int w = 0; w < words.Len(); ++w) {
        const int start = static_cast<int>(words[w].GetPointer() - base);
        Require(words[w].Len() > 0 && start >= at && start + words[w].Len() <= text.Len());
        for (int i = at; i < start; ++i) Require(std::strchr(" ,;\t\n", base[i]) != nullptr && base[i] != '\0');
        for (int i = start; i < start + words[w].Len(); ++i)
            Require(base[i] == '\0' || std::strchr(" ,;\t\n", base[i]) == nullptr);
        at = start + words[w].Len();
        Require(at == text.Len() || (base[at] != '\0' && std::strchr(" ,;\t\n", base[at]) != nullptr));
    }
    for (int i = at; i < text.Len(); ++i) Require(base[i] != '\0' && std::strchr(" ,;\t\n", base[i]) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 1 << 16) return 0;
    const qvString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    Lex(text);
    Split(text);
    return 0;
}
