// The arithmetic array: element-wise operators, comparisons, reductions and
// sign clipping, for all nine element types, with the wrapping of the integer
// types and the orders of complex numbers and plane vectors.
#include "cqv_test.h"

#include <climits>
#include <limits>
#include <vector>

#include "array_test_support.h"

using cqvtest::BlockCount;
using cqvtest::Ptrs;
using namespace arraytest;
using Ints = std::vector<int>;

template <class T>
class ArrayAllTypes : public ::testing::Test {};
TYPED_TEST_SUITE(ArrayAllTypes, ElementTypes, ElementTypeNames);

// Several element lists, compared in one line.
template <class T>
using Rows = std::vector<std::vector<T>>;

TYPED_TEST(ArrayAllTypes, ElementWiseOperators) {
    using T = TypeParam;
    qvArray<T> a = A<T>({6, 8, 12});
    const qvArray<T> b = A<T>({3, 2, 4});
    const T two = V<T>(2);
    EXPECT_EQ((Rows<T>{Items(a + b), Items(a - b), Items(a * b), Items(a / b)}),
              (Rows<T>{Vs<T>({9, 10, 16}), Vs<T>({3, 6, 8}), Vs<T>({18, 16, 48}), Vs<T>({2, 4, 3})}));
    EXPECT_EQ((Rows<T>{Items(a + two), Items(a - two), Items(a * two), Items(a / two), Items(a)}),
              (Rows<T>{Vs<T>({8, 10, 14}), Vs<T>({4, 6, 10}), Vs<T>({12, 16, 24}), Vs<T>({3, 4, 6}),
                       Vs<T>({6, 8, 12})}));
    EXPECT_EQ(BlockCount((a + b).GetPointer()), 1);

    qvArray<T> c(a);
    EXPECT_EQ(&(c += b), &c);
    c -= b;
    c *= b;
    EXPECT_EQ(Items(c), Vs<T>({18, 16, 48}));
    c /= b;
    c += c;  // an operand that is the array itself
    EXPECT_EQ(Items(c), Vs<T>({12, 16, 24}));
    c += V<T>(2);
    c -= V<T>(4);
    c /= V<T>(2);
    c *= V<T>(3);
    EXPECT_EQ(Items(c), Vs<T>({15, 21, 33}));
    // The scalar is read once, before the element it refers to changes.
    c -= c[0];
    EXPECT_EQ(Items(c), Vs<T>({0, 6, 18}));

    // In-place forms write into the viewed storage of a window.
    qvArray<T> w;
    w.SetSubWindow(a, 1, 2);
    w += V<T>(1);
    EXPECT_EQ(Items(a), Vs<T>({6, 9, 13}));

    // Lengths that differ are refused before anything is written.
    const qvArray<T> shorter = A<T>({1, 1});
    CQV_EXPECT_BAD(a + shorter, "Different range");
    CQV_EXPECT_BAD(a *= shorter, "Different range");
    EXPECT_EQ(Items(a), Vs<T>({6, 9, 13}));
}

TYPED_TEST(ArrayAllTypes, ComparisonsHoldForEveryElement) {
    using T = TypeParam;
    const qvArray<T> a = A<T>({1, 2, 3}), b = A<T>({2, 3, 4}), mixed = A<T>({1, 5, 3}), twos = A<T>({2, 2}), e;
    // x against y: <, >, <=, >=, ==, !=.
    const struct {
        const qvArray<T>& x;
        const qvArray<T>& y;
        Ints want;
    } arrays[] = {{a, b, {1, 0, 1, 0, 0, 1}},     {b, a, {0, 1, 0, 1, 0, 1}},     {mixed, b, {0, 0, 0, 0, 0, 1}},
                  {b, mixed, {0, 0, 0, 0, 0, 1}}, {mixed, a, {0, 0, 0, 1, 0, 1}}, {a, a, {0, 0, 1, 1, 1, 0}},
                  {e, e, {1, 1, 1, 1, 1, 0}}};
    for (const auto& r : arrays) {
        const qvArray<T>&x = r.x, &y = r.y;
        EXPECT_EQ(Ints({x < y, x > y, x <= y, x >= y, x == y, x != y}), r.want);
    }
    const struct {
        const qvArray<T>& x;
        int v;
        Ints want;
    } scalars[] = {{a, 4, {1, 0, 1, 0, 0, 1}}, {a, 3, {0, 0, 1, 0, 0, 1}},    {a, 1, {0, 0, 0, 1, 0, 1}},
                   {a, 0, {0, 1, 0, 1, 0, 1}}, {twos, 2, {0, 0, 1, 1, 1, 0}}, {e, 0, {1, 1, 1, 1, 1, 0}}};
    for (const auto& r : scalars) {
        const qvArray<T>& x = r.x;
        const T v = V<T>(r.v);
        EXPECT_EQ(Ints({x < v, x > v, x <= v, x >= v, x == v, x != v}), r.want) << r.v;
    }
    EXPECT_EQ(twos == a, 0);  // differing lengths are unequal, never an error
    EXPECT_EQ(twos != a, 1);
    CQV_EXPECT_BAD(static_cast<void>(twos < a), "Different range");
}

TYPED_TEST(ArrayAllTypes, ReductionsAndSignClipping) {
    using T = TypeParam;
    const qvArray<T> a = A<T>({1, 2, 3, 4});
    EXPECT_EQ((std::vector<T>{a.Sum(), a.Mul(), a.ScalarMul(A<T>({2, 3, 4, 5}))}), Vs<T>({10, 24, 40}));

    // Ties go to the first occurrence.
    const qvArray<T> peaks = A<T>({3, 7, 7, 1});
    EXPECT_EQ((std::vector<T>{peaks.Max(), peaks.Min()}), Vs<T>({7, 1}));
    EXPECT_EQ((Ints{peaks.MaxIndex(), peaks.MinIndex(), A<T>({2, 1, 1}).MinIndex()}), (Ints{1, 3, 1}));

    const qvArray<T> x = A<T>({1, 5, 3}), y = A<T>({4, 2, 3});
    EXPECT_EQ((Rows<T>{Items(x.Max(y)), Items(x.Min(y))}), (Rows<T>{Vs<T>({4, 5, 3}), Vs<T>({1, 2, 3})}));
    CQV_EXPECT_BAD(x.Max(a), "Different range");
    CQV_EXPECT_BAD(a.ScalarMul(x), "Different range");

    qvArray<T> c = A<T>({0, 2, 5});
    EXPECT_EQ((Rows<T>{Items(c.GetNoPositive()), Items(c.GetNoNegative()), Items(c)}),
              (Rows<T>{Vs<T>({0, 0, 0}), Vs<T>({0, 2, 5}), Vs<T>({0, 2, 5})}));
}

TEST(ArrayNumbers, SignClippingSumOrderAndWrapping) {
    qvArray<double> d = A<double>({-1, 0, 2});
    EXPECT_EQ((Rows<double>{Items(d.GetNoPositive()), Items(d.GetNoNegative())}),
              (Rows<double>{Vs<double>({-1, 0, 0}), Vs<double>({0, 0, 2})}));

    // Any regrouping of these additions loses the 1 that index order keeps.
    const qvArray<double> a = From<double>({1, 1e16, -1e16, 1});
    EXPECT_EQ(a.Sum(), 1.0);
    EXPECT_EQ(a.ScalarMul(qvArray<double>(4, 1.0)), 1.0);
    EXPECT_EQ(From<float>({1, 1e8f, -1e8f, 1}).Sum(), 1.0f);

    // Integer arithmetic wraps in the element type, also where promotion to
    // int would overflow (65535 * 65535).
    const qvArray<unsigned char> uc = A<unsigned char>({200, 100});
    EXPECT_EQ((Ints{uc.Sum(), uc.Mul()}), (Ints{44, 32}));  // 300 and 20000 modulo 256
    qvArray<short> s = A<short>({SHRT_MAX, SHRT_MIN});
    EXPECT_EQ((Rows<short>{Items(s + short(1)), Items(s / short(-1))}),
              (Rows<short>{Vs<short>({SHRT_MIN, SHRT_MIN + 1}), Vs<short>({-SHRT_MAX, SHRT_MIN})}));
    EXPECT_EQ(A<short>({200, 200}).Mul(), -25536);  // 40000 - 65536
    qvArray<unsigned short> us = A<unsigned short>({65535, 65535});
    EXPECT_EQ((Ints{us.Mul(), us.ScalarMul(us)}), (Ints{1, 2}));
    us *= static_cast<unsigned short>(65535);
    EXPECT_EQ(Items(us), Vs<unsigned short>({1, 1}));
    qvArray<int> i = A<int>({INT_MAX, INT_MIN});
    EXPECT_EQ((Rows<int>{Items(i + 1), Items(i * 2)}), (Rows<int>{Vs<int>({INT_MIN, INT_MIN + 1}), Vs<int>({-2, 0})}));
    EXPECT_EQ((Ints{A<int>({INT_MAX, 1}).Sum(), A<int>({65536, 3}).ScalarMul(A<int>({65536, 4}))}),
              (Ints{INT_MIN, 12}));
    i /= A<int>({-1, -1});
    EXPECT_EQ(Items(i), Vs<int>({-INT_MAX, INT_MIN}));
    const char wrapped = std::numeric_limits<char>::is_signed ? static_cast<char>(CHAR_MIN) : static_cast<char>(128);
    EXPECT_EQ(A<char>({127, 1}).Sum(), wrapped);
}

TEST(ArrayComplex, ArithmeticAndOrderByModulus) {
    qvArray<qvComplex> a = Complexes({{1, 2}, {3, 4}});
    const qvArray<qvComplex> b = Complexes({{3, 4}, {1, -1}});
    EXPECT_EQ(Items(a * b), Items(Complexes({{-5, 10}, {7, 1}})));
    const qvComplex q = (a / b)[0];
    EXPECT_NEAR(q.re, 0.44, 1e-15);
    EXPECT_NEAR(q.im, 0.08, 1e-15);
    // The product of all, and the scalar product without conjugation.
    EXPECT_EQ((std::vector<qvComplex>{a.Mul(), a.ScalarMul(b)}), (std::vector<qvComplex>{{-5, 10}, {2, 11}}));

    // Equal moduli, different parts: ordered as equal, yet not ==.
    const qvArray<qvComplex> c = Complexes({{3, 4}}), five = Complexes({{5, 0}}), six = Complexes({{0, 6}});
    EXPECT_EQ((Ints{c < six, c < five, c <= five, c == five, Complexes({{3, 4}, {0, -5}}) <= qvComplex(5)}),
              (Ints{1, 0, 1, 0, 1}));
    // Moduli 5, 5, 6, 6: ties go to the first occurrence.
    const qvArray<qvComplex> m = Complexes({{5, 0}, {3, 4}, {0, 6}, {6, 0}});
    EXPECT_EQ((Ints{m.MaxIndex(), m.MinIndex(), m.Find(qvComplex(3, 4)), m.Find(qvComplex(4, 3))}),
              (Ints{2, 0, 1, -1}));
    // Neither strictly greater nor strictly less: b's element is taken.
    EXPECT_EQ((std::vector<qvComplex>{c.Max(five)[0], c.Min(five)[0], six.Max(five)[0]}),
              (std::vector<qvComplex>{{5, 0}, {5, 0}, {0, 6}}));
    // Every non-zero modulus is above zero and none is below it.
    qvArray<qvComplex> s = Complexes({{1, -1}, {0, 0}, {-2, 0}});
    EXPECT_EQ((Rows<qvComplex>{Items(s.GetNoPositive()), Items(s.GetNoNegative())}),
              (Rows<qvComplex>{std::vector<qvComplex>(3, qvComplex(0, 0)), Items(s)}));
}

TEST(ArrayVec2, ComponentWiseOrder) {
    const qvArray<qvVec2> a = Vec2s({{1, 5}}), b = Vec2s({{2, 3}});
    const qvArray<qvVec2> low = Vec2s({{1, 2}}), high = Vec2s({{1, 3}});
    EXPECT_EQ(Ints({a < b, a > b, a <= b, a >= b, a != b, low <= high, low < high}),
              Ints({0, 0, 0, 0, 1, 1, 0}));
    // Unordered pairs give b's vector whole, not a component-wise mixture.
    EXPECT_EQ((std::vector<qvVec2>{a.Max(b)[0], a.Min(b)[0], Vec2s({{3, 4}}).Max(b)[0]}),
              (std::vector<qvVec2>{{2, 3}, {2, 3}, {3, 4}}));
    const qvArray<qvVec2> m = Vec2s({{1, 5}, {2, 3}, {3, 6}, {3, 7}});
    EXPECT_EQ((Ints{m.MaxIndex(), m.MinIndex()}), (Ints{2, 0}));

    qvArray<qvVec2> s = Vec2s({{1, 2}, {1, -2}, {-1, -2}, {0, 3}});
    EXPECT_EQ((Rows<qvVec2>{Items(s.GetNoPositive()), Items(s.GetNoNegative())}),
              (Rows<qvVec2>{{{0, 0}, {1, -2}, {-1, -2}, {0, 3}}, {{1, 2}, {1, -2}, {0, 0}, {0, 3}}}));
    EXPECT_EQ(Vec2s({{1, 2}, {3, 4}}).ScalarMul(Vec2s({{2, 1}, {1, 2}})), qvVec2(5, 10));
}

// Empty operands come without storage, and as windows onto a live block,
// where a member that read element 0 anyway would find a value there: the
// reductions refuse both, the relations over no elements hold, the searches
// miss, and element-wise work touches nothing.
TYPED_TEST(ArrayAllTypes, EmptyOperandsWithAndWithoutALiveBlockBehind) {
    using T = TypeParam;
    const qvArray<T> live = A<T>({6, 7, 8});
    qvArray<T> none, window;
    window.SetSubWindow(live, 1, 0);
    for (qvArray<T>* e : {&window, &none}) {
        SCOPED_TRACE(e == &none ? "no storage" : "window onto a live block");
        const char kEmpty[] = "Array length is zero.";
        CQV_EXPECT_BAD(e->Sum(), kEmpty);
        CQV_EXPECT_BAD(e->Mul(), kEmpty);
        CQV_EXPECT_BAD(e->ScalarMul(*e), kEmpty);
        CQV_EXPECT_BAD(e->Max(), kEmpty);
        CQV_EXPECT_BAD(e->Min(), kEmpty);
        CQV_EXPECT_BAD(e->MaxIndex(), kEmpty);
        CQV_EXPECT_BAD(e->MinIndex(), kEmpty);
        CQV_EXPECT_BAD(e->Median(), "Lenght of array is equl zero.");
        const qvArray<T>& c = *e;
        EXPECT_EQ((Ints{c < c, c > c, c <= c, c >= c, c == c, c != c}), (Ints{1, 1, 1, 1, 1, 0}));
        const T seven = V<T>(7);
        EXPECT_EQ((Ints{c < seven, c > seven, c <= seven, c >= seven, c == seven, c != seven}),
                  (Ints{1, 1, 1, 1, 1, 0}));
        EXPECT_EQ((Ints{c.Find(seven), c.FindB(seven, 1), c.FindB(seven, 0)}), (Ints{-1, -1, -1}));
        EXPECT_EQ((Ptrs((*e + *e).GetPointer(), (*e * seven).GetPointer(), c.Max(c).GetPointer(),
                        c.Min(c).GetPointer(), e->GetNoPositive().GetPointer())),
                  (Ptrs(nullptr, nullptr, nullptr, nullptr, nullptr)));
        *e += *e;
        *e *= seven;
        EXPECT_EQ(Items(live), Vs<T>({6, 7, 8}));
    }
}
