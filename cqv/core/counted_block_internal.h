// Library-private helpers of the counted blocks: resizing a block that one
// holder alone holds. Not installed.
#ifndef CQV_CORE_COUNTED_BLOCK_INTERNAL_H
#define CQV_CORE_COUNTED_BLOCK_INTERNAL_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "cqv/core/allocator.h"
#include "cqv/core/allocator_internal.h"
#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"

namespace qvDetail {

// ---- Resizing a block in place ------------------------------------------------
//
// A block that one holder alone holds and sees whole can change its length
// without a copy: qvRealloc often extends an allocation where it lies, and
// moves large ones by remapping their pages. Nobody else can tell the
// difference from a fresh block of the new length, since nobody else sees
// the block, and the block stays exactly as long as its elements.

// Whether the n elements from first are the whole of the counted block mem
// and its holder is the only one (reference count 1).
template <class T>
bool SoleWholeBlock(const void* mem, const T* first, int n) {
    return mem != nullptr && static_cast<const void*>(first) == mem && n > 0 && BlockSizeWord(mem) == -n &&
           BlockCountWord(mem) == 1;
}

// Whether the elements from a to b (either may be the lower address, both
// included) meet the n elements from first: values about to be copied into
// a block that an in-place resize would move.
template <class T>
bool SpanMeets(const T* a, const T* b, const T* first, int n) {
    auto lo = reinterpret_cast<std::uintptr_t>(a);
    auto hi = reinterpret_cast<std::uintptr_t>(b);
    if (hi < lo) std::swap(lo, hi);
    const auto begin = reinterpret_cast<std::uintptr_t>(first);
    return hi >= begin && lo < begin + static_cast<std::uintptr_t>(n) * sizeof(T);
}

// Resizes the sole whole block mem (see SoleWholeBlock) to m > 0 elements
// through qvRealloc and returns its element 0; mem follows the block when it
// moves. The first min(m, old length) elements keep their values, the others
// are uninitialised. Only raw elements may move this way. On exhausted
// memory throws qvErrNoMemory with the block and mem untouched.
template <class T>
T* ResizeSoleBlock(void*& mem, int m) {
    static_assert(!qvIsObjectElement<T>::value && std::is_trivially_copyable<T>::value,
                  "only raw elements move with their allocation");
    const std::size_t bytes = static_cast<std::size_t>(m) * sizeof(T) + kBlockHeader;
    if (bytes > UINT_MAX) throw qvErrNoMemory(UINT_MAX);
    std::int32_t* words = BlockWords(mem) - 2;
    // Growth that the allocation already has room for (the allocator rounds
    // requests up to its own granule) needs no call: realloc would answer
    // with the same allocation. Every other change asks the allocator, so a
    // cut gives back what it can.
    if (m <= -words[1] || bytes > AllocatedSize(words))
        words = static_cast<std::int32_t*>(qvRealloc(words, static_cast<unsigned int>(bytes)));
    words[1] = -m;
    mem = words + 2;
    return reinterpret_cast<T*>(words + 2);
}

// ---- Many holders at once ----------------------------------------------------
//
// Many windows on one block (the points of a spline, its polynomials) take
// and give back their references together: one change of the count instead
// of one per window, with the same end as taking or releasing them one by
// one.

// Adds k references to the counted block p. Throws BadParameters
// "qvIncMemRef : memory must be allocated with qvNewWithRef." when p is not
// a counted block, with nothing changed.
inline void HoldBlockTimes(void* p, int k) {
    if (BlockSizeWord(p) >= 0) throw BadParameters(qvMsg::IncMemRefNotCounted);
    BlockCountWord(p) += k;
}

// Releases k references to the block p (not null) by the release rule, as k
// calls of qvDeleteWithRef would: the last one destroys and frees it.
template <class T>
void ReleaseBlockTimes(void* p, int k) {
    if (BlockSizeWord(p) < 0 && k > 1) {
        // All but one at once; the last by the rule itself.
        BlockCountWord(p) -= k - 1;
        k = 1;
    }
    for (; k > 0; --k) qvDeleteWithRef(static_cast<T*>(p));
}

}  // namespace qvDetail

#endif  // CQV_CORE_COUNTED_BLOCK_INTERNAL_H
