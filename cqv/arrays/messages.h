// The texts the one-dimensional arrays, the string and the client error
// classes give to their exceptions, one constant per check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
//
// "Out of range", "Different range", "Array length is zero." and the
// median's text are also thrown by the containers above the arrays.
#ifndef CQV_ARRAYS_MESSAGES_H
#define CQV_ARRAYS_MESSAGES_H

#include "cqv/core/messages.h"

namespace qvMsg {
#include "cqv/arrays/messages.def"
}  // namespace qvMsg

#endif  // CQV_ARRAYS_MESSAGES_H
