// The fast cosine transform against the direct formula, and its inverses.
#include "cqv_test.h"

#include <cmath>
#include <cstring>
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

// n numbers uniform in [-1, 1).
std::vector<double> Noise(int n, unsigned seed) { return cqvtest::Numbers(seed).Reals(n, -1, 1); }

// Error allowed for a transform of length 2^m: a few units of rounding per
// level, on the scale (2/n)·Σ|x_i| of the outputs.
double Tolerance(const std::vector<double>& x, int m) {
    double sum = 0;
    for (double v : x) sum += std::fabs(v);
    return 8.0 * std::numeric_limits<double>::epsilon() * (m + 1) * 2.0 * sum / static_cast<double>(x.size());
}

// The forward transform step by step in the plainest form, one stage and one
// pass at a time, with tables computed here: the library interleaves stages
// and passes, and must still round every element exactly as these loops do.
std::vector<double> SteppedFCT(std::vector<double> x) {
    const int n = static_cast<int>(x.size());
    const double pi = 3.141592653589793;
    std::vector<double> work(n);
    double* src = x.data();
    double* dst = work.data();
    for (int s = 1; s <= n / 2; s *= 2) {
        const int count = n / (2 * s);
        for (int o = 0; o < s; ++o) {
            for (int lo = o, hi = n - s + o, j = 0; hi > lo; lo += s, hi -= s, ++j) {
                const double c = std::cos((2 * j + 1) * pi / (4.0 * count));
                dst[o + 2 * s * j] = (src[hi] + src[lo]) * 0.5;
                dst[s + o + 2 * s * j] = (src[lo] - src[hi]) * c;
            }
        }
        std::swap(src, dst);
    }
    if (src != x.data()) x.assign(src, src + n);
    for (int d = n / 2; d >= 2; d /= 2)
        for (int a = d / 2; a < d; ++a)
            for (int k = 0; k + 1 < n / d; ++k) x[a + (k + 1) * d] -= x[a + k * d];
    x[0] *= std::sqrt(2.0);
    return x;
}

// The inverse, undoing those steps one at a time in reverse order.
std::vector<double> SteppedIFCT(std::vector<double> x) {
    const int n = static_cast<int>(x.size());
    const double pi = 3.141592653589793;
    x[0] /= std::sqrt(2.0);
    for (int d = 2; d <= n / 2; d *= 2)
        for (int top = n - 1; top >= n - d / 2; --top)
            for (int p = top; p - d >= 0; p -= d) x[p] += x[p - d];
    std::vector<double> work(n);
    double* src = x.data();
    double* dst = work.data();
    for (int s = n / 2; s >= 1; s /= 2) {
        const int count = n / (2 * s);
        for (int o = 0; o < s; ++o) {
            for (int lo = o, hi = n - s + o, j = 0; hi > lo; lo += s, hi -= s, ++j) {
                const double t = src[s + o + 2 * s * j] * (0.5 / std::cos((2 * j + 1) * pi / (4.0 * count)));
                dst[lo] = src[o + 2 * s * j] + t;
                dst[hi] = src[o + 2 * s * j] - t;
            }
        }
        std::swap(src, dst);
    }
    if (src != x.data()) x.assign(src, src + n);
    return x;
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

TEST(FastCosineTransform, MatchesTheFormulaAndRoundsLikeTheStagesAndPassesOneAtATime) {
    // Bit for bit against the steps one at a time: both parities of the
    // stage count, lengths where the recombination takes each of its paths,
    // and inputs with signed zeros, infinities and NaNs. The finite inputs
    // up to 4096 points also against the defining sums, and back.
    for (int m = 0; m <= 15; ++m) {
        const int n = 1 << m;
        qvFCTTC t(m);
        std::vector<double> x = Noise(n, 101u + m);
        for (int pass = 0; pass < 2; ++pass) {
            SCOPED_TRACE(::testing::Message() << "n=" << n << " pass " << pass);
            if (pass == 1 && n >= 8) {
                x[1] = -0.0;
                x[n / 2] = std::numeric_limits<double>::infinity();
                x[n - 3] = std::numeric_limits<double>::quiet_NaN();
            }
            std::vector<double> y = x;
            t.FCT(y.data());
            ASSERT_EQ(std::memcmp(y.data(), SteppedFCT(x).data(), sizeof(double) * n), 0) << "FCT";
            std::vector<double> z = y;
            t.IFCT(z.data());
            ASSERT_EQ(std::memcmp(z.data(), SteppedIFCT(y).data(), sizeof(double) * n), 0) << "IFCT";
            if (pass == 1 || m > 12) continue;
            const std::vector<double> expected = DirectFCT(x);
            const double tol = Tolerance(x, m);
            for (int k = 0; k < n; ++k) ASSERT_NEAR(y[k], expected[k], tol) << "k=" << k;
            for (int i = 0; i < n; ++i) ASSERT_NEAR(z[i], x[i], 1e-13) << "i=" << i;
        }
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
