// The graph's allocations failed one after another: new nodes and branches,
// the wave's queue and the entries of a longest path.
#include "fault_injection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Node = qvSimpleGraphNodeHead;
using Branch = qvSimpleGraphBranchHead;

// A graph whose wave queues many nodes at once (a star around nodes[0]) and
// then walks a long way (a chain hanging from the last leaf), so that the
// queue needs several chunks and a longest path many entries. A path list
// holds one entry from before.
struct Star {
    qvSimpleGraph g;
    std::vector<Node*> nodes;
    std::vector<Branch*> branches;
    qvList2kHead path;

    Star() {
        for (int i = 0; i < 300; ++i) {
            nodes.push_back(new Node);
            g.Add(nodes.back());
        }
        for (int i = 1; i < 200; ++i) Join(nodes[0], nodes[i]);
        for (int i = 200; i < 300; ++i) Join(nodes[i - 1], nodes[i]);
        path.AddAfter(new qvInternalList2k(nodes[7]));
    }
    Star(const Star&) = delete;
    Star& operator=(const Star&) = delete;

    void Join(Node* a, Node* b) {
        branches.push_back(new Branch(a, b, 0));
        g.Add(branches.back());
    }
};

// Reference counts of every node and branch, and the owners of the path
// list's entries.
std::string State(const Star& s) {
    std::string out;
    for (const Node* n : s.nodes) out += std::to_string(n->GetRefCount()) + ',';
    for (const Branch* b : s.branches) out += std::to_string(b->GetRefCount()) + ',';
    for (const qvList2kHead* p = s.path.Next(); p != &s.path; p = p->Next())
        out += std::to_string(reinterpret_cast<std::uintptr_t>(static_cast<const qvInternalList2k*>(p)->GetSelf())) +
               ';';
    return out;
}

// Enters every node not reached yet, except the start (passed as data).
int EnterNew(Node*, Node* to, Branch*, void* start) { return to != start && to->GetBack() == nullptr ? 1 : 0; }

}  // namespace

// The back marks a failed wave leaves are as far as it got; every count
// must be as it was.
TEST(Faults, Graph) {
    faults::ExhaustEach<Star>(
        {{"new node", [](Star&) { delete new Node; }},
         {"new branch, Add", [](Star& s) { s.Join(s.nodes[3], s.nodes[250]); }},
         {"Wave", [](Star& s) { s.g.Wave(s.nodes[0], EnterNew, s.nodes[0]); }},
         {"GetMaxPath(start, path)", [](Star& s) { EXPECT_EQ(s.g.GetMaxPath(s.nodes[1], &s.path), 103); }},
         {"GetMaxPath(path)", [](Star& s) { EXPECT_EQ(s.g.GetMaxPath(&s.path), 103); }},
         {"qvInternalList2k", [](Star& s) { s.path.AddAfter(new qvInternalList2k); }}},
        [] { return Star(); }, State);
}
