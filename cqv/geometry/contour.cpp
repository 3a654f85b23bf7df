#include "cqv/geometry/contour.h"

#include <cmath>

#include "cqv/arrays/simple_array_impl.h"
#include "cqv/core/exceptions.h"
#include "cqv/geometry/messages.h"

CQV_INSTANTIATE(qvSimpleArray<qvSimpleContour2D>)

namespace {

void RequirePoints(int n) {
    if (n == 0) throw BadParameters(qvMsg::CurveNoPoint);
}

// The index of the point of pts[0..n) nearest to p (farther when Farther
// is true), the lowest index on a tie; d2 receives its squared distance.
template <bool Farther>
int ExtremeIndex(const qvVec2* pts, int n, const qvVec2& p, double& d2) {
    int best = 0;
    double bd = (pts[0] - p).ScalarMul();
    for (int i = 1; i < n; ++i) {
        const double d = (pts[i] - p).ScalarMul();
        if (Farther ? d > bd : d < bd) {
            bd = d;
            best = i;
        }
    }
    d2 = bd;
    return best;
}

// As ExtremeIndex, for a curve that must have points; d receives the
// distance itself.
template <bool Farther>
int ExtremeWithDistance(const qvVec2* pts, int n, const qvVec2& p, double& d) {
    RequirePoints(n);
    double d2;
    const int k = ExtremeIndex<Farther>(pts, n, p, d2);
    d = std::sqrt(d2);
    return k;
}

// |q - p|, as qvVec2::Norm computes it.
inline double EdgeLength(const qvVec2& p, const qvVec2& q) {
    const double dx = q.X() - p.X();
    const double dy = q.Y() - p.Y();
    return std::sqrt(dx * dx + dy * dy);
}

// The side of a triangle in the area strip between two contours: the
// distance with 100 added under the root.
inline double StripSide(const qvVec2& p, const qvVec2& q) {
    const double dx = p.X() - q.X();
    const double dy = p.Y() - q.Y();
    return std::sqrt(dx * dx + dy * dy + 100);
}

// Heron's formula for the triangle with sides a, b, c.
inline double Heron(double a, double b, double c) {
    const double s = (a + b + c) / 2;
    return std::sqrt(s * (s - a) * (s - b) * (s - c));
}

// Whether the edge from u to v of a contour being cut crosses the line, by
// the signed distances of u, v and of w, the point before u.
inline bool EdgeCrosses(double dw, double du, double dv) {
    return du * dv < 0 || (du > 0 && dv == 0) || (du == 0 && dv > 0 && dw < 0);
}

// The sign of (y - x) × (z - x): -1, 0 or +1.
inline int Turn(const qvVec2& x, const qvVec2& y, const qvVec2& z) {
    const double c = (y.X() - x.X()) * (z.Y() - x.Y()) - (y.Y() - x.Y()) * (z.X() - x.X());
    return (c > 0) - (c < 0);
}

}  // namespace

// ---- qvCurve2D ------------------------------------------------------------

qvCurve2D::qvCurve2D() {}

qvCurve2D::qvCurve2D(int n) : qvArray<qvVec2>(n) {}

qvCurve2D::qvCurve2D(const qvCurve2D& c) : qvArray<qvVec2>(c) {}

qvCurve2D& qvCurve2D::operator=(const qvCurve2D& c) {
    qvArray<qvVec2>::operator=(c);
    return *this;
}

qvCurve2D::~qvCurve2D() {}

const char* qvCurve2D::GetTypeString() const { return "qvCurve2D"; }

qvVec2 qvCurve2D::GetCenter() const {
    RequirePoints(len);
    double sx = 0, sy = 0;
    for (int i = 0; i < len; ++i) {
        sx += data[i].X();
        sy += data[i].Y();
    }
    return qvVec2(sx / len, sy / len);
}

qvRect<qvVec2> qvCurve2D::GetRect() const {
    RequirePoints(len);
    double x0 = data[0].X(), x1 = x0, y0 = data[0].Y(), y1 = y0;
    for (int i = 1; i < len; ++i) {
        const double x = data[i].X(), y = data[i].Y();
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
    }
    return qvRect<qvVec2>(qvVec2(x0, y0), qvVec2(x1, y1));
}

int qvCurve2D::GetIndexOfMinDistance(double& d, const qvVec2& p) const {
    return ExtremeWithDistance<false>(data, len, p, d);
}

int qvCurve2D::GetIndexOfMaxDistance(double& d, const qvVec2& p) const {
    return ExtremeWithDistance<true>(data, len, p, d);
}

int qvCurve2D::GetIndexOfMaxDistance(int& j, const qvCurve2D& c) const {
    RequirePoints(len);
    RequirePoints(c.len);
    int bestK = 0, bestJ = 0;
    double bestD = 0;
    for (int k = 0; k < c.len; ++k) {
        double d;
        const int near = ExtremeIndex<false>(data, len, c.data[k], d);
        if (k == 0 || d > bestD) {
            bestK = k;
            bestJ = near;
            bestD = d;
        }
    }
    j = bestJ;
    return bestK;
}

// ---- qvSimpleContour2D ----------------------------------------------------

qvSimpleContour2D::qvSimpleContour2D() {}

qvSimpleContour2D::qvSimpleContour2D(int n) : qvCurve2D(n) {}

qvSimpleContour2D::qvSimpleContour2D(const qvSimpleContour2D& c) : qvCurve2D(c) {}

qvSimpleContour2D& qvSimpleContour2D::operator=(const qvSimpleContour2D& c) {
    qvCurve2D::operator=(c);
    return *this;
}

qvSimpleContour2D::~qvSimpleContour2D() {}

const char* qvSimpleContour2D::GetTypeString() const { return "qvSimpleContour2D"; }

double qvSimpleContour2D::GetLengthOfCurve() const {
    if (len == 0) return 0;
    const qvVec2* p = data;
    // The edge lengths of a stretch of edges first, in a loop whose roots
    // the compiler vectorises, then their sum in index order.
    constexpr int kStretch = 256;
    double lengths[kStretch];
    double sum = 0;
    for (int i0 = 0; i0 + 1 < len; i0 += kStretch) {
        const int m = len - 1 - i0 < kStretch ? len - 1 - i0 : kStretch;
        for (int j = 0; j < m; ++j) lengths[j] = EdgeLength(p[i0 + j], p[i0 + j + 1]);
        for (int j = 0; j < m; ++j) sum += lengths[j];
    }
    return sum + EdgeLength(p[len - 1], p[0]);
}

double qvSimpleContour2D::GetSignedS() const {
    if (len == 0) return 0;
    const qvVec2* p = data;
    double sum = 0;
    for (int i = 0; i + 1 < len; ++i) sum += p[i].X() * p[i + 1].Y() - p[i + 1].X() * p[i].Y();
    sum += p[len - 1].X() * p[0].Y() - p[0].X() * p[len - 1].Y();
    return sum / 2;
}

double qvSimpleContour2D::GetS() const { return std::fabs(GetSignedS()); }

int qvSimpleContour2D::GetOrient() const { return GetSignedS() > 0 ? 0 : 1; }

void qvSimpleContour2D::SetOrient(int o) {
    if (GetOrient() != o) InverseOrder();
}

void qvSimpleContour2D::MakeCoherent(const qvSimpleContour2D& q) {
    if (q.len != len) throw BadParameters(qvMsg::CoherentLengthsDiffer);
    SetOrient(q.GetOrient());
    if (len == 0) return;
    int j;
    const int k = GetIndexOfMaxDistance(j, q);
    if (k == j) return;
    // Rotating left by j - k (mod n) brings P[j] to index k.
    CycleLeftShift(((j - k) % len + len) % len);
}

void qvSimpleContour2D::MakeCoherentS(const qvSimpleContour2D& q) {
    if (q.len != len) throw BadParameters(qvMsg::CoherentLengthsDiffer);
    const int n = len;
    if (n == 0) return;
    // Sides that do not depend on the shift: along this contour (A_i A_j,
    // by the index of A_i in P) and along q (B_i B_j). The cross sides
    // |P[(i + m) mod n] - Q[i]| of shift m are the sides A_i B_i of that
    // shift and, read one index on, the sides A_i B_j of shift m + 1; two
    // rows of them are kept. The room for them is taken before anything
    // changes.
    qvArray<double> scratch(4 * n);
    SetOrient(q.GetOrient());
    const qvVec2* P = data;
    const qvVec2* Q = q.data;
    double* alongP = scratch.GetPointer();
    double* alongQ = alongP + n;
    double* cross = alongQ + n;    // shift m
    double* before = cross + n;    // shift m - 1
    for (int i = 0; i < n; ++i) {
        const int i1 = i + 1 < n ? i + 1 : 0;
        alongP[i] = StripSide(P[i], P[i1]);
        alongQ[i] = StripSide(Q[i], Q[i1]);
        before[i] = StripSide(P[(i + n - 1) % n], Q[i]);
    }
    double best = 0;
    int bestShift = 0;
    for (int m = 0; m < n; ++m) {
        for (int i = 0, a = m; i < n; ++i, a = a + 1 < n ? a + 1 : 0) cross[i] = StripSide(P[a], Q[i]);
        double sum = 0;
        for (int i = 0, a = m; i < n; ++i, a = a + 1 < n ? a + 1 : 0) {
            const int i1 = i + 1 < n ? i + 1 : 0;
            const double aiBj = before[i1];
            sum += Heron(cross[i], alongQ[i], aiBj);     // (A_i, B_i, B_j)
            sum += Heron(alongP[a], cross[i1], aiBj);   // (A_i, A_j, B_j)
        }
        const double t = sum / 2;
        if (best == 0 || t < best) {
            best = t;
            bestShift = m;
        }
        double* swap = before;
        before = cross;
        cross = swap;
    }
    CycleLeftShift(bestShift);
}

qvVec2 qvSimpleContour2D::operator()(double t) const {
    RequirePoints(len);
    const double u = len * t;
    if (!std::isfinite(u)) return qvVec2(std::nan(""), std::nan(""));
    const double whole = std::floor(u);
    const double f = u - whole;
    double r = std::fmod(whole, static_cast<double>(len));
    if (r < 0) r += len;
    const int i0 = static_cast<int>(r);
    const int i1 = i0 + 1 < len ? i0 + 1 : 0;
    return data[i0] * (1 - f) + data[i1] * f;
}

qvSimpleContour2D qvSimpleContour2D::CutByStraightLine(const qvGeom::StraightLine2D& l) const {
    const int n = len;
    if (n < 3) throw BadParameters(qvMsg::CutTooFewPoints);
    const qvVec2* P = data;
    // Each edge adds at most one crossing to the n points.
    qvSimpleContour2D r(2 * n);
    qvVec2* out = r.data;
    int m = 0;
    const double first = l.GetDist(P[0]);
    double dw = l.GetDist(P[n - 1]);  // the point before u
    double du = first;
    if (du >= 0) out[m++] = P[0];
    for (int i = 1; i < n; ++i) {
        const double dv = l.GetDist(P[i]);
        if (EdgeCrosses(dw, du, dv) && qvGeom::Intersect(l, qvGeom::Segment2D(P[i - 1], P[i]), out + m)) ++m;
        if (dv >= 0) out[m++] = P[i];
        dw = du;
        du = dv;
    }
    if (EdgeCrosses(dw, du, first) && qvGeom::Intersect(l, qvGeom::Segment2D(P[n - 1], P[0]), out + m)) ++m;
    r.Regrow(m);
    return r;
}

qvSimpleContour2D qvSimpleContour2D::qvPolyLineToRange(const qvArray<int>& r) const {
    if (r.Len() != 2) throw BadParameters(qvMsg::RangeNotTwo);
    const double right = static_cast<double>(r[0]) - 1;
    const double top = static_cast<double>(r[1]) - 1;
    using qvGeom::StraightLine2D;
    return CutByStraightLine(StraightLine2D(qvVec2(right, 0), qvVec2(0, 0)))
        .CutByStraightLine(StraightLine2D(qvVec2(0, top), qvVec2(right, top)))
        .CutByStraightLine(StraightLine2D(qvVec2(0, 0), qvVec2(0, top)))
        .CutByStraightLine(StraightLine2D(qvVec2(right, top), qvVec2(right, 0)));
}

namespace {

// Whether the turn changes from t0 to a non-zero t1 of another sign: the
// first half of the crossing test, s(A, B, D) != 0 and s(A, B, C) !=
// s(A, B, D), from the turns of C and D. Bitwise, without branches, so
// that loops over it vectorise; NaN turns have sign 0 as in Turn.
inline int SignChange(double t0, double t1) {
    return (static_cast<int>(t1 > 0) & (static_cast<int>(t0 > 0) ^ 1)) |
           (static_cast<int>(t1 < 0) & (static_cast<int>(t0 < 0) ^ 1));
}

}  // namespace

int qvSimpleContour2D::IsIntersect() const {
    const int n = len;
    if (n < 3) return 0;  // two edges at most, and those are adjacent
    const qvVec2* P = data;
    // For each edge A–B the turns of the later points against its line are
    // computed first, in a plain loop the compiler vectorises (t[k] for
    // P[k], t[n] for P[0]), each the same product difference as Turn(A, B,
    // P[k]); the first half of the test holds where the turn changes sign
    // from one point to the next. Blocks of points without a change are
    // passed over whole, the others checked pair by pair. The edges next to
    // A–B are left out: they share a point with it, and the second half
    // (the first, for the edge ending in A) is then exactly 0.
    qvArray<double> turns(n + 1);
    double* t = turns.GetPointer();
    constexpr int kBlock = 64;
    for (int i = 0; i + 2 < n; ++i) {
        const qvVec2 a = P[i], b = P[i + 1];
        const double ax = a.X(), ay = a.Y(), ex = b.X() - ax, ey = b.Y() - ay;
        const int last = i == 0 ? n - 1 : n;  // one past the last edge to test
        for (int k = i + 2; k < n; ++k) t[k] = ex * (P[k].Y() - ay) - ey * (P[k].X() - ax);
        t[n] = ex * (P[0].Y() - ay) - ey * (P[0].X() - ax);
        for (int k0 = i + 2; k0 < last; k0 += kBlock) {
            const int k1 = k0 + kBlock < last ? k0 + kBlock : last;
            int any = 0;
            for (int k = k0; k < k1; ++k) any |= SignChange(t[k], t[k + 1]);
            if (any == 0) continue;
            for (int k = k0; k < k1; ++k) {
                if (SignChange(t[k], t[k + 1]) == 0) continue;
                const qvVec2& c = P[k];
                const qvVec2& d = P[k + 1 < n ? k + 1 : 0];
                const int cdb = Turn(c, d, b);
                if (cdb != 0 && Turn(c, d, a) != cdb) return 1;
            }
        }
    }
    return 0;
}

int qvSimpleContour2D::IsInsidePoint(const qvVec2& p) const {
    const int n = len;
    if (n == 0) return -1;
    const double px = p.X(), py = p.Y();
    const qvVec2* P = data;
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const qvVec2& a = P[i];
        const qvVec2& b = P[i + 1 < n ? i + 1 : 0];
        const double ay = a.Y(), by = b.Y();
        if (ay == by) {
            if (ay == py && ((a.X() <= px && px <= b.X()) || (b.X() <= px && px <= a.X()))) return 0;
            continue;
        }
        const bool aAbove = ay > py, bAbove = by > py;
        if (aAbove != bAbove) {
            double x;
            if (ay == py) {
                x = a.X();
            } else if (by == py) {
                x = b.X();
            } else {
                x = a.X() + (py - ay) * (b.X() - a.X()) / (by - ay);
            }
            if (x == px) return 0;
            if (x > px) ++crossings;
        } else if (!aAbove && ((ay == py && a.X() == px) || (by == py && b.X() == px))) {
            return 0;
        }
    }
    return crossings % 2 != 0 ? 1 : -1;
}
