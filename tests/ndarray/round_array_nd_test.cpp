// The cyclic cursor: its walk against independently numbered positions,
// the wrap-around at both ends, moving it directly, and indexing an array
// with it.
#include "cqv_test.h"

#include <random>

#include "nd_test_support.h"

using namespace ndtest;

TEST(RoundArrayND, WalksEveryPositionAndWrapsAtBothEnds) {
    std::mt19937 g(31);
    for (int trial = 0; trial < 100; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        Ints tab(range.size());
        for (int& t : tab) t = std::uniform_int_distribution<int>(-9, 9)(g);
        const qvArray<int> r = A(range), t = A(tab);
        qvRoundArrayND c(r, t);
        const int n = Count(range);
        // Forwards: positions 1 to n - 1, then back to the first.
        for (int k = 1; k <= n; ++k) {
            EXPECT_EQ(++c, k < n ? 1 : 0);
            const Ints idx = Decode(k % n, range);
            ASSERT_EQ(Items(c), idx);
            ASSERT_EQ(c.GetPos(), Dot(idx, tab));
        }
        // Backwards from the first: the last, then down to the first again.
        for (int k = n - 1; k >= 0; --k) {
            EXPECT_EQ(--c, k < n - 1 ? 1 : 0);
            const Ints idx = Decode(k, range);
            ASSERT_EQ(Items(c), idx);
            ASSERT_EQ(c.GetPos(), Dot(idx, tab));
        }
        c.ToEnd();
        EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Decode(n - 1, range), Dot(Decode(n - 1, range), tab)));
        c.ToBegin();
        EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints(range.size(), 0), 0));
    }
}

TEST(RoundArrayND, HandTracedSteps) {
    const qvArray<int> r = A({3, 2}), t = A({1, 3});
    qvRoundArrayND c(r, t);
    Ints seen;
    Ints results;
    for (int i = 0; i < 6; ++i) {
        results.push_back(++c);
        seen.push_back(c.GetPos());
    }
    EXPECT_EQ(seen, (Ints{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(results, (Ints{1, 1, 1, 1, 1, 0}));
    qvArray<int> at = A({0, 1});
    c.SetPos(at);
    EXPECT_EQ(--c, 1);
    EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints{2, 0}, 2));
    c.ToBegin();
    EXPECT_EQ(--c, 0);
    EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints{2, 1}, 5));
}

TEST(RoundArrayND, SetPosChecksInOrderAndKeepsTheCursor) {
    const qvArray<int> r = A({3, 2}), t = A({1, 3}), shortTab = A({1});
    qvRoundArrayND c(r, t);
    qvArray<int> idx = A({1, 1});
    c.SetPos(idx);
    EXPECT_EQ(c.GetPos(), 4);
    struct Case {
        Ints idx;
        const char* text;
    };
    const Case cases[] = {
        {{-1, 5}, "qvRoundArrayND : Out of range."},  // negative, before the length is looked at
        {{-1}, "qvRoundArrayND : Out of range."},
        {{1}, "Different range"},
        {{1, 0, 0}, "Different range"},
        {{3, 0}, "qvRoundArrayND : Out of range."},
        {{0, 2}, "qvRoundArrayND : Out of range."},
    };
    for (const Case& k : cases) {
        qvArray<int> bad = A(k.idx);
        CQV_EXPECT_BAD(c.SetPos(bad), k.text);
        EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints{1, 1}, 4));
    }
    // Strides that do not fit the extents.
    qvRoundArrayND d(r, shortTab);
    CQV_EXPECT_BAD(d.SetPos(idx), "Different range");
    CQV_EXPECT_BAD(d.ToEnd(), "Different range");
    EXPECT_EQ(std::make_pair(Items(d), d.GetPos()), std::make_pair(Ints{0, 0}, 0));
    qvArray<int> none;
    // Construction needs a dimension.
    CQV_EXPECT_BAD(qvRoundArrayND(none, none), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvRoundArrayND{qvArrayND<int>()}, "qvNewWithRef : n <= 0 ");
    // Extents and strides emptied under the cursor.
    qvArray<int> r2 = A({2}), t2 = A({1});
    qvRoundArrayND f(r2, t2);
    r2.Clear();
    t2.Clear();
    CQV_EXPECT_BAD(f.ToEnd(), "Array length is zero.");
    CQV_EXPECT_BAD(f.SetPos(none), "Array length is zero.");
}

TEST(RoundArrayND, CopiesMoveApartAndIndexArrays) {
    qvArrayND<int> a = Numbered<int>({3, 2});
    a.Flip(1);  // element (i, j) is i + 3(1 - j) + 1
    qvRoundArrayND c(a);
    ++c;
    qvRoundArrayND d(c);
    ++d;
    ++d;
    EXPECT_EQ(std::make_pair(c.GetPos(), d.GetPos()), std::make_pair(1, -3));
    EXPECT_EQ(std::make_pair(a[c], a[d]), std::make_pair(5, 1));
    const qvArrayND<int>& ca = a;
    a[d] = 40;
    EXPECT_EQ(ca[d], 40);
    EXPECT_EQ(a.GetPointer()[-3], 40);
    c = d;
    EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints{0, 1}, -3));
    // A walk with the cursor visits what the array's own walk visits.
    std::vector<int> byCursor;
    c.ToBegin();
    do byCursor.push_back(a[c]);
    while (++c);
    EXPECT_EQ(byCursor, std::vector<int>(a.begin(), a.end()));
}
