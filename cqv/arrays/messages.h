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

// qvErr_NoImplemented reads "Function <name> don't implemented".
inline constexpr char NoImplementedPrefix[] = "Function ";
inline constexpr char NoImplementedSuffix[] = " don't implemented";

// One-dimensional arrays and strings.
inline constexpr char SimpleArraySetOutOfRange[] = "qvSimpleArray<T>::Set : out of range.";
inline constexpr char SimpleArrayLeftOutOfRange[] = "qvSimpleArray<T>::Left: Out of Range";
inline constexpr char SimpleArrayRightOutOfRange[] = "qvSimpleArray<T>::Right: Out of Range";
inline constexpr char SimpleArrayMidOutOfRange[] = "qvSimpleArray<T>::Mid: Out of Range";
inline constexpr char OutOfRange[] = "Out of range";
inline constexpr char DifferentRange[] = "Different range";
inline constexpr char ArrayLengthZero[] = "Array length is zero.";
inline constexpr char MedianLengthZero[] = "Lenght of array is equl zero.";
inline constexpr char SimpleArray2DGetLineOutOfRange[] = "qvSimpleArray2D<T>::GetLine : out of range ";
inline constexpr char StringFindStrNegative[] = "qvString::Find:str: k < 0 ";
inline constexpr char StringFindCharNegative[] = "qvString::Find:char: k < 0 ";
inline constexpr char StringGetTokenNegative[] = "qvString::GetToken: pos < 0";
inline constexpr char StringExpectedQuote[] = "syntax error : expected '\"'";
inline constexpr char StringGetTokenInnerError[] = "qvString::GetToken: inner error";

}  // namespace qvMsg

#endif  // CQV_ARRAYS_MESSAGES_H
