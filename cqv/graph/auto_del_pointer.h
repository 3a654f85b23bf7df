// qvAutoDelPointer<T>: an owning pointer that holds one object reference.
//
// Taking a pointer raises the pointee's reference count; letting go calls
// qvUsingNew::Delete on it, which lowers the count and deletes the object
// once nobody holds it. Instances exist for the graph's node and branch
// heads (cqv/graph/graph.h). Nothing here allocates or throws (a pointee's
// destructor aside).
#ifndef CQV_GRAPH_AUTO_DEL_POINTER_H
#define CQV_GRAPH_AUTO_DEL_POINTER_H

#include "cqv/core/export.h"

// An owning pointer that holds one object reference to its pointee.
template <class T>
class qvAutoDelPointer {
public:
    // Holds nothing.
    qvAutoDelPointer() : p(nullptr) {}
    // Holds q (if not null), taking a reference.
    qvAutoDelPointer(T* q);
    // Holds what o holds, taking a reference of its own.
    qvAutoDelPointer(const qvAutoDelPointer& o);
    // Lets go of the pointee.
    ~qvAutoDelPointer();

    // Holds q instead of the present pointee; returns q.
    T* operator=(T* q);
    // Holds what o holds instead of the present pointee.
    qvAutoDelPointer& operator=(const qvAutoDelPointer& o);
    // Takes a reference to q, then lets go of the present pointee (which is
    // deleted if nobody else holds it). Setting the pointer already held
    // changes nothing.
    void SetPointer(T* q);

    // 1 when nothing is held.
    int IsNull() const { return p == nullptr ? 1 : 0; }
    // The pointee, or null.
    T* GetPointer() const { return p; }
    // The pointee, which must be held.
    T& operator*() { return *p; }
    const T& operator*() const { return *p; }
    // Member access on the pointee, which must be held.
    T* operator->() { return p; }
    const T* operator->() const { return p; }

private:
    T* p;
};

#endif  // CQV_GRAPH_AUTO_DEL_POINTER_H
