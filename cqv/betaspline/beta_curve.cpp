#include "cqv/betaspline/beta_curve.h"

#include <cmath>

#include "cqv/betaspline/beta_internal.h"
#include "cqv/betaspline/messages.h"
#include "cqv/core/exceptions.h"

using qvDetail::BetaPoint;

namespace {

// Solves the open system of the spline b for the points, by the dense
// solver or on the band. Fewer than 2 points throw before anything is
// solved.
qvColumnVector<BetaPoint> SolveOpen(const BetaSpline& b, const qvVector<BetaPoint>& points, bool band) {
    const int m = points.Len();
    if (m < 2) throw BadParameters(qvMsg::BetaCurveTooFewPoints);
    const BetaPoint* p = points.GetPointer();
    const int step = points.Tab();
    return band ? qvDetail::BetaSolveBand(b, qvDetail::BetaSystem::Open, p, step, m)
                : qvDetail::BetaSolveDense(b, qvDetail::BetaSystem::Open, p, step, m);
}

// The most moves the search for one point of Rebuild makes. Each change of
// direction halves the step, which starts at 1/k >= 2^-31; some sixty
// halvings take it below the spacing of doubles near 1, and the search
// alternates at most twice per halving while it closes in.
constexpr int kRebuildMoves = 128;

}  // namespace

BetaCurve::BetaCurve(double skewValue, double tensionValue) : BetaSpline(skewValue, tensionValue) {}

BetaCurve::BetaCurve(const qvVector<qvTVec3<double>>& points, double skewValue, double tensionValue) {
    Init(points, skewValue, tensionValue);
}

BetaCurve::BetaCurve(const qvVector<qvTVec3<double>>& points) { Init(points, 1.0, 0.0); }

BetaCurve::BetaCurve(const BetaCurve& c) : BetaSpline(c), control(c.control) {}

BetaCurve& BetaCurve::operator=(const BetaCurve& c) {
    if (&c != this) {
        BetaSpline::operator=(c);
        control = c.control;
    }
    return *this;
}

BetaCurve::~BetaCurve() {}

void BetaCurve::Init(const qvVector<qvTVec3<double>>& points, double skewValue, double tensionValue) {
    const BetaSpline shape(skewValue, tensionValue);
    const qvColumnVector<BetaPoint> x = SolveOpen(shape, points, false);
    BetaSpline::operator=(shape);
    control = x;
}

void BetaCurve::MakeInterpolation(const qvVector<qvTVec3<double>>& points) {
    control = SolveOpen(*this, points, false);
}

void BetaCurve::MakeBandInterpolation(const qvVector<qvTVec3<double>>& points) {
    control = SolveOpen(*this, points, true);
}

void BetaCurve::CheckControls() const {
    if (control.Len() < 4) throw BadParameters(qvMsg::BetaCurveNoControls);
}

qvTVec3<double> BetaCurve::operator()(double u) const {
    CheckControls();
    return qvDetail::BetaOpenPoint(*this, control.GetPointer(), control.Tab(), control.Len(), u);
}

qvTVec3<double> BetaCurve::GetTangent(double u) const {
    CheckControls();
    const BetaPoint* c = control.GetPointer();
    const int step = control.Tab();
    const int S = control.Len();
    if (u <= 0.0) return (c[2 * step] - c[step]) * 3.0 * (skew + 1.0) * a;
    if (u >= 1.0) return (c[(S - 2) * step] - c[(S - 3) * step]) * 3.0 * (a * (skew * skew) + f);
    const double s = (S - 3) * u;
    const BetaPoint d = qvDetail::BetaSumDeriv(*this, s, qvDetail::BetaFirstIndex(s),
                                               [&](int j) -> const BetaPoint& { return c[j * step]; });
    return d / d.Norm();
}

qvTVec3<double> BetaCurve::GetControl(int i) const { return control[i + 1]; }

int BetaCurve::GetControlNumber() const { return control.Len() > 0 ? control.Len() - 2 : 0; }

void BetaCurve::SetControl(int i, qvTVec3<double>& p) {
    const BetaPoint q = p;
    const int S = control.Len();
    const double b3 = skew * skew * skew;
    control[i + 1] = q;
    if (i == 0) {
        control[0] = q + (q - control[2]) / b3;
    } else if (i == 1) {
        control[0] = control[1] + (control[1] - q) / b3;
    } else if (i + 1 == S - 2) {
        control[S - 1] = q + (q - control[S - 3]) * b3;
    } else if (i + 1 == S - 3) {
        control[S - 1] = control[S - 2] + (control[S - 2] - q) * b3;
    }
}

double BetaCurve::GetLength() const {
    BetaPoint prev = (*this)(0.0);
    double length = 0.0;
    for (double u = 0.02; u <= 1.0; u += 0.02) {
        const BetaPoint q = (*this)(u);
        length += (q - prev).Norm();
        prev = q;
    }
    return length;
}

double BetaCurve::FindCrossection(qvTVec3<double>& dir, qvTVec3<double>& p, double u0) const {
    return dir.X() != 0.0 ? FindCrosX(dir, p, u0) : FindCrosY(dir, p, u0);
}

namespace {

// Newton's method on the residual F(u) = Q[along] - k·Q[across] - c of the
// line through p, with the forward-difference derivative over 0.001.
template <class Curve>
double NewtonCrossing(const Curve& curve, int along, int across, const BetaPoint& dir, const BetaPoint& p, double u0,
                      double tol) {
    const double k = dir[along] / dir[across];
    const double c = p[along] - k * p[across];
    double u = u0;
    for (int it = 0; it < 100; ++it) {
        const BetaPoint q = curve(u);
        const double F = q[along] - k * q[across] - c;
        const BetaPoint q1 = curve(u + 0.001);
        const double D = 1000.0 * (q1[along] - q[along]) - 1000.0 * (q1[across] - q[across]) * k;
        const double next = D == 0.0 ? u + 0.001 : u - F / D;
        if (std::fabs(F) <= tol || std::fabs(next - u) <= tol) return next;
        u = next;
    }
    return 0.0;
}

}  // namespace

double BetaCurve::FindCrosX(qvTVec3<double>& dir, qvTVec3<double>& p, double u0) const {
    if (dir.X() == 0.0) return 0.0;
    return NewtonCrossing(*this, 1, 0, dir, p, u0, 0.0001);
}

double BetaCurve::FindCrosY(qvTVec3<double>& dir, qvTVec3<double>& p, double u0) const {
    if (dir.Y() == 0.0) return 0.0;
    return NewtonCrossing(*this, 0, 1, dir, p, u0, 1e-6);
}

void BetaCurve::Rebuild(int k) {
    if (k < 5) return;
    const double step = GetLength() / k;
    const double du = 1.0 / k;
    qvVector<BetaPoint> pts(k);
    pts[0] = (*this)(0.0);
    int count = 1;
    double reached = 0.0;  // polyline length up to the last point
    double target = step;
    double u = du;
    double uPrev = 0.0;
    for (int i = 1; i < k && u < 1.0; ++i) {
        double h = du;
        int last = 0;  // the last move: 1 forward, -1 back, 0 none yet
        BetaPoint q;
        double c;
        for (int moves = 0;; ++moves) {
            q = (*this)(u);
            c = reached + (q - pts[i - 1]).Norm();
            if (std::fabs(c - target) * k < 0.1 || u == 1.0 || moves == kRebuildMoves) break;
            if (c <= target) {
                if (last != 1) h = h / 2;
                u += h;
                if (u > 1.0) u = 1.0;
                last = 1;
            } else {
                if (last != -1) h = h / 2;
                u -= h;
                if (u < uPrev) u = uPrev;
                last = -1;
            }
        }
        reached = c;
        target += step;
        uPrev = u;
        u += du;
        if (u > 1.0) u = 1.0;
        pts[i] = q;
        ++count;
    }
    pts.resize(count);
    Init(pts, skew, tension);
}
