// Member definitions of the vector templates; included only by the
// library's sources that instantiate them. Not installed.
#ifndef CQV_LINALG_VECTOR_IMPL_H
#define CQV_LINALG_VECTOR_IMPL_H

#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/messages.h"
#include "cqv/linalg/element_ops_internal.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"

namespace qvDetail {

// dst[i·dstTab] = src[i·srcTab] for i = 0 to n - 1, in index order.
template <class E>
inline void StridedCopy(E* dst, int dstTab, const E* src, int srcTab, int n) {
    if (dstTab == 1 && srcTab == 1) {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
        return;
    }
    for (int i = 0; i < n; ++i, dst += dstTab, src += srcTab) *dst = *src;
}

// Element-wise update e = op(e, x) along a strided run.
template <class E, class Op>
inline void StridedApply(E* p, int tab, int n, Op op) {
    if (tab == 1) {
        for (int i = 0; i < n; ++i) p[i] = op(p[i], i);
        return;
    }
    for (int i = 0; i < n; ++i, p += tab) *p = op(*p, i);
}

// Σ a[i·ta]·b[i·tb] accumulated from a[0]·b[0] in index order; zero when n
// is 0.
template <class E>
inline E StridedDot(const E* a, int ta, const E* b, int tb, int n) {
    if (n <= 0) return LinalgElem<E>::Zero();
    E s = a[0] * b[0];
    for (int i = 1; i < n; ++i) s = s + a[i * ta] * b[i * tb];
    return s;
}

}  // namespace qvDetail

// ---- qvVector: storage -----------------------------------------------------

template <class E>
qvVector<E>::qvVector(int n) : data(nullptr), len(0), tab(0) {
    New(n);
}

template <class E>
qvVector<E>::qvVector(const qvVector& v) : qvPArray(), data(nullptr), len(0), tab(0) {
    SetWindow(v.mem, v.data, v.len, v.tab);
}

template <class E>
qvVector<E>::qvVector(const qvSimpleArray<E>& a) : qvPArray(), data(nullptr), len(0), tab(0) {
    SetWindow(a.GetMem(), a.GetPointer(), a.Len(), 1);
}

template <class E>
qvVector<E>::~qvVector() {
    Free();
}

template <class E>
void qvVector<E>::SetMem(void* const p) {
    if (p == mem) return;
    // The new reference is taken first, so p may be a block that only the
    // old storage kept alive.
    if (p != nullptr) qvIncMemRef(p);
    void* old = mem;
    mem = p;
    qvDeleteWithRef(static_cast<E*>(old));
}

template <class E>
void qvVector<E>::Free() {
    qvDeleteWithRef(static_cast<E*>(mem));
    mem = nullptr;
}

template <class E>
void qvVector<E>::New(int n) {
    E* block = qvNewWithRef<E>(n);
    InitMem(block);
    data = block;
    len = n;
    tab = 1;
}

template <class E>
void qvVector<E>::SetWindow(void* block, E* first, int n, int step) {
    SetMem(block);
    data = first;
    len = n;
    tab = step;
}

template <class E>
void qvVector<E>::MakeEmpty() {
    Free();
    data = nullptr;
    len = 0;
    tab = 0;
}

template <class E>
void qvVector<E>::Set(int n) {
    if (n < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    MakeEmpty();
    if (n > 0) New(n);
}

template <class E>
void qvVector<E>::Init(int n) {
    if (n != len) Set(n);
}

template <class E>
void qvVector<E>::SetDirectly(E* p, int n, int step) {
    Free();
    data = p;
    len = n;
    tab = step;
}

template <class E>
void qvVector<E>::Set(const qvVector& v, int start, int n) {
    SetWindow(v.mem, v.data + start * v.tab, n, v.tab);
}

template <class E>
void qvVector<E>::Set(const qvVector& v, int start, int n, int step) {
    SetWindow(v.mem, v.data + start * v.tab, n, step);
}

template <class E>
void qvVector<E>::Move(qvVector& v) {
    if (&v == this) return;
    if (v.mem != mem) {
        Free();
        InitMem(v.mem);
    } else {
        // Both hold a reference to the same block; this one keeps one.
        qvDeleteWithRef(static_cast<E*>(v.mem));
    }
    data = v.data;
    len = v.len;
    tab = v.tab;
    v.FreeMem();
    v.data = nullptr;
    v.len = 0;
}

template <class E>
void qvVector<E>::Copy() {
    if (!IsShared()) return;
    if (len == 0) {
        MakeEmpty();
        return;
    }
    Rebuild(len, 0, 0, nullptr, 0);
}

template <class E>
void qvVector<E>::Clear() {
    MakeEmpty();
}

template <class E>
void qvVector<E>::Rebuild(int head, int gap, int skip, const E* fill, int fillTab) {
    const int tail = len - head - skip;
    const int m = head + gap + tail;
    if (m == 0) {
        MakeEmpty();
        return;
    }
    E* nb = qvDetail::NewBlock<E>(m, 0, false);
    qvDetail::StridedCopy(nb, 1, data, tab, head);
    if (fill != nullptr) qvDetail::StridedCopy(nb + head, 1, fill, fillTab, gap);
    if (tail > 0) qvDetail::StridedCopy(nb + head + gap, 1, data + (head + skip) * tab, tab, tail);
    SetMem(nb);
    data = nb;
    len = m;
    tab = 1;
}

// ---- qvVector: virtual members ---------------------------------------------

template <class E>
void qvVector<E>::operator=(const qvVector& v) {
    if (&v == this) return;
    if (v.len != len) {
        // v holds its own reference, so its elements survive the release
        // even when it views this vector's block.
        const E* src = v.data;
        const int srcTab = v.tab;
        const int n = v.len;
        void* keep = v.mem;
        if (keep != nullptr) qvIncMemRef(keep);
        MakeEmpty();
        if (n > 0) {
            New(n);
            qvDetail::StridedCopy(data, 1, src, srcTab, n);
        }
        qvDeleteWithRef(static_cast<E*>(keep));
        return;
    }
    qvDetail::StridedCopy(data, tab, v.data, v.tab, len);
}

template <class E>
void qvVector<E>::Fill(const E& x) {
    const E value = x;
    qvDetail::StridedApply(data, tab, len, [&](const E&, int) { return value; });
}

template <class E>
qvVector<E>* qvVector<E>::NewVector() const {
    return new qvVector<E>();
}

template <class E>
int qvVector<E>::IsColumn() const {
    return -1;
}

template <class E>
int qvVector<E>::IsLine() const {
    return -1;
}

template <class E>
int qvVector<E>::MemSize() const {
    return 4 + len * static_cast<int>(sizeof(E));
}

template <class E>
int qvVector<E>::ToMem(unsigned char* p) const {
    int at = qvDetail::PutLE<std::int32_t>(p, len);
    const E* e = data;
    for (int i = 0; i < len; ++i, e += tab) at += qvDetail::LinalgElem<E>::Put(p + at, *e);
    return at;
}

template <class E>
int qvVector<E>::FromMem(unsigned char* p) {
    const std::int32_t n = qvDetail::GetLE<std::int32_t>(p);
    if (n < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    MakeEmpty();
    int at = 4;
    if (n == 0) return at;
    New(n);
    for (int i = 0; i < n; ++i) at += qvDetail::LinalgElem<E>::Get(p + at, data[i]);
    return at;
}

// ---- qvVector: length changes ----------------------------------------------

template <class E>
void qvVector<E>::resize(int n) {
    if (n == len) return;
    if (n < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    if (n > len) {
        Rebuild(len, n - len, 0, nullptr, 0);
    } else {
        Rebuild(n, 0, len - n, nullptr, 0);
    }
}

template <class E>
void qvVector<E>::push_back(const E& x) {
    Rebuild(len, 1, 0, &x, 1);
}

template <class E>
void qvVector<E>::Concat(const qvVector& v) {
    if (v.len == 0) return;
    // v may be this vector: its fields are read before anything changes.
    const E* src = v.data;
    const int srcTab = v.tab;
    Rebuild(len, v.len, 0, src, srcTab);
}

template <class E>
void qvVector<E>::push_front(const E& x) {
    Rebuild(0, 1, 0, &x, 1);
}

template <class E>
int qvVector<E>::Insert(E x, int i) {
    if (i < 0 || i > len) throw BadParameters(qvMsg::OutOfRange);
    Rebuild(i, 1, 0, &x, 1);
    return i;
}

namespace qvDetail {

// The index of the element an iterator points at: the distance from
// element 0 divided by the stride (a zero stride has only index 0).
template <class E, class R>
inline int IteratorIndex(const E* first, const R* at, int tab) {
    if (tab == 0) return 0;
    return static_cast<int>((at - first) / tab);
}

}  // namespace qvDetail

template <class E>
typename qvVector<E>::iterator qvVector<E>::insert(iterator it, const E& x) {
    const int i = Insert(x, qvDetail::IteratorIndex(data, it.Pointer(), tab));
    return iterator(data + i * tab, tab);
}

template <class E>
void qvVector<E>::pop_back() {
    if (len > 0) Rebuild(len - 1, 0, 1, nullptr, 0);
}

template <class E>
void qvVector<E>::pop_front() {
    if (len < 1) throw BadParameters(qvMsg::OutOfRange);
    Rebuild(0, 0, 1, nullptr, 0);
}

template <class E>
void qvVector<E>::Remove(int i) {
    if (i < 0 || i >= len) throw BadParameters(qvMsg::OutOfRange);
    Rebuild(i, 0, 1, nullptr, 0);
}

template <class E>
typename qvVector<E>::iterator qvVector<E>::erase(iterator it) {
    const int i = qvDetail::IteratorIndex(data, it.Pointer(), tab);
    Remove(i);
    return iterator(data == nullptr ? nullptr : data + i, tab);
}

// ---- qvVector: windows -----------------------------------------------------

template <class E>
void qvVector<E>::Left(qvVector& dst, int n) const {
    if (n < 1 || n > len) throw BadParameters(qvMsg::VectorLeftOutOfRange);
    dst.SetWindow(mem, data, n, tab);
}

template <class E>
void qvVector<E>::Right(qvVector& dst, int n) const {
    if (n < 1 || n > len) throw BadParameters(qvMsg::VectorRightOutOfRange);
    dst.SetWindow(mem, data + (len - n) * tab, n, tab);
}

template <class E>
void qvVector<E>::Mid(qvVector& dst, int start, int n) const {
    if (start < 0 || n < 1 || static_cast<long long>(start) + n > len)
        throw BadParameters(qvMsg::VectorMidOutOfRange);
    dst.SetWindow(mem, data + start * tab, n, tab);
}

// ---- qvVector: arithmetic --------------------------------------------------

template <class E>
void qvVector<E>::CheckSameLength(const qvVector& v) const {
    if (v.len != len) throw BadParameters(qvMsg::DifferentLength);
}

template <class E>
void qvVector<E>::operator+=(const E& s) {
    const E x = s;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int) { return e + x; });
}

template <class E>
void qvVector<E>::operator-=(const E& s) {
    const E x = s;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int) { return e - x; });
}

template <class E>
void qvVector<E>::operator*=(const E& s) {
    const E x = s;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int) { return e * x; });
}

template <class E>
void qvVector<E>::operator/=(const E& s) {
    const E x = s;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int) { return e / x; });
}

template <class E>
void qvVector<E>::operator+=(const qvVector& v) {
    CheckSameLength(v);
    const E* b = v.data;
    const int bt = v.tab;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int i) { return e + b[i * bt]; });
}

template <class E>
void qvVector<E>::operator-=(const qvVector& v) {
    CheckSameLength(v);
    const E* b = v.data;
    const int bt = v.tab;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int i) { return e - b[i * bt]; });
}

template <class E>
void qvVector<E>::Mul(const qvVector& v) {
    CheckSameLength(v);
    const E* b = v.data;
    const int bt = v.tab;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int i) { return e * b[i * bt]; });
}

template <class E>
void qvVector<E>::Div(const qvVector& v) {
    CheckSameLength(v);
    const E* b = v.data;
    const int bt = v.tab;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int i) { return e / b[i * bt]; });
}

template <class E>
void qvVector<E>::Min(const qvVector& v) {
    CheckSameLength(v);
    const E* b = v.data;
    const int bt = v.tab;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int i) { return b[i * bt] < e ? b[i * bt] : e; });
}

template <class E>
void qvVector<E>::Max(const qvVector& v) {
    CheckSameLength(v);
    const E* b = v.data;
    const int bt = v.tab;
    qvDetail::StridedApply(data, tab, len, [&](const E& e, int i) { return e < b[i * bt] ? b[i * bt] : e; });
}

template <class E>
E qvVector<E>::ScalarMul(const qvVector& v) const {
    CheckSameLength(v);
    return qvDetail::StridedDot(data, tab, v.data, v.tab, len);
}

template <class E>
E qvVector<E>::Norm() const {
    if (len == 0) return qvDetail::LinalgElem<E>::Zero();
    return qvDetail::LinalgElem<E>::RootOfSquares(qvDetail::StridedDot(data, tab, data, tab, len));
}

// ---- Column and line vectors -----------------------------------------------

namespace qvDetail {

// A new vector of type V (a column or line vector) with
// result[i] = op(a[i], i); an empty a throws through the block allocator.
template <class V, class E, class Op>
V MapToNew(const qvVector<E>& a, Op op) {
    V r(a.Len());
    E* out = r.GetPointer();
    const E* in = a.GetPointer();
    const int t = a.Tab();
    for (int i = 0; i < a.Len(); ++i) out[i] = op(in[i * t], i);
    return r;
}

}  // namespace qvDetail

template <class E>
qvColumnVector<E>::~qvColumnVector() {}

template <class E>
qvVector<E>* qvColumnVector<E>::NewVector() const {
    return new qvColumnVector<E>();
}

template <class E>
int qvColumnVector<E>::IsColumn() const {
    return 1;
}

template <class E>
int qvColumnVector<E>::IsLine() const {
    return 0;
}

template <class E>
qvLineVector<E>::~qvLineVector() {}

template <class E>
qvVector<E>* qvLineVector<E>::NewVector() const {
    return new qvLineVector<E>();
}

template <class E>
int qvLineVector<E>::IsColumn() const {
    return 0;
}

template <class E>
int qvLineVector<E>::IsLine() const {
    return 1;
}

// The scalar and element-wise operators are the same for both orientations.
#define CQV_VECTOR_OPERATORS(V)                                                           \
    template <class E>                                                                    \
    V<E> V<E>::operator+(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>(*this, [&](const E& e, int) { return e + x; });   \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator-(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>(*this, [&](const E& e, int) { return e - x; });   \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator*(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>(*this, [&](const E& e, int) { return e * x; });   \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator/(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>(*this, [&](const E& e, int) { return e / x; });   \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator+(const V& v) const {                                              \
        this->CheckSameLength(v);                                                         \
        const E* b = v.GetPointer();                                                      \
        const int bt = v.Tab();                                                           \
        return qvDetail::MapToNew<V<E>>(*this, [&](const E& e, int i) { return e + b[i * bt]; }); \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator-(const V& v) const {                                              \
        this->CheckSameLength(v);                                                         \
        const E* b = v.GetPointer();                                                      \
        const int bt = v.Tab();                                                           \
        return qvDetail::MapToNew<V<E>>(*this, [&](const E& e, int i) { return e - b[i * bt]; }); \
    }

CQV_VECTOR_OPERATORS(qvColumnVector)
CQV_VECTOR_OPERATORS(qvLineVector)
#undef CQV_VECTOR_OPERATORS

template <class E>
qvMatrix<E> qvColumnVector<E>::operator*(const qvLineVector<E>& r) const {
    const int m = this->len;
    const int n = r.Len();
    if (m == 0 || n == 0) return qvMatrix<E>();
    qvMatrix<E> out(m, n);
    E* o = out.GetPointer();
    const E* rp = r.GetPointer();
    const int rt = r.Tab();
    for (int i = 0; i < m; ++i) {
        const E c = this->data[i * this->tab];
        for (int j = 0; j < n; ++j) o[j] = c * rp[j * rt];
        o += n;
    }
    return out;
}

template <class E>
qvLineVector<E> qvColumnVector<E>::T() const {
    return qvLineVector<E>(static_cast<const qvVector<E>&>(*this));
}

template <class E>
E qvLineVector<E>::operator*(const qvColumnVector<E>& c) const {
    return this->ScalarMul(c);
}

template <class E>
qvLineVector<E> qvLineVector<E>::operator*(const qvMatrix<E>& m) const {
    if (this->len != m.ColumnLen()) throw BadParameters(qvMsg::DifferentLength);
    const int rows = m.ColumnLen();
    const int cols = m.LineLen();
    qvLineVector<E> out(cols);
    E* o = out.GetPointer();
    const int tl = m.TabInLine();
    const int tc = m.TabInColumn();
    const E* row = m.GetPointer();
    // Row by row, so that every result element accumulates over i in order
    // while the inner loop runs along a row of the matrix.
    {
        const E r0 = this->data[0];
        for (int j = 0; j < cols; ++j) o[j] = row[j * tl] * r0;
    }
    for (int i = 1; i < rows; ++i) {
        row += tc;
        const E ri = this->data[i * this->tab];
        if (tl == 1) {
            for (int j = 0; j < cols; ++j) o[j] = o[j] + row[j] * ri;
        } else {
            for (int j = 0; j < cols; ++j) o[j] = o[j] + row[j * tl] * ri;
        }
    }
    return out;
}

template <class E>
qvColumnVector<E> qvLineVector<E>::T() const {
    return qvColumnVector<E>(static_cast<const qvVector<E>&>(*this));
}

#endif  // CQV_LINALG_VECTOR_IMPL_H
