// Root classes of the library's object hierarchies.
//
// qvUsingNew allocates its objects through the library allocator and gives
// every object a small set of identity operations. qvRefCount adds an object
// reference count (independent of any counted block) that qvUsingNew::Delete
// consults before it destroys a shared object.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_CORE_USING_NEW_H
#define CQV_CORE_USING_NEW_H

#include <cstddef>

#include "cqv/core/export.h"

// Root of the library's classes: allocation through the library allocator
// and the identity and reference-count operations every object answers.
class CQV_API qvUsingNew {
public:
    // Nothing to set up: the root class has no state.
    CQV_INLINE qvUsingNew() {}
    // Copying copies nothing: the root class has no state.
    CQV_INLINE qvUsingNew(const qvUsingNew&) {}
    CQV_INLINE qvUsingNew& operator=(const qvUsingNew&) { return *this; }

    // Nothing to release; virtual, so that deleting through any base
    // destroys the whole object.
    virtual ~qvUsingNew();

    // A class tag, the same for every object of the library.
    virtual int GetType() const;
    // The object's own address.
    virtual void* GetThis() const;
    // The class name, "qvUsingNew" unless a class says otherwise.
    virtual const char* GetTypeString() const;
    // Object reference counting; the root class counts nothing and returns 0.
    virtual int IncreaseRefCount() const;
    virtual int DecreaseRefCount() const;
    virtual int GetRefCount() const;
    // Whether the object may be deleted now; always 1 for the root class.
    virtual int IsAllowDelete() const;

    // Drops one reference to p and deletes it if it then allows deletion.
    // Returns the value of IsAllowDelete (0 for a null p).
    static int Delete(qvUsingNew* p);

    // Objects of the library live in memory from qvMalloc (exhausted memory
    // throws qvErrNoMemory).
    static void* operator new(std::size_t size);
    static void* operator new[](std::size_t size);
    static void operator delete(void* p) noexcept;
    static void operator delete[](void* p) noexcept;
    // Construction in place, for storage the caller provides.
    CQV_INLINE static void* operator new(std::size_t, void* where) noexcept { return where; }
    // The match of construction in place: releases nothing.
    CQV_INLINE static void operator delete(void*, void*) noexcept {}

private:
    // Source of the class tag reported by GetType; returns 0.
    int Type() const;
};

// An object with its own reference count, which qvUsingNew::Delete consults
// before destroying it.
class CQV_API qvRefCount : public qvUsingNew {
public:
    // Count 0: nobody holds the object yet.
    CQV_INLINE qvRefCount() : count(0) {}
    // A copy is a new object: nobody holds it yet.
    CQV_INLINE qvRefCount(const qvRefCount&) : qvUsingNew(), count(0) {}
    // Assignment takes over the source's count.
    CQV_INLINE qvRefCount& operator=(const qvRefCount& r) {
        count = r.count;
        return *this;
    }
    // Nothing to release.
    ~qvRefCount() override;

    // Adds 1 to the count and returns the new count.
    int IncreaseRefCount() const override;
    // Subtracts 1 from the count and returns the new count.
    int DecreaseRefCount() const override;
    // The count.
    int GetRefCount() const override;
    // 1 when the count is 0 or less, else 0.
    int IsAllowDelete() const override;

protected:
    // Number of holders of this object. Holders may be const views, hence
    // mutable.
    mutable int count;
};

#endif  // CQV_CORE_USING_NEW_H
