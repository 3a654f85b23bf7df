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

namespace qvMsg {

// Texts of the exception classes themselves.
inline constexpr char NoMessage[] = "There is not message.";
inline constexpr char InvalidParameters[] = "Invalid parameters.";

// Counted blocks and the array base. The first is also the text of every
// container asked for a negative number of elements.
inline constexpr char NewWithRefNonPositive[] = "qvNewWithRef : n <= 0 ";
inline constexpr char IncMemRefNotCounted[] = "qvIncMemRef : memory must be allocated with qvNewWithRef.";
inline constexpr char DecMemRefNotCounted[] = "qvDecMemRef : memory must be allocated with qvNewWithRef.";
inline constexpr char DecMemRefLastReference[] = "qvDecMemRef : Number of reference <= 0.";
inline constexpr char CheckPointerInvalid[] = "CheckPointer : Invalid pointer or range.";
inline constexpr char NoMemSize[] = "Have not qvPArray::MemSize";
inline constexpr char NoToMem[] = "Have not qvPArray::ToMem";
inline constexpr char NoFromMem[] = "Have not qvPArray::FromMem";

}  // namespace qvMsg

#endif  // CQV_CORE_MESSAGES_H
