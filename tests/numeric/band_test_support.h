// Tridiagonal matrices for the tests of the tridiagonal matrix and the
// polynomial; the general builders are shared by all tests (cqv_builders.h).
#ifndef CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H
#define CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H

#include "cqv_test.h"

#include <array>
#include <utility>
#include <vector>

namespace bandtest {

using namespace cqvtest;
using Tri = qvMatrix3Diag<double>;
using V = std::vector<double>;

// A tridiagonal matrix in fresh storage with the given diagonals.
inline Tri MakeTri(const V& up, const V& diag, const V& down) { return Tri(MakeCol(up), MakeCol(diag), MakeCol(down)); }

// The stored elements of a tridiagonal matrix: Up, then Diag, then Down.
inline V Band(const Tri& a) {
    V out = Values(a.Up());
    for (const V& d : {Values(a.Diag()), Values(a.Down())}) out.insert(out.end(), d.begin(), d.end());
    return out;
}

// A diagonally dominant tridiagonal matrix of order n: off-diagonals in
// [-1, 1), diagonal magnitudes in [lo, lo + 1) with random signs.
inline Tri Dominant(int n, unsigned long long seed, double lo = 3) {
    Numbers g(seed);
    V d = g.Reals(n, lo, lo + 1);
    for (double& x : d)
        if (g.Bits() % 2) x = -x;
    return MakeTri(g.Reals(n - 1, -1, 1), d, g.Reals(n - 1, -1, 1));
}

// A tridiagonal matrix of order n with small integer elements, so that its
// sums and products are exact.
inline Tri Integers(int n, unsigned long long seed) {
    Numbers g(seed);
    return MakeTri(g.Ints(n - 1, 5), g.Ints(n, 5), g.Ints(n - 1, 5));
}

// The corner elements of the cyclic forms, in the order of the
// factorisation's and the solvers' arguments (the cyclic tridiagonal form
// takes the first two).
inline std::array<std::pair<int, int>, 6> Corners(int n) {
    return {{{0, n - 1}, {n - 1, 0}, {0, n - 2}, {1, n - 1}, {n - 2, 0}, {n - 1, 1}}};
}

// The dense matrix of a with the second diagonals e above and g below (when
// e is given) and the first `corners` corner elements c.
inline M DenseOf(const Tri& a, const qvVector<double>* e, const qvVector<double>* g, const double* c, int corners) {
    M m = a.GetMatrix();
    const int n = a.LineLen();
    for (int i = 0; e && i + 2 < n; ++i) {
        m(i, i + 2) = (*e)[i];
        m(i + 2, i) = (*g)[i];
    }
    for (int k = 0; k < corners; ++k) m(Corners(n)[k].first, Corners(n)[k].second) = c[k];
    return m;
}

}  // namespace bandtest

#endif  // CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H
