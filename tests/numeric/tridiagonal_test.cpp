// The tridiagonal matrix: storage and windows, band access, band arithmetic
// and products against the dense matrix (the record has tests of its own,
// tridiagonal_record_test.cpp).
#include "band_test_support.h"

#include <vector>

using namespace bandtest;

namespace {

using Ints = std::vector<int>;

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
    EXPECT_EQ((Ints{a.LineLen(), a.ColumnLen(), a.Up().Len(), a.Down().Len(), Holders(a.Up())}), (Ints{4, 4, 3, 3, 1}));
    CQV_EXPECT_BAD(Tri(1), qvMsg::NewWithRefNonPositive);

    // Init keeps the storage at the same order (here a window onto a dense
    // matrix); Set always starts afresh.
    M dense = MatrixOf(2, 2, {1, 2, 3, 4});
    Tri w(dense);
    w.Init(2);
    w(1, 1) = 40;
    EXPECT_EQ(dense(1, 1), 40);
    w.Set(2);
    EXPECT_EQ(Holders(dense), 1);

    // Order 1 exists through Init and Set, with empty off-diagonals.
    w.Init(1);
    EXPECT_EQ((Ints{w.Up().Len(), w.Diag().Len(), w.Down().Len()}), (Ints{0, 1, 0}));

    // An order below 1 is refused by the allocation of Up, after all three
    // diagonals let go of their storage: the matrix is left of order 0.
    for (const auto resize : {+[](Tri& t, int n) { t.Init(n); }, +[](Tri& t, int n) { t.Set(n); }})
        for (const int n : {0, -1}) {
            Tri v(dense);
            EXPECT_EQ(Holders(dense), 4);
            CQV_EXPECT_BAD(resize(v, n), qvMsg::NewWithRefNonPositive);
            EXPECT_EQ((Ints{v.Up().Len(), v.Diag().Len(), v.Down().Len(), Holders(dense)}), (Ints{0, 0, 0, 1}));
        }
}

TEST(Matrix3Diag, WindowsOntoADenseMatrix) {
    // A 4 × 3 matrix: order 3, each diagonal one row down and one column on.
    M dense = MatrixOf(4, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    Tri w(dense);
    EXPECT_EQ(Band(w), V({2, 6, 1, 5, 9, 4, 8}));
    w.Fill(0.5);
    EXPECT_EQ(Elements(dense), V({0.5, 0.5, 3, 0.5, 0.5, 0.5, 7, 0.5, 0.5, 10, 11, 12}));

    // A transposed view of a dense matrix (strides exchanged), and no matrix.
    M square = MatrixOf(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    M transposed;
    transposed.SetDirectly(square.GetPointer(), 3, 3, 1, 3);
    EXPECT_EQ(Band(Tri(transposed)), V({4, 8, 1, 5, 9, 2, 6}));
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

// Band access; a copy, the transpose and a sub-block share every diagonal;
// assignment at the same order writes each diagonal into the present
// storage, and at another order gives each a storage of its own.
TEST(Matrix3Diag, BandAccessSharingAndAssignment) {
    Tri a = MakeTri({1, 2, 3}, {10, 20, 30, 40}, {-1, -2, -3});
    EXPECT_EQ((V{a(1, 2), a(2, 1)}), (V{2, -2}));  // Up[1], Down[1]
    CQV_EXPECT_BAD(a(0, 2), qvMsg::Matrix3DiagOutOfRange);
    CQV_EXPECT_BAD(a(2, 0), qvMsg::Matrix3DiagOutOfRange);
    EXPECT_EQ(Elements(MakeTri({1, 2}, {10, 20, 30}, {-1, -2}).GetMatrix()), V({10, 1, 0, -1, 20, 2, 0, -2, 30}));

    Tri copy(a);
    copy(0, 1) = 11;
    copy(1, 1) = 21;
    copy(1, 0) = -11;
    const Tri t = a.T();
    t.Up()[1] = -20;  // the transpose's Up is a's Down
    EXPECT_EQ(Band(a), V({11, 2, 3, 10, 21, 30, 40, -11, -20, -3}));
    EXPECT_EQ(Band(t), V({-11, -20, -3, 10, 21, 30, 40, 11, 2, 3}));
    Tri sub;
    sub.Set(a, 1, 2);
    EXPECT_EQ(Band(sub), V({2, 21, 30, -20}));
    sub(0, 1) = 200;
    EXPECT_EQ(a(1, 2), 200);
    for (const qvVector<double>* d : {&a.Up(), &a.Diag(), &a.Down()}) EXPECT_EQ(Holders(*d), 4);  // a, copy, t, sub

    // Same order: the window writes every diagonal into the dense matrix.
    M dense = MatrixOf(3, 3, {0, 0, 9, 0, 0, 0, 9, 0, 0});
    Tri window(dense);
    window = MakeTri({1, 2}, {3, 4, 5}, {6, 7});
    EXPECT_EQ(Elements(dense), V({3, 1, 9, 6, 4, 2, 9, 7, 5}));

    // Another order: every diagonal becomes a private copy of the source's.
    Tri other = MakeTri({1}, {2, 3}, {4});
    other = a;
    const V band = Band(a);
    for (const qvVector<double>* d : {&other.Up(), &other.Diag(), &other.Down()}) EXPECT_EQ(Holders(*d), 1);
    copy.Fill(0);
    EXPECT_EQ(Band(other), band);
}

TEST(Matrix3Diag, ArithmeticStaysOnTheBand) {
    const Tri a = MakeTri({1, 2}, {3, 4, 5}, {6, 7});
    Tri b = a + 1.0;
    EXPECT_EQ(Elements(b.GetMatrix()), V({4, 2, 0, 7, 5, 3, 0, 8, 6}));  // zeros off the band
    EXPECT_EQ(Band(a - 1.0), V({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Band(a * 2.0), V({2, 4, 6, 8, 10, 12, 14}));
    EXPECT_EQ(Band(a / 2.0), V({0.5, 1, 1.5, 2, 2.5, 3, 3.5}));
    EXPECT_EQ(Band(-a), V({-1, -2, -3, -4, -5, -6, -7}));
    EXPECT_EQ(Band(a + b), V({3, 5, 7, 9, 11, 13, 15}));
    EXPECT_EQ(Band(b - a), V(7, 1.0));
    EXPECT_EQ(Band(a), V({1, 2, 3, 4, 5, 6, 7}));  // no result shares a's storage

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

TEST(Matrix3Diag, DenseOperandsAndProductsThroughTheirStrides) {
    // Small integers keep every sum exact whatever its order, so the band
    // operations must agree with the dense ones exactly. Every operand is
    // read through strides other than one: the band matrices are windows
    // onto dense ones, the dense operands transposed views, x a column.
    for (int n : {1, 2, 3, 6}) {
        const M dense = Integers(n, 20 + n).GetMatrix();
        const Tri a(dense);
        const Tri b(Integers(n, 50 + n).GetMatrix());
        const M source = RandomInts(4 + n, n, 30 + n);
        M m, wide;
        m.SetDirectly(source.GetPointer(), n, n, 1, n);
        wide.SetDirectly(source.GetPointer(), n, 4 + n, 1, n);
        const M xs = RandomInts(n, 2, 60 + n);
        Col x;
        xs.GetColumn(x, 1);
        EXPECT_EQ(Elements(a + m), Elements(dense + m)) << n;
        EXPECT_EQ(Elements(a - m), Elements(dense - m)) << n;
        EXPECT_EQ(Elements(a * wide), Elements(dense * wide)) << n;
        EXPECT_EQ(Elements(a * b), Elements(dense * b.GetMatrix())) << n;
        EXPECT_EQ(Values(a * x), Values(dense * x)) << n;
    }
    const Tri a = Integers(3, 1);
    CQV_EXPECT_BAD(a + M(3, 4), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a * M(2, 3), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a * Integers(4, 1), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a * Col(2), qvMsg::DifferentLength);
}
