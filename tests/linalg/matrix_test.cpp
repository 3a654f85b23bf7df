// The dense matrix: storage and windows, rows and columns as vectors,
// assignment, arithmetic, products in their fixed summation order, special
// matrices and the record.
#include "linalg_test_support.h"
#include "record_cuts.h"

#include <cmath>

using namespace linalgtest;

namespace {

// The product element by element: the k = 0 term, then the others in order.
Doubles NaiveProduct(const M& a, const M& b) {
    Doubles c;
    for (int i = 0; i < a.ColumnLen(); ++i)
        for (int j = 0; j < b.LineLen(); ++j) {
            double s = a(i, 0) * b(0, j);
            for (int k = 1; k < a.LineLen(); ++k) s = s + a(i, k) * b(k, j);
            c.push_back(s);
        }
    return c;
}

}  // namespace

TEST(MatrixStorage, SizesStridesAndStates) {
    const M zero(0, 5);
    EXPECT_EQ(Shape(zero), (std::vector<int>{0, 0}));  // and no block
    CQV_EXPECT_BAD(M(-1, 3), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(M(-2, -3), qvMsg::NewWithRefNonPositive);

    M m(2, 3);
    EXPECT_EQ(Shape(m), (std::vector<int>{2, 3, 3, 1, 6, 0}));
    EXPECT_EQ(&m(1, 2), m.GetPointer() + 5);
    double* p = m.GetPointer();
    m.Init(2, 3);
    EXPECT_EQ(m.GetPointer(), p);
    m.Init(3, 2);
    EXPECT_EQ(Shape(m), (std::vector<int>{3, 2, 2, 1, 6, 0}));
    m.Set(0, 4);
    EXPECT_EQ(Shape(m), (std::vector<int>{0, 0}));

    // A reversed view: both strides negative.
    double raw[6] = {0, 1, 2, 3, 4, 5};
    M r;
    r.SetDirectly(raw + 5, 2, 3, -3, -1);
    EXPECT_EQ(Elements(r), (Doubles{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(Shape(r), (std::vector<int>{2, 3, -3, -1, 1, -5}));
    // A view with no rows or no columns has neither.
    r.SetDirectly(raw, 0, 3, 3, 1);
    M w;
    w.Set(m, 1, 0, 2, 0);
    EXPECT_EQ((std::vector<int>{r.ColumnLen(), r.LineLen(), w.ColumnLen(), w.LineLen()}), (std::vector<int>(4, 0)));
}

TEST(MatrixStorage, WindowsRowsAndColumnsShareTheBlock) {
    M m = MatrixOf(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    qvColumnVector<double> c;
    m.GetColumn(c, 1);
    c[2] = 70;
    qvLineVector<double> l;
    m.GetLine(l, 2);
    EXPECT_EQ(Values(l), (Doubles{7, 70, 9}));  // the column wrote into the block
    EXPECT_EQ(Shape(c), (std::vector<int>{3, 3, 9, 0, 3}));

    // Copies and sub-matrices against their sources are checked against the
    // sharing model (sharing_model_test.cpp).
    M sub;
    sub.Set(m, 1, 1, 2, 2);

    // Rows and windows outlive the matrix.
    qvLineVector<double> row;
    MatrixOf(2, 2, {1, 2, 3, 4}).GetLine(row, 1);
    EXPECT_EQ(Values(row), (Doubles{3, 4}));

    M moved;
    moved.Move(sub);
    EXPECT_EQ(Shape(sub), (std::vector<int>{0, 0}));
    EXPECT_EQ(Elements(moved), (Doubles{5, 6, 70, 9}));
    M empty;
    moved.Move(empty);  // an empty source empties this one
    EXPECT_EQ(Shape(moved), (std::vector<int>{0, 0}));

    // Assignment through windows, which writes through at equal sizes and
    // detaches otherwise, is checked against the sharing model
    // (sharing_model_test.cpp); here a source whose strides run the other
    // way is assigned element by element.
    Doubles store;
    M target(3, 3);
    target = TransposedCopy(m, store);
    EXPECT_EQ(Elements(target), Elements(m));
}

TEST(MatrixArithmetic, ElementWiseAndChecks) {
    M a = MatrixOf(2, 2, {1, 2, 3, 4});
    const M b = MatrixOf(2, 2, {4, 3, 2, 1});
    Doubles all;
    for (const M& r : {a + b, a - b, -a, a * 2.0, a / 2.0, a + 1.0, a - 1.0}) {
        const Doubles e = Elements(r);
        all.insert(all.end(), e.begin(), e.end());
    }
    EXPECT_EQ(all, (Doubles{5, 5, 5, 5, -3, -1, 1, 3, -1, -2, -3, -4, 2, 4, 6, 8, 0.5, 1, 1.5, 2,
                            2, 3, 4, 5, 0, 1, 2, 3}));
    a += b;
    a -= 1.0;
    a *= 2.0;
    a -= b;
    a /= 4.0;
    a += 1.0;
    EXPECT_EQ(Elements(a), (Doubles{2, 2.25, 2.5, 2.75}));
    const M wide = MatrixOf(2, 3, {1, 2, 3, 4, 5, 6});
    CQV_EXPECT_BAD(a += wide, qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a + wide, qvMsg::DifferentSize);
    CQV_EXPECT_BAD(wide * wide, qvMsg::DifferentSize);
    EXPECT_EQ(Elements(a), (Doubles{2, 2.25, 2.5, 2.75}));
    EXPECT_EQ((M() + 1.0).LineLen(), 0);

    qvMatrix<qvComplex> z = MatrixOf<qvComplex>(1, 1, {{0, 1}});
    z *= qvComplex(0, 1);
    EXPECT_EQ(z(0, 0), qvComplex(-1, 0));
}

TEST(MatrixProducts, MatchTheOrderedSumBitForBit) {
    // Shapes around the register tiles and the packed k-blocks, with
    // contiguous and transposed operands.
    const int shapes[][3] = {{1, 1, 1}, {2, 3, 4}, {7, 13, 5}, {17, 9, 33}, {37, 300, 41}, {64, 64, 64}, {9, 520, 3}};
    unsigned long long seed = 1;
    for (const auto& s : shapes) {
        const M a = Random(s[0], s[1], seed++);
        const M b = Random(s[1], s[2], seed++);
        const Doubles want = NaiveProduct(a, b);
        EXPECT_EQ(Elements(a * b), want) << s[0] << "x" << s[1] << "x" << s[2];
        Doubles sa, sb;
        EXPECT_EQ(Elements(TransposedCopy(a, sa) * TransposedCopy(b, sb)), want);
    }
    // The first term is the k = 0 product itself: a negative zero stays.
    const M nz = MatrixOf(1, 2, {-0.0, 0.0}) * MatrixOf(2, 1, {1.0, -0.0});
    EXPECT_TRUE(std::signbit(nz(0, 0)));
    // Products of empty matrices are empty.
    EXPECT_EQ((M() * M()).LineLen(), 0);

    // The other element types: (1+i)(1+i) + 2i·3 = 8i and so on; the
    // space vectors multiply coordinate by coordinate.
    const qvMatrix<qvComplex> z = MatrixOf<qvComplex>(2, 2, {{1, 1}, {0, 2}, {3, 0}, {0, -1}});
    EXPECT_EQ(Elements(z * z), (Complexes{{0, 8}, {0, 2}, {3, 0}, {-1, 6}}));
    const qvMatrix<V3> p = MatrixOf<V3>(1, 2, {{1, 2, 3}, {4, 5, 6}});
    EXPECT_EQ(Elements(p * MatrixOf<V3>(2, 1, {{1, 1, 1}, {2, 0, -1}})), (std::vector<V3>{{9, 2, -3}}));

    // Matrix times column.
    const M a = MatrixOf(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Values(a * MakeCol({1, 0, -1})), (Doubles{-2, -2}));
    CQV_EXPECT_BAD(a * qvColumnVector<double>(2), qvMsg::DifferentLength);
    CQV_EXPECT_BAD(M() * qvColumnVector<double>(), qvMsg::NewWithRefNonPositive);
}

TEST(MatrixSpecial, UnitAndGram) {
    M e(2, 3);
    e.SetE();
    EXPECT_EQ(Elements(e), (Doubles{1, 0, 0, 0, 1, 0}));

    const M a = MatrixOf(3, 2, {1, 2, 3, 4, 5, 6});
    M g;
    a.SelfTMulSelf(g);
    EXPECT_EQ(Shape(g), (std::vector<int>{2, 2, 2, 1, 4, 0}));
    EXPECT_EQ(Elements(g), (Doubles{35, 44, 44, 56}));
    double* p = g.GetPointer();
    a.SelfTMulSelf(g);  // right size already: no new block
    EXPECT_EQ(g.GetPointer(), p);
    M self = a;
    M view(self);
    self.SelfTMulSelf(view);  // the result may view the operand
    EXPECT_EQ(Elements(view), (Doubles{35, 44, 44, 56}));
    M none;
    M().SelfTMulSelf(none);
    EXPECT_EQ(none.LineLen(), 0);
}

// The record is the row count, the column count, then the elements row by
// row whatever the strides (real part then imaginary part); reading it gives
// a fresh contiguous block, and 0 x n reads as the empty matrix.
TEST(MatrixRecord, RowsThenColumnsThenElements) {
    const M a = MatrixOf(2, 3, {1, 2, 3, 4, 5, 6});
    Doubles store;
    std::vector<unsigned char> rec = RecordOf(TransposedCopy(a, store));
    EXPECT_EQ(rec, RecordBytes().Int(2).Int(3).Doubles({1, 2, 3, 4, 5, 6}).bytes);
    M back(5, 5);
    EXPECT_EQ(back.FromMem(rec.data()), 56);
    EXPECT_EQ(Shape(back), (std::vector<int>{2, 3, 3, 1, 6, 0}));
    EXPECT_EQ(Elements(back), Elements(a));
    EXPECT_EQ(back.FromMem(RecordBytes().Int(0).Int(4).bytes.data()), 8);
    EXPECT_EQ(Shape(back), (std::vector<int>{0, 0}));
    const std::vector<unsigned char> z = RecordOf(MatrixOf<qvComplex>(1, 1, {{1, -1}}));
    EXPECT_EQ(z, RecordBytes().Int(1).Int(1).Doubles({1, -1}).bytes);
}
