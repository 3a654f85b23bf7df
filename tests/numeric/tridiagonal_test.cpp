// The tridiagonal matrix: storage and windows, band access, band arithmetic,
// products against the dense matrix, and the record.
#include "band_test_support.h"

#include <vector>

using namespace bandtest;

namespace {

using V = std::vector<double>;

M RandomInts(int rows, int cols, unsigned long long seed) {
    Numbers g(seed);
    M m(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) m(i, j) = g.Int(9);
    return m;
}

}  // namespace

TEST(Matrix3Diag, SizesInitAndSet) {
    Tri a(4);
    EXPECT_EQ(a.LineLen(), 4);
    EXPECT_EQ(a.ColumnLen(), 4);
    EXPECT_EQ(a.Up().Len(), 3);
    EXPECT_EQ(a.Down().Len(), 3);
    EXPECT_EQ(Holders(a.Up()), 1);
    CQV_EXPECT_BAD(Tri(1), qvMsg::NewWithRefNonPositive);

    // Init keeps the storage at the same order (here a window onto a dense
    // matrix); Set always starts afresh.
    M dense = MatrixOf(2, 2, {1, 2, 3, 4});
    Tri w(dense);
    w.Init(2);
    w(1, 1) = 40;
    EXPECT_EQ(dense(1, 1), 40);
    w.Set(2);
    w(1, 1) = -1;
    EXPECT_EQ(dense(1, 1), 40);
    EXPECT_EQ(Holders(dense), 1);

    // Order 1 exists through Init and Set, with empty off-diagonals; order
    // 0 is refused before anything changes.
    w.Init(1);
    EXPECT_EQ(w.Up().Len(), 0);
    EXPECT_EQ(w.Down().GetPointer(), nullptr);
    w.Diag()[0] = 5;
    CQV_EXPECT_BAD(w.Init(0), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(w.Set(0), qvMsg::NewWithRefNonPositive);
    EXPECT_EQ(w.Diag()[0], 5);
}

TEST(Matrix3Diag, ElementAccessWithinTheBandOnly) {
    Tri a = MakeTri({1, 2}, {10, 20, 30}, {-1, -2});
    EXPECT_EQ(a(1, 2), 2);   // Up[1]
    EXPECT_EQ(a(2, 1), -2);  // Down[1]
    a(2, 1) = 7;
    EXPECT_EQ(a.Down()[1], 7);
    CQV_EXPECT_BAD(a(0, 2), qvMsg::Matrix3DiagOutOfRange);
    CQV_EXPECT_BAD(a(2, 0), qvMsg::Matrix3DiagOutOfRange);
    EXPECT_EQ(Elements(a.GetMatrix()), V({10, 1, 0, -1, 20, 2, 0, 7, 30}));
}

TEST(Matrix3Diag, WindowsOntoADenseMatrix) {
    // A 4 × 3 matrix: order 3, each diagonal one row down and one column on.
    M dense = MatrixOf(4, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    Tri w(dense);
    EXPECT_EQ(w.LineLen(), 3);
    EXPECT_EQ(w.Diag().Tab(), 4);
    EXPECT_EQ(Values(w.Up()), V({2, 6}));
    EXPECT_EQ(Values(w.Down()), V({4, 8}));
    w.Fill(0.5);
    EXPECT_EQ(Elements(dense), V({0.5, 0.5, 3, 0.5, 0.5, 0.5, 7, 0.5, 0.5, 10, 11, 12}));

    // A transposed view of a dense matrix (strides exchanged).
    M square = MatrixOf(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    M transposed;
    transposed.SetDirectly(square.GetPointer(), 3, 3, 1, 3);
    const Tri t(transposed);
    EXPECT_EQ(Values(t.Up()), V({4, 8}));
    EXPECT_EQ(Values(t.Down()), V({2, 6}));
    EXPECT_EQ(Tri((M())).LineLen(), 0);

    // A window keeps the storage alive and sees later writes until it
    // copies.
    Tri survivor;
    {
        M source = MatrixOf(2, 2, {1, 2, 3, 4});
        Tri live(source);
        Tri detached(source);
        detached.Copy();
        source(0, 1) = 20;
        EXPECT_EQ(detached(0, 1), 2);
        survivor.Move(live);
        EXPECT_EQ(live.LineLen(), 0);
        EXPECT_EQ(Holders(source), 4);  // source and survivor's three diagonals
    }
    EXPECT_EQ(survivor(0, 1), 20);
    EXPECT_EQ(Holders(survivor.Diag()), 3);
}

TEST(Matrix3Diag, SharingTransposesAndSubBlocks) {
    Tri a = MakeTri({1, 2, 3}, {10, 20, 30, 40}, {-1, -2, -3});
    Tri shared(a);
    shared(1, 1) = 21;
    EXPECT_EQ(a(1, 1), 21);

    const Tri t = a.T();
    t.Up()[0] = -10;  // the transpose's Up is a's Down
    EXPECT_EQ(a(1, 0), -10);
    const M at = a.GetMatrix();
    const M tt = t.GetMatrix();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(tt(i, j), at(j, i));

    Tri sub;
    sub.Set(a, 1, 2);
    EXPECT_EQ(Values(sub.Diag()), V({21, 30}));
    EXPECT_EQ(Values(sub.Up()), V({2}));
    EXPECT_EQ(Values(sub.Down()), V({-2}));
    sub(0, 1) = 200;
    EXPECT_EQ(a(1, 2), 200);

    // Assignment writes through at equal lengths, reallocates otherwise.
    shared = MakeTri({0, 0, 0}, {1, 1, 1, 1}, {0, 0, 0});
    EXPECT_EQ(a(3, 3), 1);
    shared = MakeTri({5}, {6, 7}, {8});
    EXPECT_EQ(a(0, 1), 0);
    EXPECT_EQ(Holders(a.Diag()), 3);  // a, t and sub
}

TEST(Matrix3Diag, ArithmeticStaysOnTheBand) {
    const Tri a = MakeTri({1, 2}, {3, 4, 5}, {6, 7});
    Tri b = a + 1.0;
    EXPECT_EQ(Elements(b.GetMatrix()), V({4, 2, 0, 7, 5, 3, 0, 8, 6}));
    EXPECT_NE(b.Diag().GetMem(), a.Diag().GetMem());
    EXPECT_EQ(Elements((a - 1.0).GetMatrix()), V({2, 0, 0, 5, 3, 1, 0, 6, 4}));
    EXPECT_EQ(Elements((a * 2.0).GetMatrix()), V({6, 2, 0, 12, 8, 4, 0, 14, 10}));
    EXPECT_EQ(Elements((a / 2.0).GetMatrix()), V({1.5, 0.5, 0, 3, 2, 1, 0, 3.5, 2.5}));
    EXPECT_EQ(Elements((-a).GetMatrix()), V({-3, -1, 0, -6, -4, -2, 0, -7, -5}));
    EXPECT_EQ(Elements((a + b).GetMatrix()), V({7, 3, 0, 13, 9, 5, 0, 15, 11}));
    EXPECT_EQ(Elements((b - a).GetMatrix()), V({1, 1, 0, 1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(Values(a.Diag()), V({3, 4, 5}));

    // The scalar is read once, even when it is an element of the matrix.
    b += b(0, 0);
    EXPECT_EQ(Values(b.Down()), V({11, 12}));

    // A shorter Down is found after Up and Diag were updated.
    const Tri odd(MakeCol({1, 1}), MakeCol({1, 1, 1}), MakeCol({1}));
    CQV_EXPECT_BAD(b -= odd, qvMsg::DifferentLength);
    EXPECT_EQ(Values(b.Up()), V({5, 6}));
    EXPECT_EQ(Values(b.Down()), V({11, 12}));
    CQV_EXPECT_BAD(a + odd, qvMsg::DifferentLength);
}

TEST(Matrix3Diag, DenseOperandsAndProducts) {
    // Small integers keep every sum exact whatever its order, so the band
    // operations must agree with the dense ones exactly.
    for (int n : {1, 2, 3, 6}) {
        const Tri a = Integers(n, 20 + n);
        const M dense = a.GetMatrix();
        const M m = RandomInts(n, n, 30 + n);
        EXPECT_EQ(Elements(a + m), Elements(dense + m)) << n;
        EXPECT_EQ(Elements(a - m), Elements(dense - m)) << n;
        const M wide = RandomInts(n, 4, 40 + n);
        EXPECT_EQ(Elements(a * wide), Elements(dense * wide)) << n;
        const Tri b = Integers(n, 50 + n);
        EXPECT_EQ(Elements(a * b), Elements(dense * b.GetMatrix())) << n;
        const Col x = MakeCol(Numbers(60 + n).Ints(n, 9));
        EXPECT_EQ(Values(a * x), Values(dense * x)) << n;
    }
    const Tri a = Integers(3, 1);
    CQV_EXPECT_BAD(a + M(3, 4), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a * M(2, 3), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a * Integers(4, 1), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a * Col(2), qvMsg::DifferentLength);
}

TEST(Matrix3Diag, ProductsReadEveryOperandThroughItsStrides) {
    const Tri a = Dominant(6, 3);
    M m(6, 6);
    Numbers g(4);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) m(i, j) = g.Real(-1, 1);

    // A matrix column against a contiguous copy of it: the same bits.
    Col column;
    m.GetColumn(column, 2);
    Col copy(6);
    copy = column;
    EXPECT_EQ(Values(a * column), Values(a * copy));

    // m read through exchanged strides against a copy of that view.
    M mt;
    mt.SetDirectly(m.GetPointer(), 6, 6, 1, 6);
    M mtCopy(6, 6);
    mtCopy = mt;
    EXPECT_EQ(Elements(a * mt), Elements(a * mtCopy));
    EXPECT_EQ(Elements(a - mt), Elements(a - mtCopy));

    // The matrix itself as a strided window onto a dense one.
    const M dense = a.GetMatrix();
    const Tri w(dense);
    EXPECT_EQ(Values(w * column), Values(a * column));
    EXPECT_EQ(Elements(w * a), Elements(a * a));
    EXPECT_EQ(Elements(w * m), Elements(a * m));
}

TEST(Matrix3Diag, RecordIsTheThreeVectorRecords) {
    const Tri a = MakeTri({1, 2}, {3, 4, 5}, {6, 7});
    ASSERT_EQ(a.MemSize(), 68);  // (4 + 16) + (4 + 24) + (4 + 16)
    std::vector<unsigned char> buf(68), parts(68);
    EXPECT_EQ(a.ToMem(buf.data()), 68);
    int at = a.Up().ToMem(parts.data());
    at += a.Diag().ToMem(parts.data() + at);
    a.Down().ToMem(parts.data() + at);
    EXPECT_EQ(buf, parts);

    // Reading into a window replaces its storage; the viewed matrix stays.
    M dense(3, 3);
    dense.SetE();
    Tri w(dense);
    EXPECT_EQ(w.FromMem(buf.data()), 68);
    EXPECT_EQ(Elements(w.GetMatrix()), Elements(a.GetMatrix()));
    EXPECT_EQ(dense(2, 1), 0);

    const Tri empty;
    EXPECT_EQ(empty.MemSize(), 12);
    EXPECT_EQ(empty.ToMem(buf.data()), 12);
    EXPECT_EQ(w.FromMem(buf.data()), 12);
    EXPECT_EQ(w.LineLen(), 0);
}
