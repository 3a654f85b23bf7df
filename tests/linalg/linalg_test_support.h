// Shorthands, shapes and random matrices of the vector and matrix tests;
// the builders themselves are shared by all tests (cqv_builders.h).
#ifndef CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H
#define CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H

#include "cqv_near.h"
#include "cqv_test.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
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
template <class E>
qvMatrix<E> TransposedCopy(const qvMatrix<E>& m, std::vector<E>& store) {
    store.resize(static_cast<std::size_t>(m.ColumnLen()) * m.LineLen());
    for (int i = 0; i < m.ColumnLen(); ++i)
        for (int j = 0; j < m.LineLen(); ++j) store[static_cast<std::size_t>(j) * m.ColumnLen() + i] = m(i, j);
    qvMatrix<E> t;
    t.SetDirectly(store.data(), m.ColumnLen(), m.LineLen(), 1, m.ColumnLen());
    return t;
}

// ---- the reference: the elimination exactly as the library documents it ----

// A pivot or multiplier counts as zero when it is zero or NaN (in every
// coordinate, for the space vectors); a candidate takes the pivot's place
// only when greater in every coordinate, NaN counting as greater.
inline bool Zero(double x) { return x == 0.0 || std::isnan(x); }
inline bool Zero(const V3& x) { return Zero(x.X()) && Zero(x.Y()) && Zero(x.Z()); }
inline double Magnitude(double x) { return std::fabs(x); }
inline V3 Magnitude(const V3& x) { return V3(std::fabs(x.X()), std::fabs(x.Y()), std::fabs(x.Z())); }
inline bool Greater(double c, double b) { return !(c <= b); }
inline bool Greater(const V3& c, const V3& b) {
    return Greater(c.X(), b.X()) && Greater(c.Y(), b.Y()) && Greater(c.Z(), b.Z());
}
inline double Recip(double x) { return 1.0 / x; }
inline V3 Recip(const V3& x) { return V3(1.0 / x.X(), 1.0 / x.Y(), 1.0 / x.Z()); }
// NaN in every coordinate, for what the reference has not computed yet.
inline double NaNOf(double*) { return std::numeric_limits<double>::quiet_NaN(); }
inline V3 NaNOf(V3*) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return V3(nan, nan, nan);
}

// Eliminates the rows of a matrix with extra columns on its right (a
// right-hand side, or a unit matrix for the inverse) that take part in every
// row operation, as the library's right-hand side does.
template <class E>
struct Reference {
    std::vector<E> a;       // row-major copy, rows never move
    std::vector<int> rows;  // row table: position -> row
    int n, cols, m;         // rows, the matrix's columns, all columns
    int steps = 0, swaps = 0;
    E det = NaNOf(static_cast<E*>(nullptr));

    explicit Reference(const qvMatrix<E>& src, const qvMatrix<E>& right = qvMatrix<E>())
        : n(src.ColumnLen()), cols(src.LineLen()), m(cols + right.LineLen()) {
        for (int i = 0; i < n; ++i) {
            rows.push_back(i);
            for (int j = 0; j < m; ++j) a.push_back(j < cols ? src(i, j) : right(i, j - cols));
        }
    }
    E& W(int pos, int j) { return a[static_cast<std::size_t>(rows[pos]) * m + j]; }

    void Eliminate() {
        for (int k = 0; k < n; ++k) {
            E best = Magnitude(W(k, k));
            for (int i = k + 1; i < n; ++i) {
                const E cand = Magnitude(W(i, k));
                if (Greater(cand, best)) {
                    std::swap(rows[k], rows[i]);
                    ++swaps;
                    best = cand;
                }
            }
            const E pivot = W(k, k);
            if (Zero(pivot)) return;
            det = k == 0 ? pivot : det * pivot;
            const E r = Recip(pivot);
            for (int j = k + 1; j < m; ++j) W(k, j) = W(k, j) * r;
            for (int i = k + 1; i < n; ++i) {
                const E e = W(i, k);
                if (Zero(e)) continue;
                det = det * e;
                const E s = Recip(e);
                for (int j = k + 1; j < m; ++j) W(i, j) = s * W(i, j) - W(k, j);
            }
            steps = k + 1;
        }
    }

    double Det() {
        Eliminate();
        if (steps < n) return 0.0;
        return swaps % 2 ? -det : det;
    }

    // Eliminates and substitutes back for every extra column, from the last
    // unknown down (unknowns beyond the rows count as zero); x gets the
    // solutions side by side, row by row. Returns the unknown at whose zero
    // pivot the library throws, x being written down to it; -1 on success.
    int Solve(std::vector<E>& x) {
        Eliminate();
        const int k = m - cols;
        x.assign(static_cast<std::size_t>(n) * k, NaNOf(static_cast<E*>(nullptr)));
        for (int i = n - 1; i >= 0; --i) {
            for (int c = 0; c < k; ++c) {
                E xi = W(i, cols + c);
                for (int j = n - 1; j > i; --j) xi = xi - W(i, j) * x[static_cast<std::size_t>(j) * k + c];
                x[static_cast<std::size_t>(i) * k + c] = xi;
            }
            if (Zero(W(i, i))) return i;
        }
        return -1;
    }

    // Columns [from, to) of the work space, row by row in the original order.
    std::vector<E> Columns(int from, int to) const {
        std::vector<E> out;
        for (int i = 0; i < n; ++i)
            for (int j = from; j < to; ++j) out.push_back(a[static_cast<std::size_t>(i) * m + j]);
        return out;
    }
};

// got and want agree bit for bit, double by double, signed zeros included (a
// NaN need only be a NaN: which operand's payload an operation passes on is
// the compiler's choice).
template <class E>
::testing::AssertionResult SameBits(const std::vector<E>& got, const std::vector<E>& want) {
    if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes differ";
    const std::size_t k = sizeof(E) / sizeof(double);
    for (std::size_t i = 0; i < got.size() * k; ++i) {
        double g, w;
        std::memcpy(&g, reinterpret_cast<const double*>(got.data()) + i, sizeof g);
        std::memcpy(&w, reinterpret_cast<const double*>(want.data()) + i, sizeof w);
        if (std::memcmp(&g, &w, sizeof g) != 0 && !(std::isnan(g) && std::isnan(w)))
            return ::testing::AssertionFailure() << "element " << i / k << ": " << g << " against " << w;
    }
    return ::testing::AssertionSuccess();
}

// Solves a·x = rhs by the Gauss method on a private copy of a, contiguous
// and stored column by column behind its strides: the solution (or the
// refusal, with the unknowns the substitution reached), the work space and
// the right-hand side must come out exactly as the reference leaves them.
template <class E>
void ExpectGaussSolveAsTheReference(const qvMatrix<E>& a, const qvMatrix<E>& rhs) {
    const int n = a.ColumnLen(), m = a.LineLen();
    Reference<E> ref(a, rhs);
    std::vector<E> want;
    const int failed = ref.Solve(want);
    std::vector<E> store;
    qvMatrix<E> strided = TransposedCopy(a, store), contiguous = a;
    contiguous.Copy();
    for (qvMatrix<E>* work : {&contiguous, &strided}) {
        qvColumnVector<E> b = VectorOf<qvColumnVector<E>>(Elements(rhs)), x;
        if (failed < 0) {
            work->SolveEquationGaussMethod(x, b);
        } else {
            CQV_EXPECT_BAD(work->SolveEquationGaussMethod(x, b), qvMsg::SystemNotUnique);
        }
        ASSERT_EQ(x.Len(), n);
        // Unknowns a failed substitution never reached are unspecified.
        const std::vector<E> got = Values(x);
        const std::size_t from = failed >= 0 ? static_cast<std::size_t>(failed) : 0;
        const std::vector<E> reached(got.begin() + from, got.end()), wanted(want.begin() + from, want.end());
        EXPECT_TRUE(SameBits(reached, wanted));
        EXPECT_TRUE(SameBits(Elements(*work), ref.Columns(0, m)));
        EXPECT_TRUE(SameBits(Values(b), ref.Columns(m, m + 1)));
    }
}

}  // namespace linalgtest

#endif  // CQV_TESTS_LINALG_LINALG_TEST_SUPPORT_H
