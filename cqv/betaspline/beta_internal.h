// Pieces shared by the Beta-spline curve, contour and tube; library-private.
#ifndef CQV_BETASPLINE_BETA_INTERNAL_H
#define CQV_BETASPLINE_BETA_INTERNAL_H

#include "cqv/betaspline/beta_spline.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"
#include "cqv/values/vec3.h"

namespace qvDetail {

using BetaPoint = qvTVec3<double>;

// Σ B(s - j + 1)·point(j) for j = j0 .. j0 + 3, added in that order.
template <class F>
inline BetaPoint BetaSum(const BetaSpline& b, double s, int j0, F point) {
    BetaPoint r = point(j0) * b.BetaBlend(s - j0 + 1);
    for (int j = j0 + 1; j <= j0 + 3; ++j) r += point(j) * b.BetaBlend(s - j + 1);
    return r;
}

// The same sum with B'.
template <class F>
inline BetaPoint BetaSumDeriv(const BetaSpline& b, double s, int j0, F point) {
    BetaPoint r = point(j0) * b.BetaBlendDeriv(s - j0 + 1);
    for (int j = j0 + 1; j <= j0 + 3; ++j) r += point(j) * b.BetaBlendDeriv(s - j + 1);
    return r;
}

// The first of the four control points that blend at s = n·u for a
// parameter 0 <= u < 1: s truncated. (The product of a count n and the
// largest double below 1 rounds below n, so the four points are always
// there.)
inline int BetaFirstIndex(double s) { return static_cast<int>(s); }

// The point at v of the open sequence of S >= 4 control points
// c[0], c[step], ...: c[1] for v <= 0, c[S-2] for v >= 1, else the blended
// sum at s = (S - 3)·v.
inline BetaPoint BetaOpenPoint(const BetaSpline& b, const BetaPoint* c, int step, int S, double v) {
    if (v <= 0.0) return c[step];
    if (v >= 1.0) return c[(S - 2) * step];
    const double s = (S - 3) * v;
    return BetaSum(b, s, BetaFirstIndex(s), [&](int j) -> const BetaPoint& { return c[j * step]; });
}

// The point at u of a closed sequence of m ring control points with their
// wrap copies, point(0) .. point(m + 2): u outside [0, 1) counts as 0, and
// s = m·u.
template <class F>
inline BetaPoint BetaRingPoint(const BetaSpline& b, int m, double u, F point) {
    if (!(u >= 0.0 && u < 1.0)) u = 0.0;
    const double s = m * u;
    return BetaSum(b, s, BetaFirstIndex(s), point);
}

// Which system a set of control points solves.
enum class BetaSystem {
    Open,  // S = m + 2 control points of an open curve through m points
    Ring   // m control points of a closed curve through a ring of m points
};

// Order of the system for m points.
inline int BetaOrder(BetaSystem kind, int m) { return kind == BetaSystem::Open ? m + 2 : m; }

// The dense matrix of the system for m points, each entry (w, w, w).
qvMatrix<BetaPoint> BetaDenseMatrix(const BetaSpline& b, BetaSystem kind, int m);

// The right-hand side for the points p[0], p[step], ..., p[(m-1)·step]:
// the points themselves for a ring, P_0, P_0 .. P_{m-1}, P_{m-1} for an open
// curve.
qvColumnVector<BetaPoint> BetaRightSide(BetaSystem kind, const BetaPoint* p, int step, int m);

// Solves the system for the m points p[0], p[step], ... by the dense Gauss
// solver; the solution has BetaOrder(kind, m) elements.
qvColumnVector<BetaPoint> BetaSolveDense(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int step, int m);

// Solves the system for m points and nrhs right-hand sides on the band of
// its matrix (band_elimination_internal.h): an open system by the very
// eliminations of the dense solver, a ring by the classic partial-pivot
// elimination, which does not overflow on long rings as the dense solver's
// does. The matrix is eliminated once; each right-hand side then goes
// through the recorded operations on its own. Point i of right-hand side c
// is p[i·pi + c·pc], and unknown j of right-hand side c is written to
// x[j·xi + c·xc]. Throws the solver's text at an exact zero pivot, with
// the unknowns written so far as the dense solver leaves them.
void BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
                   BetaPoint* x, int xi, int xc);

// The control net of the tube through mv >= 2 rings of mu >= 3 points,
// point j of ring i at p[j·pi + i·pr], solved on the band: every ring as
// BetaSolveBand solves a ring, then every column of ring control points
// as an open curve, by the same operations as BetaSolveBand's. net points
// to mv + 2 rows of mu + 3 contiguous points, row r at net + r·netRow, all
// of which are written, the wrap columns included. The rings are solved a
// few at a time side by side and copied to their rows, and the
// eliminations along are carried out on the rows while they are fresh in
// the cache, so that the net is gone over only twice; while a group is
// solved, the next group's points and the group's rows are fetched into
// the cache. Throws the solver's text at an exact zero pivot before
// anything is written.
void BetaSolveTube(const BetaSpline& b, const BetaPoint* p, int pi, int pr, int mu, int mv, BetaPoint* net,
                   int netRow);

// The same for one right-hand side, into a new column vector.
qvColumnVector<BetaPoint> BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int step, int m);

// Lays out the m solved ring control points d as the control sequence of a
// closed curve: D_{m-2}, D_{m-1}, D_0, .., D_{m-1}, D_0 (m + 3 points) into
// out[0], out[step], ....
void BetaRingLayout(const BetaPoint* d, int dStep, int m, BetaPoint* out, int step);

}  // namespace qvDetail

#endif  // CQV_BETASPLINE_BETA_INTERNAL_H
