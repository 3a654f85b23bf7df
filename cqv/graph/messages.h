// The texts the lists and the graph give to their exceptions, one constant per
// check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
#ifndef CQV_GRAPH_MESSAGES_H
#define CQV_GRAPH_MESSAGES_H

#include "cqv/core/messages.h"

namespace qvMsg {
#include "cqv/graph/messages.def"
}  // namespace qvMsg

#endif  // CQV_GRAPH_MESSAGES_H
