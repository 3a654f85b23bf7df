// The wave on graphs wider than anything it walks ahead of itself: the
// questions it asks, the back links it leaves and the counts after it,
// against a plain model of the graph (vectors of branch numbers per node, a
// vector as the queue). The graph has a hub with a long branch list, nodes
// with no branches, loops, parallel and oriented branches.
#include "graph_test_support.h"

#include <algorithm>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

using namespace graphtest;
using Ints = std::vector<int>;

namespace {

// A question of the wave: from, to, branch number.
using Ask = std::tuple<int, int, int>;

// The graph as plain vectors: the ends and orientation of each branch, and
// the branch numbers in each node's list in the order they were attached.
struct Model {
    std::vector<Ints> lists;
    Ints node1, node2, orient;

    int Attach(int a, int b, int k) {
        node1.push_back(a);
        node2.push_back(b);
        orient.push_back(k);
        const int e = static_cast<int>(node1.size()) - 1;
        lists[a].push_back(e);
        lists[b].push_back(e);
        return e;
    }
    // Takes node x's branches out of every list.
    void Cut(int x) {
        const Ints gone = lists[x];
        for (Ints& l : lists)
            l.erase(std::remove_if(l.begin(), l.end(),
                                   [&](int e) { return std::find(gone.begin(), gone.end(), e) != gone.end(); }),
                    l.end());
    }
};

// What a wave that enters each node the first time it is offered leaves:
// the questions in order, each node's back branch and each branch's back
// node (-1 for none). refuse lists nodes never entered. When the node
// trigger is entered, node cut loses its branches (as Remove does).
struct Outcome {
    std::vector<Ask> asks;
    Ints nodeBack, branchBack;
};

Outcome Expected(Model m, int start, const Ints& refuse, int trigger = -1, int cut = -1) {
    Outcome r;
    r.nodeBack.assign(m.lists.size(), -1);
    r.branchBack.assign(m.node1.size(), -1);
    std::vector<bool> entered(m.lists.size(), false);
    entered[start] = true;
    Ints queue{start};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const int n = queue[i];
        const Ints list = m.lists[n];  // cut never touches the list walked
        for (int e : list) {
            if (m.orient[e] != 0 && m.node1[e] != n) continue;
            const int to = n != m.node1[e] ? m.node1[e] : m.node2[e];
            r.asks.emplace_back(n, to, e);
            if (entered[to] || std::find(refuse.begin(), refuse.end(), to) != refuse.end()) continue;
            entered[to] = true;
            if (to == trigger) m.Cut(cut);
            r.branchBack[e] = n;
            r.nodeBack[to] = e;
            queue.push_back(to);
        }
    }
    return r;
}

class WaveModelTest : public GraphTest {
protected:
    static constexpr int N = 400;
    std::unique_ptr<qvSimpleGraph> owner = std::make_unique<qvSimpleGraph>();
    qvSimpleGraph& g = *owner;
    std::vector<TNode*> nodes;
    std::vector<TBranch*> branches;
    Model model;

    void Attach(int a, int b, int k) {
        model.Attach(a, b, k);
        branches.push_back(Branch(g, nodes[a], nodes[b], k));
    }
    // A ring through nodes 10 to N-1 (0 to 9 stay without branches until
    // the hub), a hub 10 with 60 spokes, and random chords: some oriented,
    // some loops, some doubling a ring branch.
    void SetUp() override {
        GraphTest::SetUp();
        model.lists.resize(N);
        for (int i = 0; i < N; ++i) nodes.push_back(Node(g, i));
        for (int i = 10; i < N; ++i) Attach(i, i + 1 < N ? i + 1 : 10, 0);
        std::mt19937 rng(77);
        for (int s = 0; s < 60; ++s) Attach(10, 11 + static_cast<int>(rng() % (N - 11)), 0);
        for (int c = 0; c < N; ++c) {
            const int a = 10 + static_cast<int>(rng() % (N - 10));
            const int kind = static_cast<int>(rng() % 8);
            const int b = kind == 0 ? a : kind == 1 ? (a + 1 < N ? a + 1 : 10) : 10 + static_cast<int>(rng() % (N - 10));
            Attach(a, b, kind >= 5 ? 1 : 0);
        }
    }
    void TearDown() override {
        owner.reset();
        GraphTest::TearDown();
    }
    // Each node's back branch by number (-1 for none); skip, if given, is a
    // node gone, whose entry is -2.
    Ints NodeBacks(int skip = -1) const {
        Ints backs;
        for (int i = 0; i < N; ++i)
            backs.push_back(i == skip ? -2 : nodes[i]->GetBack() ? Number(nodes[i]->GetBack()) : -1);
        return backs;
    }
    Ints BranchBacks() const {
        Ints backs;
        for (TBranch* b : branches) backs.push_back(b->GetBack() ? Id(b->GetBack()) : -1);
        return backs;
    }
    int Number(qvSimpleGraphBranchHead* b) const {
        return static_cast<int>(std::find(branches.begin(), branches.end(), b) - branches.begin());
    }
    Ints AllCounts() const {
        Ints counts;
        for (TNode* n : nodes) counts.push_back(n->GetRefCount());
        for (TBranch* b : branches) counts.push_back(b->GetRefCount());
        return counts;
    }
    // A wave from start that enters each node the first time it is offered,
    // but for those refused, and the questions it asked.
    std::vector<Ask> Run(int start, const Ints& refuse, Distances& r) {
        r.refuse.insert(refuse.begin(), refuse.end());
        r.d[nodes[start]] = 0;
        g.Wave(nodes[start], Distances::Visit, &r);
        std::vector<Ask> asks;
        for (const Offer& o : r.offers) asks.emplace_back(std::get<0>(o), std::get<1>(o), Number(std::get<2>(o)));
        return asks;
    }
};

}  // namespace

// Two waves, the second from elsewhere and refusing some nodes: each asks
// what the model asks, in the same order, and leaves the model's back links;
// the second clears every mark of the first that it does not set again, the
// hub's spokes and the nodes without branches among them. Counts are as
// before.
TEST_F(WaveModelTest, QuestionsAndBackLinksMatchAPlainQueue) {
    const Ints counts = AllCounts();
    const struct {
        int start;
        Ints refuse;
    } waves[] = {{10, {}}, {200, {10, 57, 58, 300}}, {3, {}}};
    for (const auto& w : waves) {
        Distances r;
        const std::vector<Ask> asks = Run(w.start, w.refuse, r);
        const Outcome want = Expected(model, w.start, w.refuse);
        EXPECT_EQ(asks, want.asks) << w.start;
        EXPECT_EQ(NodeBacks(), want.nodeBack) << w.start;
        EXPECT_EQ(BranchBacks(), want.branchBack) << w.start;
        EXPECT_EQ(AllCounts(), counts) << w.start;
    }
}

// A callback removes a node that waits in the queue, well after the wave
// has looked at its branch list: the node offers nothing when its turn
// comes, its neighbours no longer offer its branches, and everything else
// goes as in the model.
TEST_F(WaveModelTest, RemovingAQueuedNodeTakesItsBranchesOutOfTheWave) {
    // In the undisturbed wave, pick a node entered while the queue still
    // holds, not yet walked, a node entered 20 places before it, which is
    // no neighbour of the node walked at that moment.
    const Outcome plain = Expected(model, 10, {});
    Ints order{10};  // nodes in the order entered
    std::vector<int> walker;  // the node walked when each was entered
    for (const Ask& a : plain.asks) {
        const int to = std::get<1>(a);
        if (std::find(order.begin(), order.end(), to) == order.end()) {  // entered the first time it is asked
            order.push_back(to);
            walker.push_back(std::get<0>(a));
        }
    }
    int trigger = -1, cut = -1;
    for (std::size_t i = 40; i < order.size() && trigger < 0; ++i) {
        const int c = order[i - 20], w = walker[i - 1];
        const std::size_t walkedAt = std::find(order.begin(), order.end(), w) - order.begin();
        const Ints& l = model.lists[w];
        const bool near = std::any_of(l.begin(), l.end(), [&](int e) {
            return model.node1[e] == c || model.node2[e] == c;
        });
        if (walkedAt < i - 20 && !near && c != w) trigger = order[i], cut = c;
    }
    ASSERT_GE(trigger, 0);

    Distances r;
    r.onAsk = [&](qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead*) {
        if (Id(to) == trigger && r.d.count(to) == 0) g.Remove(nodes[cut]);  // as to is entered
    };
    const std::vector<Ask> asks = Run(10, {}, r);
    const Outcome want = Expected(model, 10, {}, trigger, cut);
    EXPECT_EQ(asks, want.asks);
    Ints backs = want.nodeBack;
    backs[cut] = -2;
    EXPECT_EQ(NodeBacks(cut), backs);
    for (int x : model.lists[cut]) branches[x] = nullptr;
    for (std::size_t x = 0; x < branches.size(); ++x) {
        if (branches[x] != nullptr) {
            EXPECT_EQ(branches[x]->GetBack() ? Id(branches[x]->GetBack()) : -1, want.branchBack[x]) << x;
        }
    }
}
