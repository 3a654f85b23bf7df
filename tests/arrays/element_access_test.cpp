// Element access of the simple array, the arithmetic array and the string:
// every accessor, const and not, reaches the element it names, in an array of
// its own and in a window onto the middle of another array's block.
#include "cqv_accessors.h"
#include "cqv_test.h"

#include <algorithm>
#include <vector>

namespace {

// The positions from, from + 1, ..., count of them.
std::vector<int> Positions(int from, int count) {
    std::vector<int> at;
    for (int i = 0; i < count; ++i) at.push_back(from + i);
    return at;
}

// An array of type A holding values: its accessors checked on the whole
// array, then on a window of len elements from start onto a fresh copy.
template <class A, class T>
void CheckWholeAndWindow(const char* name, const std::vector<T>& values, int start, int len, const T& mark) {
    SCOPED_TRACE(name);
    const int n = static_cast<int>(values.size());
    A whole(n), base(n), window;
    std::copy(values.begin(), values.end(), whole.GetPointer());
    std::copy(values.begin(), values.end(), base.GetPointer());
    cqvtest::CheckAccessors(whole, whole, Positions(0, n), mark);
    window.SetSubWindow(base, start, len);
    cqvtest::CheckAccessors(window, base, Positions(start, len), mark);
}

}  // namespace

TEST(ElementAccess, ArraysAndStringsWholeAndWindow) {
    const char text[] = "quartz";
    const std::vector<double> reals{1.5, -2, 3.25, 8, -13, 21, 34};
    CheckWholeAndWindow<qvSimpleArray<double>>("qvSimpleArray<double>", reals, 2, 4, 99.0);
    CheckWholeAndWindow<qvArray<int>>("qvArray<int>", std::vector<int>{4, -7, 11, 0, 23, 5}, 1, 3, 77);
    CheckWholeAndWindow<qvString>("qvString", std::vector<char>(text, text + 6), 3, 3, '#');
}
