// The Beta-spline blending function: its stored state, the B-spline case
// against the textbook basis, and for every shape the partition of unity
// and the Beta-constraints at the knots that make curves built on it
// continuous in tangent direction and curvature.
#include "beta_test_support.h"

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
double SecondLeft(const BetaSpline& b, double t, double h) {
    return (3 * b.BetaBlendDeriv(t) - 4 * b.BetaBlendDeriv(t - h) + b.BetaBlendDeriv(t - 2 * h)) / (2 * h);
}
double SecondRight(const BetaSpline& b, double t, double h) {
    return (-3 * b.BetaBlendDeriv(std::nextafter(t, 3.0)) + 4 * b.BetaBlendDeriv(t + h) - b.BetaBlendDeriv(t + 2 * h)) /
           (2 * h);
}

}  // namespace

TEST(BetaSpline, TwelveDoublesInOrder) {
    static_assert(sizeof(BetaSpline) == 12 * sizeof(double) && std::is_standard_layout<BetaSpline>::value, "");
    // Tension, skew, then a, d0..d3, e0..e3, f; for skew 2 and tension 3 by
    // hand: δ = 2·9 + 4·6 + 3 = 45.
    const std::vector<double> bspline = {0, 1, 1 / 6.0, 2 / 3.0, 0, -1, -0.5, 2 / 3.0, 0, -1, 0.5, 1 / 6.0};
    const std::vector<double> b2t3 = {3, 2, 2 / 45.0, 27 / 45.0, 18 / 45.0, -27 / 45.0, -20 / 45.0, 27 / 45.0,
                                      36 / 45.0, -81 / 45.0, 34 / 45.0, 16 / 45.0};
    EXPECT_TRUE(cqvtest::Near(Stored(BetaSpline()), bspline, 1e-16));
    BetaSpline s(2.0, 3.0);
    EXPECT_TRUE(cqvtest::Near(Stored(s), b2t3, 1e-16));
    EXPECT_EQ(std::make_pair(s.GetSkew(), s.GetTension()), std::make_pair(2.0, 3.0));
    s._SetSkewTension(1.0, 0.0);
    EXPECT_TRUE(cqvtest::Near(Stored(s), bspline, 1e-16));
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
    EXPECT_EQ(std::vector<double>({b.BetaBlend(nan), b.BetaBlendDeriv(nan), b.BetaBlend(-2), b.BetaBlend(2)}),
              std::vector<double>(4, 0.0));
}

TEST(BetaSpline, PartitionOfUnityAndBetaConstraintsForEveryShape) {
    for (const auto& shape : kShapes) {
        const double b1 = shape.first, b2 = shape.second;
        SCOPED_TRACE(::testing::Message() << "skew " << b1 << " tension " << b2);
        const BetaSpline b(b1, b2);
        // The four pieces over one interval always sum to 1.
        for (double t = 0; t < 1; t += 1.0 / 32)
            EXPECT_NEAR(b.BetaBlend(t + 1) + b.BetaBlend(t) + b.BetaBlend(t - 1) + b.BetaBlend(t - 2), 1.0, 2e-15) << t;
        // B' is the slope of B inside the pieces.
        for (double t = -1.95; t < 2; t += 0.1)
            EXPECT_NEAR(b.BetaBlendDeriv(t), (b.BetaBlend(t + 1e-6) - b.BetaBlend(t - 1e-6)) / 2e-6, 1e-8) << t;
        // At every knot the slope on the right is β1 times the slope on the
        // left, and B''(t+) = β1²·B''(t-) + β2·B'(t-).
        for (double t : {-2.0, -1.0, 0.0, 1.0, 2.0}) {
            const double left = b.BetaBlendDeriv(t);
            EXPECT_NEAR(b.BetaBlendDeriv(std::nextafter(t, 3.0)), b1 * left, 1e-12) << t;
            EXPECT_NEAR(SecondRight(b, t, 1e-4), b1 * b1 * SecondLeft(b, t, 1e-4) + b2 * left, 1e-6) << t;
        }
    }
}
