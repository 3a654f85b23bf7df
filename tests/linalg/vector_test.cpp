// Strided vectors: storage states, windows with any stride, transposes,
// length changes, iterators, arithmetic, products, the record and element
// access, for the three element types.
#include "cqv_accessors.h"
#include "linalg_test_support.h"
#include "record_cuts.h"

#include <cmath>

using namespace linalgtest;
using Ints = std::vector<int>;

TEST(VectorStorage, ConstructionStatesAndCopies) {
    CQV_EXPECT_BAD(Col(0), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(Line(-2), qvMsg::NewWithRefNonPositive);
    EXPECT_EQ(Shape(Col()), (Ints{0, 0, 0, 0, 0}));
    Col v(3);
    EXPECT_EQ(Shape(v), (Ints{3, 1, 3, 0, 1}));
    EXPECT_EQ(cqvtest::BlockSizeWord(v.GetMem()), -3);
    v.Set(0);
    EXPECT_EQ(v.GetMem(), nullptr);
    v.Set(4);
    double* before = v.GetPointer();
    v.Init(4);
    EXPECT_EQ(v.GetPointer(), before);
    v.Init(2);
    EXPECT_EQ(Shape(v), (Ints{2, 1, 2, 0, 1}));
    v.Clear();
    EXPECT_EQ(Shape(v), (Ints{0, 0, 0, 0, 0}));

    // A copy is a window until Copy, and a window outlives its source
    // (checked against the sharing model, sharing_model_test.cpp); Copy of a
    // private block does nothing.
    Col a = MakeCol({1, 20, 3});
    double* p = a.GetPointer();
    a.Copy();
    EXPECT_EQ(a.GetPointer(), p);
}

TEST(VectorStorage, WindowsWithAnyStride) {
    double raw[6] = {0, 1, 2, 3, 4, 5};
    Col rev;
    rev.SetDirectly(raw + 2, 3, -1);
    EXPECT_EQ(Values(rev), (Doubles{2, 1, 0}));
    EXPECT_EQ(Shape(rev), (Ints{3, -1, 0, -2, 0}));  // no block: the memory is the caller's
    rev[0] = 9;
    EXPECT_EQ(raw[2], 9);

    Col a = MakeCol({10, 11, 12, 13, 14, 15, 16});
    Col every2;
    every2.Set(a, 1, 3, 2);  // its elements: the window-member table
    EXPECT_EQ(Shape(every2), (Ints{3, 2, 6, 0, 2}));
    Col same;
    same.Set(a, 2, 4, 0);  // zero stride: one element seen four times
    same[3] = -1;
    EXPECT_EQ(Values(same), (Doubles{-1, -1, -1, -1}));
    EXPECT_TRUE(same.begin() == same.end());
    Col back;
    back.Set(a, 6, 7, -1);
    EXPECT_EQ(Values(back), (Doubles{16, 15, 14, 13, -1, 11, 10}));  // a[2] written through same
    EXPECT_EQ(Shape(back), (Ints{7, -1, 0, -6, 4}));
    // A window on this vector itself: the reference is taken before the
    // old one is dropped.
    back.Set(back, 1, 3);
    EXPECT_EQ(Values(back), (Doubles{15, 14, 13}));

    qvSimpleArray<double> arr(3, 4.0);
    Col onArray(arr);
    onArray[2] = 8;
    EXPECT_EQ(arr[2], 8);
    EXPECT_EQ(Holders(arr), 2);

    // Move takes the block and leaves the source empty with its stride.
    Col left;
    arr.Clear();
    onArray.Left(left, 1);
    Col moved;
    moved.Move(left);
    EXPECT_EQ(Shape(left), (Ints{0, 1, 0, 0, 0}));
    EXPECT_EQ(Holders(onArray), 2);
    moved.Move(onArray);  // the same block on both sides: one reference is left
    EXPECT_EQ(Shape(moved), (Ints{3, 1, 3, 0, 1}));
    EXPECT_EQ(Values(moved), (Doubles{4, 4, 8}));
}

// Assignment, which writes through at equal lengths and detaches otherwise,
// is checked against the sharing model (sharing_model_test.cpp).
TEST(VectorTranspose, SharesTheBlockAndTheFactoryKeepsTheClass) {
    Col c = MakeCol({1, 2, 3});
    Line l = c.T();
    l[2] = 30;
    EXPECT_EQ(c[2], 30);
    EXPECT_EQ(l.T().GetPointer(), c.GetPointer());
    EXPECT_EQ((Ints{c.IsColumn(), c.IsLine(), l.IsColumn(), l.IsLine(), qvVector<double>().IsLine()}),
              (Ints{1, 0, 0, 1, -1}));
    qvVector<double>* madeLine = static_cast<const qvVector<double>&>(l).NewVector();
    qvVector<double>* madeColumn = static_cast<const qvVector<double>&>(c).NewVector();
    EXPECT_EQ((Ints{madeLine->IsLine(), madeLine->Len(), madeColumn->IsColumn()}), (Ints{1, 0, 1}));
    qvUsingNew::Delete(madeLine);
    qvUsingNew::Delete(madeColumn);
}

TEST(VectorLength, GrowShrinkAndEdit) {
    Col a = MakeCol({1, 2, 3, 4, 5});
    Col w;
    w.Set(a, 0, 3, 2);  // 1, 3, 5
    // Which block a length change leaves, and what it keeps (the same
    // length keeps the window), is checked against the sharing model
    // (sharing_model_test.cpp); here the stride of a fresh block.
    w.resize(4);
    EXPECT_EQ(Shape(w), (Ints{4, 1, 4, 0, 1}));

    // The edits themselves are checked with the growth in place
    // (vector_storage_order_test.cpp); here their bounds: Insert at the end
    // returns the index, one past it is refused, as are Remove at the length
    // and before the start, leaving the vector as it was.
    Col v = MakeCol({1, 2});
    EXPECT_EQ(v.Insert(9, 2), 2);
    CQV_EXPECT_BAD(v.Insert(1, 4), qvMsg::OutOfRange);
    CQV_EXPECT_BAD(v.Remove(3), qvMsg::OutOfRange);
    CQV_EXPECT_BAD(v.Remove(-1), qvMsg::OutOfRange);
    EXPECT_EQ(Values(v), (Doubles{1, 2, 9}));
    Col one = MakeCol({4});
    one.pop_front();
    EXPECT_EQ(Shape(one), (Ints{0, 0, 0, 0, 0}));
    one.pop_back();  // nothing to do
    CQV_EXPECT_BAD(one.pop_front(), qvMsg::OutOfRange);
    // Editing through a window on a shared block leaves the block alone.
    Col src = MakeCol({1, 2, 3});
    Col view(src);
    view.push_back(4);
    EXPECT_EQ((Ints{src.Len(), Holders(src)}), (Ints{3, 1}));

    // Iterators follow the stride.
    Col b = MakeCol({1, 2, 3, 4, 5, 6});
    Col r;
    r.Set(b, 5, 3, -2);
    Doubles seen;
    for (double x : r) seen.push_back(x);
    EXPECT_EQ(seen, (Doubles{6, 4, 2}));
    auto it = r.insert(r.begin() + 1, 7);
    EXPECT_EQ(*it, 7);
    it = r.erase(r.begin() + 2);
    EXPECT_EQ(*it, 2);
    EXPECT_EQ(Values(r), (Doubles{6, 7, 2}));
    CQV_EXPECT_BAD(r.erase(r.end()), qvMsg::OutOfRange);
}

TEST(VectorWindows, LeftRightMidBounds) {
    Col a = MakeCol({1, 2, 3, 4});
    Col d;
    a.Left(d, 4);
    EXPECT_EQ(d.Len(), 4);
    CQV_EXPECT_BAD(a.Left(d, 5), qvMsg::VectorLeftOutOfRange);
    CQV_EXPECT_BAD(a.Left(d, 0), qvMsg::VectorLeftOutOfRange);
    CQV_EXPECT_BAD(a.Right(d, 5), qvMsg::VectorRightOutOfRange);
    a.Mid(d, 3, 1);
    CQV_EXPECT_BAD(a.Mid(d, 4, 1), qvMsg::VectorMidOutOfRange);
    CQV_EXPECT_BAD(a.Mid(d, -1, 2), qvMsg::VectorMidOutOfRange);
    EXPECT_EQ(Values(d), (Doubles{4}));  // unchanged by the failures
}

TEST(VectorArithmetic, InPlaceAndNew) {
    Col a = MakeCol({1, 2, 4});
    a += 1.0;
    a *= 2.0;
    a -= 1.0;
    a /= 3.0;
    EXPECT_EQ(Values(a), (Doubles{1, 5.0 / 3.0, 3}));
    a -= a[2];  // the scalar is read before the elements change
    EXPECT_EQ(Values(a), (Doubles{-2, 5.0 / 3.0 - 3, 0}));

    // Min {1, 2, 3}, Max {4, 2, 3}, then the element-wise operations.
    const Col x = MakeCol({1, 5, 3}), y = MakeCol({4, 2, 3});
    Col lo = MakeCol({1, 5, 3});
    lo.Min(y);
    lo.Max(y);
    lo.Mul(y);
    lo.Div(x);
    lo -= y;
    lo += x;
    const Col shorter = MakeCol({1, 2});
    CQV_EXPECT_BAD(lo += shorter, qvMsg::DifferentLength);
    CQV_EXPECT_BAD(x + shorter, qvMsg::DifferentLength);
    EXPECT_EQ(Values(lo), (Doubles{16 - 4 + 1, 4.0 / 5 - 2 + 5, 3}));

    Doubles all;
    for (const Col& r : {x + y, x - y, x * 2.0, x / 2.0, x + 1.0, x - 1.0}) {
        const Doubles v = Values(r);
        all.insert(all.end(), v.begin(), v.end());
    }
    EXPECT_EQ(all, (Doubles{5, 7, 6, -3, 3, 0, 2, 10, 6, 0.5, 2.5, 1.5, 2, 6, 4, 0, 4, 2}));
    const Line lx = x.T();
    EXPECT_EQ(Values(lx + lx), (Doubles{2, 10, 6}));
    // Empty operands: VectorEmptyOperands (vector_storage_order_test.cpp).
    CQV_EXPECT_BAD(Col() * 2.0, qvMsg::NewWithRefNonPositive);
}

TEST(VectorProducts, NormsAndProductsPerElementType) {
    EXPECT_EQ(MakeLine({1, 2, 3}) * MakeCol({4, 5, 6}), 32);
    EXPECT_EQ(MakeCol({3, 4}).Norm(), 5);
    CQV_EXPECT_BAD(MakeLine({1, 2}) * MakeCol({1}), qvMsg::DifferentLength);
    // The sum starts from the first product and runs in index order.
    EXPECT_EQ(MakeCol({1e16, 1, -1e16, 1}).ScalarMul(MakeCol({1, 1, 1, 1})), ((1e16 + 1.0) - 1e16) + 1.0);

    // The complex norm is the root of the sum of squares through its modulus,
    // so even a real 1 has equal parts; a zero sum stays zero.
    const qvComplex one = MakeCol<qvComplex>({{1, 0}}).Norm();
    EXPECT_EQ((Doubles{one.re, one.im}), (Doubles{std::sqrt(0.5), std::sqrt(0.5)}));
    EXPECT_EQ(MakeCol<qvComplex>({{0, 0}}).Norm(), qvComplex(0, 0));
    qvColumnVector<qvComplex> w = MakeCol<qvComplex>({{0, 1}, {1, 1}});
    // No conjugation: i·i + (1+i)(1+i) = -1 + 2i.
    EXPECT_EQ(w.ScalarMul(w), qvComplex(-1, 2));
    const double r = std::sqrt(5.0), c = 2 / r;
    EXPECT_EQ(w.Norm(), qvComplex(r * std::sqrt((1 - c) * 0.5), r * std::sqrt((1 + c) * 0.5)));
    // Min and Max compare by modulus.
    w.Min(MakeCol<qvComplex>({{0, -0.5}, {3, 0}}));
    EXPECT_EQ(Values(w), (Complexes{{0, -0.5}, {1, 1}}));

    qvColumnVector<V3> p = MakeCol<V3>({{1, 2, 3}, {2, 0, 4}});
    EXPECT_EQ(p.ScalarMul(p), V3(5, 4, 25));
    EXPECT_EQ(p.Norm(), V3(std::sqrt(5.0), 2, 5));
    // Replaced only by an element smaller in all three coordinates.
    p.Min(MakeCol<V3>({{0, 1, 2}, {1, 1, 1}}));
    EXPECT_EQ(Values(p), (std::vector<V3>{{0, 1, 2}, {2, 0, 4}}));
}

TEST(VectorProducts, WithMatrices) {
    EXPECT_EQ(Elements(MakeCol({1, 2}) * MakeLine({3, 4, 5})), (Doubles{3, 4, 5, 6, 8, 10}));
    EXPECT_EQ((Col() * MakeLine({1})).LineLen(), 0);

    // Row times matrix, with the matrix contiguous and seen through a
    // transposed window.
    Doubles store;
    const M m = TransposedCopy(MatrixOf(2, 3, {1, 2, 3, 4, 5, 6}), store);
    EXPECT_EQ(Values(MakeLine({1, 10}) * m), (Doubles{41, 52, 63}));
    EXPECT_EQ(Values(MakeLine({1, 10}) * MatrixOf(2, 3, {1, 2, 3, 4, 5, 6})), (Doubles{41, 52, 63}));
    CQV_EXPECT_BAD(MakeLine({1, 2, 3}) * m, qvMsg::DifferentLength);
    CQV_EXPECT_BAD(Line() * M(), qvMsg::NewWithRefNonPositive);
    const auto complexRow = MakeLine<qvComplex>({{0, 1}}) * MatrixOf<qvComplex>(1, 2, {{0, 1}, {2, 0}});
    EXPECT_EQ(Values(complexRow), (Complexes{{-1, 0}, {0, 2}}));
}

// The record is the count, then the elements in index order (real part
// then imaginary part; x, y, z); reading it gives any vector a fresh
// contiguous block.
TEST(VectorRecord, CountThenElementsForEveryElementType) {
    Col a = MakeCol({1.5, -2, 3});
    Col w;
    w.Set(a, 2, 3, -1);
    std::vector<unsigned char> rec = RecordOf(w);
    EXPECT_EQ(rec, RecordBytes().Int(3).Doubles({3, -2, 1.5}).bytes);
    Line back;
    back.Set(a, 0, 3, 0);
    EXPECT_EQ(back.FromMem(rec.data()), 28);
    EXPECT_EQ(Shape(back), (Ints{3, 1, 3, 0, 1}));
    EXPECT_EQ(Values(back), (Doubles{3, -2, 1.5}));
    EXPECT_EQ(Holders(a), 2);
    EXPECT_EQ(back.FromMem(RecordBytes().Int(0).bytes.data()), 4);
    EXPECT_EQ(back.Len(), 0);

    EXPECT_EQ(RecordOf(MakeCol<qvComplex>({{1, 2}, {3, 4}})), RecordBytes().Int(2).Doubles({1, 2, 3, 4}).bytes);
    EXPECT_EQ(RecordOf(MakeCol<V3>({{7, 8, 9}})), RecordBytes().Int(1).Doubles({7, 8, 9}).bytes);
}

// operator[], front, back and Last reach the element they name, in a vector
// of its own and in a window of stride 2 onto another vector's block.
template <class Vec>
void CheckVectorAccessors() {
    const std::vector<double> values{3, -1, 4, 1.5, -5, 9, 2.25};
    Vec whole = VectorOf<Vec>(values);
    CheckAccessors(whole, whole, {0, 1, 2, 3, 4, 5, 6}, 99.0);
    const Vec base = VectorOf<Vec>(values);
    Vec window;
    window.Set(base, 1, 3, 2);
    CheckAccessors(window, base, {1, 3, 5}, 99.0);
}

TEST(VectorElementAccess, ColumnAndLineWholeAndStridedWindow) {
    CheckVectorAccessors<qvColumnVector<double>>();
    CheckVectorAccessors<qvLineVector<double>>();
}
