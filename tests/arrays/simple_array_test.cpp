// The simple array: storage states, windows, editing and sub-arrays.
#include "cqv_test.h"

#include <vector>

using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;

namespace {

template <class T>
qvSimpleArray<T> Make(std::initializer_list<T> values) {
    qvSimpleArray<T> a(static_cast<int>(values.size()));
    int i = 0;
    for (const T& v : values) a[i++] = v;
    return a;
}

template <class T>
std::vector<T> Items(const qvSimpleArray<T>& a) {
    return std::vector<T>(a.begin(), a.end());
}

using Doubles = std::vector<double>;
using Ints = std::vector<int>;

}  // namespace

TEST(SimpleArray, EmptyAndSizedConstruction) {
    qvSimpleArray<double> e;
    EXPECT_EQ(e.Len(), 0);
    EXPECT_TRUE(e.empty());
    EXPECT_EQ(e.GetPointer(), nullptr);
    EXPECT_EQ(e.begin(), e.end());
    CQV_EXPECT_BAD(qvSimpleArray<double>(0), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvSimpleArray<int>(-3, 1), "qvNewWithRef : n <= 0 ");

    qvSimpleArray<int> a(4, 7);
    EXPECT_EQ(a.Len(), 4);
    EXPECT_EQ(a.size(), 4);
    EXPECT_EQ(a.Range(), 4);
    EXPECT_EQ(a.PositiveLength(), 4);
    EXPECT_EQ(a.NegativeLength(), 0);
    EXPECT_EQ(Items(a), Ints({7, 7, 7, 7}));
    EXPECT_EQ(a.GetMem(), static_cast<void*>(a.GetPointer()));
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);
    EXPECT_EQ(BlockSizeWord(a.GetPointer()), -4);
    a.front() = 1;
    a.back() = 9;
    EXPECT_EQ(a.Last(), 9);
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(a.end() - a.begin(), 4);
}

TEST(SimpleArray, CopyIsPrivateAndEmptyCopiesEmpty) {
    qvSimpleArray<double> a = Make({1.0, 2.0, 3.0});
    qvSimpleArray<double> b(a);
    EXPECT_NE(b.GetPointer(), a.GetPointer());
    b[0] = 10;
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);

    qvSimpleArray<double> e;
    qvSimpleArray<double> ec(e);
    EXPECT_EQ(ec.GetPointer(), nullptr);
    double outside[2] = {4, 5};
    qvSimpleArray<double> ext;
    ext.SetDirectly(outside, 2);
    qvSimpleArray<double> ec2(ext);
    EXPECT_NE(ec2.GetPointer(), outside);
    EXPECT_EQ(Items(ec2), Doubles({4, 5}));
}

TEST(SimpleArray, AssignmentWritesIntoEqualLengthStorage) {
    qvSimpleArray<double> a = Make({1.0, 2.0, 3.0, 4.0, 5.0});
    qvSimpleArray<double> w;
    w.SetSubWindow(a, 1, 2);
    w = Make({20.0, 30.0});  // equal length: written through into a
    EXPECT_EQ(Items(a), Doubles({1, 20, 30, 4, 5}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 2);

    w = Make({7.0, 8.0, 9.0});  // other length: the window detaches
    EXPECT_EQ(Items(a), Doubles({1, 20, 30, 4, 5}));
    EXPECT_EQ(Items(w), Doubles({7, 8, 9}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);

    w = qvSimpleArray<double>();
    EXPECT_TRUE(w.empty());
    EXPECT_EQ(w.GetMem(), nullptr);

    // Assigning a window of a to a itself, at another length.
    qvSimpleArray<double> part;
    part.SetSubWindow(a, 3, 2);
    a = part;
    EXPECT_EQ(Items(a), Doubles({4, 5}));
    EXPECT_EQ(BlockCount(part.GetPointer() - 3), 1);  // part alone holds the old block
    const qvSimpleArray<double>& self = a;
    a = self;
    EXPECT_EQ(Items(a), Doubles({4, 5}));
}

TEST(SimpleArray, InitSetAndFill) {
    qvSimpleArray<int> a = Make({1, 2, 3});
    int* before = a.GetPointer();
    a.Init(3);
    EXPECT_EQ(a.GetPointer(), before);
    EXPECT_EQ(Items(a), Ints({1, 2, 3}));
    a.Set(3);
    EXPECT_EQ(a.Len(), 3);
    a.Fill(5);
    EXPECT_EQ(Items(a), Ints({5, 5, 5}));
    a.Init(0);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.GetMem(), nullptr);
    a.Set(2, 6);
    EXPECT_EQ(Items(a), Ints({6, 6}));
    a.Set(2, a[1]);  // the value may be an element of the array itself
    EXPECT_EQ(Items(a), Ints({6, 6}));

    // Failed checks change nothing.
    CQV_EXPECT_BAD(a.Set(0, 1), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(a.Set(-1), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(a.Init(-1), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(Items(a), Ints({6, 6}));
    a.Set(0);
    EXPECT_TRUE(a.empty());
}

TEST(SimpleArray, WindowSharesTheBlockUntilItRegrows) {
    qvSimpleArray<int> a = Make({1, 2, 3, 4, 5});
    qvSimpleArray<int> w;
    w.SetSubWindow(a, 1, 2);
    EXPECT_EQ(BlockCount(a.GetPointer()), 2);
    EXPECT_EQ(w.GetMem(), a.GetMem());
    w[0] = 20;
    EXPECT_EQ(a[1], 20);
    w.push_back(9);
    EXPECT_EQ(Items(w), Ints({20, 3, 9}));
    EXPECT_EQ(Items(a), Ints({1, 20, 3, 4, 5}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);

    CQV_EXPECT_BAD(w.SetSubWindow(a, 4, 2), "qvSimpleArray<T>::Set : out of range.");
    CQV_EXPECT_BAD(w.SetSubWindow(a, -1, 1), "qvSimpleArray<T>::Set : out of range.");
    CQV_EXPECT_BAD(w.SetSubWindow(a, 0, -1), "qvSimpleArray<T>::Set : out of range.");
    EXPECT_EQ(Items(w), Ints({20, 3, 9}));  // unchanged by the failed checks

    // A window outlives the array it was taken from.
    qvSimpleArray<int> survivor;
    {
        qvSimpleArray<int> source = Make({7, 8, 9});
        survivor.SetSubWindow(source, 1, 2);
    }
    EXPECT_EQ(Items(survivor), Ints({8, 9}));
    EXPECT_EQ(survivor.IsShared(), 0);

    // A window on external memory is external too.
    int outside[4] = {1, 2, 3, 4};
    qvSimpleArray<int> ext;
    ext.SetDirectly(outside, 4);
    qvSimpleArray<int> w2;
    w2.SetSubWindow(ext, 2, 2);
    EXPECT_EQ(w2.GetMem(), nullptr);
    w2[0] = 30;
    EXPECT_EQ(outside[2], 30);
}

TEST(SimpleArray, ExternalMemoryIsNeverFreedAndCopyMakesItPrivate) {
    double outside[3] = {1, 2, 3};
    {
        qvSimpleArray<double> e;
        e.SetDirectly(outside, 3);
        EXPECT_EQ(e.GetPointer(), outside);
        e[0] = 5;
        EXPECT_EQ(outside[0], 5);
        e.Copy();
        EXPECT_NE(e.GetPointer(), outside);
        EXPECT_EQ(e.IsShared(), 0);
        e[1] = 50;
        EXPECT_EQ(outside[1], 2);
    }
    EXPECT_EQ(outside[2], 3);

    qvSimpleArray<double> a = Make({1.0, 2.0});
    double* own = a.GetPointer();
    a.Copy();  // private already: nothing happens
    EXPECT_EQ(a.GetPointer(), own);
    qvSimpleArray<double> w;
    w.SetSubWindow(a, 0, 2);
    w.Copy();
    EXPECT_NE(w.GetPointer(), own);
    EXPECT_EQ(BlockCount(own), 1);

    // SetPointer moves element 0 only.
    qvSimpleArray<double> p = Make({1.0, 2.0, 3.0});
    p.SetPointer(p.GetPointer() + 1);
    EXPECT_EQ(p[0], 2);
    EXPECT_EQ(p.Len(), 3);
    EXPECT_EQ(p.CheckPointer(), 0);
    p.SetPointer(static_cast<double*>(p.GetMem()));
}

TEST(SimpleArray, MoveAndSwapExchangeStorageWithoutCopying) {
    qvSimpleArray<int> a = Make({1, 2});
    qvSimpleArray<int> b = Make({3, 4, 5});
    int* pa = a.GetPointer();
    int* pb = b.GetPointer();
    a.swap(b);
    EXPECT_EQ(a.GetPointer(), pb);
    EXPECT_EQ(b.GetPointer(), pa);
    EXPECT_EQ(a.Len(), 3);
    EXPECT_EQ(BlockCount(pa), 1);
    a.Move(b);
    EXPECT_EQ(a.GetPointer(), pa);
    EXPECT_EQ(a.Len(), 2);
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(b.GetMem(), nullptr);
    EXPECT_EQ(BlockCount(pa), 1);
    a.Move(a);
    EXPECT_EQ(Items(a), Ints({1, 2}));
}

TEST(SimpleArray, AppendingAndInsertingGrowByExactlyOne) {
    qvSimpleArray<int> a = Make({1, 2, 3});
    a.push_back(4);
    EXPECT_EQ(Items(a), Ints({1, 2, 3, 4}));
    EXPECT_EQ(BlockSizeWord(a.GetPointer()), -4);
    a.push_back(a[0]);  // an element of the array itself
    a.Concat(a[4]);
    EXPECT_EQ(Items(a), Ints({1, 2, 3, 4, 1, 1}));
    a.push_front(0);
    EXPECT_EQ(Items(a), Ints({0, 1, 2, 3, 4, 1, 1}));
    int* at = a.insert(a.begin() + 2, 9);
    EXPECT_EQ(at, a.GetPointer() + 2);
    EXPECT_EQ(Items(a), Ints({0, 1, 9, 2, 3, 4, 1, 1}));
    EXPECT_EQ(a.Insert(7, 8), 8);
    EXPECT_EQ(a.Last(), 7);
    at = a.insert(a.end(), 6);
    EXPECT_EQ(*at, 6);
    CQV_EXPECT_BAD(a.Insert(1, 11), "Out of range");
    CQV_EXPECT_BAD(a.Insert(1, -1), "Out of range");
    EXPECT_EQ(a.Len(), 10);

    qvSimpleArray<int> e;
    e.push_back(5);
    EXPECT_EQ(Items(e), Ints({5}));
    EXPECT_EQ(BlockCount(e.GetPointer()), 1);
}

TEST(SimpleArray, ConcatOfArrays) {
    qvSimpleArray<int> a = Make({1, 2});
    a.Concat(Make({3, 4}));
    EXPECT_EQ(Items(a), Ints({1, 2, 3, 4}));
    a.Concat(a);
    EXPECT_EQ(Items(a), Ints({1, 2, 3, 4, 1, 2, 3, 4}));
    qvSimpleArray<int> w;
    w.SetSubWindow(a, 6, 2);
    a.Concat(w);  // a window on a's own block
    EXPECT_EQ(Items(a), Ints({1, 2, 3, 4, 1, 2, 3, 4, 3, 4}));
    int* before = a.GetPointer();
    a.Concat(qvSimpleArray<int>());
    EXPECT_EQ(a.GetPointer(), before);
}

TEST(SimpleArray, RemovingElements) {
    qvSimpleArray<int> a = Make({1, 2, 3});
    int* next = a.erase(a.begin() + 1);
    EXPECT_EQ(*next, 3);
    EXPECT_EQ(next, a.GetPointer() + 1);
    EXPECT_EQ(Items(a), Ints({1, 3}));
    CQV_EXPECT_BAD(a.erase(a.end()), "Out of range");
    CQV_EXPECT_BAD(a.erase(a.begin() - 1), "Out of range");
    CQV_EXPECT_BAD(a.Remove(2), "Out of range");
    CQV_EXPECT_BAD(a.Remove(-1), "Out of range");
    EXPECT_EQ(Items(a), Ints({1, 3}));
    a.Remove(0);
    EXPECT_EQ(Items(a), Ints({3}));
    EXPECT_EQ(a.erase(a.begin()), nullptr);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.GetMem(), nullptr);

    qvSimpleArray<int> b = Make({1, 2, 3});
    b.pop_back();
    b.RemoveLast();
    EXPECT_EQ(Items(b), Ints({1}));
    b.pop_back();
    EXPECT_TRUE(b.empty());
    b.pop_back();  // empty: left alone
    EXPECT_TRUE(b.empty());
    CQV_EXPECT_BAD(b.pop_front(), "Out of range");

    // Removing from a window leaves the viewed array alone.
    qvSimpleArray<int> c = Make({1, 2, 3, 4});
    qvSimpleArray<int> w;
    w.SetSubWindow(c, 0, 3);
    w.pop_front();
    EXPECT_EQ(Items(w), Ints({2, 3}));
    EXPECT_EQ(Items(c), Ints({1, 2, 3, 4}));
    EXPECT_EQ(BlockCount(c.GetPointer()), 1);
}

TEST(SimpleArray, ResizeKeepsThePrefix) {
    qvSimpleArray<int> a = Make({1, 2, 3});
    a.resize(5);
    EXPECT_EQ(a.Len(), 5);
    EXPECT_EQ(a[2], 3);
    a.ReSet(2);
    EXPECT_EQ(Items(a), Ints({1, 2}));
    int* same = a.GetPointer();
    a.resize(2);
    EXPECT_EQ(a.GetPointer(), same);
    CQV_EXPECT_BAD(a.resize(-1), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(Items(a), Ints({1, 2}));
    a.resize(0);
    EXPECT_TRUE(a.empty());
    a.Clear();
    a.RemoveAll();
    a.clear();
    EXPECT_EQ(a.GetMem(), nullptr);
}

TEST(SimpleArray, Replace) {
    qvSimpleArray<int> a = Make({1, 2, 3, 4, 5});
    a.Replace(1, 2, Make({7, 8, 9}));
    EXPECT_EQ(Items(a), Ints({1, 7, 8, 9, 4, 5}));
    a.Replace(0, 4, Make({0}));
    EXPECT_EQ(Items(a), Ints({0, 4, 5}));
    a.Replace(3, 0, Make({6}));
    EXPECT_EQ(Items(a), Ints({0, 4, 5, 6}));
    a.Replace(1, 2, qvSimpleArray<int>());
    EXPECT_EQ(Items(a), Ints({0, 6}));
    a.Replace(0, 2, a);
    EXPECT_EQ(Items(a), Ints({0, 6}));
    CQV_EXPECT_BAD(a.Replace(1, 2, a), "Out of range");
    CQV_EXPECT_BAD(a.Replace(-1, 0, a), "Out of range");
    a.Replace(0, 2, qvSimpleArray<int>());
    EXPECT_TRUE(a.empty());
}

TEST(SimpleArray, Rotations) {
    qvSimpleArray<int> a = Make({1, 2, 3});
    a.CycleRightShift(1);
    EXPECT_EQ(Items(a), Ints({3, 1, 2}));
    a.CycleLeftShift(1);
    EXPECT_EQ(Items(a), Ints({1, 2, 3}));
    a.CycleLeftShift(1);
    EXPECT_EQ(Items(a), Ints({2, 3, 1}));
    a.CycleRightShift(4);  // same as 1
    EXPECT_EQ(Items(a), Ints({1, 2, 3}));
    a.CycleRightShift(-1);  // negative: nothing
    a.CycleLeftShift(-2);
    a.CycleRightShift(3);  // a full turn: nothing
    EXPECT_EQ(Items(a), Ints({1, 2, 3}));

    qvSimpleArray<int> b = Make({1, 2, 3, 4, 5, 6, 7});
    b.CycleRightShift(5);
    EXPECT_EQ(Items(b), Ints({3, 4, 5, 6, 7, 1, 2}));
    b.CycleLeftShift(12);
    EXPECT_EQ(Items(b), Ints({1, 2, 3, 4, 5, 6, 7}));
    qvSimpleArray<int> e;
    e.CycleRightShift(3);
    e.CycleLeftShift(3);
    EXPECT_TRUE(e.empty());
}

TEST(SimpleArray, InverseOrder) {
    qvSimpleArray<int> a = Make({1, 2, 3, 4});
    a.InverseOrder();
    EXPECT_EQ(Items(a), Ints({4, 3, 2, 1}));
    qvSimpleArray<int> b = Make({1, 2, 3});
    b.InverseOrder();
    EXPECT_EQ(Items(b), Ints({3, 2, 1}));
    qvSimpleArray<qvComplex> c(2);
    c[0] = qvComplex(1, 2);
    c[1] = qvComplex(3, 4);
    c.InverseOrder();
    EXPECT_EQ(c[0], qvComplex(3, 4));
}

TEST(SimpleArray, SubArraysAreFreshCopies) {
    const qvSimpleArray<int> a = Make({1, 2, 3, 4, 5});
    EXPECT_EQ(Items(a.Left(2)), Ints({1, 2}));
    EXPECT_EQ(Items(a.Right(2)), Ints({4, 5}));
    EXPECT_EQ(Items(a.Mid(1, 3)), Ints({2, 3, 4}));
    qvSimpleArray<int> all = a.Left(5);
    EXPECT_NE(all.GetPointer(), a.GetPointer());
    EXPECT_EQ(BlockCount(all.GetPointer()), 1);
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);

    CQV_EXPECT_BAD(a.Left(0), "qvSimpleArray<T>::Left: Out of Range");
    CQV_EXPECT_BAD(a.Left(6), "qvSimpleArray<T>::Left: Out of Range");
    CQV_EXPECT_BAD(a.Right(0), "qvSimpleArray<T>::Right: Out of Range");
    CQV_EXPECT_BAD(a.Right(6), "qvSimpleArray<T>::Right: Out of Range");
    CQV_EXPECT_BAD(a.Mid(3, 3), "qvSimpleArray<T>::Mid: Out of Range");
    CQV_EXPECT_BAD(a.Mid(-1, 2), "qvSimpleArray<T>::Mid: Out of Range");
    CQV_EXPECT_BAD(a.Mid(0, 0), "qvSimpleArray<T>::Mid: Out of Range");
}

TEST(SimpleArray, EveryNumericInstanceHoldsItsElementSize) {
    EXPECT_EQ(qvSimpleArray<char>(1).GetSizeOfType(), 1);
    EXPECT_EQ(qvSimpleArray<unsigned char>(1).GetSizeOfType(), 1);
    EXPECT_EQ(qvSimpleArray<short>(1).GetSizeOfType(), 2);
    EXPECT_EQ(qvSimpleArray<unsigned short>(1).GetSizeOfType(), 2);
    EXPECT_EQ(qvSimpleArray<int>(1).GetSizeOfType(), 4);
    EXPECT_EQ(qvSimpleArray<float>(1).GetSizeOfType(), 4);
    EXPECT_EQ(qvSimpleArray<double>(1).GetSizeOfType(), 8);
    EXPECT_EQ(qvSimpleArray<qvComplex>(1).GetSizeOfType(), 16);

    qvSimpleArray<unsigned char> u(3, 200);
    u.push_back(255);
    EXPECT_EQ(u.Last(), 255);
    qvSimpleArray<qvComplex> c(2, qvComplex(1, -1));
    c.push_front(qvComplex(0, 5));
    EXPECT_EQ(c[0], qvComplex(0, 5));
    EXPECT_EQ(c[2], qvComplex(1, -1));
}
