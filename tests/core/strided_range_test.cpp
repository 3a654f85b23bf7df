// The strided walk under the vectors, matrices and N-dimensional arrays:
// index order whatever the strides, operands of different layouts in step,
// reductions in order, overlapping operands, and the extents around element 0.
#include "cqv_test.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <utility>
#include <vector>

#include "cqv/core/strided_range_internal.h"

using qvDetail::StridedRange;

namespace {

// The offsets from element 0 of a range's elements in index order, by a
// plain odometer with dimension 0 fastest.
std::vector<std::ptrdiff_t> Offsets(const std::vector<int>& len, const std::vector<int>& tab) {
    std::vector<std::ptrdiff_t> out;
    std::size_t count = 1;
    for (int n : len) count *= static_cast<std::size_t>(n);
    for (std::size_t k = 0; k < count; ++k) {
        std::size_t rest = k;
        std::ptrdiff_t off = 0;
        for (std::size_t d = 0; d < len.size(); ++d) {
            off += static_cast<std::ptrdiff_t>(rest % static_cast<std::size_t>(len[d])) * tab[d];
            rest /= static_cast<std::size_t>(len[d]);
        }
        out.push_back(off);
    }
    return out;
}

struct Layout {
    std::vector<int> len, tab;
    bool contiguous;
    int upper, lower;
};

// Storage of 200 ints valued by their position, with element 0 in the middle
// so that negative strides stay inside.
struct Buffer {
    std::vector<int> cells = std::vector<int>(200);
    Buffer() { std::iota(cells.begin(), cells.end(), -100); }
    int* Zero() { return cells.data() + 100; }
};

}  // namespace

TEST(StridedRange, WalksEveryLayoutInIndexOrder) {
    const Layout layouts[] = {
        {{5}, {1}, true, 5, 0},
        {{5}, {-2}, false, 1, -8},
        {{4}, {0}, false, 1, 0},
        {{3, 4}, {1, 3}, true, 12, 0},           // a row-major matrix
        {{4, 3}, {3, 1}, false, 12, 0},          // its transpose
        {{2, 2}, {1, -2}, false, 2, -2},         // a flipped second axis
        {{3, 4}, {1, 5}, false, 18, 0},          // a sub-matrix of a wider one
        {{4, 3, 2}, {1, 4, 12}, true, 24, 0},    // a dense cube
        {{2, 3, 2}, {-1, 6, 0}, false, 13, -1},  // mixed signs and a repeated axis
        {{1, 3, 1}, {7, 1, -9}, true, 3, 0},     // lengths of 1 place no demand on their strides
        {{3, 0}, {1, 3}, true, 0, 0},            // no elements
    };
    // A fold that records its order: every step multiplies the sum so far.
    const auto first = [](const int& x) { return static_cast<unsigned long long>(x); };
    const auto next = [](unsigned long long s, const int& x) { return s * 1000003 + static_cast<unsigned>(x); };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << "layout " << &l - layouts);
        Buffer b;
        const StridedRange<int> r(b.Zero(), static_cast<int>(l.len.size()), l.len.data(), l.tab.data());
        std::vector<std::ptrdiff_t> seen;
        qvDetail::ForEachInStep([&](int& e) { seen.push_back(&e - b.Zero()); }, r);
        EXPECT_EQ(seen, Offsets(l.len, l.tab));
        EXPECT_EQ((std::vector<int>{r.IsContiguous(), r.UpperExtent(), r.LowerExtent()}),
                  (std::vector<int>{l.contiguous, l.upper, l.lower}));
        if (seen.empty()) continue;
        unsigned long long want = first(b.Zero()[seen[0]]);
        for (std::size_t k = 1; k < seen.size(); ++k) want = next(want, b.Zero()[seen[k]]);
        EXPECT_EQ(qvDetail::FoldInStep(first, next, r), want);
    }
}

TEST(StridedRange, OneAndTwoDimensionalFormsMatchTheTables) {
    Buffer b;
    const int len[2] = {3, 4}, tab[2] = {-1, 5};
    const StridedRange<int> table(b.Zero(), 2, len, tab);
    const StridedRange<int> pair(b.Zero(), 3, -1, 4, 5);
    const StridedRange<int> copy(pair);  // a copy keeps its own lengths and strides
    std::vector<int> a, c;
    qvDetail::ForEachInStep([&](int& x, int& y) { a.push_back(x), c.push_back(y); }, table, copy);
    EXPECT_EQ(a, c);
    EXPECT_EQ((std::vector<int>{copy.Dims(), copy.Lens()[1], copy.Tabs()[0], static_cast<int>(copy.Count())}),
              (std::vector<int>{2, 4, -1, 12}));
    const StridedRange<int> line(b.Zero(), 6, 2);
    EXPECT_EQ((std::vector<int>{line.Dims(), line.UpperExtent(), static_cast<int>(line.Count())}),
              (std::vector<int>{1, 11, 6}));
}

TEST(StridedRange, OperandsOfDifferentLayoutsMoveInStep) {
    // dst (contiguous 3 × 4) = a (transposed storage) + b (every other row
    // of a wider matrix), element by element.
    std::vector<int> a(12), b(48), dst(12, -1);
    std::iota(a.begin(), a.end(), 0);
    std::iota(b.begin(), b.end(), 1000);
    qvDetail::ForEachInStep([](int& d, const int& x, const int& y) { d = x + y; },
                            StridedRange<int>(dst.data(), 4, 1, 3, 4), StridedRange<const int>(a.data(), 4, 3, 3, 1),
                            StridedRange<const int>(b.data(), 4, 1, 3, 16));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(dst[4 * i + j], a[3 * j + i] + b[16 * i + j]) << i << ',' << j;
}

// Two operands: the first step sees both elements of index 0.
TEST(StridedRange, FoldsTwoOperandsInStep) {
    std::vector<int> x{1, 2, 3}, y{4, 5, 6};
    const long long dot = qvDetail::FoldInStep([](const int& p, const int& q) { return 1LL * p * q; },
                                               [](long long s, const int& p, const int& q) { return s + p * q; },
                                               StridedRange<const int>(x.data(), 3, 1),
                                               StridedRange<const int>(y.data() + 2, 3, -1));
    EXPECT_EQ(dot, 1 * 6 + 2 * 5 + 3 * 4);
}

TEST(StridedRange, OverlappingOperandsSeeEarlierWritesOnEveryPath) {
    // dst is src moved up by one element in the same storage: in index order
    // each write is read by the next step, so the first element spreads.
    for (int step : {1, 2}) {
        std::vector<int> cells(16);
        std::iota(cells.begin(), cells.end(), 0);
        qvDetail::CopyInStep(StridedRange<int>(cells.data() + step, 5, step),
                             StridedRange<const int>(cells.data(), 5, step));
        for (int i = 0; i <= 5; ++i) EXPECT_EQ(cells[static_cast<std::size_t>(i * step)], 0) << step;
    }
}

namespace {

// The (dst offset, src offset) pairs a walk over two ranges meets, sorted.
template <class Walk>
std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> MetPairs(Buffer& b, const StridedRange<int>& dst,
                                                                const StridedRange<int>& src, Walk walk) {
    std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> met;
    walk([&](int& d, int& s) { met.emplace_back(&d - b.Zero(), &s - b.Zero()); }, dst, src);
    std::sort(met.begin(), met.end());
    return met;
}

}  // namespace

// The walk in storage order meets the same pairs of elements as the walk in
// index order; a range that only permutes or reverses contiguous storage
// becomes one contiguous run.
TEST(StridedRange, StorageOrderMeetsTheSamePairs) {
    struct Case {
        std::vector<int> len, tabDst, tabSrc;
        bool oneRun;
    };
    const Case cases[] = {
        {{4, 3, 2}, {1, 4, 12}, {1, 4, 12}, true},
        {{4, 3, 2}, {-1, 4, 12}, {-1, 4, 12}, true},      // dimension 0 reversed in both
        {{2, 3, 4}, {12, 4, 1}, {12, 4, 1}, true},        // dimensions 0 and 2 exchanged
        {{3, 4}, {-4, -1}, {1, 3}, false},                // src transposed against dst
        {{3, 1, 4}, {4, 99, 1}, {1, -7, 3}, false},       // a dimension of length 1
        {{2, 2, 2}, {0, 1, 2}, {1, 2, 4}, false},         // dst repeats elements
        {{1, 1}, {5, 7}, {3, 2}, true},                   // a single element
    };
    for (const Case& c : cases) {
        Buffer b;
        const int dims = static_cast<int>(c.len.size());
        const StridedRange<int> dst(b.Zero(), dims, c.len.data(), c.tabDst.data());
        const StridedRange<int> src(b.Zero() + 1, dims, c.len.data(), c.tabSrc.data());
        const auto inStep = [](auto f, const auto& d, const auto& s) { qvDetail::ForEachInStep(f, d, s); };
        const auto stored = [&](auto f, const auto& d, const auto& s) {
            qvDetail::InStorageOrder(
                [&](const auto& rd, const auto& rs) {
                    EXPECT_EQ(rd.Count(), dst.Count());
                    EXPECT_EQ(rd.IsContiguous() && rd.Dims() == 1, c.oneRun) << "case " << &c - cases;
                    qvDetail::ForEachInStep(f, rd, rs);
                },
                d, s);
        };
        EXPECT_EQ(MetPairs(b, dst, src, stored), MetPairs(b, dst, src, inStep)) << "case " << &c - cases;
    }
}

TEST(StridedRange, RepeatedElementsAndSharedSpans) {
    // Whether a range meets an element twice, against the offsets it meets.
    const std::vector<std::vector<int>> lens = {{4}, {3, 2}, {2, 3, 2}, {3, 3}};
    const int strides[] = {-5, -3, -2, -1, 0, 1, 2, 3, 4, 6};
    int checked = 0;
    for (const auto& len : lens) {
        std::vector<int> tab(len.size());
        for (int pick = 0; pick < 1000; pick += 7) {
            for (std::size_t d = 0, p = static_cast<std::size_t>(pick); d < tab.size(); ++d, p /= 10)
                tab[d] = strides[p % 10];
            std::vector<std::ptrdiff_t> offs = Offsets(len, tab);
            std::sort(offs.begin(), offs.end());
            const bool distinct = std::adjacent_find(offs.begin(), offs.end()) == offs.end();
            Buffer b;
            const StridedRange<int> r(b.Zero(), static_cast<int>(len.size()), len.data(), tab.data());
            // Never claims distinct elements wrongly; finds the nested ones.
            if (qvDetail::RepeatsNoElement(r)) {
                EXPECT_TRUE(distinct) << testing::PrintToString(tab);
            }
            checked += distinct;
        }
    }
    EXPECT_GT(checked, 0);
    Buffer b;
    const int len[2] = {3, 4}, dense[2] = {1, 3}, turned[2] = {-4, 1};
    EXPECT_TRUE(qvDetail::RepeatsNoElement(StridedRange<int>(b.Zero(), 2, len, dense)));
    EXPECT_TRUE(qvDetail::RepeatsNoElement(StridedRange<int>(b.Zero(), 2, len, turned)));
    EXPECT_FALSE(qvDetail::RepeatsNoElement(StridedRange<int>(b.Zero(), 4, 0)));

    // Spans: elements 0 to 11 from b.Zero(); elements -8 to 0 going down.
    const StridedRange<int> up(b.Zero(), 2, len, dense);
    EXPECT_TRUE(qvDetail::SpansApart(up, StridedRange<const int>(b.Zero() + 12, 3, 1)));
    EXPECT_FALSE(qvDetail::SpansApart(up, StridedRange<const int>(b.Zero() + 11, 3, 1)));
    EXPECT_TRUE(qvDetail::SpansApart(up, StridedRange<const int>(b.Zero() - 1, 3, -4)));
    EXPECT_FALSE(qvDetail::SpansApart(up, StridedRange<const int>(b.Zero(), 3, -4)));
    EXPECT_FALSE(qvDetail::SpansApart(StridedRange<const int>(b.Zero() + 5, 1, 1), up));
}
