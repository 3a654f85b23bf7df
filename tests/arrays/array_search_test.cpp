// The arithmetic array's median selection, searches and sorted insertion.
#include "cqv_test.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "array_test_support.h"

using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;
using namespace arraytest;
using Ints = std::vector<int>;

namespace {

// The selection as textbooks write it, one comparison at a time.
template <class T>
void TextbookFind(std::vector<T>& a, int k) {
    int lo = 0, hi = static_cast<int>(a.size()) - 1;
    while (lo < hi) {
        const T x = a[static_cast<std::size_t>(k)];
        int i = lo, j = hi;
        do {
            while (a[static_cast<std::size_t>(i)] < x) ++i;
            while (x < a[static_cast<std::size_t>(j)]) --j;
            if (i <= j) std::swap(a[static_cast<std::size_t>(i++)], a[static_cast<std::size_t>(j--)]);
        } while (i <= j);
        if (j < k) lo = i;
        if (k < i) hi = j;
    }
}

// Median must leave the array exactly as the textbook selection does.
template <class T>
void ExpectTextbookOrder(const std::vector<T>& src) {
    const std::size_t k = (src.size() - 1) / 2;
    std::vector<T> expected = src;
    TextbookFind(expected, static_cast<int>(k));
    qvArray<T> a = From(src);
    const T m = a.Median();
    const std::vector<T> got = Items(a);
    EXPECT_TRUE(std::memcmp(&m, &expected[k], sizeof(T)) == 0) << "n = " << src.size();
    EXPECT_TRUE(std::memcmp(got.data(), expected.data(), sizeof(T) * got.size()) == 0) << "n = " << src.size();
}

// The same for random data, short and around the blocks of the fast path.
template <class T, class Draw>
void ExpectTextbookOrderOfRandomData(std::mt19937& gen, Draw draw) {
    for (int n : {2, 3, 5, 16, 17, 60, 64, 65, 127, 128, 129, 200, 1000, 4099, 30000}) {
        std::vector<T> src(static_cast<std::size_t>(n));
        for (T& x : src) x = draw(gen);
        ExpectTextbookOrder(src);
    }
}

}  // namespace

// One order traced by hand through the selection (passes around 1, 3 and 4;
// the tail stays unsorted) anchors the reference above. Median reorders the
// viewed storage of a window. (Empty arrays are refused with the other
// reductions in array_test.cpp.)
TEST(ArrayMedian, ReordersInPlaceAsTheSelectionDoes) {
    qvArray<int> c = A<int>({3, 9, 4, 1, 8, 2, 7});
    EXPECT_EQ(c.Median(), 4);
    EXPECT_EQ(Items(c), Vs<int>({1, 2, 3, 4, 8, 9, 7}));
    qvArray<double> a = A<double>({9, 5, 1, 4, 2, 0}), w;
    w.SetSubWindow(a, 1, 4);
    EXPECT_EQ(w.Median(), 2);
    EXPECT_EQ(Items(a), Vs<double>({9, 1, 2, 4, 5, 0}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 2);
}

// Median leaves arrays exactly as the textbook selection does.
TEST(ArrayMedian, ArraysEndAsTheTextbookSelectionLeavesThem) {
    std::mt19937 gen(777);
    std::uniform_real_distribution<double> real(-1, 1);
    ExpectTextbookOrderOfRandomData<double>(gen, [&](std::mt19937& g) { return real(g); });
    // Few distinct values: many elements stop both scans.
    std::uniform_int_distribution<int> few(0, 3);
    ExpectTextbookOrderOfRandomData<short>(gen, [&](std::mt19937& g) { return static_cast<short>(few(g)); });
    // NaNs stop every scan and are never passed.
    std::uniform_int_distribution<int> pick(0, 9);
    ExpectTextbookOrderOfRandomData<float>(gen, [&](std::mt19937& g) {
        return pick(g) == 0 ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(real(g));
    });
    // Already ordered, reversed and constant runs; one element.
    for (int n : {100, 1001}) {
        Ints up(static_cast<std::size_t>(n)), flat(up.size(), 5);
        for (int i = 0; i < n; ++i) up[static_cast<std::size_t>(i)] = i;
        const Ints down(up.rbegin(), up.rend());
        for (const Ints& src : {up, down, flat}) ExpectTextbookOrder(src);
    }
    ExpectTextbookOrder(std::vector<float>{7});
    // Equal moduli stop both scans; unordered vectors let neither scan pass.
    ExpectTextbookOrder(std::vector<qvComplex>{{0, 5}, {3, 4}, {5, 0}, {4, 3}, {1, 1}});
    ExpectTextbookOrder(std::vector<qvVec2>{{1, 5}, {2, 3}, {0, 0}, {3, 1}});
}

TEST(ArraySearch, FindAndBinarySearch) {
    const qvArray<int> u = A<int>({4, 2, 4});
    EXPECT_EQ((Ints{u.Find(4), u.Find(2), u.Find(3)}), (Ints{0, 1, -1}));  // empty arrays: array_test.cpp

    // Hits at both ends and inside, misses inside and outside, both orders.
    const qvArray<double> up = A<double>({1, 3, 4, 8}), down = A<double>({8, 4, 3, 1});
    const struct {
        double v;
        int inUp, inDown;
    } finds[] = {{1, 0, 3}, {3, 1, 2}, {4, 2, 1}, {8, 3, 0}, {5, -1, -1}, {0, -1, -1}, {9, -1, -1}};
    for (const auto& f : finds) {
        EXPECT_EQ(up.FindB(f.v, 1), f.inUp) << f.v;
        EXPECT_EQ(down.FindB(f.v, 0), f.inDown) << f.v;
    }
    // Among repeats the halving answers with the first one it meets: 3 is
    // too small, then (4 + 7) / 2 = 5 hits.
    EXPECT_EQ(A<int>({1, 1, 1, 1, 2, 2, 2, 2}).FindB(2, 1), 5);
}

TEST(ArraySearch, InsertIfNotExistKeepsTheOrder) {
    // Each insertion answers the position and sets found (1 when the value
    // was there already).
    qvArray<int> a = A<int>({1, 3, 8});
    const struct {
        int v, at, found;
    } inserts[] = {{5, 2, 0}, {5, 2, 1}, {0, 0, 0}, {9, 5, 0}};
    for (const auto& i : inserts) {
        int found = -7;
        EXPECT_EQ(a.InsertIfNotExistB(i.v, found, 1), i.at) << i.v;
        EXPECT_EQ(found, i.found) << i.v;
    }
    EXPECT_EQ(Items(a), Vs<int>({0, 1, 3, 5, 8, 9}));
    EXPECT_EQ(BlockSizeWord(a.GetPointer()), -6);
    // Descending order, and an empty array.
    int found = -7;
    qvArray<double> d = A<double>({8, 3, 1}), e;
    EXPECT_EQ(d.InsertIfNotExistB(5, found, 0), 1);
    EXPECT_EQ(Items(d), Vs<double>({8, 5, 3, 1}));
    found = -7;
    EXPECT_EQ((Ints{e.InsertIfNotExistB(4, found, 1), found}), (Ints{0, 0}));
    EXPECT_EQ(Items(e), Vs<double>({4}));
}
