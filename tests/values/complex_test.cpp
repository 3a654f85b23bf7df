// The complex number: arithmetic, ordering by modulus, and its record.
#include "cqv_test.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

void ExpectComplex(const qvComplex& c, double re, double im) {
    EXPECT_DOUBLE_EQ(c.re, re);
    EXPECT_DOUBLE_EQ(c.im, im);
}

}  // namespace

TEST(Complex, Construction) {
    ExpectComplex(qvComplex(3), 3, 0);
    ExpectComplex(qvComplex(1, 2), 1, 2);
    qvComplex c;
    c = qvComplex(5, 6);
    ExpectComplex(c, 5, 6);
    static_assert(sizeof(qvComplex) == 16, "two doubles, no padding");
    static_assert(std::is_trivially_copyable<qvComplex>::value, "copied as bytes by the arrays");
}

TEST(Complex, Arithmetic) {
    const qvComplex a(1, 2), b(3, 4);
    ExpectComplex(a + b, 4, 6);
    ExpectComplex(a - b, -2, -2);
    ExpectComplex(a * b, -5, 10);
    ExpectComplex(a / b, 0.44, 0.08);
    ExpectComplex(-a, -1, -2);
    const qvComplex back = (a / b) * b;
    EXPECT_NEAR(back.re, 1, 1e-15);
    EXPECT_NEAR(back.im, 2, 1e-15);

    qvComplex c = a;
    c += b;
    ExpectComplex(c, 4, 6);
    c -= b;
    ExpectComplex(c, 1, 2);
    c *= b;
    ExpectComplex(c, -5, 10);
    c = a;
    c /= b;
    EXPECT_EQ(c, a / b);
    // Compound assignments return nothing.
    static_assert(std::is_void<decltype(c += b)>::value, "void");
    static_assert(std::is_void<decltype(c /= b)>::value, "void");
}

TEST(Complex, DivisionByZeroGivesNonFiniteParts) {
    const qvComplex q = qvComplex(1, 1) / qvComplex(0, 0);
    EXPECT_FALSE(std::isfinite(q.re));
    EXPECT_FALSE(std::isfinite(q.im));
    const qvComplex z = qvComplex(0, 0) / qvComplex(0, 0);
    EXPECT_TRUE(std::isnan(z.re));
}

TEST(Complex, OrderingComparesModuli) {
    const qvComplex a(3, 4), b(5, 0);
    EXPECT_DOUBLE_EQ(qvAbs(a), 5);
    EXPECT_EQ(a < b, 0);
    EXPECT_EQ(a > b, 0);
    EXPECT_EQ(a <= b, 1);
    EXPECT_EQ(a >= b, 1);
    EXPECT_EQ(a == b, 0);
    EXPECT_EQ(a != b, 1);
    EXPECT_EQ(qvComplex(1, 1) < qvComplex(0, 2), 1);
    EXPECT_EQ(qvComplex(0, -3) > qvComplex(2, 2), 1);
    EXPECT_EQ(qvComplex(1, 2) == qvComplex(1, 2), 1);
}

TEST(Complex, RecordRoundTripsBitForBit) {
    const qvComplex values[] = {qvComplex(1.5, -2.25), qvComplex(-0.0, std::numeric_limits<double>::infinity()),
                                qvComplex(std::numeric_limits<double>::denorm_min(), 1e308)};
    for (const qvComplex& v : values) {
        unsigned char buf[16];
        EXPECT_EQ(qvToMem(buf, v), 16);
        qvComplex back(0, 0);
        EXPECT_EQ(qvFromMem(buf, back), 16);
        EXPECT_EQ(std::memcmp(&back, &v, 16), 0);
    }
    // Little-endian doubles, real part first: 1.0 is 00 .. 00 f0 3f.
    unsigned char buf[16];
    qvToMem(buf, qvComplex(1.0, -2.0));
    const unsigned char expected[16] = {0, 0, 0, 0, 0, 0, 0xf0, 0x3f, 0, 0, 0, 0, 0, 0, 0, 0xc0};
    EXPECT_EQ(std::memcmp(buf, expected, 16), 0);
}
