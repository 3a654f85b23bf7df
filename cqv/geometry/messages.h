// The texts of the exceptions the geometry classes throw.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings included, because
// client code compares against them. Texts of the lower folders that
// geometry also throws (the plane vector's conversion, the vectors' length
// check) stay with those folders.
#ifndef CQV_GEOMETRY_MESSAGES_H
#define CQV_GEOMETRY_MESSAGES_H

#include "cqv/linalg/messages.h"

namespace qvMsg {
#include "cqv/geometry/messages.def"
}  // namespace qvMsg

#endif  // CQV_GEOMETRY_MESSAGES_H
