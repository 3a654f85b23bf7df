// The texts the library gives to its exceptions, one constant per check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
#ifndef CQV_CORE_MESSAGES_H
#define CQV_CORE_MESSAGES_H

namespace qvMsg {

// Texts of the exception classes themselves.
inline constexpr char NoMessage[] = "There is not message.";
inline constexpr char InvalidParameters[] = "Invalid parameters.";
// qvErr_NoImplemented reads "Function <name> don't implemented".
inline constexpr char NoImplementedPrefix[] = "Function ";
inline constexpr char NoImplementedSuffix[] = " don't implemented";

// Counted blocks and the array base.
inline constexpr char NewWithRefNonPositive[] = "qvNewWithRef : n <= 0 ";
inline constexpr char IncMemRefNotCounted[] = "qvIncMemRef : memory must be allocated with qvNewWithRef.";
inline constexpr char DecMemRefNotCounted[] = "qvDecMemRef : memory must be allocated with qvNewWithRef.";
inline constexpr char DecMemRefLastReference[] = "qvDecMemRef : Number of reference <= 0.";
inline constexpr char CheckPointerInvalid[] = "CheckPointer : Invalid pointer or range.";
inline constexpr char NoMemSize[] = "Have not qvPArray::MemSize";
inline constexpr char NoToMem[] = "Have not qvPArray::ToMem";
inline constexpr char NoFromMem[] = "Have not qvPArray::FromMem";

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

// N-dimensional arrays.
inline constexpr char DimensionAboveOne[] = "Must be dimension > 1";
inline constexpr char DimensionOutOfRange[] = "out of range of dimension";
inline constexpr char DifferentDimension[] = "Different dimension";
inline constexpr char ArrayNDRangeEmpty[] = "ArrayND range is empty.";
inline constexpr char MkTabFromRangeLengthZero[] = "qvArrayNDAbs:MkTabFromRange:Array length is zero.";
inline constexpr char GetLineDimensionTwo[] = "Dimension must equal 2 in GetLine.";
inline constexpr char RoundArrayNDOutOfRange[] = "qvRoundArrayND : Out of range.";

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

// Small value types.
inline constexpr char Matrix2x2FromMatrix[] =
    "qvMatrix2x2::qvMatrix2x2( const qvMatrix<double> & m ) : Matrix m != 2x2 ";
inline constexpr char Matrix2x2InverseDetZero[] = "qvMatrix2x2::Inverse : det = 0 ";
inline constexpr char Matrix3x3FromMatrix[] =
    "qvTMatrix3x3<TT>::qvTMatrix3x3<TT>( const qvMatrix<TT> & m ) : Matrix m != 3x3 ";
inline constexpr char Matrix3x3CopyIndex[] = "qvTMatrix3x3<TT>::Copy: n != {0,1,2}.";
inline constexpr char Vec2DimensionTwo[] = "qvVec2: Dim must be equal 2 ";

// Numerical methods.
inline constexpr char Matrix3DiagOutOfRange[] = "qvMatrix3Diag: out of range";
inline constexpr char Matrix3DiagSizeBelowThree[] = "invalid size : size < 3.";
inline constexpr char PolynomWrongKoefType[] = "qvPolynom : wrong KoefType";

// Geometry.
inline constexpr char TransformCoordDimensionTwo[] = "qvTransformCoord : must be dimention equal two.";
inline constexpr char TransformCoord2DDifferentNumber[] =
    "qvTransformCoord2D::MakeFromEquations: different number";
inline constexpr char Segment3DWrongDimension[] = "qvSegment3D::IntersectWithFacet: wrong dimension";
inline constexpr char ContourMakeCoherentLength[] =
    "qvSimpleContour2D::MakeCoherent: both length Must be equal.";
inline constexpr char ContourTooFewPoints[] = "Contour2D must have larger two of point.";

// Lists and the graph.
inline constexpr char ListQueueEmpty[] = "qvListQueue<T>::Get : Que is empty";
inline constexpr char NodeBranchIterOutOfRange[] = "qvNodeBranchIter: out of range";
inline constexpr char NBIterOutOfRange[] = "qvNBIter: out of range";

}  // namespace qvMsg

#endif  // CQV_CORE_MESSAGES_H
