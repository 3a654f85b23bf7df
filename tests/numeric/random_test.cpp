// The built-in generator and its deviates. The generator's state is shared
// by the process, so everything runs in one sequence inside a single test;
// ctest runs each test in a process of its own, so the first draw below is
// the first of the process.
#include "cqv_test.h"

#include <cmath>
#include <set>

TEST(Random, SequencePeriodAndDeviates) {
    // The first draw of the process: (113·7531 mod 12703) / 12703.
    const double first = rnd();
    EXPECT_DOUBLE_EQ(first, (113 * 7531 % 12703) * 7.872156183578682e-05);

    // The whole period: every value from 1 to 12702 once, strictly inside
    // (0, 1), then the sequence repeats.
    std::set<long> seen;
    seen.insert(std::lround(first * 12703));
    for (int i = 1; i < 12702; ++i) {
        const double u = rnd();
        ASSERT_GT(u, 0.0);
        ASSERT_LT(u, 1.0);
        seen.insert(std::lround(u * 12703));
    }
    EXPECT_EQ(seen.size(), 12702u);
    EXPECT_EQ(rnd(), first);

    // Deviates.
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(randab(5, 5), 5);
        const double r = randab(2, -3);  // a reversed interval
        ASSERT_LE(r, 2);
        ASSERT_GE(r, -3);
        ASSERT_LE(std::fabs(Normal(0, 1)), 6.0);
        ASSERT_GT(NegExp(2.0), 0.0);
    }
    EXPECT_TRUE(std::isinf(NegExp(0)));

    // Normal sums twelve draws in order: replaying the period reproduces it.
    double mean = 0;
    for (int i = 0; i < 12702; ++i) mean += Normal(10, 2);
    EXPECT_NEAR(mean / 12702, 10, 0.05);
}
