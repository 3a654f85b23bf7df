// qvLUDecomposition<E>: the LU factorisation with partial pivoting of a
// square matrix, and the solutions, inverse, determinant and condition
// estimate it gives: the accurate companion of qvMatrix's Det, Inverse and
// SolveEquationGaussMethod.
//
// An addition beyond the classic cqv interface, with no counterpart among
// the original classes.
//
// The factorisation is P·A = L·U, L unit lower triangular, U upper
// triangular, P the row exchanges. Each column's pivot is the element of
// largest magnitude on or below the diagonal (the first of equals; |re| +
// |im| for complex elements), rows are exchanged whole and never rescaled,
// the multipliers are the column's elements divided by the pivot, and the
// substitutions divide by the pivots. This is backward stable: the computed
// solution of A·x = b solves (A + ΔA)·x = b with ||ΔA|| a modest multiple of
// n·ε·||A||, ε = 2^-53, whatever the scaling of A's rows and columns. How
// accurate x is then depends on the condition of A, which RCond estimates.
// The order of floating-point operations is not part of the interface: the
// factorisation is blocked, and for double it runs on vectorised kernels.
//
// The classic solvers of qvMatrix keep their own elimination, which rescales
// every row it updates; qvMatrix's header says where that loses accuracy.
//
// A matrix of order 0 is allowed: its determinant is 1, its inverse empty,
// its reciprocal condition number 1.
//
// Allocation failure throws qvErrNoMemory.
//
// Instances exist for double and qvComplex.
#ifndef CQV_LINALG_LU_DECOMPOSITION_H
#define CQV_LINALG_LU_DECOMPOSITION_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"

template <class E>
class qvLUDecomposition {
public:
    // The factorisation of the matrix of order 0.
    qvLUDecomposition();
    // Factorises a private copy of a; a is not changed. A singular matrix is
    // factorised too (see IsSingular). Throws BadParameters
    // "qvLUDecomposition: matrix must be square" when a is not square.
    explicit qvLUDecomposition(const qvMatrix<E>& a);
    // Copies share the factors, which nothing changes once they are made.
    qvLUDecomposition(const qvLUDecomposition& f);
    qvLUDecomposition& operator=(const qvLUDecomposition& f);
    ~qvLUDecomposition();

    // Factorises a anew, as the constructor does. Throws as the
    // constructor, before anything changes.
    void Set(const qvMatrix<E>& a);

    // The order n of the factorised matrix.
    int Order() const { return n; }
    // True when a pivot is exactly zero: the matrix is singular to working
    // precision, its determinant is 0 and the solvers refuse it. A matrix
    // that is merely ill-conditioned is not singular; see RCond.
    bool IsSingular() const { return singular; }

    // x becomes the solution of A·x = b; b is not changed, and x may be b or
    // share its storage. x is brought to length n (a vector of that length
    // is written through). Throws BadParameters
    // "qvLUDecomposition: right-hand side length differs from the order"
    // when b's length is not n, and
    // "qvLUDecomposition: matrix is singular to working precision" when
    // IsSingular() is true or when a finite A and b give a solution that is
    // not finite (it lies beyond the range of double); both before x
    // changes.
    void Solve(qvColumnVector<E>& x, const qvColumnVector<E>& b) const;
    // X becomes the solution of A·X = B, column by column; as the vector
    // form, with B's number of rows in place of b's length (B without
    // columns empties X). X gets B's size.
    void Solve(qvMatrix<E>& X, const qvMatrix<E>& B) const;
    // A⁻¹ as a new n × n matrix. Throws BadParameters
    // "qvLUDecomposition: matrix is singular to working precision" as
    // Solve does.
    qvMatrix<E> Inverse() const;

    // The determinant: the product of U's diagonal with the sign of P,
    // carried as a mantissa and a separate binary exponent, so that it is
    // infinite or 0 only when its magnitude lies beyond the range of double.
    // Exactly 0 when IsSingular().
    E Det() const;
    // The determinant's sign, -1, 0 or 1 (for complex elements its phase,
    // of modulus 1, or 0), and the natural logarithm of its magnitude
    // (-infinity when singular): together they give determinants far beyond
    // the range of double.
    E DetSign() const;
    double LogAbsDet() const;

    // An estimate of the reciprocal condition number 1 / (||A||₁·||A⁻¹||₁):
    // ||A⁻¹||₁ is estimated from a few solutions with A and its (conjugate)
    // transpose by Higham's method, as LAPACK's xGECON does. The estimate
    // of ||A⁻¹||₁ is a lower bound (up to the rounding errors of the
    // solutions it takes), in practice within a factor 3 of it, so RCond is
    // at least the true reciprocal and rarely above three times it.
    // Some log10(1 / RCond()) of the 16 significant digits of a double are
    // lost in a solution. 0 when IsSingular() or when A or its inverse's
    // estimate are not finite; 1 for order 0. Estimated on the first call
    // (about ten solutions' worth of work) and kept.
    double RCond() const;
    // ||A||₁, the largest column sum of magnitudes of the factorised matrix.
    double Norm1() const { return norm1; }

    // The factors as new n × n matrices: L with ones on its diagonal and
    // zeros above it, U with zeros below its diagonal.
    qvMatrix<E> GetL() const;
    qvMatrix<E> GetU() const;
    // The row exchanged with row k at step k of the elimination, k ≤
    // Pivot(k) < n: exchanging rows k and Pivot(k) of A for k = 0, 1, ...
    // in turn gives P·A. Not checked: 0 ≤ k < n.
    int Pivot(int k) const { return piv[k]; }

private:
    // Replaces x (n elements, contiguous) by A⁻¹·x or by A⁻ᴴ·x.
    void SolveInPlace(E* x) const;
    void SolveAdjointInPlace(E* x) const;
    // Solves for the rows of a contiguous n-row block in place (columns
    // cols, rows cols apart); used by the matrix forms.
    void SolveRowsInPlace(E* b, int cols) const;
    // Throws the singular text when IsSingular().
    void RequireRegular() const;

    qvMatrix<E> lu;              // L below the diagonal, U on and above it
    qvSimpleArray<int> piv;      // the exchanges, one per step
    int n;
    bool singular;
    bool finite;                 // every element of A was finite
    double norm1;
    mutable double rcond;        // negative until estimated
};

#define CQV_FOR_EACH_LU_TYPE(X) X(double) X(qvComplex)
#define CQV_DECLARE_LU(T) CQV_EXTERN_TEMPLATE(qvLUDecomposition<T>)
CQV_FOR_EACH_LU_TYPE(CQV_DECLARE_LU)
#undef CQV_DECLARE_LU

#endif  // CQV_LINALG_LU_DECOMPOSITION_H
