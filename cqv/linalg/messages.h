// The texts the vectors and matrices give to their exceptions, one constant
// per check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
//
// "different length." and "different size." are also thrown by the
// numerical methods built on them.
#ifndef CQV_LINALG_MESSAGES_H
#define CQV_LINALG_MESSAGES_H

#include "cqv/arrays/messages.h"

namespace qvMsg {
#include "cqv/linalg/messages.def"
}  // namespace qvMsg

#endif  // CQV_LINALG_MESSAGES_H
