// qvSpline<E>: a piecewise polynomial function y(x) through points with
// increasing abscissae x_0 < x_1 < … < x_{n-1}.
//
// The spline keeps one polynomial per interval [x_i, x_{i+1}] (n - 1 of them,
// each centred on x_i) and the n points (x_i, y_i). Constructing it from
// points computes nothing; one of three builders then fills the
// polynomials:
//   MkSpline3      the cubic spline with two boundary conditions chosen among
//                  the slopes and the curvatures at the two ends, through the
//                  tridiagonal sweep, followed by a self-test;
//   MkPeriodSpline3 the periodic cubic spline, through the cyclic sweep;
//   Make           a spline of any degree d with d - 1 boundary conditions,
//                  through the dense Gauss solver.
// The evaluators locate x among the knots and evaluate the value or any
// derivative of the polynomial of its interval.
//
// Which interval holds x: the first j with x < x_j gives the interval j - 1,
// so an inner knot belongs to the interval on its right and the last knot
// to the last interval. Since the knots increase, that interval is the last
// one whose left knot is not above x, and the search goes straight to it:
// the spline keeps, beside its points, n - 1 buckets of equal width between
// x_0 and x_{n-1} with the interval where each starts, takes the bucket of
// x and finishes from there by doubling steps and bisection. That takes
// constant time while the knots' gaps stay within a small factor of each
// other (the spline curve's even knots among them) and never more than a
// logarithmic number of steps. A caller who walks along x can also pass
// the interval found last to GetSegmentNum(x, near) and evaluate that
// polynomial with operator()(x, seg). The knots are not checked; for knots
// that do not increase the answer is outside the contract.
//
// Tolerances are absolute, nothing looks for singular systems (infinities
// and NaNs end up in the coefficients), and an x that is NaN lies in the
// last interval, as the first-j rule has it.
//
// A copy duplicates the points and the polynomials: it shares nothing with
// its source. The only instance is qvSpline<double>.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_SPLINES_SPLINE_H
#define CQV_SPLINES_SPLINE_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/geometry/contour.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"
#include "cqv/numeric/polynom.h"

// A piecewise polynomial function y(x) through points with increasing
// abscissae: one polynomial per interval.
template <class E>
class qvSpline {
public:
    // No points and no polynomials.
    qvSpline();
    // The points p[i], whose elements 0 and 1 are x_i and y_i, with n - 1
    // polynomials that have no coefficients yet (they evaluate to 0).
    // Throws BadParameters "qvNewWithRef : n <= 0 " for fewer than 2 points
    // and "Spline: number of point must be >= 3" for 2.
    explicit qvSpline(const qvSimpleArray<qvColumnVector<E>>& p);
    // A copy in storage of its own.
    qvSpline(const qvSpline& s);
    // Becomes a copy of s in storage of its own.
    qvSpline& operator=(const qvSpline& s);
    // Releases the points and the polynomials.
    ~qvSpline();
    // Exchanges the points and polynomials of the two splines.
    void swap(qvSpline& s);

    // Takes the curve's points as the spline's points, x and y of each, with
    // n - 1 polynomials that have no coefficients yet. Throws BadParameters
    // "Spline: number of point must be >= 3" for a curve of fewer than 3
    // points, leaving the spline as it was.
    void Set(const qvCurve2D& c);

    // The cubic spline by the moments method: the second derivatives M_i at
    // the points solve a tridiagonal system whose inner rows are
    //   μ_i·M_{i-1} + 2·M_i + λ_i·M_{i+1} = d_i,
    // λ_i = h_i/(h_{i-1} + h_i), μ_i = 1 - λ_i, h_i = x_{i+1} - x_i. The two
    // end rows come from the boundary conditions: code[k] holds bits for the
    // derivative of order k + 1 (bit 1 the left end, bit 2 the right end)
    // and value(k, 0), value(k, 1) the prescribed derivative at x_0 and
    // x_{n-1}. Exactly two conditions must be set: code {3, 0} clamps both
    // slopes, {0, 3} prescribes both curvatures (the natural spline with
    // zeros), {1, 2} and {2, 1} mix them. The curvature conditions are
    // applied after the slope ones, so on one end they win. Two conditions
    // on one end leave the other end's row as 2·M = 0.
    // Every polynomial then holds four power coefficients around x_i, and a
    // self-test checks the values at both ends of every interval and the
    // first and second derivatives on both sides of every inner knot within
    // 0.01 (absolute; NaN differences pass).
    // Throws BadParameters "Spline: number of point must be >= 3" for a
    // spline without points, "Invalid number of bound condition." unless
    // code has two entries that set exactly two conditions, "different
    // size." when value lacks a row or column a condition reads (all before
    // any change), and "error in spline" when the self-test fails (the
    // polynomials then hold the failed spline).
    void MkSpline3(const qvSimpleArray<int>& code, const qvMatrix<E>& value);

    // The periodic cubic spline: the last point closes the period, its
    // value standing for the one at x_0 again (pass y_{n-1} = y_0 for a
    // continuous curve), and the slope and curvature at x_{n-1} equal those
    // at x_0. The cyclic tridiagonal system of the n - 1 moments is solved as
    // qvMatrix3Diag's cyclic sweep solves it, step for step. No self-test.
    // Throws BadParameters "different size." for fewer than 4 points.
    void MkPeriodSpline3();

    // The spline of degree d ≥ 1 with d - 1 boundary conditions, one per
    // derivative order m = k + 1 (k = 0 .. d - 2), by code[k]:
    //   0  f^(m)(x_0) is free;
    //   1  f^(m)(x_0) = value(k, 0);
    //   2  f^(m)(x_{n-1}) = value(k, 1);
    //   3  both of these;
    //   4  periodic: f^(m)(x_{n-1}) = f^(m)(x_0).
    // Codes 1, 2 and 4 count one condition, 3 two and 0 none; they must add
    // up to d - 1, so there are as many codes 0 as codes 3. The unknowns are
    // the constant d-th derivative on every interval and one value for each
    // code 0 or 4; every lower derivative at every knot is carried across
    // the intervals as a linear form of them by Taylor's formula (from the
    // left end, or from the right end for code 2), and one dense system
    // makes every interval rise by y_{i+1} - y_i and the codes 3 and 4 hold
    // at the right end. The extra unknowns and rows are numbered in the
    // order the forms are built, the highest derivative first. It is solved
    // by qvMatrix<E>::SolveEquationGaussMethod, so the work grows with the
    // cube of the number of intervals, and every polynomial then holds the
    // d + 1 derivatives at x_i in Taylor form.
    // How far this holds: the Gauss solver divides each row by its leading
    // element at every step and has no tolerance, so rows that should cancel
    // leave rounding noise that it may take as a pivot. The result then goes
    // wrong erratically (errors of 1e-3, or the solver's message for a
    // singular system) although the system is well posed, and more often
    // the more intervals there are. Measured on knots spread at random over
    // [0, 1] with polynomial data of size 1, the error stays below 1e-10 up
    // to: 5 intervals for cubic splines (10 with both conditions on the
    // right end), 4 for quadratic ones with the left slope given (any number
    // with the right one), 9 for quartic and quintic ones with conditions
    // on both ends, 4 for quintic ones with all conditions on one end (whose
    // error grows with every interval whatever the solver), and 5 for degree
    // 7. MkSpline3 and MkPeriodSpline3 build cubic splines of any size.
    // Throws BadParameters "Spline: number of point must be >= 3" for a
    // spline without points, "Invalid number of bound condition." when code
    // has fewer than d - 1 entries, a code outside 0 .. 4 or a count other
    // than d - 1, "different size." when value has fewer than d - 1 rows or
    // fewer than 2 columns, and the Gauss solver's
    // "Система имеет не единственное решение." (Windows-1251) for a singular
    // system; the spline is unchanged after any of them.
    void Make(int d, const qvSimpleArray<int>& code, const qvMatrix<E>& value);

    // The index of the interval that holds x (see the class comment).
    // Throws BadParameters "qvSpline: Out of range." when x lies outside
    // [x_0, x_{n-1}] or the spline has fewer than 2 points.
    int GetSegmentNum(const E& x) const;
    // The same interval, searched from interval near outwards (any near is
    // taken, clamped to the intervals): constant time when x lies in or next
    // to it, as when x walks through the spline in small steps, and
    // logarithmic in the distance otherwise. Throws as GetSegmentNum.
    int GetSegmentNum(const E& x, int near) const;
    // y(x), and its k-th derivative (0 for k above the degree; a negative k
    // counts as 0), on the interval that holds x. Throws as GetSegmentNum.
    E operator()(const E& x) const;
    E Derivative(const E& x, int k) const;
    // The polynomial of interval seg, or its k-th derivative, at any x.
    // Throws BadParameters "qvSpline: Out of range." unless
    // 0 ≤ seg < GetNumberOfPoint() - 1.
    E operator()(const E& x, int seg) const;
    E Derivative(const E& x, int k, int seg) const;
    // The k-th derivative at point i, on interval i (the last interval for
    // the last point). Throws BadParameters "qvSpline: Out of range." unless
    // 0 ≤ i < GetNumberOfPoint().
    E Derivative(int k, int i) const;

    // 1 when the polynomials pass MkSpline3's self-test (the values at both
    // ends of every interval, and the derivatives of orders 1 up to the
    // number of coefficients - 2 on both sides of every inner knot, agree
    // within 0.01), else 0. A spline not yet built has polynomials without
    // coefficients, which evaluate to 0.
    int Check() const;
    // The number of points n.
    int GetNumberOfPoint() const { return points.Len(); }

private:
    // The points live in one block: x_0 .. x_{n-1}, then y_0 .. y_{n-1},
    // then (n - 1)/(x_{n-1} - x_0), then a mark that is 1 while the
    // polynomials are cubics in power form around their knots, their
    // coefficients side by side in one block, and 0 otherwise, then for the
    // search the interval where each of n - 1 equal buckets between x_0 and
    // x_{n-1} starts (4-byte integers). Point i is a window of two elements
    // with stride n on the block, so the knots lie side by side. The
    // coefficients of all polynomials, all of one length, likewise share one
    // block. Every member that sets the points or reshapes the polynomials
    // keeps this.

    // Fills the points from n pairs, read through get(i, x, y).
    template <class Get>
    void AdoptPoints(int n, Get get);
    // Gives every polynomial len coefficients, as windows side by side on
    // one block (a fresh one unless they already are), and polynomial i the
    // offset x_i and the form where it lacks them; returns the first
    // coefficient. Null without polynomials, and for len 0, which leaves
    // them as they are.
    E* ShapePolynomials(int len, typename qvPolynom<E>::KoefType form);
    // The knots x_0 .. x_{n-1}, side by side.
    const E* Knots() const { return points[0].GetPointer(); }
    // The block's elements after the 2n + 2 that hold the bucket table.
    static int BucketElements(int n) {
        return static_cast<int>((4 * static_cast<long long>(n - 1) + sizeof(E) - 1) / sizeof(E));
    }
    // The bucket table.
    const unsigned char* Buckets() const {
        return reinterpret_cast<const unsigned char*>(Knots() + 2 * points.Len() + 2);
    }
    // Whether the polynomials are the cubics of the mark above; setting the
    // mark needs points.
    bool HoldsCubics() const { return points.Len() > 0 && Knots()[2 * points.Len() + 1] == E(1); }
    void MarkCubics(bool on) {
        if (points.Len() > 0) points[0].GetPointer()[2 * points.Len() + 1] = on ? E(1) : E(0);
    }
    // The self-test: 1 when every check passes.
    int SelfTest() const;

    qvSimpleArray<qvPolynom<E>> poly;
    qvSimpleArray<qvColumnVector<E>> points;
};

// The element types of the spline, for the declarations here and the
// instances in spline.cpp.
#define CQV_FOR_EACH_SPLINE_TYPE(X) X(double)
#define CQV_DECLARE_SPLINE(T) CQV_EXTERN_TEMPLATE(qvSpline<T>)
CQV_FOR_EACH_SPLINE_TYPE(CQV_DECLARE_SPLINE)
#undef CQV_DECLARE_SPLINE

#endif  // CQV_SPLINES_SPLINE_H
