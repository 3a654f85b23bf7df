// A general graph of intrusive, reference-counted nodes and branches.
//
// A client derives its own node and branch classes from
// qvSimpleGraphNodeHead and qvSimpleGraphBranchHead. The nodes of a graph
// form one ring and its branches another; each node also keeps the ring of
// the links of the branches that touch it, in the order they were attached.
// Objects are kept alive by their reference counts:
//
//   node:   1 from construction (its creator's), 1 for membership in a
//           graph, 1 for each branch that ends in it, 1 while it is the
//           graph's entry;
//   branch: 2 for its two node links, 1 for membership, 1 while it is the
//           entry.
//
// qvSimpleGraph::Remove is the normal way to delete: it gives up the graph's
// references and the creator's one, and the object goes when nobody else
// (a qvAutoDelPointer, an iterator, a running wave) holds it.
//
// Assigning to a node or branch that is linked into a graph keeps its links
// and its count (only the plain values are copied), so no ring or branch list
// is ever left pointing at an object that does not point back.
//
// Allocation failure (objects, and the queue of a wave) throws
// qvErrNoMemory.
#ifndef CQV_GRAPH_GRAPH_H
#define CQV_GRAPH_GRAPH_H

#include "cqv/core/export.h"
#include "cqv/core/using_new.h"
#include "cqv/graph/auto_del_pointer.h"
#include "cqv/graph/lists.h"

class qvSimpleGraphBranchHead;
class qvSimpleGraph;
namespace qvDetail {
struct BranchWalk;
}

// The base of a client's graph nodes: the node ring's links and the ring
// of the links of the branches that touch the node.
class CQV_API qvSimpleGraphNodeHead : public qvList2kHead {
public:
    // A lone node with no branches, held once by its creator (count 1).
    qvSimpleGraphNodeHead();
    // A lone node with no branches and count 0; path length and back are
    // copied.
    qvSimpleGraphNodeHead(const qvSimpleGraphNodeHead& o);
    // Copies path length and back. A node in no ring and with no branches
    // also takes over o's count; a linked node keeps its links and count.
    qvSimpleGraphNodeHead& operator=(const qvSimpleGraphNodeHead& o);
    // Leaves the node ring, then takes every branch still attached out of
    // both its nodes' lists and deletes it unless someone holds it (such a
    // branch forgets this node).
    ~qvSimpleGraphNodeHead() override;

    // Adds 1 to the reference count; returns the new count.
    int IncreaseRefCount() const final { return ++count; }
    // Subtracts 1 from the reference count; returns the new count.
    int DecreaseRefCount() const final { return --count; }
    // The reference count.
    int GetRefCount() const final { return count; }
    // 1 when the count is below 1, so that the node may be deleted, else 0.
    int IsAllowDelete() const final { return count < 1 ? 1 : 0; }

    // The next node in the graph's node ring.
    CQV_INLINE qvSimpleGraphNodeHead* Next() const { return static_cast<qvSimpleGraphNodeHead*>(next); }
    // The previous node in the graph's node ring.
    CQV_INLINE qvSimpleGraphNodeHead* Prev() const { return static_cast<qvSimpleGraphNodeHead*>(prev); }
    // The ring of the links (qvInternalList2k, owner = branch) of the
    // branches that touch this node, in the order they were attached.
    CQV_INLINE qvList2kHead* GetBranchList() { return &branches; }
    // The first attached branch whose node1 or node2 is m; null if none.
    qvSimpleGraphBranchHead* GetBranch(qvSimpleGraphNodeHead* m) const;
    // The branch by which the last wave reached this node; null for its
    // start and for nodes it did not reach.
    CQV_INLINE qvSimpleGraphBranchHead* GetBack() const { return back; }

protected:
    // The node's reference count.
    mutable int count;
    // Breadth-first distance from the start plus 1, written by GetMaxPath.
    int pathLen;
    // The branch by which the last wave reached this node, or null.
    qvSimpleGraphBranchHead* back;
    // The ring of the links of the branches that touch this node.
    qvList2kHead branches;

private:
    friend class qvSimpleGraphBranchHead;
    friend class qvSimpleGraph;
    friend struct qvDetail::BranchWalk;
};

// The base of a client's graph branches: the branch ring's links and the
// two links that attach the branch to its end nodes.
class CQV_API qvSimpleGraphBranchHead : public qvList2kHead {
public:
    // A branch from a to b, oriented when k is non-zero. Each node gains a
    // reference and gets the branch appended to its branch list; the
    // branch's count is 2, one for each link. Both nodes must be given.
    qvSimpleGraphBranchHead(qvSimpleGraphNodeHead* a, qvSimpleGraphNodeHead* b, int k);
    // A branch with the same end nodes (each gaining a reference),
    // orientation and back, count 0, in no ring and in no node's list.
    qvSimpleGraphBranchHead(const qvSimpleGraphBranchHead& o);
    // Copies orientation and back. A branch in no ring and no node's list
    // also takes o's end nodes (referencing the new, releasing the old) and
    // o's count; a linked branch keeps its ends, links and count.
    qvSimpleGraphBranchHead& operator=(const qvSimpleGraphBranchHead& o);
    // Remove(), then lets go of node2 and node1.
    ~qvSimpleGraphBranchHead() override;

    // Adds 1 to the reference count; returns the new count.
    int IncreaseRefCount() const final { return ++count; }
    // Subtracts 1 from the reference count; returns the new count.
    int DecreaseRefCount() const final { return --count; }
    // The reference count.
    int GetRefCount() const final { return count; }
    // 1 when the count is below 1, so that the branch may be deleted, else 0.
    int IsAllowDelete() const final { return count < 1 ? 1 : 0; }

    // The first end node; an oriented branch runs from it.
    CQV_INLINE qvSimpleGraphNodeHead* GetNode1() const { return node1; }
    // The second end node; an oriented branch runs to it.
    CQV_INLINE qvSimpleGraphNodeHead* GetNode2() const { return node2; }
    // Non-zero for an oriented branch.
    CQV_INLINE int IsOrient() const { return orient; }
    // The node from which the last wave crossed this branch, or null.
    CQV_INLINE qvSimpleGraphNodeHead* GetBack() const { return back; }
    // node1 unless n is node1, else node2.
    CQV_INLINE qvSimpleGraphNodeHead* GetAnotherNode(qvSimpleGraphNodeHead* n) const {
        return n != node1 ? node1 : node2;
    }
    // 1 when the branch may be left from n: unoriented, or n is node1.
    CQV_INLINE int IsOut(qvSimpleGraphNodeHead* n) const { return orient == 0 || n == node1 ? 1 : 0; }
    // 1 when the branch may be entered at n: unoriented, or n is node2.
    CQV_INLINE int IsIn(qvSimpleGraphNodeHead* n) const { return orient == 0 || n == node2 ? 1 : 0; }
    // The next branch in the graph's branch ring.
    CQV_INLINE qvSimpleGraphBranchHead* Next() const { return static_cast<qvSimpleGraphBranchHead*>(next); }
    // The previous branch in the graph's branch ring.
    CQV_INLINE qvSimpleGraphBranchHead* Prev() const { return static_cast<qvSimpleGraphBranchHead*>(prev); }

    // Takes the branch out of both nodes' branch lists (one count less for
    // each link that was in a list) and out of the branch ring; returns
    // this. The end nodes stay referenced until the branch is destroyed.
    virtual qvSimpleGraphBranchHead* Remove();

protected:
    // The branch's entry in node1's branch list.
    CQV_INLINE qvInternalList2k* GetNodeLink1() { return &link1; }
    // The branch's entry in node2's branch list.
    CQV_INLINE qvInternalList2k* GetNodeLink2() { return &link2; }

    // What a walk over a node's branch list reads lies together: each link
    // next to the ends, the orientation and the count.

    // The branch's entry in node1's branch list (owner: this branch).
    qvInternalList2k link1;
    // The first end node.
    qvSimpleGraphNodeHead* node1;
    // The second end node.
    qvSimpleGraphNodeHead* node2;
    // The node from which the last wave crossed this branch, or null.
    qvSimpleGraphNodeHead* back;
    // Non-zero for an oriented branch (from node1 to node2).
    int orient;
    // The branch's reference count.
    mutable int count;
    // The branch's entry in node2's branch list (owner: this branch).
    qvInternalList2k link2;

private:
    friend class qvSimpleGraphNodeHead;
    friend class qvSimpleGraph;
    // Takes the links out of the node lists, one count less for each link
    // that was in one.
    void DetachLinks();
    // 1 when the branch is in a ring or a node's list.
    int IsLinked() const;
};

// The pointee types of the owning pointer, for the declarations here and the
// instances in graph.cpp.
#define CQV_FOR_EACH_AUTO_DEL_POINTER_TYPE(X) X(qvSimpleGraphNodeHead) X(qvSimpleGraphBranchHead)
#define CQV_DECLARE_AUTO_DEL_POINTER(T) CQV_EXTERN_TEMPLATE(qvAutoDelPointer<T>)
CQV_FOR_EACH_AUTO_DEL_POINTER_TYPE(CQV_DECLARE_AUTO_DEL_POINTER)
#undef CQV_DECLARE_AUTO_DEL_POINTER

namespace qvDetail {

// A walk along the branch list of one node: the node, the link stood on and
// the link after it, with their branches, each of them held. The library's
// iterators are built on it; its steps are defined in the library's private
// header cqv/graph/graph_internal.h.
struct BranchWalk {
    // Walks the list of n (none if n is null), taking over a reference to n
    // that the caller holds, and stands on its first link, holding its
    // branch and the next.
    void Begin(qvSimpleGraphNodeHead* n);
    // Steps to the next link (see qvNodeBranchIter::operator++).
    void Step();
    // Lets go of the branches held and stands at the end.
    void Finish();
    // Finish, and lets go of the node too.
    void End();

    qvSimpleGraphNodeHead* node;
    qvList2kHead* link;                    // null past the end
    qvSimpleGraphBranchHead* branch;
    qvList2kHead* ahead;                   // the link after link when it was reached
    qvSimpleGraphBranchHead* aheadBranch;  // null when ahead is the list head

private:
    // Stands on link l, whose branch is already held, and holds the next.
    void StandOn(qvList2kHead* l, qvSimpleGraphBranchHead* b);
};

}  // namespace qvDetail

// Walks the branches of one node in the order of its branch list. While it
// lives the iterator holds a reference to the node, and one to the branch it
// stands on and to the one after it, so that none of them disappears during
// a visit. The visit may remove branches or the node itself: if the current
// branch left the list, the walk goes on with the branch that followed it,
// and ends if that one left too.
class CQV_API qvNodeBranchIter {
public:
    // Stands on the first branch of n (at the end if n has none or n is
    // null).
    explicit qvNodeBranchIter(qvSimpleGraphNodeHead* n);
    // Not copyable: the iterator holds references of its own.
    qvNodeBranchIter(const qvNodeBranchIter&) = delete;
    qvNodeBranchIter& operator=(const qvNodeBranchIter&) = delete;
    // Lets go of everything held.
    ~qvNodeBranchIter();

    // 1 once the walk has run past the last branch.
    CQV_INLINE int IsEnd() const { return walk.link == nullptr ? 1 : 0; }
    // The branch stood on. Throws BadParameters
    // "qvNodeBranchIter: out of range" past the end.
    qvSimpleGraphBranchHead& operator*() const;
    qvSimpleGraphBranchHead* operator->() const;
    // Steps to the next branch (nothing happens past the end).
    qvNodeBranchIter& operator++();
    // The node whose branches are walked.
    CQV_INLINE qvSimpleGraphNodeHead* GetNode() const { return walk.node; }

private:
    qvDetail::BranchWalk walk;
};

// A graph: the ring of its nodes and the ring of its branches.
class CQV_API qvSimpleGraph : public qvRefCount {
public:
    // The callback of a wave: asked whether to go from node from over branch
    // b to node to; non-zero enters to.
    typedef int (*WaveFunc)(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead* b,
                            void* data);

    // An empty graph.
    qvSimpleGraph();
    // A graph sharing g's nodes and branches: nothing is duplicated and the
    // entries take references. Graphs that share see each other's changes;
    // the last of them to go dismantles the graph.
    qvSimpleGraph(const qvSimpleGraph& g);
    // Lets go of the present graph (dismantling it if no other graph shares
    // it), then shares g's.
    qvSimpleGraph& operator=(const qvSimpleGraph& g);
    // Unless another graph shares it: removes every node as Remove does (the
    // entry last), then every branch left in the branch ring.
    ~qvSimpleGraph() override;

    // The entry node, from which the node ring is read; null when there is
    // none.
    CQV_INLINE qvSimpleGraphNodeHead* GetNodeList() const { return nodes.GetPointer(); }
    // The entry branch, from which the branch ring is read; null when there
    // is none.
    CQV_INLINE qvSimpleGraphBranchHead* GetBranchList() const { return branches.GetPointer(); }

    // Adds n: the first node becomes the entry, later nodes go to the end of
    // the ring. n gains a reference for membership (one more as entry). A
    // node already in a ring (or the entry) is left alone.
    void Add(qvSimpleGraphNodeHead* n);
    // The same for a branch and the branch ring.
    void Add(qvSimpleGraphBranchHead* b);
    // Removes every branch of n (as the branch form does); then, if n is in
    // the graph, moves the entry on if it is n, takes n out of the ring and
    // gives up the membership and the creator's references, deleting n
    // unless someone else holds it.
    void Remove(qvSimpleGraphNodeHead* n);
    // Moves the entry on if it is b, takes b out of its nodes' lists and the
    // ring (b->Remove()) and gives up the membership reference, deleting b
    // unless someone holds it.
    void Remove(qvSimpleGraphBranchHead* b);

    // Breadth-first wave from start: every node's and branch's back is
    // cleared; then, node by node in queue order and branch by branch in
    // list order, for every branch b that may be left from node n towards
    // m, f(n, m, b, data) is asked; non-zero sets b's back to n, m's back to
    // b and queues m. There is no visited set: f decides whether a node is
    // entered again. An empty graph does nothing. Throws qvErrNoMemory when
    // the queue cannot grow; the back marks are then as far as the wave
    // got, every reference count as before.
    void Wave(qvSimpleGraphNodeHead* start, WaveFunc f, void* data);
    // Number of nodes on a longest shortest path of the graph: from the
    // entry the farthest node f is found, and the answer is
    // GetMaxPath(f, path). 0 for an empty graph.
    int GetMaxPath(qvList2kHead* path);
    // Number of nodes on the shortest path from start to the node farthest
    // from it (the first such node in ring order from the entry). When path
    // is given, a qvInternalList2k with owner = node is inserted after it for
    // each node, so that the list reads from start to the far node; the path
    // list owns them. 0 for an empty graph. Throws qvErrNoMemory when the
    // wave's queue or an entry cannot be had; path is then as it was.
    int GetMaxPath(qvSimpleGraphNodeHead* start, qvList2kHead* path);

private:
    // The wave callback of GetMaxPath: enters to when it has no distance yet
    // or a longer one than from's + 1, giving it from's + 1.
    static int PathLen(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead* b,
                       void* data);

    // Clears back of every node and of every branch in the nodes' lists,
    // applying mark to each node too.
    template <class Mark>
    void ClearMarks(Mark mark);
    // The breadth-first walk of Wave from start, asking visit(from, to, b).
    template <class Visit>
    static void Spread(qvSimpleGraphNodeHead* start, Visit& visit);
    // Walks the branch lists of the next queued nodes ahead of the wave,
    // several side by side, fetching what the wave will read there.
    template <class Queue>
    static void WalkAhead(Queue& queue);
    // Gives every node its distance from start plus 1 and returns the
    // farthest node, whose distance is then reset to 0.
    qvSimpleGraphNodeHead* Farthest(qvSimpleGraphNodeHead* start);

    // Makes x the entry of this graph and of every graph sharing it.
    template <class T>
    void SetEntry(qvAutoDelPointer<T> qvSimpleGraph::*entry, T* x);
    // Puts x in the ring of entry with a membership reference.
    template <class T>
    void Enter(qvAutoDelPointer<T> qvSimpleGraph::*entry, T* x);
    // Removes every node and then every branch left.
    void Dismantle();
    // Remove of a node and of a branch. With anchor (graph destruction),
    // the branch ring has no entry: *anchor, a branch of the ring or null,
    // stands in for it without holding it, moving on as the entry would.
    void RemoveNode(qvSimpleGraphNodeHead* n, qvSimpleGraphBranchHead** anchor);
    void RemoveBranch(qvSimpleGraphBranchHead* b, qvSimpleGraphBranchHead** anchor);
    // Leaves the group of graphs sharing this one; the last one to leave
    // dismantles the graph.
    void Leave();

    // The entry node, held.
    qvAutoDelPointer<qvSimpleGraphNodeHead> nodes;
    // The entry branch, held.
    qvAutoDelPointer<qvSimpleGraphBranchHead> branches;
    // The next graph in the ring of graphs sharing these nodes and branches.
    qvSimpleGraph* sharedNext;
    // The previous graph in the ring of graphs sharing these nodes and
    // branches.
    qvSimpleGraph* sharedPrev;
};

#endif  // CQV_GRAPH_GRAPH_H
