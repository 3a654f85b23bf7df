#include "cqv/graph/lists.h"

namespace {

// Deletes a node just taken out of its list, unless it asks to survive.
template <class Node>
void DeleteIfAllowed(Node* r) {
    if (r->IsAllowDelete() != 0) delete r;
}

}  // namespace

void qvList1kHead::operator=(const qvList1kHead& o) {
    if (&o == this || next == this) return;
    // A singly linked ring has no back link: find the node before this one.
    qvList1kHead* before = next;
    while (before->next != this) before = before->next;
    before->next = next;
    next = this;
}

qvList1kHead::~qvList1kHead() {
    while (next != this) DeleteIfAllowed(Remove());
}

int qvList1kHead::Len() const {
    int n = 1;
    for (const qvList1kHead* p = next; p != this; p = p->next) ++n;
    return n;
}

qvList2Head::~qvList2Head() {
    // Each neighbour is unlinked before it is deleted, so its own destructor
    // finds it alone and the chain is taken apart without recursion.
    while (next != nullptr) DeleteIfAllowed(next->Remove());
    while (prev != nullptr) DeleteIfAllowed(prev->Remove());
}

int qvList2Head::IsAllowDelete() const { return 1; }

qvList2kHead::~qvList2kHead() {
    // Remove is called as the ring's own, whatever the neighbour's class
    // hides it with.
    while (next != this) DeleteIfAllowed(next->qvList2kHead::Remove());
}

qvInternalList2k::~qvInternalList2k() = default;
