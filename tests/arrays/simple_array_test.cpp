// The simple array: storage states, windows, editing and sub-arrays.
#include "cqv_test.h"

#include <vector>

#include "array_test_support.h"

using arraytest::Items;
using arraytest::Make;
using cqvtest::BlockCount;
using Doubles = std::vector<double>;
using Ints = std::vector<int>;

namespace {

// The reference count and the size word of the block that p starts.
Ints Block(const void* p) { return {BlockCount(p), cqvtest::BlockSizeWord(p)}; }

}  // namespace

TEST(SimpleArray, ConstructionCopyAndAssignment) {
    CQV_EXPECT_BAD(qvSimpleArray<double>(0), "qvNewWithRef : n <= 0 ");
    const qvSimpleArray<int> four(4, 7);
    EXPECT_EQ(Items(four), Ints({7, 7, 7, 7}));
    EXPECT_EQ(four.GetMem(), static_cast<const void*>(four.GetPointer()));
    EXPECT_EQ(Block(four.GetPointer()), Ints({1, -4}));

    // Copies of blocks, and assignment through windows, are checked against
    // the sharing model (sharing_model_test.cpp), which has no memory of the
    // caller's and leaves out a window of a assigned to a itself, at another
    // length; then self-assignment.
    double outside[2] = {4, 5};
    qvSimpleArray<double> ext;
    ext.SetDirectly(outside, 2);
    const qvSimpleArray<double> extCopy(ext);
    EXPECT_NE(extCopy.GetPointer(), outside);
    EXPECT_EQ(Items(extCopy), Doubles({4, 5}));
    qvSimpleArray<double> a = Make({1.0, 2.0, 3.0, 4.0, 5.0});
    qvSimpleArray<double> part;
    part.SetSubWindow(a, 3, 2);
    a = part;
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
    a.Init(0);
    EXPECT_EQ(a.GetMem(), nullptr);
    a.Set(2, 6);
    a.Set(2, a[1]);  // the value may be an element of the array itself
    EXPECT_EQ(Items(a), Ints({6, 6}));
}

// Windows that write through and regrow are checked by the sharing model
// and the storage growth tests; here the bounds of a window, external
// memory, Copy, Move and swap.
TEST(SimpleArray, WindowBoundsExternalMemoryCopyMoveAndSwap) {
    qvSimpleArray<int> a = Make({1, 2, 3, 4, 5});
    int* own = a.GetPointer();
    a.Copy();  // private already: nothing happens
    EXPECT_EQ(a.GetPointer(), own);
    qvSimpleArray<int> w;
    w.SetSubWindow(a, 1, 2);
    CQV_EXPECT_BAD(w.SetSubWindow(a, 4, 2), "qvSimpleArray<T>::Set : out of range.");
    CQV_EXPECT_BAD(w.SetSubWindow(a, -1, 1), "qvSimpleArray<T>::Set : out of range.");
    CQV_EXPECT_BAD(w.SetSubWindow(a, 0, -1), "qvSimpleArray<T>::Set : out of range.");
    EXPECT_EQ(Ints({w.GetPointer() == own + 1, w.Len(), BlockCount(own)}), Ints({1, 2, 2}));  // unchanged
    w.Copy();
    EXPECT_EQ((Ints{w.GetPointer() != own, BlockCount(own)}), (Ints{1, 1}));

    // External memory: never freed, written through, also by a window on
    // it; Copy makes it private.
    int outside[4] = {1, 2, 3, 4};
    {
        qvSimpleArray<int> ext;
        ext.SetDirectly(outside, 4);
        qvSimpleArray<int> w2;
        w2.SetSubWindow(ext, 2, 2);
        EXPECT_EQ(w2.GetMem(), nullptr);
        w2[0] = 30;
        ext.Copy();
        ext[1] = 50;
        EXPECT_EQ(Items(ext), Ints({1, 50, 30, 4}));
    }
    EXPECT_EQ(outside[1], 2);

    // Move and swap exchange storage without copying.
    qvSimpleArray<int> b = Make({3, 4, 5});
    int* pb = b.GetPointer();
    a.swap(b);
    EXPECT_EQ(a.GetPointer(), pb);
    a.Move(b);
    EXPECT_EQ(a.GetPointer(), own);
    EXPECT_EQ(b.GetMem(), nullptr);
    a.Move(a);
    EXPECT_EQ(Block(own), Ints({1, -5}));
    EXPECT_EQ(Items(a), Ints({1, 2, 3, 4, 5}));
}

// Growth of every kind is compared with a plain vector in the storage
// growth tests; here what the members answer, their bounds, and appending
// to nothing, a window on the array's own block, and an empty array.
TEST(SimpleArray, AppendingInsertingAndConcatenating) {
    qvSimpleArray<int> a = Make({0, 1, 2, 3});
    int* at = a.insert(a.begin() + 2, 9);  // the new storage's element
    EXPECT_EQ(at, a.GetPointer() + 2);
    EXPECT_EQ(a.Insert(7, 5), 5);
    EXPECT_EQ(*a.insert(a.end(), 6), 6);
    EXPECT_EQ(Items(a), Ints({0, 1, 9, 2, 3, 7, 6}));
    CQV_EXPECT_BAD(a.Insert(1, 8), "Out of range");
    CQV_EXPECT_BAD(a.Insert(1, -1), "Out of range");
    EXPECT_EQ(a.Len(), 7);
    qvSimpleArray<int> e;
    e.push_back(5);  // onto no storage at all
    EXPECT_EQ(Items(e), Ints({5}));

    qvSimpleArray<int> c = Make({1, 2, 3, 4});
    qvSimpleArray<int> w;
    w.SetSubWindow(c, 2, 2);
    c.Concat(w);  // a window on c's own block
    EXPECT_EQ(Items(c), Ints({1, 2, 3, 4, 3, 4}));
    int* before = c.GetPointer();
    c.Concat(qvSimpleArray<int>());
    EXPECT_EQ(c.GetPointer(), before);
}

TEST(SimpleArray, RemovingAndResizing) {
    qvSimpleArray<int> a = Make({1, 2, 3});
    int* next = a.erase(a.begin() + 1);
    EXPECT_EQ(next, a.GetPointer() + 1);
    EXPECT_EQ(Items(a), Ints({1, 3}));
    CQV_EXPECT_BAD(a.erase(a.begin() - 1), "Out of range");
    CQV_EXPECT_BAD(a.erase(a.end()), "Out of range");
    CQV_EXPECT_BAD(a.Remove(2), "Out of range");
    CQV_EXPECT_BAD(a.Remove(-1), "Out of range");
    EXPECT_EQ(Items(a), Ints({1, 3}));
    a.Remove(0);
    EXPECT_EQ(a.erase(a.begin()), nullptr);
    EXPECT_EQ(a.GetMem(), nullptr);
    CQV_EXPECT_BAD(a.pop_front(), "Out of range");
    a.pop_back();  // empty: left alone

    // Removing from a window leaves the viewed array alone.
    qvSimpleArray<int> c = Make({1, 2, 3, 4});
    qvSimpleArray<int> w;
    w.SetSubWindow(c, 0, 3);
    w.pop_front();
    w.pop_back();
    EXPECT_EQ(Items(w), Ints({2}));
    EXPECT_EQ(Items(c), Ints({1, 2, 3, 4}));
    EXPECT_EQ(BlockCount(c.GetPointer()), 1);

    // ReSet to the present length keeps the block; length 0 lets it go.
    c.ReSet(2);
    int* same = c.GetPointer();
    c.resize(2);
    EXPECT_EQ(c.GetPointer(), same);
    c.resize(0);
    EXPECT_EQ(c.GetMem(), nullptr);
}

TEST(SimpleArray, ReplaceRotateAndReverse) {
    // (Growing and shrinking replacements are compared with a plain vector
    // in the storage growth tests.) At the end, by nothing, by the array.
    qvSimpleArray<int> a = Make({0, 4, 5});
    a.Replace(3, 0, Make({6}));
    EXPECT_EQ(Items(a), Ints({0, 4, 5, 6}));
    a.Replace(1, 2, qvSimpleArray<int>());
    a.Replace(0, 2, a);
    EXPECT_EQ(Items(a), Ints({0, 6}));
    CQV_EXPECT_BAD(a.Replace(1, 2, a), "Out of range");
    CQV_EXPECT_BAD(a.Replace(-1, 0, a), "Out of range");
    // Equal lengths regrow nothing: a window writes through to the array it
    // views and keeps sharing its block, also when the replacement overlaps
    // the replaced range in the same storage.
    qvSimpleArray<int> whole = Make({1, 2, 3, 4, 5}), w, src;
    w.SetSubWindow(whole, 1, 3);
    w.Replace(0, 2, Make({9, 8}));
    src.SetSubWindow(whole, 0, 3);
    w.Replace(0, 3, src);
    EXPECT_EQ(Items(whole), Ints({1, 1, 9, 8, 5}));
    EXPECT_EQ(BlockCount(whole.GetPointer()), 3);

    // Rotations of 1..7 by k (to the right for positive right); negative k
    // and whole turns change nothing. Then both reversals.
    const struct {
        int right, k;
        Ints want;
    } rotations[] = {{1, 1, {7, 1, 2, 3, 4, 5, 6}}, {0, 1, {2, 3, 4, 5, 6, 7, 1}}, {1, 9, {6, 7, 1, 2, 3, 4, 5}},
                     {0, 12, {6, 7, 1, 2, 3, 4, 5}}, {1, -1, {1, 2, 3, 4, 5, 6, 7}}, {0, -2, {1, 2, 3, 4, 5, 6, 7}},
                     {1, 7, {1, 2, 3, 4, 5, 6, 7}}};
    for (const auto& r : rotations) {
        qvSimpleArray<int> b = Make({1, 2, 3, 4, 5, 6, 7});
        if (r.right) {
            b.CycleRightShift(r.k);
        } else {
            b.CycleLeftShift(r.k);
        }
        EXPECT_EQ(Items(b), r.want) << r.right << " " << r.k;
    }
    qvSimpleArray<int> e, even = Make({1, 2, 3, 4}), odd = Make({1, 2, 3});
    e.CycleRightShift(3);  // nothing to turn
    even.InverseOrder();
    odd.InverseOrder();
    EXPECT_EQ((std::vector<Ints>{Items(e), Items(even), Items(odd)}),
              (std::vector<Ints>{{}, {4, 3, 2, 1}, {3, 2, 1}}));
}

TEST(SimpleArray, SubArraysAreFreshCopies) {
    const qvSimpleArray<int> a = Make({1, 2, 3, 4, 5});
    EXPECT_EQ((std::vector<Ints>{Items(a.Left(2)), Items(a.Right(2)), Items(a.Mid(1, 3))}),
              (std::vector<Ints>{{1, 2}, {4, 5}, {2, 3, 4}}));
    const qvSimpleArray<int> all = a.Left(5);
    EXPECT_EQ((Ints{all.GetPointer() != a.GetPointer(), BlockCount(all.GetPointer())}), (Ints{1, 1}));
    // Each side of every bound.
    CQV_EXPECT_BAD(a.Left(0), "qvSimpleArray<T>::Left: Out of Range");
    CQV_EXPECT_BAD(a.Left(6), "qvSimpleArray<T>::Left: Out of Range");
    CQV_EXPECT_BAD(a.Right(0), "qvSimpleArray<T>::Right: Out of Range");
    CQV_EXPECT_BAD(a.Right(6), "qvSimpleArray<T>::Right: Out of Range");
    CQV_EXPECT_BAD(a.Mid(3, 3), "qvSimpleArray<T>::Mid: Out of Range");
    CQV_EXPECT_BAD(a.Mid(-1, 2), "qvSimpleArray<T>::Mid: Out of Range");
    CQV_EXPECT_BAD(a.Mid(0, 0), "qvSimpleArray<T>::Mid: Out of Range");
}
