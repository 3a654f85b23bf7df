// Fast paths of the dense matrix for double elements; library-private.
//
// Each routine computes exactly what the generic element-by-element loops of
// the matrix compute, with the same floating-point operations in the same
// order for every result element; only the order in which independent
// result elements are visited differs (tiles held in vector registers,
// packed operands, blocked elimination). The library is compiled without
// floating-point contraction, so a product followed by a sum stays two
// rounded operations.
#ifndef CQV_LINALG_DENSE_KERNELS_INTERNAL_H
#define CQV_LINALG_DENSE_KERNELS_INTERNAL_H

namespace qvDetail {

// c (m × n, row-major, contiguous) = a (m × k) · b (k × n), where a(i, l)
// is a[i·aRow + l·aCol] and b(l, j) is b[l·bRow + j·bCol]. Element (i, j)
// is a(i, 0)·b(0, j) followed by + a(i, l)·b(l, j) for l = 1 up. k ≥ 1.
void MatMulDouble(const double* a, int aRow, int aCol, const double* b, int bRow, int bCol, double* c, int m,
                  int n, int k);

// Row-pointer elimination of n rows of m contiguous columns (n ≤ m), with
// an optional companion of one element per row (comp, may be null) and an
// optional determinant record (det: running product of the pivots and row
// factors; swaps: number of row exchanges). Returns the number of completed
// steps (n unless a zero pivot stopped it).
//
// This is the fast path of the generic Gauss elimination EliminateRows
// (cqv/linalg/matrix_impl.h), which hands it double rows with contiguous
// columns; it must stay bit-identical to the generic one, pivots, row
// exchanges, companion and determinant included. The test
// Solvers.AgreeWithTheReferenceBitForBit (tests/linalg/solver_test.cpp)
// proves it: it runs every solver on contiguous storage (this path) and on a
// transposed window (the generic path) against one reference elimination.
int EliminateDouble(double** rows, int n, int m, double** comp, double* det, int* swaps);

// Back substitution of the inverse after EliminateDouble on n augmented
// rows of 2n columns (the matrix, then the unit matrix), every pivot
// non-zero: writes the inverse into r (n × n, row-major, contiguous). The
// fast path of the generic back substitution in qvMatrix<E>::Inverse1, with
// the same operations per element; the same test compares its inverses with
// the reference's bit for bit.
void InverseBackDouble(double* const* rows, int n, double* r);

}  // namespace qvDetail

#endif  // CQV_LINALG_DENSE_KERNELS_INTERNAL_H
