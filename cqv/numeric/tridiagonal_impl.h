// Member definitions of qvMatrix3Diag<E>; included only by the library's
// sources that instantiate it. Not installed.
#ifndef CQV_NUMERIC_TRIDIAGONAL_IMPL_H
#define CQV_NUMERIC_TRIDIAGONAL_IMPL_H

#include <algorithm>

#include "cqv/core/exceptions.h"
#include "cqv/core/record_internal.h"
#include "cqv/numeric/messages.h"
#include "cqv/linalg/element_ops_internal.h"
#include "cqv/linalg/matrix_impl.h"
#include "cqv/linalg/vector_impl.h"
#include "cqv/numeric/tridiagonal.h"

namespace qvDetail {

// The sweep for one right-hand side, on strided runs: up and dn hold n - 1
// elements, dg, f and x hold n (n ≥ 2), each with its own stride. ab is work
// space of 2(n - 1) elements holding alpha[i] and beta[i] side by side.
//
//   alpha[0] = -Up[0] / Diag[0],  beta[0] = f[0] / Diag[0]
//   den      = Down[i-1]·alpha[i-1] + Diag[i]
//   alpha[i] = -Up[i] / den,      beta[i] = (f[i] - Down[i-1]·beta[i-1]) / den
//   x[n-1]   = (f[n-1] - Down[n-2]·beta[n-2]) / (Down[n-2]·alpha[n-2] + Diag[n-1])
//   x[i]     = x[i+1]·alpha[i] + beta[i]
//
// Every element of f is read before the first element of x is written, so x
// may be f itself.
template <class E>
void SweepRun(int n, const E* up, int ut, const E* dg, int dt, const E* dn, int nt, const E* f, int ft, E* x, int xt,
              E* ab) {
    E alpha = -*up / *dg;
    E beta = *f / *dg;
    ab[0] = alpha;
    ab[1] = beta;
    for (int i = 1; i < n - 1; ++i) {
        up += ut;
        dg += dt;
        f += ft;
        const E lower = *dn;
        dn += nt;
        const E den = lower * alpha + *dg;
        alpha = -*up / den;
        beta = (*f - lower * beta) / den;
        ab[2 * i] = alpha;
        ab[2 * i + 1] = beta;
    }
    dg += dt;
    f += ft;
    const E lower = *dn;
    E xi = (*f - lower * beta) / (lower * alpha + *dg);
    x += (n - 1) * xt;
    *x = xi;
    for (int i = n - 2; i >= 0; --i) {
        xi = xi * ab[2 * i] + ab[2 * i + 1];
        x -= xt;
        *x = xi;
    }
}

// out(i, j) = (A·m)(i, j) for the tridiagonal A of order n ≥ 1 given by its
// diagonals and the n × c matrix m with m(i, j) at m[i·mRow + j·mCol]; out(i,
// j) is written at out[i·oRow + j·oCol]. Each element takes the off-band
// terms first, then the diagonal one:
//
//   row 0:        m(1, j)·Up[0] + m(0, j)·Diag[0]
//   row i:        m(i-1, j)·Down[i-1] + m(i+1, j)·Up[i] + m(i, j)·Diag[i]
//   row n-1:      m(n-2, j)·Down[n-2] + m(n-1, j)·Diag[n-1]
//   order 1:      m(0, j)·Diag[0]
template <class E>
void BandTimes(const qvVector<E>& up, const qvVector<E>& diag, const qvVector<E>& down, const E* m, int mRow,
               int mCol, int c, E* out, int oRow, int oCol) {
    const int n = diag.Len();
    for (int i = 0; i < n; ++i) {
        const E* mi = m + i * mRow;
        E* o = out + i * oRow;
        const E d = diag[i];
        if (n == 1) {
            for (int j = 0; j < c; ++j) o[j * oCol] = mi[j * mCol] * d;
        } else if (i == 0) {
            const E* below = mi + mRow;
            const E u = up[0];
            for (int j = 0; j < c; ++j) o[j * oCol] = below[j * mCol] * u + mi[j * mCol] * d;
        } else if (i == n - 1) {
            const E* above = mi - mRow;
            const E l = down[i - 1];
            for (int j = 0; j < c; ++j) o[j * oCol] = above[j * mCol] * l + mi[j * mCol] * d;
        } else {
            const E* above = mi - mRow;
            const E* below = mi + mRow;
            const E l = down[i - 1];
            const E u = up[i];
            for (int j = 0; j < c; ++j) o[j * oCol] = above[j * mCol] * l + below[j * mCol] * u + mi[j * mCol] * d;
        }
    }
}

// The dense n × n matrix A ± m: m (or -m) with the band replaced by
// op(A(i, j), m(i, j)).
template <class E, class Op>
qvMatrix<E> BandWithDense(const qvMatrix3Diag<E>& a, const qvMatrix<E>& m, qvMatrix<E> r, Op op) {
    const int n = a.LineLen();
    const qvVector<E>& up = a.Up();
    const qvVector<E>& diag = a.Diag();
    const qvVector<E>& down = a.Down();
    for (int i = 0; i < n - 1; ++i) {
        r(i, i + 1) = op(up[i], m(i, i + 1));
        r(i, i) = op(diag[i], m(i, i));
        r(i + 1, i) = op(down[i], m(i + 1, i));
    }
    if (n > 0) r(n - 1, n - 1) = op(diag[n - 1], m(n - 1, n - 1));
    return r;
}

}  // namespace qvDetail

// ---- storage -------------------------------------------------------------------

template <class E>
qvMatrix3Diag<E>::qvMatrix3Diag(int n) : up(n - 1), diag(n), down(n - 1) {}

template <class E>
qvMatrix3Diag<E>::qvMatrix3Diag(const qvVector<E>& u, const qvVector<E>& d, const qvVector<E>& l)
    : up(u), diag(d), down(l) {}

template <class E>
qvMatrix3Diag<E>::qvMatrix3Diag(const qvMatrix<E>& m) {
    const int k = std::min(m.ColumnLen(), m.LineLen());
    if (k == 0) return;
    // Row 0 and column 0 of m are windows whose elements 1 are m(0, 1) and
    // m(1, 0); one step along a diagonal is one row down and one column on.
    const int step = m.TabInColumn() + m.TabInLine();
    qvLineVector<E> row0;
    qvColumnVector<E> column0;
    m.GetLine(row0, 0);
    m.GetColumn(column0, 0);
    up.Set(row0, 1, k - 1, step);
    diag.Set(column0, 0, k, step);
    down.Set(column0, 1, k - 1, step);
}

template <class E>
qvMatrix3Diag<E>& qvMatrix3Diag<E>::operator=(const qvMatrix3Diag& b) {
    up = b.up;
    diag = b.diag;
    down = b.down;
    return *this;
}

template <class E>
void qvMatrix3Diag<E>::Init(int n) {
    if (n != diag.Len()) Set(n);
}

template <class E>
void qvMatrix3Diag<E>::Set(int n) {
    // The old storage goes first; an order below 1 then throws on Up.
    up.Clear();
    diag.Clear();
    down.Clear();
    up.Set(n - 1);
    diag.Set(n);
    down.Set(n - 1);
}

template <class E>
void qvMatrix3Diag<E>::Set(const qvMatrix3Diag& b, int start, int len) {
    up.Set(b.up, start, len - 1);
    diag.Set(b.diag, start, len);
    down.Set(b.down, start, len - 1);
}

template <class E>
void qvMatrix3Diag<E>::Move(qvMatrix3Diag& b) {
    if (&b == this) return;
    up.Move(b.up);
    diag.Move(b.diag);
    down.Move(b.down);
}

template <class E>
void qvMatrix3Diag<E>::Copy() {
    up.Copy();
    diag.Copy();
    down.Copy();
}

template <class E>
void qvMatrix3Diag<E>::Fill(const E& v) {
    const E x = v;  // v may be one of the elements
    up.Fill(x);
    diag.Fill(x);
    down.Fill(x);
}

template <class E>
qvMatrix3Diag<E> qvMatrix3Diag<E>::T() const {
    return qvMatrix3Diag(down, diag, up);
}

template <class E>
qvMatrix<E> qvMatrix3Diag<E>::GetMatrix() const {
    const int n = diag.Len();
    qvMatrix<E> r(n, n);
    r.SetE();  // zeros off the diagonal; the diagonal is overwritten next
    for (int i = 0; i < n; ++i) r(i, i) = diag[i];
    for (int i = 0; i + 1 < n; ++i) {
        r(i, i + 1) = up[i];
        r(i + 1, i) = down[i];
    }
    return r;
}

template <class E>
qvMatrix3Diag<E> qvMatrix3Diag<E>::PrivateCopy() const {
    qvMatrix3Diag r(*this);
    r.Copy();
    return r;
}

// ---- element access and arithmetic ------------------------------------------------

template <class E>
E& qvMatrix3Diag<E>::operator()(int i, int j) const {
    if (j == i) return diag[i];
    if (j == i + 1) return up[i];
    if (i == j + 1) return down[j];
    throw BadParameters(qvMsg::Matrix3DiagOutOfRange);
}

// The scalar operators act on the stored elements only; s is read once, as
// it may be one of them.
#define CQV_3DIAG_SCALAR_OPS(OP)                                      \
    template <class E>                                                \
    void qvMatrix3Diag<E>::operator OP##=(const E& s) {               \
        const E x = s;                                                \
        up OP##= x;                                                   \
        diag OP##= x;                                                 \
        down OP##= x;                                                 \
    }                                                                 \
    template <class E>                                                \
    qvMatrix3Diag<E> qvMatrix3Diag<E>::operator OP(const E& s) const { \
        qvMatrix3Diag r = PrivateCopy();                              \
        r OP##= s;                                                    \
        return r;                                                     \
    }

CQV_3DIAG_SCALAR_OPS(+)
CQV_3DIAG_SCALAR_OPS(-)
CQV_3DIAG_SCALAR_OPS(*)
CQV_3DIAG_SCALAR_OPS(/)
#undef CQV_3DIAG_SCALAR_OPS

template <class E>
void qvMatrix3Diag<E>::operator+=(const qvMatrix3Diag& b) {
    up += b.up;
    diag += b.diag;
    down += b.down;
}

template <class E>
void qvMatrix3Diag<E>::operator-=(const qvMatrix3Diag& b) {
    up -= b.up;
    diag -= b.diag;
    down -= b.down;
}

template <class E>
qvMatrix3Diag<E> qvMatrix3Diag<E>::operator+(const qvMatrix3Diag& b) const {
    qvMatrix3Diag r = PrivateCopy();
    r += b;
    return r;
}

template <class E>
qvMatrix3Diag<E> qvMatrix3Diag<E>::operator-(const qvMatrix3Diag& b) const {
    qvMatrix3Diag r = PrivateCopy();
    r -= b;
    return r;
}

template <class E>
qvMatrix3Diag<E> qvMatrix3Diag<E>::operator-() const {
    qvMatrix3Diag r = PrivateCopy();
    const auto negate = [](E& e) { e = -e; };
    for (const qvVector<E>* v : {&r.up, &r.diag, &r.down}) qvDetail::ForEachInStep(negate, qvDetail::RangeOf(*v));
    return r;
}

template <class E>
qvMatrix<E> qvMatrix3Diag<E>::operator+(const qvMatrix<E>& m) const {
    const int n = diag.Len();
    if (m.ColumnLen() != n || m.LineLen() != n) throw BadParameters(qvMsg::DifferentSize);
    qvMatrix<E> start(n, n);
    start = m;
    return qvDetail::BandWithDense(*this, m, start, [](const E& a, const E& b) { return a + b; });
}

template <class E>
qvMatrix<E> qvMatrix3Diag<E>::operator-(const qvMatrix<E>& m) const {
    const int n = diag.Len();
    if (m.ColumnLen() != n || m.LineLen() != n) throw BadParameters(qvMsg::DifferentSize);
    return qvDetail::BandWithDense(*this, m, -m, [](const E& a, const E& b) { return a - b; });
}

template <class E>
qvMatrix<E> qvMatrix3Diag<E>::operator*(const qvMatrix<E>& m) const {
    const int n = diag.Len();
    if (m.ColumnLen() != n) throw BadParameters(qvMsg::DifferentSize);
    const int c = m.LineLen();
    qvMatrix<E> r(n, c);
    if (n > 0) qvDetail::BandTimes(up, diag, down, m.GetPointer(), m.TabInColumn(), m.TabInLine(), c, r.GetPointer(), c, 1);
    return r;
}

template <class E>
qvMatrix<E> qvMatrix3Diag<E>::operator*(const qvMatrix3Diag& b) const {
    const int n = diag.Len();
    if (b.diag.Len() != n) throw BadParameters(qvMsg::DifferentSize);
    const qvMatrix<E> a = GetMatrix();
    qvMatrix<E> r(n, n);
    if (n == 0) return r;
    // Element (i, j) of A·B is element (j, i) of Bᵀ·Aᵀ: the band of Bᵀ
    // applied to the transposed dense A, written back transposed. Row i of
    // A meets column j of B in A(i, j-1)·Up_B[j-1], A(i, j+1)·Down_B[j] and
    // A(i, j)·Diag_B[j], summed in that order.
    qvDetail::BandTimes(b.down, b.diag, b.up, a.GetPointer(), a.TabInLine(), a.TabInColumn(), n, r.GetPointer(), 1,
                        n);
    return r;
}

template <class E>
qvColumnVector<E> qvMatrix3Diag<E>::operator*(const qvColumnVector<E>& x) const {
    const int n = diag.Len();
    if (x.Len() != n) throw BadParameters(qvMsg::DifferentLength);
    qvColumnVector<E> y(n);
    // A one-column product. In rows 0 and n-1 its two terms come in the
    // other order (Diag first); a sum of two terms is the same either way.
    qvDetail::BandTimes(up, diag, down, x.GetPointer(), x.Tab(), 0, 1, y.GetPointer(), 1, 0);
    return y;
}

// ---- solvers ----------------------------------------------------------------------

template <class E>
void qvMatrix3Diag<E>::SolveEquationChaserMethod(qvColumnVector<E>& x, const qvColumnVector<E>& f) const {
    const int n = diag.Len();
    if (f.Len() != n) throw BadParameters(qvMsg::DifferentSize);
    // alpha and beta; an order below 2 leaves them no element and throws.
    qvDetail::ScopedBlock<E> work(2 * (n - 1));
    x.Init(n);
    qvDetail::SweepRun(n, up.GetPointer(), up.Tab(), diag.GetPointer(), diag.Tab(), down.GetPointer(), down.Tab(),
                       f.GetPointer(), f.Tab(), x.GetPointer(), x.Tab(), work.p);
}

template <class E>
void qvMatrix3Diag<E>::SolveEquationChaserMethod(qvMatrix<E>& X, const qvMatrix<E>& F) const {
    const int n = diag.Len();
    const int rows = F.ColumnLen();
    const int cols = F.LineLen();
    // X takes F's size before the first column is swept, and so before that
    // sweep's checks. (X may be F itself: its size is then already right.)
    X.Init(rows, cols);
    if (cols == 0) return;
    if (rows != n) throw BadParameters(qvMsg::DifferentSize);
    // One work space serves every column.
    qvDetail::ScopedBlock<E> work(2 * (n - 1));
    for (int j = 0; j < cols; ++j)
        qvDetail::SweepRun(n, up.GetPointer(), up.Tab(), diag.GetPointer(), diag.Tab(), down.GetPointer(),
                           down.Tab(), &F(0, j), F.TabInColumn(), &X(0, j), X.TabInColumn(), work.p);
}

template <class E>
void qvMatrix3Diag<E>::SolveEquationFactorizeMethod(const qvVector<E>& e, const qvVector<E>& g,
                                                    qvColumnVector<E>& x, const qvColumnVector<E>& f) const {
    const int n = diag.Len();
    if (f.Len() != n) throw BadParameters(qvMsg::DifferentSize);
    if (n < 3) throw BadParameters(qvMsg::Matrix3DiagSizeBelowThree);
    // d: the n pivots; u: the n - 1 elements of the updated superdiagonal.
    qvDetail::ScopedBlock<E> work(2 * n - 1);
    E* d = work.p;
    E* u = work.p + n;
    x.Init(n);
    // Forward elimination; x holds the transformed right-hand side. Each
    // f[i] is read before x[i] is written, so x may be f itself.
    d[0] = diag[0];
    u[0] = up[0];
    x[0] = f[0];
    E l = down[0] / d[0];
    d[1] = diag[1] - l * u[0];
    u[1] = up[1] - l * e[0];
    x[1] = f[1] - l * x[0];
    for (int i = 2; i <= n - 2; ++i) {
        const E m = g[i - 2] / d[i - 2];
        l = (down[i - 1] - m * u[i - 2]) / d[i - 1];
        d[i] = diag[i] - l * u[i - 1] - m * e[i - 2];
        u[i] = up[i] - l * e[i - 1];
        x[i] = f[i] - l * x[i - 1] - m * x[i - 2];
    }
    {
        const E m = g[n - 3] / d[n - 3];
        l = (down[n - 2] - m * u[n - 3]) / d[n - 2];
        d[n - 1] = diag[n - 1] - l * u[n - 2] - m * e[n - 3];
        x[n - 1] = f[n - 1] - l * x[n - 2] - m * x[n - 3];
    }
    // Back substitution.
    x[n - 1] = x[n - 1] / d[n - 1];
    x[n - 2] = (x[n - 2] - x[n - 1] * u[n - 2]) / d[n - 2];
    for (int i = n - 3; i >= 0; --i) x[i] = (x[i] - x[i + 1] * u[i] - e[i] * x[i + 2]) / d[i];
}

template <class E>
void qvMatrix3Diag<E>::SolveEquationCycleChaserMethod(qvColumnVector<E>& x, const qvColumnVector<E>& f, const E& a,
                                                      const E& b) const {
    const int n = diag.Len();
    if (n < 3 || f.Len() != n) throw BadParameters(qvMsg::DifferentSize);
    const E ca = a;  // the corners may be elements of x
    const E cb = b;
    x.Init(n);
    // The leading block of order n - 1 solved for the right-hand side (u,
    // straight into x) and for the part of the last column above the corner
    // (w).
    qvMatrix3Diag lead;
    lead.Set(*this, 0, n - 1);
    qvColumnVector<E> u, fLead, w;
    u.Set(x, 0, n - 1);
    fLead.Set(f, 0, n - 1);
    lead.SolveEquationChaserMethod(u, fLead);
    qvColumnVector<E> p(n - 1);
    p.Fill(qvDetail::LinalgElem<E>::Zero());
    p[0] = ca;
    p[n - 2] = up[n - 2];
    lead.SolveEquationChaserMethod(w, p);
    // The closing row gives the last unknown; the others are corrected.
    x[n - 1] = (f[n - 1] - u[0] * cb - down[n - 2] * u[n - 2]) / (diag[n - 1] - down[n - 2] * w[n - 2] - cb * w[0]);
    const E last = x[n - 1];
    for (int i = 0; i < n - 1; ++i) u[i] = u[i] - last * w[i];
}

template <class E>
void qvMatrix3Diag<E>::SolveEquationCycleFactorizeMethod(const qvVector<E>& e, const qvVector<E>& g, const E& c1,
                                                         const E& c2, const E& c3, const E& c4, const E& c5,
                                                         const E& c6, qvColumnVector<E>& x,
                                                         const qvColumnVector<E>& f) const {
    const int n = diag.Len();
    if (n < 3 || f.Len() != n) throw BadParameters(qvMsg::DifferentSize);
    if (n - 2 < 3) throw BadParameters(qvMsg::Matrix3DiagSizeBelowThree);
    const E k1 = c1, k2 = c2, k3 = c3, k4 = c4, k5 = c5, k6 = c6;  // may be elements of x
    x.Init(n);
    const int m = n - 2;
    const E zero = qvDetail::LinalgElem<E>::Zero();
    // The leading block of order m with its outer diagonals, solved for the
    // right-hand side (u, straight into x), for column n-1 (w1) and for
    // column n-2 (w2), each restricted to the first m rows.
    qvMatrix3Diag lead;
    lead.Set(*this, 0, m);
    qvVector<E> eLead, gLead;
    eLead.Set(e, 0, m - 2);
    gLead.Set(g, 0, m - 2);
    qvColumnVector<E> u, fLead, w1, w2;
    u.Set(x, 0, m);
    fLead.Set(f, 0, m);
    lead.SolveEquationFactorizeMethod(eLead, gLead, u, fLead);
    qvColumnVector<E> p(m);
    p.Fill(zero);
    p[0] = k1;
    p[1] = k4;
    p[n - 3] = e[n - 3];
    lead.SolveEquationFactorizeMethod(eLead, gLead, w1, p);
    qvColumnVector<E> q(m);
    q.Fill(zero);
    q[0] = k3;
    q[n - 4] = e[n - 4];
    q[n - 3] = up[n - 3];
    lead.SolveEquationFactorizeMethod(eLead, gLead, w2, q);

    // Rows n-2 and n-1 with x[0 .. m-1] = u - x[n-2]·w2 - x[n-1]·w1
    // substituted: two equations in x[n-2] and x[n-1].
    qvMatrix<E> s(2, 2);
    qvColumnVector<E> r(2);
    s(0, 0) = diag[n - 2] - (g[n - 4] * w2[n - 4] + down[n - 3] * w2[n - 3] + k5 * w2[0]);
    s(0, 1) = up[n - 2] - (g[n - 4] * w1[n - 4] + down[n - 3] * w1[n - 3] + k5 * w1[0]);
    r[0] = f[n - 2] - (g[n - 4] * u[n - 4] + down[n - 3] * u[n - 3] + k5 * u[0]);
    s(1, 0) = down[n - 2] - (g[n - 3] * w2[n - 3] + k6 * w2[1] + k2 * w2[0]);
    s(1, 1) = diag[n - 1] - (g[n - 3] * w1[n - 3] + k6 * w1[1] + k2 * w1[0]);
    r[1] = f[n - 1] - (g[n - 3] * u[n - 3] + k6 * u[1] + k2 * u[0]);
    qvColumnVector<E> tail;
    tail.Set(x, n - 2, 2);
    s.SolveEquationGaussMethod(tail, r);

    const E xa = x[n - 2];
    const E xb = x[n - 1];
    for (int i = 0; i < m; ++i) u[i] = u[i] - xa * w2[i] - xb * w1[i];
}

// ---- persistence ------------------------------------------------------------------

template <class E>
int qvMatrix3Diag<E>::MemSize() const {
    return qvRecordBytes(diag.MemSize(), 2, up.MemSize());
}

template <class E>
int qvMatrix3Diag<E>::ToMem(unsigned char* p) const {
    // Checks the size of what is written, which need not be MemSize.
    qvRecordBytes(qvRecordBytes(up.MemSize(), 1, diag.MemSize()), 1, down.MemSize());
    int at = up.ToMem(p);
    at += diag.ToMem(p + at);
    at += down.ToMem(p + at);
    return at;
}

template <class E>
int qvMatrix3Diag<E>::RecordSize(const unsigned char* p, int available) {
    const int upBytes = qvVector<E>::RecordSize(p, available);
    const int diagBytes = qvVector<E>::RecordSize(p + upBytes, available - upBytes);
    const int downAt = qvRecordBytes(upBytes, 1, diagBytes);
    const int downBytes = qvVector<E>::RecordSize(p + downAt, available - downAt);
    // Each count is known to be a whole number of elements now.
    const std::int32_t nUp = qvDetail::GetLE<std::int32_t>(p);
    const std::int32_t nDiag = qvDetail::GetLE<std::int32_t>(p + upBytes);
    const std::int32_t nDown = qvDetail::GetLE<std::int32_t>(p + downAt);
    if (nUp != nDown || (nDiag != nUp + 1 && (nDiag != 0 || nUp != 0)))
        throw BadParameters(qvMsg::Matrix3DiagRecordMismatch);
    return qvRecordBytes(downAt, 1, downBytes);
}

template <class E>
int qvMatrix3Diag<E>::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return FromMem(const_cast<unsigned char*>(p));
}

template <class E>
int qvMatrix3Diag<E>::FromMem(unsigned char* p) {
    RecordSize(p, qvDetail::kUnboundedRecord);
    // Read aside and then taken over, so that exhausted memory leaves the
    // matrix as it was.
    qvVector<E> u, d, w;
    int at = u.FromMem(p);
    at += d.FromMem(p + at);
    at += w.FromMem(p + at);
    up.Move(u);
    diag.Move(d);
    down.Move(w);
    return at;
}

#endif  // CQV_NUMERIC_TRIDIAGONAL_IMPL_H
