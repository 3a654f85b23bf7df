// Tridiagonal matrices for the tests of the tridiagonal matrix and the
// polynomial; the general builders are shared by all tests (cqv_builders.h).
#ifndef CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H
#define CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H

#include "cqv_test.h"

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

}  // namespace bandtest

#endif  // CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H
