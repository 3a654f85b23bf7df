// Builders shared by the tests of the tridiagonal matrix and the polynomial.
#ifndef CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H
#define CQV_TESTS_NUMERIC_BAND_TEST_SUPPORT_H

#include "cqv_test.h"

#include <vector>

namespace bandtest {

using Col = qvColumnVector<double>;
using M = qvMatrix<double>;
using Tri = qvMatrix3Diag<double>;
using V = std::vector<double>;
using cqvtest::Elements;
using cqvtest::MatrixOf;

// A column vector of the values (empty for none).
inline Col MakeCol(const V& xs) {
    if (xs.empty()) return Col();
    Col v(static_cast<int>(xs.size()));
    for (int i = 0; i < v.Len(); ++i) v[i] = xs[static_cast<std::size_t>(i)];
    return v;
}

// A tridiagonal matrix in fresh storage with the given diagonals.
inline Tri MakeTri(const V& up, const V& diag, const V& down) { return Tri(MakeCol(up), MakeCol(diag), MakeCol(down)); }

inline V Values(const qvVector<double>& v) {
    V out;
    for (int i = 0; i < v.Len(); ++i) out.push_back(v[i]);
    return out;
}

// The stored elements of a tridiagonal matrix: Up, then Diag, then Down.
inline V Band(const Tri& a) {
    V out = Values(a.Up());
    for (const V& d : {Values(a.Diag()), Values(a.Down())}) out.insert(out.end(), d.begin(), d.end());
    return out;
}

inline int Holders(const qvPArray& a) { return a.GetNumOfRef() + 1; }

// Deterministic values: reals in [lo, hi), or small integers in [-k, k].
struct Numbers {
    unsigned long long state;
    explicit Numbers(unsigned long long seed) : state(seed) {}
    unsigned long long Bits() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state >> 11;
    }
    double Real(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Bits()) / 9007199254740992.0; }
    double Int(int k) { return static_cast<double>(static_cast<long long>(Bits() % (2 * k + 1)) - k); }
    // n values, each drawn by draw().
    template <class F>
    V Draw(int n, F draw) {
        V v(static_cast<std::size_t>(n));
        for (double& x : v) x = draw();
        return v;
    }
    V Reals(int n, double lo, double hi) { return Draw(n, [&] { return Real(lo, hi); }); }
    V Ints(int n, int k) { return Draw(n, [&] { return Int(k); }); }
};

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
