// Accuracy measures for the tests of the linear solvers, computed in long
// double (64-bit significands on x86, 11 bits beyond double) so that the
// measurement adds no error of the size it measures: the normwise backward
// error of a solution, a reference solution and inverse by Gaussian
// elimination with partial pivoting, and the condition number.
#ifndef CQV_TESTS_SUPPORT_CQV_ACCURACY_H
#define CQV_TESTS_SUPPORT_CQV_ACCURACY_H

#include <cmath>
#include <complex>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include <cqv/cqv.h>

namespace cqvtest {

using LD = long double;

// Whether long double really is wider than double where the tests run: a
// longer significand and a wider exponent range. Not so where long double
// is double (Microsoft's compilers, some ARM platforms), nor under
// valgrind, which carries out x87 arithmetic in double; there the checks
// that need a reference beyond double's range or precision are left out.
inline bool WideIsWider() {
    volatile LD big = 1e300L, one = 1, tiny = std::numeric_limits<LD>::epsilon();
    const LD square = big * big;
    const LD sum = one + tiny;
    return std::isfinite(square) && sum != one;
}

// The long double counterpart of an element type.
template <class E>
struct Wide;
template <>
struct Wide<double> {
    using T = LD;
    static T Of(double x) { return x; }
};
template <>
struct Wide<qvComplex> {
    using T = std::complex<LD>;
    static T Of(const qvComplex& z) { return T(z.re, z.im); }
};

// ||b - A·x||∞ / (||A||∞·||x||∞ + ||b||∞): the normwise backward error of x
// as a solution of A·x = b, the smallest ε for which x solves a system whose
// matrix and right-hand side are within ε of A and b in relative norm.
template <class E>
LD BackwardError(const qvMatrix<E>& a, const qvVector<E>& x, const qvVector<E>& b) {
    using W = Wide<E>;
    const int n = a.ColumnLen();
    LD residual = 0, norm = 0, xNorm = 0, bNorm = 0;
    for (int i = 0; i < n; ++i) {
        typename W::T r = W::Of(b[i]);
        LD row = 0;
        for (int j = 0; j < n; ++j) {
            r -= W::Of(a(i, j)) * W::Of(x[j]);
            row += std::abs(W::Of(a(i, j)));
        }
        residual = std::fmax(residual, std::abs(r));
        norm = std::fmax(norm, row);
        xNorm = std::fmax(xNorm, std::abs(W::Of(x[i])));
        bNorm = std::fmax(bNorm, std::abs(W::Of(b[i])));
    }
    return residual / (norm * xNorm + bNorm);
}

// Gaussian elimination with partial pivoting in long double on A with the
// k columns of B (row by row) beside it: B becomes A⁻¹·B and the result is
// det A (its exponent range, to 10^±4932, holds determinants far beyond
// that of double).
template <class E>
typename Wide<E>::T WideEliminate(const qvMatrix<E>& m, std::vector<typename Wide<E>::T>& b, int k) {
    using T = typename Wide<E>::T;
    const int n = m.ColumnLen();
    std::vector<T> a;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) a.push_back(Wide<E>::Of(m(i, j)));
    auto A = [&](int i, int j) -> T& { return a[static_cast<std::size_t>(i) * n + j]; };
    auto B = [&](int i, int c) -> T& { return b[static_cast<std::size_t>(i) * k + c]; };
    T det = 1;
    for (int j = 0; j < n; ++j) {
        int p = j;
        for (int i = j + 1; i < n; ++i)
            if (std::abs(A(i, j)) > std::abs(A(p, j))) p = i;
        if (p != j) det = -det;
        for (int c = 0; c < n; ++c) std::swap(A(j, c), A(p, c));
        for (int c = 0; c < k; ++c) std::swap(B(j, c), B(p, c));
        det *= A(j, j);
        if (A(j, j) == T(0)) return det;
        for (int i = j + 1; i < n; ++i) {
            const T l = A(i, j) / A(j, j);
            for (int c = j; c < n; ++c) A(i, c) -= l * A(j, c);
            for (int c = 0; c < k; ++c) B(i, c) -= l * B(j, c);
        }
    }
    for (int i = n - 1; i >= 0; --i)
        for (int c = 0; c < k; ++c) {
            T s = B(i, c);
            for (int j = i + 1; j < n; ++j) s -= A(i, j) * B(j, c);
            B(i, c) = s / A(i, i);
        }
    return det;
}

template <class E>
std::vector<typename Wide<E>::T> WideSolve(const qvMatrix<E>& m, std::vector<typename Wide<E>::T> b, int k) {
    WideEliminate(m, b, k);
    return b;
}

template <class E>
typename Wide<E>::T WideDeterminant(const qvMatrix<E>& m) {
    std::vector<typename Wide<E>::T> none;
    return WideEliminate(m, none, 0);
}

// The inverse in long double, row by row.
template <class E>
std::vector<typename Wide<E>::T> WideInverse(const qvMatrix<E>& m) {
    const int n = m.ColumnLen();
    std::vector<typename Wide<E>::T> unit(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; ++i) unit[static_cast<std::size_t>(i) * n + i] = 1;
    return WideSolve(m, unit, n);
}

// ||A||₁·||A⁻¹||₁, the condition number in the 1-norm.
template <class E>
LD Condition1(const qvMatrix<E>& m) {
    const int n = m.ColumnLen();
    const auto inv = WideInverse(m);
    LD a = 0, ai = 0;
    for (int j = 0; j < n; ++j) {
        LD s = 0, si = 0;
        for (int i = 0; i < n; ++i) {
            s += std::abs(Wide<E>::Of(m(i, j)));
            si += std::abs(inv[static_cast<std::size_t>(i) * n + j]);
        }
        a = std::fmax(a, s);
        ai = std::fmax(ai, si);
    }
    return a * ai;
}

// The elements of a vector in long double.
template <class E>
std::vector<typename Wide<E>::T> WideValues(const qvVector<E>& v) {
    std::vector<typename Wide<E>::T> out;
    for (int i = 0; i < v.Len(); ++i) out.push_back(Wide<E>::Of(v[i]));
    return out;
}

// The elements of a matrix in long double, row by row.
template <class E>
std::vector<typename Wide<E>::T> WideElements(const qvMatrix<E>& m) {
    std::vector<typename Wide<E>::T> out;
    for (int i = 0; i < m.ColumnLen(); ++i)
        for (int j = 0; j < m.LineLen(); ++j) out.push_back(Wide<E>::Of(m(i, j)));
    return out;
}

// The largest |got - want| over the elements, relative to the largest
// |want|.
template <class V, class T>
LD RelativeError(const V& got, const std::vector<T>& want) {
    LD e = 0, m = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        e = std::fmax(e, std::abs(got[i] - want[i]));
        m = std::fmax(m, std::abs(want[i]));
    }
    return e / m;
}

}  // namespace cqvtest

#endif  // CQV_TESTS_SUPPORT_CQV_ACCURACY_H
