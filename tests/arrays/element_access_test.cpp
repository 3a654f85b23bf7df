// Element access of the simple array, the arithmetic array and the string:
// every accessor, const and not, reaches the element it names, in an array of
// its own and in a window onto the middle of another array's block.
#include "cqv_accessors.h"
#include "cqv_test.h"

#include <vector>

namespace {

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
    const auto positions = [](int from, int count) {
        std::vector<int> at;
        for (int i = 0; i < count; ++i) at.push_back(from + i);
        return at;
    };
    A whole = make();
    cqvtest::CheckAccessors(whole, whole, positions(0, n), mark);
    A base = make();
    A window;
    window.SetSubWindow(base, start, len);
    cqvtest::CheckAccessors(window, base, positions(start, len), mark);
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
