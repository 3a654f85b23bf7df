// The 2x2 and 3x3 matrices, their conversions and rotations, and the vector
// members that take or give them.
#include "values_test_support.h"

#include <cmath>

using namespace valuestest;

namespace {

const double kPi = 3.14159265358979323846;

// Orthonormal with determinant +1.
bool IsRotation(const M3& r) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0;
            for (int k = 0; k < 3; ++k) s += r(k, i) * r(k, j);
            if (std::fabs(s - (i == j ? 1 : 0)) > 1e-12) return false;
        }
    return std::fabs(r.Det() - 1) < 1e-12;
}

}  // namespace

TEST(Matrix2x2, ArithmeticDetInverseAndConversions) {
    const qvMatrix2x2 a = Make2(1, 2, 3, 4);
    EXPECT_EQ(a.Det(), -2);
    qvMatrix2x2 b = a;
    b += a;
    b -= Make2(1, 1, 1, 1);
    EXPECT_EQ(Entries({a.Inverse(), a * Make2(0, 1, 1, 0), a + a, a - Make2(1, 1, 1, 1), b}),
              (Doubles{-2, 1, 1.5, -0.5, 2, 1, 4, 3, 2, 4, 6, 8, 0, 1, 2, 3, 1, 3, 5, 7}));
    EXPECT_EQ(Coords({a * qvVec2(1, 1)}), (Doubles{3, 7}));
    // The determinant's magnitude is compared with 1e-60.
    CQV_EXPECT_BAD(Make2(1e-61, 0, 0, 1).Inverse(), qvMsg::Matrix2x2InverseDetZero);
    EXPECT_EQ(Entries(Make2(1e-59, 0, 0, 1).Inverse()), (Doubles{1e59, 0, 0, 1}));
    qvMatrix2x2 e = a, z = a;
    e.MakeE();
    z.MakeNull();
    EXPECT_EQ(Entries({e, z}), (Doubles{1, 0, 0, 1, 0, 0, 0, 0}));

    EXPECT_EQ(cqvtest::Elements(qvMatrix<double>(a)), Entries(a));
    qvMatrix<double> t;
    double raw[4] = {1, 3, 2, 4};
    t.SetDirectly(raw, 2, 2, 1, 2);  // column-major storage
    EXPECT_EQ(Entries(qvMatrix2x2(t)), (Doubles{1, 2, 3, 4}));
    CQV_EXPECT_BAD(qvMatrix2x2(qvMatrix<double>(2, 3)), qvMsg::Matrix2x2FromMatrix);
}

TEST(Matrix2x2, Rotations) {
    qvMatrix2x2 r;
    r.SetTurn(qvVec2(1, 0), qvVec2(0, 1));
    EXPECT_EQ(Entries(r), (Doubles{0, -1, 1, 0}));
    r.SetTurn(qvVec2(3, 0), qvVec2(-2, 0));
    EXPECT_EQ(Entries(r), (Doubles{-1, 0, 0, -1}));
    r.SetTurn(kPi / 2);
    EXPECT_TRUE(Near(Coords({r * qvVec2(1, 0)}), {0, 1}, 1e-15));
    // The x axis (k = 0) or the y axis (any other k) onto a direction.
    r.SetTurn(qvVec2(1, 1), 0);
    EXPECT_TRUE(Near(Coords({r * qvVec2(1, 0)}), {std::sqrt(0.5), std::sqrt(0.5)}, 1e-15));
    r.SetTurn(qvVec2(1, 0), 5);
    EXPECT_EQ(Entries(r), (Doubles{0, 1, -1, 0}));
}

TEST(Matrix3x3, ArithmeticConversionsAndCopy) {
    // Copy(m, k) fills all but row and column k.
    M3 a(0.0), b(7.0), c(7.0);
    const qvMatrix2x2 m = Make2(1, 2, 3, 4);
    a.Copy(m, 1);
    b.Copy(m, 0);
    c.Copy(m, 2);
    EXPECT_EQ(Entries({a, b, c}),
              (Doubles{1, 0, 2, 0, 0, 0, 3, 0, 4, 7, 7, 7, 7, 1, 2, 7, 3, 4, 1, 2, 7, 3, 4, 7, 7, 7, 7}));
    CQV_EXPECT_BAD(a.Copy(m, 3), qvMsg::Matrix3x3CopyIndex);
    CQV_EXPECT_BAD(a.Copy(m, -1), qvMsg::Matrix3x3CopyIndex);

    const qvMatrix<double> g = a;
    EXPECT_EQ((Doubles{g(0, 2), g(2, 0)}), (Doubles{2, 3}));
    EXPECT_EQ(Entries(M3(g)), Entries(a));
    CQV_EXPECT_BAD(M3(qvMatrix<double>(3, 2)), qvMsg::Matrix3x3FromMatrix);

    M3 e;
    e.MakeE();
    const M3 s = a + e;
    M3 d = s, z = s;
    d += e;
    d -= a;
    z.MakeNull();
    EXPECT_EQ(Entries({s, s - e, -s, d, s * a, z}),
              (Doubles{2, 0, 2, 0, 1, 0, 3, 0, 5, 1, 0, 2, 0, 0, 0, 3, 0, 4, -2, 0, -2, 0, -1, 0, -3, 0, -5,
                       2, 0, 0, 0, 2, 0, 0, 0, 2, 8, 0, 12, 0, 0, 0, 18, 0, 26, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Coords({s * V3(1, 2, 3)}), (Doubles{8, 2, 18}));
}

TEST(Matrix3x3, DetAndInverseThroughTheGeneralMatrix) {
    const M3 a(MatrixOf(3, 3, {2, 1, 0, 0, 3, 0, 1, 0, 4}));
    EXPECT_DOUBLE_EQ(a.Det(), 24);
    EXPECT_TRUE(Near(Entries(a * a.Inverse()), {1, 0, 0, 0, 1, 0, 0, 0, 1}, 1e-15));
    EXPECT_EQ(Entries(a), (Doubles{2, 1, 0, 0, 3, 0, 1, 0, 4}));  // unchanged
    const M3 singular(1.0);
    EXPECT_EQ(singular.Det(), 0);
    CQV_EXPECT_BAD(singular.Inverse(), qvMsg::SystemNotUnique);
}

TEST(Matrix3x3, Rotations) {
    M3 r;
    r.SetTurn(kPi / 2, V3(0, 0, 1));
    EXPECT_TRUE(Near(Coords({r * V3(1, 0, 0)}), {0, 1, 0}, 1e-12));
    r.SetTurn(kPi / 2, V3(0, 0, 5));  // the axis length does not matter
    EXPECT_TRUE(Near(Coords({r * V3(0, 1, 0)}), {-1, 0, 0}, 1e-12));
    r.SetTurn(std::cos(0.3), std::sin(0.3), V3(1, 2, 3));
    EXPECT_TRUE(IsRotation(r));
    EXPECT_TRUE(Near(Coords({r * V3(1, 2, 3)}), {1, 2, 3}, 1e-12));  // the axis stays fixed

    // Three angles: a about x, then b about y, then g about z.
    M3 rx, ry, rz, all;
    rx.SetTurn(0.2, V3(1, 0, 0));
    ry.SetTurn(-0.7, V3(0, 1, 0));
    rz.SetTurn(1.1, V3(0, 0, 1));
    all.SetTurn(0.2, -0.7, 1.1);
    EXPECT_TRUE(Near(Entries(all), Entries(rz * (ry * rx)), 1e-15));

    r.SetTurn(V3(1, 0, 0), V3(0, 2, 2));
    EXPECT_TRUE(IsRotation(r));
    EXPECT_TRUE(Near(Coords({r * V3(1, 0, 0)}), {0, std::sqrt(0.5), std::sqrt(0.5)}, 1e-12));
    // Parallel and opposite directions: the unit matrix and its negation.
    r.SetTurn(V3(1, 1, 0), V3(2, 2, 0));
    EXPECT_EQ(Entries(r), (Doubles{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    r.SetTurn(V3(1, 1, 0), V3(-3, -3, 0));
    EXPECT_EQ(Entries(r), (Doubles{-1, 0, 0, 0, -1, 0, 0, 0, -1}));
}

TEST(VectorsWithMatrices, ProductsAndConversion) {
    EXPECT_EQ(Coords({qvVec2(1, 2) * Make2(1, 2, 3, 4)}), (Doubles{7, 10}));
    EXPECT_EQ(Entries(qvVec2(1, 2).MulCL(qvVec2(3, 4))), (Doubles{3, 4, 6, 8}));
    const M3 outer = V3(1, 2, 3).MulCL(V3(4, 5, 6));
    EXPECT_EQ(Entries(outer), (Doubles{4, 5, 6, 8, 10, 12, 12, 15, 18}));
    EXPECT_EQ(Coords({V3(1, 0, 2) * outer}), (Doubles{28, 35, 42}));

    qvColumnVector<double> c(2);
    c[0] = 5;
    c[1] = -1;
    EXPECT_EQ(Coords({qvVec2(c)}), (Doubles{5, -1}));
    CQV_EXPECT_BAD(qvVec2(qvColumnVector<double>(3)), qvMsg::Vec2DimensionTwo);
}
