// Lifetimes in the graph: every node and branch is deleted exactly once,
// whatever the order of Remove, graph destruction and held references;
// shared graphs; large graphs; and the longest shortest path checked
// against a plain breadth-first search on random graphs.
#include "graph_test_support.h"

#include <algorithm>
#include <random>
#include <vector>

using namespace graphtest;
using Ints = std::vector<int>;

// Copies of a graph share its nodes and branches and see each other's
// changes; only the last of them to go dismantles the graph.
TEST_F(GraphTest, CopiesShareOneGraphAndTheLastOneDismantlesIt) {
    auto* g = new qvSimpleGraph;
    TNode *a = Node(*g, 1), *b = Node(*g, 2);
    Branch(*g, a, b);
    {
        qvSimpleGraph copy(*g);
        // An entry reference per graph; the graph object itself is not counted.
        EXPECT_EQ(Counts(a, &copy), (Ints{1 + 1 + 2 + 1, 0}));
        TNode* c = Node(copy, 3);  // added through the copy, seen through g
        EXPECT_EQ(Ptrs(copy.GetNodeList(), b->Next()), Ptrs(a, c));
        copy.Remove(a);  // the entry moves on in both
        EXPECT_EQ(Ptrs(g->GetNodeList(), g->GetBranchList()), Ptrs(b, nullptr));
        EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{2, 0}));
    }
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{2, 3}));  // the copy went; the graph stays

    qvSimpleGraph other;
    Node(other, 10);
    other = *g;  // other's own graph had no other holder: dismantled
    EXPECT_EQ(Ptrs(other.GetNodeList()), Ptrs(b));
    EXPECT_EQ(TNode::alive, 2);
    other = *g;  // already shared: nothing changes
    EXPECT_EQ(b->GetRefCount(), 4);
    qvUsingNew::Delete(g);  // other still shares: nothing dismantled
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{2, 3}));
    EXPECT_EQ(other.GetMaxPath(nullptr), 1);
}

// The same graph torn down in two orders, with a node and a branch held
// from outside: the fixture and the sanitizer build check that nothing is
// left and nothing freed twice. (Removal by hand, node after node, is
// compared with destruction below.)
TEST_F(GraphTest, EveryRemovalOrderDeletesEachObjectOnce) {
    for (int order = 0; order < 2; ++order) {
        auto* g = new qvSimpleGraph;
        std::vector<TNode*> n;
        for (int i = 0; i < 5; ++i) n.push_back(Node(*g, i));
        std::vector<TBranch*> br;
        for (int i = 0; i < 5; ++i) br.push_back(Branch(*g, n[i], n[(i + 1) % 5], i % 2));
        qvAutoDelPointer<qvSimpleGraphNodeHead> holdNode(n[2]);
        qvAutoDelPointer<qvSimpleGraphBranchHead> holdBranch(br[3]);
        if (order == 0) {  // graph first, then the holders
            qvUsingNew::Delete(g);
            EXPECT_EQ(TNode::alive, 3);  // n[2], and n[3], n[4] through br[3]
            EXPECT_EQ(holdNode->Next(), holdNode.GetPointer());  // lone, and held once
            EXPECT_EQ(Counts(holdNode.GetPointer(), holdBranch.GetPointer()), (Ints{1, 1}));
        } else {  // branches first, with a wave in between, then the graph
            for (TBranch* b : br) g->Remove(b);
            EXPECT_EQ(TBranch::alive, 1);
            EXPECT_EQ(g->GetMaxPath(nullptr), 1);
            qvUsingNew::Delete(g);
        }
        holdBranch.SetPointer(nullptr);
        holdNode.SetPointer(nullptr);
        EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{0, 0})) << "order " << order;
    }
}

namespace {

// Nodes and branches that write their number into a log when deleted
// (nodes as is, branches as 100 + number).
std::vector<int> deaths;
struct LoggedNode : TNode {
    explicit LoggedNode(int i) : TNode(i) {}
    ~LoggedNode() override { deaths.push_back(id); }
};
struct LoggedBranch : TBranch {
    int number;
    LoggedBranch(qvSimpleGraphNodeHead* a, qvSimpleGraphNodeHead* b, int i) : TBranch(a, b, 0), number(i) {}
    ~LoggedBranch() override { deaths.push_back(100 + number); }
};

// A ring of 6 nodes with two chords; branch 0 (the entry) and the last
// branch of the ring are held from outside. Returns the holders.
void BuildLogged(qvSimpleGraph& g, std::vector<qvAutoDelPointer<qvSimpleGraphBranchHead>>& held) {
    std::vector<LoggedNode*> n;
    for (int i = 0; i < 6; ++i) {
        n.push_back(new LoggedNode(i));
        g.Add(n.back());
    }
    std::vector<LoggedBranch*> b;
    const int ends[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}, {1, 4}, {2, 5}};
    for (const auto& e : ends) {
        b.push_back(new LoggedBranch(n[e[0]], n[e[1]], static_cast<int>(b.size())));
        g.Add(b.back());
    }
    held.emplace_back(b.front());
    held.emplace_back(b.back());
}

}  // namespace

// Destroying a graph deletes its objects in the order of removing, by hand,
// the node after the entry until the entry is the last: each branch with
// the removal of its first end, each node then, unless held. Held branches
// come out alone, held once, with their ends held by them.
TEST_F(GraphTest, DestructionDeletesInTheOrderOfRemovingNodeAfterNode) {
    std::vector<int> byHand, destroyed;
    for (int way = 0; way < 2; ++way) {
        deaths.clear();
        auto* g = new qvSimpleGraph;
        std::vector<qvAutoDelPointer<qvSimpleGraphBranchHead>> held;
        BuildLogged(*g, held);
        if (way == 0) {
            while (qvSimpleGraphNodeHead* e = g->GetNodeList()) g->Remove(e->Next());
        }
        qvUsingNew::Delete(g);
        for (auto& h : held) {
            EXPECT_EQ(h->GetRefCount(), 1);
            qvList2kHead* list = h->GetNode1()->GetBranchList();
            EXPECT_EQ(Ptrs(h->Next(), list->Next()), Ptrs(h.GetPointer(), list));
            EXPECT_EQ(Counts(h->GetNode1(), h->GetNode2()), (Ints{1, 1}));
        }
        (way == 0 ? byHand : destroyed) = deaths;
        held.clear();
    }
    EXPECT_EQ(destroyed, byHand);
    EXPECT_EQ(byHand.size(), 8u);  // all but the held branches 0 and 7 and their ends 0, 1, 2, 5
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{0, 0}));
}

// A node deleted while branches still reference it deletes the unheld ones
// and leaves the held one without that end.
TEST_F(GraphTest, ANodeDestroyedWhileReferencedLetsGoOfItsBranches) {
    auto* a = new TNode(1);
    auto* b = new TNode(2);
    new TBranch(a, b, 0);  // held by its links only
    qvAutoDelPointer<qvSimpleGraphBranchHead> held(new TBranch(a, b, 1));
    delete a;  // the unheld branch goes; the held one forgets a
    EXPECT_EQ(Ptrs(held->GetNode1(), b->GetBranchList()->Next()), Ptrs(nullptr, b->GetBranchList()));
    EXPECT_EQ((Ints{TBranch::alive, b->GetRefCount()}), (Ints{1, 2}));  // b: the creator and the held branch
    held.SetPointer(nullptr);  // lets go of b, as the fixture's count shows
    qvUsingNew::Delete(b);
}

// A path of a million nodes is measured and dismantled without recursion,
// whether its nodes are in the graph or held by their branches alone.
TEST_F(GraphTest, MillionNodeGraphsAreMeasuredAndDestroyedWithoutRecursion) {
    const int n = 1000000;
    {
        qvSimpleGraph g;
        TNode* prev = Node(g, 0);
        for (int i = 1; i < n; ++i) {
            TNode* next = Node(g, i);
            Branch(g, prev, next);
            prev = next;
        }
        EXPECT_EQ(g.GetMaxPath(nullptr), n);
    }

    // A chain of branches outside any node list, whose nodes are held by
    // their branches alone, but for the first, which its creator keeps.
    auto* first = new TNode(0);
    {
        qvSimpleGraph g;
        TNode* prev = first;
        for (int i = 1; i < n; ++i) {
            auto* next = new TNode(i);
            g.Add(new TBranch(prev, next, 0));
            if (prev != first) qvUsingNew::Delete(prev);
            prev = next;
        }
        qvUsingNew::Delete(prev);
        // Only these nodes are alive: the first graph left none behind.
        EXPECT_EQ((Ints{TNode::alive, first->GetRefCount()}), (Ints{n, 2}));
    }
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive, first->GetRefCount()}), (Ints{1, 0, 1}));
    qvUsingNew::Delete(first);
}

namespace {

// Distances from s over the directed adjacency out; -1 where not reached.
Ints BfsDistances(const std::vector<Ints>& out, int s) {
    Ints d(out.size(), -1);
    Ints queue{s};
    d[s] = 0;
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (int v : out[queue[i]]) {
            if (d[v] < 0) {
                d[v] = d[queue[i]] + 1;
                queue.push_back(v);
            }
        }
    }
    return d;
}

int FirstMax(const Ints& d) { return static_cast<int>(std::max_element(d.begin(), d.end()) - d.begin()); }

}  // namespace

// On random graphs with oriented and unoriented branches, loops and parallel
// branches, the path found is a shortest path from the node farthest from
// the entry to the node farthest from that one.
TEST_F(GraphTest, LongestShortestPathAgreesWithAPlainBreadthFirstSearch) {
    std::mt19937 rng(20240611);
    for (int trial = 0; trial < 40; ++trial) {
        const int n = 1 + static_cast<int>(rng() % 60);
        qvSimpleGraph g;
        std::vector<TNode*> nodes;
        for (int i = 0; i < n; ++i) nodes.push_back(Node(g, i));
        std::vector<Ints> out(n);
        const int m = static_cast<int>(rng() % (2 * n + 1));
        for (int e = 0; e < m; ++e) {
            const int u = static_cast<int>(rng() % n), v = static_cast<int>(rng() % n);
            const int oriented = rng() % 3 == 0 ? 1 : 0;
            Branch(g, nodes[u], nodes[v], oriented);
            out[u].push_back(v);
            if (!oriented) out[v].push_back(u);
        }
        // The ring order is the id order, so "first farthest" is the first
        // index of the largest distance.
        const int far = FirstMax(BfsDistances(out, 0));
        const Ints d = BfsDistances(out, far);
        const int end = FirstMax(d);

        qvList2kHead path;
        ASSERT_EQ(g.GetMaxPath(&path), d[end] + 1) << "trial " << trial;
        EXPECT_EQ(g.GetMaxPath(nodes[far], nullptr), d[end] + 1);
        // From far to end, one step of distance and one branch at a time.
        const Ints ids = PathIds(path);
        EXPECT_EQ((Ints{ids.front(), ids.back()}), (Ints{far, end}));
        for (std::size_t k = 1; k < ids.size(); ++k) {
            const Ints& next = out[ids[k - 1]];
            EXPECT_EQ(d[ids[k]], static_cast<int>(k));
            EXPECT_NE(std::find(next.begin(), next.end(), ids[k]), next.end());
        }
    }
}
