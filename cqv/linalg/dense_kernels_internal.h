// Fast kernels of the dense matrices for double elements; library-private.
//
// The product, the elimination and the inverse's back substitution are fast
// paths of the matrix's generic element-by-element loops and compute exactly
// what those compute, with the same floating-point operations in the same
// order for every result element; only the order in which independent
// result elements are visited differs (tiles held in vector registers,
// packed operands, blocked elimination). The update and the dot product at
// the end serve the accurate LU, whose order of operations is its own. The
// library is compiled without floating-point contraction, so a product
// followed by a sum stays two rounded operations.
#ifndef CQV_LINALG_DENSE_KERNELS_INTERNAL_H
#define CQV_LINALG_DENSE_KERNELS_INTERNAL_H

namespace qvDetail {

// c (m × n, row-major, contiguous) = a (m × k) · b (k × n), where a(i, l)
// is a[i·aRow + l·aCol] and b(l, j) is b[l·bRow + j·bCol]. Element (i, j)
// is a(i, 0)·b(0, j) followed by + a(i, l)·b(l, j) for l = 1 up. k ≥ 1.
void MatMulDouble(const double* a, int aRow, int aCol, const double* b, int bRow, int bCol, double* c, int m,
                  int n, int k);

// The update of the accurate LU (cqv/linalg/lu_decomposition_impl.h), whose
// order of operations is its own: c (m × n) −= a (m × k) · b (k × n), all
// three row by row with unit steps along a row and the given distances
// between rows. Each element of c has the products subtracted one by one in
// l order. Nothing happens when a size is 0.
void MatMulSubDouble(const double* a, int lda, const double* b, int ldb, double* c, int ldc, int m, int n, int k);

// The width of the accurate LU's panels, in columns.
constexpr int kLUPanelWidth = 8;

// Columns [c0, c0 + kLUPanelWidth) of the n × n row-major block a (rows ld
// apart), rows c0 and below, factorised with partial pivoting: the first
// element of largest magnitude in each column is the pivot, its row and the
// pivot row are exchanged whole (recorded in piv), and the elements below
// the pivot become multipliers (divided by the pivot) while the rest of the
// panel is updated. Columns left of c0 must be factorised and the panel
// updated by them. work holds n doubles. Returns whether a pivot was
// exactly zero.
bool LUPanelDouble(double* a, int ld, int n, int c0, int* piv, double* work);

// b (w × n, rows ldb apart) becomes L⁻¹·b for the unit lower triangle of l
// (w × w, rows ldl apart), w ≤ kLUPanelWidth: row i loses l(i, r)·row r for
// r = 0 up to i - 1 in order.
void LUSolveUnitLowerDouble(const double* l, int ldl, double* b, int ldb, int w, int n);

// x (n contiguous elements) becomes U⁻¹·L⁻¹·x for the factors of the
// accurate LU stored in f (n × n, rows ld apart: L's multipliers below the
// diagonal, U on and above it); the substitution divides by U's diagonal.
void LUSubstituteDouble(const double* f, int ld, int n, double* x);

// Σ a[i]·b[i] over n contiguous elements, in partial sums over vector
// lanes (so not in index order): the dot products of the accurate LU's
// substitutions.
double DotDouble(const double* a, const double* b, int n);

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
