#include "cqv/arrays/client_errors.h"

#include "cqv/arrays/messages.h"

// Each constructor empties the buffer before it copies s in, so a text that
// is the buffer itself leaves it empty.
qvError::qvError(int c, const char* s) : qvExceptionWithMessage(), code(c) { Set(s); }

qvError::qvError(const char* s) : qvError(-1, s) {}

qvError::qvError(int c, qvString s) : qvExceptionWithMessage(), code(c) { Set(s.GetCString()); }

qvError::qvError(qvString s) : qvError(-1, s) {}

qvTrovError::qvTrovError(int c, qvString n, qvString text)
    : qvExceptionWithMessage(text.GetCString()), code1(-1), code2(c), name(n) {}

qvTrovError::qvTrovError(int c1, int c2, qvString n, qvString text)
    : qvExceptionWithMessage(text.GetCString()), code1(c1), code2(c2), name(n) {}

qvTrovError::qvTrovError(const qvTrovError& e)
    : qvExceptionWithMessage(e), code1(e.code1), code2(e.code2), name(e.name) {}

qvTrovError& qvTrovError::operator=(const qvTrovError& e) {
    code1 = e.code1;
    code2 = e.code2;
    name = e.name;
    return *this;
}

qvTrovError::~qvTrovError() = default;

qvErr_NoImplemented::qvErr_NoImplemented(qvString f)
    : qvExceptionWithMessage(
          (qvString(qvMsg::NoImplementedPrefix) + f + qvString(qvMsg::NoImplementedSuffix)).GetCString()),
      name(f) {}

qvErr_NoImplemented::qvErr_NoImplemented(const qvErr_NoImplemented& e) : qvExceptionWithMessage(e), name(e.name) {}

qvErr_NoImplemented& qvErr_NoImplemented::operator=(const qvErr_NoImplemented& e) {
    name = e.name;
    return *this;
}

qvErr_NoImplemented::~qvErr_NoImplemented() = default;
