// Member definitions of qvMatrix<E>; included only by the library's sources
// that instantiate it. Not installed.
#ifndef CQV_LINALG_MATRIX_IMPL_H
#define CQV_LINALG_MATRIX_IMPL_H

#include <cstdint>
#include <type_traits>

#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/record_internal.h"
#include "cqv/linalg/band_elimination_internal.h"
#include "cqv/linalg/messages.h"
#include "cqv/linalg/dense_kernels_internal.h"
#include "cqv/linalg/element_ops_internal.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector_impl.h"

namespace qvDetail {

// A counted block released when the holder goes out of scope (work space
// of the solvers; a row table is one of them).
template <class P>
struct ScopedBlock {
    P* p;
    explicit ScopedBlock(int n) : p(qvNewWithRef<P>(n)) {}
    ScopedBlock(const ScopedBlock&) = delete;
    ScopedBlock& operator=(const ScopedBlock&) = delete;
    ~ScopedBlock() { qvDeleteWithRef(p); }
};

// Row-pointer elimination with partial pivoting on n rows of m columns
// (column stride tab), every element in its fixed order of operations:
// pivot search with immediate exchanges, the pivot row scaled by the
// reciprocal of its pivot, then every lower row with a non-zero entry e in
// the pivot column becomes (1/e)·row - pivot row. comp (may be null) holds
// one element per row that is exchanged, scaled and updated along. With
// det given, it receives the running product of the pivots and the factors
// e; swaps counts the exchanges. Returns the number of completed steps.
//
// Double rows with contiguous columns go to the fast path EliminateDouble
// (cqv/linalg/dense_kernels.cpp), which must give exactly the bits of the
// loops below; Solvers.AgreeWithTheReferenceBitForBit
// (tests/linalg/solver_test.cpp) runs both against one reference.
template <class E>
int EliminateRows(E** rows, int n, int m, int tab, E** comp, E* det, int* swaps) {
    if constexpr (std::is_same<E, double>::value) {
        if (tab == 1) return EliminateDouble(rows, n, m, comp, det, swaps);
    }
    using L = LinalgElem<E>;
    for (int k = 0; k < n; ++k) {
        const int kk = k * tab;
        typename L::Magnitude best = L::Magnitude_(rows[k][kk]);
        for (int i = k + 1; i < n; ++i) {
            const typename L::Magnitude cand = L::Magnitude_(rows[i][kk]);
            if (L::Greater(cand, best)) {
                E* t = rows[k];
                rows[k] = rows[i];
                rows[i] = t;
                if (comp != nullptr) {
                    E* c = comp[k];
                    comp[k] = comp[i];
                    comp[i] = c;
                }
                ++*swaps;
                best = cand;
            }
        }
        E* pr = rows[k];
        const E pivot = pr[kk];
        if (L::IsZero(pivot)) return k;
        if (det != nullptr) *det = k == 0 ? pivot : *det * pivot;
        const E r = L::Recip(pivot);
        for (int j = k + 1; j < m; ++j) pr[j * tab] = pr[j * tab] * r;
        if (comp != nullptr) *comp[k] = *comp[k] * r;
        for (int i = k + 1; i < n; ++i) {
            E* w = rows[i];
            const E e = w[kk];
            if (L::IsZero(e)) continue;
            if (det != nullptr) *det = *det * e;
            const E s = L::Recip(e);
            for (int j = k + 1; j < m; ++j) w[j * tab] = s * w[j * tab] - pr[j * tab];
            if (comp != nullptr) *comp[i] = s * *comp[i] - *comp[k];
        }
    }
    return n;
}

// A matrix's elements as a two-dimensional strided range: dimension 0 along
// a row, dimension 1 from row to row, so that the walk goes row by row.
template <class E>
inline StridedRange<E> RangeOf(const qvMatrix<E>& m) {
    return StridedRange<E>(m.GetPointer(), m.LineLen(), m.TabInLine(), m.ColumnLen(), m.TabInColumn());
}
template <class E>
inline StridedRange<const E> ConstRangeOf(const qvMatrix<E>& m) {
    return StridedRange<const E>(m.GetPointer(), m.LineLen(), m.TabInLine(), m.ColumnLen(), m.TabInColumn());
}

}  // namespace qvDetail

// ---- storage ----------------------------------------------------------------

template <class E>
qvMatrix<E>::qvMatrix(int rows, int cols) : data(nullptr), tabInLine(0), tabInColumn(0), lineLen(0), columnLen(0) {
    New(rows, cols);
}

template <class E>
qvMatrix<E>::qvMatrix(const qvMatrix& m) : qvPArray(), data(nullptr), tabInLine(0), tabInColumn(0), lineLen(0), columnLen(0) {
    SetWindow(m.mem, m.data, m.columnLen, m.lineLen, m.tabInColumn, m.tabInLine);
}

template <class E>
qvMatrix<E>::~qvMatrix() {
    Free();
}

template <class E>
void qvMatrix<E>::SetMem(void* const p) {
    qvDetail::ReplaceBlock<E>(mem, p);
}

template <class E>
void qvMatrix<E>::Free() {
    qvDetail::ReleaseBlock<E>(mem);
}

template <class E>
void qvMatrix<E>::MakeEmpty() {
    Free();
    data = nullptr;
    tabInLine = tabInColumn = lineLen = columnLen = 0;
}

template <class E>
void qvMatrix<E>::New(int rows, int cols) {
    if (rows == 0 || cols == 0) {
        data = nullptr;
        tabInLine = tabInColumn = lineLen = columnLen = 0;
        mem = nullptr;
        return;
    }
    // Two negative sizes would multiply to a positive count: refused as a
    // count below 1 is.
    if (rows < 0 || cols < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    const long long count = static_cast<long long>(rows) * cols;
    if (count > 0x7fffffffLL) throw qvErrNoMemory(0xffffffffu);
    E* block = qvNewWithRef<E>(static_cast<int>(count));
    InitMem(block);
    data = block;
    lineLen = cols;
    columnLen = rows;
    tabInLine = 1;
    tabInColumn = cols;
}

template <class E>
void qvMatrix<E>::SetWindow(void* block, E* first, int rows, int cols, int tabColumn, int tabLine) {
    // The reference to the viewed block is taken before the one held so far
    // goes.
    qvDetail::HoldBlock<E>(mem, block);
    data = first;
    // A window with no rows or no columns has neither.
    if (rows == 0 || cols == 0) rows = cols = 0;
    columnLen = rows;
    lineLen = cols;
    tabInColumn = tabColumn;
    tabInLine = tabLine;
}

template <class E>
int qvMatrix<E>::PositiveLength() const {
    return qvDetail::RangeOf(*this).UpperExtent();
}

template <class E>
int qvMatrix<E>::NegativeLength() const {
    return qvDetail::RangeOf(*this).LowerExtent();
}

template <class E>
void qvMatrix<E>::Copy() {
    if (!IsShared()) return;
    if (columnLen == 0 || lineLen == 0) {
        MakeEmpty();
        return;
    }
    qvMatrix<E> c(columnLen, lineLen);
    c = *this;
    Move(c);
}

template <class E>
void qvMatrix<E>::Set(int rows, int cols) {
    // The block goes first; New then refuses negative sizes.
    MakeEmpty();
    New(rows, cols);
}

template <class E>
void qvMatrix<E>::Init(int rows, int cols) {
    if (rows == 0 || cols == 0) rows = cols = 0;
    if (rows == columnLen && cols == lineLen) return;
    Set(rows, cols);
}

template <class E>
void qvMatrix<E>::SetDirectly(E* p, int rows, int cols, int tabColumn, int tabLine) {
    SetWindow(nullptr, p, rows, cols, tabColumn, tabLine);  // releases the block
}

template <class E>
void qvMatrix<E>::Set(const qvMatrix& m, int row, int col, int rows, int cols) {
    SetWindow(m.mem, m.data + row * m.tabInColumn + col * m.tabInLine, rows, cols, m.tabInColumn, m.tabInLine);
}

template <class E>
void qvMatrix<E>::Move(qvMatrix& m) {
    if (&m == this) return;
    if (m.columnLen == 0 || m.lineLen == 0) {
        MakeEmpty();
        return;
    }
    qvDetail::TakeBlock<E>(mem, m.mem);
    data = m.data;
    tabInLine = m.tabInLine;
    tabInColumn = m.tabInColumn;
    lineLen = m.lineLen;
    columnLen = m.columnLen;
    m.data = nullptr;
    m.tabInLine = m.tabInColumn = m.lineLen = m.columnLen = 0;
}

template <class E>
void qvMatrix<E>::GetLine(qvLineVector<E>& v, int i) const {
    v.SetWindow(mem, data + i * tabInColumn, lineLen, tabInLine);
}

template <class E>
void qvMatrix<E>::GetColumn(qvColumnVector<E>& v, int j) const {
    v.SetWindow(mem, data + j * tabInLine, columnLen, tabInColumn);
}

// ---- persistence ---------------------------------------------------------------

template <class E>
int qvMatrix<E>::MemSize() const {
    return qvRecordBytes(8, static_cast<std::int64_t>(columnLen) * lineLen, static_cast<int>(sizeof(E)));
}

template <class E>
int qvMatrix<E>::ToMem(unsigned char* p) const {
    qvMatrix::MemSize();
    int at = qvDetail::PutLE<std::int32_t>(p, columnLen);
    at += qvDetail::PutLE<std::int32_t>(p + at, lineLen);
    qvDetail::ForEachInStep([&](const E& e) { at += qvDetail::LinalgElem<E>::Put(p + at, e); },
                            qvDetail::ConstRangeOf(*this));
    return at;
}

template <class E>
int qvMatrix<E>::RecordSize(const unsigned char* p, int available) {
    const std::int32_t rows = qvDetail::RecordCount(p, 0, available);
    const std::int32_t cols = qvDetail::RecordCount(p, 4, available);
    if (rows < 0 || cols < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    const std::int64_t count = static_cast<std::int64_t>(rows) * cols;
    return qvCheckRecordLength(qvRecordBytes(8, count, static_cast<int>(sizeof(E))), available);
}

template <class E>
int qvMatrix<E>::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    const std::int32_t rows = qvDetail::GetLE<std::int32_t>(p);
    const std::int32_t cols = qvDetail::GetLE<std::int32_t>(p + 4);
    if ((rows == 0) != (cols == 0)) throw BadParameters(qvMsg::MatrixRecordOneSizeZero);
    return qvMatrix::FromMem(const_cast<unsigned char*>(p));
}

template <class E>
int qvMatrix<E>::FromMem(unsigned char* p) {
    const std::int32_t rows = qvDetail::GetLE<std::int32_t>(p);
    const std::int32_t cols = qvDetail::GetLE<std::int32_t>(p + 4);
    // Sizes too large for any record are refused before anything changes.
    if (rows >= 0 && cols >= 0) RecordSize(p, qvDetail::kUnboundedRecord);
    // The present block goes first, whatever the sizes; New then refuses
    // negative ones.
    MakeEmpty();
    New(rows, cols);
    int at = 8;
    qvDetail::ForEachInStep([&](E& e) { at += qvDetail::LinalgElem<E>::Get(p + at, e); }, qvDetail::RangeOf(*this));
    return at;
}

// ---- assignment and arithmetic -------------------------------------------------

template <class E>
void qvMatrix<E>::operator=(const qvMatrix& m) {
    if (&m == this) return;
    // m holds its own reference, so its elements outlive a reallocation of
    // this matrix even when it views the same block.
    Init(m.columnLen, m.lineLen);
    qvDetail::CopyInStep(qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(m));
}

#define CQV_MATRIX_SCALAR_OPS(OP)                                                                     \
    template <class E>                                                                                \
    void qvMatrix<E>::operator OP##=(const E& s) {                                                    \
        const E x = s;                                                                                \
        qvDetail::ForEachInStep([&](E& e) { e = e OP x; }, qvDetail::RangeOf(*this));                 \
    }                                                                                                 \
    template <class E>                                                                                \
    qvMatrix<E> qvMatrix<E>::operator OP(const E& s) const {                                          \
        const E x = s;                                                                                \
        qvMatrix<E> r(columnLen, lineLen);                                                            \
        qvDetail::ForEachInStep([&](E& o, const E& e) { o = e OP x; }, qvDetail::RangeOf(r),          \
                                qvDetail::ConstRangeOf(*this));                                       \
        return r;                                                                                     \
    }

CQV_MATRIX_SCALAR_OPS(+)
CQV_MATRIX_SCALAR_OPS(-)
CQV_MATRIX_SCALAR_OPS(*)
CQV_MATRIX_SCALAR_OPS(/)
#undef CQV_MATRIX_SCALAR_OPS

#define CQV_MATRIX_ELEMENTWISE_OPS(OP)                                                                \
    template <class E>                                                                                \
    void qvMatrix<E>::operator OP##=(const qvMatrix& m) {                                             \
        if (m.columnLen != columnLen || m.lineLen != lineLen) throw BadParameters(qvMsg::DifferentSize); \
        qvDetail::ForEachInStep([](E& e, const E& b) { e = e OP b; }, qvDetail::RangeOf(*this),       \
                                qvDetail::ConstRangeOf(m));                                           \
    }                                                                                                 \
    template <class E>                                                                                \
    qvMatrix<E> qvMatrix<E>::operator OP(const qvMatrix& m) const {                                   \
        if (m.columnLen != columnLen || m.lineLen != lineLen) throw BadParameters(qvMsg::DifferentSize); \
        qvMatrix<E> r(columnLen, lineLen);                                                            \
        qvDetail::ForEachInStep([](E& o, const E& e, const E& b) { o = e OP b; }, qvDetail::RangeOf(r), \
                                qvDetail::ConstRangeOf(*this), qvDetail::ConstRangeOf(m));            \
        return r;                                                                                     \
    }

CQV_MATRIX_ELEMENTWISE_OPS(+)
CQV_MATRIX_ELEMENTWISE_OPS(-)
#undef CQV_MATRIX_ELEMENTWISE_OPS

template <class E>
qvMatrix<E> qvMatrix<E>::operator-() const {
    qvMatrix<E> r(columnLen, lineLen);
    qvDetail::ForEachInStep([](E& o, const E& e) { o = -e; }, qvDetail::RangeOf(r), qvDetail::ConstRangeOf(*this));
    return r;
}

template <class E>
qvMatrix<E> qvMatrix<E>::operator*(const qvMatrix& b) const {
    if (lineLen != b.columnLen) throw BadParameters(qvMsg::DifferentSize);
    const int m = columnLen;
    const int n = b.lineLen;
    const int kk = lineLen;
    qvMatrix<E> r(m, n);
    if (m == 0 || n == 0) return r;
    E* c = r.data;
    if constexpr (std::is_same<E, double>::value) {
        qvDetail::MatMulDouble(data, tabInColumn, tabInLine, b.data, b.tabInColumn, b.tabInLine, c, m, n, kk);
    } else {
        // Row by row: each result element starts from its k = 0 product and
        // then accumulates over k in order while the inner loop runs along a
        // row of b.
        for (int i = 0; i < m; ++i, c += n) {
            const E* arow = data + i * tabInColumn;
            {
                const E a0 = arow[0];
                const E* brow = b.data;
                for (int j = 0; j < n; ++j) c[j] = a0 * brow[j * b.tabInLine];
            }
            for (int k = 1; k < kk; ++k) {
                const E ak = arow[k * tabInLine];
                const E* brow = b.data + k * b.tabInColumn;
                for (int j = 0; j < n; ++j) c[j] = c[j] + ak * brow[j * b.tabInLine];
            }
        }
    }
    return r;
}

template <class E>
qvColumnVector<E> qvMatrix<E>::operator*(const qvColumnVector<E>& v) const {
    if (v.Len() != lineLen) throw BadParameters(qvMsg::DifferentLength);
    qvColumnVector<E> r(columnLen);
    E* out = r.GetPointer();
    const E* x = v.GetPointer();
    const int xt = v.Tab();
    const qvDetail::StridedRange<const E> xr(x, lineLen, xt);
    for (int i = 0; i < columnLen; ++i)
        out[i] = qvDetail::DotInStep(qvDetail::StridedRange<const E>(data + i * tabInColumn, lineLen, tabInLine), xr);
    return r;
}

// ---- special matrices and products ---------------------------------------------

template <class E>
void qvMatrix<E>::SetE() {
    const E zero = qvDetail::LinalgElem<E>::Zero();
    const E one = qvDetail::LinalgElem<E>::One();
    int i = 0;
    int j = 0;
    qvDetail::ForEachInStep(
        [&](E& e) {
            e = i == j ? one : zero;
            if (++j == lineLen) j = 0, ++i;
        },
        qvDetail::RangeOf(*this));
}

template <class E>
void qvMatrix<E>::SelfTMulSelf(qvMatrix& r) const {
    const int n = lineLen;
    if (r.mem != nullptr && r.mem == mem) {
        // r views this matrix: build the product aside, then assign it.
        qvMatrix<E> t;
        SelfTMulSelf(t);
        r = t;
        return;
    }
    r.Init(n, n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            const E* a = data;
            E s = a[j * tabInLine] * a[i * tabInLine];
            for (int k = 1; k < columnLen; ++k) {
                a += tabInColumn;
                s = s + a[i * tabInLine] * a[j * tabInLine];
            }
            r(i, j) = s;
            r(j, i) = s;
        }
    }
}

// ---- solvers ----------------------------------------------------------------------

template <class E>
E qvMatrix<E>::Det() const {
    using L = qvDetail::LinalgElem<E>;
    if (columnLen != lineLen) throw BadParameters(qvMsg::DetNotSquare);
    const int n = columnLen;
    qvDetail::ScopedBlock<E*> rows(n);
    qvMatrix<E> w(n, n);
    w = *this;
    for (int i = 0; i < n; ++i) rows.p[i] = w.data + i * n;
    E det = L::Zero();
    int swaps = 0;
    const int steps = qvDetail::EliminateRows(rows.p, n, n, 1, static_cast<E**>(nullptr), &det, &swaps);
    if (steps < n) return L::Zero();
    return swaps % 2 != 0 ? -det : det;
}

template <class E>
qvMatrix<E> qvMatrix<E>::Inverse() const {
    qvMatrix<E> work(*this);
    return work.Inverse1();
}

template <class E>
qvMatrix<E> qvMatrix<E>::Inverse1() {
    using L = qvDetail::LinalgElem<E>;
    if (columnLen != lineLen) throw BadParameters(qvMsg::MatrixNotSquare);
    const int n = columnLen;
    qvDetail::ScopedBlock<E*> rows(n);
    // Each work row holds a row of the matrix followed by the matching row
    // of the unit matrix, so that the unit matrix rides along with every
    // exchange, scaling and update of the elimination.
    qvMatrix<E> aug(n, 2 * n);
    {
        const E zero = L::Zero();
        const E one = L::One();
        E* dst = aug.data;
        for (int i = 0; i < n; ++i, dst += 2 * n) {
            const E* src = data + i * tabInColumn;
            for (int j = 0; j < n; ++j) dst[j] = src[j * tabInLine];
            for (int j = 0; j < n; ++j) dst[n + j] = zero;
            dst[n + i] = one;
            rows.p[i] = dst;
        }
    }
    // The matrix itself is destroyed: only the work rows are needed now.
    MakeEmpty();
    int swaps = 0;
    qvDetail::EliminateRows(rows.p, n, 2 * n, 1, static_cast<E**>(nullptr), static_cast<E*>(nullptr), &swaps);
    qvMatrix<E> r(n, n);
    if constexpr (std::is_same<E, double>::value) {
        // The fast path of the loops below, bit-identical to them (see
        // cqv/linalg/dense_kernels_internal.h); it checks the pivots first.
        for (int i = n - 1; i >= 0; --i)
            if (L::IsZero(rows.p[i][i])) throw BadParameters(qvMsg::SystemNotUnique);
        qvDetail::InverseBackDouble(rows.p, n, r.data);
    } else {
        for (int i = n - 1; i >= 0; --i) {
            E* ri = r.data + i * n;
            const E* w = rows.p[i];
            for (int j = 0; j < n; ++j) ri[j] = w[n + j];
            for (int l = n - 1; l > i; --l) {
                const E f = w[l];
                const E* rl = r.data + l * n;
                for (int j = 0; j < n; ++j) ri[j] = ri[j] - rl[j] * f;
            }
            if (L::IsZero(w[i])) throw BadParameters(qvMsg::SystemNotUnique);
        }
    }
    return r;
}

template <class E>
void qvMatrix<E>::SolveEquationGaussMethod(qvColumnVector<E>& x, qvColumnVector<E>& b) {
    using L = qvDetail::LinalgElem<E>;
    const int n = columnLen;
    const int m = lineLen;
    if (b.Len() != n) throw BadParameters(qvMsg::DifferentSize);
    if (n > m) throw BadParameters(qvMsg::SystemNotCompatible);
    qvDetail::ScopedBlock<E*> rows(n);
    qvDetail::ScopedBlock<E*> comp(n);
    for (int i = 0; i < n; ++i) {
        rows.p[i] = data + i * tabInColumn;
        comp.p[i] = b.GetPointer() + i * b.Tab();
    }
    // x must not view the work space while it is written; such an x gets
    // the solution through an assignment at the end.
    const void* xm = x.GetMem();
    const bool aliased = (xm != nullptr && (xm == b.GetMem() || xm == mem)) ||
                         (x.GetPointer() != nullptr && x.GetPointer() == b.GetPointer());
    qvColumnVector<E> aside;
    qvColumnVector<E>& out = aliased && x.Len() == n ? aside : x;

    // Space-vector systems whose non-zero entries lie in a band, as those of
    // the Beta-spline curves do, are solved on their bands alone by the same
    // operations, with the same results (band_elimination_internal.h).
    bool banded = false;
    if constexpr (std::is_same<E, qvTVec3<double>>::value) {
        banded = qvDetail::SolveOnBand(rows.p, n, m, tabInLine, comp.p, [&](int& step) {
            out.Init(n);
            step = out.Tab();
            return out.GetPointer();
        });
    }
    if (!banded) {
        // x's storage is had before the work space changes, so that its
        // allocation failure leaves this matrix and b as they were.
        out.Init(n);
        int swaps = 0;
        qvDetail::EliminateRows(rows.p, n, m, tabInLine, comp.p, static_cast<E*>(nullptr), &swaps);
        E* xp = out.GetPointer();
        const int xt = out.Tab();
        for (int i = n - 1; i >= 0; --i) {
            const E* w = rows.p[i];
            E xi = *comp.p[i];
            for (int j = n - 1; j > i; --j) xi = xi - w[j * tabInLine] * xp[j * xt];
            xp[i * xt] = xi;
            if (L::IsZero(w[i * tabInLine])) throw BadParameters(qvMsg::SystemNotUnique);
        }
    }
    if (&out != &x) x = out;
}

#endif  // CQV_LINALG_MATRIX_IMPL_H
