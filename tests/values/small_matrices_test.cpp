// The 2x2 and 3x3 matrices, their conversions and rotations, and the vector
// members that take or give them.
#include "cqv_test.h"

#include <cmath>
#include <cstring>

using V3 = qvTVec3<double>;
using M3 = qvTMatrix3x3<double>;

namespace {

const double kPi = 3.14159265358979323846;

qvMatrix2x2 Make2(double a, double b, double c, double d) {
    qvMatrix2x2 m;
    m(0, 0) = a;
    m(0, 1) = b;
    m(1, 0) = c;
    m(1, 1) = d;
    return m;
}

void Expect2(const qvMatrix2x2& m, double a, double b, double c, double d) {
    EXPECT_DOUBLE_EQ(m(0, 0), a);
    EXPECT_DOUBLE_EQ(m(0, 1), b);
    EXPECT_DOUBLE_EQ(m(1, 0), c);
    EXPECT_DOUBLE_EQ(m(1, 1), d);
}

void ExpectNear3(const V3& v, double x, double y, double z) {
    EXPECT_NEAR(v.X(), x, 1e-12);
    EXPECT_NEAR(v.Y(), y, 1e-12);
    EXPECT_NEAR(v.Z(), z, 1e-12);
}

bool IsRotation(const M3& r) {
    // Orthonormal with determinant +1.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0;
            for (int k = 0; k < 3; ++k) s += r(k, i) * r(k, j);
            if (std::fabs(s - (i == j ? 1 : 0)) > 1e-12) return false;
        }
    return std::fabs(r.Det() - 1) < 1e-12;
}

}  // namespace

TEST(Matrix2x2, ArithmeticDetAndInverse) {
    const qvMatrix2x2 a = Make2(1, 2, 3, 4);
    EXPECT_EQ(a.Det(), -2);
    Expect2(a.Inverse(), -2, 1, 1.5, -0.5);
    Expect2(a * Make2(0, 1, 1, 0), 2, 1, 4, 3);
    Expect2(a + a, 2, 4, 6, 8);
    Expect2(a - a, 0, 0, 0, 0);
    qvMatrix2x2 b = a;
    b += a;
    b -= Make2(1, 1, 1, 1);
    Expect2(b, 1, 3, 5, 7);
    const qvVec2 v = a * qvVec2(1, 1);
    EXPECT_EQ(v.X(), 3);
    EXPECT_EQ(v.Y(), 7);

    CQV_EXPECT_BAD(Make2(1e-61, 0, 0, 1).Inverse(), qvMsg::Matrix2x2InverseDetZero);
    Expect2(Make2(1e-59, 0, 0, 1).Inverse(), 1e59, 0, 0, 1);
    b.MakeE();
    Expect2(b, 1, 0, 0, 1);
    b.MakeNull();
    Expect2(b, 0, 0, 0, 0);
}

TEST(Matrix2x2, ConversionsAndRecord) {
    const qvMatrix<double> g = Make2(1, 2, 3, 4);
    ASSERT_EQ(g.ColumnLen(), 2);
    EXPECT_EQ(g(1, 0), 3);
    qvMatrix<double> t;
    double raw[4] = {1, 3, 2, 4};
    t.SetDirectly(raw, 2, 2, 1, 2);  // column-major storage
    Expect2(qvMatrix2x2(t), 1, 2, 3, 4);
    CQV_EXPECT_BAD(qvMatrix2x2(qvMatrix<double>(2, 3)), qvMsg::Matrix2x2FromMatrix);

    unsigned char buf[32];
    EXPECT_EQ(qvMemSize(Make2(1, 2, 3, 4)), 32);
    EXPECT_EQ(qvToMem(buf, Make2(1, 2, 3, 4)), 32);
    double third;
    std::memcpy(&third, buf + 16, 8);
    EXPECT_EQ(third, 3);
    qvMatrix2x2 back;
    EXPECT_EQ(qvFromMem(buf, back), 32);
    Expect2(back, 1, 2, 3, 4);
}

TEST(Matrix2x2, Rotations) {
    qvMatrix2x2 r;
    r.SetTurn(qvVec2(1, 0), qvVec2(0, 1));
    Expect2(r, 0, -1, 1, 0);
    r.SetTurn(qvVec2(3, 0), qvVec2(-2, 0));
    Expect2(r, -1, 0, 0, -1);
    r.SetTurn(kPi / 2);
    const qvVec2 p = r * qvVec2(1, 0);
    EXPECT_NEAR(p.X(), 0, 1e-15);
    EXPECT_NEAR(p.Y(), 1, 1e-15);
    // The x axis (k = 0) or the y axis (any other k) onto a direction.
    r.SetTurn(qvVec2(1, 1), 0);
    const qvVec2 x = r * qvVec2(1, 0);
    EXPECT_DOUBLE_EQ(x.X(), std::sqrt(0.5));
    EXPECT_DOUBLE_EQ(x.Y(), std::sqrt(0.5));
    r.SetTurn(qvVec2(1, 0), 5);
    Expect2(r, 0, 1, -1, 0);
}

TEST(Matrix3x3, ArithmeticConversionsAndCopy) {
    M3 a(0.0);
    EXPECT_EQ(a(2, 1), 0);
    qvMatrix2x2 m = Make2(1, 2, 3, 4);
    a.Copy(m, 1);
    const double want[9] = {1, 0, 2, 0, 0, 0, 3, 0, 4};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(a(i / 3, i % 3), want[i]);
    M3 b(7.0);
    b.Copy(m, 0);
    EXPECT_EQ(b(0, 0), 7);
    EXPECT_EQ(b(1, 1), 1);
    EXPECT_EQ(b(2, 2), 4);
    b.Copy(m, 2);
    EXPECT_EQ(b(0, 1), 2);
    CQV_EXPECT_BAD(a.Copy(m, 3), qvMsg::Matrix3x3CopyIndex);
    CQV_EXPECT_BAD(a.Copy(m, -1), qvMsg::Matrix3x3CopyIndex);

    const qvMatrix<double> g = a;
    EXPECT_EQ(g(2, 0), 3);
    const M3 back(g);
    EXPECT_EQ(back(2, 2), 4);
    CQV_EXPECT_BAD(M3(qvMatrix<double>(3, 2)), qvMsg::Matrix3x3FromMatrix);

    M3 e;
    e.MakeE();
    const M3 s = a + e;
    EXPECT_EQ(s(1, 1), 1);
    EXPECT_EQ((s - e)(1, 1), 0);
    EXPECT_EQ((-s)(0, 2), -2);
    M3 c = s;
    c += e;
    c -= s;
    EXPECT_EQ(c(0, 0), 1);
    EXPECT_EQ(c(0, 1), 0);
    const V3 v = s * V3(1, 1, 1);
    EXPECT_EQ(v, V3(4, 1, 8));
    const M3 p = s * s;
    EXPECT_EQ(p(0, 0), 2 * 2 + 0 * 0 + 2 * 3);
    EXPECT_EQ(p(2, 2), 3 * 2 + 0 * 0 + 5 * 5);
    c.MakeNull();
    EXPECT_EQ(c(1, 2), 0);
}

TEST(Matrix3x3, DetAndInverseThroughTheGeneralMatrix) {
    M3 a(0.0);
    a(0, 0) = 2;
    a(0, 1) = 1;
    a(1, 1) = 3;
    a(2, 0) = 1;
    a(2, 2) = 4;
    EXPECT_DOUBLE_EQ(a.Det(), 2 * (3 * 4) - 1 * (0 * 4 - 0 * 1));
    const M3 inv = a.Inverse();
    const M3 p = a * inv;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(p(i, j), i == j ? 1 : 0, 1e-15);
    EXPECT_EQ(a(0, 1), 1);  // unchanged
    M3 singular(1.0);
    EXPECT_EQ(singular.Det(), 0);
    CQV_EXPECT_BAD(singular.Inverse(), qvMsg::SystemNotUnique);
}

TEST(Matrix3x3, Rotations) {
    M3 r;
    r.SetTurn(kPi / 2, V3(0, 0, 1));
    ExpectNear3(r * V3(1, 0, 0), 0, 1, 0);
    r.SetTurn(kPi / 2, V3(0, 0, 5));  // the axis length does not matter
    ExpectNear3(r * V3(0, 1, 0), -1, 0, 0);
    r.SetTurn(std::cos(0.3), std::sin(0.3), V3(1, 2, 3));
    EXPECT_TRUE(IsRotation(r));
    ExpectNear3(r * V3(1, 2, 3), 1, 2, 3);  // the axis stays fixed

    // Three angles: a about x, then b about y, then g about z.
    M3 rx, ry, rz, all;
    rx.SetTurn(0.2, V3(1, 0, 0));
    ry.SetTurn(-0.7, V3(0, 1, 0));
    rz.SetTurn(1.1, V3(0, 0, 1));
    all.SetTurn(0.2, -0.7, 1.1);
    const M3 composed = rz * (ry * rx);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(all(i, j), composed(i, j), 1e-15);

    r.SetTurn(V3(1, 0, 0), V3(0, 2, 2));
    EXPECT_TRUE(IsRotation(r));
    ExpectNear3(r * V3(1, 0, 0), 0, std::sqrt(0.5), std::sqrt(0.5));
    r.SetTurn(V3(1, 1, 0), V3(2, 2, 0));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(r(i / 3, i % 3), i % 4 == 0 ? 1 : 0);
    r.SetTurn(V3(1, 1, 0), V3(-3, -3, 0));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(r(i / 3, i % 3), i % 4 == 0 ? -1 : 0);
}

TEST(VectorsWithMatrices, ProductsAndConversion) {
    const qvVec2 row = qvVec2(1, 2) * Make2(1, 2, 3, 4);
    EXPECT_EQ(row.X(), 7);
    EXPECT_EQ(row.Y(), 10);
    Expect2(qvVec2(1, 2).MulCL(qvVec2(3, 4)), 3, 4, 6, 8);

    const M3 outer = V3(1, 2, 3).MulCL(V3(4, 5, 6));
    EXPECT_EQ(outer(0, 0), 4);
    EXPECT_EQ(outer(2, 1), 15);
    EXPECT_EQ(V3(1, 0, 2) * outer, V3(1 * 4 + 2 * 12, 1 * 5 + 2 * 15, 1 * 6 + 2 * 18));

    qvColumnVector<double> c(2);
    c[0] = 5;
    c[1] = -1;
    const qvVec2 fromColumn(c);
    EXPECT_EQ(fromColumn.X(), 5);
    EXPECT_EQ(fromColumn.Y(), -1);
    CQV_EXPECT_BAD(qvVec2(qvColumnVector<double>(3)), qvMsg::Vec2DimensionTwo);
}
