// The order in which the arrays let go of storage: members that release
// their block before the check that throws leave an empty array behind, and
// SetMem stores a block before it counts it. Growth and cuts of a block the
// array alone holds happen where the block lies; every other storage gets a
// fresh block and is left to its other users.
#include "array_test_support.h"
#include "cqv_test.h"

#include <functional>
#include <string>
#include <vector>

using namespace arraytest;
using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;

namespace {

const char kNonPositive[] = "qvNewWithRef : n <= 0 ";
unsigned char kNegativeCount[4] = {0xff, 0xff, 0xff, 0xff};

// a shares its block with a window; op must refuse a length after a let go
// of its reference: a is empty and the window is the block's one holder.
template <class T, class A, class Op>
void ExpectReleasedBeforeThrow(A& a, Op op) {
    qvSimpleArray<T> window;
    window.SetSubWindow(a, 0, a.Len());
    cqvtest::ExpectReleasedBeforeThrow(a, a.GetPointer(), op, kNonPositive);
    EXPECT_EQ(a.Len(), 0);
}

// An array whose protected SetMem the test calls.
struct Holder : qvSimpleArray<double> {
    using qvSimpleArray<double>::SetMem;
};

}  // namespace

TEST(StorageOrder, LengthsAndRecordsThatFailReleaseTheBlockFirst) {
    using Simple = qvSimpleArray<double>;
    const std::vector<std::function<void(Simple&)>> simple = {
        [](Simple& a) { a.Set(-1); },      [](Simple& a) { a.Init(-2); },
        [](Simple& a) { a.Set(0, 1.0); },  [](Simple& a) { a.Set(-3, 1.0); },
    };
    for (const auto& op : simple) {
        Simple a(3, 1.0);
        ExpectReleasedBeforeThrow<double>(a, op);
    }

    qvArray<double> numbers = A<double>({1, 2, 3});
    ExpectReleasedBeforeThrow<double>(numbers, [](qvArray<double>& a) { a.FromMem(kNegativeCount); });
    qvString text(3);
    text.Fill('x');
    ExpectReleasedBeforeThrow<char>(text, [](qvString& s) { s.FromMem(kNegativeCount); });

    // The grid also drops its extents.
    using Grid = qvSimpleArray2D<double>;
    const std::vector<std::function<void(Grid&)>> grid = {
        [](Grid& g) { g.Set(-1, 2); },      [](Grid& g) { g.Init(2, -3); },
        [](Grid& g) { g.Set(-1, -1); },     [](Grid& g) { g.Set(2, 0, 1.0); },
        [](Grid& g) { g.Set(-2, 3, 1.0); },
    };
    for (const auto& op : grid) {
        Grid g(2, 2, 1.0);
        ExpectReleasedBeforeThrow<double>(g, op);
        EXPECT_EQ((std::vector<int>{g.GetLenY(), g.GetLenX()}), (std::vector<int>{0, 0}));
    }

    // A negative length for resize builds nothing and releases nothing.
    qvSimpleArray<double> kept(2, 5.0);
    CQV_EXPECT_BAD(kept.resize(-1), kNonPositive);
    EXPECT_EQ(Items(kept), (std::vector<double>{5, 5}));
}

TEST(StorageOrder, SetMemReleasesTheHeldBlockThenStoresAnUncountedOne) {
    Holder h;
    h.Set(3, 1.0);
    qvSimpleArray<double> window;
    window.SetSubWindow(h, 0, 3);
    cqvtest::ExpectSetMemOfAnUncountedBlockReleasesFirst(h, h.GetPointer());
}

// ---- Growth in place ---------------------------------------------------------

template <class T>
class StorageGrowth : public ::testing::Test {};
TYPED_TEST_SUITE(StorageGrowth, ElementTypes, ElementTypeNames);

// Each edit on (1, 2, 3, 4) and what it must leave: every path that resizes
// in place (growth at the front, in the middle and at the end, a value read
// from the array itself, an array appended to itself, a cut at the end) and
// the ones that copy.
TYPED_TEST(StorageGrowth, EditsOfASoleBlockKeepTheElementsAndAnExactBlock) {
    using T = TypeParam;
    using SA = qvSimpleArray<T>;
    const struct {
        std::function<void(SA&)> edit;
        std::vector<T> want;
    } edits[] = {
        {[](SA& a) { a.push_back(V<T>(9)); }, Vs<T>({1, 2, 3, 4, 9})},
        {[](SA& a) { a.push_back(a[1]); }, Vs<T>({1, 2, 3, 4, 2})},
        {[](SA& a) { a.Concat(a[0]); }, Vs<T>({1, 2, 3, 4, 1})},
        {[](SA& a) { a.push_front(a[3]); }, Vs<T>({4, 1, 2, 3, 4})},
        {[](SA& a) { a.Insert(V<T>(7), 2); }, Vs<T>({1, 2, 7, 3, 4})},
        {[](SA& a) { a.insert(a.begin() + 1, a[2]); }, Vs<T>({1, 3, 2, 3, 4})},
        {[](SA& a) { a.Concat(a); }, Vs<T>({1, 2, 3, 4, 1, 2, 3, 4})},
        {[](SA& a) { a.Concat(A<T>({5, 6})); }, Vs<T>({1, 2, 3, 4, 5, 6})},
        {[](SA& a) { a.Replace(1, 1, A<T>({5, 6, 7})); }, Vs<T>({1, 5, 6, 7, 3, 4})},
        {[](SA& a) {
             a.resize(6);
             a[4] = a[5] = V<T>(8);
         },
         Vs<T>({1, 2, 3, 4, 8, 8})},
        {[](SA& a) { a.pop_back(); }, Vs<T>({1, 2, 3})},
        {[](SA& a) { a.resize(1); }, Vs<T>({1})},
        {[](SA& a) { a.Remove(1); }, Vs<T>({1, 3, 4})},
        {[](SA& a) { a.Replace(0, 3, A<T>({5})); }, Vs<T>({5, 4})},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE("edit " + std::to_string(&e - edits));
        SA a = A<T>({1, 2, 3, 4});
        e.edit(a);
        EXPECT_EQ(Items(a), e.want);
        EXPECT_EQ(std::vector<int>({BlockCount(a.GetMem()), BlockSizeWord(a.GetMem())}),
                  std::vector<int>({1, -a.Len()}));
        EXPECT_EQ(a.GetPointer(), a.GetMem());
    }
}

// A block someone else sees is never resized under them: the array moves
// to a fresh block of its own and the others keep what they saw.
TYPED_TEST(StorageGrowth, SharedWindowedAndExternalStorageIsLeftToItsOtherUsers) {
    using T = TypeParam;
    const std::vector<T> four = Vs<T>({1, 2, 3, 4});
    for (const char* kind : {"shared", "window", "external", "sole window"}) {
        SCOPED_TRACE(kind);
        qvSimpleArray<T> owner = A<T>({1, 2, 3, 4});
        T outside[4] = {V<T>(1), V<T>(2), V<T>(3), V<T>(4)};
        qvSimpleArray<T> a;
        const std::string k = kind;
        if (k == "shared") a.SetSubWindow(owner, 0, 4);
        if (k == "window") a.SetSubWindow(owner, 1, 2);
        if (k == "external") a.SetDirectly(outside, 4);
        if (k == "sole window") {  // the only holder left, but of part of the block
            a.SetSubWindow(owner, 0, 3);
            owner.Clear();
        }
        const std::vector<T> before = Items(a);
        a.push_back(V<T>(9));
        std::vector<T> expected = before;
        expected.push_back(V<T>(9));
        EXPECT_EQ(Items(a), expected);
        EXPECT_EQ(std::vector<int>({BlockCount(a.GetMem()), BlockSizeWord(a.GetMem())}),
                  std::vector<int>({1, -a.Len()}));
        if (owner.Len() > 0) {
            EXPECT_EQ(Items(owner), four);
            EXPECT_EQ(BlockCount(owner.GetMem()), 1);
        }
        EXPECT_EQ(std::vector<T>(outside, outside + 4), four);
    }
    // An array appended to an external view of itself reads the view before
    // its block moves.
    qvSimpleArray<T> a = A<T>({1, 2});
    qvSimpleArray<T> view;
    view.SetDirectly(a.GetPointer(), 2);
    a.Concat(view);
    EXPECT_EQ(Items(a), Vs<T>({1, 2, 1, 2}));
}
