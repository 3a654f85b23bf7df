#include "cqv/splines/spline_curve.h"

#include <cmath>

#include "cqv/core/exceptions.h"
#include "cqv/numeric/integrate.h"
#include "cqv/splines/messages.h"

namespace {

// The points (t_i, coordinate of P[i]), t_i = i/(n-1), coordinate 0 for x
// and 1 for y.
qvCurve2D Coordinate(const qvCurve2D& c, int which) {
    const int n = c.Len();
    qvCurve2D out(n);
    for (int i = 0; i < n; ++i) out[i] = qvVec2(static_cast<double>(i) / static_cast<double>(n - 1), c[i][which]);
    return out;
}

// Fills s from the points and builds it open, by type.
void BuildOpen(qvSpline<double>& s, const qvCurve2D& p, int type) {
    s.Set(p);
    const int n = p.Len();
    qvSimpleArray<int> code(2);
    qvMatrix<double> value(2, 2);
    value(0, 0) = value(0, 1) = value(1, 0) = value(1, 1) = 0;
    if (type == 1) {
        code[0] = 3;
        code[1] = 0;
        value(0, 0) = (p[1].Y() - p[0].Y()) / (p[1].X() - p[0].X());
        value(0, 1) = (p[n - 1].Y() - p[n - 2].Y()) / (p[n - 1].X() - p[n - 2].X());
    } else {
        code[0] = 0;
        code[1] = 3;
    }
    s.MkSpline3(code, value);
}

// |C'(t)|: x' from the x spline, y' from the y spline's polynomial on the
// interval that holds t.
double Speed(double t, void* data) {
    const qvSplineCurve2D& c = *static_cast<const qvSplineCurve2D*>(data);
    const double dx = c.X().Derivative(t, 1);
    const double dy = c.Y().Derivative(t, 1, c.Y().GetSegmentNum(t));
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

qvSplineCurve2D::qvSplineCurve2D(const qvCurve2D& c) {
    if (c.Len() < 4) throw BadParameters(qvMsg::SplineCurveFourPoints);
    x.Set(Coordinate(c, 0));
    y.Set(Coordinate(c, 1));
    x.MkPeriodSpline3();
    y.MkPeriodSpline3();
}

qvSplineCurve2D::qvSplineCurve2D(const qvCurve2D& c, int type) {
    if (c.Len() < 3) throw BadParameters(qvMsg::SplineCurveThreePoints);
    if (type != 1 && type != 2) throw BadParameters(qvMsg::SplineCurveWrongType);
    BuildOpen(x, Coordinate(c, 0), type);
    BuildOpen(y, Coordinate(c, 1), type);
}

qvSplineCurve2D::qvSplineCurve2D(const qvSplineCurve2D& s) : x(s.x), y(s.y) {}

qvSplineCurve2D& qvSplineCurve2D::operator=(const qvSplineCurve2D& s) {
    qvSplineCurve2D copy(s);
    x.swap(copy.x);
    y.swap(copy.y);
    return *this;
}

qvSplineCurve2D::~qvSplineCurve2D() {}

qvVec2 qvSplineCurve2D::GetPoint(double t) const { return qvVec2(x(t), y(t)); }

qvVec2 qvSplineCurve2D::GetTangent(double t) const { return qvVec2(x.Derivative(t, 1), y.Derivative(t, 1)); }

double qvSplineCurve2D::GetLengthOfCurve() const {
    if (x.GetNumberOfPoint() < 2) return 0;
    return qvIntegrateSimpson(Speed, const_cast<qvSplineCurve2D*>(this), 0, 1, 0.001);
}
