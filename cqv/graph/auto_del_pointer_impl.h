// Member definitions of qvAutoDelPointer<T>; included only by the library's
// sources that instantiate it. Not installed.
#ifndef CQV_GRAPH_AUTO_DEL_POINTER_IMPL_H
#define CQV_GRAPH_AUTO_DEL_POINTER_IMPL_H

#include "cqv/core/using_new.h"
#include "cqv/graph/auto_del_pointer.h"

template <class T>
qvAutoDelPointer<T>::qvAutoDelPointer(T* q) : p(q) {
    if (p != nullptr) p->IncreaseRefCount();
}

template <class T>
qvAutoDelPointer<T>::qvAutoDelPointer(const qvAutoDelPointer& o) : qvAutoDelPointer(o.p) {}

template <class T>
qvAutoDelPointer<T>::~qvAutoDelPointer() {
    qvUsingNew::Delete(p);
}

template <class T>
T* qvAutoDelPointer<T>::operator=(T* q) {
    SetPointer(q);
    return q;
}

template <class T>
qvAutoDelPointer<T>& qvAutoDelPointer<T>::operator=(const qvAutoDelPointer& o) {
    SetPointer(o.p);
    return *this;
}

template <class T>
void qvAutoDelPointer<T>::SetPointer(T* q) {
    if (q == p) return;
    // The new pointee is taken first: it may be alive only through the old.
    if (q != nullptr) q->IncreaseRefCount();
    T* old = p;
    p = q;
    qvUsingNew::Delete(old);
}

#endif  // CQV_GRAPH_AUTO_DEL_POINTER_IMPL_H
