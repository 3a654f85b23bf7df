// The complex number: arithmetic and ordering by modulus (its record is
// checked with the other value types', record_bounds_test.cpp).
#include "values_test_support.h"

#include <cmath>
#include <type_traits>

using valuestest::Coords;
using valuestest::Doubles;
using valuestest::Ints;
using valuestest::Relations;

TEST(Complex, ConstructionAndArithmetic) {
    static_assert(sizeof(qvComplex) == 16 && std::is_trivially_copyable<qvComplex>::value, "copied as bytes");
    const qvComplex a(1, 2), b(3, 4);
    EXPECT_EQ(Coords({qvComplex(3), a + b, a - b, a * b, a / b, -a}),
              (Doubles{3, 0, 4, 6, -2, -2, -5, 10, 0.44, 0.08, -1, -2}));
    // The divisor's squared modulus is the square of its modulus: for 1 + i
    // that is 2.0000000000000004, not 2.
    EXPECT_EQ(Coords({qvComplex(1, 0) / qvComplex(1, 1)}), (Doubles{0.4999999999999999, -0.4999999999999999}));
    qvComplex c = a;
    c += b;
    c *= b;
    c -= a;
    EXPECT_EQ(Coords({c}), (Doubles{-13, 32}));
    c /= b;
    EXPECT_EQ(c, qvComplex(-13, 32) / b);
    static_assert(std::is_void<decltype(c += b)>::value && std::is_void<decltype(c /= b)>::value, "return nothing");

    const qvComplex q = qvComplex(1, 1) / qvComplex(0, 0);
    EXPECT_FALSE(std::isfinite(q.re) || std::isfinite(q.im));
    EXPECT_TRUE(std::isnan((qvComplex(0, 0) / qvComplex(0, 0)).re));
}

// (1 + 2^-30 + i)(1 - 2^-30 + i): the product of the real parts, 1 - 2^-60,
// rounds to 1, so the real part is exactly 0; a fused multiply-subtract would
// keep the -2^-60. The quotient has the same trap in its real part. Checked
// in the inline operators and in library code compiled with its own flags.
TEST(Complex, ProductsAreRoundedBeforeTheyAreAdded) {
    const double e = std::ldexp(1.0, -30);
    const qvComplex a(1 + e, 1), b(1 - e, 1), c(1 + e, -1);
    EXPECT_EQ(Coords({a * b, c / b}), (Doubles{0, 2, 0, -2 / (qvAbs(b) * qvAbs(b))}));
    qvComplex p = a;
    p *= b;
    EXPECT_EQ(p.re, 0.0);

    qvArray<qvComplex> x(3, a), y(3, b);
    const qvArray<qvComplex> xy = x * y;
    qvMatrix<qvComplex> m(1, 1), n(1, 1);
    m(0, 0) = a;
    n(0, 0) = b;
    const qvMatrix<qvComplex> mn = m * n;
    EXPECT_EQ(Coords({xy[0], xy[2], mn(0, 0), x.ScalarMul(y)}), (Doubles{0, 2, 0, 2, 0, 2, 0, 6}));
}

TEST(Complex, OrderingComparesModuliEqualityComparesParts) {
    // <, >, <=, >=, ==, !=
    EXPECT_EQ(Relations(qvComplex(3, 4), qvComplex(5, 0)), (Ints{0, 0, 1, 1, 0, 1}));
    EXPECT_EQ(Relations(qvComplex(1, 1), qvComplex(0, 2)), (Ints{1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(Relations(qvComplex(0, -3), qvComplex(2, 2)), (Ints{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(Relations(qvComplex(1, 2), qvComplex(1, 2)), (Ints{0, 0, 1, 1, 1, 0}));
}
