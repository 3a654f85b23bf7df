// Member definitions of the vector templates; included only by the
// library's sources that instantiate them. Not installed.
#ifndef CQV_LINALG_VECTOR_IMPL_H
#define CQV_LINALG_VECTOR_IMPL_H

#include <cstring>

#include "cqv/core/counted_block.h"
#include "cqv/core/counted_block_internal.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/record_internal.h"
#include "cqv/linalg/messages.h"
#include "cqv/core/strided_range_internal.h"
#include "cqv/linalg/element_ops_internal.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"

namespace qvDetail {

// A vector's elements as a strided range.
template <class E>
inline StridedRange<E> RangeOf(const qvVector<E>& v) {
    return StridedRange<E>(v.GetPointer(), v.Len(), v.Tab());
}
template <class E>
inline StridedRange<const E> ConstRangeOf(const qvVector<E>& v) {
    return StridedRange<const E>(v.GetPointer(), v.Len(), v.Tab());
}

// Σ a_i·b_i accumulated from a_0·b_0 in index order; zero when the ranges
// are empty.
template <class E>
inline E DotInStep(const StridedRange<const E>& a, const StridedRange<const E>& b) {
    if (a.Count() == 0) return LinalgElem<E>::Zero();
    return FoldInStep([](const E& x, const E& y) { return x * y; },
                      [](const E& s, const E& x, const E& y) { return s + x * y; }, a, b);
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
void qvVector<E>::SetMem(void* const p) {
    qvDetail::ReplaceBlock<E>(mem, p);
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
    // The reference to the viewed block is taken before the one held so far
    // goes.
    qvDetail::HoldBlock<E>(mem, block);
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
    // The block goes first; New then refuses a negative n.
    MakeEmpty();
    if (n != 0) New(n);
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
    qvDetail::TakeBlock<E>(mem, v.mem);
    data = v.data;
    len = v.len;
    tab = v.tab;
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
    using qvDetail::StridedRange;
    // A single new value is taken first: it may be an element of this
    // vector, which the in-place path below moves.
    E one;
    if (gap == 1 && fill != nullptr) {
        one = *fill;
        fill = &one;
    }
    // Growth anywhere, and a cut at the end, can happen where the block lies
    // when this vector alone holds it and sees it whole with stride 1:
    // qvRealloc keeps the elements, the tail moves up, the new values go in;
    // its failure leaves the vector as it was. Several new values read from
    // this very block take the copying path below.
    const bool inPlace = (m > len || (gap == 0 && tail == 0)) && (tab == 1 || len == 1) &&
                         qvDetail::SoleWholeBlock(mem, data, len) &&
                         !(fill != nullptr && gap > 0 && qvDetail::SpanMeets(fill, fill + (gap - 1) * fillTab, data, len));
    if (inPlace) {
        E* grown = qvDetail::ResizeSoleBlock<E>(mem, m);
        if (tail > 0)
            std::memmove(static_cast<void*>(grown + head + gap), static_cast<const void*>(grown + head + skip),
                         sizeof(E) * static_cast<std::size_t>(tail));
        if (fill != nullptr) qvDetail::CopyInStep(qvDetail::Run(grown + head, gap), StridedRange<const E>(fill, gap, fillTab));
        data = grown;
        len = m;
        tab = 1;
        return;
    }
    E* nb = qvDetail::NewBlock<E>(m, 0, false);
    qvDetail::CopyInStep(qvDetail::Run(nb, head), StridedRange<const E>(data, head, tab));
    if (fill != nullptr) qvDetail::CopyInStep(qvDetail::Run(nb + head, gap), StridedRange<const E>(fill, gap, fillTab));
    if (tail > 0)
        qvDetail::CopyInStep(qvDetail::Run(nb + head + gap, tail),
                             StridedRange<const E>(data + (head + skip) * tab, tail, tab));
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
        // The reference is let go also when the new block cannot be had.
        struct Keep {
            void* mem;
            ~Keep() { qvDeleteWithRef(static_cast<E*>(mem)); }
        } keep{v.mem};
        if (keep.mem != nullptr) qvIncMemRef(keep.mem);
        MakeEmpty();
        if (n > 0) {
            New(n);
            qvDetail::CopyInStep(qvDetail::Run(data, n), qvDetail::StridedRange<const E>(src, n, srcTab));
        }
        return;
    }
    qvDetail::CopyInStep(qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
void qvVector<E>::Fill(const E& x) {
    const E value = x;
    qvDetail::ForEachInStep([&](E& e) { e = value; }, qvDetail::RangeOf(*this));
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
    return qvRecordBytes(4, len, static_cast<int>(sizeof(E)));
}

template <class E>
int qvVector<E>::ToMem(unsigned char* p) const {
    qvVector::MemSize();
    int at = qvDetail::PutLE<std::int32_t>(p, len);
    qvDetail::ForEachInStep([&](const E& e) { at += qvDetail::LinalgElem<E>::Put(p + at, e); },
                            qvDetail::ConstRangeOf(*this));
    return at;
}

template <class E>
int qvVector<E>::RecordSize(const unsigned char* p, int available) {
    const std::int32_t n = qvDetail::RecordCount(p, 0, available);
    return qvCheckRecordLength(qvRecordBytes(4, n, static_cast<int>(sizeof(E))), available);
}

template <class E>
int qvVector<E>::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return qvVector::FromMem(const_cast<unsigned char*>(p));
}

template <class E>
int qvVector<E>::FromMem(unsigned char* p) {
    const std::int32_t n = qvDetail::GetLE<std::int32_t>(p);
    // A count too large for any record is refused before anything changes.
    if (n >= 0) RecordSize(p, qvDetail::kUnboundedRecord);
    // The present block goes first, whatever the count; New then refuses a
    // negative one.
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
    qvDetail::ForEachInStep([&](E& e) { e = e + x; }, qvDetail::RangeOf(*this));
}

template <class E>
void qvVector<E>::operator-=(const E& s) {
    const E x = s;
    qvDetail::ForEachInStep([&](E& e) { e = e - x; }, qvDetail::RangeOf(*this));
}

template <class E>
void qvVector<E>::operator*=(const E& s) {
    const E x = s;
    qvDetail::ForEachInStep([&](E& e) { e = e * x; }, qvDetail::RangeOf(*this));
}

template <class E>
void qvVector<E>::operator/=(const E& s) {
    const E x = s;
    qvDetail::ForEachInStep([&](E& e) { e = e / x; }, qvDetail::RangeOf(*this));
}

template <class E>
void qvVector<E>::operator+=(const qvVector& v) {
    CheckSameLength(v);
    qvDetail::ForEachInStep([](E& e, const E& b) { e = e + b; }, qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
void qvVector<E>::operator-=(const qvVector& v) {
    CheckSameLength(v);
    qvDetail::ForEachInStep([](E& e, const E& b) { e = e - b; }, qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
void qvVector<E>::Mul(const qvVector& v) {
    CheckSameLength(v);
    qvDetail::ForEachInStep([](E& e, const E& b) { e = e * b; }, qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
void qvVector<E>::Div(const qvVector& v) {
    CheckSameLength(v);
    qvDetail::ForEachInStep([](E& e, const E& b) { e = e / b; }, qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
void qvVector<E>::Min(const qvVector& v) {
    CheckSameLength(v);
    qvDetail::ForEachInStep([](E& e, const E& b) { e = b < e ? b : e; }, qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
void qvVector<E>::Max(const qvVector& v) {
    CheckSameLength(v);
    qvDetail::ForEachInStep([](E& e, const E& b) { e = e < b ? b : e; }, qvDetail::RangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
E qvVector<E>::ScalarMul(const qvVector& v) const {
    CheckSameLength(v);
    return qvDetail::DotInStep(qvDetail::ConstRangeOf(*this), qvDetail::ConstRangeOf(v));
}

template <class E>
E qvVector<E>::Norm() const {
    if (len == 0) return qvDetail::LinalgElem<E>::Zero();
    const auto all = qvDetail::ConstRangeOf(*this);
    return qvDetail::LinalgElem<E>::RootOfSquares(qvDetail::DotInStep(all, all));
}

// ---- Column and line vectors -----------------------------------------------

namespace qvDetail {

// A new vector of type V (a column or line vector) with
// result[i] = op(a[i], b[i]...); an empty a throws through the block
// allocator.
template <class V, class Op, class E, class... W>
V MapToNew(Op op, const qvVector<E>& a, const W&... b) {
    V r(a.Len());
    ForEachInStep([&](E& out, const E& x, const auto&... y) { out = op(x, y...); }, Run(r.GetPointer(), r.Len()),
                  ConstRangeOf(a), ConstRangeOf(b)...);
    return r;
}

}  // namespace qvDetail

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
        return qvDetail::MapToNew<V<E>>([&](const E& e) { return e + x; }, *this);        \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator-(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>([&](const E& e) { return e - x; }, *this);        \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator*(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>([&](const E& e) { return e * x; }, *this);        \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator/(const E& s) const {                                              \
        const E x = s;                                                                    \
        return qvDetail::MapToNew<V<E>>([&](const E& e) { return e / x; }, *this);        \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator+(const V& v) const {                                              \
        this->CheckSameLength(v);                                                         \
        return qvDetail::MapToNew<V<E>>([](const E& e, const E& b) { return e + b; }, *this, v); \
    }                                                                                     \
    template <class E>                                                                    \
    V<E> V<E>::operator-(const V& v) const {                                              \
        this->CheckSameLength(v);                                                         \
        return qvDetail::MapToNew<V<E>>([](const E& e, const E& b) { return e - b; }, *this, v); \
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
    // Element (i, j) of the result, row by row, against this vector's
    // element i repeated along the row and r's element j repeated down the
    // column.
    using qvDetail::StridedRange;
    qvDetail::ForEachInStep([](E& o, const E& c, const E& x) { o = c * x; },
                            StridedRange<E>(out.GetPointer(), n, 1, m, n),
                            StridedRange<const E>(this->data, n, 0, m, this->tab),
                            StridedRange<const E>(r.GetPointer(), n, r.Tab(), m, 0));
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
    const auto o = qvDetail::RangeOf(out);
    const E* row = m.GetPointer();
    // Row by row, so that every result element accumulates over i in order
    // while the walk runs along a row of the matrix.
    {
        const E r0 = this->data[0];
        qvDetail::ForEachInStep([&](E& e, const E& a) { e = a * r0; }, o,
                                qvDetail::StridedRange<const E>(row, cols, m.TabInLine()));
    }
    for (int i = 1; i < rows; ++i) {
        row += m.TabInColumn();
        const E ri = this->data[i * this->tab];
        qvDetail::ForEachInStep([&](E& e, const E& a) { e = e + a * ri; }, o,
                                qvDetail::StridedRange<const E>(row, cols, m.TabInLine()));
    }
    return out;
}

template <class E>
qvColumnVector<E> qvLineVector<E>::T() const {
    return qvColumnVector<E>(static_cast<const qvVector<E>&>(*this));
}

#endif  // CQV_LINALG_VECTOR_IMPL_H
