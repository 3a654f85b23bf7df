// Intrusive lists: a class becomes a list element by deriving from one of
// these heads, and every element is also a head of the list it is in; there
// is no separate list object.
//
//   qvList1kHead      singly linked ring; a lone node points to itself.
//   qvList2Head       doubly linked chain; the ends have null links.
//   qvList2kHead      doubly linked ring; a lone node points to itself.
//   qvInternalList2k  a qvList2kHead that also carries a pointer to the object
//                     owning it, so that one object can sit in several rings
//                     through several such members.
//
// The members of one list own each other: destroying any member takes all
// the others out of the list one by one and deletes those whose
// IsAllowDelete() is non-zero. The walk is iterative, so long lists are
// dismantled in linear time without deep recursion. A class whose objects
// must outlive a neighbour overrides IsAllowDelete to return 0; to destroy
// one node alone, Remove it first.
//
// Every head derives virtually from qvUsingNew, so an object may combine
// several heads and still have one allocator base. Nothing is checked and
// nothing throws but allocation failure of a new head (qvErrNoMemory);
// links are never copied. Assigning to a node that is in a
// list first takes it out, so the list it leaves stays consistent.
#ifndef CQV_GRAPH_LISTS_H
#define CQV_GRAPH_LISTS_H

#include "cqv/core/export.h"
#include "cqv/core/using_new.h"

// The head of a singly linked ring; a lone node points to itself.
class CQV_API qvList1kHead : public virtual qvUsingNew {
public:
    // A lone node.
    CQV_INLINE qvList1kHead() : next(this) {}
    // A lone node: the copy does not take over the other node's links.
    CQV_INLINE qvList1kHead(const qvList1kHead&) : qvUsingNew(), next(this) {}
    // Makes this node lone, taking it out of its ring first (which walks the
    // ring to find the node before it); links are not copied.
    void operator=(const qvList1kHead& o);
    // Dismantles the ring: every other node is taken out, and deleted if it
    // allows deletion.
    ~qvList1kHead() override;

    // 1 when the two nodes' next pointers are equal, else 0; != is the
    // negation.
    CQV_INLINE int operator==(const qvList1kHead& o) const { return next == o.next ? 1 : 0; }
    CQV_INLINE int operator!=(const qvList1kHead& o) const { return next != o.next ? 1 : 0; }

    // Inserts the lone node n directly after this one; returns n.
    CQV_INLINE qvList1kHead* Add(qvList1kHead* n) {
        n->next = next;
        next = n;
        return n;
    }
    // Takes out the node after this one and returns it, lone. A lone node
    // returns itself and stays lone.
    CQV_INLINE qvList1kHead* Remove() {
        qvList1kHead* r = next;
        next = r->next;
        r->next = r;
        return r;
    }
    // The next node of the ring.
    CQV_INLINE qvList1kHead* Next() const { return next; }
    // Number of nodes in the ring, this one included.
    int Len() const;

protected:
    // The next node of the ring (this node when lone).
    qvList1kHead* next;
};

// The head of a doubly linked chain; the ends have null links.
class CQV_API qvList2Head : public virtual qvUsingNew {
public:
    // A node with null links.
    CQV_INLINE qvList2Head() : next(nullptr), prev(nullptr) {}
    // A node with null links; links are not copied.
    CQV_INLINE qvList2Head(const qvList2Head&) : qvUsingNew(), next(nullptr), prev(nullptr) {}
    // Takes this node out of its chain, leaving it with null links.
    CQV_INLINE void operator=(const qvList2Head& o) {
        if (&o != this) Remove();
    }
    // Dismantles the chain: first every node after this one, then every node
    // before it, each taken out and deleted if it allows deletion.
    ~qvList2Head() override;

    // 1 when both links are equal, else 0; != is the negation.
    CQV_INLINE int operator==(const qvList2Head& o) const { return next == o.next && prev == o.prev ? 1 : 0; }
    CQV_INLINE int operator!=(const qvList2Head& o) const { return operator==(o) ? 0 : 1; }

    // A chain member may be deleted by its neighbours' destructors.
    int IsAllowDelete() const override;

    // Unlinks this node, joining its neighbours; returns this.
    CQV_INLINE qvList2Head* Remove() {
        if (prev != nullptr) prev->next = next;
        if (next != nullptr) next->prev = prev;
        next = prev = nullptr;
        return this;
    }
    // Takes n out of wherever it is and inserts it directly after this node;
    // returns n. Adding a node after itself changes nothing.
    CQV_INLINE qvList2Head* AddAfter(qvList2Head* n) {
        if (n == this) return n;
        n->Remove();
        n->prev = this;
        n->next = next;
        if (next != nullptr) next->prev = n;
        next = n;
        return n;
    }
    // Takes n out of wherever it is and inserts it directly before this node;
    // returns n. Adding a node before itself changes nothing.
    CQV_INLINE qvList2Head* AddBefore(qvList2Head* n) {
        if (n == this) return n;
        n->Remove();
        n->next = this;
        n->prev = prev;
        if (prev != nullptr) prev->next = n;
        prev = n;
        return n;
    }
    // The next node; null at the end of the chain.
    CQV_INLINE qvList2Head* Next() const { return next; }
    // The previous node; null at the start of the chain.
    CQV_INLINE qvList2Head* Prev() const { return prev; }

protected:
    // The next node, null at the end of the chain.
    qvList2Head* next;
    // The previous node, null at the start of the chain.
    qvList2Head* prev;
};

// The head of a doubly linked ring; a lone node points to itself.
class CQV_API qvList2kHead : public virtual qvUsingNew {
public:
    // A lone node.
    CQV_INLINE qvList2kHead() : next(this), prev(this) {}
    // A lone node; links are not copied.
    CQV_INLINE qvList2kHead(const qvList2kHead&) : qvUsingNew(), next(this), prev(this) {}
    // Takes this node out of its ring, leaving it lone.
    CQV_INLINE void operator=(const qvList2kHead& o) {
        if (&o != this) Remove();
    }
    // Dismantles the ring: every other node is taken out with its Remove and
    // deleted if it allows deletion.
    ~qvList2kHead() override;

    // 1 when both links are equal (two lone nodes are not: each links to
    // itself), else 0; != is the negation.
    CQV_INLINE int operator==(const qvList2kHead& o) const { return next == o.next && prev == o.prev ? 1 : 0; }
    CQV_INLINE int operator!=(const qvList2kHead& o) const { return operator==(o) ? 0 : 1; }

    // Takes this node out of its ring, joining its neighbours; returns this.
    CQV_INLINE qvList2kHead* Remove() {
        prev->next = next;
        next->prev = prev;
        next = prev = this;
        return this;
    }
    // Takes n out of its ring and inserts it directly after this node;
    // returns n. Adding a node after itself changes nothing.
    CQV_INLINE qvList2kHead* AddAfter(qvList2kHead* n) {
        if (n == this) return n;
        n->Remove();
        n->prev = this;
        n->next = next;
        next->prev = n;
        next = n;
        return n;
    }
    // Takes n out of its ring and inserts it directly before this node;
    // returns n. Adding a node before itself changes nothing.
    CQV_INLINE qvList2kHead* AddBefore(qvList2kHead* n) {
        if (n == this) return n;
        n->Remove();
        n->next = this;
        n->prev = prev;
        prev->next = n;
        prev = n;
        return n;
    }
    // The next node of the ring (this node itself when lone).
    CQV_INLINE qvList2kHead* Next() const { return next; }
    // The previous node of the ring (this node itself when lone).
    CQV_INLINE qvList2kHead* Prev() const { return prev; }

protected:
    // The next node of the ring (this node when lone).
    qvList2kHead* next;
    // The previous node of the ring (this node when lone).
    qvList2kHead* prev;
};

// A doubly linked ring head that also points to the object owning it, so
// that one object can sit in several rings.
class CQV_API qvInternalList2k : public qvList2kHead {
public:
    // A lone node owned by nobody.
    CQV_INLINE qvInternalList2k() : self(nullptr) {}
    // A lone node owned by s.
    CQV_INLINE explicit qvInternalList2k(void* s) : self(s) {}
    // A lone node with o's owner.
    CQV_INLINE qvInternalList2k(const qvInternalList2k& o) : qvUsingNew(), qvList2kHead(), self(o.self) {}
    // Takes this node out of its ring and takes over o's owner.
    CQV_INLINE qvInternalList2k& operator=(const qvInternalList2k& o) {
        if (&o != this) {
            Remove();
            self = o.self;
        }
        return *this;
    }
    // Dismantles the ring as qvList2kHead's destructor does.
    ~qvInternalList2k() override;

    // Makes s the owner of this node.
    CQV_INLINE void SetSelf(void* s) { self = s; }
    // The owner of this node.
    CQV_INLINE void* GetSelf() const { return self; }
    // The next node, for rings made of qvInternalList2k nodes only.
    CQV_INLINE qvInternalList2k* Next() const { return static_cast<qvInternalList2k*>(next); }
    // The previous node, for rings made of qvInternalList2k nodes only.
    CQV_INLINE qvInternalList2k* Prev() const { return static_cast<qvInternalList2k*>(prev); }

protected:
    // The object owning this node, or null.
    void* self;
};

#endif  // CQV_GRAPH_LISTS_H
