// Exception classes offered to client code; the library never throws them.
//
// They share the message buffer of qvExceptionWithMessage: constructing one
// writes its text there, and copying one copies only its own fields (codes
// and a private copy of its name). They stand beside the string, whose
// objects they carry.
//
// Allocation failure (while a name is copied) throws qvErrNoMemory; nothing
// else here throws.
#ifndef CQV_ARRAYS_CLIENT_ERRORS_H
#define CQV_ARRAYS_CLIENT_ERRORS_H

#include "cqv/arrays/string.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/export.h"

// An error with an integer code.
class CQV_API qvError : public qvExceptionWithMessage {
public:
    // Code code (-1 when not given) and the message s, cut to 511
    // characters.
    qvError(int code, const char* s);
    explicit qvError(const char* s);
    // The same with the C text of s.
    qvError(int code, qvString s);
    explicit qvError(qvString s);
    // Copies e's code (the message buffer is shared, not copied).
    CQV_INLINE qvError(const qvError& e) : qvExceptionWithMessage(e), code(e.code) {}
    // Takes e's code; the message buffer is shared, not copied.
    CQV_INLINE qvError& operator=(const qvError& e) {
        code = e.code;
        return *this;
    }

    // The error's code.
    CQV_INLINE int GetCode() const { return code; }

private:
    int code;
};

// An error with two codes and a name.
class CQV_API qvTrovError : public qvExceptionWithMessage {
public:
    // First code -1, second code c, a private copy of name, and the message
    // text.
    qvTrovError(int c, qvString name, qvString text);
    // First code c1, second code c2, a private copy of name, and the message
    // text.
    qvTrovError(int c1, int c2, qvString name, qvString text);
    // Both codes and a private copy of e's name.
    qvTrovError(const qvTrovError& e);
    // Both codes; the name by the array assignment rule.
    qvTrovError& operator=(const qvTrovError& e);
    // Releases the name.
    ~qvTrovError();

    // The first code (-1 when only one was given).
    CQV_INLINE int GetFirstCode() const { return code1; }
    // The second code.
    CQV_INLINE int GetSecondCode() const { return code2; }
    // The name given at construction.
    CQV_INLINE const qvString& GetName() const { return name; }

private:
    int code1;
    int code2;
    qvString name;
};

// The error a client throws for a function its build lacks, carrying the
// function's name.
class CQV_API qvErr_NoImplemented : public qvExceptionWithMessage {
public:
    // Message "Function <f> don't implemented" and a private copy of f.
    explicit qvErr_NoImplemented(qvString f);
    // A private copy of e's name.
    qvErr_NoImplemented(const qvErr_NoImplemented& e);
    // The name by the array assignment rule.
    qvErr_NoImplemented& operator=(const qvErr_NoImplemented& e);
    // Releases the name.
    ~qvErr_NoImplemented();

    // The function's name.
    CQV_INLINE const qvString& GetName() const { return name; }

private:
    qvString name;
};

#endif  // CQV_ARRAYS_CLIENT_ERRORS_H
