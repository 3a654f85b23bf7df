// Member definitions of qvBandLUDecomposition<E>; included only by the
// library's sources that instantiate it. Not installed.
#ifndef CQV_NUMERIC_BAND_LU_IMPL_H
#define CQV_NUMERIC_BAND_LU_IMPL_H

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "cqv/core/exceptions.h"
#include "cqv/linalg/lu_support_internal.h"
#include "cqv/linalg/matrix_impl.h"
#include "cqv/numeric/band_lu.h"
#include "cqv/numeric/messages.h"

namespace qvDetail {

// The band storage: row i holds the elements (i, i - kl) to
// (i, i + kl + ku), width 2·kl + ku + 1 (room for the kl diagonals that
// row exchanges add to U). Row i's element (i, c) is then
// BandRow(...)[c]: the returned pointer is offset so that it can be indexed
// by the column itself.
template <class E>
inline E* BandRow(E* band, int width, int kl, int i) {
    return band + static_cast<long long>(i) * width + kl - i;
}

// Gaussian elimination with partial pivoting on the band of order n, KL
// diagonals below the main one and KU above: multipliers of step k go to
// mult[k·KL + r - 1] for the row k + r, the exchanges to piv, U to the
// band: row k holds the pivot at column k and U's row from there to column
// k + KL + KU. (U is not kept as its pivots times a unit triangle, U's rows
// divided by their pivots: a large element beside a tiny pivot would
// overflow where the solution does not.) Returns whether
// a pivot was exactly zero. The bandwidths are constants, so that the short
// loops over them unroll.
template <class E, int KL, int KU>
bool BandFactor(E* band, E* mult, int* piv, int n) {
    using L = LUElem<E>;
    constexpr int width = 2 * KL + KU + 1;
    bool zero = false;
    // Step k; Edge near the end of the matrix, where fewer rows and columns
    // are left than the band reaches (elsewhere the loops have fixed
    // lengths).
    auto step = [&](int k, auto edge) {
        constexpr bool Edge = decltype(edge)::value;
        const int last = Edge ? std::min(n - 1, k + KL) : k + KL;  // the rows that reach column k
        const int end = Edge ? std::min(n - 1, k + KL + KU) : k + KL + KU;  // the columns they reach
        int p = k;
        double best = L::Abs1(BandRow(band, width, KL, k)[k]);
        for (int i = k + 1; i <= last; ++i) {
            const double v = L::Abs1(BandRow(band, width, KL, i)[k]);
            if (v > best) {
                best = v;
                p = i;
            }
        }
        piv[k] = p;
        E* rk = BandRow(band, width, KL, k);
        if (p != k) {
            E* rp = BandRow(band, width, KL, p);
            for (int c = k; c <= end; ++c) std::swap(rk[c], rp[c]);
        }
        E* mk = mult + static_cast<long long>(k) * KL;
        for (int r = 0; r < KL; ++r) mk[r] = L::Zero();
        const E pivot = rk[k];
        if (L::IsZero(pivot)) {
            zero = true;  // nothing left in the column to eliminate
            return;
        }
        for (int i = k + 1; i <= last; ++i) {
            E* ri = BandRow(band, width, KL, i);
            const E m = L::Div(ri[k], pivot);
            mk[i - k - 1] = m;
            ri[k] = L::Zero();
            for (int c = k + 1; c <= end; ++c) ri[c] = L::SubMul(ri[c], m, rk[c]);
        }
    };
    int k = 0;
    for (; k + KL + KU < n; ++k) step(k, std::false_type());
    for (; k < n; ++k) step(k, std::true_type());
    return zero;
}

// y (n elements) becomes A⁻¹·y, or A⁻ᴴ·y with Adjoint set, from the band
// factorisation.
template <class E, int KL, int KU, bool Adjoint>
void BandSolve(const E* band, const E* mult, const int* piv, int n, E* y) {
    using L = LUElem<E>;
    constexpr int width = 2 * KL + KU + 1;
    E* b = const_cast<E*>(band);  // BandRow indexes, it writes nothing
    const int inner = std::max(0, n - KL - KU);  // steps whose band lies inside the matrix
    // The steps of L (with the exchanges) and of U, each unknown of U's
    // divided by its pivot after the rest of its row is subtracted; for the
    // adjoint, their conjugate transposes. Edge: near the end, where the band is cut off.
    auto lower = [&](int k, auto edge) {
        const int last = decltype(edge)::value ? std::min(n - 1, k + KL) : k + KL;
        const E* mk = mult + static_cast<long long>(k) * KL;
        if (!Adjoint) {
            if (piv[k] != k) std::swap(y[k], y[piv[k]]);
            const E yk = y[k];
            for (int i = k + 1; i <= last; ++i) y[i] = L::SubMul(y[i], mk[i - k - 1], yk);
        } else {
            E s = y[k];
            for (int i = k + 1; i <= last; ++i) s = L::SubMul(s, L::Conj(mk[i - k - 1]), y[i]);
            y[k] = s;
            if (piv[k] != k) std::swap(y[k], y[piv[k]]);
        }
    };
    auto upper = [&](int k, auto edge) {
        const int end = decltype(edge)::value ? std::min(n - 1, k + KL + KU) : k + KL + KU;
        const E* rk = BandRow(b, width, KL, k);
        if (!Adjoint) {
            E s = y[k];
            for (int c = k + 1; c <= end; ++c) s = L::SubMul(s, rk[c], y[c]);
            y[k] = L::Div(s, rk[k]);
        } else {
            const E yk = L::Div(y[k], L::Conj(rk[k]));
            y[k] = yk;
            for (int c = k + 1; c <= end; ++c) y[c] = L::SubMul(y[c], L::Conj(rk[c]), yk);
        }
    };
    const std::false_type inside;
    const std::true_type edge;
    if (!Adjoint) {
        // L·U·x = y: L forward, U backward.
        const int lowerInner = std::max(0, n - KL);
        for (int k = 0; k < lowerInner; ++k) lower(k, inside);
        for (int k = lowerInner; k < n; ++k) lower(k, edge);
        for (int k = n - 1; k >= inner; --k) upper(k, edge);
        for (int k = inner - 1; k >= 0; --k) upper(k, inside);
        return;
    }
    // Uᴴ forward, then Lᴴ and the exchanges backward.
    for (int k = 0; k < inner; ++k) upper(k, inside);
    for (int k = inner; k < n; ++k) upper(k, edge);
    const int lowerInner = std::max(0, n - KL);
    for (int k = n - 1; k >= lowerInner; --k) lower(k, edge);
    for (int k = lowerInner - 1; k >= 0; --k) lower(k, inside);
}

// Calls f with the bandwidths as constants: 1 and 1 for tridiagonal, 2 and
// 2 for pentadiagonal and cyclic tridiagonal, 4 and 4 for cyclic
// pentadiagonal matrices (the only ones the factorisation makes).
template <class F>
auto WithBandwidths(int kl, F f) {
    if (kl == 1) return f(std::integral_constant<int, 1>());
    if (kl == 2) return f(std::integral_constant<int, 2>());
    return f(std::integral_constant<int, 4>());
}

// ||A||₁ from the band of A before its factorisation: column c gathers its
// magnitudes from the rows c - KU to c + KL, so a ring of sums, one per
// column still open, goes down the rows once.
template <class E, int KL, int KU>
double BandNorm1(const E* band, int n) {
    constexpr int width = 2 * KL + KU + 1;
    double ring[width] = {};
    double norm = 0.0;
    auto close = [&](int c) {
        double& s = ring[c % width];
        if (!(s <= norm)) norm = s;  // a NaN sum wins
        s = 0.0;
    };
    for (int i = 0; i < n; ++i) {
        if (i - KL - 1 >= 0) close(i - KL - 1);
        const E* r = BandRow(const_cast<E*>(band), width, KL, i);
        for (int c = std::max(0, i - KL); c <= std::min(n - 1, i + KU); ++c) ring[c % width] += LUElem<E>::Modulus(r[c]);
    }
    for (int c = std::max(0, n - KL - 1); c < n; ++c) close(c);
    return norm;
}

}  // namespace qvDetail

// ---- factorising --------------------------------------------------------------

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition()
    : n(0), kl(0), cyclic(false), singular(false), finite(true), norm1(0.0), rcond(1.0) {}

template <class E>
int qvBandLUDecomposition<E>::Position(int i) const {
    if (!cyclic) return i;
    return i <= (n - 1) / 2 ? 2 * i : 2 * (n - 1 - i) + 1;
}

template <class E>
template <class Fill>
void qvBandLUDecomposition<E>::Factorise(int order, int bandwidth, bool renumber, Fill put) {
    using L = qvDetail::LUElem<E>;
    const int width = 3 * bandwidth + 1;
    // Built aside, so that a failed allocation leaves this factorisation as
    // it was.
    qvBandLUDecomposition f;
    f.n = order;
    f.kl = bandwidth;
    f.cyclic = renumber;
    if (order > 0) {
        if (static_cast<long long>(order) * width > 0x7fffffffLL) throw qvErrNoMemory(0xffffffffu);
        qvSimpleArray<E> b(order * width, L::Zero());
        qvSimpleArray<E> m(order * bandwidth);
        qvSimpleArray<int> p(order);
        E* bp = b.GetPointer();
        put([&](int i, int j, const E& v) { qvDetail::BandRow(bp, width, bandwidth, f.Position(i))[f.Position(j)] = v; });
        double norm = 0.0;
        qvDetail::WithBandwidths(bandwidth, [&](auto b) {
            constexpr int KL = decltype(b)::value;
            norm = qvDetail::BandNorm1<E, KL, KL>(bp, order);
            f.singular = qvDetail::BandFactor<E, KL, KL>(bp, m.GetPointer(), p.GetPointer(), order);
        });
        f.finite = std::isfinite(norm);
        f.norm1 = norm;
        f.rcond = -1.0;
        f.band.Move(b);
        f.mult.Move(m);
        f.piv.Move(p);
    }
    band.Move(f.band);
    mult.Move(f.mult);
    piv.Move(f.piv);
    n = f.n;
    kl = f.kl;
    cyclic = f.cyclic;
    singular = f.singular;
    finite = f.finite;
    norm1 = f.norm1;
    rcond = f.rcond;
}

namespace qvDetail {

// Hands the elements of the tridiagonal matrix a to place(i, j, value).
template <class E, class Place>
void PutTridiagonal(const qvMatrix3Diag<E>& a, Place& place) {
    const int n = a.LineLen();
    for (int i = 0; i < n; ++i) place(i, i, a.Diag()[i]);
    for (int i = 0; i + 1 < n; ++i) {
        place(i, i + 1, a.Up()[i]);
        place(i + 1, i, a.Down()[i]);
    }
}

// Hands the outer diagonals e and g of a pentadiagonal matrix of order n.
template <class E, class Place>
void PutOuter(int n, const qvVector<E>& e, const qvVector<E>& g, Place& place) {
    for (int i = 0; i + 2 < n; ++i) {
        place(i, i + 2, e[i]);
        place(i + 2, i, g[i]);
    }
}

template <class E>
void CheckTridiagonal(const qvMatrix3Diag<E>& a) {
    const int n = a.LineLen();
    const int off = n > 0 ? n - 1 : 0;
    if (a.Up().Len() != off || a.Down().Len() != off) throw BadParameters(qvMsg::BandLUDiagonalLengths);
}

template <class E>
void CheckOuter(int n, const qvVector<E>& e, const qvVector<E>& g) {
    const int need = n > 2 ? n - 2 : 0;
    if (e.Len() < need || g.Len() < need) throw BadParameters(qvMsg::BandLUDiagonalLengths);
}

}  // namespace qvDetail

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition(const qvMatrix3Diag<E>& a) : qvBandLUDecomposition() {
    qvDetail::CheckTridiagonal(a);
    Factorise(a.LineLen(), 1, false, [&](auto place) { qvDetail::PutTridiagonal(a, place); });
}

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const E& corner0, const E& corner1)
    : qvBandLUDecomposition() {
    qvDetail::CheckTridiagonal(a);
    const int order = a.LineLen();
    if (order < 3) throw BadParameters(qvMsg::BandLUOrderBelowCorners);
    Factorise(order, 2, true, [&](auto place) {
        qvDetail::PutTridiagonal(a, place);
        place(0, order - 1, corner0);
        place(order - 1, 0, corner1);
    });
}

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const qvVector<E>& e,
                                                const qvVector<E>& g)
    : qvBandLUDecomposition() {
    qvDetail::CheckTridiagonal(a);
    const int order = a.LineLen();
    qvDetail::CheckOuter(order, e, g);
    Factorise(order, 2, false, [&](auto place) {
        qvDetail::PutTridiagonal(a, place);
        qvDetail::PutOuter(order, e, g, place);
    });
}

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const qvVector<E>& e,
                                                const qvVector<E>& g, const E& c1, const E& c2, const E& c3,
                                                const E& c4, const E& c5, const E& c6)
    : qvBandLUDecomposition() {
    qvDetail::CheckTridiagonal(a);
    const int order = a.LineLen();
    qvDetail::CheckOuter(order, e, g);
    if (order < 5) throw BadParameters(qvMsg::BandLUOrderBelowCorners);
    Factorise(order, 4, true, [&](auto place) {
        qvDetail::PutTridiagonal(a, place);
        qvDetail::PutOuter(order, e, g, place);
        place(0, order - 1, c1);
        place(order - 1, 0, c2);
        place(0, order - 2, c3);
        place(1, order - 1, c4);
        place(order - 2, 0, c5);
        place(order - 1, 1, c6);
    });
}

// ---- solving ------------------------------------------------------------------

template <class E>
void qvBandLUDecomposition<E>::SolveInPlace(E* y) const {
    qvDetail::WithBandwidths(kl, [&](auto b) {
        constexpr int KL = decltype(b)::value;
        qvDetail::BandSolve<E, KL, KL, false>(band.GetPointer(), mult.GetPointer(), piv.GetPointer(), n, y);
    });
}

template <class E>
void qvBandLUDecomposition<E>::SolveAdjointInPlace(E* y) const {
    qvDetail::WithBandwidths(kl, [&](auto b) {
        constexpr int KL = decltype(b)::value;
        qvDetail::BandSolve<E, KL, KL, true>(band.GetPointer(), mult.GetPointer(), piv.GetPointer(), n, y);
    });
}

template <class E>
void qvBandLUDecomposition<E>::Solve(qvColumnVector<E>& x, const qvColumnVector<E>& f) const {
    if (f.Len() != n) throw BadParameters(qvMsg::BandLUDifferentSize);
    if (singular) throw BadParameters(qvMsg::BandLUSingular);
    if (n == 0) {
        x.Set(0);
        return;
    }
    qvDetail::ScopedBlock<E> work(n);
    for (int i = 0; i < n; ++i) work.p[Position(i)] = f[i];
    SolveInPlace(work.p);
    if (finite && !qvDetail::AllFinite(work.p, n, 1) && qvDetail::AllFinite(f.GetPointer(), n, f.Tab()))
        throw BadParameters(qvMsg::BandLUSingular);
    x.Init(n);
    for (int i = 0; i < n; ++i) x[i] = work.p[Position(i)];
}

template <class E>
void qvBandLUDecomposition<E>::Solve(qvMatrix<E>& X, const qvMatrix<E>& F) const {
    const int cols = F.LineLen();
    if (F.ColumnLen() != n && cols != 0) throw BadParameters(qvMsg::BandLUDifferentSize);
    if (cols == 0) {
        X.Init(0, 0);
        return;
    }
    if (singular) throw BadParameters(qvMsg::BandLUSingular);
    qvMatrix<E> out(n, cols);
    qvDetail::ScopedBlock<E> work(n);
    for (int j = 0; j < cols; ++j) {
        for (int i = 0; i < n; ++i) work.p[Position(i)] = F(i, j);
        SolveInPlace(work.p);
        if (finite && !qvDetail::AllFinite(work.p, n, 1) && qvDetail::AllFinite(&F(0, j), n, F.TabInColumn()))
            throw BadParameters(qvMsg::BandLUSingular);
        for (int i = 0; i < n; ++i) out(i, j) = work.p[Position(i)];
    }
    X = out;
}

// ---- determinant and condition ------------------------------------------------

namespace qvDetail {

// The determinant of a band factorisation: U's diagonal and the exchanges.
template <class E>
ScaledProduct<E> BandDeterminant(const E* band, int width, int kl, int n, const int* piv) {
    return PivotProduct<E>(n, [=](int k) { return band[static_cast<long long>(k) * width + kl]; }, piv);
}

}  // namespace qvDetail

template <class E>
E qvBandLUDecomposition<E>::Det() const {
    return qvDetail::BandDeterminant(band.GetPointer(), 3 * kl + 1, kl, n, piv.GetPointer()).Value();
}

template <class E>
E qvBandLUDecomposition<E>::DetSign() const {
    return qvDetail::BandDeterminant(band.GetPointer(), 3 * kl + 1, kl, n, piv.GetPointer()).Sign();
}

template <class E>
double qvBandLUDecomposition<E>::LogAbsDet() const {
    return qvDetail::BandDeterminant(band.GetPointer(), 3 * kl + 1, kl, n, piv.GetPointer()).LogAbs();
}

template <class E>
double qvBandLUDecomposition<E>::RCond() const {
    if (rcond < 0.0) {
        // The renumbering moves rows and columns alike, which changes no norm.
        qvDetail::ScopedBlock<E> work(2 * n);
        rcond = qvDetail::ReciprocalCondition<E>(
            n, norm1, !singular, [this](E* y) { SolveInPlace(y); }, [this](E* y) { SolveAdjointInPlace(y); },
            work.p);
    }
    return rcond;
}

#endif  // CQV_NUMERIC_BAND_LU_IMPL_H
