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

// Vectors and matrices.
inline constexpr char DifferentLength[] = "different length.";
inline constexpr char VectorLeftOutOfRange[] = "qvVector<T>::Left: Out of Range";
inline constexpr char VectorRightOutOfRange[] = "qvVector<T>::Right: Out of Range";
inline constexpr char VectorMidOutOfRange[] = "qvVector<T>::Mid: Out of Range";
inline constexpr char DifferentSize[] = "different size.";
inline constexpr char DetNotSquare[] = "Det: Matrix must be square.";
inline constexpr char MatrixNotSquare[] = "Matrix must be square.";
// The two texts of the linear solvers are Russian, kept in the Windows-1251
// single-byte encoding byte for byte: "the system is inconsistent" and "the
// system has no unique solution".
inline constexpr char SystemNotCompatible[] =
    "\xD1\xE8\xF1\xF2\xE5\xEC\xE0 \xED\xE5 \xF1\xEE\xE2\xEC\xE5\xF1\xF2\xED\xE0.";
inline constexpr char SystemNotUnique[] =
    "\xD1\xE8\xF1\xF2\xE5\xEC\xE0 \xE8\xEC\xE5\xE5\xF2 \xED\xE5 "
    "\xE5\xE4\xE8\xED\xF1\xF2\xE2\xE5\xED\xED\xEE\xE5 \xF0\xE5\xF8\xE5\xED\xE8\xE5.";

// The small value types' conversions from the general vector and matrix.
inline constexpr char Matrix2x2FromMatrix[] =
    "qvMatrix2x2::qvMatrix2x2( const qvMatrix<double> & m ) : Matrix m != 2x2 ";
inline constexpr char Matrix3x3FromMatrix[] =
    "qvTMatrix3x3<TT>::qvTMatrix3x3<TT>( const qvMatrix<TT> & m ) : Matrix m != 3x3 ";
inline constexpr char Vec2DimensionTwo[] = "qvVec2: Dim must be equal 2 ";

}  // namespace qvMsg

#endif  // CQV_LINALG_MESSAGES_H
