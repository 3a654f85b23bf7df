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
        Ints tab;
        for (std::size_t d = 0; d < range.size(); ++d) tab.push_back(std::uniform_int_distribution<int>(-9, 9)(g));
        const qvArray<int> r = A(range), t = A(tab);
        qvRoundArrayND c(r, t);
        const int n = Count(range);
        // Forwards to position n - 1, then around to the first; backwards
        // around to the last, then down to the first.
        for (int k = 1; k <= n; ++k) {
            EXPECT_EQ(++c, k < n ? 1 : 0);
            ASSERT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Decode(k % n, range), Dot(Decode(k % n, range), tab)));
        }
        for (int k = n - 1; k >= 0; --k) {
            EXPECT_EQ(--c, k < n - 1 ? 1 : 0);
            ASSERT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Decode(k, range), Dot(Decode(k, range), tab)));
        }
        c.ToEnd();
        EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Decode(n - 1, range), Dot(Decode(n - 1, range), tab)));
        c.ToBegin();
        EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints(range.size(), 0), 0));
    }
}

TEST(RoundArrayND, SetPosChecksInOrderAndKeepsTheCursor) {
    const qvArray<int> r = A({3, 2}), t = A({1, 3}), shortTab = A({1});
    qvRoundArrayND c(r, t);
    qvArray<int> idx = A({1, 1});
    c.SetPos(idx);
    EXPECT_EQ(c.GetPos(), 4);
    const std::pair<Ints, const char*> cases[] = {
        {{-1, 5}, "qvRoundArrayND : Out of range."},  // negative, before the length is looked at
        {{-1}, "qvRoundArrayND : Out of range."},
        {{1}, "Different range"},
        {{1, 0, 0}, "Different range"},
        {{3, 0}, "qvRoundArrayND : Out of range."},
        {{0, 2}, "qvRoundArrayND : Out of range."},
    };
    for (const auto& k : cases) {
        qvArray<int> bad = A(k.first);
        CQV_EXPECT_BAD(c.SetPos(bad), k.second);
        EXPECT_EQ(std::make_pair(Items(c), c.GetPos()), std::make_pair(Ints{1, 1}, 4));
    }
    // Strides that do not fit the extents; tables emptied under the cursor.
    qvRoundArrayND d(r, shortTab);
    CQV_EXPECT_BAD(d.SetPos(idx), "Different range");
    CQV_EXPECT_BAD(d.ToEnd(), "Different range");
    EXPECT_EQ(std::make_pair(Items(d), d.GetPos()), std::make_pair(Ints{0, 0}, 0));
    qvArray<int> none, r2 = A({2}), t2 = A({1});
    qvRoundArrayND f(r2, t2);
    r2.Clear();
    t2.Clear();
    CQV_EXPECT_BAD(f.ToEnd(), "Array length is zero.");
    CQV_EXPECT_BAD(f.SetPos(none), "Array length is zero.");
    CQV_EXPECT_BAD(qvRoundArrayND(none, none), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvRoundArrayND{qvArrayND<int>()}, "qvNewWithRef : n <= 0 ");
}

TEST(RoundArrayND, CopiesMoveApartAndIndexArrays) {
    qvArrayND<int> a = Numbered<int>({3, 2});
    a.Flip(1);  // element (i, j) is 4 + i - 3j, at offset i - 3j
    qvRoundArrayND c(a);
    ++c;
    qvRoundArrayND d(c);
    ++d;
    ++d;
    const qvArrayND<int>& ca = a;
    EXPECT_EQ(std::make_tuple(c.GetPos(), d.GetPos(), a[c], ca[d]), std::make_tuple(1, -3, 5, 1));
    a[d] = 40;
    EXPECT_EQ(a.GetPointer()[-3], 40);
    // Assignment takes the index, the offset and the tables.
    const qvArrayND<int> other = Numbered<int>({5});
    qvRoundArrayND e(other);
    e = d;
    ++e;
    EXPECT_EQ(std::make_tuple(Items(e), e.GetPos(), a[e]), std::make_tuple(Ints{1, 1}, -2, 2));
    // A walk with the cursor reads what the array's own walk reads.
    std::vector<int> byCursor;
    e.ToBegin();
    do byCursor.push_back(a[e]);
    while (++e);
    EXPECT_EQ(byCursor, Walked(a));
}
