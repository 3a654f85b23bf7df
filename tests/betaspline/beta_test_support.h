// Builders and independent formulas shared by the Beta-spline tests.
#ifndef CQV_TESTS_BETASPLINE_BETA_TEST_SUPPORT_H
#define CQV_TESTS_BETASPLINE_BETA_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <cmath>
#include <utility>
#include <vector>

namespace betatest {

using V3 = qvTVec3<double>;
using Points = qvVector<V3>;

// The shapes the tests sweep, as (skew, tension): the B-spline, skews below
// and above 1, and tensions from mild to strong.
const std::pair<double, double> kShapes[] = {{1.0, 0.0}, {0.5, 0.0}, {2.0, 0.0}, {1.0, 4.0}, {1.5, 1.0}, {0.8, 10.0}};

inline Points PointsOf(const std::vector<V3>& xs) {
    Points p(static_cast<int>(xs.size()));
    for (int i = 0; i < p.Len(); ++i) p[i] = xs[static_cast<std::size_t>(i)];
    return p;
}

// m points winding through space at uneven spacing.
inline Points Wavy(int m, double scale = 1.0) {
    Points p(m);
    for (int i = 0; i < m; ++i)
        p[i] = V3(scale * (i + 0.4 * std::sin(1.7 * i)), scale * std::cos(0.9 * i), scale * 0.3 * std::sqrt(i + 1.0));
    return p;
}

// m points on the circle of radius r around the origin in the x-y plane,
// counter-clockwise from (r, 0); with closed the last repeats the first.
inline Points Circle(int m, double r, bool closed) {
    Points p(m);
    const double pi = std::acos(-1.0);
    const int steps = closed ? m - 1 : m;
    for (int i = 0; i < m; ++i) p[i] = V3(r * std::cos(2 * pi * i / steps), r * std::sin(2 * pi * i / steps), 0.0);
    return p;
}

inline double Dist(const V3& a, const V3& b) { return (a - b).Norm(); }

// The largest distance between corresponding points, relative to the
// largest point of want.
inline double RelativeGap(const std::vector<V3>& got, const std::vector<V3>& want) {
    double gap = 0, size = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
        gap = std::fmax(gap, Dist(got[i], want[i]));
        size = std::fmax(size, want[i].Norm());
    }
    return got.size() == want.size() ? gap / size : HUGE_VAL;
}

// The uniform cubic B-spline basis, written from the textbook, and its
// derivative.
inline double UniformBSpline(double t) {
    const double a = std::fabs(t);
    if (a <= 1) return 2.0 / 3.0 - t * t + a * a * a / 2;
    if (a <= 2) return (2 - a) * (2 - a) * (2 - a) / 6;
    return 0.0;
}
inline double UniformBSplineDeriv(double t) {
    const double a = std::fabs(t);
    if (a <= 1) return -2 * t + 1.5 * t * a;
    if (a <= 2) return -0.5 * (2 - a) * (2 - a) * (t < 0 ? -1 : 1);
    return 0.0;
}

// A curve whose every control point, phantoms included, the tests can
// read, and whose crossing searches they can call.
class OpenCurve : public BetaCurve {
public:
    using BetaCurve::BetaCurve;
    using BetaCurve::FindCrosX;
    using BetaCurve::FindCrosY;
    std::vector<V3> Controls() const {
        std::vector<V3> c;
        for (int i = 0; i < control.Len(); ++i) c.push_back(control[i]);
        return c;
    }
};

}  // namespace betatest

#endif  // CQV_TESTS_BETASPLINE_BETA_TEST_SUPPORT_H
