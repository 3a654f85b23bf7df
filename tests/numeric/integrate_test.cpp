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
    // ∫_{-2}^6 4t³ - 3t + 1 = (6⁴ - 2⁴) - 1.5·(36 - 4) + 8 = 1240. The first
    // value (a, b, the midpoint) is already exact, the first halving (the
    // quarter points) confirms it, and the rule stops there.
    Calls c{{}, Cubic};
    EXPECT_NEAR(qvIntegrateSimpson(Logged, &c, -2, 6, 1e-12), 1240, 1e-12 * 1240);
    EXPECT_EQ(c.at, (std::vector<double>{-2, 6, 2, 0, 4}));
}

TEST(IntegrateSimpson, HalvesUntilTwoValuesAgree) {
    // ∫_0^2 t⁴ = 6.4 and ∫_0^π sin = 2. The error of each value falls
    // sixteenfold per halving, so the result lies within the tolerance,
    // and each round evaluates only its new midpoints: 3 + 2 + 4 + … + 2^r
    // = 2^(r+1) + 1 in all; a tighter tolerance takes more rounds.
    std::size_t looser = 0;
    for (double eps : {1e-2, 1e-6, 1e-10}) {
        Calls q{{}, Quartic};
        EXPECT_NEAR(qvIntegrateSimpson(Logged, &q, 0, 2, eps), 6.4, eps) << eps;
        const std::size_t n = q.at.size();
        EXPECT_EQ((n - 1) & (n - 2), 0u) << n;
        EXPECT_GT(n, looser) << eps;
        looser = n;
        Calls s{{}, Sine};
        EXPECT_NEAR(qvIntegrateSimpson(Logged, &s, 0, 3.141592653589793, eps), 2, eps) << eps;
    }

    // An integrand that is not finite ends the halving at once.
    Calls nan{{}, Nan};
    EXPECT_TRUE(std::isnan(qvIntegrateSimpson(Logged, &nan, 0, 1, 1e-3)));
    EXPECT_EQ(nan.at.size(), 5u);
}
