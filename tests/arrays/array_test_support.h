// Builders shared by the array tests.
#ifndef CQV_TESTS_ARRAYS_ARRAY_TEST_SUPPORT_H
#define CQV_TESTS_ARRAYS_ARRAY_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include <cqv/cqv.h>

#include "cqv_builders.h"

namespace arraytest {

// The nine element types of the arithmetic array, and their names in test
// names (in the same order).
using ElementTypes =
    ::testing::Types<char, unsigned char, short, unsigned short, int, float, double, qvComplex, qvVec2>;
struct ElementTypeNames {
    template <class T>
    static std::string GetName(int i) {
        static const char* const names[] = {"char",  "uchar",  "short",     "ushort", "int",
                                            "float", "double", "qvComplex", "qvVec2"};
        return names[i];
    }
};

// The element that stands for the small non-negative number i: the number
// itself, i + 0i, or the vector (i, i). For such elements every element type
// orders, adds and multiplies as the numbers do.
template <class T>
T V(int i) {
    return static_cast<T>(i);
}
template <>
inline qvComplex V<qvComplex>(int i) {
    return qvComplex(i, 0);
}
template <>
inline qvVec2 V<qvVec2>(int i) {
    return qvVec2(i, i);
}

template <class T>
std::vector<T> Vs(std::initializer_list<int> values) {
    std::vector<T> r;
    for (int i : values) r.push_back(V<T>(i));
    return r;
}

// Arrays holding values; without values, an array without storage.
template <class T>
qvArray<T> From(const std::vector<T>& values) {
    return cqvtest::VectorOf<qvArray<T>>(values);
}

template <class T>
qvArray<T> A(std::initializer_list<int> values) {
    return From(Vs<T>(values));
}

inline qvArray<qvComplex> Complexes(std::initializer_list<qvComplex> values) { return From<qvComplex>(values); }
inline qvArray<qvVec2> Vec2s(std::initializer_list<qvVec2> values) { return From<qvVec2>(values); }

template <class T>
qvSimpleArray<T> Make(std::initializer_list<T> values) {
    return cqvtest::VectorOf<qvSimpleArray<T>>(std::vector<T>(values));
}

template <class T>
std::vector<T> Items(const qvSimpleArray<T>& a) {
    return std::vector<T>(a.begin(), a.end());
}

}  // namespace arraytest

#endif  // CQV_TESTS_ARRAYS_ARRAY_TEST_SUPPORT_H
