// Builders and readers shared by the vector and matrix tests.
#ifndef CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H
#define CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <initializer_list>
#include <type_traits>
#include <vector>

namespace linalgtest {

using V3 = qvTVec3<double>;
using Col = qvColumnVector<double>;
using Line = qvLineVector<double>;
using M = qvMatrix<double>;
using Doubles = std::vector<double>;
using Complexes = std::vector<qvComplex>;

// Columns and rows holding xs; MakeCol<qvComplex>({{0, 1}}) for other elements.
// (The element type sits where it is not deduced, so plain numbers build doubles.)
template <class V, class E>
V VectorOf(const std::vector<E>& xs) {
    V v(static_cast<int>(xs.size()));
    for (int i = 0; i < v.Len(); ++i) v[i] = xs[static_cast<std::size_t>(i)];
    return v;
}
template <class E = double>
qvColumnVector<E> MakeCol(const std::vector<std::common_type_t<E>>& xs) { return VectorOf<qvColumnVector<E>>(xs); }
template <class E = double>
qvLineVector<E> MakeLine(const std::vector<std::common_type_t<E>>& xs) { return VectorOf<qvLineVector<E>>(xs); }

// A rows x cols matrix filled row by row.
template <class E = double>
qvMatrix<E> Make(int rows, int cols, std::initializer_list<std::common_type_t<E>> xs) {
    qvMatrix<E> m(rows, cols);
    int k = 0;
    for (const E& x : xs) {
        m(k / cols, k % cols) = x;
        ++k;
    }
    return m;
}

template <class E>
std::vector<E> Values(const qvVector<E>& v) {
    std::vector<E> out;
    for (int i = 0; i < v.Len(); ++i) out.push_back(v[i]);
    return out;
}

// Row by row.
template <class E>
std::vector<E> Elements(const qvMatrix<E>& m) {
    std::vector<E> out;
    for (int i = 0; i < m.ColumnLen(); ++i)
        for (int j = 0; j < m.LineLen(); ++j) out.push_back(m(i, j));
    return out;
}

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

using cqvtest::Near;

// The number of objects holding a's block.
inline int Holders(const qvPArray& a) { return a.GetNumOfRef() + 1; }

// Deterministic values in [-1, 1) in steps of 1e-6, with a share of exact
// zeros in percent, filled row by row.
inline M Random(int rows, int cols, unsigned long long seed, int zeroPercent = 0) {
    auto bits = [&seed] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>(seed >> 33);
    };
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
