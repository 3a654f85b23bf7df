// Member definitions of qvArray<T>; included only by the library's sources
// that instantiate it. Not installed.
//
// The element-wise loops step plain pointers with nothing in the loop body
// but the operation, so that the compiler vectorises them for the numeric
// element types; reductions keep index order and are a single dependency
// chain, as a hand-written loop would be.
#ifndef CQV_ARRAYS_ARRAY_IMPL_H
#define CQV_ARRAYS_ARRAY_IMPL_H

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "cqv/arrays/array.h"
#include "cqv/arrays/array_kernels_internal.h"
#include "cqv/arrays/simple_array_impl.h"
#include "cqv/core/byte_order_internal.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/record_internal.h"
#include "cqv/arrays/messages.h"
#include "cqv/core/strided_range_internal.h"

namespace qvDetail {

// The checks of the arithmetic array: operands of equal length, and a
// non-empty array for the reductions.
inline void RequireSameLength(int a, int b) {
    if (a != b) throw BadParameters(qvMsg::DifferentRange);
}
inline void RequireElements(int n) {
    if (n == 0) throw BadParameters(qvMsg::ArrayLengthZero);
}

// The element relations, through the element type's own operators.
struct LessRel {
    template <class T>
    bool operator()(const T& a, const T& b) const { return a < b; }
};
struct GreaterRel {
    template <class T>
    bool operator()(const T& a, const T& b) const { return a > b; }
};
struct LessEqualRel {
    template <class T>
    bool operator()(const T& a, const T& b) const { return a <= b; }
};
struct GreaterEqualRel {
    template <class T>
    bool operator()(const T& a, const T& b) const { return a >= b; }
};
struct EqualRel {
    template <class T>
    bool operator()(const T& a, const T& b) const { return a == b; }
};

// a when it is strictly greater (less) than b, else b.
struct GreaterOfOp {
    template <class T>
    T operator()(const T& a, const T& b) const { return a > b ? a : b; }
};
struct LesserOfOp {
    template <class T>
    T operator()(const T& a, const T& b) const { return a < b ? a : b; }
};

// The zero of an element type.
template <class T>
T ElementZero() {
    return T(0);
}
template <>
inline qvComplex ElementZero<qvComplex>() {
    return qvComplex(0.0, 0.0);
}
template <>
inline qvVec2 ElementZero<qvVec2>() {
    return qvVec2(0.0, 0.0);
}

// Outcome of the binary search: the index of an equal element (or -1), and
// where the value would be inserted when none was met.
struct HalvingResult {
    int index;
    int insertAt;
};

// The halving of FindB and InsertIfNotExistB on a[0..n), n at least 1.
template <class T>
HalvingResult Halve(const T* a, int n, const T& v, int ascending) {
    int lo = 0;
    int hi = n - 1;
    int mid = hi / 2;
    while (!(a[mid] == v)) {
        if (ascending ? a[mid] < v : v < a[mid]) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
        if (lo > hi) return {-1, lo};
        mid = (lo + hi) / 2;
    }
    return {mid, mid};
}

// Element records: numbers as their little-endian images, complex numbers
// and plane vectors as their 16-byte records.
template <class T>
constexpr int ElementRecordSize() {
    if constexpr (std::is_arithmetic<T>::value) {
        return static_cast<int>(sizeof(T));
    } else {
        static_assert(std::is_same<T, qvComplex>::value || std::is_same<T, qvVec2>::value,
                      "records exist for numbers, complex numbers and plane vectors");
        return 16;
    }
}

// Writes the records of src[0..n) at p; returns the bytes written.
template <class T>
int PutElementRecords(unsigned char* p, const T* src, int n) {
    if constexpr (std::is_arithmetic<T>::value) {
        return PutArrayLE(p, src, n);
    } else {
        int bytes = 0;
        for (int i = 0; i < n; ++i) bytes += qvToMem(p + bytes, src[i]);
        return bytes;
    }
}

// Reads n element records at p into dst[0..n); returns the bytes read.
template <class T>
int GetElementRecords(unsigned char* p, T* dst, int n) {
    if constexpr (std::is_arithmetic<T>::value) {
        return GetArrayLE(p, dst, n);
    } else {
        int bytes = 0;
        for (int i = 0; i < n; ++i) bytes += qvFromMem(p + bytes, dst[i]);
        return bytes;
    }
}

}  // namespace qvDetail

template <class T>
qvArray<T>::qvArray(const qvArray& a) : qvSimpleArray<T>(a) {}

template <class T>
qvArray<T>& qvArray<T>::operator=(const qvArray& a) {
    qvSimpleArray<T>::operator=(a);
    return *this;
}

template <class T>
template <class Op>
qvArray<T>& qvArray<T>::Update(const qvArray& b, Op op) {
    qvDetail::RequireSameLength(this->len, b.len);
    qvDetail::ForEachInStep([&](T& e, const T& x) { e = op(e, x); }, qvDetail::Run(this->data, this->len),
                            qvDetail::Run<const T>(b.data, b.len));
    return *this;
}

template <class T>
template <class Op>
qvArray<T>& qvArray<T>::Update(const T& v, Op op) {
    const T value = v;  // v may be one of the elements about to change
    qvDetail::ForEachInStep([&](T& e) { e = op(e, value); }, qvDetail::Run(this->data, this->len));
    return *this;
}

template <class T>
template <class Op>
qvArray<T> qvArray<T>::Combine(const qvArray& b, Op op) const {
    qvDetail::RequireSameLength(this->len, b.len);
    qvArray<T> r;
    if (this->len == 0) return r;
    r.New(this->len);
    qvDetail::ForEachInStep([&](T& out, const T& x, const T& y) { out = op(x, y); }, qvDetail::Run(r.data, r.len),
                            qvDetail::Run<const T>(this->data, this->len), qvDetail::Run<const T>(b.data, b.len));
    return r;
}

template <class T>
template <class Op>
qvArray<T> qvArray<T>::Combine(const T& v, Op op) const {
    const T value = v;
    qvArray<T> r;
    if (this->len == 0) return r;
    r.New(this->len);
    qvDetail::ForEachInStep([&](T& out, const T& x) { out = op(x, value); }, qvDetail::Run(r.data, r.len),
                            qvDetail::Run<const T>(this->data, this->len));
    return r;
}

template <class T>
template <class Rel>
int qvArray<T>::All(const qvArray& b, Rel rel) const {
    qvDetail::RequireSameLength(this->len, b.len);
    const T* q = b.data;
    for (const T *p = this->data, *const e = p + this->len; p != e; ++p, ++q)
        if (!rel(*p, *q)) return 0;
    return 1;
}

template <class T>
template <class Rel>
int qvArray<T>::All(const T& v, Rel rel) const {
    for (const T *p = this->data, *const e = p + this->len; p != e; ++p)
        if (!rel(*p, v)) return 0;
    return 1;
}

template <class T>
template <class Better>
int qvArray<T>::BestIndex(Better better) const {
    qvDetail::RequireElements(this->len);
    const T* a = this->data;
    T best = a[0];
    int at = 0;
    for (int i = 1; i < this->len; ++i) {
        if (better(a[i], best)) {
            best = a[i];
            at = i;
        }
    }
    return at;
}

template <class T>
qvArray<T>& qvArray<T>::operator+=(const qvArray& b) {
    return Update(b, qvDetail::AddOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator-=(const qvArray& b) {
    return Update(b, qvDetail::SubOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator*=(const qvArray& b) {
    return Update(b, qvDetail::MulOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator/=(const qvArray& b) {
    return Update(b, qvDetail::DivOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator+=(const T& v) {
    return Update(v, qvDetail::AddOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator-=(const T& v) {
    return Update(v, qvDetail::SubOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator*=(const T& v) {
    return Update(v, qvDetail::MulOp());
}

template <class T>
qvArray<T>& qvArray<T>::operator/=(const T& v) {
    return Update(v, qvDetail::DivOp());
}

template <class T>
qvArray<T> qvArray<T>::operator+(const qvArray& b) {
    return Combine(b, qvDetail::AddOp());
}

template <class T>
qvArray<T> qvArray<T>::operator-(const qvArray& b) {
    return Combine(b, qvDetail::SubOp());
}

template <class T>
qvArray<T> qvArray<T>::operator*(const qvArray& b) {
    return Combine(b, qvDetail::MulOp());
}

template <class T>
qvArray<T> qvArray<T>::operator/(const qvArray& b) {
    return Combine(b, qvDetail::DivOp());
}

template <class T>
qvArray<T> qvArray<T>::operator+(const T& v) {
    return Combine(v, qvDetail::AddOp());
}

template <class T>
qvArray<T> qvArray<T>::operator-(const T& v) {
    return Combine(v, qvDetail::SubOp());
}

template <class T>
qvArray<T> qvArray<T>::operator*(const T& v) {
    return Combine(v, qvDetail::MulOp());
}

template <class T>
qvArray<T> qvArray<T>::operator/(const T& v) {
    return Combine(v, qvDetail::DivOp());
}

template <class T>
int qvArray<T>::operator<(const qvArray& b) const {
    return All(b, qvDetail::LessRel());
}

template <class T>
int qvArray<T>::operator>(const qvArray& b) const {
    return All(b, qvDetail::GreaterRel());
}

template <class T>
int qvArray<T>::operator<=(const qvArray& b) const {
    return All(b, qvDetail::LessEqualRel());
}

template <class T>
int qvArray<T>::operator>=(const qvArray& b) const {
    return All(b, qvDetail::GreaterEqualRel());
}

template <class T>
int qvArray<T>::operator==(const qvArray& b) const {
    return b.len == this->len && All(b, qvDetail::EqualRel());
}

template <class T>
int qvArray<T>::operator!=(const qvArray& b) const {
    return !(*this == b);
}

template <class T>
int qvArray<T>::operator<(const T& v) const {
    return All(v, qvDetail::LessRel());
}

template <class T>
int qvArray<T>::operator>(const T& v) const {
    return All(v, qvDetail::GreaterRel());
}

template <class T>
int qvArray<T>::operator<=(const T& v) const {
    return All(v, qvDetail::LessEqualRel());
}

template <class T>
int qvArray<T>::operator>=(const T& v) const {
    return All(v, qvDetail::GreaterEqualRel());
}

template <class T>
int qvArray<T>::operator==(const T& v) const {
    return All(v, qvDetail::EqualRel());
}

template <class T>
int qvArray<T>::operator!=(const T& v) const {
    return !(*this == v);
}

template <class T>
T qvArray<T>::Sum() const {
    qvDetail::RequireElements(this->len);
    return qvDetail::FoldInStep([](const T& x) { return x; }, qvDetail::AddOp(),
                                qvDetail::Run<const T>(this->data, this->len));
}

template <class T>
T qvArray<T>::Mul() const {
    qvDetail::RequireElements(this->len);
    return qvDetail::FoldInStep([](const T& x) { return x; }, qvDetail::MulOp(),
                                qvDetail::Run<const T>(this->data, this->len));
}

template <class T>
T qvArray<T>::ScalarMul(const qvArray& b) const {
    qvDetail::RequireSameLength(this->len, b.len);
    qvDetail::RequireElements(this->len);
    using Arith = qvDetail::ElementArith<T>;
    return qvDetail::FoldInStep([](const T& x, const T& y) { return Arith::Mul(x, y); },
                                [](const T& s, const T& x, const T& y) { return Arith::Add(s, Arith::Mul(x, y)); },
                                qvDetail::Run<const T>(this->data, this->len), qvDetail::Run<const T>(b.data, b.len));
}

template <class T>
T qvArray<T>::Max() const {
    return this->data[MaxIndex()];
}

template <class T>
T qvArray<T>::Min() const {
    return this->data[MinIndex()];
}

template <class T>
int qvArray<T>::MaxIndex() const {
    return BestIndex(qvDetail::GreaterRel());
}

template <class T>
int qvArray<T>::MinIndex() const {
    return BestIndex(qvDetail::LessRel());
}

template <class T>
qvArray<T> qvArray<T>::Max(const qvArray& b) const {
    return Combine(b, qvDetail::GreaterOfOp());
}

template <class T>
qvArray<T> qvArray<T>::Min(const qvArray& b) const {
    return Combine(b, qvDetail::LesserOfOp());
}

template <class T>
T qvArray<T>::Median() {
    if (this->data == nullptr || this->len <= 0) throw BadParameters(qvMsg::MedianLengthZero);
    const int k = (this->len - 1) / 2;
    qvDetail::HoareFind(this->data, this->len, k);
    return this->data[k];
}

template <class T>
int qvArray<T>::Find(const T& v) const {
    for (int i = 0; i < this->len; ++i)
        if (this->data[i] == v) return i;
    return -1;
}

template <class T>
int qvArray<T>::FindB(const T& v, int ascending) const {
    if (this->len == 0) return -1;
    return qvDetail::Halve(this->data, this->len, v, ascending).index;
}

template <class T>
int qvArray<T>::InsertIfNotExistB(const T& v, int& found, int ascending) {
    if (this->len == 0) {
        this->push_back(v);
        found = 0;
        return 0;
    }
    const qvDetail::HalvingResult r = qvDetail::Halve(this->data, this->len, v, ascending);
    if (r.index >= 0) {
        found = 1;
        return r.index;
    }
    this->Insert(v, r.insertAt);
    found = 0;
    return r.insertAt;
}

template <class T>
qvArray<T> qvArray<T>::GetNoPositive() {
    // Keeps every element that is not greater than zero.
    const T zero = qvDetail::ElementZero<T>();
    return Combine(zero, [](const T& a, const T& z) { return a > z ? z : a; });
}

template <class T>
qvArray<T> qvArray<T>::GetNoNegative() {
    // Keeps every element that is not less than zero.
    const T zero = qvDetail::ElementZero<T>();
    return Combine(zero, [](const T& a, const T& z) { return a < z ? z : a; });
}

template <class T>
int qvArray<T>::MemSize() const {
    return qvRecordBytes(4, this->len, qvDetail::ElementRecordSize<T>());
}

template <class T>
int qvArray<T>::ToMem(unsigned char* p) const {
    qvArray::MemSize();
    qvDetail::PutLE<std::int32_t>(p, this->len);
    return 4 + qvDetail::PutElementRecords(p + 4, this->data, this->len);
}

template <class T>
int qvArray<T>::RecordSize(const unsigned char* p, int available) {
    const std::int32_t n = qvDetail::RecordCount(p, 0, available);
    return qvCheckRecordLength(qvRecordBytes(4, n, qvDetail::ElementRecordSize<T>()), available);
}

template <class T>
int qvArray<T>::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return qvArray::FromMem(const_cast<unsigned char*>(p));
}

template <class T>
int qvArray<T>::FromMem(unsigned char* p) {
    const std::int32_t n = qvDetail::GetLE<std::int32_t>(p);
    // A count too large for any record is refused before anything changes;
    // a negative one only once the present block has gone, when New refuses
    // it.
    if (n >= 0) RecordSize(p, qvDetail::kUnboundedRecord);
    if (n != this->len) {
        // The present block goes first; New then refuses a negative count.
        this->MakeEmpty();
        if (n != 0) this->New(n);
    }
    return 4 + qvDetail::GetElementRecords(p + 4, this->data, n);
}

#endif  // CQV_ARRAYS_ARRAY_IMPL_H
