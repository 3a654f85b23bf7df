#include "cqv/betaspline/beta_contour.h"

#include "cqv/betaspline/beta_internal.h"
#include "cqv/betaspline/messages.h"
#include "cqv/core/exceptions.h"

using qvDetail::BetaPoint;

namespace {

// The control sequence of the closed curve of spline b through the ring,
// solved by the dense solver or on the band: D_{m-2}, D_{m-1}, D_0 ..
// D_{m-1}, D_0. A ring of fewer than 3 points throws before anything is
// solved.
qvColumnVector<BetaPoint> SolveRing(const BetaSpline& b, const qvVector<BetaPoint>& ring, bool band) {
    const int m = ring.Len();
    if (m < 3) throw BadParameters(qvMsg::BetaContourTooFewPoints);
    const BetaPoint* p = ring.GetPointer();
    const int step = ring.Tab();
    const qvColumnVector<BetaPoint> d = band ? qvDetail::BetaSolveBand(b, qvDetail::BetaSystem::Ring, p, step, m)
                                             : qvDetail::BetaSolveDense(b, qvDetail::BetaSystem::Ring, p, step, m);
    qvColumnVector<BetaPoint> c(m + 3);
    qvDetail::BetaRingLayout(d.GetPointer(), d.Tab(), m, c.GetPointer(), c.Tab());
    return c;
}

}  // namespace

BetaContour::BetaContour(double skewValue, double tensionValue) : BetaCurve(skewValue, tensionValue) {}

BetaContour::BetaContour(const qvVector<qvTVec3<double>>& ring, double skewValue, double tensionValue) {
    Init(ring, skewValue, tensionValue);
}

BetaContour::BetaContour(const qvVector<qvTVec3<double>>& ring) { Init(ring, 1.0, 0.0); }

BetaContour::BetaContour(const BetaContour& c) : BetaCurve(c) {}

BetaContour& BetaContour::operator=(const BetaContour& c) {
    BetaCurve::operator=(c);
    return *this;
}

BetaContour::~BetaContour() {}

void BetaContour::Init(const qvVector<qvTVec3<double>>& ring, double skewValue, double tensionValue) {
    const BetaSpline shape(skewValue, tensionValue);
    const qvColumnVector<BetaPoint> c = SolveRing(shape, ring, false);
    BetaSpline::operator=(shape);
    control = c;
}

void BetaContour::MakeInterpolation(const qvVector<qvTVec3<double>>& ring) { control = SolveRing(*this, ring, false); }

void BetaContour::MakeBandInterpolation(const qvVector<qvTVec3<double>>& ring) {
    control = SolveRing(*this, ring, true);
}

qvTVec3<double> BetaContour::operator()(double u) const {
    CheckControls();
    const BetaPoint* c = control.GetPointer();
    const int step = control.Tab();
    return qvDetail::BetaRingPoint(*this, control.Len() - 3, u,
                                   [&](int j) -> const BetaPoint& { return c[j * step]; });
}

qvTVec3<double> BetaContour::GetTangent(double u) const {
    CheckControls();
    const BetaPoint* c = control.GetPointer();
    const int step = control.Tab();
    const int m = control.Len() - 3;
    if (!(u >= 0.0 && u < 1.0)) u = 0.0;
    const double s = m * u;
    const BetaPoint d = qvDetail::BetaSumDeriv(*this, s, qvDetail::BetaFirstIndex(s),
                                               [&](int j) -> const BetaPoint& { return c[j * step]; });
    return d / d.Norm();
}

qvTVec3<double> BetaContour::GetControl(int i) const { return control[i + 2]; }

int BetaContour::GetControlNumber() const { return control.Len() > 0 ? control.Len() - 3 : 0; }

void BetaContour::SetControl(int i, qvTVec3<double>& p) {
    const BetaPoint q = p;
    const int S = control.Len();
    const int m = S - 3;
    control[i + 2] = q;
    if (i == 0) {
        control[S - 1] = q;
    } else if (i == m - 1) {
        control[1] = q;
    } else if (i == m - 2) {
        control[0] = q;
    }
}
