// The graph's own branch iterator, the steps of every branch walk, and the
// reference helpers they use. Library-private.
#ifndef CQV_GRAPH_GRAPH_INTERNAL_H
#define CQV_GRAPH_GRAPH_INTERNAL_H

#include "cqv/core/exceptions.h"
#include "cqv/graph/messages.h"
#include "cqv/graph/graph.h"

namespace qvDetail {

// The branch that owns a link of a node's branch list.
inline qvSimpleGraphBranchHead* BranchOfLink(qvList2kHead* link) {
    return static_cast<qvSimpleGraphBranchHead*>(static_cast<qvInternalList2k*>(link)->GetSelf());
}

inline bool IsLoneLink(const qvList2kHead* x) { return x->Next() == x; }

// Takes a reference to p (if not null) and returns p.
template <class T>
inline T* HoldObject(T* p) {
    if (p != nullptr) p->IncreaseRefCount();
    return p;
}

// Takes a reference to the branch owning a link of a node's branch list
// (never null) and returns the branch.
inline qvSimpleGraphBranchHead* HoldBranchOf(qvList2kHead* link) {
    qvSimpleGraphBranchHead* b = BranchOfLink(link);
    b->IncreaseRefCount();
    return b;
}

// Lets go of a reference to p (if not null), deleting p once nobody holds
// it: qvUsingNew::Delete, with the heads' own counter called directly.
template <class T>
inline void ReleaseObject(T* p) {
    if (p != nullptr && p->DecreaseRefCount() < 1) delete p;
}


inline void BranchWalk::Begin(qvSimpleGraphNodeHead* n) {
    node = n;
    link = ahead = nullptr;
    branch = aheadBranch = nullptr;
    if (n == nullptr) return;
    qvList2kHead* first = n->branches.Next();
    if (first != &n->branches) StandOn(first, HoldBranchOf(first));
}

inline void BranchWalk::StandOn(qvList2kHead* l, qvSimpleGraphBranchHead* b) {
    link = l;
    branch = b;
    ahead = l->Next();
    aheadBranch = ahead == &node->branches ? nullptr : HoldBranchOf(ahead);
}

inline void BranchWalk::Step() {
    if (link == nullptr) return;
    qvList2kHead* const head = &node->branches;
    qvList2kHead* to = link->Next();
    if (to == ahead) {
        // The usual case: the link stood on is still followed by the one
        // after it, whose branch (held) becomes the current one.
        ReleaseObject(branch);
        branch = aheadBranch;
        if (to == head) {
            link = ahead = nullptr;
            return;
        }
        link = to;
        ahead = to->Next();
        aheadBranch = ahead == head ? nullptr : HoldBranchOf(ahead);
        return;
    }
    // The callback changed the list around the link stood on. Links never
    // return to a list once taken out, so a link that is not lone is still in
    // this node's list: the walk goes on after it if it is, else after ahead
    // if that one is, and ends otherwise.
    if (IsLoneLink(link)) to = ahead;
    if (to != head && IsLoneLink(to)) to = head;
    if (to == head) {
        Finish();
        return;
    }
    qvSimpleGraphBranchHead* b;
    if (to == ahead) {
        b = aheadBranch;
        aheadBranch = nullptr;
    } else {
        b = HoldBranchOf(to);
    }
    ReleaseObject(branch);
    ReleaseObject(aheadBranch);
    StandOn(to, b);
}

inline void BranchWalk::Finish() {
    qvSimpleGraphBranchHead* b = branch;
    qvSimpleGraphBranchHead* a = aheadBranch;
    link = ahead = nullptr;
    branch = aheadBranch = nullptr;
    ReleaseObject(b);
    ReleaseObject(a);
}

inline void BranchWalk::End() {
    Finish();
    qvSimpleGraphNodeHead* n = node;
    node = nullptr;
    ReleaseObject(n);
}

}  // namespace qvDetail

// The branch iterator of the graph's own walks: it walks as qvNodeBranchIter
// does and reports its own out-of-range text. Every member is inline, so a
// walk keeps its state in registers. One iterator can walk node after node
// (Adopt), as the wave does.
class qvNBIter {
public:
    // Stands on the first branch of n (at the end if n has none or is null).
    explicit qvNBIter(qvSimpleGraphNodeHead* n) { walk.Begin(qvDetail::HoldObject(n)); }
    qvNBIter(const qvNBIter&) = delete;
    qvNBIter& operator=(const qvNBIter&) = delete;
    // Lets go of everything held.
    ~qvNBIter() { walk.End(); }

    // Lets go of the node walked so far and of its branches, and stands on
    // the first branch of n, taking over a reference to n that the caller
    // held.
    void Adopt(qvSimpleGraphNodeHead* n) {
        walk.End();
        walk.Begin(n);
    }

    // 1 once the walk has run past the last branch.
    int IsEnd() const { return walk.link == nullptr ? 1 : 0; }
    // The branch stood on. Throws BadParameters "qvNBIter: out of range" past
    // the end.
    qvSimpleGraphBranchHead& operator*() const {
        if (walk.link == nullptr) throw BadParameters(qvMsg::NBIterOutOfRange);
        return *walk.branch;
    }
    qvSimpleGraphBranchHead* operator->() const { return &operator*(); }
    // Steps to the next branch (nothing happens past the end).
    qvNBIter& operator++() {
        walk.Step();
        return *this;
    }
    // The node whose branches are walked.
    qvSimpleGraphNodeHead* GetNode() const { return walk.node; }

private:
    qvDetail::BranchWalk walk;
};

#endif  // CQV_GRAPH_GRAPH_INTERNAL_H
