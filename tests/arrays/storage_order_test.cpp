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

// Each edit on (1, 2, 3, 4) beside the same edit on a plain vector: every
// path that resizes in place (growth at the front, in the middle and at the
// end, a value read from the array itself, an array appended to itself, a cut
// at the end) and the ones that copy.
TYPED_TEST(StorageGrowth, EditsOfASoleBlockKeepTheElementsAndAnExactBlock) {
    using T = TypeParam;
    using Model = std::vector<T>;
    struct Edit {
        std::function<void(qvSimpleArray<T>&)> edit;
        std::function<void(Model&)> model;
    };
    const auto at = [](Model& m, int i) { return m.begin() + i; };
    const std::vector<Edit> edits = {
        {[](qvSimpleArray<T>& a) { a.push_back(V<T>(9)); }, [](Model& m) { m.push_back(V<T>(9)); }},
        {[](qvSimpleArray<T>& a) { a.push_back(a[1]); }, [](Model& m) { m.push_back(m[1]); }},
        {[](qvSimpleArray<T>& a) { a.Concat(a[0]); }, [](Model& m) { m.push_back(m[0]); }},
        {[](qvSimpleArray<T>& a) { a.push_front(a[3]); }, [&](Model& m) { m.insert(at(m, 0), m[3]); }},
        {[](qvSimpleArray<T>& a) { a.Insert(V<T>(7), 2); }, [&](Model& m) { m.insert(at(m, 2), V<T>(7)); }},
        {[](qvSimpleArray<T>& a) { a.insert(a.begin() + 1, a[2]); }, [&](Model& m) { m.insert(at(m, 1), m[2]); }},
        {[](qvSimpleArray<T>& a) { a.Concat(a); }, [](Model& m) {
             const Model c = m;
             m.insert(m.end(), c.begin(), c.end());
         }},
        {[](qvSimpleArray<T>& a) { a.Concat(Make<T>({V<T>(5), V<T>(6)})); },
         [](Model& m) { m.insert(m.end(), {V<T>(5), V<T>(6)}); }},
        {[](qvSimpleArray<T>& a) { a.Replace(1, 1, Make<T>({V<T>(5), V<T>(6), V<T>(7)})); },
         [&](Model& m) { m.erase(at(m, 1)); m.insert(at(m, 1), {V<T>(5), V<T>(6), V<T>(7)}); }},
        {[](qvSimpleArray<T>& a) { a.resize(6); a[4] = a[5] = V<T>(8); }, [](Model& m) { m.resize(6, V<T>(8)); }},
        {[](qvSimpleArray<T>& a) { a.pop_back(); }, [](Model& m) { m.pop_back(); }},
        {[](qvSimpleArray<T>& a) { a.resize(1); }, [](Model& m) { m.resize(1); }},
        {[](qvSimpleArray<T>& a) { a.Remove(1); }, [&](Model& m) { m.erase(at(m, 1)); }},
        {[](qvSimpleArray<T>& a) { a.Replace(0, 3, Make<T>({V<T>(5)})); },
         [&](Model& m) { m.erase(at(m, 0), at(m, 3)); m.insert(at(m, 0), V<T>(5)); }},
    };
    for (std::size_t k = 0; k < edits.size(); ++k) {
        SCOPED_TRACE("edit " + std::to_string(k));
        qvSimpleArray<T> a = Make<T>({V<T>(1), V<T>(2), V<T>(3), V<T>(4)});
        Model model = Items(a);
        edits[k].edit(a);
        edits[k].model(model);
        EXPECT_EQ(Items(a), model);
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
        qvSimpleArray<T> owner = Make<T>({V<T>(1), V<T>(2), V<T>(3), V<T>(4)});
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
    qvSimpleArray<T> a = Make<T>({V<T>(1), V<T>(2)});
    qvSimpleArray<T> view;
    view.SetDirectly(a.GetPointer(), 2);
    a.Concat(view);
    EXPECT_EQ(Items(a), Vs<T>({1, 2, 1, 2}));
}
