#include "cqv/graph/graph.h"

#include <cstdint>

#if defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
#include <xmmintrin.h>
#endif

#include "cqv/core/exceptions.h"
#include "cqv/graph/messages.h"
#include "cqv/graph/auto_del_pointer_impl.h"
#include "cqv/graph/graph_internal.h"
#include "cqv/graph/list_queue_internal.h"

#define CQV_INSTANTIATE_AUTO_DEL_POINTER(T) CQV_INSTANTIATE(qvAutoDelPointer<T>)
CQV_FOR_EACH_AUTO_DEL_POINTER_TYPE(CQV_INSTANTIATE_AUTO_DEL_POINTER)

namespace {

using Node = qvSimpleGraphNodeHead;
using Branch = qvSimpleGraphBranchHead;

// The branch that owns a link of a node's branch list.
inline Branch* BranchOf(qvList2kHead* link) {
    return static_cast<Branch*>(static_cast<qvInternalList2k*>(link)->GetSelf());
}

inline bool IsLone(const qvList2kHead* x) { return x->Next() == x; }

// Takes a reference to p (if not null) and returns p.
template <class T>
inline T* Hold(T* p) {
    if (p != nullptr) p->IncreaseRefCount();
    return p;
}

// Lets go of a reference to p (if not null), deleting p once nobody holds
// it: qvUsingNew::Delete, with the heads' own counter called directly.
template <class T>
inline void Release(T* p) {
    if (p != nullptr && p->DecreaseRefCount() < 1) delete p;
}

// The fetching helpers below must be expanded where they are used: GCC takes
// an out-of-line function that only reads and prefetches for one without
// effect and drops the calls.
#if defined(__GNUC__) || defined(__clang__)
#define CQV_EXPAND inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define CQV_EXPAND __forceinline
#else
#define CQV_EXPAND inline
#endif

// Asks the processor to bring the cache line holding address a closer; a
// hint only, which never faults whatever a points at.
CQV_EXPAND void Prefetch(std::uintptr_t a) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(reinterpret_cast<const void*>(a));
#elif defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
    _mm_prefetch(reinterpret_cast<const char*>(a), _MM_HINT_T0);
#else
    (void)a;
#endif
}

// Walks over branch lists chase pointers through objects spread over the
// heap, one cache miss after the other. They run faster when they fetch,
// some nodes in advance, what they will read there: in stage 0 the node, in
// stage k its k-th link together with the branch fields beside it, and the
// far node of link k - 1 (that link having been fetched by the previous
// stage). n must be alive; only links in its list at this moment are read,
// so a callback changing the graph between stages does no harm.
enum { FetchStages = 8, FetchSpacing = 4 };

CQV_EXPAND void FetchAhead(const Node* n, int stage) {
    if (stage == 0) {
        Prefetch(reinterpret_cast<std::uintptr_t>(n) + sizeof(qvList2kHead));
        return;
    }
    const qvList2kHead* head = const_cast<Node*>(n)->GetBranchList();
    const qvList2kHead* before = head;
    const qvList2kHead* l = head->Next();
    for (int k = 1; k < stage; ++k) {
        if (l == head) return;
        before = l;
        l = l->Next();
    }
    // The node at the other end of the link before, whose fields the
    // previous stage fetched.
    if (before != head) {
        const Branch* b = BranchOf(const_cast<qvList2kHead*>(before));
        const Node* m = b->GetNode1() != n ? b->GetNode1() : b->GetNode2();
        if (m != nullptr) Prefetch(reinterpret_cast<std::uintptr_t>(m) + sizeof(qvList2kHead));
    }
    if (l == head) return;
    // A link and the fields of its branch lie within 64 bytes either side.
    const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(l);
    Prefetch(a - 64);
    Prefetch(a);
    Prefetch(a + 64);
}

// The wave's queue of nodes; every queued node is held, so that a callback
// removing it cannot pull it from under the queue.
class HeldQueue {
public:
    HeldQueue() = default;
    HeldQueue(const HeldQueue&) = delete;
    HeldQueue& operator=(const HeldQueue&) = delete;
    ~HeldQueue() {
        while (!q.IsEmpty()) Release(q.Get());
    }
    void Put(Node* n) {
        q.Put(n);
        Hold(n);
    }
    // The oldest node; its reference passes to the caller.
    Node* Get() { return q.Get(); }
    bool IsEmpty() const { return q.IsEmpty(); }
    // Fetches ahead for the nodes that will be taken out a few Gets later.
    void FetchComing() {
        for (int stage = 0; stage < FetchStages; ++stage) {
            Node* const* n = q.Ahead(scouts[stage], (FetchStages - stage) * FetchSpacing);
            if (n != nullptr) FetchAhead(*n, stage);
        }
    }

private:
    qvListQueue<Node*> q;
    qvListQueue<Node*>::Scout scouts[FetchStages];
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
    if (IsLone(this) && IsLone(&branches)) count = o.count;
    pathLen = o.pathLen;
    back = o.back;
    return *this;
}

qvSimpleGraphNodeHead::~qvSimpleGraphNodeHead() {
    qvList2kHead::Remove();
    // Branches are normally gone before their nodes (they hold them); these
    // are left by a node destroyed while still referenced. Each forgets this
    // node, so its own destructor does not let go of it again.
    while (!IsLone(&branches)) {
        Branch* b = BranchOf(branches.Next());
        if (b->node1 == this) b->node1 = nullptr;
        if (b->node2 == this) b->node2 = nullptr;
        b->DetachLinks();
        if (b->IsAllowDelete() != 0) delete b;
    }
}

qvSimpleGraphBranchHead* qvSimpleGraphNodeHead::GetBranch(qvSimpleGraphNodeHead* m) const {
    for (qvList2kHead* l = branches.Next(); l != &branches; l = l->Next()) {
        Branch* b = BranchOf(l);
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
      node1(Hold(o.node1)),
      node2(Hold(o.node2)),
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
        node1 = Hold(o.node1);
        node2 = Hold(o.node2);
        count = o.count;
        Release(old2);
        Release(old1);
    }
    orient = o.orient;
    back = o.back;
    return *this;
}

qvSimpleGraphBranchHead::~qvSimpleGraphBranchHead() {
    Remove();
    Release(node2);
    Release(node1);
}

qvSimpleGraphBranchHead* qvSimpleGraphBranchHead::Remove() {
    DetachLinks();
    qvList2kHead::Remove();
    return this;
}

void qvSimpleGraphBranchHead::DetachLinks() {
    if (!IsLone(&link1)) {
        link1.Remove();
        --count;
    }
    if (!IsLone(&link2)) {
        link2.Remove();
        --count;
    }
}

int qvSimpleGraphBranchHead::IsLinked() const {
    return IsLone(this) && IsLone(&link1) && IsLone(&link2) ? 0 : 1;
}

// ---------------------------------------------------------------- iterator

qvNodeBranchIter::qvNodeBranchIter(qvSimpleGraphNodeHead* n)
    : qvNodeBranchIter(n, qvMsg::NodeBranchIterOutOfRange) {}

qvNodeBranchIter::qvNodeBranchIter(qvSimpleGraphNodeHead* n, const char* text)
    : node(Hold(n)), link(nullptr), branch(nullptr), ahead(nullptr), aheadBranch(nullptr), outOfRange(text) {
    if (n == nullptr) return;
    qvList2kHead* first = n->branches.Next();
    if (first != &n->branches) StandOn(first, Hold(BranchOf(first)));
}

qvNodeBranchIter::~qvNodeBranchIter() {
    Finish();
    Release(node);
}

qvSimpleGraphBranchHead& qvNodeBranchIter::operator*() const {
    if (link == nullptr) throw BadParameters(outOfRange);
    return *branch;
}

qvSimpleGraphBranchHead* qvNodeBranchIter::operator->() const { return &operator*(); }

qvNodeBranchIter& qvNodeBranchIter::operator++() {
    if (link == nullptr) return *this;
    qvList2kHead* head = &node->branches;
    // Links never return to a list once taken out, so a link that is not
    // lone is still in this node's list.
    qvList2kHead* to = IsLone(link) ? ahead : link->Next();
    if (to != head && IsLone(to)) to = head;
    if (to == head) {
        Finish();
        return *this;
    }
    Branch* b;
    if (to == ahead) {
        b = aheadBranch;
        aheadBranch = nullptr;
    } else {
        b = Hold(BranchOf(to));
    }
    Release(branch);
    Release(aheadBranch);
    StandOn(to, b);
    return *this;
}

void qvNodeBranchIter::StandOn(qvList2kHead* l, qvSimpleGraphBranchHead* b) {
    link = l;
    branch = b;
    ahead = l->Next();
    aheadBranch = ahead == &node->branches ? nullptr : Hold(BranchOf(ahead));
}

void qvNodeBranchIter::Finish() {
    Branch* b = branch;
    Branch* a = aheadBranch;
    link = ahead = nullptr;
    branch = aheadBranch = nullptr;
    Release(b);
    Release(a);
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
    while (Node* e = nodes.GetPointer()) Remove(e->Next());
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
    if (x == nullptr || x == e || !IsLone(x)) return;
    x->IncreaseRefCount();
    if (e == nullptr) {
        SetEntry(entry, x);
    } else {
        e->AddBefore(x);
    }
}

void qvSimpleGraph::Add(qvSimpleGraphNodeHead* n) { Enter(&qvSimpleGraph::nodes, n); }

void qvSimpleGraph::Add(qvSimpleGraphBranchHead* b) { Enter(&qvSimpleGraph::branches, b); }

void qvSimpleGraph::Remove(qvSimpleGraphBranchHead* b) {
    if (b == nullptr) return;
    const bool entry = b == branches.GetPointer();
    const bool member = entry || !IsLone(b);
    if (entry) SetEntry(&qvSimpleGraph::branches, IsLone(b) ? nullptr : b->Next());
    b->Remove();
    if (member) {
        Release(b);
    } else if (b->IsAllowDelete() != 0) {
        delete b;  // not the graph's: only its links are given up
    }
}

void qvSimpleGraph::Remove(qvSimpleGraphNodeHead* n) {
    if (n == nullptr) return;
    const bool entry = n == nodes.GetPointer();
    const bool member = entry || !IsLone(n);
    Hold(n);  // alive while its branches go
    while (!IsLone(&n->branches)) Remove(BranchOf(n->branches.Next()));
    if (member) {
        if (entry) SetEntry(&qvSimpleGraph::nodes, IsLone(n) ? nullptr : n->Next());
        n->qvList2kHead::Remove();
        n->DecreaseRefCount();  // membership
        n->DecreaseRefCount();  // the creator's reference
    }
    Release(n);
}

template <class Mark>
void qvSimpleGraph::ClearMarks(Mark mark) {
    Node* const e = nodes.GetPointer();
    // Scouts run ahead along the ring, one per fetch stage.
    Node* scouts[FetchStages];
    for (int stage = FetchStages - 1; stage >= 0; --stage) {
        Node* s = stage == FetchStages - 1 ? e : scouts[stage + 1];
        for (int k = 0; k < FetchSpacing; ++k) s = s->Next();
        scouts[stage] = s;
    }
    Node* n = e;
    do {
        for (int stage = 0; stage < FetchStages; ++stage) {
            FetchAhead(scouts[stage], stage);
            scouts[stage] = scouts[stage]->Next();
        }
        n->back = nullptr;
        mark(n);
        qvList2kHead* const head = &n->branches;
        for (qvList2kHead* l = head->Next(); l != head; l = l->Next()) BranchOf(l)->back = nullptr;
        n = n->Next();
    } while (n != e);
}

template <class Visit>
void qvSimpleGraph::Spread(qvSimpleGraphNodeHead* start, Visit& visit) {
    HeldQueue queue;
    queue.Put(start);
    while (!queue.IsEmpty()) {
        queue.FetchComing();
        Node* const n = queue.Get();
        qvNBIter it(n);
        Release(n);  // the iterator holds n now
        for (; it.IsEnd() == 0; ++it) {
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
    // after it, so the list reads from start.
    for (Node* n = Farthest(start); n != nullptr; n = n->back != nullptr ? n->back->back : nullptr) {
        ++len;
        if (path != nullptr) path->AddAfter(new qvInternalList2k(n));
    }
    return len;
}

int qvSimpleGraph::GetMaxPath(qvList2kHead* path) {
    if (nodes.IsNull() != 0) return 0;
    return GetMaxPath(Farthest(nodes.GetPointer()), path);
}
