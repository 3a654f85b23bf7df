// Shorthands, shapes and random matrices of the vector and matrix tests;
// the builders themselves are shared by all tests (cqv_builders.h).
#ifndef CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H
#define CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <vector>

namespace linalgtest {

using namespace cqvtest;
using V3 = qvTVec3<double>;
using Line = qvLineVector<double>;
using Doubles = std::vector<double>;
using Complexes = std::vector<qvComplex>;

// Rows, columns, then for a matrix with elements the strides down a column
// and along a row and the positive and negative lengths.
inline std::vector<int> Shape(const M& m) {
    if (m.GetPointer() == nullptr) return {m.ColumnLen(), m.LineLen()};
    return {m.ColumnLen(), m.LineLen(), m.TabInColumn(), m.TabInLine(), m.PositiveLength(), m.NegativeLength()};
}

// Length, stride, positive and negative lengths, and the number of holders
// of the block (0 without one).
inline std::vector<int> Shape(const qvVector<double>& v) {
    return {v.Len(), v.Tab(), v.PositiveLength(), v.NegativeLength(), v.GetMem() ? v.GetNumOfRef() + 1 : 0};
}

// Deterministic values in [-1, 1) in steps of 1e-6, with a share of exact
// zeros in percent, filled row by row.
inline M Random(int rows, int cols, unsigned long long seed, int zeroPercent = 0) {
    cqvtest::Numbers g(seed);
    auto bits = [&g] { return static_cast<int>(g.Next() >> 33); };
    M m(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            m(i, j) = bits() % 100 < zeroPercent ? 0.0 : (bits() % 2000001 - 1000000) / 1e6;
    return m;
}

// m's elements stored column by column in store, seen through a matrix
// whose strides run the other way.
inline M TransposedCopy(const M& m, Doubles& store) {
    store.assign(static_cast<std::size_t>(m.ColumnLen()) * m.LineLen(), 0.0);
    for (int i = 0; i < m.ColumnLen(); ++i)
        for (int j = 0; j < m.LineLen(); ++j) store[static_cast<std::size_t>(j) * m.ColumnLen() + i] = m(i, j);
    M t;
    t.SetDirectly(store.data(), m.ColumnLen(), m.LineLen(), 1, m.ColumnLen());
    return t;
}

}  // namespace linalgtest

#endif  // CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H
