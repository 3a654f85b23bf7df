// The shape of an N-dimensional array: strides, the walk's step table and
// the quantities derived from them, the multi-index, the neighbour tables,
// segment clipping and the shape record.
#include "cqv_test.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

#include "nd_test_support.h"

using namespace ndtest;

namespace {

// A shape with no elements behind it.
struct Shape : qvArrayNDAbs {
    using qvArrayNDAbs::qvArrayNDAbs;
    void SetMem(void* const) override {}
    void* Pointer() const override { return nullptr; }
    int GetSizeOfType() const override { return 1; }
    void Copy() override {}
    void Init(const qvArray<int>& r) override { Set(r); }
    void Flip(int) override {}
    void SwapAxis(int, int) override {}
    using qvArrayNDAbs::Set;
};

// The multi-index with its stepping opened up.
struct OpenIndex : qvArrayNDAbs::Index {
    using Index::Dec;
    using Index::Inc;
    using Index::Set;
};

// Offsets Σ idx·tab of all cells of the box ext, dimension 0 fastest, each
// shifted by shift in every dimension.
Ints BoxOffsets(const Ints& ext, const Ints& tab, int shift) {
    Ints out;
    for (int k = 0; k < Count(ext); ++k) {
        Ints idx = Decode(k, ext);
        for (int& i : idx) i += shift;
        out.push_back(Dot(idx, tab));
    }
    return out;
}

// The highest dimension in which two multi-indices differ.
int HighestChange(const Ints& a, const Ints& b) {
    int d = static_cast<int>(a.size()) - 1;
    while (d > 0 && a[static_cast<std::size_t>(d)] == b[static_cast<std::size_t>(d)]) --d;
    return d;
}

Ints RandomTab(std::mt19937& g, int dim) {
    Ints t(static_cast<std::size_t>(dim));
    for (int& x : t) x = std::uniform_int_distribution<int>(-30, 30)(g);
    return t;
}

}  // namespace

TEST(Shape, DerivedQuantitiesOfHandPickedShapes) {
    struct Case {
        Ints range, tab, forTab;
        bool isCon;
        int size, endPos, positive, negative;
    };
    const Case cases[] = {
        {{4, 3, 2}, {1, 4, 12}, {1, 0, 0}, true, 24, 24, 24, 0},
        {{4, 3}, {3, 1}, {3, -11}, false, 12, 14, 12, 0},
        {{2, 2}, {1, -2}, {1, -4}, false, 4, 0, 2, -2},
        {{5}, {-1}, {-1}, true, 5, -5, 1, -4},
        {{3, 2}, {0, 1}, {0, 1}, false, 6, 1, 2, 0},
        {{1, 3}, {7, 1}, {7, -6}, false, 3, 9, 3, 0},
        {{1, 3}, {1, 1}, {1, 0}, true, 3, 3, 3, 0},
    };
    for (const Case& c : cases) {
        const Shape s(A(c.range), A(c.tab));
        EXPECT_EQ(Items(s.GetForTab()), c.forTab);
        EXPECT_EQ(std::make_tuple(s.IsCon(), s.GetSize(), s.GetEndPos(), s.PositiveLength(), s.NegativeLength()),
                  std::make_tuple(c.isCon, c.size, c.endPos, c.positive, c.negative))
            << "range " << testing::PrintToString(c.range) << " tab " << testing::PrintToString(c.tab);
    }
    EXPECT_EQ(Items(qvArrayNDAbs::MkTabFromRange(A({4, 3, 2}), 1)), (Ints{1, 4, 12}));
    EXPECT_EQ(Items(qvArrayNDAbs::MkTabFromRange(A({4, 3, 2}), -2)), (Ints{-2, -8, -24}));
    EXPECT_EQ(Items(Shape(A({4, 3, 2})).Tab()), (Ints{1, 4, 12}));
    const Shape none;
    EXPECT_EQ(std::make_tuple(none.GetDim(), none.GetSize(), none.GetEndPos(), none.IsCon()), std::make_tuple(0, 0, 0, true));
}

// The step table carries a pointer from one past the end of each line to
// the start of the next; contiguity and the extents agree with the offsets
// of the elements themselves.
TEST(Shape, StepTableAndExtentsMatchTheElementOffsets) {
    std::mt19937 g(7);
    for (int trial = 0; trial < 300; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        const int dim = static_cast<int>(range.size());
        const Ints tab = trial % 3 == 0 ? Items(qvArrayNDAbs::MkTabFromRange(A(range), 1)) : RandomTab(g, dim);
        const Shape s(A(range), A(tab));
        const Ints forTab = Items(s.GetForTab());
        bool progression = true;
        int lo = 0, hi = 0;
        for (int k = 0; k < Count(range); ++k) {
            const Ints idx = Decode(k, range);
            const int off = Dot(idx, tab);
            lo = std::min(lo, off);
            hi = std::max(hi, off);
            if (off != k * tab[0]) progression = false;
            if (k + 1 < Count(range) && idx[0] == range[0] - 1) {
                const Ints next = Decode(k + 1, range);
                int carried = dim - 1;
                while (next[static_cast<std::size_t>(carried)] == idx[static_cast<std::size_t>(carried)]) --carried;
                EXPECT_EQ(Dot(next, tab) - (off + tab[0]), forTab[static_cast<std::size_t>(carried)]);
            }
        }
        EXPECT_EQ(forTab[0], tab[0]);
        // Contiguous means laid out as the dense strides would be from
        // tab[0]; then the elements form one progression.
        bool dense = true;
        for (std::size_t d = 1; d < range.size(); ++d) dense = dense && tab[d] == range[d - 1] * tab[d - 1];
        EXPECT_EQ(s.IsCon(), dense) << testing::PrintToString(range) << testing::PrintToString(tab);
        if (dense) {
            EXPECT_TRUE(progression);
        }
        EXPECT_EQ(s.GetEndPos(), Dot(Decode(Count(range) - 1, range), tab) + tab[0]);
        EXPECT_EQ(s.GetSize(), Count(range));
        EXPECT_EQ(s.PositiveLength(), hi + 1);
        EXPECT_EQ(s.NegativeLength(), lo);
    }
}

TEST(Shape, SettersCopiesAndChecks) {
    Shape s(A({2, 3}), A({3, 1}));
    Shape copy(s);
    s.Set(A({5}));
    EXPECT_EQ(std::make_tuple(Items(copy.Range()), Items(copy.Tab()), Items(copy.GetForTab()), copy.GetEndPos()),
              std::make_tuple(Ints{2, 3}, Ints{3, 1}, Ints{3, -5}, 8));
    EXPECT_EQ(Items(s.Tab()), Ints{1});
    copy = s;
    EXPECT_EQ(std::make_tuple(Items(copy.Range()), copy.GetSize()), std::make_tuple(Ints{5}, 5));
    // The tables may be passed back in, even crosswise.
    Shape t(A({2, 3}), A({1, 2}));
    t.Set(t.Tab(), t.Range());
    EXPECT_EQ(std::make_tuple(Items(t.Range()), Items(t.Tab())), std::make_tuple(Ints{1, 2}, Ints{2, 3}));
    // Editing the extents in place.
    t.ModifyRange()[1] = 4;
    t.AfterModifyRange();
    EXPECT_EQ(std::make_tuple(t.GetSize(), t.GetEndPos()), std::make_tuple(4, 2 + 3 * 3));

    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabFromRange(qvArray<int>(), 1), "qvArrayNDAbs:MkTabFromRange:Array length is zero.");
    CQV_EXPECT_BAD(Shape{qvArray<int>()}, "qvArrayNDAbs:MkTabFromRange:Array length is zero.");
    CQV_EXPECT_BAD(Shape(A({2, 3}), A({1})), "Different range");
    CQV_EXPECT_BAD(qvArrayNDAbs::MakeForTab(A({2, 3}), A({1})), "Different range");
    // A failed check leaves the shape as it was.
    CQV_EXPECT_BAD(s.Set(A({2, 3}), A({1, 2, 3})), "Different range");
    CQV_EXPECT_BAD(s.Set(qvArray<int>()), "qvArrayNDAbs:MkTabFromRange:Array length is zero.");
    EXPECT_EQ(std::make_tuple(Items(s.Range()), Items(s.Tab())), std::make_tuple(Ints{5}, Ints{1}));
    CQV_EXPECT_BAD(Shape().PositiveLength(), "Array length is zero.");
    CQV_EXPECT_BAD(Shape().NegativeLength(), "Array length is zero.");
    // Strides without extents are taken as they come, with nothing derived.
    const Shape bare(qvArray<int>(), A({4}));
    EXPECT_EQ(std::make_tuple(bare.GetDim(), bare.GetSize(), bare.GetEndPos()), std::make_tuple(0, 0, 0));
}

TEST(Shape, HooksOfPictureClassesKeepTheirDefaults) {
    Shape s(A({2}));
    s.SetCurMask(5);
    EXPECT_EQ(std::make_tuple(s.IsArrayND(), s.IsInheritFromPictureND(), s.IsSegm(), s.GetSegm(), s.GetCurMask(),
                              s.IsEqualCurMask(nullptr, 3), s.New()),
              std::make_tuple(1, false, 0, static_cast<qvArrayNDAbs*>(nullptr), -1, true,
                              static_cast<qvArrayNDAbs*>(nullptr)));
}

TEST(Shape, RecordHoldsTheExtentsOnly) {
    const Shape s(A({2, 3}), A({5, -1}));
    ASSERT_EQ(s.MemSize(), 12);
    std::vector<unsigned char> out(14, 0xEE);
    EXPECT_EQ(s.ToMem(out.data()), 12);
    EXPECT_EQ(out, (std::vector<unsigned char>{2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xEE, 0xEE}));
    Shape back(A({7}));
    EXPECT_EQ(back.FromMem(out.data()), 12);
    EXPECT_EQ(std::make_tuple(Items(back.Range()), Items(back.Tab())), std::make_tuple(Ints{2, 3}, Ints{1, 2}));
    std::vector<unsigned char> negative = {0xFF, 0xFF, 0xFF, 0xFF};
    CQV_EXPECT_BAD(back.FromMem(negative.data()), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(Items(back.Range()), (Ints{2, 3}));
}

TEST(ShapeIndex, SetIncAndDecFollowTheLines) {
    OpenIndex idx;
    const Shape none;
    EXPECT_EQ(idx.Set(&none, false), 0);
    EXPECT_EQ(idx.Len(), 0);
    EXPECT_EQ(idx.Inc(nullptr), 0);

    std::mt19937 g(11);
    for (int trial = 0; trial < 100; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        const Shape s(A(range));
        const int lines = Count(range) / range[0];
        EXPECT_EQ(idx.Set(&s, true), 1);
        Ints last = range;
        for (int& x : last) --x;
        EXPECT_EQ(Items(idx), last);
        // Backwards from the last line, every step lands on the last element
        // of the previous line.
        for (int line = lines - 1; line > 0; --line) {
            const Ints want = Decode(line * range[0] - 1, range);
            EXPECT_EQ(idx.Dec(s.Range().GetPointer()), HighestChange(Items(idx), want));
            EXPECT_EQ(Items(idx), want);
        }
        EXPECT_EQ(idx.Dec(s.Range().GetPointer()), 0);
        EXPECT_EQ(Items(idx), last);
        // Forwards from the first element, every step lands on the first
        // element of the next line, and the last one wraps to zeros.
        EXPECT_EQ(idx.Set(&s, false), 1);
        for (int line = 1; line < lines; ++line) {
            const Ints want = Decode(line * range[0], range);
            EXPECT_EQ(idx.Inc(s.Range().GetPointer()), HighestChange(Items(idx), want));
            EXPECT_EQ(Items(idx), want);
        }
        EXPECT_EQ(idx.Inc(s.Range().GetPointer()), 0);
        EXPECT_EQ(Items(idx), Ints(range.size(), 0));
    }
}

TEST(ShapeTables, HandPickedTables) {
    qvArray<int> out;
    qvArrayNDAbs::MkTabFor4Link(A({1, 10}), out);
    EXPECT_EQ(Items(out), (Ints{1, -1, 10, -10}));
    qvArrayNDAbs::MkTabFor4Link(qvArray<int>(), out);
    EXPECT_EQ(out.Len(), 0);
    qvArrayNDAbs::MkTabFor8Link(A({1, 10}), out);
    EXPECT_EQ(Items(out), (Ints{-11, -10, -9, -1, 1, 9, 10, 11}));
    qvArrayNDAbs::Rcurs2(A({1, 10}), out);
    EXPECT_EQ(Items(out), (Ints{-11, -10, -9, -1}));
    qvArrayNDAbs::MkTabForVertexLink(A({1, 10}), out);
    EXPECT_EQ(Items(out), (Ints{0, 1, 10, 11}));
    qvArrayNDAbs::MkTabForAp(A({1, 10}), A({3, 2}), out);
    EXPECT_EQ(Items(out), (Ints{0, 1, 2, 10, 11, 12}));
    // Strides that let neighbours coincide with the centre drop them.
    qvArrayNDAbs::MkTabFor8Link(A({1, 1}), out);
    EXPECT_EQ(Items(out), (Ints{-2, -1, -1, 1, 1, 2}));
    qvArrayNDAbs::Rcurs2(A({1, 1}), out);
    EXPECT_EQ(Items(out), (Ints{-2, -1, -1}));
    // A table may be built from itself.
    qvArray<int> t = A({1, 5});
    qvArrayNDAbs::MkTabFor4Link(t, t);
    EXPECT_EQ(Items(t), (Ints{1, -1, 5, -5}));
}

TEST(ShapeTables, TablesMatchEnumeratedBoxes) {
    std::mt19937 g(3);
    for (int trial = 0; trial < 60; ++trial) {
        const int dim = 1 + trial % 4;
        const Ints tab = RandomTab(g, dim);
        const Ints cube = BoxOffsets(Ints(static_cast<std::size_t>(dim), 3), tab, -1);
        Ints ring, before;
        for (std::size_t k = 0; k < cube.size(); ++k) {
            if (cube[k] == 0) continue;
            ring.push_back(cube[k]);
            if (k < cube.size() / 2) before.push_back(cube[k]);
        }
        qvArray<int> out;
        qvArrayNDAbs::MkTabFor8Link(A(tab), out);
        EXPECT_EQ(Items(out), ring);
        qvArrayNDAbs::Rcurs2(A(tab), out);
        EXPECT_EQ(Items(out), before);
        qvArrayNDAbs::MkTabForVertexLink(A(tab), out);
        EXPECT_EQ(Items(out), BoxOffsets(Ints(static_cast<std::size_t>(dim), 2), tab, 0));
        const Ints ext = RandomRange(g, dim, dim, 4);
        qvArrayNDAbs::MkTabForAp(A(tab), A(ext), out);
        EXPECT_EQ(Items(out), BoxOffsets(ext, tab, 0));
        qvArrayNDAbs::MkTabFor4Link(A(tab), out);
        ASSERT_EQ(out.Len(), 2 * dim);
        for (int d = 0; d < dim; ++d) EXPECT_EQ(std::make_pair(out[2 * d], out[2 * d + 1]), std::make_pair(tab[d], -tab[d]));
    }
}

TEST(ShapeTables, OutputKeepsItsBlockWhenTheLengthFitsAndChecks) {
    qvArray<int> out(8, 0);
    const int* block = out.GetPointer();
    qvArrayNDAbs::MkTabFor8Link(A({1, 10}), out);
    qvArrayNDAbs::MkTabForVertexLink(A({1, 10, 100}), out);
    EXPECT_EQ(out.GetPointer(), block);
    qvArrayNDAbs::MkTabFor4Link(A({1}), out);
    EXPECT_NE(out.GetPointer(), block);

    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabFor8Link(qvArray<int>(), out), "Array length is zero.");
    CQV_EXPECT_BAD(qvArrayNDAbs::Rcurs2(qvArray<int>(), out), "Array length is zero.");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForAp(qvArray<int>(), qvArray<int>(), out), "Array length is zero.");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForAp(A({1}), A({2, 2}), out), "Different range");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForAp(A({1, 2}), A({2, 0}), out), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForVertexLink(qvArray<int>(), out), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(Items(out), (Ints{1, -1}));
}

TEST(ShapeClip, SegmentsAgainstATenByTenBox) {
    struct Case {
        Ints p1, p2;
        int result;
        Ints q1, q2;
    };
    const Case cases[] = {
        {{-5, 5}, {15, 5}, 1, {0, 5}, {9, 5}},     // horizontal, both ends clipped
        {{15, 5}, {-5, 5}, 1, {9, 5}, {0, 5}},     // the same, ends kept in their roles
        {{3, -4}, {3, 20}, 1, {3, 0}, {3, 9}},     // vertical
        {{-2, -2}, {12, 12}, 1, {0, 0}, {9, 9}},   // diagonal through two corners
        {{2, 3}, {7, 8}, 1, {2, 3}, {7, 8}},       // inside
        {{4, 4}, {14, 9}, 1, {4, 4}, {9, 7}},      // one end out: y += trunc(-5 · 0.5)
        {{-5, -1}, {-1, -5}, 0, {-5, -1}, {-1, -5}},  // beside the box
        {{12, -3}, {20, 4}, 0, {12, -3}, {20, 4}},    // right of the box
    };
    const Shape box(A({10, 10}));
    for (const Case& c : cases) {
        qvArray<int> p1 = A(c.p1), p2 = A(c.p2);
        EXPECT_EQ(box.GetLineWithin(p1, p2), c.result);
        EXPECT_EQ(std::make_pair(Items(p1), Items(p2)), std::make_pair(c.q1, c.q2))
            << testing::PrintToString(c.p1) << " - " << testing::PrintToString(c.p2);
    }
}

// Traced by hand on a 4 × 3 box (slope 0.6): p1 moves to (0, 2) and is
// inside; the ends are exchanged and the far end moves to (3, 5), (-2, 2),
// (0, 3) and (-1, 2), the fifth move, after which the segment is taken as it
// stands, not exchanged back, though (-1, 2) lies outside.
TEST(ShapeClip, FifthMoveEndsTheClipping) {
    const Shape box(A({4, 3}));
    qvArray<int> p1 = A({-6, -1}), p2 = A({4, 5});
    EXPECT_EQ(box.GetLineWithin(p1, p2), 1);
    EXPECT_EQ(std::make_pair(Items(p1), Items(p2)), std::make_pair(Ints{-1, 2}, Ints{0, 2}));
}

TEST(ShapeClip, OnlyTwoDimensions) {
    qvArray<int> p = A({1, 1}), q = A({2, 2}), r = A({1, 1, 1});
    CQV_EXPECT_BAD(Shape(A({3, 3, 3})).GetLineWithin(p, q), "Dimension must equal 2 in GetLine.");
    CQV_EXPECT_BAD(Shape(A({3, 3})).GetLineWithin(r, q), "Dimension must equal 2 in GetLine.");
    CQV_EXPECT_BAD(Shape(A({3, 3})).GetLineWithin(p, r), "Dimension must equal 2 in GetLine.");
    EXPECT_EQ(Items(p), (Ints{1, 1}));
}

#if (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
namespace {

// The virtual-table slot of a virtual member function under the Itanium C++
// ABI, counted as the library counts them: the destructor is one slot there
// but two entries in the ABI's table.
template <class F>
int SlotOf(F f) {
    struct {
        std::uintptr_t ptr;
        std::ptrdiff_t adj;
    } rep;
    static_assert(sizeof f == sizeof rep, "a pointer to member function is two words");
    std::memcpy(&rep, &f, sizeof rep);
    return static_cast<int>((rep.ptr - 1) / sizeof(void*)) - 1;
}

}  // namespace

TEST(Shape, VirtualSlotsInOrder) {
    using Abs = qvArrayNDAbs;
    using Nd = qvArrayND<double>;
    const std::pair<int, int> slots[] = {
        {SlotOf(&Abs::PositiveLength), 14},
        {SlotOf(&Abs::NegativeLength), 15},
        {SlotOf(&Abs::MemSize), 24},
        {SlotOf(&Abs::FromMem), 26},
        {SlotOf(static_cast<void (Abs::*)(const qvArray<int>&)>(&Abs::Set)), 27},
        {SlotOf(&Abs::Init), 28},
        {SlotOf(&Abs::New), 29},
        {SlotOf(&Abs::IsArrayND), 30},
        {SlotOf(&Abs::IsInheritFromPictureND), 31},
        {SlotOf(&Abs::IsSegm), 32},
        {SlotOf(&Abs::GetSegm), 33},
        {SlotOf(&Abs::GetCurMask), 34},
        {SlotOf(&Abs::SetCurMask), 35},
        {SlotOf(&Abs::IsEqualCurMask), 36},
        {SlotOf(&Abs::Flip), 37},
        {SlotOf(&Abs::SwapAxis), 38},
        {SlotOf(&Nd::Fill), 39},
        {SlotOf(&Nd::TNew), 40},
        {SlotOf(&Nd::Move), 41},
        {SlotOf(static_cast<void (Nd::*)(const Nd&, int, const qvArray<int>&, const qvArray<int>&)>(&Nd::Set)), 42},
        {SlotOf(static_cast<void (Nd::*)(const Nd&, int, const qvArray<int>&)>(&Nd::Set)), 43},
        {SlotOf(static_cast<void (Nd::*)(const Nd&)>(&Nd::Set)), 44},
        {SlotOf(static_cast<void (Nd::*)(double*, const qvArray<int>&, const qvArray<int>&)>(&Nd::SetDirectly)), 45},
        {SlotOf(static_cast<void (Nd::*)(double*, const qvArray<int>&)>(&Nd::SetDirectly)), 46},
        {SlotOf(&Nd::SetSubWindow), 47},
        {SlotOf(&Nd::GetReduceDimArrayND), 48},
        {SlotOf(&Nd::MinAndMax), 49},
    };
    for (const auto& s : slots) EXPECT_EQ(s.first, s.second);
}
#endif
