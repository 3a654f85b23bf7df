// Member definitions of qvLUDecomposition<E>; included only by the library's
// sources that instantiate it. Not installed.
#ifndef CQV_LINALG_LU_DECOMPOSITION_IMPL_H
#define CQV_LINALG_LU_DECOMPOSITION_IMPL_H

#include <algorithm>
#include <type_traits>

#include "cqv/core/exceptions.h"
#include "cqv/linalg/dense_kernels_internal.h"
#include "cqv/linalg/lu_decomposition.h"
#include "cqv/linalg/lu_support_internal.h"
#include "cqv/linalg/matrix_impl.h"
#include "cqv/linalg/messages.h"

namespace qvDetail {

// The kernels of the factorisation on row-major blocks: element (i, j) of a
// block at p with rows ld apart is p[i·ld + j].

// Triangles and panels up to this order go element by element; larger ones
// are halved, and the halves meet in a matrix update.
constexpr int kLUSmall = kLUPanelWidth;

// c (m × n) −= a (m × k) · b (k × n).
template <class E>
void LUUpdate(const E* a, int lda, const E* b, int ldb, E* c, int ldc, int m, int n, int k) {
    if constexpr (std::is_same<E, double>::value) {
        MatMulSubDouble(a, lda, b, ldb, c, ldc, m, n, k);
    } else {
        using L = LUElem<E>;
        for (int i = 0; i < m; ++i) {
            E* ci = c + static_cast<long long>(i) * ldc;
            const E* ai = a + static_cast<long long>(i) * lda;
            for (int l = 0; l < k; ++l) {
                const E f = ai[l];
                const E* bl = b + static_cast<long long>(l) * ldb;
                for (int j = 0; j < n; ++j) ci[j] = L::SubMul(ci[j], f, bl[j]);
            }
        }
    }
}

// Σ a[i]·b[i] for i < n (not necessarily in index order).
template <class E>
E LUDot(const E* a, const E* b, int n) {
    if constexpr (std::is_same<E, double>::value) {
        return DotDouble(a, b, n);
    } else {
        E s = LUElem<E>::Zero();
        for (int i = 0; i < n; ++i) s = s + a[i] * b[i];
        return s;
    }
}

// row[j] −= f·src[j] for j < n.
template <class E>
inline void LUAxpy(E* row, const E& f, const E* src, int n) {
    for (int j = 0; j < n; ++j) row[j] = LUElem<E>::SubMul(row[j], f, src[j]);
}

// b (w × n) becomes L⁻¹·b for the unit lower triangle of l (w × w): the top
// half is solved, the bottom half loses the top half's share and is solved.
template <class E>
void SolveUnitLowerRows(const E* l, int ldl, E* b, int ldb, int w, int n) {
    if constexpr (std::is_same<E, double>::value) {
        if (w <= kLUSmall) {
            LUSolveUnitLowerDouble(l, ldl, b, ldb, w, n);
            return;
        }
    }
    if (w <= kLUSmall) {
        for (int i = 1; i < w; ++i) {
            E* bi = b + static_cast<long long>(i) * ldb;
            const E* li = l + static_cast<long long>(i) * ldl;
            for (int r = 0; r < i; ++r) LUAxpy(bi, li[r], b + static_cast<long long>(r) * ldb, n);
        }
        return;
    }
    const int h = w / 2;
    SolveUnitLowerRows(l, ldl, b, ldb, h, n);
    LUUpdate(l + static_cast<long long>(h) * ldl, ldl, b, ldb, b + static_cast<long long>(h) * ldb, ldb, w - h, n, h);
    SolveUnitLowerRows(l + static_cast<long long>(h) * ldl + h, ldl, b + static_cast<long long>(h) * ldb, ldb, w - h,
                       n);
}

// b (w × n) becomes U⁻¹·b for the upper triangle of u (w × w), each row
// divided by its pivot: the bottom half first, then the top half.
template <class E>
void SolveUpperRows(const E* u, int ldu, E* b, int ldb, int w, int n) {
    if (w <= kLUSmall) {
        for (int i = w - 1; i >= 0; --i) {
            E* bi = b + static_cast<long long>(i) * ldb;
            const E* ui = u + static_cast<long long>(i) * ldu;
            for (int r = i + 1; r < w; ++r) LUAxpy(bi, ui[r], b + static_cast<long long>(r) * ldb, n);
            const E p = ui[i];
            for (int j = 0; j < n; ++j) bi[j] = LUElem<E>::Div(bi[j], p);
        }
        return;
    }
    const int h = w / 2;
    E* bottom = b + static_cast<long long>(h) * ldb;
    SolveUpperRows(u + static_cast<long long>(h) * ldu + h, ldu, bottom, ldb, w - h, n);
    LUUpdate(u + h, ldu, bottom, ldb, b, ldb, h, n, w - h);
    SolveUpperRows(u, ldu, b, ldb, h, n);
}

// The pivot search of column j from row j down: the first element of
// largest magnitude (NaN never wins). Exchanges whole rows when it is not
// on the diagonal and records the exchange in piv[j].
template <class E>
void PivotColumn(E* a, int ld, int n, int j, int* piv) {
    using L = LUElem<E>;
    E* aj = a + static_cast<long long>(j) * ld;
    int p = j;
    double best = L::Abs1(aj[j]);
    for (int i = j + 1; i < n; ++i) {
        const double v = L::Abs1(a[static_cast<long long>(i) * ld + j]);
        if (v > best) {
            best = v;
            p = i;
        }
    }
    piv[j] = p;
    if (p != j) std::swap_ranges(aj, aj + n, a + static_cast<long long>(p) * ld);
}

// Columns [c0, c1) of the n × n block a, rows c0 and below, whose columns
// left of c0 are factorised and whose part right of c0 has been updated by
// them: factorised element by element, each row exchange made on whole rows
// and recorded in piv. Returns whether a pivot was exactly zero.
template <class E>
bool FactorPanel(E* a, int ld, int n, int c0, int c1, int* piv) {
    using L = LUElem<E>;
    bool zero = false;
    for (int j = c0; j < c1; ++j) {
        PivotColumn(a, ld, n, j, piv);
        const E* aj = a + static_cast<long long>(j) * ld;
        const E pivot = aj[j];
        if (L::IsZero(pivot)) {
            zero = true;  // the column is zero from here down: nothing to eliminate
            continue;
        }
        for (int i = j + 1; i < n; ++i) {
            E* ai = a + static_cast<long long>(i) * ld;
            const E m = L::Div(ai[j], pivot);
            ai[j] = m;
            LUAxpy(ai + j + 1, m, aj + j + 1, c1 - j - 1);
        }
    }
    return zero;
}

// Columns [c0, c1) as FactorPanel, by halves: the left half (a multiple of
// kLUSmall columns, so that panels have that width but for the last) is
// factorised, the right half's rows beside its pivots solved with its unit
// lower triangle (they become rows of U) and the rows below updated, and
// then the right half is factorised.
template <class E>
bool FactorColumns(E* a, int ld, int n, int c0, int c1, int* piv, E* work) {
    const int w = c1 - c0;
    if (w <= kLUSmall) {
        if constexpr (std::is_same<E, double>::value) {
            if (w == kLUPanelWidth) return LUPanelDouble(a, ld, n, c0, piv, work);
        }
        return FactorPanel(a, ld, n, c0, c1, piv);
    }
    const int mid = c0 + (w / 2 + kLUSmall - 1) / kLUSmall * kLUSmall;
    bool zero = FactorColumns(a, ld, n, c0, mid, piv, work);
    E* top = a + static_cast<long long>(c0) * ld;
    E* below = a + static_cast<long long>(mid) * ld;
    SolveUnitLowerRows(top + c0, ld, top + mid, ld, mid - c0, c1 - mid);
    LUUpdate(below + c0, ld, top + mid, ld, below + mid, ld, n - mid, c1 - mid, mid - c0);
    if (FactorColumns(a, ld, n, mid, c1, piv, work)) zero = true;
    return zero;
}

// Row distance of the factors of order n: rows whose length is a multiple
// of 512 bytes would all fall into the same few cache sets when a column is
// walked, so such rows get a little room behind them.
template <class E>
int LURowDistance(int n) {
    const long long bytes = static_cast<long long>(n) * static_cast<long long>(sizeof(E));
    return bytes >= 512 && bytes % 512 == 0 ? n + static_cast<int>(64 / sizeof(E)) : n;
}

}  // namespace qvDetail

// ---- factorising --------------------------------------------------------------

template <class E>
qvLUDecomposition<E>::qvLUDecomposition() : n(0), singular(false), finite(true), norm1(0.0), rcond(1.0) {}

template <class E>
qvLUDecomposition<E>::qvLUDecomposition(const qvMatrix<E>& a)
    : n(0), singular(false), finite(true), norm1(0.0), rcond(1.0) {
    Set(a);
}

template <class E>
qvLUDecomposition<E>::qvLUDecomposition(const qvLUDecomposition& f)
    : lu(f.lu), piv(f.piv), n(f.n), singular(f.singular), finite(f.finite), norm1(f.norm1), rcond(f.rcond) {}

template <class E>
qvLUDecomposition<E>& qvLUDecomposition<E>::operator=(const qvLUDecomposition& f) {
    if (&f == this) return *this;
    qvSimpleArray<int> p(f.piv);
    // A window on f's factors: an assignment of the elements would write
    // into the block this factorisation may share with others.
    lu.Set(f.lu, 0, 0, f.lu.ColumnLen(), f.lu.LineLen());
    piv.Move(p);
    n = f.n;
    singular = f.singular;
    finite = f.finite;
    norm1 = f.norm1;
    rcond = f.rcond;
    return *this;
}

template <class E>
qvLUDecomposition<E>::~qvLUDecomposition() {}

template <class E>
void qvLUDecomposition<E>::Set(const qvMatrix<E>& a) {
    using L = qvDetail::LUElem<E>;
    const int order = a.ColumnLen();
    if (a.LineLen() != order) throw BadParameters(qvMsg::LUNotSquare);
    if (order == 0) {
        lu.Set(0, 0);
        piv.RemoveAll();
        n = 0;
        singular = false;
        finite = true;
        norm1 = 0.0;
        rcond = 1.0;
        return;
    }
    // Everything is built aside first, so that a failed allocation leaves
    // this factorisation as it was.
    const int ld = qvDetail::LURowDistance<E>(order);
    qvMatrix<E> block(order, ld);
    qvSimpleArray<int> p(order);
    {
        E* dst = block.GetPointer();
        const int step = a.TabInLine();
        for (int i = 0; i < order; ++i, dst += ld) {
            const E* src = &a(i, 0);
            if (step == 1) {
                std::copy(src, src + order, dst);
            } else {
                for (int j = 0; j < order; ++j) dst[j] = src[static_cast<long long>(j) * step];
            }
        }
    }
    // ||A||₁: the column sums, eight columns at a time down the copy.
    double norm = 0.0;
    for (int j0 = 0; j0 < order; j0 += 8) {
        double sum[8] = {};
        const E* row = block.GetPointer() + j0;
        if (order - j0 >= 8) {
            for (int i = 0; i < order; ++i, row += ld)
                for (int q = 0; q < 8; ++q) sum[q] += L::Modulus(row[q]);
        } else {
            for (int i = 0; i < order; ++i, row += ld)
                for (int q = 0; q < order - j0; ++q) sum[q] += L::Modulus(row[q]);
        }
        for (int q = 0; q < 8 && j0 + q < order; ++q)
            if (!(sum[q] <= norm)) norm = sum[q];  // a NaN sum wins
    }
    qvDetail::ScopedBlock<E> work(order);
    const bool zero = qvDetail::FactorColumns(block.GetPointer(), ld, order, 0, order, p.GetPointer(), work.p);
    lu.Set(block, 0, 0, order, order);
    piv.Move(p);
    n = order;
    singular = zero;
    finite = std::isfinite(norm);
    norm1 = norm;
    rcond = -1.0;
}

// ---- solving ------------------------------------------------------------------

template <class E>
void qvLUDecomposition<E>::RequireRegular() const {
    if (singular) throw BadParameters(qvMsg::LUSingular);
}

template <class E>
void qvLUDecomposition<E>::SolveInPlace(E* x) const {
    using L = qvDetail::LUElem<E>;
    const E* f = lu.GetPointer();
    const int ld = lu.TabInColumn();
    for (int k = 0; k < n; ++k)
        if (piv[k] != k) std::swap(x[k], x[piv[k]]);
    if constexpr (std::is_same<E, double>::value) {
        qvDetail::LUSubstituteDouble(f, ld, n, x);
        return;
    }
    for (int i = 1; i < n; ++i) x[i] = x[i] - qvDetail::LUDot(f + static_cast<long long>(i) * ld, x, i);
    for (int i = n - 1; i >= 0; --i) {
        const E* ui = f + static_cast<long long>(i) * ld;
        x[i] = L::Div(x[i] - qvDetail::LUDot(ui + i + 1, x + i + 1, n - i - 1), ui[i]);
    }
}

template <class E>
void qvLUDecomposition<E>::SolveAdjointInPlace(E* x) const {
    using L = qvDetail::LUElem<E>;
    const E* f = lu.GetPointer();
    const int ld = lu.TabInColumn();
    // Uᴴ·w = x, forward: each finished unknown leaves the later equations.
    for (int k = 0; k < n; ++k) {
        const E* uk = f + static_cast<long long>(k) * ld;
        x[k] = L::Div(x[k], L::Conj(uk[k]));
        const E w = x[k];
        for (int j = k + 1; j < n; ++j) x[j] = L::SubMul(x[j], L::Conj(uk[j]), w);
    }
    // Lᴴ·v = w, backward, then the exchanges in reverse order.
    for (int k = n - 1; k > 0; --k) {
        const E* lk = f + static_cast<long long>(k) * ld;
        const E v = x[k];
        for (int j = 0; j < k; ++j) x[j] = L::SubMul(x[j], L::Conj(lk[j]), v);
    }
    for (int k = n - 1; k >= 0; --k)
        if (piv[k] != k) std::swap(x[k], x[piv[k]]);
}

template <class E>
void qvLUDecomposition<E>::SolveRowsInPlace(E* b, int cols) const {
    const E* f = lu.GetPointer();
    const int ld = lu.TabInColumn();
    for (int k = 0; k < n; ++k)
        if (piv[k] != k)
            std::swap_ranges(b + static_cast<long long>(k) * cols, b + static_cast<long long>(k + 1) * cols,
                             b + static_cast<long long>(piv[k]) * cols);
    qvDetail::SolveUnitLowerRows(f, ld, b, cols, n, cols);
    qvDetail::SolveUpperRows(f, ld, b, cols, n, cols);
}

template <class E>
void qvLUDecomposition<E>::Solve(qvColumnVector<E>& x, const qvColumnVector<E>& b) const {
    if (b.Len() != n) throw BadParameters(qvMsg::LUDifferentSize);
    RequireRegular();
    if (n == 0) {
        x.Set(0);
        return;
    }
    // The solution is made aside (on the stack for small orders), so that
    // x may be b and is untouched when the solve throws.
    constexpr int kOnStack = 256;
    E local[kOnStack];
    qvDetail::ScopedBlock<E> far(n > kOnStack ? n : 1);
    E* w = n > kOnStack ? far.p : local;
    const E* bp = b.GetPointer();
    const int bt = b.Tab();
    for (int i = 0; i < n; ++i) w[i] = bp[static_cast<long long>(i) * bt];
    SolveInPlace(w);
    if (finite && !qvDetail::AllFinite(w, n, 1) && qvDetail::AllFinite(bp, n, bt))
        throw BadParameters(qvMsg::LUSingular);
    x.Init(n);
    E* xp = x.GetPointer();
    const int xt = x.Tab();
    for (int i = 0; i < n; ++i) xp[static_cast<long long>(i) * xt] = w[i];
}

template <class E>
void qvLUDecomposition<E>::Solve(qvMatrix<E>& X, const qvMatrix<E>& B) const {
    const int cols = B.LineLen();
    if (B.ColumnLen() != n && cols != 0) throw BadParameters(qvMsg::LUDifferentSize);
    if (cols == 0) {
        X.Init(0, 0);
        return;
    }
    RequireRegular();
    qvMatrix<E> work(n, cols);
    work = B;
    SolveRowsInPlace(work.GetPointer(), cols);
    if (finite && !qvDetail::AllFinite(work.GetPointer(), n * cols, 1)) {
        bool rhsFinite = true;
        for (int i = 0; i < n && rhsFinite; ++i) rhsFinite = qvDetail::AllFinite(&B(i, 0), cols, B.TabInLine());
        if (rhsFinite) throw BadParameters(qvMsg::LUSingular);
    }
    X = work;
}

template <class E>
qvMatrix<E> qvLUDecomposition<E>::Inverse() const {
    RequireRegular();
    qvMatrix<E> r(n, n);
    if (n == 0) return r;
    r.SetE();
    SolveRowsInPlace(r.GetPointer(), n);
    if (finite && !qvDetail::AllFinite(r.GetPointer(), n * n, 1)) throw BadParameters(qvMsg::LUSingular);
    return r;
}

// ---- determinant and condition ------------------------------------------------

namespace qvDetail {

// The determinant of a dense factorisation: U's diagonal and the exchanges.
template <class E>
ScaledProduct<E> LUDeterminant(const qvMatrix<E>& f, int n, const int* piv) {
    return PivotProduct<E>(n, [&f](int k) { return f(k, k); }, piv);
}

}  // namespace qvDetail

template <class E>
E qvLUDecomposition<E>::Det() const {
    return qvDetail::LUDeterminant(lu, n, piv.GetPointer()).Value();
}

template <class E>
E qvLUDecomposition<E>::DetSign() const {
    return qvDetail::LUDeterminant(lu, n, piv.GetPointer()).Sign();
}

template <class E>
double qvLUDecomposition<E>::LogAbsDet() const {
    return qvDetail::LUDeterminant(lu, n, piv.GetPointer()).LogAbs();
}

template <class E>
double qvLUDecomposition<E>::RCond() const {
    if (rcond < 0.0) {
        qvDetail::ScopedBlock<E> work(2 * n);
        rcond = qvDetail::ReciprocalCondition<E>(
            n, norm1, !singular, [this](E* x) { SolveInPlace(x); }, [this](E* x) { SolveAdjointInPlace(x); },
            work.p);
    }
    return rcond;
}

// ---- the factors --------------------------------------------------------------

template <class E>
qvMatrix<E> qvLUDecomposition<E>::GetL() const {
    using L = qvDetail::LUElem<E>;
    qvMatrix<E> r(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) r(i, j) = j < i ? lu(i, j) : (j == i ? L::One() : L::Zero());
    return r;
}

template <class E>
qvMatrix<E> qvLUDecomposition<E>::GetU() const {
    qvMatrix<E> r(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) r(i, j) = j >= i ? lu(i, j) : qvDetail::LUElem<E>::Zero();
    return r;
}

#endif  // CQV_LINALG_LU_DECOMPOSITION_IMPL_H
