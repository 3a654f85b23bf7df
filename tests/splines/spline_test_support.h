// Builders shared by the spline tests.
#ifndef CQV_TESTS_SPLINES_SPLINE_TEST_SUPPORT_H
#define CQV_TESTS_SPLINES_SPLINE_TEST_SUPPORT_H

#include "cqv_test.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <vector>

namespace splinetest {

using S = qvSpline<double>;
using V = std::vector<double>;
using cqvtest::MatrixOf;

// The points (xs[i], ys[i]) as two-element column vectors.
inline qvSimpleArray<qvColumnVector<double>> Points(const V& xs, const V& ys) {
    qvSimpleArray<qvColumnVector<double>> p(static_cast<int>(xs.size()));
    for (std::size_t i = 0; i < xs.size(); ++i) {
        qvColumnVector<double> v(2);
        v[0] = xs[i];
        v[1] = ys[i];
        p[static_cast<int>(i)] = v;
    }
    return p;
}

// Boundary codes.
inline qvSimpleArray<int> Codes(std::initializer_list<int> cs) {
    qvSimpleArray<int> a;
    a.Set(static_cast<int>(cs.size()));
    int i = 0;
    for (int c : cs) a[i++] = c;
    return a;
}

// A spline through (xs[i], f(xs[i])).
template <class F>
S Through(const V& xs, F f) {
    V ys;
    for (double x : xs) ys.push_back(f(x));
    return S(Points(xs, ys));
}

// The interval of x by its definition: the first j with x < x_j gives
// j - 1; none gives the last interval.
inline int FirstAbove(const V& xs, double x) {
    for (std::size_t j = 1; j < xs.size(); ++j)
        if (x < xs[j]) return static_cast<int>(j) - 1;
    return static_cast<int>(xs.size()) - 2;
}

// The largest difference between the pieces on either side of an inner
// knot, over the derivatives 0 .. kmax, and the largest miss of the values
// ys at the knots.
inline double Joins(const S& s, const V& xs, int kmax) {
    double worst = 0;
    for (int i = 1; i + 1 < static_cast<int>(xs.size()); ++i)
        for (int k = 0; k <= kmax; ++k)
            worst = std::fmax(worst, std::fabs(s.Derivative(xs[i], k, i - 1) - s.Derivative(xs[i], k, i)));
    return worst;
}
inline double Misses(const S& s, const V& ys) {
    double worst = 0;
    for (int i = 0; i < static_cast<int>(ys.size()); ++i) worst = std::fmax(worst, std::fabs(s.Derivative(0, i) - ys[i]));
    return worst;
}

using cqvtest::Numbers;

// n increasing knots from x0 with gaps drawn from [lo, hi).
inline V Knots(Numbers& g, int n, double x0, double lo, double hi) {
    V xs(1, x0);
    while (static_cast<int>(xs.size()) < n) xs.push_back(xs.back() + g.Real(lo, hi));
    return xs;
}

}  // namespace splinetest

#endif  // CQV_TESTS_SPLINES_SPLINE_TEST_SUPPORT_H
