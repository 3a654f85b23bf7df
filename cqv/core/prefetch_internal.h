// Hints that bring a cache line closer before it is used. Internal to the
// library.
#ifndef CQV_CORE_PREFETCH_INTERNAL_H
#define CQV_CORE_PREFETCH_INTERNAL_H

#if defined(_MSC_VER) && !defined(__clang__) && (defined(_M_IX86) || defined(_M_X64))
#include <xmmintrin.h>
#endif

namespace qvDetail {

// Asks the processor to bring the cache line holding address p closer, to
// be read; a hint only, which never faults whatever p points at.
inline void Prefetch(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#elif defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
    _mm_prefetch(static_cast<const char*>(p), _MM_HINT_T0);
#else
    (void)p;
#endif
}

// The same for a line about to be written: where the processor can, it
// takes the line for writing at once.
inline void PrefetchForWrite(const void* p) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p, 1);
#elif defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
    _mm_prefetch(static_cast<const char*>(p), _MM_HINT_T0);
#else
    (void)p;
#endif
}

}  // namespace qvDetail

#endif  // CQV_CORE_PREFETCH_INTERNAL_H
