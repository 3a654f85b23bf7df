// The interpolation systems of the Beta-spline curves and their dense
// solution.
#include "cqv/betaspline/beta_internal.h"

#include <algorithm>
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

// The band solve of BetaSolveBand on a store updating rows the dense
// solver's way (open curves) or the classic way (rings, whose rows with the
// corner entries would overflow the dense solver's way).
template <bool multipliers>
void SolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
               BetaPoint* x, int xi, int xc) {
    const int n = BetaOrder(kind, m);
    const double w1 = b.BetaBlend(1.0), w0 = b.BetaBlend(0.0), wm1 = b.BetaBlend(-1.0);
    // One sub- and one super-diagonal for an open curve; two sub-diagonals
    // and the corner entries in the last two columns for a ring. Either way
    // a row never spans more than three columns of the band.
    BandStore<BetaPoint, multipliers> store(n, 4, kind == BetaSystem::Ring ? 2 : 0);
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

    // The right-hand sides row by row, nrhs to a row; the unknowns likewise.
    BandScratch work(BandScratch::Bytes<BetaPoint>(static_cast<std::size_t>(n) * nrhs) * 2 +
                     BandScratch::Bytes<BetaPoint*>(n));
    BetaPoint* rhs = work.Take<BetaPoint>(static_cast<std::size_t>(n) * nrhs);
    BetaPoint* sol = work.Take<BetaPoint>(static_cast<std::size_t>(n) * nrhs);
    BetaPoint** rows = work.Take<BetaPoint*>(n);
    for (int r = 0; r < n; ++r) {
        // Row r asks for point r of a ring; of an open curve, for P_0 in
        // rows 0 and 1, P_{r-1} below, and P_{m-1} in the last row.
        const int i = kind == BetaSystem::Ring ? r : std::min(std::max(r - 1, 0), m - 1);
        rows[r] = rhs + static_cast<std::size_t>(r) * nrhs;
        for (int c = 0; c < nrhs; ++c) rows[r][c] = p[i * pi + c * pc];
    }
    BandElimination<BandStore<BetaPoint, multipliers>> band(store, rows, nrhs);
    band.Eliminate();
    band.Substitute(sol, nrhs);
    for (int j = 0; j < n; ++j)
        for (int c = 0; c < nrhs; ++c) x[j * xi + c * xc] = sol[static_cast<std::size_t>(j) * nrhs + c];
}

}  // namespace

void BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
                   BetaPoint* x, int xi, int xc) {
    if (kind == BetaSystem::Ring) {
        SolveBand<true>(b, kind, p, pi, pc, m, nrhs, x, xi, xc);
    } else {
        SolveBand<false>(b, kind, p, pi, pc, m, nrhs, x, xi, xc);
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
