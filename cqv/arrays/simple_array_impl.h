// Member definitions of qvSimpleArray<T>; included only by the library's
// sources that instantiate it. Not installed.
#ifndef CQV_ARRAYS_SIMPLE_ARRAY_IMPL_H
#define CQV_ARRAYS_SIMPLE_ARRAY_IMPL_H

#include <cstdint>
#include <cstring>
#include <new>

#include "cqv/arrays/simple_array.h"
#include "cqv/core/counted_block.h"
#include "cqv/core/counted_block_internal.h"
#include "cqv/core/exceptions.h"
#include "cqv/arrays/messages.h"

namespace qvDetail {

// Raw elements are copied bytewise; class elements are relocated bytewise
// too (they hold no pointers into themselves), but copied by assignment.
template <class T>
inline void RelocateBytes(T* dst, const T* src, int n) {
    if (n > 0) std::memmove(static_cast<void*>(dst), static_cast<const void*>(src), sizeof(T) * static_cast<std::size_t>(n));
}

// Assigns src[0..n) to the existing elements dst[0..n); the ranges may
// overlap.
template <class T>
inline void AssignElements(T* dst, const T* src, int n) {
    if (n <= 0 || dst == src) return;
    if constexpr (qvIsObjectElement<T>::value) {
        if (dst < src) {
            for (int i = 0; i < n; ++i) dst[i] = src[i];
        } else {
            for (int i = n - 1; i >= 0; --i) dst[i] = src[i];
        }
    } else {
        RelocateBytes(dst, src, n);
    }
}

// Exchanges two elements bytewise.
template <class T>
inline void SwapBytes(T* a, T* b) {
    alignas(T) unsigned char tmp[sizeof(T)];
    std::memcpy(tmp, static_cast<const void*>(a), sizeof(T));
    std::memcpy(static_cast<void*>(a), static_cast<const void*>(b), sizeof(T));
    std::memcpy(static_cast<void*>(b), tmp, sizeof(T));
}

// Owns a block under construction whose elements are all constructed;
// destroys and frees it unless released.
template <class T>
struct PendingBlock {
    T* p;
    explicit PendingBlock(T* block) : p(block) {}
    PendingBlock(const PendingBlock&) = delete;
    PendingBlock& operator=(const PendingBlock&) = delete;
    ~PendingBlock() {
        if (p == nullptr) return;
        if constexpr (qvIsObjectElement<T>::value) {
            const std::int32_t n = -BlockSizeWord(p);
            for (std::int32_t i = 0; i < n; ++i) p[i].~T();
        }
        qvFree(BlockWords(p) - 2);
    }
    T* release() {
        T* r = p;
        p = nullptr;
        return r;
    }
};

// A fresh block (reference count `count`) holding private copies of
// src[0..n).
template <class T>
T* NewBlockCopy(const T* src, int n, std::int32_t count) {
    PendingBlock<T> block(NewBlock<T>(n, count, true));
    if constexpr (qvIsObjectElement<T>::value) {
        for (int i = 0; i < n; ++i) block.p[i] = src[i];
    } else {
        std::memcpy(static_cast<void*>(block.p), static_cast<const void*>(src), sizeof(T) * static_cast<std::size_t>(n));
    }
    return block.release();
}

}  // namespace qvDetail

template <class T>
qvSimpleArray<T>::qvSimpleArray(const qvSimpleArray& a) : qvPArray(), data(nullptr), len(0) {
    if (a.data != nullptr && a.len > 0) AdoptCopyOf(a.data, a.len);
}

template <class T>
qvSimpleArray<T>& qvSimpleArray<T>::operator=(const qvSimpleArray& a) {
    if (a.len == 0) {
        MakeEmpty();
        return *this;
    }
    if (a.len != len) {
        // a holds its own reference, so it survives the release even when it
        // is a window on this array's block.
        MakeEmpty();
        New(a.len);
    }
    qvDetail::AssignElements(data, a.data, len);
    return *this;
}

template <class T>
void qvSimpleArray<T>::Init(int n) {
    if (n == len) return;
    Set(n);
}

template <class T>
void qvSimpleArray<T>::Set(int n) {
    // The block goes first; New then refuses a negative n.
    MakeEmpty();
    if (n != 0) New(n);
}

template <class T>
void qvSimpleArray<T>::Set(int n, const T& v) {
    const T value(v);  // v may be an element of this array
    MakeEmpty();
    New(n);
    Fill(value);
}

template <class T>
void qvSimpleArray<T>::Clear() {
    MakeEmpty();
}

template <class T>
void qvSimpleArray<T>::SetDirectly(T* p, int n) {
    Free();
    data = p;
    len = n;
}

template <class T>
void qvSimpleArray<T>::SetSubWindow(const qvSimpleArray& a, int start, int n) {
    if (start < 0 || n < 0 || static_cast<std::int64_t>(start) + n > a.len)
        throw BadParameters(qvMsg::SimpleArraySetOutOfRange);
    T* first = a.data + start;
    SetMem(a.mem);
    data = first;
    len = n;
}

template <class T>
void qvSimpleArray<T>::Move(qvSimpleArray& a) {
    if (&a == this) return;
    qvDetail::TakeBlock<T>(mem, a.mem);
    data = a.data;
    len = a.len;
    a.data = nullptr;
    a.len = 0;
}

template <class T>
void qvSimpleArray<T>::swap(qvSimpleArray& a) {
    if (&a == this) return;
    T* d = data;
    int n = len;
    void* m = mem;
    data = a.data;
    len = a.len;
    InitMem(a.mem);
    a.data = d;
    a.len = n;
    a.InitMem(m);
}

template <class T>
void qvSimpleArray<T>::Copy() {
    if (data != nullptr && len > 0 && IsShared()) AdoptCopyOf(data, len);
}

template <class T>
void qvSimpleArray<T>::Concat(T v) {
    push_back(v);
}

template <class T>
void qvSimpleArray<T>::push_back(const T& v) {
    // The commonest growth, without Splice's general bookkeeping.
    if constexpr (!qvIsObjectElement<T>::value) {
        if (qvDetail::SoleWholeBlock(mem, data, len)) {
            const T value = v;
            data = qvDetail::ResizeSoleBlock<T>(mem, len + 1);
            data[len++] = value;
            return;
        }
    }
    Splice(len, 1, 0, &v);
}

template <class T>
void qvSimpleArray<T>::Concat(const qvSimpleArray& a) {
    Splice(len, a.len, 0, a.data);
}

template <class T>
void qvSimpleArray<T>::push_front(const T& v) {
    Splice(0, 1, 0, &v);
}

template <class T>
T* qvSimpleArray<T>::insert(T* it, const T& v) {
    const int k = Insert(v, static_cast<int>(it - data));
    return data + k;
}

template <class T>
int qvSimpleArray<T>::Insert(T v, int pos) {
    if (pos < 0 || pos > len) throw BadParameters(qvMsg::OutOfRange);
    Splice(pos, 1, 0, &v);
    return pos;
}

template <class T>
T* qvSimpleArray<T>::erase(T* it) {
    const std::intptr_t bytes = reinterpret_cast<std::intptr_t>(it) - reinterpret_cast<std::intptr_t>(data);
    const std::intptr_t k = bytes / static_cast<std::intptr_t>(sizeof(T));
    if (data == nullptr || bytes < 0 || k >= len || bytes % static_cast<std::intptr_t>(sizeof(T)) != 0)
        throw BadParameters(qvMsg::OutOfRange);
    Remove(static_cast<int>(k));
    return data + k;
}

template <class T>
void qvSimpleArray<T>::Remove(int i) {
    if (i < 0 || i >= len) throw BadParameters(qvMsg::OutOfRange);
    Splice(i, 0, 1, nullptr);
}

template <class T>
void qvSimpleArray<T>::RemoveLast() {
    if (len > 0) Regrow(len - 1);
}

template <class T>
void qvSimpleArray<T>::pop_front() {
    Remove(0);
}

template <class T>
void qvSimpleArray<T>::Replace(int pos, int count, const qvSimpleArray& a) {
    if (pos < 0 || count < 0 || static_cast<std::int64_t>(pos) + count > len)
        throw BadParameters(qvMsg::OutOfRange);
    if (a.len == count) {
        // The length stays, so nothing regrows: a's elements are written
        // over the replaced ones in the present storage, through a window
        // or into a shared block, as an assignment of equal length does.
        qvDetail::AssignElements(data + pos, a.data, count);
        return;
    }
    Splice(pos, a.len, count, a.data);
}

template <class T>
void qvSimpleArray<T>::CycleRightShift(int k) {
    if (len == 0) return;
    const int r = k % len;
    if (r <= 0) return;
    // The last r elements move to the front.
    T* saved = static_cast<T*>(qvMalloc(static_cast<unsigned int>(sizeof(T) * static_cast<std::size_t>(r))));
    qvDetail::RelocateBytes(saved, data + (len - r), r);
    qvDetail::RelocateBytes(data + r, data, len - r);
    qvDetail::RelocateBytes(data, saved, r);
    qvFree(saved);
}

template <class T>
void qvSimpleArray<T>::CycleLeftShift(int k) {
    if (len == 0) return;
    const int r = k % len;
    if (r <= 0) return;
    // The first r elements move to the end.
    T* saved = static_cast<T*>(qvMalloc(static_cast<unsigned int>(sizeof(T) * static_cast<std::size_t>(r))));
    qvDetail::RelocateBytes(saved, data, r);
    qvDetail::RelocateBytes(data, data + r, len - r);
    qvDetail::RelocateBytes(data + (len - r), saved, r);
    qvFree(saved);
}

template <class T>
void qvSimpleArray<T>::InverseOrder() {
    for (int i = 0, j = len - 1; i < j; ++i, --j) qvDetail::SwapBytes(data + i, data + j);
}

template <class T>
qvSimpleArray<T> qvSimpleArray<T>::Left(int n) const {
    if (n <= 0 || n > len) throw BadParameters(qvMsg::SimpleArrayLeftOutOfRange);
    qvSimpleArray<T> r;
    r.AdoptCopyOf(data, n);
    return r;
}

template <class T>
qvSimpleArray<T> qvSimpleArray<T>::Right(int n) const {
    if (n <= 0 || n > len) throw BadParameters(qvMsg::SimpleArrayRightOutOfRange);
    qvSimpleArray<T> r;
    r.AdoptCopyOf(data + (len - n), n);
    return r;
}

template <class T>
qvSimpleArray<T> qvSimpleArray<T>::Mid(int start, int n) const {
    if (start < 0 || n <= 0 || static_cast<std::int64_t>(start) + n > len)
        throw BadParameters(qvMsg::SimpleArrayMidOutOfRange);
    qvSimpleArray<T> r;
    r.AdoptCopyOf(data + start, n);
    return r;
}

template <class T>
void qvSimpleArray<T>::SetMem(void* const p) {
    qvDetail::ReplaceBlock<T>(mem, p);
}

template <class T>
void qvSimpleArray<T>::MakeEmpty() {
    Free();
    data = nullptr;
    len = 0;
}

template <class T>
void qvSimpleArray<T>::AdoptCopyOf(const T* src, int n) {
    T* block = qvDetail::NewBlockCopy(src, n, 0);
    data = block;
    len = n;
    SetMem(block);
}

template <class T>
void qvSimpleArray<T>::Regrow(int m) {
    if (m == len) return;
    if (m < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    if (m > len) {
        Splice(len, m - len, 0, nullptr);
    } else {
        Splice(m, 0, len - m, nullptr);
    }
}

template <class T>
void qvSimpleArray<T>::Splice(int head, int gap, int skip, const T* fill) {
    if (gap == 0 && skip == 0) return;
    const int tail = len - head - skip;
    const int m = head + gap + tail;
    if (m == 0) {
        MakeEmpty();
        return;
    }
    const T* tailSrc = data + head + skip;
    if constexpr (qvIsObjectElement<T>::value) {
        // The new elements are built first, while fill is still readable.
        qvDetail::PendingBlock<T> block(qvDetail::NewBlock<T>(m, 0, true));
        T* nb = block.p;
        if (fill != nullptr)
            for (int i = 0; i < gap; ++i) nb[head + i] = fill[i];
        // Elements move bytewise only when nobody else sees the old block
        // and they all lie inside it.
        const T* blockFirst = static_cast<const T*>(mem);
        const bool sole = mem != nullptr && qvDetail::BlockCountWord(mem) == 1 && data >= blockFirst &&
                          data + len <= blockFirst - qvDetail::BlockSizeWord(mem);
        if (sole) {
            // Move the kept elements over and destroy only the ones left
            // behind.
            T* old = static_cast<T*>(mem);
            const std::int32_t oldCount = -qvDetail::BlockSizeWord(old);
            for (int i = 0; i < head; ++i) nb[i].~T();
            for (int i = 0; i < tail; ++i) nb[head + gap + i].~T();
            qvDetail::RelocateBytes(nb, data, head);
            qvDetail::RelocateBytes(nb + head + gap, tailSrc, tail);
            for (std::int32_t i = 0; i < oldCount; ++i) {
                T* e = old + i;
                const bool movedHead = e >= data && e < data + head;
                const bool movedTail = e >= tailSrc && e < tailSrc + tail;
                if (!movedHead && !movedTail) e->~T();
            }
            qvFree(qvDetail::BlockWords(old) - 2);
            qvDetail::BlockCountWord(nb) = 1;
            InitMem(block.release());
            data = nb;
        } else {
            qvDetail::AssignElements(nb, data, head);
            qvDetail::AssignElements(nb + head + gap, tailSrc, tail);
            data = block.release();
            SetMem(data);
        }
    } else {
        // A single new value is taken first: it may be an element of this
        // array, which the in-place path below moves.
        T one;
        if (gap == 1 && fill != nullptr) {
            one = *fill;
            fill = &one;
        }
        // Growth anywhere, and a cut at the end, can happen where the block
        // lies when nobody else sees it: qvRealloc keeps the elements, the
        // tail then moves up, the new values go in. Its failure leaves the
        // array as it was. Several new values read from this very block
        // (an array appended to itself) take the copying path instead.
        const bool inPlace = (m > len || (gap == 0 && tail == 0)) && qvDetail::SoleWholeBlock(mem, data, len) &&
                             !(fill != nullptr && gap > 0 && qvDetail::SpanMeets(fill, fill + (gap - 1), data, len));
        if (inPlace) {
            T* nb = qvDetail::ResizeSoleBlock<T>(mem, m);
            qvDetail::RelocateBytes(nb + head + gap, nb + head + skip, tail);
            if (fill != nullptr) qvDetail::RelocateBytes(nb + head, fill, gap);
            data = nb;
            len = m;
            return;
        }
        T* nb = qvDetail::NewBlock<T>(m, 0, false);
        qvDetail::RelocateBytes(nb, data, head);
        if (fill != nullptr) qvDetail::RelocateBytes(nb + head, fill, gap);
        qvDetail::RelocateBytes(nb + head + gap, tailSrc, tail);
        data = nb;
        SetMem(nb);
    }
    len = m;
}

#endif  // CQV_ARRAYS_SIMPLE_ARRAY_IMPL_H
