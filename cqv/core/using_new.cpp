#include "cqv/core/using_new.h"

#include <climits>
#include <cstring>

#include "cqv/core/allocator.h"
#include "cqv/core/allocator_internal.h"

int qvUsingNew::Type() const { return 0; }

int qvUsingNew::GetType() const {
    // The tag is derived from the address of the private member Type: the
    // bytes of the member pointer are folded into one int, the same value
    // for every object since no class overrides GetType.
    int (qvUsingNew::*tag)() const = &qvUsingNew::Type;
    unsigned char bytes[sizeof tag];
    std::memcpy(bytes, &tag, sizeof tag);
    unsigned int folded = 0;
    for (std::size_t i = 0; i < sizeof bytes; ++i) folded = folded * 31u + bytes[i];
    return static_cast<int>(folded & INT_MAX);
}

void* qvUsingNew::GetThis() const { return const_cast<qvUsingNew*>(this); }

const char* qvUsingNew::GetTypeString() const { return "qvUsingNew"; }

int qvUsingNew::IncreaseRefCount() const { return 0; }
int qvUsingNew::DecreaseRefCount() const { return 0; }
int qvUsingNew::GetRefCount() const { return 0; }
int qvUsingNew::IsAllowDelete() const { return 1; }

int qvUsingNew::Delete(qvUsingNew* p) {
    if (p == nullptr) return 0;
    p->DecreaseRefCount();
    const int allow = p->IsAllowDelete();
    if (allow != 0) delete p;
    return allow;
}

void* qvUsingNew::operator new(std::size_t size) { return qvDetail::AllocateObject(size); }
void* qvUsingNew::operator new[](std::size_t size) { return qvDetail::AllocateObject(size); }
void qvUsingNew::operator delete(void* p) noexcept { qvFree(p); }
void qvUsingNew::operator delete[](void* p) noexcept { qvFree(p); }

int qvRefCount::IncreaseRefCount() const { return ++count; }
int qvRefCount::DecreaseRefCount() const { return --count; }
int qvRefCount::GetRefCount() const { return count; }
int qvRefCount::IsAllowDelete() const { return count <= 0 ? 1 : 0; }
