#include "cqv/graph/graph.h"

#include "cqv/core/exceptions.h"
#include "cqv/core/prefetch_internal.h"
#include "cqv/graph/messages.h"
#include "cqv/graph/auto_del_pointer_impl.h"
#include "cqv/graph/graph_internal.h"
#include "cqv/graph/list_queue_internal.h"

#define CQV_INSTANTIATE_AUTO_DEL_POINTER(T) CQV_INSTANTIATE(qvAutoDelPointer<T>)
CQV_FOR_EACH_AUTO_DEL_POINTER_TYPE(CQV_INSTANTIATE_AUTO_DEL_POINTER)

namespace {

using Node = qvSimpleGraphNodeHead;
using Branch = qvSimpleGraphBranchHead;
using qvDetail::BranchOfLink;
using qvDetail::HoldObject;
using qvDetail::IsLoneLink;
using qvDetail::Prefetch;
using qvDetail::ReleaseObject;

// Walks over branch lists chase pointers through objects spread over the
// heap: each link must arrive before the next one is known, and as soon as
// the graph outgrows a core's own cache (a few thousand nodes) every link is
// a wait on the shared cache or on memory. The walks over many lists
// therefore take several side by side, one link of each in turn (Lanes of
// them): their loads do not wait for one another, so the processor has
// several misses in flight where a single walk has one. The wave walks the
// lists of the next Batch queued nodes that way before it visits them.
enum { Lanes = 8, Batch = 32 };

// The wave's queue of nodes; every queued node is held, so that a callback
// removing it cannot pull it from under the queue. It also counts how many
// of the oldest nodes have been walked ahead (see qvSimpleGraph::WalkAhead).
class HeldQueue {
public:
    HeldQueue() = default;
    HeldQueue(const HeldQueue&) = delete;
    HeldQueue& operator=(const HeldQueue&) = delete;
    ~HeldQueue() {
        while (!q.IsEmpty()) ReleaseObject(q.Get());
    }
    void Put(Node* n) {
        q.Put(n);
        HoldObject(n);
    }
    // The oldest node; its reference passes to the caller.
    Node* Get() {
        if (walked > 0) --walked;
        return q.Get();
    }
    bool IsEmpty() const { return q.IsEmpty(); }
    int Len() const { return q.Len(); }
    qvListQueue<Node*>::Position Oldest() const { return q.Oldest(); }

    int walked = 0;  // the oldest nodes whose lists were walked ahead

private:
    qvListQueue<Node*> q;
};

}  // namespace

// ---------------------------------------------------------------- nodes

qvSimpleGraphNodeHead::qvSimpleGraphNodeHead() : count(1), pathLen(0), back(nullptr) {}

qvSimpleGraphNodeHead::qvSimpleGraphNodeHead(const qvSimpleGraphNodeHead& o)
    : qvUsingNew(), qvList2kHead(), count(0), pathLen(o.pathLen), back(o.back), branches() {}

qvSimpleGraphNodeHead& qvSimpleGraphNodeHead::operator=(const qvSimpleGraphNodeHead& o) {
    if (&o == this) return *this;
    // The count of a linked node counts its ring, its branches and its
    // holders; only a node standing alone takes over another's.
    if (IsLoneLink(this) && IsLoneLink(&branches)) count = o.count;
    pathLen = o.pathLen;
    back = o.back;
    return *this;
}

qvSimpleGraphNodeHead::~qvSimpleGraphNodeHead() {
    qvList2kHead::Remove();
    // Branches are normally gone before their nodes (they hold them); these
    // are left by a node destroyed while still referenced. Each forgets this
    // node, so its own destructor does not let go of it again.
    while (!IsLoneLink(&branches)) {
        Branch* b = BranchOfLink(branches.Next());
        if (b->node1 == this) b->node1 = nullptr;
        if (b->node2 == this) b->node2 = nullptr;
        b->DetachLinks();
        if (b->IsAllowDelete() != 0) delete b;
    }
}

qvSimpleGraphBranchHead* qvSimpleGraphNodeHead::GetBranch(qvSimpleGraphNodeHead* m) const {
    for (qvList2kHead* l = branches.Next(); l != &branches; l = l->Next()) {
        Branch* b = BranchOfLink(l);
        if (b->node1 == m || b->node2 == m) return b;
    }
    return nullptr;
}

// ---------------------------------------------------------------- branches

qvSimpleGraphBranchHead::qvSimpleGraphBranchHead(Node* a, Node* b, int k)
    : link1(this), node1(a), node2(b), back(nullptr), orient(k), count(0), link2(this) {
    if (a != nullptr) {
        a->IncreaseRefCount();
        a->branches.AddBefore(&link1);
        ++count;
    }
    if (b != nullptr) {
        b->IncreaseRefCount();
        b->branches.AddBefore(&link2);
        ++count;
    }
}

qvSimpleGraphBranchHead::qvSimpleGraphBranchHead(const qvSimpleGraphBranchHead& o)
    : qvUsingNew(),
      qvList2kHead(),
      link1(this),
      node1(HoldObject(o.node1)),
      node2(HoldObject(o.node2)),
      back(o.back),
      orient(o.orient),
      count(0),
      link2(this) {}

qvSimpleGraphBranchHead& qvSimpleGraphBranchHead::operator=(const qvSimpleGraphBranchHead& o) {
    if (&o == this) return *this;
    // A linked branch keeps its ends: its links sit in their lists and its
    // count counts them.
    if (IsLinked() == 0) {
        Node* old1 = node1;
        Node* old2 = node2;
        node1 = HoldObject(o.node1);
        node2 = HoldObject(o.node2);
        count = o.count;
        ReleaseObject(old2);
        ReleaseObject(old1);
    }
    orient = o.orient;
    back = o.back;
    return *this;
}

qvSimpleGraphBranchHead::~qvSimpleGraphBranchHead() {
    Remove();
    ReleaseObject(node2);
    ReleaseObject(node1);
}

qvSimpleGraphBranchHead* qvSimpleGraphBranchHead::Remove() {
    DetachLinks();
    qvList2kHead::Remove();
    return this;
}

void qvSimpleGraphBranchHead::DetachLinks() {
    if (!IsLoneLink(&link1)) {
        link1.Remove();
        --count;
    }
    if (!IsLoneLink(&link2)) {
        link2.Remove();
        --count;
    }
}

int qvSimpleGraphBranchHead::IsLinked() const {
    return IsLoneLink(this) && IsLoneLink(&link1) && IsLoneLink(&link2) ? 0 : 1;
}

// ---------------------------------------------------------------- iterator

qvNodeBranchIter::qvNodeBranchIter(qvSimpleGraphNodeHead* n) { walk.Begin(HoldObject(n)); }

qvNodeBranchIter::~qvNodeBranchIter() { walk.End(); }

qvSimpleGraphBranchHead& qvNodeBranchIter::operator*() const {
    if (walk.link == nullptr) throw BadParameters(qvMsg::NodeBranchIterOutOfRange);
    return *walk.branch;
}

qvSimpleGraphBranchHead* qvNodeBranchIter::operator->() const { return &operator*(); }

qvNodeBranchIter& qvNodeBranchIter::operator++() {
    walk.Step();
    return *this;
}

// ---------------------------------------------------------------- graph

qvSimpleGraph::qvSimpleGraph() : sharedNext(this), sharedPrev(this) {}

qvSimpleGraph::qvSimpleGraph(const qvSimpleGraph& g)
    : qvRefCount(g), nodes(g.nodes), branches(g.branches), sharedNext(g.sharedNext), sharedPrev(g.sharedNext->sharedPrev) {
    sharedNext->sharedPrev = this;
    sharedPrev->sharedNext = this;
}

qvSimpleGraph& qvSimpleGraph::operator=(const qvSimpleGraph& g) {
    if (&g == this) return *this;
    qvRefCount::operator=(g);
    for (const qvSimpleGraph* s = sharedNext; s != this; s = s->sharedNext) {
        if (s == &g) return *this;  // already sharing
    }
    Leave();
    sharedNext = g.sharedNext;
    sharedPrev = sharedNext->sharedPrev;
    sharedNext->sharedPrev = this;
    sharedPrev->sharedNext = this;
    nodes = g.nodes;
    branches = g.branches;
    return *this;
}

qvSimpleGraph::~qvSimpleGraph() { Leave(); }

void qvSimpleGraph::Leave() {
    if (sharedNext == this) {
        Dismantle();
        return;
    }
    sharedPrev->sharedNext = sharedNext;
    sharedNext->sharedPrev = sharedPrev;
    sharedNext = sharedPrev = this;
}

void qvSimpleGraph::Dismantle() {
    // One node (or branch) at a time, each alone in a constant number of
    // steps per branch: linear in the size of the graph, no recursion.
    // While the nodes go, the branch entry would move to the next branch of
    // the ring each time its branch is removed, taking a reference there: a
    // visit to one more object, far away in memory, per removal. An anchor
    // that holds nothing takes its place instead, and the entry is set where
    // the anchor ends. Every object goes at the same point as it would with
    // the entry moving: the entry's reference never is the last one of a
    // branch still in the ring.
    Branch* anchor = branches.GetPointer();
    if (anchor != nullptr) SetEntry(&qvSimpleGraph::branches, static_cast<Branch*>(nullptr));
    while (Node* e = nodes.GetPointer()) RemoveNode(e->Next(), &anchor);
    if (anchor != nullptr) SetEntry(&qvSimpleGraph::branches, anchor);
    while (Branch* e = branches.GetPointer()) Remove(e->Next());
}

template <class T>
void qvSimpleGraph::SetEntry(qvAutoDelPointer<T> qvSimpleGraph::*entry, T* x) {
    qvSimpleGraph* g = this;
    do {
        (g->*entry).SetPointer(x);
        g = g->sharedNext;
    } while (g != this);
}

template <class T>
void qvSimpleGraph::Enter(qvAutoDelPointer<T> qvSimpleGraph::*entry, T* x) {
    T* e = (this->*entry).GetPointer();
    if (x == nullptr || x == e || !IsLoneLink(x)) return;
    x->IncreaseRefCount();
    if (e == nullptr) {
        SetEntry(entry, x);
    } else {
        e->AddBefore(x);
    }
}

void qvSimpleGraph::Add(qvSimpleGraphNodeHead* n) { Enter(&qvSimpleGraph::nodes, n); }

void qvSimpleGraph::Add(qvSimpleGraphBranchHead* b) { Enter(&qvSimpleGraph::branches, b); }

void qvSimpleGraph::Remove(qvSimpleGraphBranchHead* b) { RemoveBranch(b, nullptr); }

void qvSimpleGraph::RemoveBranch(qvSimpleGraphBranchHead* b, qvSimpleGraphBranchHead** anchor) {
    if (b == nullptr) return;
    const bool entry = b == branches.GetPointer();
    const bool anchored = anchor != nullptr && b == *anchor;
    const bool member = entry || anchored || !IsLoneLink(b);
    if (entry) SetEntry(&qvSimpleGraph::branches, IsLoneLink(b) ? nullptr : b->Next());
    if (anchored) *anchor = IsLoneLink(b) ? nullptr : b->Next();
    b->Remove();
    if (member) {
        ReleaseObject(b);
    } else if (b->IsAllowDelete() != 0) {
        delete b;  // not the graph's: only its links are given up
    }
}

void qvSimpleGraph::Remove(qvSimpleGraphNodeHead* n) { RemoveNode(n, nullptr); }

void qvSimpleGraph::RemoveNode(qvSimpleGraphNodeHead* n, qvSimpleGraphBranchHead** anchor) {
    if (n == nullptr) return;
    const bool entry = n == nodes.GetPointer();
    const bool member = entry || !IsLoneLink(n);
    HoldObject(n);  // alive while its branches go
    while (!IsLoneLink(&n->branches)) RemoveBranch(BranchOfLink(n->branches.Next()), anchor);
    if (member) {
        if (entry) SetEntry(&qvSimpleGraph::nodes, IsLoneLink(n) ? nullptr : n->Next());
        n->qvList2kHead::Remove();
        n->DecreaseRefCount();  // membership
        n->DecreaseRefCount();  // the creator's reference
    }
    ReleaseObject(n);
}

template <class Mark>
void qvSimpleGraph::ClearMarks(Mark mark) {
    Node* n = nodes.GetPointer();
    Node* const e = n;
    // Lanes, each walking the branch list of one node from at to its head
    // end; an idle lane (at == end) takes the next node of the ring.
    qvList2kHead* at[Lanes];
    const qvList2kHead* end[Lanes];
    for (int i = 0; i < Lanes; ++i) at[i] = nullptr, end[i] = nullptr;
    bool more = true;  // n is still to be taken
    int live = 0;      // lanes walking a list
    while (more || live > 0) {
        for (int i = 0; i < Lanes; ++i) {
            if (at[i] != end[i]) {
                BranchOfLink(at[i])->back = nullptr;
                at[i] = at[i]->Next();
                if (at[i] == end[i]) --live;
            } else if (more) {
                n->back = nullptr;
                mark(n);
                end[i] = &n->branches;
                at[i] = n->branches.Next();
                if (at[i] != end[i]) ++live;
                n = n->Next();
                more = n != e;
            }
        }
    }
}

template <class Queue>
void qvSimpleGraph::WalkAhead(Queue& queue) {
    const int count = queue.Len();
    int& walked = queue.walked;
    if (walked >= Lanes || walked >= count) return;
    qvListQueue<Node*>::Position p = queue.Oldest();
    for (int i = 0; i < walked; ++i) p = p.Next();
    const int last = walked + Batch < count ? walked + Batch : count;
    Node* from[Lanes];
    qvList2kHead* at[Lanes];
    // Puts the next queued node with branches on lane i; false when the
    // batch has none left.
    auto take = [&](int i) {
        while (walked < last) {
            Node* const x = *p;
            p = p.Next();
            ++walked;
            qvList2kHead* const first = x->branches.Next();
            if (first != &x->branches) {
                from[i] = x;
                at[i] = first;
                return true;
            }
        }
        return false;
    };
    int live = 0;
    while (live < Lanes && take(live)) ++live;
    while (live > 0) {
        for (int i = 0; i < live; ++i) {
            // Reading the link and the ends brings their lines; the count,
            // orientation and back of the branch may lie on another, and so
            // may the far node's count, back, branch list and the fields a
            // derived class puts first (any 16-byte aligned object keeps
            // these on the lines of its count and of its byte sizeof(Node)).
            const Branch* b = BranchOfLink(at[i]);
            const Node* m = b->GetAnotherNode(from[i]);
            Prefetch(&b->node2);
            Prefetch(&b->count);
            Prefetch(&m->count);
            Prefetch(reinterpret_cast<const unsigned char*>(m) + sizeof(Node));
            at[i] = at[i]->Next();
            if (at[i] == &from[i]->branches && !take(i)) {
                // The batch is done: the last live lane takes this place.
                --live;
                from[i] = from[live];
                at[i] = at[live];
                --i;
            }
        }
    }
}

template <class Visit>
void qvSimpleGraph::Spread(qvSimpleGraphNodeHead* start, Visit& visit) {
    HeldQueue queue;
    // One iterator walks every node in turn, taking over the queue's
    // reference to it.
    qvNBIter it(nullptr);
    queue.Put(start);
    while (!queue.IsEmpty()) {
        WalkAhead(queue);
        Node* const n = queue.Get();
        for (it.Adopt(n); it.IsEnd() == 0; ++it) {
            Branch* const b = &*it;
            if (b->IsOut(n) == 0) continue;
            Node* const m = b->GetAnotherNode(n);
            if (m != nullptr && visit(n, m, b) != 0) {
                b->back = n;
                m->back = b;
                queue.Put(m);
            }
        }
    }
}

void qvSimpleGraph::Wave(qvSimpleGraphNodeHead* start, WaveFunc f, void* data) {
    if (nodes.IsNull() != 0 || start == nullptr || f == nullptr) return;
    ClearMarks([](Node*) {});
    auto visit = [f, data](Node* from, Node* to, Branch* b) { return f(from, to, b, data); };
    Spread(start, visit);
}

int qvSimpleGraph::PathLen(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead*, void*) {
    const int via = from->pathLen + 1;
    if (to->pathLen != 0 && to->pathLen <= via) return 0;
    to->pathLen = via;
    return 1;
}

qvSimpleGraphNodeHead* qvSimpleGraph::Farthest(qvSimpleGraphNodeHead* start) {
    ClearMarks([](Node* n) { n->pathLen = 0; });
    start->pathLen = 1;
    auto visit = [](Node* from, Node* to, Branch* b) { return PathLen(from, to, b, nullptr); };
    Spread(start, visit);
    Node* const e = nodes.GetPointer();
    Node* far = e;
    for (Node* n = e->Next(); n != e; n = n->Next()) {
        if (n->pathLen > far->pathLen) far = n;
    }
    far->pathLen = 0;
    return far;
}

int qvSimpleGraph::GetMaxPath(qvSimpleGraphNodeHead* start, qvList2kHead* path) {
    if (nodes.IsNull() != 0 || start == nullptr) return 0;
    int len = 0;
    // Back from the far node to start; each node goes in front of the ones
    // after it, so the list reads from start. When an entry cannot be had,
    // the entries already inserted (the len nodes right after path) are
    // taken out again, so that the path list is as it was.
    Node* n = Farthest(start);
    try {
        for (; n != nullptr; n = n->back != nullptr ? n->back->back : nullptr) {
            if (path != nullptr) path->AddAfter(new qvInternalList2k(n));
            ++len;
        }
    } catch (...) {
        for (; len > 0; --len) delete path->Next()->qvList2kHead::Remove();
        throw;
    }
    return len;
}

int qvSimpleGraph::GetMaxPath(qvList2kHead* path) {
    if (nodes.IsNull() != 0) return 0;
    return GetMaxPath(Farthest(nodes.GetPointer()), path);
}
