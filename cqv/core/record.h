// Sizes and bounds of storage records.
//
// A record (see parray.h) states its own extent only through the counts it
// holds, and the size of every record is an int: a record of 2 GiB or more
// cannot be described. Every MemSize, ToMem and FromMem of the library
// computes sizes through qvRecordBytes and throws BadParameters
// "Record size does not fit in 32 bits" instead of overflowing.
//
// Reading untrusted bytes. The specified readers, x.FromMem(p) and
// qvFromMem(p, x), trust the counts they find at p and read as far as those
// say. Bytes that come from a file, a socket or any other source that may be
// short or hostile must be read through the bounded forms instead:
//   x.FromMem(p, available)            every class with a record
//   qvFromMem(p, available, x)         the value types, string, transforms
//   qvRecordSize(p, available, x)      the record's size, x only names its type
// They look at no byte at or beyond p + available, check the record's counts
// and the invariants of x's class before anything changes, and then read
// exactly what the specified reader reads.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_CORE_RECORD_H
#define CQV_CORE_RECORD_H

#include <cstdint>

#include "cqv/core/export.h"

// header + count * elementSize as an int: the size of a record of count
// elements of elementSize bytes each after header bytes of counts. Throws
// BadParameters "qvNewWithRef : n <= 0 " when count is negative and
// "Record size does not fit in 32 bits" when the size is 2^31 or more
// (count may be a product of several 32-bit counts).
CQV_API int qvRecordBytes(std::int64_t header, std::int64_t count, int elementSize);

// Returns declared after checking that a record of declared bytes fits in
// the available bytes at its start. Throws BadParameters
// "Record is longer than the bytes available" when declared exceeds
// available (also for any record when available is negative).
CQV_API int qvCheckRecordLength(int declared, int available);

// The size in bytes of the record of an object of x's type at p, of which
// available bytes may be read; x only selects the record's format. Throws
// BadParameters "Record is longer than the bytes available" when the record
// claims more than available, and whatever T::RecordSize throws for counts
// the class cannot hold. The value types, qvString and the transforms have
// overloads of their own beside their other record functions.
template <class T>
int qvRecordSize(const unsigned char* p, int available, const T&) {
    return T::RecordSize(p, available);
}

#endif  // CQV_CORE_RECORD_H
