// The interpolation systems of the Beta-spline curves and their dense
// solution.
#include "cqv/betaspline/beta_internal.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "cqv/linalg/band_elimination_internal.h"

namespace qvDetail {

qvMatrix<BetaPoint> BetaDenseMatrix(const BetaSpline& b, BetaSystem kind, int m) {
    const int n = BetaOrder(kind, m);
    qvMatrix<BetaPoint> a(n, n);
    BetaPoint* e = a.GetPointer();
    for (long long k = 0, count = static_cast<long long>(n) * n; k < count; ++k) e[k] = BetaPoint(0.0, 0.0, 0.0);
    const double w1 = b.BetaBlend(1.0), w0 = b.BetaBlend(0.0), wm1 = b.BetaBlend(-1.0);
    const auto entry = [](double w) { return BetaPoint(w, w, w); };
    if (kind == BetaSystem::Open) {
        a(0, 1) = entry(1.0);
        for (int r = 1; r <= n - 2; ++r) {
            a(r, r - 1) = entry(w1);
            a(r, r) = entry(w0);
            a(r, r + 1) = entry(wm1);
        }
        a(n - 1, n - 2) = entry(1.0);
    } else {
        for (int i = 0; i < m; ++i) {
            a(i, (i + m - 2) % m) = entry(w1);
            a(i, (i + m - 1) % m) = entry(w0);
            a(i, i) = entry(wm1);
        }
    }
    return a;
}

qvColumnVector<BetaPoint> BetaRightSide(BetaSystem kind, const BetaPoint* p, int step, int m) {
    if (kind == BetaSystem::Ring) {
        qvColumnVector<BetaPoint> r(m);
        for (int i = 0; i < m; ++i) r[i] = p[i * step];
        return r;
    }
    qvColumnVector<BetaPoint> r(m + 2);
    r[0] = p[0];
    for (int j = 0; j < m; ++j) r[j + 1] = p[j * step];
    r[m + 1] = p[(m - 1) * step];
    return r;
}

qvColumnVector<BetaPoint> BetaSolveDense(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int step,
                                         int m) {
    qvMatrix<BetaPoint> a = BetaDenseMatrix(b, kind, m);
    qvColumnVector<BetaPoint> r = BetaRightSide(kind, p, step, m);
    qvColumnVector<BetaPoint> x;
    a.SolveEquationGaussMethod(x, r);
    return x;
}

namespace {

// Fills the band store with the matrix of the system of spline b for m
// points: one sub- and one super-diagonal for an open curve; two
// sub-diagonals and the corner entries in the last two columns for a ring.
// Either way a row never spans more than three columns of the band.
template <class Store>
void FillBand(Store& store, const BetaSpline& b, BetaSystem kind, int m) {
    const int n = BetaOrder(kind, m);
    const double w1 = b.BetaBlend(1.0), w0 = b.BetaBlend(0.0), wm1 = b.BetaBlend(-1.0);
    if (kind == BetaSystem::Open) {
        store.Set(0, 1, 1.0);
        for (int r = 1; r <= n - 2; ++r) {
            store.Set(r, r - 1, w1);
            store.Set(r, r, w0);
            store.Set(r, r + 1, wm1);
        }
        store.Set(n - 1, n - 2, 1.0);
    } else {
        for (int i = 0; i < m; ++i) {
            std::pair<int, double> row[3] = {{(i + m - 2) % m, w1}, {(i + m - 1) % m, w0}, {i, wm1}};
            std::sort(row, row + 3);
            for (const auto& e : row) store.Set(i, e.first, e.second);
        }
    }
}

// The band solves on a store that updates rows the dense solver's way
// (open systems) or the classic way (rings, whose rows with the corner
// entries would overflow the dense solver's way).
template <bool multipliers>
void SolveRows(const BetaSpline& b, BetaSystem kind, int m, BetaPoint* const* rows, int k, BetaPoint* x, int xStep) {
    BandStore<BetaPoint, multipliers> store(BetaOrder(kind, m), 4, kind == BetaSystem::Ring ? 2 : 0);
    FillBand(store, b, kind, m);
    BandElimination<BandStore<BetaPoint, multipliers>> band(store, rows, k);
    band.Eliminate();
    band.Substitute(x, xStep);
}

// The matrix is eliminated once, its operations on the right-hand sides
// recorded; then the right-hand sides are gathered, replayed and
// substituted a few at a time, side by side (so that their independent
// operations overlap), straight from and to their strided storage.
template <bool multipliers>
void SolveEach(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
               BetaPoint* x, int xi, int xc) {
    constexpr int kSide = 16;
    const int n = BetaOrder(kind, m);
    const int side = nrhs < kSide ? nrhs : kSide;
    BandStore<BetaPoint, multipliers> store(n, 4, kind == BetaSystem::Ring ? 2 : 0);
    FillBand(store, b, kind, m);
    BandScratch work(BandScratch::Bytes<BetaPoint>(static_cast<std::size_t>(n) * side) + BandScratch::Bytes<BetaPoint*>(n));
    BetaPoint* v = work.Take<BetaPoint>(static_cast<std::size_t>(n) * side);
    BetaPoint** none = work.Take<BetaPoint*>(n);
    for (int r = 0; r < n; ++r) none[r] = nullptr;
    BandJournal journal;
    BandElimination<BandStore<BetaPoint, multipliers>> band(store, none, 0);
    band.Record(&journal);
    band.Eliminate();
    band.RecordSubstitution();
    for (int c0 = 0; c0 < nrhs; c0 += side) {
        const int g = nrhs - c0 < side ? nrhs - c0 : side;
        // Equation r asks for point r of a ring; of an open curve, for P_0
        // in rows 0 and 1, P_{r-1} below, and P_{m-1} in the last row.
        BetaPoint* at = kind == BetaSystem::Ring ? v : v + g;
        for (int c = 0; c < g; ++c) {
            const BetaPoint* src = p + static_cast<std::ptrdiff_t>(c0 + c) * pc;
            for (int i = 0; i < m; ++i) at[static_cast<std::ptrdiff_t>(i) * g + c] = src[static_cast<std::ptrdiff_t>(i) * pi];
        }
        if (kind == BetaSystem::Open)
            for (int c = 0; c < g; ++c) {
                v[c] = v[g + c];
                v[static_cast<std::ptrdiff_t>(n - 1) * g + c] = v[static_cast<std::ptrdiff_t>(n - 2) * g + c];
            }
        band.Replay(v, g);
        band.SubstituteReplayed(v, g, x + static_cast<std::ptrdiff_t>(c0) * xc, xi, xc);
    }
}

}  // namespace

void BetaSolveBandRows(const BetaSpline& b, BetaSystem kind, int m, BetaPoint* const* rows, int k, BetaPoint* x,
                       int xStep) {
    if (kind == BetaSystem::Ring) {
        SolveRows<true>(b, kind, m, rows, k, x, xStep);
    } else {
        SolveRows<false>(b, kind, m, rows, k, x, xStep);
    }
}

void BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
                   BetaPoint* x, int xi, int xc) {
    if (kind == BetaSystem::Ring) {
        SolveEach<true>(b, kind, p, pi, pc, m, nrhs, x, xi, xc);
    } else {
        SolveEach<false>(b, kind, p, pi, pc, m, nrhs, x, xi, xc);
    }
}

qvColumnVector<BetaPoint> BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int step, int m) {
    qvColumnVector<BetaPoint> x(BetaOrder(kind, m));
    BetaSolveBand(b, kind, p, step, 0, m, 1, x.GetPointer(), x.Tab(), 0);
    return x;
}

void BetaRingLayout(const BetaPoint* d, int dStep, int m, BetaPoint* out, int step) {
    out[0] = d[(m - 2) * dStep];
    out[step] = d[(m - 1) * dStep];
    for (int i = 0; i < m; ++i) out[(i + 2) * step] = d[i * dStep];
    out[(m + 2) * step] = d[0];
}

}  // namespace qvDetail
