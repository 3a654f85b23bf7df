// qvString: the library's character string.
//
// A string is a simple array of char: Len() characters and no terminator of
// its own. Storage, windows and sharing follow qvSimpleArray. A string built
// from a C text does not copy it: it views the caller's characters (which
// must outlive it) until something makes its storage private. GetCString
// appends a zero inside the block when a terminated text is needed.
//
// Writes into viewed characters: a string never writes into characters it
// views without holding a block (a C text, a Tokenize word). An assignment
// of equal length to such a string first gives it a private block, and `+=`
// of an empty string writes nothing. FromMem of a record of the string's own
// length still writes into the present storage, as every array's FromMem
// does. Windows on a counted block (GetToken tokens) follow the array rule:
// an assignment of equal length writes into the viewed block.
//
// Besides comparison, concatenation and search, a string splits itself at
// separator characters (Tokenize) and cuts itself into names, numbers,
// quoted texts and single characters (GetToken). Words and tokens refer to
// this string's characters and are valid only while those live unchanged.
//
// The record of a string is that of an array of char: an int32 length, then
// the characters.
//
// Allocation failure throws qvErrNoMemory. "qvNewWithRef : n <= 0 " below
// ends in a blank.
#ifndef CQV_ARRAYS_STRING_H
#define CQV_ARRAYS_STRING_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/core/record.h"

// A character string: a simple array of char without a terminator of its
// own, viewing C texts until something makes its storage private.
class CQV_API qvString : public qvSimpleArray<char> {
public:
    // Kinds of tokens GetToken returns.
    enum TOKEN {
        TK_NAME = 0,     // a letter or "_", then letters, digits and "_"
        TK_INTEGER = 1,  // a run of decimal digits
        TK_REAL = 2,     // digits with a fraction and/or an exponent
        TK_STRING = 3,   // a double-quoted text, both quotes included
        TK_CHAR = 4,     // any other single character but white space
        TK_END = 5       // nothing left
    };

    // An empty string.
    CQV_INLINE qvString() {}
    // A fresh private block of n uninitialised characters; 0 gives an empty
    // string. Throws BadParameters "qvNewWithRef : n <= 0 " when n is
    // negative.
    explicit qvString(int n);
    // Views the C text s (nothing is copied; s must outlive the view or the
    // string must be made private). A null or empty s gives an empty string.
    qvString(const char* s);
    // Views the n characters at s. n of 0 or a null s gives an empty string.
    // Throws BadParameters "qvNewWithRef : n <= 0 " when n is negative.
    qvString(const char* s, int n);
    // A private copy of s's characters.
    qvString(const qvString& s);
    // Copies s's characters: into the present storage when the lengths are
    // equal and the string holds a block, else into a fresh private block.
    qvString& operator=(const qvString& s);
    // Releases the held block.
    ~qvString() override;

    // 1 for equal lengths and equal characters, else 0; != is the negation.
    int operator==(const qvString& s) const;
    CQV_INLINE int operator!=(const qvString& s) const { return !(*this == s); }
    // 1 when the C text s has exactly Len() characters, all equal to this
    // string's, else 0; != is the negation. A null s equals the empty
    // string.
    int operator==(const char* s) const;
    CQV_INLINE int operator!=(const char* s) const { return !(*this == s); }
    // Lexicographic order of the characters taken as signed 8-bit values; a
    // proper prefix is less than the longer string.
    CQV_INLINE int operator<(const qvString& s) const { return Compare(s) < 0; }
    CQV_INLINE int operator>(const qvString& s) const { return Compare(s) > 0; }
    CQV_INLINE int operator<=(const qvString& s) const { return Compare(s) <= 0; }
    CQV_INLINE int operator>=(const qvString& s) const { return Compare(s) >= 0; }

    // A new private string of this string's characters followed by b's.
    qvString GetUnion(const qvString& b) const;
    CQV_INLINE qvString operator+(const qvString& b) const { return GetUnion(b); }
    // Appends b's characters in a fresh private block; an empty b changes
    // nothing. b may be this string.
    qvString& operator+=(const qvString& b);

    // Index of the first c at or after index k, or -1. Throws BadParameters
    // "qvString::Find:char: k < 0 " (with the trailing blank) when k is
    // negative.
    int Find(char c, int k) const;
    CQV_INLINE int Find(char c) const { return Find(c, 0); }
    // First index at or after k where all of t matches, or -1; an empty t
    // matches at k when k is at most Len(). Throws BadParameters
    // "qvString::Find:str: k < 0 " (with the trailing blank) when k is
    // negative.
    int Find(const qvString& t, int k) const;
    CQV_INLINE int Find(const qvString& t) const { return Find(t, 0); }

    // The characters followed by a zero byte. The zero lies inside the
    // block, after the last character, and is not counted by Len(); a string
    // without such a zero (a view, a window, a fresh string) is first copied
    // into a private block one character longer.
    char* GetCString();
    CQV_INLINE operator char*() { return GetCString(); }

    // Number of line feeds (code 10) in the string.
    int GetNumberOfString() const;

    // Private copies of the first n, the last n, and the n characters from
    // start. Throw BadParameters "qvSimpleArray<T>::Left: Out of Range",
    // "qvSimpleArray<T>::Right: Out of Range" and
    // "qvSimpleArray<T>::Mid: Out of Range" (the simple array's checks) when
    // n is below 1 or the characters are not all inside the string.
    qvString Left(int n) const;
    qvString Right(int n) const;
    qvString Mid(int start, int n) const;

    // Splits the string into its words, the maximal runs of characters that
    // are not in separators. words takes one element per word, reusing its
    // strings when their number already fits; each element becomes a view of
    // its word inside this string's characters (no copy, no block held).
    void Tokenize(qvSimpleArray<qvString>& words, const qvString& separators) const;

    // Reads the next token from index pos on, skipping white space: token
    // becomes a window on its characters in this string's storage and pos
    // moves past it. At the end of the text token is emptied and TK_END
    // returned. Only a lower-case "e" starts an exponent and only "-" signs
    // it; a dot or exponent without digits after it is left for the next
    // call. Throws BadParameters "qvString::GetToken: pos < 0" when pos is
    // negative, and "syntax error : expected '\"'" when a double quote is
    // never closed (pos has then moved past the leading white space); the
    // lexer's own consistency check (every token holds a character), which
    // never fails, would throw "qvString::GetToken: inner error". Character
    // classes are those of the C runtime's isalpha, isdigit and isspace for
    // the character as a signed 8-bit value (negative ones are in none).
    TOKEN GetToken(int& pos, qvString& token) const;

    // The size of the record: Len() as an int32, then the characters. MemSize
    // and ToMem throw BadParameters "Record size does not fit in 32 bits" for
    // a string of 2^31 - 4 characters or more (ToMem before writing anything).
    int MemSize() const override;
    // Writes the record at p; returns its size.
    int ToMem(unsigned char* p) const override;
    // Reads a record. A count equal to Len() writes into the present
    // storage, whatever it is; another count releases the block and takes a
    // fresh one (or leaves the string empty). Throws BadParameters
    // "Record size does not fit in 32 bits" when the count is 2^31 - 4 or
    // more, leaving the string unchanged, and "qvNewWithRef : n <= 0 " when
    // the count is negative, once the block is released: the string is then
    // empty. Trusts the count: for untrusted bytes use FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, before anything changes.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

private:
    // Negative, zero or positive as this string orders before, with or
    // after s.
    int Compare(const qvString& s) const;
    // Makes token a window on the characters [pos, end), moves pos to end and
    // returns kind.
    TOKEN Cut(TOKEN kind, int& pos, int end, qvString& token) const;
};

// The string's record through its virtual members.
CQV_API int qvMemSize(const qvString& s);
CQV_API int qvToMem(unsigned char* p, const qvString& s);
CQV_API int qvFromMem(unsigned char* p, qvString& s);
// The bounded forms for untrusted bytes: s.RecordSize and s.FromMem(p,
// available), which throw as those members.
CQV_API int qvRecordSize(const unsigned char* p, int available, const qvString& s);
CQV_API int qvFromMem(const unsigned char* p, int available, qvString& s);

CQV_EXTERN_TEMPLATE(qvSimpleArray<qvString>)

#endif  // CQV_ARRAYS_STRING_H
