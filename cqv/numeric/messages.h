// The texts the numerical methods give to their exceptions, one constant per
// check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
#ifndef CQV_NUMERIC_MESSAGES_H
#define CQV_NUMERIC_MESSAGES_H

#include "cqv/linalg/messages.h"

namespace qvMsg {
#include "cqv/numeric/messages.def"
}  // namespace qvMsg

#endif  // CQV_NUMERIC_MESSAGES_H
