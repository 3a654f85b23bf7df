// The library's heap functions.
//
// Every byte the library takes from the heap goes through these three, and
// so does every allocation by the library's own operator new and delete. A
// failed request throws qvErrNoMemory carrying the requested size instead of
// returning null; nothing here throws anything else.
#ifndef CQV_CORE_ALLOCATOR_H
#define CQV_CORE_ALLOCATOR_H

#include "cqv/core/export.h"

// Allocates size bytes with the C runtime's malloc; throws qvErrNoMemory(size)
// when it returns null.
CQV_API void* qvMalloc(unsigned int size);

// Resizes the allocation p to size bytes with the C runtime's realloc; throws
// qvErrNoMemory(size) when it returns null (p is then still valid).
CQV_API void* qvRealloc(void* p, unsigned int size);

// Frees p with the C runtime's free; a null p is ignored.
CQV_API void qvFree(void* p);

#endif  // CQV_CORE_ALLOCATOR_H
