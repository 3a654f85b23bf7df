// The Beta-spline blending function: its stored state, the B-spline case
// against the textbook basis, and for every shape the partition of unity
// and the Beta-constraints at the knots that make curves built on it
// continuous in tangent direction and curvature.
#include "beta_test_support.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

using namespace betatest;

namespace {

std::vector<double> Stored(const BetaSpline& b) {
    std::vector<double> v(12);
    std::memcpy(v.data(), &b, sizeof b);
    return v;
}

// One-sided second derivatives at a knot from three values of B' on one
// side (second-order differences).
double SecondLeft(const BetaSpline& b, double t0, double h) {
    return (3 * b.BetaBlendDeriv(t0) - 4 * b.BetaBlendDeriv(t0 - h) + b.BetaBlendDeriv(t0 - 2 * h)) / (2 * h);
}
double SecondRight(const BetaSpline& b, double t0, double h) {
    const double right = b.BetaBlendDeriv(std::nextafter(t0, 3.0));
    return (-3 * right + 4 * b.BetaBlendDeriv(t0 + h) - b.BetaBlendDeriv(t0 + 2 * h)) / (2 * h);
}

}  // namespace

TEST(BetaSpline, TwelveDoublesInOrder) {
    static_assert(sizeof(BetaSpline) == 12 * sizeof(double), "twelve doubles and nothing else");
    static_assert(std::is_standard_layout<BetaSpline>::value, "a plain class");
    // Tension, skew, then a, d0..d3, e0..e3, f; for skew 2 and tension 3 by
    // hand: δ = 2·9 + 4·6 + 3 = 45.
    const std::vector<double> bspline = {0, 1, 1 / 6.0, 2 / 3.0, 0, -1, -0.5, 2 / 3.0, 0, -1, 0.5, 1 / 6.0};
    const std::vector<double> b2t3 = {3,     2,   2 / 45.0,   27 / 45.0, 18 / 45.0, -27 / 45.0,
                                      -20 / 45.0, 27 / 45.0,  36 / 45.0, -81 / 45.0, 34 / 45.0, 16 / 45.0};
    EXPECT_TRUE(cqvtest::Near(Stored(BetaSpline()), bspline, 1e-16));
    BetaSpline s(2.0, 3.0);
    EXPECT_TRUE(cqvtest::Near(Stored(s), b2t3, 1e-16));
    EXPECT_EQ(s.GetSkew(), 2.0);
    EXPECT_EQ(s.GetTension(), 3.0);
    s._SetSkewTension(1.0, 0.0);
    EXPECT_TRUE(cqvtest::Near(Stored(s), bspline, 1e-16));
    s = BetaSpline(2.0, 3.0);
    EXPECT_EQ(Stored(s), Stored(BetaSpline(2.0, 3.0)));
}

TEST(BetaSpline, SkewOneTensionZeroIsTheUniformCubicBSpline) {
    const BetaSpline b;
    for (double t = -2.5; t <= 2.5; t += 1.0 / 64) {
        EXPECT_NEAR(b.BetaBlend(t), UniformBSpline(t), 1e-15) << t;
        EXPECT_NEAR(b.BetaBlendDeriv(t), UniformBSplineDeriv(t), 1e-15) << t;
    }
    // With skew 1 the slope is continuous at t = 1: e1 + 2e2 + 3e3 = -3f,
    // f being B(1.5)·8.
    EXPECT_NEAR(b.BetaBlendDeriv(1.0), -3 * 8 * b.BetaBlend(1.5), 1e-15);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(b.BetaBlend(nan), 0.0);
    EXPECT_EQ(b.BetaBlendDeriv(nan), 0.0);
    EXPECT_EQ(b.BetaBlend(-2.0), 0.0);
    EXPECT_EQ(b.BetaBlend(2.0), 0.0);
}

TEST(BetaSpline, PartitionOfUnityAndBetaConstraintsForEveryShape) {
    for (const auto& shape : kShapes) {
        const double b1 = shape.first, b2 = shape.second;
        SCOPED_TRACE(::testing::Message() << "skew " << b1 << " tension " << b2);
        const BetaSpline b(b1, b2);
        // The four pieces over one interval always sum to 1.
        EXPECT_NEAR(b.BetaBlend(-1) + b.BetaBlend(0) + b.BetaBlend(1), 1.0, 1e-15);
        for (double t = 0; t < 1; t += 1.0 / 32)
            EXPECT_NEAR(b.BetaBlend(t + 1) + b.BetaBlend(t) + b.BetaBlend(t - 1) + b.BetaBlend(t - 2), 1.0, 2e-15) << t;
        // B' is the slope of B inside the pieces.
        for (double t = -1.95; t < 2; t += 0.1) {
            const double h = 1e-6;
            EXPECT_NEAR(b.BetaBlendDeriv(t), (b.BetaBlend(t + h) - b.BetaBlend(t - h)) / (2 * h), 1e-8) << t;
        }
        // At every knot the slope on the right is β1 times the slope on the
        // left, and B''(t+) = β1²·B''(t-) + β2·B'(t-): the Beta-constraints.
        for (double t0 : {-2.0, -1.0, 0.0, 1.0, 2.0}) {
            const double left = b.BetaBlendDeriv(t0);
            const double right = b.BetaBlendDeriv(std::nextafter(t0, 3.0));
            EXPECT_NEAR(right, b1 * left, 1e-12) << t0;
            const double h = 1e-4;
            EXPECT_NEAR(SecondRight(b, t0, h), b1 * b1 * SecondLeft(b, t0, h) + b2 * left, 1e-6) << t0;
        }
    }
}
