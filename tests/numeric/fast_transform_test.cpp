// The fast cosine transform against the direct formula, and its inverses.
#include "cqv_test.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

// The forward transform by its defining sums, accumulated in long double.
std::vector<double> DirectFCT(const std::vector<double>& x) {
    const int n = static_cast<int>(x.size());
    const long double pi = 3.14159265358979323846264338327950288L;
    std::vector<long double> c(4 * n);  // cos(π·t/(2n)) for t mod 4n
    for (int t = 0; t < 4 * n; ++t) c[t] = std::cos(pi * t / (2.0L * n));
    std::vector<double> y(n);
    for (int k = 0; k < n; ++k) {
        long double s = 0;
        for (int i = 0; i < n; ++i) s += x[i] * c[(static_cast<long long>(2 * i + 1) * k) % (4 * n)];
        y[k] = static_cast<double>(k == 0 ? std::sqrt(2.0L) / n * s : 2.0L / n * s);
    }
    return y;
}

std::vector<double> Noise(int n, unsigned seed) {
    std::vector<double> x(n);
    unsigned state = seed;
    for (double& v : x) {
        state = state * 1664525u + 1013904223u;
        v = static_cast<double>(state >> 8) / (1u << 24) * 2.0 - 1.0;
    }
    return x;
}

// Error allowed for a transform of length 2^m: a few units of rounding per
// level, on the scale (2/n)·Σ|x_i| of the outputs.
double Tolerance(const std::vector<double>& x, int m) {
    double sum = 0;
    for (double v : x) sum += std::fabs(v);
    return 8.0 * std::numeric_limits<double>::epsilon() * (m + 1) * 2.0 * sum / static_cast<double>(x.size());
}

}  // namespace

TEST(IntLog2, FloorOfTheBinaryLogarithm) {
    EXPECT_EQ(qvIntLog2(0), -1);
    EXPECT_EQ(qvIntLog2(-8), -1);
    EXPECT_EQ(qvIntLog2(1), 0);
    EXPECT_EQ(qvIntLog2(2), 1);
    EXPECT_EQ(qvIntLog2(3), 1);
    EXPECT_EQ(qvIntLog2(7), 2);
    EXPECT_EQ(qvIntLog2(1023), 9);
    EXPECT_EQ(qvIntLog2(1024), 10);
    EXPECT_EQ(qvIntLog2(0x7fffffff), 30);
}

TEST(FastCosineTransform, SmallCases) {
    qvFCTT t0(0);
    double one[1] = {3.0};
    t0.FCT(one, 0, 1);
    EXPECT_DOUBLE_EQ(one[0], 3.0 * std::sqrt(2.0));
    t0.IFCT(one, 1);
    EXPECT_DOUBLE_EQ(one[0], 3.0);

    qvFCTT t1(1);
    double two[2] = {1, 1};
    t1.FCT(two, 1, 2);
    EXPECT_DOUBLE_EQ(two[0], std::sqrt(2.0));
    EXPECT_NEAR(two[1], 0.0, 1e-16);

    qvFCTT t5(5);
    std::vector<double> c(32, 2.5);
    t5.FCT(c.data(), 5, 32);
    EXPECT_NEAR(c[0], 2.5 * std::sqrt(2.0), 1e-14);
    for (int k = 1; k < 32; ++k) EXPECT_NEAR(c[k], 0.0, 1e-14) << k;
}

TEST(FastCosineTransform, EveryOutputMatchesTheFormulaUpTo4096) {
    for (int m = 0; m <= 12; ++m) {
        const int n = 1 << m;
        qvFCTTC t(m);
        const std::vector<double> x = Noise(n, 17u + m);
        const std::vector<double> expected = DirectFCT(x);
        std::vector<double> y = x;
        t.FCT(y.data());
        const double tol = Tolerance(x, m);
        for (int k = 0; k < n; ++k) ASSERT_NEAR(y[k], expected[k], tol) << "n=" << n << " k=" << k;

        t.IFCT(y.data());
        for (int i = 0; i < n; ++i) ASSERT_NEAR(y[i], x[i], 1e-13) << "n=" << n << " i=" << i;
    }
}

TEST(FastCosineTransform, TwoDimensionalPairIsTheSeparableTransform) {
    for (int m = 0; m <= 6; ++m) {
        const int n = 1 << m;
        qvFCTTC t(m);
        const std::vector<double> a = Noise(n * n, 5u + m);
        std::vector<double> b = a;
        t.FCT2D(b.data());
        // Reference: transform the columns of the row-transformed array.
        std::vector<double> rows(n * n);
        for (int r = 0; r < n; ++r) {
            const std::vector<double> row(a.begin() + r * n, a.begin() + (r + 1) * n);
            const std::vector<double> y = DirectFCT(row);
            for (int k = 0; k < n; ++k) rows[r * n + k] = y[k];
        }
        for (int k = 0; k < n; ++k) {
            std::vector<double> col(n);
            for (int r = 0; r < n; ++r) col[r] = rows[r * n + k];
            const std::vector<double> y = DirectFCT(col);
            for (int r = 0; r < n; ++r) ASSERT_NEAR(b[r * n + k], y[r], 1e-13) << "n=" << n;
        }
        t.IFCT2D(b.data());
        for (int i = 0; i < n * n; ++i) ASSERT_NEAR(b[i], a[i], 1e-12) << "n=" << n;
    }
}

TEST(FastCosineTransform, CopiesOwnTheirTables) {
    qvFCTT a(4);
    qvFCTT b(2);
    b = a;  // other size: b takes tables of its own
    qvFCTT c(b);
    {
        qvFCTT d(3);
        d = c;
        qvFCTT& self = d;  // through a reference, as clang rejects d = d
        d = self;
    }
    std::vector<double> x = Noise(16, 3), y = x;
    a.FCT(x.data(), 4, 16);
    b.FCT(y.data(), 4, 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(x[i], y[i]);
    c.IFCT(y.data(), 16);
    const std::vector<double> orig = Noise(16, 3);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(y[i], orig[i], 1e-14);
}
