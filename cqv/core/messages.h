// The texts the allocator, the counted blocks and the array base give to their
// exceptions, one constant per check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
//
// Every folder of the library keeps the texts it throws in a messages.h of
// its own, in namespace qvMsg; a text two folders throw stands in the lower
// of the two.
#ifndef CQV_CORE_MESSAGES_H
#define CQV_CORE_MESSAGES_H

// Each folder's table, messages.def, lists its texts as
// CQV_MESSAGE(name, text); its messages.h reads the table inside namespace
// qvMsg, which makes every entry the constant qvMsg::name.
#define CQV_MESSAGE(name, text) inline constexpr char name[] = text;

namespace qvMsg {
#include "cqv/core/messages.def"
}  // namespace qvMsg

#endif  // CQV_CORE_MESSAGES_H
