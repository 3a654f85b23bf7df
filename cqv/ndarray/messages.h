// The texts the N-dimensional arrays give to their exceptions.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts the N-dimensional
// arrays share with the one-dimensional ones ("Different range", "Array
// length is zero.", "Out of range", the median's and the allocator's texts)
// stand with those.
#ifndef CQV_NDARRAY_MESSAGES_H
#define CQV_NDARRAY_MESSAGES_H

#include "cqv/arrays/messages.h"

namespace qvMsg {

inline constexpr char DimensionAboveOne[] = "Must be dimension > 1";
inline constexpr char DimensionOutOfRange[] = "out of range of dimension";
inline constexpr char DifferentDimension[] = "Different dimension";
inline constexpr char ArrayNDRangeEmpty[] = "ArrayND range is empty.";
inline constexpr char MkTabFromRangeLengthZero[] = "qvArrayNDAbs:MkTabFromRange:Array length is zero.";
inline constexpr char GetLineDimensionTwo[] = "Dimension must equal 2 in GetLine.";
inline constexpr char RoundArrayNDOutOfRange[] = "qvRoundArrayND : Out of range.";

}  // namespace qvMsg

#endif  // CQV_NDARRAY_MESSAGES_H
