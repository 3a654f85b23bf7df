// Plane and space vectors: arithmetic, the component-wise order and
// products (the plane vector's record is checked with the other value
// types', record_bounds_test.cpp).
#include "values_test_support.h"

#include <cmath>
#include <type_traits>

using valuestest::Coords;
using valuestest::Doubles;
using valuestest::Ints;
using valuestest::Relations;
using valuestest::V3;

TEST(Vec2, AccessAndArithmetic) {
    static_assert(sizeof(qvVec2) == 16 && std::is_trivially_copyable<qvVec2>::value, "two packed doubles");
    qvVec2 a(1, 2);
    a[1] = 5;
    EXPECT_EQ(Doubles({a[0], a.GetVec()[1], a.Y()}), Doubles({1, 5, 5}));

    const qvVec2 p(6, 8), q(2, 4);
    EXPECT_EQ(Coords({p + q, p - q, p * q, p / q, -p, p * 0.5, p / 2, p + 1, p - 1}),
              (Doubles{8, 12, 4, 4, 12, 32, 3, 2, -6, -8, 3, 4, 3, 4, 7, 9, 5, 7}));
    qvVec2 c = p;
    c += q;
    c *= q;
    c -= p;
    c /= q;
    c *= 2.0;
    c /= 4.0;
    EXPECT_EQ(Coords({c}), (Doubles{2.5, 5}));
    c.Fill(7);
    EXPECT_EQ(Coords({c}), (Doubles{7, 7}));
}

TEST(Vec2, ComponentWiseOrderMeasuresAndExtremes) {
    // <, >, <=, >=, ==, !=: every coordinate must satisfy the relation.
    EXPECT_EQ(Relations(qvVec2(1, 5), qvVec2(2, 3)), (Ints{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Relations(qvVec2(1, 2), qvVec2(1, 3)), (Ints{0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(Relations(qvVec2(0, 0), qvVec2(1, 3)), (Ints{1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(Relations(qvVec2(2, 4), qvVec2(2, 3)), (Ints{0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(Relations(qvVec2(3, 4), qvVec2(2, 3)), (Ints{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(Relations(qvVec2(2, 4), qvVec2(2, 4)), (Ints{0, 0, 1, 1, 1, 0}));

    EXPECT_EQ(Doubles({qvVec2(3, 4).Norm(), qvVec2(3, 4).ScalarMul(), qvVec2(1, 2).ScalarMul(qvVec2(3, -4))}),
              Doubles({5, 25, -5}));
    EXPECT_EQ(Coords({qvVec2(1, 5).Max(qvVec2(2, 3)), qvVec2(1, 5).Min(qvVec2(2, 3))}), (Doubles{2, 5, 1, 3}));
    // On a tie the other vector's coordinate is taken: visible with signed zeros.
    EXPECT_TRUE(std::signbit(qvVec2(0.0, 1).Min(qvVec2(-0.0, 1)).X()));
    EXPECT_TRUE(std::signbit(qvVec2(0.0, 1).Max(qvVec2(-0.0, 1)).X()));
    EXPECT_EQ(Coords({qvSgn(qvVec2(-0.5, 0)), qvSgn(qvVec2(3, -2))}), (Doubles{-1, 0, 1, -1}));
}

TEST(Vec3, AccessAndArithmetic) {
    static_assert(sizeof(V3) == 24, "three packed doubles");
    const V3 a(1, 2, 3);
    a[2] = 4;  // a modifiable coordinate even through a const vector
    a.GetVec()[0] = 0;
    EXPECT_EQ(Coords({a}), (Doubles{0, 2, 4}));

    const V3 p(2, 4, 6), q(1, 2, 3);
    EXPECT_EQ(Coords({p + q, p - q, p * q, p / q, -p, p * 2.0, p / 2.0, p + 1.0, p - 1.0}),
              (Doubles{3, 6, 9, 1, 2, 3, 2, 8, 18, 2, 2, 2, -2, -4, -6, 4, 8, 12, 1, 2, 3, 3, 5, 7, 1, 3, 5}));
    V3 c = p;
    c += q;
    c *= q;
    c -= p;
    c /= q;
    c += 2.0;
    c *= 2.0;
    c -= 1.0;
    c /= 4.0;
    EXPECT_EQ(Coords({c}), (Doubles{1.25, 2.75, 4.25}));
    c.Fill(-1);
    EXPECT_EQ(Coords({c}), (Doubles{-1, -1, -1}));
}

TEST(Vec3, OrderProductsAndMeasures) {
    // Component-wise: every coordinate must satisfy the relation.
    const V3 a(1, 2, 3);
    EXPECT_EQ(std::vector<int>({a < V3(2, 3, 4), a < V3(2, 3, 3), a <= V3(2, 3, 3), a >= V3(0, 3, 0), a > V3(0, 1, 2),
                                a != V3(1, 2, 4), a == V3(1, 2, 3), a == V3(1, 2, 4)}),
              std::vector<int>({1, 0, 1, 0, 1, 1, 1, 0}));

    EXPECT_EQ(Coords({V3(1, 0, 0).VectorMul(V3(0, 1, 0)), V3(2, 3, 4).VectorMul(V3(5, 6, 7))}),
              (Doubles{0, 0, 1, -3, 6, -3}));
    const V3 b(3, -1, 2), c(1, 2, 2);
    EXPECT_EQ(Doubles({c.Norm(), c.ScalarMul(), a.ScalarMul(V3(4, 5, 6)), b.Min(), b.Max(), a.E()}),
              Doubles({3, 9, 32, -1, 3, 2}));
    // E multiplies by the double nearest 1/3 rather than dividing by 3.
    // For a sum of 5 the two differ in the last bit.
    EXPECT_EQ(V3(5, 0, 0).E(), 1.6666666666666665);
    EXPECT_NE(V3(5, 0, 0).E(), 5.0 / 3.0);
}
