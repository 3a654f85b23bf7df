// The shape of an N-dimensional array: the walk's step table and the
// quantities derived from strides, the multi-index, the neighbour tables,
// segment clipping, the shape record and the virtual slots.
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

// The offsets Σ (idx + shift)·tab of the cells of the box ext, in walk order.
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

Ints RandomTab(std::mt19937& g, std::size_t dim) {
    Ints t(dim);
    for (int& x : t) x = std::uniform_int_distribution<int>(-30, 30)(g);
    return t;
}

}  // namespace

// The step table carries a pointer from one past the end of each line to the
// start of the next; the other quantities agree with the element offsets.
TEST(Shape, DerivedQuantitiesMatchTheElementOffsets) {
    std::mt19937 g(7);
    for (int trial = 0; trial < 300; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        const Ints tab = trial % 3 == 0 ? Items(qvArrayNDAbs::MkTabFromRange(A(range), 1)) : RandomTab(g, range.size());
        const Shape s(A(range), A(tab));
        const Ints forTab = Items(s.GetForTab());
        int lo = 0, hi = 0;
        for (int k = 0; k < Count(range); ++k) {
            const Ints idx = Decode(k, range);
            lo = std::min(lo, Dot(idx, tab));
            hi = std::max(hi, Dot(idx, tab));
            if (k + 1 < Count(range) && idx[0] == range[0] - 1) {
                const Ints next = Decode(k + 1, range);
                EXPECT_EQ(Dot(next, tab) - Dot(idx, tab) - tab[0], forTab[static_cast<std::size_t>(HighestChange(idx, next))]);
            }
        }
        // Contiguous: laid out as dense strides from tab[0] would lay it out.
        bool dense = true;
        for (std::size_t d = 1; d < range.size(); ++d) dense = dense && tab[d] == range[d - 1] * tab[d - 1];
        EXPECT_EQ(std::make_tuple(forTab[0], s.IsCon(), s.GetEndPos(), s.GetSize(), s.PositiveLength(), s.NegativeLength()),
                  std::make_tuple(tab[0], dense, Dot(Decode(Count(range) - 1, range), tab) + tab[0], Count(range), hi + 1, lo));
    }
    EXPECT_EQ(Items(qvArrayNDAbs::MkTabFromRange(A({4, 3, 2}), -2)), (Ints{-2, -8, -24}));
    const Shape none;
    EXPECT_EQ(std::make_tuple(none.GetDim(), none.GetSize(), none.GetEndPos(), none.IsCon()), std::make_tuple(0, 0, 0, true));
}

TEST(Shape, SettersCopiesRecordAndChecks) {
    Shape s(A({2, 3}), A({3, 1}));
    Shape copy(s);
    s.Set(A({5}));
    EXPECT_EQ(std::make_tuple(Items(copy.Tab()), Items(copy.GetForTab()), copy.GetEndPos(), Items(s.Tab())),
              std::make_tuple(Ints{3, 1}, Ints{3, -5}, 8, Ints{1}));
    copy = s;
    EXPECT_EQ(std::make_tuple(Items(copy.Range()), Items(copy.GetForTab()), copy.IsCon(), copy.GetSize(), copy.GetEndPos()),
              std::make_tuple(Ints{5}, Ints{1}, true, 5, 5));
    // The tables may be passed back in, even crosswise; extents edited in
    // place.
    Shape t(A({2, 3}), A({1, 2}));
    t.Set(t.Tab(), t.Range());
    t.ModifyRange()[1] = 4;
    t.AfterModifyRange();
    EXPECT_EQ(std::make_tuple(Items(t.Range()), Items(t.Tab()), t.GetSize(), t.GetEndPos()),
              std::make_tuple(Ints{1, 4}, Ints{2, 3}, 4, 2 + 3 * 3));
    // The record holds the extents only; reading it takes dense strides.
    std::vector<unsigned char> rec(14, 0xEE);
    EXPECT_EQ(std::make_pair(copy.MemSize(), Shape(A({2, 3}), A({5, -1})).ToMem(rec.data())), std::make_pair(8, 12));
    EXPECT_EQ(rec, (std::vector<unsigned char>{2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xEE, 0xEE}));
    EXPECT_EQ(s.FromMem(rec.data()), 12);
    EXPECT_EQ(std::make_tuple(Items(s.Range()), Items(s.Tab())), std::make_tuple(Ints{2, 3}, Ints{1, 2}));
    // Hooks of picture classes keep their defaults.
    s.SetCurMask(5);
    EXPECT_EQ(std::make_tuple(s.IsArrayND(), s.IsInheritFromPictureND(), s.IsSegm(), s.GetSegm(), s.GetCurMask(),
                              s.IsEqualCurMask(nullptr, 3), s.New()),
              std::make_tuple(1, false, 0, static_cast<qvArrayNDAbs*>(nullptr), -1, true, static_cast<qvArrayNDAbs*>(nullptr)));

    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabFromRange(qvArray<int>(), 1), "qvArrayNDAbs:MkTabFromRange:Array length is zero.");
    CQV_EXPECT_BAD(Shape{qvArray<int>()}, "qvArrayNDAbs:MkTabFromRange:Array length is zero.");
    CQV_EXPECT_BAD(Shape(A({2, 3}), A({1})), "Different range");
    CQV_EXPECT_BAD(qvArrayNDAbs::MakeForTab(A({2, 3}), A({1})), "Different range");
    CQV_EXPECT_BAD(s.Set(A({2, 3}), A({1, 2, 3})), "Different range");
    CQV_EXPECT_BAD(s.Set(qvArray<int>()), "qvArrayNDAbs:MkTabFromRange:Array length is zero.");
    std::vector<unsigned char> negative = {0xFF, 0xFF, 0xFF, 0xFF};
    CQV_EXPECT_BAD(s.FromMem(negative.data()), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(std::make_tuple(Items(s.Range()), Items(s.Tab())), std::make_tuple(Ints{2, 3}, Ints{1, 2}));
    CQV_EXPECT_BAD(Shape().PositiveLength(), "Array length is zero.");
    CQV_EXPECT_BAD(Shape().NegativeLength(), "Array length is zero.");
}

TEST(Shape, IndexStepsFromLineToLine) {
    OpenIndex idx;
    const Shape none;
    EXPECT_EQ(std::make_tuple(idx.Set(&none, false), idx.Len(), idx.Inc(nullptr)), std::make_tuple(0, 0, 0));
    std::mt19937 g(11);
    for (int trial = 0; trial < 100; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        const Shape s(A(range));
        const int* r = s.Range().GetPointer();
        const int lines = Count(range) / range[0];
        // Backwards from the last element, onto the last element of each line.
        EXPECT_EQ(idx.Set(&s, true), 1);
        EXPECT_EQ(Items(idx), Decode(Count(range) - 1, range));
        for (int line = lines - 1; line > 0; --line) {
            const Ints want = Decode(line * range[0] - 1, range);
            const int changed = HighestChange(Items(idx), want);
            EXPECT_EQ(idx.Dec(r), changed);
            EXPECT_EQ(Items(idx), want);
        }
        EXPECT_EQ(idx.Dec(r), 0);
        EXPECT_EQ(Items(idx), Decode(Count(range) - 1, range));
        // Forwards from the first element, onto the first of each line, and
        // from the last line back to zeros.
        EXPECT_EQ(idx.Set(&s, false), 1);
        for (int line = 1; line <= lines; ++line) {
            const Ints want = Decode(line * range[0] % Count(range), range);
            const int changed = line < lines ? HighestChange(Items(idx), want) : 0;
            EXPECT_EQ(idx.Inc(r), changed);
            EXPECT_EQ(Items(idx), want);
        }
    }
}

TEST(Shape, NeighbourTablesMatchEnumeratedBoxes) {
    std::mt19937 g(3);
    qvArray<int> out;
    for (int trial = 0; trial < 60; ++trial) {
        const std::size_t dim = 1 + static_cast<std::size_t>(trial % 4);
        const Ints tab = RandomTab(g, dim);
        const Ints cube = BoxOffsets(Ints(dim, 3), tab, -1);
        Ints ring, before;
        for (std::size_t k = 0; k < cube.size(); ++k) {
            if (cube[k] == 0) continue;
            ring.push_back(cube[k]);
            if (k < cube.size() / 2) before.push_back(cube[k]);
        }
        qvArrayNDAbs::MkTabFor8Link(A(tab), out);
        EXPECT_EQ(Items(out), ring);
        qvArrayNDAbs::Rcurs2(A(tab), out);
        EXPECT_EQ(Items(out), before);
        qvArrayNDAbs::MkTabForVertexLink(A(tab), out);
        EXPECT_EQ(Items(out), BoxOffsets(Ints(dim, 2), tab, 0));
        const Ints ext = RandomRange(g, static_cast<int>(dim), static_cast<int>(dim), 4);
        qvArrayNDAbs::MkTabForAp(A(tab), A(ext), out);
        EXPECT_EQ(Items(out), BoxOffsets(ext, tab, 0));
    }
    qvArrayNDAbs::MkTabFor4Link(A({1, 10}), out);
    EXPECT_EQ(Items(out), (Ints{1, -1, 10, -10}));
    // Strides that let neighbours coincide with the centre drop them.
    qvArrayNDAbs::MkTabFor8Link(A({1, 1}), out);
    EXPECT_EQ(Items(out), (Ints{-2, -1, -1, 1, 1, 2}));
    // A table keeps its block when its length fits, and may be built from
    // itself.
    qvArrayNDAbs::MkTabFor8Link(A({1, 10}), out);
    const int* block = out.GetPointer();
    qvArrayNDAbs::MkTabForVertexLink(A({1, 10, 100}), out);
    EXPECT_EQ(out.GetPointer(), block);
    qvArrayNDAbs::MkTabFor4Link(out, out);
    EXPECT_EQ(Items(out), (Ints{0, 0, 1, -1, 10, -10, 11, -11, 100, -100, 101, -101, 110, -110, 111, -111}));
    qvArrayNDAbs::MkTabFor4Link(qvArray<int>(), out);
    EXPECT_EQ(out.Len(), 0);

    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabFor8Link(qvArray<int>(), out), "Array length is zero.");
    CQV_EXPECT_BAD(qvArrayNDAbs::Rcurs2(qvArray<int>(), out), "Array length is zero.");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForAp(qvArray<int>(), qvArray<int>(), out), "Array length is zero.");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForAp(A({1}), A({2, 2}), out), "Different range");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForAp(A({1, 2}), A({2, 0}), out), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvArrayNDAbs::MkTabForVertexLink(qvArray<int>(), out), "qvNewWithRef : n <= 0 ");
}

TEST(Shape, SegmentsClippedToTheBox) {
    struct Case {
        Ints box, p1, p2;
        int result;
        Ints q1, q2;
    };
    const Case cases[] = {
        {{10, 10}, {-5, 5}, {15, 5}, 1, {0, 5}, {9, 5}},      // horizontal
        {{10, 10}, {15, 5}, {-5, 5}, 1, {9, 5}, {0, 5}},      // the ends keep their roles
        {{10, 10}, {3, -4}, {3, 20}, 1, {3, 0}, {3, 9}},      // vertical
        {{10, 10}, {-2, -2}, {12, 12}, 1, {0, 0}, {9, 9}},    // through two corners
        {{10, 10}, {2, 3}, {7, 8}, 1, {2, 3}, {7, 8}},        // inside
        {{10, 10}, {4, 4}, {14, 9}, 1, {4, 4}, {9, 7}},       // y += trunc(-5 · 0.5)
        {{10, 10}, {3, -4}, {7, 4}, 1, {5, 0}, {7, 4}},       // x += trunc(4 / 2)
        {{10, 10}, {-5, -1}, {-1, -5}, 0, {-5, -1}, {-1, -5}},
        {{10, 10}, {12, -3}, {20, 4}, 0, {12, -3}, {20, 4}},
        // Slope 0.6: p1 moves to (0, 2); the far end moves to (3, 5), (-2, 2),
        // (0, 3) and (-1, 2), the fifth move, after which the segment is
        // taken as it stands, not exchanged back, though (-1, 2) is outside.
        {{4, 3}, {-6, -1}, {4, 5}, 1, {-1, 2}, {0, 2}},
    };
    for (const Case& c : cases) {
        qvArray<int> p1 = A(c.p1), p2 = A(c.p2);
        EXPECT_EQ(Shape(A(c.box)).GetLineWithin(p1, p2), c.result);
        EXPECT_EQ(std::make_pair(Items(p1), Items(p2)), std::make_pair(c.q1, c.q2)) << "case " << &c - cases;
    }
    qvArray<int> p = A({1, 1}), q = A({2, 2}), r = A({1, 1, 1});
    CQV_EXPECT_BAD(Shape(A({3, 3, 3})).GetLineWithin(p, q), "Dimension must equal 2 in GetLine.");
    CQV_EXPECT_BAD(Shape(A({3, 3})).GetLineWithin(r, q), "Dimension must equal 2 in GetLine.");
    CQV_EXPECT_BAD(Shape(A({3, 3})).GetLineWithin(p, r), "Dimension must equal 2 in GetLine.");
    EXPECT_EQ(Items(p), (Ints{1, 1}));
}

#if (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
// The slot of a virtual member under the Itanium C++ ABI, counted as the
// library counts them: the destructor is one slot there, two entries here.
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

TEST(Shape, VirtualSlotsInOrder) {
    using Abs = qvArrayNDAbs;
    using Nd = qvArrayND<double>;
    const int slots[] = {
        SlotOf(&Abs::PositiveLength), SlotOf(&Abs::NegativeLength),
        SlotOf(static_cast<int (Abs::*)(unsigned char*)>(&Abs::FromMem)),
        SlotOf(static_cast<void (Abs::*)(const qvArray<int>&)>(&Abs::Set)), SlotOf(&Abs::Init), SlotOf(&Abs::New),
        SlotOf(&Abs::IsArrayND), SlotOf(&Abs::IsInheritFromPictureND), SlotOf(&Abs::IsSegm), SlotOf(&Abs::GetSegm),
        SlotOf(&Abs::GetCurMask), SlotOf(&Abs::SetCurMask), SlotOf(&Abs::IsEqualCurMask), SlotOf(&Abs::Flip),
        SlotOf(&Abs::SwapAxis), SlotOf(&Nd::Fill), SlotOf(&Nd::TNew), SlotOf(&Nd::Move),
        SlotOf(static_cast<void (Nd::*)(const Nd&, int, const qvArray<int>&, const qvArray<int>&)>(&Nd::Set)),
        SlotOf(static_cast<void (Nd::*)(const Nd&, int, const qvArray<int>&)>(&Nd::Set)),
        SlotOf(static_cast<void (Nd::*)(const Nd&)>(&Nd::Set)),
        SlotOf(static_cast<void (Nd::*)(double*, const qvArray<int>&, const qvArray<int>&)>(&Nd::SetDirectly)),
        SlotOf(static_cast<void (Nd::*)(double*, const qvArray<int>&)>(&Nd::SetDirectly)),
        SlotOf(&Nd::SetSubWindow), SlotOf(&Nd::GetReduceDimArrayND), SlotOf(&Nd::MinAndMax)};
    Ints want = {14, 15, 26};
    for (int slot = 27; slot <= 49; ++slot) want.push_back(slot);
    EXPECT_EQ(Ints(std::begin(slots), std::end(slots)), want);
}
#endif
