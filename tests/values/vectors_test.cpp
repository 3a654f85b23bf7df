// Plane and space vectors: arithmetic, the component-wise order, products
// and the plane vector's record.
#include "cqv_test.h"

#include <cmath>
#include <cstring>
#include <limits>

using V3 = qvTVec3<double>;

namespace {

void Expect2(const qvVec2& v, double x, double y) {
    EXPECT_DOUBLE_EQ(v.X(), x);
    EXPECT_DOUBLE_EQ(v.Y(), y);
}

void Expect3(const V3& v, double x, double y, double z) {
    EXPECT_DOUBLE_EQ(v.X(), x);
    EXPECT_DOUBLE_EQ(v.Y(), y);
    EXPECT_DOUBLE_EQ(v.Z(), z);
}

}  // namespace

TEST(Vec2, AccessAndArithmetic) {
    qvVec2 a(1, 2);
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(a.GetVec()[1], 2);
    a[1] = 5;
    EXPECT_EQ(a.Y(), 5);
    static_assert(sizeof(qvVec2) == 16 && std::is_trivially_copyable<qvVec2>::value, "two packed doubles");

    const qvVec2 p(6, 8), q(2, 4);
    Expect2(p + q, 8, 12);
    Expect2(p - q, 4, 4);
    Expect2(p * q, 12, 32);
    Expect2(p / q, 3, 2);
    Expect2(-p, -6, -8);
    Expect2(p * 0.5, 3, 4);
    Expect2(p / 2, 3, 4);
    Expect2(p + 1, 7, 9);
    Expect2(p - 1, 5, 7);

    qvVec2 c = p;
    c += q;
    Expect2(c, 8, 12);
    c -= q;
    c *= q;
    Expect2(c, 12, 32);
    c /= q;
    Expect2(c, 6, 8);
    c *= 2.0;
    c /= 4.0;
    Expect2(c, 3, 4);
    c.Fill(7);
    Expect2(c, 7, 7);
}

TEST(Vec2, ComponentWiseOrder) {
    const qvVec2 a(1, 5), b(2, 3);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(a > b);
    EXPECT_FALSE(a <= b);
    EXPECT_FALSE(a >= b);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(qvVec2(1, 2) <= qvVec2(1, 3));
    EXPECT_FALSE(qvVec2(1, 2) < qvVec2(1, 3));
    EXPECT_TRUE(qvVec2(0, 0) < qvVec2(1, 3));
    EXPECT_TRUE(qvVec2(2, 4) >= qvVec2(2, 3));
    EXPECT_TRUE(qvVec2(2, 4) == qvVec2(2, 4));
    EXPECT_FALSE(qvVec2(2, 4) != qvVec2(2, 4));
}

TEST(Vec2, MeasuresAndExtremes) {
    EXPECT_DOUBLE_EQ(qvVec2(3, 4).Norm(), 5);
    EXPECT_DOUBLE_EQ(qvVec2(3, 4).ScalarMul(), 25);
    EXPECT_DOUBLE_EQ(qvVec2(1, 2).ScalarMul(qvVec2(3, -4)), -5);
    Expect2(qvVec2(1, 5).Max(qvVec2(2, 3)), 2, 5);
    Expect2(qvVec2(1, 5).Min(qvVec2(2, 3)), 1, 3);
    // On a tie the other vector's coordinate is taken: visible with signed zeros.
    EXPECT_TRUE(std::signbit(qvVec2(0.0, 1).Min(qvVec2(-0.0, 1)).X()));
    EXPECT_TRUE(std::signbit(qvVec2(0.0, 1).Max(qvVec2(-0.0, 1)).X()));
    Expect2(qvSgn(qvVec2(-0.5, 0)), -1, 0);
    Expect2(qvSgn(qvVec2(3, -2)), 1, -1);
}

TEST(Vec2, RecordRoundTripsBitForBit) {
    const qvVec2 v(-1.25, std::numeric_limits<double>::denorm_min());
    unsigned char buf[16];
    EXPECT_EQ(qvMemSize(v), 16);
    EXPECT_EQ(qvToMem(buf, v), 16);
    qvVec2 back(0, 0);
    EXPECT_EQ(qvFromMem(buf, back), 16);
    EXPECT_EQ(std::memcmp(&back, &v, 16), 0);
    unsigned char one[16];
    qvToMem(one, qvVec2(1.0, 2.0));
    const unsigned char expected[16] = {0, 0, 0, 0, 0, 0, 0xf0, 0x3f, 0, 0, 0, 0, 0, 0, 0, 0x40};
    EXPECT_EQ(std::memcmp(one, expected, 16), 0);
}

TEST(Vec3, AccessAndArithmetic) {
    const V3 a(1, 2, 3);
    a[2] = 4;  // a modifiable coordinate even through a const vector
    EXPECT_EQ(a.Z(), 4);
    a.GetVec()[2] = 3;
    static_assert(sizeof(V3) == 24, "three packed doubles");

    const V3 p(2, 4, 6), q(1, 2, 3);
    Expect3(p + q, 3, 6, 9);
    Expect3(p - q, 1, 2, 3);
    Expect3(p * q, 2, 8, 18);
    Expect3(p / q, 2, 2, 2);
    Expect3(-p, -2, -4, -6);
    Expect3(p * 2.0, 4, 8, 12);
    Expect3(p / 2.0, 1, 2, 3);
    Expect3(p + 1.0, 3, 5, 7);
    Expect3(p - 1.0, 1, 3, 5);
    V3 c = p;
    c += q;
    c -= 1.0;
    c += 2.0;
    Expect3(c, 4, 7, 10);
    c -= q;
    c *= q;
    c /= 2.0;
    c *= 2.0;
    c /= q;
    Expect3(c, 3, 5, 7);
    c.Fill(-1);
    Expect3(c, -1, -1, -1);
}

TEST(Vec3, OrderProductsAndMeasures) {
    EXPECT_TRUE(V3(1, 2, 3) < V3(2, 3, 4));
    EXPECT_FALSE(V3(1, 2, 3) < V3(2, 3, 3));
    EXPECT_TRUE(V3(1, 2, 3) <= V3(2, 3, 3));
    EXPECT_FALSE(V3(1, 2, 3) >= V3(0, 3, 0));
    EXPECT_TRUE(V3(1, 2, 3) > V3(0, 1, 2));
    EXPECT_TRUE(V3(1, 2, 3) != V3(1, 2, 4));
    EXPECT_TRUE(V3(1, 2, 3) == V3(1, 2, 3));

    Expect3(V3(1, 0, 0).VectorMul(V3(0, 1, 0)), 0, 0, 1);
    Expect3(V3(0, 1, 0).VectorMul(V3(1, 0, 0)), 0, 0, -1);
    Expect3(V3(2, 3, 4).VectorMul(V3(5, 6, 7)), -3, 6, -3);
    EXPECT_DOUBLE_EQ(V3(1, 2, 2).Norm(), 3);
    EXPECT_DOUBLE_EQ(V3(1, 2, 2).ScalarMul(), 9);
    EXPECT_DOUBLE_EQ(V3(1, 2, 3).ScalarMul(V3(4, 5, 6)), 32);
    EXPECT_EQ(V3(3, -1, 2).Min(), -1);
    EXPECT_EQ(V3(3, -1, 2).Max(), 3);
    EXPECT_EQ(V3(1, 2, 3).Sum(), 6);
    EXPECT_EQ(V3(1, 2, 3).E(), 6 * 0.3333333333333333);
    EXPECT_EQ(V3(1, 2, 3).E(), 2);
    // E multiplies by the double nearest 1/3 rather than dividing by 3.
    // For a sum of 5 the two differ in the last bit.
    EXPECT_EQ(V3(5, 0, 0).E(), 1.6666666666666665);
    EXPECT_NE(V3(5, 0, 0).E(), 5.0 / 3.0);
}
