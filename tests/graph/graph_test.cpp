// The graph: reference counts in every state, adding and removing, the
// branch iterator, the wave and the longest shortest path, assignment to
// linked objects and shared graphs.
#include "graph_test_support.h"

#include <set>
#include <tuple>
#include <vector>

#include "cqv/graph/graph_internal.h"

using namespace graphtest;
using Ints = std::vector<int>;
using Marks = std::vector<const void*>;

namespace {

// One question a wave asked its callback.
using Offer = std::tuple<int, int, qvSimpleGraphBranchHead*>;

// Records every question and enters each node once.
struct Recorder {
    std::vector<Offer> offers;
    std::set<qvSimpleGraphNodeHead*> seen;
    static int Visit(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead* b,
                     void* data) {
        auto* r = static_cast<Recorder*>(data);
        r->offers.emplace_back(Id(from), Id(to), b);
        return r->seen.insert(to).second ? 1 : 0;
    }
};

int Refuse(qvSimpleGraphNodeHead*, qvSimpleGraphNodeHead*, qvSimpleGraphBranchHead*, void*) { return 0; }

}  // namespace

TEST_F(GraphTest, PathOfThreeCountsAndLongestPath) {
    qvSimpleGraph g;
    TNode outsider(9);
    qvList2kHead path;
    EXPECT_EQ((Ints{g.GetMaxPath(&path), g.GetMaxPath(&outsider, &path)}), (Ints{0, 0}));
    EXPECT_EQ(path.Next(), &path);
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3);
    qvList2kHead single;
    EXPECT_EQ(g.GetMaxPath(&single), 1);  // no branches yet: the entry alone
    EXPECT_EQ(PathIds(single), (Ints{1}));
    TBranch* ab = Branch(g, a, b);
    TBranch* bc = Branch(g, b, c);
    EXPECT_EQ(Ptrs(g.GetNodeList(), g.GetBranchList()), Ptrs(a, ab));
    // Nodes: creator, membership, branches (and entry); branches: two
    // links, membership (and entry).
    EXPECT_EQ(Counts(a, b, c, ab, bc), (Ints{4, 4, 3, 4, 3}));
    EXPECT_EQ(a->IsAllowDelete(), 0);

    EXPECT_EQ(g.GetMaxPath(&path), 3);
    EXPECT_EQ(PathIds(path), (Ints{3, 2, 1}));  // from c, the node farthest from a
    EXPECT_EQ(g.GetMaxPath(b, nullptr), 2);
    EXPECT_EQ((Ints{a->PathLength(), b->PathLength(), c->PathLength()}), (Ints{0, 1, 2}));  // the far node is reset
    EXPECT_EQ(Backs(a, b, c, ab, bc), (Marks{ab, nullptr, bc, b, b}));
    EXPECT_EQ(PathIds(path), (Ints{3, 2, 1}));  // no path asked for, none written
    EXPECT_EQ(Counts(a, ab), (Ints{4, 4}));      // waves hold only while they run
}

TEST_F(GraphTest, WaveOffersBranchesInListOrderNodesInQueueOrder) {
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3), *d = Node(g, 4);
    TBranch* ab = Branch(g, a, b);
    TBranch* ca = Branch(g, c, a);
    TBranch* bd = Branch(g, b, d);
    Recorder r;
    r.seen.insert(a);
    g.Wave(a, Recorder::Visit, &r);
    EXPECT_EQ(r.offers, (std::vector<Offer>{{1, 2, ab}, {1, 3, ca}, {2, 1, ab}, {2, 4, bd}, {3, 1, ca}, {4, 2, bd}}));
    // ca was crossed from a although a is its node2.
    EXPECT_EQ(Backs(a, b, c, d, ab, ca, bd), (Marks{nullptr, ab, ca, bd, a, a, b}));
    // A later wave clears every mark before it starts.
    g.Wave(c, Refuse, nullptr);
    EXPECT_EQ(Backs(a, b, c, d, ab, ca, bd), Marks(7, nullptr));
}

TEST_F(GraphTest, OrientedAndParallelBranches) {
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2);
    TBranch* ab = Branch(g, a, b, 1);
    EXPECT_EQ((Ints{ab->IsOut(a), ab->IsOut(b), ab->IsIn(a), ab->IsIn(b)}), (Ints{1, 0, 0, 1}));
    Recorder fromA, fromB;
    g.Wave(a, Recorder::Visit, &fromA);
    g.Wave(b, Recorder::Visit, &fromB);
    EXPECT_EQ(fromA.offers, (std::vector<Offer>{{1, 2, ab}}));
    EXPECT_TRUE(fromB.offers.empty());

    // A parallel unoriented pair: both are offered, from either side.
    TBranch* p1 = Branch(g, a, b);
    TBranch* p2 = Branch(g, b, a);
    Recorder both;
    both.seen.insert(b);
    g.Wave(b, Recorder::Visit, &both);
    EXPECT_EQ(both.offers, (std::vector<Offer>{{2, 1, p1}, {2, 1, p2}, {1, 2, ab}, {1, 2, p1}, {1, 2, p2}}));
    // The first branch between the two, or any of a's for a itself.
    TNode stranger(9);
    EXPECT_EQ(Ptrs(a->GetBranch(b), b->GetBranch(a), a->GetBranch(a), a->GetBranch(&stranger)), Ptrs(ab, ab, ab, nullptr));
}

TEST_F(GraphTest, AddingAndRemovingMoveTheEntryAndTakeTheBranches) {
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3);
    TBranch* ab = Branch(g, a, b);
    TBranch* bc = Branch(g, b, c);
    Branch(g, a, c);
    // Adding a member again, the entry or not, changes nothing.
    g.Add(a);
    g.Add(b);
    g.Add(ab);
    EXPECT_EQ(Counts(a, b, ab), (Ints{5, 4, 4}));
    EXPECT_EQ(Ptrs(a->Next(), b->Next(), c->Next()), Ptrs(b, c, a));

    g.Remove(a);  // the entry: it moves on, and a's two branches go with a
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{2, 1}));
    // The entry branch ab went; bc is next.
    EXPECT_EQ(Ptrs(g.GetNodeList(), g.GetBranchList(), b->Next(), c->Prev()), Ptrs(b, bc, c, b));
    EXPECT_EQ(Counts(b, c, bc), (Ints{4, 3, 4}));
    g.Remove(bc);
    EXPECT_EQ(Ptrs(g.GetBranchList(), b->GetBranchList()->Next()), Ptrs(nullptr, b->GetBranchList()));
    EXPECT_EQ((Ints{TBranch::alive, b->GetRefCount()}), (Ints{0, 3}));

    // A node held elsewhere leaves the graph and lives on; removing it
    // again, or null, changes nothing.
    qvAutoDelPointer<qvSimpleGraphNodeHead> held(b);
    g.Remove(b);
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{2, 1}));
    g.Remove(b);
    EXPECT_EQ(b->GetRefCount(), 1);
    g.Add(static_cast<qvSimpleGraphNodeHead*>(nullptr));
    g.Remove(static_cast<qvSimpleGraphBranchHead*>(nullptr));
    g.Remove(c);
    EXPECT_EQ(g.GetNodeList(), nullptr);
    EXPECT_EQ(TNode::alive, 1);
}

TEST_F(GraphTest, AutoDelPointerHoldsOneReference) {
    auto* a = new TNode(1);
    auto* b = new TNode(2);
    qvAutoDelPointer<qvSimpleGraphNodeHead> p(a);
    qvUsingNew::Delete(a);  // the creator lets go; p is the last holder
    {
        qvAutoDelPointer<qvSimpleGraphNodeHead> q(p);
        EXPECT_EQ(q->GetRefCount(), 2);
    }
    p.SetPointer(a);  // the pointer already held: nothing changes
    EXPECT_EQ(a->GetRefCount(), 1);
    EXPECT_EQ(p = b, b);  // a's last holder lets go
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{1, 2}));
    qvAutoDelPointer<qvSimpleGraphNodeHead> empty;
    EXPECT_EQ((Ints{empty.IsNull(), p.IsNull()}), (Ints{1, 0}));
    empty = p;
    EXPECT_EQ(b->GetRefCount(), 3);
    p = static_cast<qvSimpleGraphNodeHead*>(nullptr);
    empty = p;
    EXPECT_EQ(b->GetRefCount(), 1);
    qvUsingNew::Delete(b);

    // A branch kept alive only through the pointer goes with it.
    auto* x = new TNode(3);
    auto* y = new TNode(4);
    {
        qvAutoDelPointer<qvSimpleGraphBranchHead> br(new TBranch(x, y, 0));
        br->Remove();
        EXPECT_EQ((Ints{br->GetRefCount(), x->GetRefCount()}), (Ints{1, 2}));  // x until the branch goes
    }
    EXPECT_EQ((Ints{TBranch::alive, x->GetRefCount()}), (Ints{0, 1}));
    qvUsingNew::Delete(x);
    qvUsingNew::Delete(y);
}

TEST_F(GraphTest, BranchIteratorHoldsWhatItStandsOn) {
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3), *d = Node(g, 4);
    TBranch* ab = Branch(g, a, b);
    TBranch* ac = Branch(g, a, c);
    TBranch* da = Branch(g, d, a);
    {
        qvNodeBranchIter it(a);
        EXPECT_EQ(Ptrs(it.GetNode(), &*it), Ptrs(a, ab));
        // a and the branch stood on and the one after it gain a holder.
        EXPECT_EQ(Counts(a, ab, ac, da), (Ints{7, 5, 4, 3}));
        ++it;
        EXPECT_EQ(it->GetNode2(), c);
        EXPECT_EQ(Counts(ab, ac, da), (Ints{4, 4, 4}));
        ++it;
        EXPECT_EQ(&*it, da);
        EXPECT_EQ(Counts(ac, da), (Ints{3, 4}));
        ++it;
        EXPECT_EQ((Ints{it.IsEnd(), da->GetRefCount()}), (Ints{1, 3}));
        CQV_EXPECT_BAD(*it, "qvNodeBranchIter: out of range");
        CQV_EXPECT_BAD(it->GetNode1(), "qvNodeBranchIter: out of range");
        ++it;  // stays at the end
        EXPECT_EQ(it.IsEnd(), 1);
    }
    EXPECT_EQ(a->GetRefCount(), 6);
    qvNodeBranchIter none(nullptr);
    EXPECT_EQ(none.IsEnd(), 1);
    qvNBIter waveIter(d);
    EXPECT_EQ(&*waveIter, da);
    ++waveIter;
    CQV_EXPECT_BAD(*waveIter, "qvNBIter: out of range");
}

TEST_F(GraphTest, BranchIteratorSurvivesRemovalsDuringTheVisit) {
    qvSimpleGraph g;
    TNode* hub = Node(g, 0);
    std::vector<TBranch*> spokes;
    for (int i = 1; i <= 4; ++i) spokes.push_back(Branch(g, hub, Node(g, i)));
    Ints visited;
    for (qvNodeBranchIter it(hub); !it.IsEnd(); ++it) {
        visited.push_back(Id(it->GetNode2()));
        if (&*it == spokes[1]) {
            g.Remove(spokes[1]);  // the branch stood on: held until the step
            g.Remove(spokes[2]);  // the one after: also held
            EXPECT_EQ(TBranch::alive, 4);
        }
    }
    // After the branch stood on and the one after it left, the walk ends
    // (spoke 4 was no longer reachable from either).
    EXPECT_EQ(visited, (Ints{1, 2}));
    EXPECT_EQ(TBranch::alive, 2);
    visited.clear();
    for (qvNodeBranchIter it(hub); !it.IsEnd(); ++it) {
        visited.push_back(Id(it->GetNode2()));
        if (visited.size() == 1) g.Remove(&*it);  // leave the first: go on with the next
    }
    EXPECT_EQ(visited, (Ints{1, 4}));
    EXPECT_EQ(TBranch::alive, 1);
    visited.clear();
    for (qvNodeBranchIter it(hub); !it.IsEnd(); ++it) {
        visited.push_back(Id(it->GetNode2()));
        g.Remove(hub);  // the node itself goes: held until the iterator ends
        EXPECT_EQ(TNode::alive, 5);
    }
    EXPECT_EQ(visited, (Ints{4}));
    EXPECT_EQ(TNode::alive, 4);
    EXPECT_EQ(TBranch::alive, 0);
}

namespace {

struct Vandal {
    qvSimpleGraph* g;
    std::vector<std::pair<int, int>> offers;
    static int Visit(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead* b, void* data) {
        auto* v = static_cast<Vandal*>(data);
        v->offers.emplace_back(Id(from), Id(to));
        if (Id(from) != 0) return 0;
        if (Id(to) == 2) v->g->Remove(b);   // the branch being crossed
        if (Id(to) == 3) v->g->Remove(to);  // the node being entered
        return 1;
    }
};

}  // namespace

TEST_F(GraphTest, WaveSurvivesACallbackThatRemovesWhatItIsGiven) {
    qvSimpleGraph g;
    TNode* hub = Node(g, 0);
    std::vector<TNode*> leaves;
    for (int i = 1; i <= 4; ++i) {
        leaves.push_back(Node(g, i));
        Branch(g, hub, leaves.back());
    }
    Vandal v{&g, {}};
    g.Wave(hub, Vandal::Visit, &v);
    // Every spoke was offered once from the hub; leaves 1, 2 and 4 looked
    // back over what was left of their branches (2's and 3's are gone).
    EXPECT_EQ(v.offers, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 0}, {4, 0}}));
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{4, 2}));  // node 3 went once the wave let go of it
    EXPECT_EQ(leaves[1]->GetBranchList()->Next(), leaves[1]->GetBranchList());
}

TEST_F(GraphTest, AssignmentNeverUnhooksALinkedObject) {
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3);
    TBranch* ab = Branch(g, a, b);
    Branch(g, b, c);
    g.GetMaxPath(a, nullptr);  // gives the nodes distances and backs

    // Copy of a linked node: a lone node, count 0, values copied.
    TNode lone(7);
    TNode copy(*b);
    EXPECT_EQ((Ints{copy.GetRefCount(), copy.PathLength()}), (Ints{0, 2}));
    EXPECT_EQ(Ptrs(copy.Next(), copy.GetBranchList()->Next(), copy.GetBack()), Ptrs(&copy, copy.GetBranchList(), ab));
    // Assignment to a linked node: values only; ring, branches, count stay.
    *b = lone;
    EXPECT_EQ((Ints{b->GetRefCount(), b->PathLength()}), (Ints{4, 0}));
    EXPECT_EQ(Ptrs(b->GetBack(), a->Next(), b->Next()), Ptrs(nullptr, b, c));
    EXPECT_EQ(g.GetMaxPath(nullptr), 3);
    // Assignment to a lone node from a linked one: it stays lone and takes
    // the count, as any unlinked object does.
    lone = *a;
    EXPECT_EQ(Ptrs(lone.Next(), a->Next()), Ptrs(&lone, b));
    EXPECT_EQ(lone.GetRefCount(), a->GetRefCount());

    // Branches: a linked one keeps its ends, links and count.
    TBranch spare(b, c, 1);
    spare.Remove();  // unlinked, count 0, still referencing b and c
    EXPECT_EQ(b->GetRefCount(), 5);
    *ab = spare;
    EXPECT_EQ(Ends(ab), (Ints{1, 2, 1}));
    EXPECT_EQ(ab->GetRefCount(), 4);
    EXPECT_EQ(a->GetBranch(b), ab);
    // An unlinked one takes the new ends and lets go of the old.
    TBranch copied(*ab);
    EXPECT_EQ(Ends(&copied), (Ints{1, 2, 1}));
    EXPECT_EQ(copied.Next(), &copied);
    EXPECT_EQ(Counts(&copied, a, b), (Ints{0, 5, 6}));
    copied = spare;
    EXPECT_EQ(Ends(&copied), (Ints{2, 3, 1}));
    EXPECT_EQ(Counts(a, b, c), (Ints{4, 6, 5}));  // b gained as node1, let go of as node2
    EXPECT_EQ(c->GetBranch(b), b->GetBranch(c));  // lists untouched: only bc is listed
    // ab took spare's orientation: c reaches b but no longer a.
    EXPECT_EQ(g.GetMaxPath(nullptr), 2);
}
