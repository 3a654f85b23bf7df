#include "cqv/core/allocator.h"

#include <climits>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__) || defined(_WIN32)
#include <malloc.h>
#endif

#include "cqv/core/allocator_internal.h"
#include "cqv/core/exceptions.h"

void* qvMalloc(unsigned int size) {
    void* p = std::malloc(size);
    if (p == nullptr) throw qvErrNoMemory(size);
    return p;
}

void* qvRealloc(void* p, unsigned int size) {
    void* q = std::realloc(p, size);
    if (q == nullptr) throw qvErrNoMemory(size);
    return q;
}

void qvFree(void* p) {
    if (p != nullptr) std::free(p);
}

std::size_t qvDetail::AllocatedSize(const void* p) {
#if defined(__GLIBC__)
    return malloc_usable_size(const_cast<void*>(p));
#elif defined(_WIN32)
    return _msize(const_cast<void*>(p));
#else
    (void)p;
    return 0;
#endif
}

void* qvDetail::AllocateObject(std::size_t size) {
    if (size > UINT_MAX) throw qvErrNoMemory(UINT_MAX);
    return qvMalloc(size == 0 ? 1u : static_cast<unsigned int>(size));
}

// The library's own global allocation and deallocation operators. They route
// every new and delete compiled into the library through qvMalloc and qvFree.
// On ELF targets the linker script keeps these symbols local to the shared
// object, so that a client's own new and delete are never redirected to them.
// Operator new never returns null, so a zero-byte request asks for one byte.

namespace {

// The nothrow forms report failure as null, which is what they are for; the
// library itself never calls them.
void* NewBytesOrNull(std::size_t size) noexcept {
    if (size == 0) size = 1;
    if (size > UINT_MAX) return nullptr;
    return std::malloc(size);
}

}  // namespace

void* operator new(std::size_t size) { return qvDetail::AllocateObject(size); }
void* operator new[](std::size_t size) { return qvDetail::AllocateObject(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return NewBytesOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return NewBytesOrNull(size); }

void operator delete(void* p) noexcept { qvFree(p); }
void operator delete[](void* p) noexcept { qvFree(p); }
void operator delete(void* p, std::size_t) noexcept { qvFree(p); }
void operator delete[](void* p, std::size_t) noexcept { qvFree(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { qvFree(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { qvFree(p); }
