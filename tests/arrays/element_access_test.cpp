// Element access of the simple array, the arithmetic array and the string:
// every accessor, const and not, reaches the element it names, in an array of
// its own and in a window onto the middle of another array's block.
#include "cqv_test.h"

#include <vector>

namespace {

// Checks operator[], front, back and Last of a (const and not) against want,
// the elements a must hold, then writes through each non-const accessor and
// checks that the write lands in the element of base at offset + index (base
// is the array that owns the block; offset is where a starts in it).
template <class A, class T>
void CheckAccessors(A& a, const std::vector<T>& want, A& base, int offset, const T& mark) {
    const A& c = a;
    const int n = static_cast<int>(want.size());
    ASSERT_EQ(a.Len(), n);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(a[i], want[i]) << "index " << i;
        EXPECT_EQ(c[i], want[i]) << "index " << i;
    }
    EXPECT_EQ((std::vector<T>{c.front(), c.back(), c.Last()}), (std::vector<T>{want[0], want[n - 1], want[n - 1]}));

    std::vector<T> expected(base.begin(), base.end());
    const auto written = [&](int i) {
        expected[offset + i] = mark;
        EXPECT_EQ(std::vector<T>(base.begin(), base.end()), expected) << "write at index " << i;
    };
    a.front() = mark;
    written(0);
    a.back() = mark;
    written(n - 1);
    a[1] = mark;
    written(1);
    a.Last() = want[n - 1];
    expected[offset + n - 1] = want[n - 1];
    EXPECT_EQ(std::vector<T>(base.begin(), base.end()), expected) << "write through Last";
}

// An array of type A holding values: its accessors checked on the whole
// array, then on a window of len elements from start onto a fresh copy.
template <class A, class T>
void CheckWholeAndWindow(const std::vector<T>& values, int start, int len, const T& mark) {
    const int n = static_cast<int>(values.size());
    const auto make = [&] {
        A a(n);
        for (int i = 0; i < n; ++i) a.GetPointer()[i] = values[i];
        return a;
    };
    A whole = make();
    CheckAccessors(whole, values, whole, 0, mark);
    A base = make();
    A window;
    window.SetSubWindow(base, start, len);
    CheckAccessors(window, std::vector<T>(values.begin() + start, values.begin() + start + len), base, start, mark);
}

}  // namespace

TEST(ElementAccess, ArraysAndStringsWholeAndWindow) {
    {
        SCOPED_TRACE("qvSimpleArray<double>");
        CheckWholeAndWindow<qvSimpleArray<double>>(std::vector<double>{1.5, -2, 3.25, 8, -13, 21, 34}, 2, 4, 99.0);
    }
    {
        SCOPED_TRACE("qvArray<int>");
        CheckWholeAndWindow<qvArray<int>>(std::vector<int>{4, -7, 11, 0, 23, 5}, 1, 3, 77);
    }
    {
        SCOPED_TRACE("qvString");
        const char text[] = "quartz";
        CheckWholeAndWindow<qvString>(std::vector<char>(text, text + 6), 3, 3, '#');
    }
}
