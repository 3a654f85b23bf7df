// Builders and readers of the library's containers shared by every test
// program: vectors and matrices from plain values and back, the entries of
// the small matrices, pointers side by side, the number of holders of a
// block, and a small deterministic number generator.
#ifndef CQV_TESTS_SUPPORT_CQV_BUILDERS_H
#define CQV_TESTS_SUPPORT_CQV_BUILDERS_H

#include <cstddef>
#include <initializer_list>
#include <type_traits>
#include <vector>

#include <cqv/cqv.h>

namespace cqvtest {

using Col = qvColumnVector<double>;
using M = qvMatrix<double>;

// A vector of type V holding xs; empty for no values.
template <class V, class E>
V VectorOf(const std::vector<E>& xs) {
    if (xs.empty()) return V();
    V v(static_cast<int>(xs.size()));
    for (int i = 0; i < v.Len(); ++i) v[i] = xs[static_cast<std::size_t>(i)];
    return v;
}

// Columns and rows holding xs; MakeCol<qvComplex>({{0, 1}}) for other
// elements. (The element type stands where it is not deduced, so plain
// numbers build doubles.)
template <class E = double>
qvColumnVector<E> MakeCol(const std::vector<std::common_type_t<E>>& xs) {
    return VectorOf<qvColumnVector<E>>(xs);
}
template <class E = double>
qvLineVector<E> MakeLine(const std::vector<std::common_type_t<E>>& xs) {
    return VectorOf<qvLineVector<E>>(xs);
}

// A rows × cols matrix filled row by row; MatrixOf<qvComplex>(...) for
// other elements.
template <class E = double>
qvMatrix<E> MatrixOf(int rows, int cols, std::initializer_list<std::common_type_t<E>> xs) {
    qvMatrix<E> m(rows, cols);
    int k = 0;
    for (const E& x : xs) {
        m(k / cols, k % cols) = x;
        ++k;
    }
    return m;
}

// The elements of a vector in index order.
template <class E>
std::vector<E> Values(const qvVector<E>& v) {
    std::vector<E> out;
    for (int i = 0; i < v.Len(); ++i) out.push_back(v[i]);
    return out;
}

// The elements of a matrix row by row.
template <class E>
std::vector<E> Elements(const qvMatrix<E>& m) {
    std::vector<E> out;
    for (int i = 0; i < m.ColumnLen(); ++i)
        for (int j = 0; j < m.LineLen(); ++j) out.push_back(m(i, j));
    return out;
}

// The entries of the small matrices, row by row.
inline std::vector<double> Entries(const qvMatrix2x2& m) { return {m(0, 0), m(0, 1), m(1, 0), m(1, 1)}; }
inline std::vector<double> Entries(const qvTMatrix3x3<double>& m) {
    std::vector<double> out;
    for (int i = 0; i < 9; ++i) out.push_back(m(i / 3, i % 3));
    return out;
}

// Pointers of any kinds (null among them), for comparing several in one
// line.
template <class... P>
std::vector<const void*> Ptrs(const P&... pointers) {
    return {static_cast<const void*>(pointers)...};
}

// The number of objects holding a's block.
inline int Holders(const qvPArray& a) { return a.GetNumOfRef() + 1; }

// Deterministic numbers from a 64-bit linear congruential generator: reals
// in [lo, hi), small integers in [-k, k].
struct Numbers {
    unsigned long long state;
    explicit Numbers(unsigned long long seed) : state(seed) {}
    // The next state of the generator.
    unsigned long long Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state;
    }
    // 53 random bits.
    unsigned long long Bits() { return Next() >> 11; }
    double Real(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Bits()) / 9007199254740992.0; }
    double Int(int k) { return static_cast<double>(static_cast<long long>(Bits() % (2 * k + 1)) - k); }
    // n values, each drawn by draw().
    template <class F>
    std::vector<double> Draw(int n, F draw) {
        std::vector<double> v(static_cast<std::size_t>(n));
        for (double& x : v) x = draw();
        return v;
    }
    std::vector<double> Reals(int n, double lo, double hi) { return Draw(n, [&] { return Real(lo, hi); }); }
    std::vector<double> Ints(int n, int k) { return Draw(n, [&] { return Int(k); }); }
};

}  // namespace cqvtest

#endif  // CQV_TESTS_SUPPORT_CQV_BUILDERS_H
