// Lifetimes in the graph: every node and branch is deleted exactly once,
// whatever the order of Remove, graph destruction and held references;
// shared graphs; large graphs; and the longest shortest path checked
// against a plain breadth-first search on random graphs.
#include "graph_test_support.h"

#include <algorithm>
#include <queue>
#include <random>
#include <vector>

using namespace graphtest;
using Ints = std::vector<int>;

TEST_F(GraphTest, CopiesShareOneGraphAndTheLastOneDismantlesIt) {
    auto* g = new qvSimpleGraph;
    TNode* a = Node(*g, 1);
    TNode* b = Node(*g, 2);
    Branch(*g, a, b);
    {
        qvSimpleGraph copy(*g);
        EXPECT_EQ(copy.GetNodeList(), a);
        EXPECT_EQ(a->GetRefCount(), 1 + 1 + 2 + 1);  // an entry reference per graph
        EXPECT_EQ(copy.GetRefCount(), 0);
        TNode* c = Node(copy, 3);  // added through the copy, seen through g
        EXPECT_EQ(b->Next(), c);
        copy.Remove(a);  // the entry moves on in both
        EXPECT_EQ(Ptrs(g->GetNodeList(), g->GetBranchList()), Ptrs(b, nullptr));
        EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{2, 0}));
    }
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{2, 3}));  // the copy went; the graph stays

    qvSimpleGraph other;
    Node(other, 10);
    other = *g;  // other's own graph had no other holder: dismantled
    EXPECT_EQ(TNode::alive, 2);
    EXPECT_EQ(other.GetNodeList(), b);
    other = *g;  // already shared: nothing changes
    EXPECT_EQ(b->GetRefCount(), 4);
    qvUsingNew::Delete(g);  // other still shares: nothing dismantled
    EXPECT_EQ((Ints{TNode::alive, b->GetRefCount()}), (Ints{2, 3}));
    EXPECT_EQ(other.GetMaxPath(nullptr), 1);
}

TEST_F(GraphTest, EveryRemovalOrderDeletesEachObjectOnce) {
    // The same graph torn down in different orders: the fixture and the
    // sanitizer build check that nothing is left and nothing freed twice.
    for (int order = 0; order < 4; ++order) {
        auto* g = new qvSimpleGraph;
        std::vector<TNode*> n;
        for (int i = 0; i < 5; ++i) n.push_back(Node(*g, i));
        std::vector<TBranch*> br;
        for (int i = 0; i < 5; ++i) br.push_back(Branch(*g, n[i], n[(i + 1) % 5], i % 2));
        qvAutoDelPointer<qvSimpleGraphNodeHead> holdNode(n[2]);
        qvAutoDelPointer<qvSimpleGraphBranchHead> holdBranch(br[3]);
        switch (order) {
            case 0:  // graph first, then the holders
                qvUsingNew::Delete(g);
                EXPECT_EQ(TNode::alive, 3);  // n[2], and n[3], n[4] through br[3]
                EXPECT_EQ(holdNode->Next(), holdNode.GetPointer());  // lone, and held once
                EXPECT_EQ(Counts(holdNode.GetPointer(), holdBranch.GetPointer()), (Ints{1, 1}));
                EXPECT_EQ(Id(holdBranch->GetNode1()), 3);
                holdBranch.SetPointer(nullptr);
                holdNode.SetPointer(nullptr);
                break;
            case 1:  // holders first, then the graph
                holdNode.SetPointer(nullptr);
                holdBranch.SetPointer(nullptr);
                EXPECT_EQ(TNode::alive, 5);
                qvUsingNew::Delete(g);
                break;
            case 2:  // remove everything by hand, then the holders, then the graph
                for (int i = 4; i >= 0; --i) g->Remove(n[i]);
                EXPECT_EQ(Ptrs(g->GetNodeList(), g->GetBranchList()), Ptrs(nullptr, nullptr));
                holdBranch.SetPointer(nullptr);
                EXPECT_EQ(TNode::alive, 1);
                holdNode.SetPointer(nullptr);
                qvUsingNew::Delete(g);
                break;
            default:  // branches first, with a wave in between, then the graph
                for (TBranch* b : br) g->Remove(b);
                EXPECT_EQ(TBranch::alive, 1);
                EXPECT_EQ(g->GetMaxPath(nullptr), 1);
                qvUsingNew::Delete(g);
                holdNode.SetPointer(nullptr);
                holdBranch.SetPointer(nullptr);
                break;
        }
        EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{0, 0})) << "order " << order;
    }
}

TEST_F(GraphTest, ANodeDestroyedWhileReferencedLetsGoOfItsBranches) {
    auto* a = new TNode(1);
    auto* b = new TNode(2);
    new TBranch(a, b, 0);  // held by its links only
    qvAutoDelPointer<qvSimpleGraphBranchHead> held(new TBranch(a, b, 1));
    delete a;  // the unheld branch goes; the held one forgets a
    EXPECT_EQ(TBranch::alive, 1);
    EXPECT_EQ(Ptrs(held->GetNode1(), b->GetBranchList()->Next()), Ptrs(nullptr, b->GetBranchList()));
    EXPECT_EQ(b->GetRefCount(), 2);  // the creator and the held branch
    held.SetPointer(nullptr);
    EXPECT_EQ(b->GetRefCount(), 1);
    qvUsingNew::Delete(b);
}

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
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive}), (Ints{0, 0}));

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
        EXPECT_EQ((Ints{TNode::alive, first->GetRefCount()}), (Ints{n, 2}));
    }
    EXPECT_EQ((Ints{TNode::alive, TBranch::alive, first->GetRefCount()}), (Ints{1, 0, 1}));
    qvUsingNew::Delete(first);
}

namespace {

// Distances from s over the directed adjacency out; -1 where not reached.
std::vector<int> Distances(const std::vector<std::vector<int>>& out, int s) {
    std::vector<int> d(out.size(), -1);
    std::queue<int> q;
    d[s] = 0;
    q.push(s);
    while (!q.empty()) {
        const int u = q.front();
        q.pop();
        for (int v : out[u]) {
            if (d[v] < 0) {
                d[v] = d[u] + 1;
                q.push(v);
            }
        }
    }
    return d;
}

int FirstMax(const std::vector<int>& d) { return static_cast<int>(std::max_element(d.begin(), d.end()) - d.begin()); }

}  // namespace

TEST_F(GraphTest, LongestShortestPathAgreesWithAPlainBreadthFirstSearch) {
    std::mt19937 rng(20240611);
    for (int trial = 0; trial < 40; ++trial) {
        const int n = 1 + static_cast<int>(rng() % 60);
        qvSimpleGraph g;
        std::vector<TNode*> nodes;
        for (int i = 0; i < n; ++i) nodes.push_back(Node(g, i));
        std::vector<std::vector<int>> out(n);
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
        const int far = FirstMax(Distances(out, 0));
        const std::vector<int> d = Distances(out, far);
        const int end = FirstMax(d);

        qvList2kHead path;
        ASSERT_EQ(g.GetMaxPath(&path), d[end] + 1) << "trial " << trial;
        const std::vector<int> ids = PathIds(path);
        ASSERT_EQ(static_cast<int>(ids.size()), d[end] + 1);
        EXPECT_EQ(ids.front(), far);
        EXPECT_EQ(ids.back(), end);
        for (std::size_t k = 0; k < ids.size(); ++k) {
            EXPECT_EQ(d[ids[k]], static_cast<int>(k));
            if (k > 0) {
                const std::vector<int>& next = out[ids[k - 1]];
                EXPECT_NE(std::find(next.begin(), next.end(), ids[k]), next.end());
            }
        }
        EXPECT_EQ(g.GetMaxPath(nodes[far], nullptr), d[end] + 1);
    }
}
