#include "cqv/betaspline/beta_tube.h"

#include "cqv/betaspline/beta_internal.h"
#include "cqv/betaspline/messages.h"
#include "cqv/core/exceptions.h"

using qvDetail::BetaPoint;
using qvDetail::BetaSystem;

namespace {

// Repeats the ring control points of row r of a net with m ring columns in
// its wrap columns: D_{m-2}, D_{m-1} before, D_0 after.
void WrapRow(qvMatrix<BetaPoint>& net, int r, int m) {
    net(r, 0) = net(r, m);
    net(r, 1) = net(r, m + 1);
    net(r, m + 2) = net(r, 2);
}

// The control net of spline b for the rings that are the rows of p.
qvMatrix<BetaPoint> BuildNet(const BetaSpline& b, const qvMatrix<BetaPoint>& p, bool band) {
    const int mv = p.ColumnLen(), mu = p.LineLen();
    if (mv < 2) throw BadParameters(qvMsg::BetaTubeTooFewRings);
    if (mu < 3) throw BadParameters(qvMsg::BetaContourTooFewPoints);

    if (band) {
        qvMatrix<BetaPoint> net(mv + 2, mu + 3);
        qvDetail::BetaSolveTube(b, &p(0, 0), p.TabInLine(), p.TabInColumn(), mu, mv, &net(0, 0), net.TabInColumn());
        return net;
    }

    // Around: row i + 1 holds the ring control points of ring i in columns
    // 2 .. mu + 1 and their wrap copies.
    qvMatrix<BetaPoint> rings(mv + 2, mu + 3);
    for (int i = 0; i < mv; ++i) {
        const qvColumnVector<BetaPoint> d = qvDetail::BetaSolveDense(b, BetaSystem::Ring, &p(i, 0), p.TabInLine(), mu);
        for (int j = 0; j < mu; ++j) rings(i + 1, j + 2) = d[j];
    }
    for (int i = 1; i <= mv; ++i) WrapRow(rings, i, mu);

    // Along: each column's open curve control points; the wrap columns
    // repeat the solutions of the columns they copy.
    qvMatrix<BetaPoint> net(mv + 2, mu + 3);
    for (int j = 2; j < mu + 2; ++j) {
        const qvColumnVector<BetaPoint> c =
            qvDetail::BetaSolveDense(b, BetaSystem::Open, &rings(1, j), rings.TabInColumn(), mv);
        for (int i = 0; i < mv + 2; ++i) net(i, j) = c[i];
    }
    for (int i = 0; i < mv + 2; ++i) WrapRow(net, i, mu);
    return net;
}

// The matrix of rings (x, y, heights[i]) of the contours, resampled to a
// common number of points when needed and aligned one after the other.
qvMatrix<BetaPoint> Rings(qvSimpleArray<qvSimpleContour2D>& contours, const qvSimpleArray<double>& heights) {
    const int m = contours.Len();
    if (m < 2) throw BadParameters(qvMsg::BetaTubeTooFewRings);
    if (heights.Len() != m) throw BadParameters(qvMsg::BetaTubeHeights);
    int n = 0;
    bool differ = false;
    for (int i = 0; i < m; ++i) {
        const int len = contours[i].Len();
        if (len != contours[0].Len()) differ = true;
        if (len > n) n = len;
    }
    if (n < 3) throw BadParameters(qvMsg::BetaContourTooFewPoints);
    if (differ || n > 200) {
        if (n > 200) n = 200;
        for (int i = 0; i < m; ++i) {
            qvSimpleContour2D resampled(n);
            for (int j = 0; j < n; ++j) resampled[j] = contours[i](static_cast<double>(j) / n);
            contours[i] = resampled;
        }
    }
    for (int i = 1; i < m; ++i) contours[i].MakeCoherentS(contours[i - 1]);
    qvMatrix<BetaPoint> p(m, n);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j) p(i, j) = BetaPoint(contours[i][j].X(), contours[i][j].Y(), heights[i]);
    return p;
}

}  // namespace

BetaTube::BetaTube(double skewValue, double tensionValue) : BetaSpline(skewValue, tensionValue) {}

BetaTube::BetaTube(qvMatrix<qvTVec3<double>>& points, double skewValue, double tensionValue) {
    Init(points, skewValue, tensionValue);
}

BetaTube::BetaTube(qvMatrix<qvTVec3<double>>& points) { Init(points, 1.0, 0.0); }

BetaTube::BetaTube(const BetaTube& t) : BetaSpline(t), net(t.net) {}

BetaTube& BetaTube::operator=(const BetaTube& t) {
    if (&t != this) {
        BetaSpline::operator=(t);
        net = t.net;
    }
    return *this;
}

BetaTube::~BetaTube() {}

void BetaTube::Init(qvMatrix<qvTVec3<double>>& points, double skewValue, double tensionValue) {
    const BetaSpline shape(skewValue, tensionValue);
    qvMatrix<BetaPoint> fresh = BuildNet(shape, points, false);
    BetaSpline::operator=(shape);
    net.Move(fresh);
}

void BetaTube::MakeInterpolation(qvMatrix<qvTVec3<double>>& points) {
    qvMatrix<BetaPoint> fresh = BuildNet(*this, points, false);
    net.Move(fresh);
}

void BetaTube::MakeInterpolation(qvSimpleArray<qvSimpleContour2D> contours, const qvSimpleArray<double>& heights) {
    qvMatrix<BetaPoint> fresh = BuildNet(*this, Rings(contours, heights), false);
    net.Move(fresh);
}

void BetaTube::MakeBandInterpolation(qvMatrix<qvTVec3<double>>& points) {
    qvMatrix<BetaPoint> fresh = BuildNet(*this, points, true);
    net.Move(fresh);
}

void BetaTube::MakeBandInterpolation(qvSimpleArray<qvSimpleContour2D> contours,
                                     const qvSimpleArray<double>& heights) {
    qvMatrix<BetaPoint> fresh = BuildNet(*this, Rings(contours, heights), true);
    net.Move(fresh);
}

void BetaTube::vInterpolation() {}

qvTVec3<double> BetaTube::vSum(double v, int k) const {
    return qvDetail::BetaOpenPoint(*this, &net(0, k), net.TabInColumn(), net.ColumnLen(), v);
}

qvTVec3<double> BetaTube::operator()(double u, double v) const {
    if (net.ColumnLen() < 4 || net.LineLen() < 4) throw BadParameters(qvMsg::BetaTubeNoNet);
    return qvDetail::BetaRingPoint(*this, net.LineLen() - 3, u, [&](int k) { return vSum(v, k); });
}
