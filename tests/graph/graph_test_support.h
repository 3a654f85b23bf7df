// Node and branch classes of the graph tests, which count their live
// objects, and a fixture that checks every test leaves none behind.
#ifndef CQV_TESTS_GRAPH_GRAPH_TEST_SUPPORT_H
#define CQV_TESTS_GRAPH_GRAPH_TEST_SUPPORT_H

#include "cqv_test.h"

#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace graphtest {

// Assignments go through the library's classes (qvSimpleGraphNodeHead&),
// so that ids stay as they were.
struct TNode : qvSimpleGraphNodeHead {
    static inline int alive = 0;
    int id;
    explicit TNode(int i) : id(i) { ++alive; }
    TNode(const TNode& o) : qvUsingNew(), qvSimpleGraphNodeHead(o), id(o.id) { ++alive; }
    ~TNode() override { --alive; }
    int PathLength() const { return pathLen; }
};

struct TBranch : qvSimpleGraphBranchHead {
    static inline int alive = 0;
    TBranch(qvSimpleGraphNodeHead* a, qvSimpleGraphNodeHead* b, int k) : qvSimpleGraphBranchHead(a, b, k) { ++alive; }
    ~TBranch() override { --alive; }
};

inline int Id(qvSimpleGraphNodeHead* n) { return static_cast<TNode*>(n)->id; }

// The ids of a branch's ends (0 for none) and its orientation.
inline std::vector<int> Ends(qvSimpleGraphBranchHead* b) {
    return {b->GetNode1() ? Id(b->GetNode1()) : 0, b->GetNode2() ? Id(b->GetNode2()) : 0, b->IsOrient()};
}

// The ids of the nodes of a path list written by GetMaxPath, in list order.
inline std::vector<int> PathIds(qvList2kHead& path) {
    std::vector<int> ids;
    for (qvList2kHead* p = path.Next(); p != &path; p = p->Next())
        ids.push_back(Id(static_cast<qvSimpleGraphNodeHead*>(static_cast<qvInternalList2k*>(p)->GetSelf())));
    return ids;
}

// The reference counts of nodes and branches, in order.
template <class... P>
std::vector<int> Counts(P*... objects) {
    return {objects->GetRefCount()...};
}

// The back marks a wave left on nodes and branches, in order.
template <class... P>
std::vector<const void*> Backs(P*... objects) {
    return {static_cast<const void*>(objects->GetBack())...};
}

using cqvtest::Ptrs;

// One question a wave asked its callback.
using Offer = std::tuple<int, int, qvSimpleGraphBranchHead*>;

// Distances from the start as a client keeps them: a node is entered when it
// has none yet and is not refused, or (with ties) when the route offered is
// as short as the one it was reached by. Every question is recorded; with
// throwAt, the question of that number throws instead of answering; onAsk,
// if set, sees each question first (a client that edits the graph).
struct Distances {
    std::vector<Offer> offers;
    std::map<qvSimpleGraphNodeHead*, int> d;
    std::set<int> refuse;
    bool ties = false;
    int throwAt = -1;
    std::function<void(qvSimpleGraphNodeHead*, qvSimpleGraphBranchHead*)> onAsk;
    static int Visit(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead* b,
                     void* data) {
        auto* r = static_cast<Distances*>(data);
        if (static_cast<int>(r->offers.size()) == r->throwAt) throw 7;
        const int id = Id(to);
        r->offers.emplace_back(Id(from), id, b);
        if (r->onAsk) r->onAsk(to, b);
        const int via = r->d.at(from) + 1;
        auto known = r->d.find(to);
        if (r->refuse.count(id) != 0 || (known != r->d.end() && !(r->ties && known->second == via))) return 0;
        r->d[to] = via;
        return 1;
    }
};

class GraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        TNode::alive = 0;
        TBranch::alive = 0;
    }
    void TearDown() override {
        EXPECT_EQ(TNode::alive, 0) << "nodes left alive";
        EXPECT_EQ(TBranch::alive, 0) << "branches left alive";
    }
    // A new node added to g; g and the creator's reference own it.
    static TNode* Node(qvSimpleGraph& g, int id) {
        auto* n = new TNode(id);
        g.Add(n);
        return n;
    }
    // A new branch from a to b added to g.
    static TBranch* Branch(qvSimpleGraph& g, qvSimpleGraphNodeHead* a, qvSimpleGraphNodeHead* b, int orient = 0) {
        auto* br = new TBranch(a, b, orient);
        g.Add(br);
        return br;
    }
};

}  // namespace graphtest

#endif  // CQV_TESTS_GRAPH_GRAPH_TEST_SUPPORT_H
