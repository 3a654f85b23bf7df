// The texts the N-dimensional arrays give to their exceptions, one constant
// per check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them. The texts the
// N-dimensional arrays share with the one-dimensional ones ("Different
// range", "Array length is zero.", "Out of range", the median's) stand with
// those.
#ifndef CQV_NDARRAY_MESSAGES_H
#define CQV_NDARRAY_MESSAGES_H

#include "cqv/arrays/messages.h"

namespace qvMsg {
#include "cqv/ndarray/messages.def"
}  // namespace qvMsg

#endif  // CQV_NDARRAY_MESSAGES_H
