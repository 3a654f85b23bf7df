// Allocation helpers shared by the library's sources; not installed.
#ifndef CQV_CORE_ALLOCATOR_INTERNAL_H
#define CQV_CORE_ALLOCATOR_INTERNAL_H

#include <cstddef>

namespace qvDetail {

// Allocates an object of size bytes (at least one) through qvMalloc, as
// operator new must. A request beyond the allocator's 32-bit size cannot be
// met and throws qvErrNoMemory with the largest size the exception carries.
void* AllocateObject(std::size_t size);

// The bytes the C runtime set aside for the allocation p (at least what was
// asked for), where the runtime can tell; 0 where it cannot.
std::size_t AllocatedSize(const void* p);

}  // namespace qvDetail

#endif  // CQV_CORE_ALLOCATOR_INTERNAL_H
