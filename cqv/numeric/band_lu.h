// qvBandLUDecomposition<E>: the LU factorisation with partial pivoting of
// the banded systems of the tridiagonal matrix (tridiagonal, pentadiagonal,
// and their cyclic forms with corner elements), and the solutions,
// determinant and condition estimate it gives: the accurate companion of
// qvMatrix3Diag's sweep and elimination solvers.
//
// An addition beyond the classic cqv interface, with no counterpart among
// the original classes.
//
// The classic solvers of qvMatrix3Diag never pivot, so a zero or tiny pivot
// turns into infinities, NaNs or lost digits even when the system is well
// conditioned (the cyclic sweep returns NaN for the cyclic matrix
// ((0, 1, 1), (1, 2, 1), (1, 1, 2)), whose solution for (1, 2, 3) is
// (1, 0, 1)); qvMatrix3Diag's header says where. This factorisation is
// Gaussian elimination with partial pivoting on the band: each step's pivot
// is the element of largest magnitude among the rows the band lets reach
// the pivot column (the first of equals), rows are exchanged, never
// rescaled, and the substitutions divide by the pivots. Row exchanges widen
// U's band by the lower bandwidth, so the work and storage stay linear in n.
// A cyclic system is first renumbered 0, n-1, 1, n-2, 2, ..., which turns
// its corners into a band twice as wide (the same renumbering of rows and
// columns, so the determinant is unchanged). Like the dense LU it is
// backward stable for any scaling of the rows and columns.
//
// A factorisation of order 0 (the default one) solves vectors of length 0.
//
// Allocation failure throws qvErrNoMemory.
//
// The only instance is qvBandLUDecomposition<double>.
#ifndef CQV_NUMERIC_BAND_LU_H
#define CQV_NUMERIC_BAND_LU_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"
#include "cqv/numeric/tridiagonal.h"

template <class E>
class qvBandLUDecomposition {
public:
    // The factorisation of the matrix of order 0.
    qvBandLUDecomposition();
    // The tridiagonal matrix a, of any order n ≥ 1 (a copy is factorised; a
    // is not changed). Throws BadParameters
    // "qvBandLUDecomposition: diagonals of inconsistent lengths" when Up or
    // Down does not have n - 1 elements.
    explicit qvBandLUDecomposition(const qvMatrix3Diag<E>& a);
    // The cyclic tridiagonal matrix: a with the corner elements
    // (0, n-1) = corner0 and (n-1, 0) = corner1, as in
    // qvMatrix3Diag::SolveEquationCycleChaserMethod. Throws as the
    // tridiagonal form, and BadParameters
    // "qvBandLUDecomposition: order too small for the corner elements" when
    // n is below 3.
    qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const E& corner0, const E& corner1);
    // The pentadiagonal matrix: a with the second superdiagonal e
    // ((i, i+2) = e[i]) and second subdiagonal g ((i+2, i) = g[i]), as in
    // qvMatrix3Diag::SolveEquationFactorizeMethod; e and g need at least
    // n - 2 elements (more are ignored). Throws as the tridiagonal form, also
    // when e or g is too short.
    qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const qvVector<E>& e, const qvVector<E>& g);
    // The cyclic pentadiagonal matrix: the pentadiagonal one with the
    // corners (0, n-1) = c1, (n-1, 0) = c2, (0, n-2) = c3, (1, n-1) = c4,
    // (n-2, 0) = c5 and (n-1, 1) = c6, as in
    // qvMatrix3Diag::SolveEquationCycleFactorizeMethod. Throws as the
    // pentadiagonal form, and
    // "qvBandLUDecomposition: order too small for the corner elements" when
    // n is below 5.
    qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const qvVector<E>& e, const qvVector<E>& g, const E& c1,
                          const E& c2, const E& c3, const E& c4, const E& c5, const E& c6);

    // The order n.
    int Order() const { return n; }
    // True when a pivot is exactly zero: the matrix is singular to working
    // precision, its determinant is 0 and Solve refuses it. A matrix that
    // is merely ill-conditioned is not singular; see RCond.
    bool IsSingular() const { return singular; }

    // x becomes the solution of A·x = f; f is not changed, and x may be f or
    // share its storage. x is brought to length n (a vector of that length
    // is written through). Throws BadParameters
    // "qvBandLUDecomposition: right-hand side length differs from the order"
    // when f's length is not n, and
    // "qvBandLUDecomposition: matrix is singular to working precision" when
    // IsSingular() is true or when a finite A and f give a solution that is
    // not finite; both before x changes.
    void Solve(qvColumnVector<E>& x, const qvColumnVector<E>& f) const;
    // X becomes the solution of A·X = F, column by column; as the vector
    // form, with F's number of rows in place of f's length (F without
    // columns empties X). X gets F's size.
    void Solve(qvMatrix<E>& X, const qvMatrix<E>& F) const;

    // The determinant, carried as a mantissa and a separate binary exponent
    // so that it is infinite or 0 only when its magnitude lies beyond the
    // range of double; exactly 0 when IsSingular(). Its sign (-1, 0 or 1)
    // and the natural logarithm of its magnitude (-infinity when singular)
    // give determinants beyond that range.
    E Det() const;
    E DetSign() const;
    double LogAbsDet() const;

    // An estimate of the reciprocal condition number 1 / (||A||₁·||A⁻¹||₁),
    // by the method of qvLUDecomposition::RCond (at least the true value,
    // rarely above three times it); 0 when IsSingular() or when A or the
    // estimate are not finite, 1 for order 0. Estimated on the first call and
    // kept.
    double RCond() const;
    // ||A||₁, the largest column sum of magnitudes of the factorised matrix.
    double Norm1() const { return norm1; }

private:
    // Factorises the band matrix of order order with bandwidth diagonals
    // below and as many above the main one, whose elements put(place) hands
    // to place(i, j, value); renumber interleaves the rows and columns first.
    template <class Fill>
    void Factorise(int order, int bandwidth, bool renumber, Fill put);
    // The position of row (and column) i after the renumbering.
    int Position(int i) const;
    // Replace y (n elements, in renumbered order) by A⁻¹·y or A⁻ᴴ·y.
    void SolveInPlace(E* y) const;
    void SolveAdjointInPlace(E* y) const;

    qvSimpleArray<E> band;   // row i: (i, i - kl) to (i, i + 2·kl); U's rows divided by their pivots
    qvSimpleArray<E> mult;   // row k: the kl multipliers of step k
    qvSimpleArray<int> piv;  // the row exchanged with row k at step k
    int n;
    int kl;  // the bandwidth below the diagonal, and above it before exchanges
    bool cyclic;
    bool singular;
    bool finite;  // every element of A was finite
    double norm1;
    mutable double rcond;  // negative until estimated
};

#define CQV_FOR_EACH_BAND_LU_TYPE(X) X(double)
#define CQV_DECLARE_BAND_LU(T) CQV_EXTERN_TEMPLATE(qvBandLUDecomposition<T>)
CQV_FOR_EACH_BAND_LU_TYPE(CQV_DECLARE_BAND_LU)
#undef CQV_DECLARE_BAND_LU

#endif  // CQV_NUMERIC_BAND_LU_H
