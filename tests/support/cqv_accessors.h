// The element accessors of the one-dimensional containers, checked against
// the block they read and write.
#ifndef CQV_TESTS_SUPPORT_CQV_ACCESSORS_H
#define CQV_TESTS_SUPPORT_CQV_ACCESSORS_H

#include <gtest/gtest.h>

#include <vector>

namespace cqvtest {

// a sees the elements of base at positions at (base itself, or a window on
// its block). Checks operator[] (const and not), front, back and Last of a
// against them, then writes mark through each non-const accessor and checks
// that the write lands in that element of base, read through base's
// iterators rather than the accessors under test.
template <class A, class B, class T>
void CheckAccessors(A& a, const B& base, const std::vector<int>& at, const T& mark) {
    const auto block = [&base] {
        std::vector<T> out;
        for (const T& x : base) out.push_back(x);
        return out;
    };
    std::vector<T> expected = block(), want;
    for (int k : at) want.push_back(expected[static_cast<std::size_t>(k)]);
    const A& c = a;
    const int n = static_cast<int>(at.size());
    ASSERT_EQ(a.Len(), n);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(a[i], want[i]) << "index " << i;
        EXPECT_EQ(c[i], want[i]) << "index " << i;
    }
    EXPECT_EQ((std::vector<T>{c.front(), c.back(), c.Last()}), (std::vector<T>{want[0], want[n - 1], want[n - 1]}));

    const auto written = [&](int i, const T& x, const char* how) {
        expected[static_cast<std::size_t>(at[static_cast<std::size_t>(i)])] = x;
        EXPECT_EQ(block(), expected) << "write through " << how;
    };
    a.front() = mark;
    written(0, mark, "front");
    a.back() = mark;
    written(n - 1, mark, "back");
    a[1] = mark;
    written(1, mark, "[1]");
    a.Last() = want[n - 1];
    written(n - 1, want[n - 1], "Last");
}

}  // namespace cqvtest

#endif  // CQV_TESTS_SUPPORT_CQV_ACCESSORS_H
