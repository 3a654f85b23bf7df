// The fast cosine transform against the direct formula, and its inverses.
#include "cqv_test.h"

#include <cmath>
#include <limits>
#include <utility>
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

// Swaps a[i][j] and a[j][i] of the n × n row-major array a.
void Transpose(std::vector<double>& a, int n) {
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j) std::swap(a[i * n + j], a[j * n + i]);
}

}  // namespace

TEST(IntLog2, FloorOfTheBinaryLogarithm) {
    const int cases[][2] = {{0, -1}, {-8, -1}, {1, 0}, {2, 1}, {3, 1}, {7, 2}, {1023, 9}, {1024, 10}, {0x7fffffff, 30}};
    for (const auto& c : cases) EXPECT_EQ(qvIntLog2(c[0]), c[1]) << c[0];
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

TEST(FastCosineTransform, TwoDimensionalPairsAreRowTransformsAndTransposes) {
    // Forward, twice: every row, then a transpose; inverse, twice: a
    // transpose, then every row. The same operations in the same order as
    // written out here, so the same bits.
    for (int m = 0; m <= 6; ++m) {
        const int n = 1 << m;
        qvFCTTC t(m);
        const std::vector<double> x = Noise(n * n, 5u + m);
        std::vector<double> a = x, want = x;
        t.FCT2D(a.data());
        for (int pass = 0; pass < 2; ++pass) {
            for (int r = 0; r < n; ++r) t.FCT(&want[r * n]);
            Transpose(want, n);
        }
        EXPECT_EQ(a, want) << n;
        t.IFCT2D(a.data());
        for (int pass = 0; pass < 2; ++pass) {
            Transpose(want, n);
            for (int r = 0; r < n; ++r) t.IFCT(&want[r * n]);
        }
        EXPECT_EQ(a, want) << n;
        for (int i = 0; i < n * n; ++i) ASSERT_NEAR(a[i], x[i], 1e-12) << n;
    }
}

TEST(FastCosineTransform, CopiesOwnTheirTables) {
    // Copies and assignments across sizes and to itself: every table is
    // released once (the sanitizer build checks), and the copies transform
    // as the original does.
    qvFCTT a(4);
    qvFCTT b(2);
    b = a;
    qvFCTT c(b);
    {
        qvFCTT d(3);
        d = c;
        const qvFCTT& self = d;
        d = self;
    }
    const std::vector<double> x = Noise(16, 3);
    std::vector<double> y = x, z = x;
    a.FCT(y.data(), 4, 16);
    b.FCT(z.data(), 4, 16);
    EXPECT_EQ(y, z);
    c.IFCT(z.data(), 16);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(z[i], x[i], 1e-14);
}
