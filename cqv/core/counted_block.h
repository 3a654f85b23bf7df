// Counted blocks: the shared element storage of every array-like class.
//
// A counted block is one heap allocation laid out as
//
//     int32 reference count | int32 minus the element count | elements...
//
// and is addressed by the pointer to element 0. Several objects may hold the
// same block; each holder releases it once with qvDeleteWithRef, and the last
// release destroys the elements (for class elements) and frees the block.
//
// A block whose word before element 0 is zero or positive is "uncounted": that
// word is its element count and the allocation starts one word before element
// 0. The library never creates one, but the release rule accepts it.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_CORE_COUNTED_BLOCK_H
#define CQV_CORE_COUNTED_BLOCK_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "cqv/core/allocator.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/export.h"
#include "cqv/core/messages.h"

static_assert(sizeof(int) == 4, "the library's counts and records are 32-bit ints");

// Element types whose blocks construct and destroy their elements: class
// types with a virtual destructor (vectors, matrices, polynomials, contours).
// All other element types are raw storage: left uninitialised, copied bytewise.
template <class T>
struct qvIsObjectElement
    : std::integral_constant<bool, std::is_class<T>::value && std::has_virtual_destructor<T>::value> {};

namespace qvDetail {

// Size of the two header words in front of element 0.
constexpr std::size_t kBlockHeader = 2 * sizeof(std::int32_t);

inline std::int32_t* BlockWords(const void* p) {
    return static_cast<std::int32_t*>(const_cast<void*>(p));
}

// The word before element 0: minus the element count for a counted block.
inline std::int32_t& BlockSizeWord(const void* p) { return BlockWords(p)[-1]; }

// The reference count of a counted block.
inline std::int32_t& BlockCountWord(const void* p) { return BlockWords(p)[-2]; }

// Builds a block of n > 0 elements with the given reference count. Class
// elements are default-constructed in index order when construct is true.
template <class T>
T* NewBlock(int n, std::int32_t count, bool construct) {
    static_assert(alignof(T) <= kBlockHeader, "element alignment exceeds the block header");
    if (n < 1) throw BadParameters(qvMsg::NewWithRefNonPositive);
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(T) + kBlockHeader;
    if (bytes > UINT_MAX) throw qvErrNoMemory(UINT_MAX);
    auto* words = static_cast<std::int32_t*>(qvMalloc(static_cast<unsigned int>(bytes)));
    words[0] = count;
    words[1] = -n;
    T* p = reinterpret_cast<T*>(words + 2);
    if constexpr (qvIsObjectElement<T>::value) {
        if (construct) {
            // Should a constructor throw, the elements built so far are
            // destroyed and the allocation is returned before the exception
            // leaves.
            struct Guard {
                T* first;
                int built;
                void* raw;
                ~Guard() {
                    if (raw == nullptr) return;
                    for (int i = 0; i < built; ++i) first[i].~T();
                    qvFree(raw);
                }
            } guard{p, 0, words};
            for (; guard.built < n; ++guard.built) ::new (static_cast<void*>(p + guard.built)) T();
            guard.raw = nullptr;
        }
    } else {
        (void)construct;
    }
    return p;
}

}  // namespace qvDetail

// Creates a counted block of n elements with reference count 1 and returns
// the pointer to element 0. Class elements are default-constructed; numeric
// elements are left uninitialised. Throws BadParameters
// "qvNewWithRef : n <= 0 " (with the trailing blank) when n is below 1,
// before anything is allocated.
template <class T>
T* qvNewWithRef(int n) {
    return qvDetail::NewBlock<T>(n, 1, true);
}

// Releases one reference to the block p: at a count of 0 (or for an
// uncounted block) its class elements are destroyed in index order and the
// allocation is freed. A null p is ignored.
template <class T>
void qvDeleteWithRef(T* p) {
    if (p == nullptr) return;
    std::int32_t n = qvDetail::BlockSizeWord(p);
    void* raw;
    if (n < 0) {
        if (--qvDetail::BlockCountWord(p) > 0) return;
        n = -n;
        raw = qvDetail::BlockWords(p) - 2;
    } else {
        raw = qvDetail::BlockWords(p) - 1;
    }
    if constexpr (qvIsObjectElement<T>::value) {
        // The elements are of the block's own type T (NewBlock made them),
        // so their destructor is called without a virtual dispatch, and
        // can be inlined.
        for (std::int32_t i = 0; i < n; ++i) p[i].T::~T();
    }
    qvFree(raw);
}

// Adds one reference to the counted block p. Throws BadParameters
// "qvIncMemRef : memory must be allocated with qvNewWithRef." when p is not
// a counted block.
CQV_API void qvIncMemRef(void* p);

// Removes one reference from the counted block p without ever freeing it.
// Throws BadParameters "qvDecMemRef : memory must be allocated with
// qvNewWithRef." when p is not a counted block, and "qvDecMemRef : Number of
// reference <= 0." when the count fell below 1 (the decrement stands).
CQV_API void qvDecMemRef(void* p);

// The reference-count word of the counted block p, for reading or writing.
// Throws BadParameters "qvIncMemRef : memory must be allocated with
// qvNewWithRef." (the text of qvIncMemRef) when p is not a counted block.
CQV_API int& qvGetMemRef(void* p);

// ---- Holding a block --------------------------------------------------------
//
// An array-like object holds at most one block, in qvPArray's mem: null when
// it holds none (it is empty, or views memory its caller owns), else the
// client pointer of a counted block of which it owns exactly one reference.
// Sharing is holding: a copy, a window or a view of another object's
// elements holds a reference of its own to that object's block, so it stays
// valid after the object is gone. Every container's protected SetMem, Free
// and Move are the three functions below on its own mem, with T its element
// type; its MakeEmpty is Free followed by the emptying of its own fields.
namespace qvDetail {

// SetMem: makes p (a counted block, or null) the held block. The reference
// to p is taken before the previous block is released, so p may be a block
// that only the previous holding kept alive, and a p that is not counted
// throws BadParameters "qvIncMemRef : memory must be allocated with
// qvNewWithRef." with nothing changed. Holding the block already held
// changes nothing.
template <class T>
void HoldBlock(void*& mem, void* p) {
    if (p == mem) return;
    if (p != nullptr) qvIncMemRef(p);
    void* old = mem;
    mem = p;
    qvDeleteWithRef(static_cast<T*>(old));
}

// Free: releases the held block by the release rule (when this was its last
// holder its class elements are destroyed and it is freed); mem becomes null.
template <class T>
void ReleaseBlock(void*& mem) {
    qvDeleteWithRef(static_cast<T*>(mem));
    mem = nullptr;
}

// Move: the holder of mem takes over the reference of from's holder, whose
// mem becomes null; the block held before is released first (so when both
// held the same block, one of the two references goes).
template <class T>
void TakeBlock(void*& mem, void*& from) {
    if (&mem == &from) return;
    ReleaseBlock<T>(mem);
    mem = from;
    from = nullptr;
}

// SetMem of the one-dimensional arrays, the vectors and the matrices, in the
// order of their own rule: the held block is released first, then p is
// stored and its count raised. Holding the block already held changes
// nothing. A p that is not counted is therefore stored all the same (the
// release rule frees such a block at once when its holder lets go of it)
// and BadParameters "qvIncMemRef : memory must be allocated with
// qvNewWithRef." is thrown after the previous block was released. The
// window-making members of these classes take their reference with
// HoldBlock instead, so that a window on a block only the previous holding
// kept alive stays valid.
template <class T>
void ReplaceBlock(void*& mem, void* p) {
    if (p == mem) return;
    ReleaseBlock<T>(mem);
    mem = p;
    if (p != nullptr) qvIncMemRef(p);
}

}  // namespace qvDetail

#endif  // CQV_CORE_COUNTED_BLOCK_H
