// Simpson's rule with step halving: exactness for cubics with the number and
// order of evaluations, convergence to known integrals, and integrands that
// are not finite.
#include "cqv_test.h"

#include <cmath>
#include <vector>

namespace {

struct Calls {
    std::vector<double> at;
    double (*g)(double);
};

double Logged(double t, void* data) {
    Calls& c = *static_cast<Calls*>(data);
    c.at.push_back(t);
    return c.g(t);
}

double Cubic(double t) { return 4 * t * t * t - 3 * t + 1; }
double Quartic(double t) { return t * t * t * t; }
double Sine(double t) { return std::sin(t); }
double Nan(double) { return NAN; }

}  // namespace

TEST(IntegrateSimpson, ExactForCubicsAfterOneHalving) {
    // ∫_0^1 4t³ - 3t + 1 = 1 - 1.5 + 1 = 0.5. The first value (a, b, the
    // midpoint) is already exact, the first halving (quarter points)
    // confirms it, and the rule stops there.
    Calls c{{}, Cubic};
    EXPECT_DOUBLE_EQ(qvIntegrateSimpson(Logged, &c, 0, 1, 1e-12), 0.5);
    EXPECT_EQ(c.at, (std::vector<double>{0, 1, 0.5, 0.25, 0.75}));

    // On [-2, 6] the same: a, b, the midpoint 2, then 0 and 4.
    Calls d{{}, Cubic};
    const double exact = (std::pow(6, 4) - std::pow(-2, 4)) - 1.5 * (36 - 4) + 8;
    EXPECT_NEAR(qvIntegrateSimpson(Logged, &d, -2, 6, 1e-9), exact, 1e-9 * exact);
    EXPECT_EQ(d.at, (std::vector<double>{-2, 6, 2, 0, 4}));
}

TEST(IntegrateSimpson, HalvesUntilTwoValuesAgree) {
    // ∫_0^2 t⁴ = 6.4 and ∫_0^π sin = 2. The error of each value falls
    // sixteenfold per halving, so the result lies within the tolerance,
    // and each round evaluates only its new midpoints: 3 + 2 + 4 + … + 2^r
    // = 2^(r+1) + 1 in all.
    for (double eps : {1e-3, 1e-6, 1e-10}) {
        Calls q{{}, Quartic};
        EXPECT_NEAR(qvIntegrateSimpson(Logged, &q, 0, 2, eps), 6.4, eps) << eps;
        const std::size_t n = q.at.size();
        EXPECT_EQ((n - 1) & (n - 2), 0u) << n;
        Calls s{{}, Sine};
        EXPECT_NEAR(qvIntegrateSimpson(Logged, &s, 0, 3.141592653589793, eps), 2, eps) << eps;
    }
    // A looser tolerance stops earlier.
    Calls loose{{}, Quartic}, tight{{}, Quartic};
    qvIntegrateSimpson(Logged, &loose, 0, 2, 1e-2);
    qvIntegrateSimpson(Logged, &tight, 0, 2, 1e-8);
    EXPECT_LT(loose.at.size(), tight.at.size());

    // An integrand that is not finite ends the halving at once.
    Calls nan{{}, Nan};
    EXPECT_TRUE(std::isnan(qvIntegrateSimpson(Logged, &nan, 0, 1, 1e-3)));
    EXPECT_EQ(nan.at.size(), 5u);
}
