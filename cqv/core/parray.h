// qvPArray: the abstract base of every array-like class.
//
// It holds the object's reference to its counted block (mem), fixes the
// order of the virtual members every array shares, checks that an array's
// elements lie inside its block, and declares the persistence protocol:
// MemSize gives the byte size of an object's record, ToMem writes it, FromMem
// reads it back; each returns the number of bytes so records can be chained.
// FromMem(p) trusts the counts it finds at p; the classes that have a record
// also offer FromMem(p, available) for bytes that may be short or hostile
// (see cqv/core/record.h). That form is not virtual, so the slot order stays
// as it is.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_CORE_PARRAY_H
#define CQV_CORE_PARRAY_H

#include "cqv/core/export.h"
#include "cqv/core/using_new.h"

// The abstract base of the array-like classes: the reference to the counted
// block, the storage checks and the record protocol.
class CQV_API qvPArray : public qvRefCount {
public:
    // No block.
    CQV_INLINE qvPArray() : mem(nullptr) {}
    // Copies the block pointer without taking a reference; the deriving
    // class decides what its copy holds.
    CQV_INLINE qvPArray(const qvPArray& a) : qvRefCount(a), mem(a.mem) {}
    // Takes a's object count (as qvRefCount) and block pointer, without
    // touching any block's count.
    CQV_INLINE qvPArray& operator=(const qvPArray& a) {
        qvRefCount::operator=(a);
        mem = a.mem;
        return *this;
    }
    // Nothing to release here: the deriving class releases its block.
    CQV_INLINE ~qvPArray() override {}

protected:
    // Makes p the held block. This base version takes a reference to p and
    // drops one from the previous block without ever freeing it (throwing
    // as qvIncMemRef and qvDecMemRef do); arrays define their own, by the
    // rule of cqv/core/counted_block.h.
    virtual void SetMem(void* const p) = 0;

public:
    // The counted block this object holds a reference to, or null.
    virtual void* GetMem() const;
    // The block's reference count minus one: how many others hold it.
    // Requires a block: without one the result is undefined (test
    // IsExternShared first, as IsShared does).
    virtual int GetNumOfRef() const;
    // 1 when the storage may be seen by someone else: there is no block, or
    // the block has other holders.
    virtual int IsShared() const;
    // 1 when the object holds no block (empty or viewing external memory).
    virtual int IsExternShared() const;
    // Address of element 0.
    virtual void* Pointer() const = 0;
    // The extents of the elements around element 0, in elements: from
    // element 0 upwards, and below it (0 or less). The pointer checks below
    // compare the storage against exactly these, so a class whose extents
    // reach past its last element or never go below element 0 (as the
    // vectors' do) is checked by that measure.
    virtual int PositiveLength() const = 0;
    virtual int NegativeLength() const = 0;
    // Size of one element in bytes.
    virtual int GetSizeOfType() const = 0;
    // Makes the storage private to this object.
    virtual void Copy() = 0;
    // 1 when the elements lie inside the held block (always 1 without one).
    virtual int CheckPointer() const;
    // With a block: as CheckPointer(), and element 0 must also lie on an
    // element boundary of the block. Without one: 1 when the elements lie
    // inside the size bytes at p.
    virtual int CheckPointer(void* p, int size) const;
    // The two checks above. Throw BadParameters
    // "CheckPointer : Invalid pointer or range." when the check fails.
    virtual void CheckPointerWithThrow() const;
    virtual void CheckPointerWithThrow(void* p, int size) const;
    // PositiveLength and NegativeLength in bytes.
    virtual int BytePositiveLength() const;
    virtual int ByteNegativeLength() const;
    // Persistence. This base has no record: throws BadParameters
    // "Have not qvPArray::MemSize", "Have not qvPArray::ToMem" and
    // "Have not qvPArray::FromMem" respectively.
    virtual int MemSize() const;
    virtual int ToMem(unsigned char* p) const;
    virtual int FromMem(unsigned char* p);

protected:
    // Stores p as the held block without touching any count.
    CQV_INLINE void InitMem(void* const p) { mem = p; }
    // Forgets the held block without touching any count.
    CQV_INLINE void FreeMem() { mem = nullptr; }

    // The counted block this object holds a reference to, or null.
    void* mem;
};

#endif  // CQV_CORE_PARRAY_H
