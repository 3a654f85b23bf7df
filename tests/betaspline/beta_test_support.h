// Builders and independent formulas shared by the Beta-spline tests.
#ifndef CQV_TESTS_BETASPLINE_BETA_TEST_SUPPORT_H
#define CQV_TESTS_BETASPLINE_BETA_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

namespace betatest {

using V3 = qvTVec3<double>;
using Points = qvVector<V3>;
const double kPi = std::acos(-1.0);

// (skew, tension): the B-spline, skews below and above 1, mild to strong
// tensions.
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

// m points around an uneven loop in space, or (flat) on the circle of
// radius `scale` in the x-y plane.
inline Points Loop(int m, double scale = 1.0, bool flat = false) {
    Points p(m);
    for (int i = 0; i < m; ++i) {
        const double t = 2 * kPi * i / m;
        p[i] = flat ? V3(scale * std::cos(t), scale * std::sin(t), 0)
                    : V3(scale * (2 + 0.3 * std::sin(3 * t)) * std::cos(t), scale * 1.5 * std::sin(t), scale * 0.2 * std::cos(2 * t));
    }
    return p;
}

inline double Dist(const V3& a, const V3& b) { return (a - b).Norm(); }

// The largest distance of corresponding points, relative to want's largest.
inline double RelativeGap(const std::vector<V3>& got, const std::vector<V3>& want) {
    double gap = 0, size = 0;
    for (std::size_t i = 0; i < want.size() && i < got.size(); ++i) {
        gap = std::fmax(gap, Dist(got[i], want[i]));
        size = std::fmax(size, want[i].Norm());
    }
    return got.size() == want.size() ? gap / size : HUGE_VAL;
}

// The textbook uniform cubic B-spline basis and its derivative.
inline double UniformBSpline(double t) {
    const double a = std::fabs(t);
    return a <= 1 ? 2.0 / 3.0 - t * t + a * a * a / 2 : a <= 2 ? (2 - a) * (2 - a) * (2 - a) / 6 : 0.0;
}
inline double UniformBSplineDeriv(double t) {
    const double a = std::fabs(t);
    return a <= 1 ? -2 * t + 1.5 * t * a : a <= 2 ? -0.5 * (2 - a) * (2 - a) * (t < 0 ? -1 : 1) : 0.0;
}

// Curvature of a curve on the side dir (+1 or -1) of u: the turn of the
// unit tangent over the arc from u + dir·h to u + 2·dir·h.
inline double Curvature(const BetaCurve& c, double u, int dir, double h) {
    const double u1 = u + dir * h, u2 = u + 2 * dir * h;
    return Dist(c.GetTangent(u1), c.GetTangent(u2)) / Dist(c(u1), c(u2));
}

// The arc of the circle of radius r about the origin from angle 0 to the
// point q, counter-clockwise, once around at most.
inline double ArcTo(const V3& q, double r) { return r * (2 * kPi + std::atan2(q.Y(), q.X())); }

// The last sample of GetLength: fifty times 0.02 added up exceeds 1.
inline double LastSample() {
    double last = 0;
    for (double u = 0.02; u <= 1; u += 0.02) last = u;
    return last;
}

// A curve or contour whose every control point (phantoms, wrap copies) the
// tests can read, and whose crossing searches they can call.
template <class Base>
class Exposed : public Base {
public:
    using Base::Base;
    using Base::FindCrosX;
    using Base::FindCrosY;
    std::vector<V3> Controls() const {
        std::vector<V3> c;
        for (int i = 0; i < this->control.Len(); ++i) c.push_back(this->control[i]);
        return c;
    }
};
using OpenCurve = Exposed<BetaCurve>;
using Closed = Exposed<BetaContour>;

// The slot of a virtual member: under the Itanium ABI a pointer to it holds
// one plus the byte offset of its slot.
template <class Member>
int Slot(Member member) {
    std::ptrdiff_t raw;
    std::memcpy(&raw, &member, sizeof raw);
    return static_cast<int>((raw - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

}  // namespace betatest

#endif  // CQV_TESTS_BETASPLINE_BETA_TEST_SUPPORT_H
