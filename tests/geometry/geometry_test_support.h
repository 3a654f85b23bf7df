// Builders and readers shared by the geometry tests.
#ifndef CQV_TESTS_GEOMETRY_GEOMETRY_TEST_SUPPORT_H
#define CQV_TESTS_GEOMETRY_GEOMETRY_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <cmath>
#include <utility>
#include <vector>

namespace geomtest {

using V3 = qvTVec3<double>;
using Doubles = std::vector<double>;
using Points = std::vector<std::pair<double, double>>;

const double kPi = 3.14159265358979323846;

// A curve or contour through the points, in order.
template <class C = qvSimpleContour2D>
C Make(const Points& pts) {
    C c;
    for (const auto& p : pts) c.push_back(qvVec2(p.first, p.second));
    return c;
}

// The points of a curve, for whole-sequence comparisons.
inline Points PointsOf(const qvSimpleArray<qvVec2>& c) {
    Points out;
    for (int i = 0; i < c.Len(); ++i) out.emplace_back(c[i].X(), c[i].Y());
    return out;
}

inline Doubles Coords(const qvVec2& v) { return {v.X(), v.Y()}; }
inline Doubles Coords(const V3& v) { return {v.X(), v.Y(), v.Z()}; }

// A star-shaped polygon of n vertices on the integer grid, counter-clockwise
// around the origin: radius r·(1 ± 0.3) from a fixed pseudo-random sequence.
inline qvSimpleContour2D Star(int n, double r, unsigned seed = 1) {
    qvSimpleContour2D c(n);
    unsigned s = seed;
    for (int i = 0; i < n; ++i) {
        s = s * 1103515245u + 12345u;
        const double rho = r * (0.7 + 0.6 * ((s >> 8) % 1000) / 1000.0);
        const double phi = 2 * kPi * i / n;
        c[i] = qvVec2(std::round(rho * std::cos(phi)), std::round(rho * std::sin(phi)));
    }
    return c;
}

using cqvtest::Near;

}  // namespace geomtest

#endif  // CQV_TESTS_GEOMETRY_GEOMETRY_TEST_SUPPORT_H
