// Builders and readers shared by the vector and matrix tests.
#ifndef CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H
#define CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <initializer_list>
#include <vector>

namespace linalgtest {

using V3 = qvTVec3<double>;
using Col = qvColumnVector<double>;
using Line = qvLineVector<double>;
using M = qvMatrix<double>;
using Doubles = std::vector<double>;

template <class V>
V MakeVector(std::initializer_list<double> xs) {
    V v(static_cast<int>(xs.size()));
    int i = 0;
    for (double x : xs) v[i++] = x;
    return v;
}
inline Col MakeCol(std::initializer_list<double> xs) { return MakeVector<Col>(xs); }
inline Line MakeLine(std::initializer_list<double> xs) { return MakeVector<Line>(xs); }

// A rows x cols matrix filled row by row.
inline M Make(int rows, int cols, std::initializer_list<double> xs) { return cqvtest::MatrixOf(rows, cols, xs); }

inline Doubles Values(const qvVector<double>& v) {
    Doubles out;
    for (int i = 0; i < v.Len(); ++i) out.push_back(v[i]);
    return out;
}

// Row by row.
using cqvtest::Elements;

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

// Deterministic values in [-1, 1), with a share of exact zeros in percent.
struct Gen {
    unsigned long long state;
    explicit Gen(unsigned long long seed) : state(seed) {}
    unsigned Bits() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(state >> 33);
    }
    double Value(int zeroPercent) {
        if (static_cast<int>(Bits() % 100) < zeroPercent) return 0.0;
        return static_cast<double>(static_cast<int>(Bits() % 2000001) - 1000000) / 1000000.0;
    }
};

inline M Random(int rows, int cols, unsigned long long seed, int zeroPercent = 0) {
    M m(rows, cols);
    Gen g(seed);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) m(i, j) = g.Value(zeroPercent);
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
