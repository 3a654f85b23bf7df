// Member definitions of qvArrayND<T>; included only by the library's sources
// that instantiate it. Not installed.
#ifndef CQV_NDARRAY_ARRAY_ND_IMPL_H
#define CQV_NDARRAY_ARRAY_ND_IMPL_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "cqv/arrays/array_kernels_internal.h"
#include "cqv/core/byte_order_internal.h"
#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/strided_range_internal.h"
#include "cqv/ndarray/array_nd.h"
#include "cqv/ndarray/messages.h"
#include "cqv/ndarray/odometer_internal.h"

namespace qvDetail {

// The number of elements a walk of the shape visits: the product of the
// extents, or 0 without dimensions or with an extent below 1.
inline int VisitedCount(const qvArrayNDAbs& a) {
    if (a.GetDim() == 0) return 0;
    for (int d = 0; d < a.GetDim(); ++d)
        if (a.Range()[d] < 1) return 0;
    return a.GetSize();
}

// The elements of an array as the walk sees them; no dimensions (nothing to
// walk) when it has no elements.
template <class T>
StridedRange<T> ElementsOf(const qvArrayND<T>& a) {
    const int dims = a.GetPointer() != nullptr && VisitedCount(a) > 0 ? a.GetDim() : 0;
    return StridedRange<T>(a.GetPointer(), dims, a.Range().GetPointer(), a.Tab().GetPointer());
}

// f(e) on every element of r, in storage order: for operations that any
// order serves.
template <class T, class F>
void ForEachStored(F f, const StridedRange<T>& r) {
    InStorageOrder([&f](const auto& rr) { ForEachInStep(f, rr); }, r);
}

// f(e, x) on the elements of equal index of dst and src: in dst's storage
// order when dst repeats no element and shares no storage with src (then
// no element is read after another one was written), else in index order.
// Nothing when either has no elements (an array moved from keeps its
// extents but has no elements left).
template <class T, class F>
void UpdateInStep(F f, const StridedRange<T>& dst, const StridedRange<T>& src) {
    if (dst.Count() == 0 || src.Count() == 0) return;
    if (SpansApart(dst, src) && RepeatsNoElement(dst)) {
        InStorageOrder([&f](const auto& d, const auto& s) { ForEachInStep(f, d, s); }, dst, src);
    } else {
        ForEachInStep(f, dst, src);
    }
}

// For floating elements, two equal zeros of different sign may compete for
// an extreme: which one wins depends on the order of the walk.
template <class T>
bool MayDependOnOrder(const T& x) {
    return std::is_floating_point<T>::value && x == T(0);
}

// The element count of a fresh dense array of the given extents: throws
// "Array length is zero." for none, "qvNewWithRef : n <= 0 " for an extent
// below 1, and qvErrNoMemory for a count beyond 32 bits.
inline int DenseCount(const qvArray<int>& range) {
    if (range.Len() == 0) throw BadParameters(qvMsg::ArrayLengthZero);
    std::int64_t n = 1;
    for (int d = 0; d < range.Len(); ++d) {
        if (range[d] < 1) throw BadParameters(qvMsg::NewWithRefNonPositive);
        n *= range[d];
        if (n > INT_MAX) throw qvErrNoMemory(UINT_MAX);
    }
    return static_cast<int>(n);
}

// Whether two tables hold the same values.
inline bool SameValues(const qvArray<int>& a, const qvArray<int>& b) {
    if (a.Len() != b.Len()) return false;
    for (int i = 0; i < a.Len(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The table without entry axis.
inline qvArray<int> Without(const qvArray<int>& t, int axis) {
    qvArray<int> r(t.Len() - 1);
    for (int d = 0, at = 0; d < t.Len(); ++d)
        if (d != axis) r[at++] = t[d];
    return r;
}

// Throws "out of range of dimension" unless axis is one of dim dimensions.
inline void RequireAxis(int axis, int dim) {
    if (axis < 0 || axis >= dim) throw BadParameters(qvMsg::DimensionOutOfRange);
}

// Owns a counted block under construction until it is handed over.
template <class T>
struct OwnedBlock {
    T* p;
    explicit OwnedBlock(int n) : p(qvNewWithRef<T>(n)) {}
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;
    ~OwnedBlock() { qvDeleteWithRef(p); }
};

}  // namespace qvDetail

// ---- storage --------------------------------------------------------------------

template <class T>
qvArrayND<T>::qvArrayND() : data(nullptr) {}

template <class T>
qvArrayND<T>::qvArrayND(const qvArray<int>& r) : data(nullptr) {
    Set(r);
}

template <class T>
qvArrayND<T>::qvArrayND(const qvArrayND& a) : qvArrayNDAbs(), data(nullptr) {
    if (a.GetDim() == 0) return;
    Set(a.range);
    *this = a;
}

template <class T>
qvArrayND<T>& qvArrayND<T>::operator=(const qvArrayND& a) {
    if (&a == this) return *this;
    // a holds its own reference, so its elements outlive a reallocation of
    // this array even when it views the same block.
    Init(a.range);
    qvDetail::UpdateInStep([](T& e, const T& x) { e = x; }, qvDetail::ElementsOf(*this), qvDetail::ElementsOf(a));
    return *this;
}

template <class T>
qvArrayND<T>::~qvArrayND() {
    Free();
}

template <class T>
void qvArrayND<T>::SetMem(void* const p) {
    qvDetail::HoldBlock<T>(mem, p);
}

template <class T>
void qvArrayND<T>::Free() {
    qvDetail::ReleaseBlock<T>(mem);
}

template <class T>
void qvArrayND<T>::New(int n) {
    T* block = qvNewWithRef<T>(n);
    InitMem(block);
    data = block;
}

template <class T>
int qvArrayND<T>::ElementCount() const {
    return data != nullptr ? qvDetail::VisitedCount(*this) : 0;
}

template <class T>
void qvArrayND<T>::Set(const qvArray<int>& r) {
    const int n = qvDetail::DenseCount(r);
    const qvArray<int> dense = MkTabFromRange(r, 1);
    qvDetail::OwnedBlock<T> block(n);
    qvArrayNDAbs::Set(r, dense);  // changes nothing when it fails
    Free();
    InitMem(block.p);
    data = block.p;
    block.p = nullptr;
}

template <class T>
void qvArrayND<T>::Init(const qvArray<int>& r) {
    if (qvDetail::SameValues(r, range)) return;
    Set(r);
}

template <class T>
void qvArrayND<T>::clear() {
    Free();
    data = nullptr;
    range.Clear();
    tab.Clear();
    forTab.Clear();
    endPos = 0;
    qvArrayNDAbs::size = 0;
    isCon = true;
}

template <class T>
void qvArrayND<T>::Copy() {
    if (!IsShared()) return;
    if (GetDim() == 0) return;
    if (ElementCount() == 0) {
        Free();
        data = nullptr;
        return;
    }
    qvArrayND<T> c(*this);
    Move(c);
}

template <class T>
void qvArrayND<T>::Move(qvArrayND& src) {
    if (&src == this) return;
    qvDetail::TakeBlock<T>(mem, src.mem);
    data = src.data;
    range = src.range;
    tab = src.tab;
    forTab = src.forTab;
    endPos = src.endPos;
    qvArrayNDAbs::size = src.qvArrayNDAbs::size;
    isCon = src.isCon;
    src.data = nullptr;
}

template <class T>
void qvArrayND<T>::SetWindow(void* block, T* first, const qvArray<int>& r, const qvArray<int>& t) {
    // The view is built and checked aside, so that a failed check leaves
    // this array as it was; src may be this array itself.
    qvArrayND<T> view;
    view.qvArrayNDAbs::Set(r, t);
    for (int d = 0; d < r.Len(); ++d)
        if (r[d] < 0) throw BadParameters(qvMsg::CheckPointerInvalid);
    view.data = first;
    view.SetMem(block);
    if (view.GetDim() > 0) view.CheckPointerWithThrow();
    Move(view);
}

template <class T>
void qvArrayND<T>::Set(const qvArrayND& src, int offset, const qvArray<int>& r, const qvArray<int>& t) {
    SetWindow(src.mem, src.data + offset, r, t);
}

template <class T>
void qvArrayND<T>::Set(const qvArrayND& src, int offset, const qvArray<int>& r) {
    Set(src, offset, r, src.tab);
}

template <class T>
void qvArrayND<T>::Set(const qvArrayND& src) {
    Set(src, 0, src.range, src.tab);
}

template <class T>
void qvArrayND<T>::SetDirectly(T* p, const qvArray<int>& r, const qvArray<int>& t) {
    qvArrayNDAbs::Set(r, t);
    Free();
    data = p;
}

template <class T>
void qvArrayND<T>::SetDirectly(T* p, const qvArray<int>& r) {
    SetDirectly(p, r, MkTabFromRange(r, 1));
}

template <class T>
void qvArrayND<T>::SetSubWindow(const qvArrayND& src, const qvArray<int>& origin, const qvArray<int>& r) {
    if (origin.Len() == 0) throw BadParameters(qvMsg::ArrayLengthZero);
    if (origin.Len() != src.tab.Len()) throw BadParameters(qvMsg::DifferentRange);
    int offset = 0;
    for (int d = 0; d < origin.Len(); ++d) offset = qvDetail::WrapAdd(offset, qvDetail::WrapMul(origin[d], src.tab[d]));
    Set(src, offset, r, src.tab);
}

template <class T>
void qvArrayND<T>::ReduceDimArrayND(const qvArrayND& src, int axis, int index) {
    qvDetail::RequireAxis(axis, src.GetDim());
    if (src.GetDim() < 2) throw BadParameters(qvMsg::DimensionAboveOne);
    if (index < 0 || index >= src.range[axis]) throw BadParameters(qvMsg::OutOfRange);
    Set(src, qvDetail::WrapMul(src.tab[axis], index), qvDetail::Without(src.range, axis), qvDetail::Without(src.tab, axis));
}

template <class T>
qvArrayND<T>* qvArrayND<T>::GetReduceDimArrayND(int axis, int index) const {
    qvArrayND<T>* slice = TNew();
    try {
        slice->ReduceDimArrayND(*this, axis, index);
    } catch (...) {
        delete slice;
        throw;
    }
    return slice;
}

template <class T>
void qvArrayND<T>::Flip(int axis) {
    qvDetail::RequireAxis(axis, GetDim());
    qvArray<int> t(tab);
    t[axis] = -tab[axis];
    Set(*this, qvDetail::WrapMul(range[axis] - 1, tab[axis]), range, t);
}

template <class T>
void qvArrayND<T>::SwapAxis(int a, int b) {
    qvDetail::RequireAxis(a, GetDim());
    qvDetail::RequireAxis(b, GetDim());
    qvArray<int> r(range), t(tab);
    r[a] = range[b];
    r[b] = range[a];
    t[a] = tab[b];
    t[b] = tab[a];
    Set(*this, 0, r, t);
}

template <class T>
qvArrayNDAbs* qvArrayND<T>::New() const {
    return TNew();
}

template <class T>
qvArrayND<T>* qvArrayND<T>::TNew() const {
    return new qvArrayND<T>();
}

// ---- persistence ---------------------------------------------------------------

template <class T>
int qvArrayND<T>::MemSize() const {
    return qvRecordBytes(qvArrayNDAbs::MemSize(), ElementCount(), static_cast<int>(sizeof(T)));
}

template <class T>
int qvArrayND<T>::ToMem(unsigned char* p) const {
    qvArrayND::MemSize();
    int at = qvArrayNDAbs::ToMem(p);
    qvDetail::ForEachInStep([&](const T& e) { at += qvDetail::PutLE(p + at, e); }, qvDetail::ElementsOf(*this));
    return at;
}

template <class T>
int qvArrayND<T>::RecordSize(const unsigned char* p, int available) {
    return qvArrayNDAbs::RecordSize(p, available, static_cast<int>(sizeof(T)));
}

template <class T>
int qvArrayND<T>::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return qvArrayND::FromMem(const_cast<unsigned char*>(p));
}

template <class T>
int qvArrayND<T>::FromMem(unsigned char* p) {
    RecordSize(p, INT_MAX);
    int at = qvArrayNDAbs::FromMem(p);
    qvDetail::ForEachInStep(
        [&](T& e) {
            e = qvDetail::GetLE<T>(p + at);
            at += static_cast<int>(sizeof(T));
        },
        qvDetail::ElementsOf(*this));
    return at;
}

// ---- element-wise operations ---------------------------------------------------------

template <class T>
void qvArrayND<T>::Fill(T value) {
    const T x = value;
    qvDetail::ForEachStored([x](T& e) { e = x; }, qvDetail::ElementsOf(*this));
}

template <class T>
void qvArrayND<T>::RequireSameShape(const qvArrayND& a) const {
    if (a.GetDim() != GetDim()) throw BadParameters(qvMsg::DifferentDimension);
    if (!qvDetail::SameValues(a.range, range)) throw BadParameters(qvMsg::DifferentRange);
}

template <class T>
template <class Op>
qvArrayND<T>& qvArrayND<T>::Update(const qvArrayND& a, Op op) {
    RequireSameShape(a);
    qvDetail::UpdateInStep([op](T& e, const T& x) { e = op(e, x); }, qvDetail::ElementsOf(*this),
                           qvDetail::ElementsOf(a));
    return *this;
}

template <class T>
template <class Op>
qvArrayND<T>& qvArrayND<T>::Update(const T& s, Op op) {
    const T x = s;  // s may be an element of this array
    qvDetail::ForEachStored([op, x](T& e) { e = op(e, x); }, qvDetail::ElementsOf(*this));
    return *this;
}

#define CQV_ARRAYND_UPDATE(OP, FN)                                              \
    template <class T>                                                          \
    qvArrayND<T>& qvArrayND<T>::operator OP(const qvArrayND& a) {               \
        return Update(a, qvDetail::FN());                                       \
    }                                                                           \
    template <class T>                                                          \
    qvArrayND<T>& qvArrayND<T>::operator OP(const T& s) {                       \
        return Update(s, qvDetail::FN());                                       \
    }

CQV_ARRAYND_UPDATE(+=, AddOp)
CQV_ARRAYND_UPDATE(-=, SubOp)
CQV_ARRAYND_UPDATE(*=, MulOp)
CQV_ARRAYND_UPDATE(/=, DivOp)
#undef CQV_ARRAYND_UPDATE

template <class T>
int qvArrayND<T>::operator==(const qvArrayND& a) const {
    if (!qvDetail::SameValues(a.range, range)) return 0;
    const qvDetail::StridedRange<T> mine = qvDetail::ElementsOf(*this), theirs = qvDetail::ElementsOf(a);
    if (mine.Count() == 0 || theirs.Count() == 0) return mine.Count() == theirs.Count() ? 1 : 0;
    bool equal = true;
    qvDetail::InStorageOrder(
        [&equal](const auto& r0, const auto& r1) {
            equal = qvDetail::FoldInStep([](const T& e, const T& x) { return e == x; },
                                         [](bool s, const T& e, const T& x) { return s && e == x; }, r0, r1);
        },
        mine, theirs);
    return equal ? 1 : 0;
}

template <class T>
int qvArrayND<T>::operator!=(const qvArrayND& a) const {
    return *this == a ? 0 : 1;
}

template <class T>
void qvArrayND<T>::MakeCoord(qvArray<int>& coord, const T* p) const {
    const int dim = GetDim();
    const T* first = data;  // coord may be this array's own table
    std::ptrdiff_t rest = p - first;
    // The dimensions that can hold an index other than 0, from the largest
    // stride to the smallest, the higher dimension first among equal ones.
    qvArray<int> order;
    order.Init(dim);
    int n = 0;
    for (int d = dim - 1; d >= 0; --d) {
        if (range[d] < 2 || tab[d] == 0) continue;
        int at = n++;
        for (; at > 0 && tab[order[at - 1]] < tab[d]; --at) order[at] = order[at - 1];
        order[at] = d;
    }
    coord.Init(dim);
    coord.Fill(0);
    for (int i = 0; i < n; ++i) {
        const int d = order[i];
        coord[d] = static_cast<int>(rest / tab[d]);
        rest %= tab[d];
    }
}

// ---- reductions ------------------------------------------------------------------------

namespace qvDetail {

// The least and the greatest element as a walk in index order from element
// 0 finds them, taking an element only when it is strictly smaller
// (greater). The elements are met in storage order, starting from element
// 0, which gives the same values: only equal zeros of different sign can
// tell the orders apart, and then the walk is made in index order.
template <class T>
std::pair<T, T> MinAndMaxOf(const qvArrayND<T>& a) {
    if (VisitedCount(a) == 0) throw BadParameters(qvMsg::ArrayNDRangeEmpty);
    using P = std::pair<T, T>;
    const T x0 = a.GetPointer()[0];
    auto next = [](const P& s, const T& e) { return P(e < s.first ? e : s.first, s.second < e ? e : s.second); };
    auto first = [&next, x0](const T& e) { return next(P(x0, x0), e); };
    P m;
    InStorageOrder([&](const auto& r) { m = FoldInStep(first, next, r); }, ElementsOf(a));
    if (MayDependOnOrder(m.first) || MayDependOnOrder(m.second)) m = FoldInStep(first, next, ElementsOf(a));
    return m;
}

// The extreme of the elements by better(e, best), as MinAndMaxOf finds it.
template <class T, class Better>
T Extreme(const qvArrayND<T>& a, Better better) {
    if (VisitedCount(a) == 0) throw BadParameters(qvMsg::ArrayNDRangeEmpty);
    const T x0 = a.GetPointer()[0];
    auto next = [better](const T& best, const T& e) { return better(e, best) ? e : best; };
    auto first = [&next, x0](const T& e) { return next(x0, e); };
    T best;
    InStorageOrder([&](const auto& r) { best = FoldInStep(first, next, r); }, ElementsOf(a));
    if (MayDependOnOrder(best)) best = FoldInStep(first, next, ElementsOf(a));
    return best;
}

}  // namespace qvDetail

template <class T>
void qvArrayND<T>::MinAndMax(T& min, T& max) const {
    const std::pair<T, T> m = qvDetail::MinAndMaxOf(*this);
    min = m.first;
    max = m.second;
}

template <class T>
T qvArrayND<T>::Min() const {
    return qvDetail::Extreme(*this, [](const T& e, const T& best) { return e < best; });
}

template <class T>
T qvArrayND<T>::Max() const {
    return qvDetail::Extreme(*this, [](const T& e, const T& best) { return best < e; });
}

template <class T>
T qvArrayND<T>::Median() {
    const int n = ElementCount();
    if (n == 0) throw BadParameters(qvMsg::MedianLengthZero);
    qvDetail::OwnedBlock<T> work(n);
    T* out = work.p;
    qvDetail::ForEachInStep([&out](const T& e) { *out++ = e; }, qvDetail::ElementsOf(*this));
    const int k = (n - 1) / 2;
    qvDetail::HoareFind(work.p, n, k);
    return work.p[k];
}

#endif  // CQV_NDARRAY_ARRAY_ND_IMPL_H
