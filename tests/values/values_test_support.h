// Readers shared by the value type tests: the coordinates or entries of
// value objects in one vector, so that a line compares them all.
#ifndef CQV_TESTS_VALUES_VALUES_TEST_SUPPORT_H
#define CQV_TESTS_VALUES_VALUES_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <initializer_list>
#include <vector>

namespace valuestest {

using V3 = qvTVec3<double>;
using M3 = qvTMatrix3x3<double>;
using Doubles = std::vector<double>;

inline Doubles Coords(std::initializer_list<qvVec2> vs) {
    Doubles out;
    for (const qvVec2& v : vs) out.insert(out.end(), {v.X(), v.Y()});
    return out;
}

inline Doubles Coords(std::initializer_list<V3> vs) {
    Doubles out;
    for (const V3& v : vs) out.insert(out.end(), {v.X(), v.Y(), v.Z()});
    return out;
}

inline Doubles Coords(std::initializer_list<qvComplex> cs) {
    Doubles out;
    for (const qvComplex& c : cs) out.insert(out.end(), {c.re, c.im});
    return out;
}

// The six relations a < b, a > b, a <= b, a >= b, a == b and a != b.
template <class T>
std::vector<int> Relations(const T& a, const T& b) {
    return {a < b, a > b, a <= b, a >= b, a == b, a != b};
}

// The entries of several small matrices, one after another, row by row.
template <class Mat>
Doubles Entries(std::initializer_list<Mat> ms) {
    Doubles out;
    for (const Mat& m : ms) {
        const Doubles e = cqvtest::Entries(m);
        out.insert(out.end(), e.begin(), e.end());
    }
    return out;
}

// A 2x2 matrix from its rows, through the conversion from the general matrix.
inline qvMatrix2x2 Make2(double a, double b, double c, double d) {
    return qvMatrix2x2(cqvtest::MatrixOf(2, 2, {a, b, c, d}));
}

using cqvtest::Entries;
using Ints = std::vector<int>;
using cqvtest::MatrixOf;
using cqvtest::Near;

}  // namespace valuestest

#endif  // CQV_TESTS_VALUES_VALUES_TEST_SUPPORT_H
