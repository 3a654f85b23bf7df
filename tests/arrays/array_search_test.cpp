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

// The orders below were traced by hand through the selection: the first
// element not less than the pivot from the left is exchanged with the first
// not greater from the right until the scans cross, then the side holding
// position (len - 1) / 2 is partitioned again.
TEST(ArrayMedian, ReordersAsTheSelectionDoes) {
    qvArray<double> a = A<double>({5, 1, 4, 2});
    EXPECT_EQ(a.Median(), 2);
    EXPECT_EQ(Items(a), Vs<double>({1, 2, 4, 5}));

    qvArray<int> b = A<int>({3, 1, 2});
    EXPECT_EQ(b.Median(), 2);
    EXPECT_EQ(Items(b), Vs<int>({1, 2, 3}));

    // One pass around 1, one around 3, one around 4; the tail stays unsorted.
    qvArray<int> c = A<int>({3, 9, 4, 1, 8, 2, 7});
    EXPECT_EQ(c.Median(), 4);
    EXPECT_EQ(Items(c), Vs<int>({1, 2, 3, 4, 8, 9, 7}));

    // A single pass around 5 puts it in place; both sides stay unsorted.
    qvArray<short> d = A<short>({6, 2, 9, 5, 1, 8, 3, 7});
    EXPECT_EQ(d.Median(), 5);
    EXPECT_EQ(Items(d), Vs<short>({3, 2, 1, 5, 9, 8, 6, 7}));

    // Equal moduli: the scans stop on every one, so the ends are exchanged.
    qvArray<qvComplex> z = Complexes({{0, 5}, {3, 4}, {5, 0}});
    EXPECT_EQ(z.Median(), qvComplex(3, 4));
    EXPECT_EQ(Items(z), Items(Complexes({{5, 0}, {3, 4}, {0, 5}})));

    // (1, 5) and (2, 3) are unordered: neither scan passes the other.
    qvArray<qvVec2> v = Vec2s({{1, 5}, {2, 3}, {0, 0}});
    EXPECT_EQ(v.Median(), qvVec2(2, 3));
    EXPECT_EQ(Items(v), Items(Vec2s({{0, 0}, {2, 3}, {1, 5}})));

    qvArray<float> one = A<float>({7});
    EXPECT_EQ(one.Median(), 7.0f);
    qvArray<double> empty;
    CQV_EXPECT_BAD(empty.Median(), "Lenght of array is equl zero.");
}

TEST(ArrayMedian, SelectsTheLowerMiddleOfRandomData) {
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> value(-50, 50);  // many repeats
    for (int n : {1, 2, 3, 4, 5, 16, 17, 100, 1001}) {
        std::vector<int> src(static_cast<std::size_t>(n));
        for (int& x : src) x = value(gen);
        qvArray<int> a = From(src);
        const int m = a.Median();
        const int k = (n - 1) / 2;
        std::vector<int> sorted = src, got = Items(a);
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(m, sorted[static_cast<std::size_t>(k)]) << n;
        EXPECT_EQ(got[static_cast<std::size_t>(k)], m);
        for (int i = 0; i < n; ++i) {
            const int x = got[static_cast<std::size_t>(i)];
            EXPECT_TRUE(i < k ? x <= m : i > k ? x >= m : x == m) << n << " at " << i;
        }
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, sorted) << "not a permutation, n = " << n;
    }
}

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
template <class T, class Draw>
void ExpectTextbookOrder(std::mt19937& gen, Draw draw) {
    for (int n : {60, 64, 65, 127, 128, 129, 200, 1000, 4099, 30000}) {
        std::vector<T> src(static_cast<std::size_t>(n));
        for (T& x : src) x = draw(gen);
        std::vector<T> expected = src;
        TextbookFind(expected, (n - 1) / 2);
        qvArray<T> a = From(src);
        a.Median();
        const std::vector<T> got = Items(a);
        EXPECT_TRUE(std::memcmp(got.data(), expected.data(), sizeof(T) * got.size()) == 0) << "n = " << n;
    }
}

}  // namespace

TEST(ArrayMedian, LargeArraysEndAsTheTextbookSelectionLeavesThem) {
    std::mt19937 gen(777);
    std::uniform_real_distribution<double> real(-1, 1);
    ExpectTextbookOrder<double>(gen, [&](std::mt19937& g) { return real(g); });
    // Few distinct values: many elements stop both scans.
    std::uniform_int_distribution<int> few(0, 3);
    ExpectTextbookOrder<short>(gen, [&](std::mt19937& g) { return static_cast<short>(few(g)); });
    ExpectTextbookOrder<unsigned char>(gen, [&](std::mt19937& g) { return static_cast<unsigned char>(few(g)); });
    // NaNs stop every scan and are never passed.
    std::uniform_int_distribution<int> pick(0, 9);
    ExpectTextbookOrder<float>(gen, [&](std::mt19937& g) {
        return pick(g) == 0 ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(real(g));
    });
    // Already ordered, reversed and constant runs.
    for (int n : {100, 1001}) {
        std::vector<int> up(static_cast<std::size_t>(n)), down(up), flat(up.size(), 5);
        for (int i = 0; i < n; ++i) {
            up[static_cast<std::size_t>(i)] = i;
            down[static_cast<std::size_t>(i)] = n - i;
        }
        for (const std::vector<int>& src : {up, down, flat}) {
            std::vector<int> expected = src;
            TextbookFind(expected, (n - 1) / 2);
            qvArray<int> a = From(src);
            a.Median();
            EXPECT_EQ(Items(a), expected);
        }
    }
}

TEST(ArrayMedian, WritesIntoSharedStorage) {
    qvArray<double> a = A<double>({9, 5, 1, 4, 2, 0});
    qvArray<double> w;
    w.SetSubWindow(a, 1, 4);
    EXPECT_EQ(w.Median(), 2);
    EXPECT_EQ(Items(a), Vs<double>({9, 1, 2, 4, 5, 0}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 2);
}

TEST(ArraySearch, FindAndBinarySearch) {
    const qvArray<int> u = A<int>({4, 2, 4});
    EXPECT_EQ(u.Find(4), 0);
    EXPECT_EQ(u.Find(2), 1);
    EXPECT_EQ(u.Find(3), -1);
    EXPECT_EQ(qvArray<int>().Find(0), -1);

    const qvArray<double> up = A<double>({1, 3, 4, 8});
    EXPECT_EQ(up.FindB(4, 1), 2);
    EXPECT_EQ(up.FindB(1, 1), 0);
    EXPECT_EQ(up.FindB(8, 1), 3);
    EXPECT_EQ(up.FindB(5, 1), -1);
    EXPECT_EQ(up.FindB(0, 1), -1);
    EXPECT_EQ(up.FindB(9, 1), -1);
    const qvArray<double> down = A<double>({8, 4, 3, 1});
    EXPECT_EQ(down.FindB(3, 0), 2);
    EXPECT_EQ(down.FindB(8, 0), 0);
    EXPECT_EQ(down.FindB(1, 0), 3);
    EXPECT_EQ(down.FindB(5, 0), -1);
    EXPECT_EQ(qvArray<double>().FindB(1, 1), -1);

    // Among repeats the halving answers with the first one it meets: 3 is
    // too small, then (4 + 7) / 2 = 5 hits.
    EXPECT_EQ(A<int>({1, 1, 1, 1, 2, 2, 2, 2}).FindB(2, 1), 5);
}

TEST(ArraySearch, InsertIfNotExistKeepsTheOrder) {
    qvArray<int> a = A<int>({1, 3, 8});
    int found = -7;
    EXPECT_EQ(a.InsertIfNotExistB(5, found, 1), 2);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(Items(a), Vs<int>({1, 3, 5, 8}));
    EXPECT_EQ(BlockSizeWord(a.GetPointer()), -4);
    found = -7;
    EXPECT_EQ(a.InsertIfNotExistB(5, found, 1), 2);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(Items(a), Vs<int>({1, 3, 5, 8}));

    EXPECT_EQ(a.InsertIfNotExistB(0, found, 1), 0);
    EXPECT_EQ(a.InsertIfNotExistB(9, found, 1), 5);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(Items(a), Vs<int>({0, 1, 3, 5, 8, 9}));

    qvArray<double> d = A<double>({8, 3, 1});
    EXPECT_EQ(d.InsertIfNotExistB(5, found, 0), 1);
    EXPECT_EQ(Items(d), Vs<double>({8, 5, 3, 1}));

    qvArray<qvComplex> e;
    found = -7;
    EXPECT_EQ(e.InsertIfNotExistB(qvComplex(1, 1), found, 1), 0);
    EXPECT_EQ(found, 0);
    ASSERT_EQ(e.Len(), 1);
    EXPECT_EQ(e[0], qvComplex(1, 1));
}

TEST(ArraySearch, InsertionDetachesAWindowAndFindingDoesNot) {
    qvArray<int> a = A<int>({0, 1, 3, 8, 0});
    qvArray<int> w;
    w.SetSubWindow(a, 1, 3);
    int found = 0;
    EXPECT_EQ(w.InsertIfNotExistB(3, found, 1), 1);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(BlockCount(a.GetPointer()), 2);

    EXPECT_EQ(w.InsertIfNotExistB(5, found, 1), 2);
    EXPECT_EQ(Items(w), Vs<int>({1, 3, 5, 8}));
    EXPECT_EQ(Items(a), Vs<int>({0, 1, 3, 8, 0}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);
    EXPECT_EQ(BlockCount(w.GetPointer()), 1);
}
