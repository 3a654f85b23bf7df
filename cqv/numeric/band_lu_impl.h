// Member definitions of qvBandLUDecomposition<E>; included only by the
// library's sources that instantiate it. Not installed.
#ifndef CQV_NUMERIC_BAND_LU_IMPL_H
#define CQV_NUMERIC_BAND_LU_IMPL_H

#include <algorithm>
#include <cmath>

#include "cqv/core/exceptions.h"
#include "cqv/linalg/lu_support_internal.h"
#include "cqv/linalg/matrix_impl.h"
#include "cqv/numeric/band_lu.h"
#include "cqv/numeric/messages.h"

namespace qvDetail {

// The band storage: row i holds the elements (i, i - kl) to
// (i, i + kl + ku), width 2·kl + ku + 1. Row i's element (i, c) is then
// BandRow(...)[c]: the returned pointer is offset so that it can be indexed
// by the column itself.
template <class E>
inline E* BandRow(E* band, int width, int kl, int i) {
    return band + static_cast<long long>(i) * width + kl - i;
}

// Gaussian elimination with partial pivoting on the band of order n:
// multipliers of step k go to mult[k·kl + r - 1] for the row k + r, the
// exchanges to piv. U's row k ends up in the band row k, from column k to
// k + kl + ku. Returns whether a pivot was exactly zero.
template <class E>
bool BandFactor(E* band, E* mult, int* piv, int n, int kl, int ku) {
    using L = LUElem<E>;
    const int width = 2 * kl + ku + 1;
    bool zero = false;
    for (int k = 0; k < n; ++k) {
        const int last = std::min(n - 1, k + kl);  // the rows that reach column k
        const int end = std::min(n - 1, k + kl + ku);  // the columns they reach
        int p = k;
        double best = L::Abs1(BandRow(band, width, kl, k)[k]);
        for (int i = k + 1; i <= last; ++i) {
            const double v = L::Abs1(BandRow(band, width, kl, i)[k]);
            if (v > best) {
                best = v;
                p = i;
            }
        }
        piv[k] = p;
        E* rk = BandRow(band, width, kl, k);
        if (p != k) {
            E* rp = BandRow(band, width, kl, p);
            for (int c = k; c <= end; ++c) std::swap(rk[c], rp[c]);
        }
        E* mk = mult + static_cast<long long>(k) * kl;
        std::fill(mk, mk + kl, L::Zero());
        const E pivot = rk[k];
        if (L::IsZero(pivot)) {
            zero = true;  // nothing left in the column to eliminate
            continue;
        }
        for (int i = k + 1; i <= last; ++i) {
            E* ri = BandRow(band, width, kl, i);
            const E m = L::Div(ri[k], pivot);
            mk[i - k - 1] = m;
            ri[k] = L::Zero();
            for (int c = k + 1; c <= end; ++c) ri[c] = L::SubMul(ri[c], m, rk[c]);
        }
    }
    return zero;
}

}  // namespace qvDetail

// ---- factorising --------------------------------------------------------------

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition()
    : n(0), kl(0), ku(0), cyclic(false), singular(false), finite(true), norm1(0.0), rcond(1.0) {}

template <class E>
int qvBandLUDecomposition<E>::Position(int i) const {
    if (!cyclic) return i;
    return i <= (n - 1) / 2 ? 2 * i : 2 * (n - 1 - i) + 1;
}

template <class E>
template <class Fill>
void qvBandLUDecomposition<E>::Factorise(int order, int lower, int upper, bool renumber, Fill put) {
    using L = qvDetail::LUElem<E>;
    const int width = 2 * lower + upper + 1;
    // Built aside, so that a failed allocation leaves this factorisation as
    // it was.
    qvBandLUDecomposition f;
    f.n = order;
    f.kl = lower;
    f.ku = upper;
    f.cyclic = renumber;
    if (order > 0) {
        if (static_cast<long long>(order) * width > 0x7fffffffLL) throw qvErrNoMemory(0xffffffffu);
        qvSimpleArray<E> b(order * width, L::Zero());
        qvSimpleArray<E> m(order * lower, L::Zero());
        qvSimpleArray<int> p(order);
        qvSimpleArray<double> sums(order, 0.0);
        E* bp = b.GetPointer();
        put([&](int i, int j, const E& v) {
            const int pi = f.Position(i);
            const int pj = f.Position(j);
            qvDetail::BandRow(bp, width, lower, pi)[pj] = v;
            sums[j] += L::Modulus(v);
        });
        double norm = 0.0;
        for (int j = 0; j < order; ++j)
            if (!(sums[j] <= norm)) norm = sums[j];  // a NaN sum wins
        f.singular = qvDetail::BandFactor(bp, m.GetPointer(), p.GetPointer(), order, lower, upper);
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
    ku = f.ku;
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
    Factorise(a.LineLen(), 1, 1, false, [&](auto place) { qvDetail::PutTridiagonal(a, place); });
}

template <class E>
qvBandLUDecomposition<E>::qvBandLUDecomposition(const qvMatrix3Diag<E>& a, const E& corner0, const E& corner1)
    : qvBandLUDecomposition() {
    qvDetail::CheckTridiagonal(a);
    const int order = a.LineLen();
    if (order < 3) throw BadParameters(qvMsg::BandLUOrderBelowCorners);
    Factorise(order, 2, 2, true, [&](auto place) {
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
    Factorise(order, 2, 2, false, [&](auto place) {
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
    Factorise(order, 4, 4, true, [&](auto place) {
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
    using L = qvDetail::LUElem<E>;
    const int width = 2 * kl + ku + 1;
    const E* m = mult.GetPointer();
    const int* p = piv.GetPointer();
    for (int k = 0; k < n; ++k) {
        if (p[k] != k) std::swap(y[k], y[p[k]]);
        const E yk = y[k];
        const int last = std::min(n - 1, k + kl);
        for (int i = k + 1; i <= last; ++i) y[i] = L::SubMul(y[i], m[static_cast<long long>(k) * kl + i - k - 1], yk);
    }
    E* b = band.GetPointer();
    for (int k = n - 1; k >= 0; --k) {
        const E* rk = qvDetail::BandRow(b, width, kl, k);
        const int end = std::min(n - 1, k + kl + ku);
        E s = y[k];
        for (int c = k + 1; c <= end; ++c) s = L::SubMul(s, rk[c], y[c]);
        y[k] = L::Div(s, rk[k]);
    }
}

template <class E>
void qvBandLUDecomposition<E>::SolveAdjointInPlace(E* y) const {
    using L = qvDetail::LUElem<E>;
    const int width = 2 * kl + ku + 1;
    E* b = band.GetPointer();
    for (int k = 0; k < n; ++k) {
        const E* rk = qvDetail::BandRow(b, width, kl, k);
        y[k] = L::Div(y[k], L::Conj(rk[k]));
        const E yk = y[k];
        const int end = std::min(n - 1, k + kl + ku);
        for (int c = k + 1; c <= end; ++c) y[c] = L::SubMul(y[c], L::Conj(rk[c]), yk);
    }
    const E* m = mult.GetPointer();
    const int* p = piv.GetPointer();
    for (int k = n - 1; k >= 0; --k) {
        const int last = std::min(n - 1, k + kl);
        E s = y[k];
        for (int i = k + 1; i <= last; ++i) s = L::SubMul(s, L::Conj(m[static_cast<long long>(k) * kl + i - k - 1]), y[i]);
        y[k] = s;
        if (p[k] != k) std::swap(y[k], y[p[k]]);
    }
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
    return qvDetail::BandDeterminant(band.GetPointer(), 2 * kl + ku + 1, kl, n, piv.GetPointer()).Value();
}

template <class E>
E qvBandLUDecomposition<E>::DetSign() const {
    return qvDetail::BandDeterminant(band.GetPointer(), 2 * kl + ku + 1, kl, n, piv.GetPointer()).Sign();
}

template <class E>
double qvBandLUDecomposition<E>::LogAbsDet() const {
    return qvDetail::BandDeterminant(band.GetPointer(), 2 * kl + ku + 1, kl, n, piv.GetPointer()).LogAbs();
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
