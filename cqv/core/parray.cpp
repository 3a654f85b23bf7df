#include "cqv/core/parray.h"

#include <cstdint>

#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/messages.h"

namespace {

// Distance in bytes from base to p; the two need not point into one object.
std::int64_t ByteOffset(const void* p, const void* base) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(p) - reinterpret_cast<std::intptr_t>(base));
}

// Whether the elements of a lie inside its block; when aligned is true,
// element 0 must also start on an element boundary of the block.
int InsideBlock(const qvPArray& a, bool aligned) {
    const std::int64_t off = ByteOffset(a.Pointer(), a.GetMem());
    const std::int32_t word = qvDetail::BlockSizeWord(a.GetMem());
    const std::int64_t elements = word < 0 ? -static_cast<std::int64_t>(word) : word;
    const std::int64_t size = a.GetSizeOfType();
    if (aligned && (size == 0 || off % size != 0)) return 0;
    if (off + a.BytePositiveLength() > elements * size) return 0;
    if (off - a.ByteNegativeLength() < 0) return 0;
    return 1;
}

}  // namespace

void qvPArray::SetMem(void* const p) {
    void* old = mem;
    if (p != nullptr) qvIncMemRef(p);
    mem = p;
    if (old != nullptr) qvDecMemRef(old);
}

void* qvPArray::GetMem() const { return mem; }

int qvPArray::GetNumOfRef() const { return qvGetMemRef(mem) - 1; }

int qvPArray::IsShared() const {
    if (mem == nullptr) return 1;
    return GetNumOfRef() != 0 ? 1 : 0;
}

int qvPArray::IsExternShared() const { return mem == nullptr ? 1 : 0; }

int qvPArray::CheckPointer() const {
    if (IsExternShared()) return 1;
    return InsideBlock(*this, false);
}

int qvPArray::CheckPointer(void* p, int size) const {
    if (mem != nullptr) return InsideBlock(*this, true);
    const std::int64_t off = ByteOffset(Pointer(), p);
    if (off + BytePositiveLength() > size) return 0;
    if (off - ByteNegativeLength() < 0) return 0;
    return 1;
}

void qvPArray::CheckPointerWithThrow() const {
    if (!CheckPointer()) throw BadParameters(qvMsg::CheckPointerInvalid);
}

void qvPArray::CheckPointerWithThrow(void* p, int size) const {
    if (!CheckPointer(p, size)) throw BadParameters(qvMsg::CheckPointerInvalid);
}

int qvPArray::BytePositiveLength() const { return GetSizeOfType() * PositiveLength(); }

int qvPArray::ByteNegativeLength() const { return GetSizeOfType() * NegativeLength(); }

int qvPArray::MemSize() const { throw BadParameters(qvMsg::NoMemSize); }

int qvPArray::ToMem(unsigned char*) const { throw BadParameters(qvMsg::NoToMem); }

int qvPArray::FromMem(unsigned char*) { throw BadParameters(qvMsg::NoFromMem); }
