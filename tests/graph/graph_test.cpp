// The graph: reference counts in every state, adding and removing, the
// branch iterator, the wave and the longest shortest path, assignment to
// linked objects and shared graphs.
#include "graph_test_support.h"

#include <tuple>
#include <vector>

#include "cqv/graph/graph_internal.h"

using namespace graphtest;
using Ints = std::vector<int>;
using Marks = std::vector<const void*>;

// The longest path of an empty graph, from a node outside it, and of a
// single node. (Paths proper are checked against a breadth-first search in
// graph_lifetime_test.cpp; the far node's reset by the diamond below.) The
// end points of a branch say which way it leaves them; GetBranch finds the
// first branch between two nodes, or any of a's for a itself.
TEST_F(GraphTest, LongestPathOfEmptyAndSingleNodeGraphsAndBranchEnds) {
    qvSimpleGraph g;
    TNode outsider(9);
    qvList2kHead path;
    EXPECT_EQ((Ints{g.GetMaxPath(&path), g.GetMaxPath(&outsider, &path)}), (Ints{0, 0}));
    EXPECT_EQ(path.Next(), &path);
    TNode *a = Node(g, 1), *b = Node(g, 2), *d = Node(g, 4);
    EXPECT_EQ(g.GetMaxPath(nullptr), 1);  // no branches yet: the entry alone
    TBranch* ab = Branch(g, a, b);
    Branch(g, b, a);                  // parallel to ab
    TBranch* db = Branch(g, d, b, 1);  // oriented from d to b
    EXPECT_EQ((Ints{db->IsOut(d), db->IsOut(b), db->IsIn(d), db->IsIn(b)}), (Ints{1, 0, 0, 1}));
    EXPECT_EQ(Ptrs(a->GetBranch(b), b->GetBranch(a), a->GetBranch(a), a->GetBranch(d)), Ptrs(ab, ab, ab, nullptr));
}

// Adding twice changes nothing; removing the entry moves it on and takes
// the node's branches; a node held elsewhere outlives its removal.
TEST_F(GraphTest, AddingAndRemovingMoveTheEntryAndTakeTheBranches) {
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3);
    TBranch* ab = Branch(g, a, b);
    TBranch* bc = Branch(g, b, c);
    Branch(g, a, c);
    g.Add(a);
    g.Add(b);
    g.Add(ab);
    EXPECT_EQ(Counts(a, b, ab), (Ints{5, 4, 4}));
    EXPECT_EQ(Ptrs(a->Next(), b->Next(), c->Next()), Ptrs(b, c, a));

    g.Remove(a);  // the entry: it moves on, and a's two branches go with a
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{2, 1}));
    EXPECT_EQ(Ptrs(g.GetNodeList(), g.GetBranchList(), b->Next(), c->Prev()), Ptrs(b, bc, c, b));
    EXPECT_EQ(Counts(b, c, bc), (Ints{4, 3, 4}));
    g.Remove(bc);
    EXPECT_EQ(Ptrs(g.GetBranchList(), b->GetBranchList()->Next()), Ptrs(nullptr, b->GetBranchList()));
    EXPECT_EQ((Ints{TBranch::alive, b->GetRefCount()}), (Ints{0, 3}));

    // Removing b twice, or null, gives up the graph's references once.
    qvAutoDelPointer<qvSimpleGraphNodeHead> held(b);
    g.Remove(b);
    g.Remove(b);
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{2, 1}));
    g.Add(static_cast<qvSimpleGraphNodeHead*>(nullptr));
    g.Remove(static_cast<qvSimpleGraphBranchHead*>(nullptr));
    g.Remove(c);
    EXPECT_EQ(Ptrs(g.GetNodeList()), Ptrs(nullptr));
    EXPECT_EQ(TNode::alive, 1);
}

// The owning pointer takes one reference, lets go of the old pointee when
// given a new one, and ignores being given what it holds. (Copying and
// assigning holders are exercised by shared graphs.)
TEST_F(GraphTest, AutoDelPointerHoldsOneReference) {
    auto* a = new TNode(1);
    auto* b = new TNode(2);
    qvAutoDelPointer<qvSimpleGraphNodeHead> p(a), empty;
    qvUsingNew::Delete(a);  // the creator lets go; p is the last holder
    p.SetPointer(a);        // the pointer already held: nothing changes
    EXPECT_EQ(a->GetRefCount(), 1);
    EXPECT_EQ(p = b, b);  // a's last holder lets go
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount(), empty.IsNull(), p.IsNull()}), (Ints{1, 2, 1, 0}));
    p = static_cast<qvSimpleGraphNodeHead*>(nullptr);
    EXPECT_EQ((Ints{b->GetRefCount(), p.IsNull()}), (Ints{1, 1}));
    qvUsingNew::Delete(b);
}

// The iterator holds its node, the branch it stands on and the next one, so
// that branches and the node removed during a walk live until it lets go of
// them; the walk goes on with the branch that followed, if still there.
// Past the end it stays there and throws its own text.
TEST_F(GraphTest, BranchIteratorHoldsWhatItStandsOnThroughRemovals) {
    qvSimpleGraph g;
    TNode* hub = Node(g, 0);
    std::vector<TBranch*> spokes;
    for (int i = 1; i <= 4; ++i) spokes.push_back(Branch(g, hub, Node(g, i)));
    {
        qvNodeBranchIter it(hub), none(nullptr);
        qvNBIter waveIter(spokes[0]->GetNode2());
        EXPECT_EQ(Ptrs(it.GetNode(), &*it), Ptrs(hub, spokes[0]));
        EXPECT_EQ(Counts(hub, spokes[0], spokes[1], spokes[2]), (Ints{8, 6, 4, 3}));
        ++it;
        EXPECT_EQ(Counts(spokes[0], spokes[1], spokes[2]), (Ints{5, 4, 4}));
        for (int i = 0; i < 4; ++i) ++it;  // past the end, where it stays
        EXPECT_EQ((Ints{it.IsEnd(), none.IsEnd(), hub->GetRefCount(), spokes[3]->GetRefCount()}), (Ints{1, 1, 8, 3}));
        CQV_EXPECT_BAD(*it, "qvNodeBranchIter: out of range");
        ++waveIter;
        CQV_EXPECT_BAD(*waveIter, "qvNBIter: out of range");
    }
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
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{4, 0}));
}

// A wave callback may remove the branch it is asked about or the node it
// enters; the wave holds both until it is done with them.
TEST_F(GraphTest, WaveSurvivesACallbackThatRemovesWhatItIsGiven) {
    qvSimpleGraph g;
    TNode* hub = Node(g, 0);
    std::vector<TBranch*> sp;  // the spokes
    for (int i = 1; i <= 4; ++i) sp.push_back(Branch(g, hub, Node(g, i)));
    // The client removes the branch it is asked to cross to node 2 and the
    // node 3 it is asked to enter.
    Distances r;
    r.onAsk = [&g](qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead* b) {
        if (Id(to) == 2) g.Remove(b);
        if (Id(to) == 3) g.Remove(to);
    };
    r.d[hub] = 0;
    g.Wave(hub, Distances::Visit, &r);
    // Every spoke was offered once from the hub; leaves 1 and 4 looked back
    // over their branches (2's and 3's are gone).
    EXPECT_EQ(r.offers, (std::vector<Offer>{{0, 1, sp[0]}, {0, 2, sp[1]}, {0, 3, sp[2]}, {0, 4, sp[3]},
                                             {1, 0, sp[0]}, {4, 0, sp[3]}}));
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{4, 2}));  // node 3 went once the wave let go of it
}

// Copies are lone with count 0; assigning to a linked node or branch copies
// values only, while an unlinked one also takes the count (and the ends).
TEST_F(GraphTest, AssignmentNeverUnhooksALinkedObject) {
    using NodeHead = qvSimpleGraphNodeHead;
    qvSimpleGraph g;
    TNode *a = Node(g, 1), *b = Node(g, 2), *c = Node(g, 3);
    TBranch* ab = Branch(g, a, b);
    Branch(g, b, c);
    g.GetMaxPath(a, nullptr);  // gives the nodes distances and backs

    TNode lone(7), copy(*b);
    EXPECT_EQ((Ints{copy.GetRefCount(), copy.PathLength()}), (Ints{0, 2}));
    EXPECT_EQ(Ptrs(copy.Next(), copy.GetBranchList()->Next(), copy.GetBack()), Ptrs(&copy, copy.GetBranchList(), ab));
    static_cast<NodeHead&>(*b) = lone;  // values only; ring, branches and count stay
    EXPECT_EQ((Ints{b->GetRefCount(), b->PathLength()}), (Ints{4, 0}));
    EXPECT_EQ(Ptrs(b->GetBack(), a->Next(), b->Next()), Ptrs(nullptr, b, c));
    EXPECT_EQ(g.GetMaxPath(nullptr), 3);
    static_cast<NodeHead&>(lone) = *a;  // stays lone and takes the count
    EXPECT_EQ(Ptrs(lone.Next(), a->Next()), Ptrs(&lone, b));
    EXPECT_EQ(lone.GetRefCount(), a->GetRefCount());

    // Branches: a linked one keeps its ends, links and count.
    TBranch spare(b, c, 1);
    spare.Remove();  // unlinked, count 0, still referencing b and c
    static_cast<qvSimpleGraphBranchHead&>(*ab) = spare;
    EXPECT_EQ(Ends(ab), (Ints{1, 2, 1}));
    EXPECT_EQ(Counts(ab, b), (Ints{4, 5}));
    // An unlinked one takes the new ends and lets go of the old.
    qvSimpleGraphBranchHead copied(*ab);
    EXPECT_EQ(Ends(&copied), (Ints{1, 2, 1}));
    EXPECT_EQ(Ptrs(copied.Next()), Ptrs(&copied));
    EXPECT_EQ(Counts(&copied, a, b), (Ints{0, 5, 6}));
    copied = spare;
    EXPECT_EQ(Ends(&copied), (Ints{2, 3, 1}));
    EXPECT_EQ(Counts(a, b, c), (Ints{4, 6, 5}));  // b gained as node1, let go of as node2
    // ab took spare's orientation: c reaches b but no longer a.
    EXPECT_EQ(g.GetMaxPath(nullptr), 2);
}

// A diamond: s reaches t through a and, as short, through b, whose branch to
// t comes later. The longest path keeps the first route: an equally short
// second one neither enters t again nor redirects its back links. The same
// holds the other way round, where s is reached last through a and b alike.
// Path lengths, back links and the path list all show which route was kept,
// and the counts are those before the call.
TEST_F(GraphTest, LongestPathKeepsTheFirstOfEquallyShortRoutes) {
    qvSimpleGraph g;
    TNode *s = Node(g, 1), *a = Node(g, 2), *b = Node(g, 3), *t = Node(g, 4);
    TBranch *sa = Branch(g, s, a), *sb = Branch(g, s, b), *at = Branch(g, a, t), *bt = Branch(g, b, t);
    qvAutoDelPointer<qvSimpleGraphNodeHead> held(b);  // a holder outside the graph
    const Ints counts = Counts(s, a, b, t, sa, sb, at, bt);
    qvList2kHead path;
    EXPECT_EQ(g.GetMaxPath(s, &path), 3);
    EXPECT_EQ(PathIds(path), (Ints{1, 2, 4}));
    EXPECT_EQ(Backs(s, a, b, t, sa, sb, at, bt), (Marks{nullptr, sa, sb, at, s, s, a, nullptr}));
    EXPECT_EQ((Ints{s->PathLength(), a->PathLength(), b->PathLength(), t->PathLength()}), (Ints{1, 2, 2, 0}));
    EXPECT_EQ(Counts(s, a, b, t, sa, sb, at, bt), counts);

    // From s the far node is t; from t, s is reached through a and then, as
    // short, through b.
    qvList2kHead whole;
    EXPECT_EQ(g.GetMaxPath(&whole), 3);
    EXPECT_EQ(PathIds(whole), (Ints{4, 2, 1}));
    EXPECT_EQ(Backs(s, a, b, t, sa, sb, at, bt), (Marks{sa, at, bt, nullptr, a, nullptr, t, t}));
    EXPECT_EQ((Ints{s->PathLength(), a->PathLength(), b->PathLength(), t->PathLength()}), (Ints{0, 2, 2, 1}));
    EXPECT_EQ(Counts(s, a, b, t, sa, sb, at, bt), counts);
}

// A callback that enters a node again on an equally short route: the node is
// queued twice and offers its branches twice, and its back link and the
// branch's are those of the later entry. A branch attached to the nodes but
// not added to the graph is offered and cleared like the others. The wave
// leaves every count as it found it.
TEST_F(GraphTest, WaveEnteringANodeAgainRedirectsItsBackLinks) {
    qvSimpleGraph g;
    TNode *s = Node(g, 1), *a = Node(g, 2), *b = Node(g, 3), *t = Node(g, 4);
    TBranch *sa = Branch(g, s, a), *sb = Branch(g, s, b), *at = Branch(g, a, t);
    auto* bt = new TBranch(b, t, 0);  // in b's and t's lists, not in the graph's ring
    const Ints counts = Counts(s, a, b, t, sa, sb, at, bt);
    Distances r;
    r.ties = true;
    r.d[s] = 0;
    g.Wave(s, Distances::Visit, &r);
    EXPECT_EQ(r.offers, (std::vector<Offer>{{1, 2, sa}, {1, 3, sb}, {2, 1, sa}, {2, 4, at}, {3, 1, sb}, {3, 4, bt},
                                             {4, 2, at}, {4, 3, bt}, {4, 2, at}, {4, 3, bt}}));
    EXPECT_EQ(Backs(s, a, b, t, sa, sb, at, bt), (Marks{nullptr, sa, sb, bt, s, s, a, b}));
    EXPECT_EQ(Counts(s, a, b, t, sa, sb, at, bt), counts);

    // Without ties t is entered once, through a; bt's old back link is
    // cleared although no graph ring leads to it.
    Distances once;
    once.d[s] = 0;
    g.Wave(s, Distances::Visit, &once);
    EXPECT_EQ(once.offers.size(), 8u);
    EXPECT_EQ(Backs(t, at, bt), (Marks{at, a, nullptr}));
    EXPECT_EQ(Counts(s, a, b, t, sa, sb, at, bt), counts);
}

// A callback that throws leaves the wave at once: whatever the wave held (the
// queued nodes, the node walked and its branches) is let go of, so the counts
// are those before the call and the graph works as before.
TEST_F(GraphTest, WaveLetsGoOfWhatItHoldsWhenTheCallbackThrows) {
    qvSimpleGraph g;
    TNode* hub = Node(g, 0);
    std::vector<TNode*> leaves;
    std::vector<TBranch*> spokes;
    for (int i = 1; i <= 4; ++i) {
        leaves.push_back(Node(g, i));
        spokes.push_back(Branch(g, hub, leaves.back()));
    }
    const Ints counts = Counts(hub, leaves[0], leaves[1], leaves[2], leaves[3], spokes[0], spokes[1], spokes[2]);
    for (int at : {0, 2, 4, 5}) {  // the first question, with nodes queued, from a leaf
        Distances r;
        r.d[hub] = 0;
        r.throwAt = at;
        EXPECT_THROW(g.Wave(hub, Distances::Visit, &r), int) << at;
        EXPECT_EQ(Counts(hub, leaves[0], leaves[1], leaves[2], leaves[3], spokes[0], spokes[1], spokes[2]), counts)
            << at;
    }
    EXPECT_EQ(g.GetMaxPath(nullptr), 3);
}
