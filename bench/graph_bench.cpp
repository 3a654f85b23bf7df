// The graph's breadth-first traversals against Boost.Graph's
// breadth_first_search on the same graph: N nodes on a ring (so everything is
// reachable) plus N random extra edges, undirected.
//
// BM_Wave runs one wave from node 0 whose callback enters a node the first
// time it is reached, recording its distance; Boost runs one BFS recording
// distances. BM_MaxPath is the longest shortest path: the library's
// GetMaxPath (a wave from the entry to find the farthest node, then a wave
// from that node), against two Boost searches doing the same. BM_Destroy
// is the destruction of the whole graph.
#include <cqv/cqv.h>

#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/breadth_first_search.hpp>
#include <boost/graph/visitors.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "bench_support.h"

namespace {

struct Stop : qvSimpleGraphNodeHead {
    int distance = -1;
};

// The edge list shared by both sides.
std::vector<std::pair<int, int>> Edges(int n) {
    std::vector<std::pair<int, int>> edges;
    edges.reserve(2 * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) edges.emplace_back(i, (i + 1) % n);
    std::mt19937 gen(12345);
    std::uniform_int_distribution<int> pick(0, n - 1);
    for (int i = 0; i < n; ++i) edges.emplace_back(pick(gen), pick(gen));
    return edges;
}

// Fills g with the nodes, in stops, and the branches of the given edges.
void Build(qvSimpleGraph& g, std::vector<Stop*>& stops, const std::vector<std::pair<int, int>>& edges) {
    for (Stop*& s : stops) {
        s = new Stop;
        g.Add(s);
    }
    for (const auto& e : edges) g.Add(new qvSimpleGraphBranchHead(stops[e.first], stops[e.second], 0));
}

// One library graph per size, built once and kept for the whole run.
struct CqvGraph {
    qvSimpleGraph graph;
    std::vector<Stop*> stops;
    explicit CqvGraph(int n) : stops(static_cast<std::size_t>(n)) { Build(graph, stops, Edges(n)); }
};

using BoostGraph = boost::adjacency_list<boost::vecS, boost::vecS, boost::undirectedS>;

CqvGraph& CqvOf(int n) {
    static std::map<int, std::unique_ptr<CqvGraph>> graphs;
    auto& g = graphs[n];
    if (!g) g = std::make_unique<CqvGraph>(n);
    return *g;
}

BoostGraph& BoostOf(int n) {
    static std::map<int, std::unique_ptr<BoostGraph>> graphs;
    auto& g = graphs[n];
    if (!g) {
        const auto edges = Edges(n);
        g = std::make_unique<BoostGraph>(edges.begin(), edges.end(), n);
    }
    return *g;
}

int EnterOnce(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead*, void*) {
    Stop* t = static_cast<Stop*>(to);
    if (t->distance >= 0) return 0;
    t->distance = static_cast<Stop*>(from)->distance + 1;
    return 1;
}

void WaveCqv(benchmark::State& state) {
    CqvGraph& g = CqvOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (Stop* s : g.stops) s->distance = -1;
        g.stops[0]->distance = 0;
        g.graph.Wave(g.stops[0], EnterOnce, nullptr);
        benchmark::DoNotOptimize(g.stops.back()->distance);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Distances from one source with Boost's BFS; returns the farthest vertex.
int BoostDistances(const BoostGraph& g, int source, std::vector<int>& dist) {
    std::fill(dist.begin(), dist.end(), 0);
    boost::breadth_first_search(
        g, boost::vertex(source, g),
        boost::visitor(boost::make_bfs_visitor(boost::record_distances(dist.data(), boost::on_tree_edge()))));
    int far = source;
    for (int i = 0; i < static_cast<int>(dist.size()); ++i)
        if (dist[i] > dist[far]) far = i;
    return far;
}

void WaveBoost(benchmark::State& state) {
    const BoostGraph& g = BoostOf(static_cast<int>(state.range(0)));
    std::vector<int> dist(boost::num_vertices(g));
    for (auto _ : state) {
        for (int& d : dist) d = -1;  // the same reset work as the library side
        BoostDistances(g, 0, dist);
        benchmark::DoNotOptimize(dist.back());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void MaxPathCqv(benchmark::State& state) {
    CqvGraph& g = CqvOf(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(g.graph.GetMaxPath(static_cast<qvList2kHead*>(nullptr)));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void MaxPathBoost(benchmark::State& state) {
    const BoostGraph& g = BoostOf(static_cast<int>(state.range(0)));
    std::vector<int> dist(boost::num_vertices(g));
    for (auto _ : state) {
        const int far = BoostDistances(g, 0, dist);
        const int end = BoostDistances(g, far, dist);
        benchmark::DoNotOptimize(dist[end] + 1);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Destruction, timed alone: each run builds a fresh graph off the clock and
// destroys it on the clock. The library's graph removes node after node,
// each with its branches, and frees every object on its own; Boost frees a
// vector per vertex and a list node per edge. Both walk memory that grows
// from cache-sized to far beyond, so the time per node rises with n on both
// sides; a ratio that does not grow with n says that the library's
// destruction is linear like Boost's.
void DestroyCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto edges = Edges(n);
    std::vector<Stop*> stops(static_cast<std::size_t>(n));
    for (auto _ : state) {
        state.PauseTiming();
        qvSimpleGraph* g = new qvSimpleGraph;
        Build(*g, stops, edges);
        state.ResumeTiming();
        delete g;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void DestroyBoost(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const auto edges = Edges(n);
    for (auto _ : state) {
        state.PauseTiming();
        BoostGraph* g = new BoostGraph(edges.begin(), edges.end(), n);
        state.ResumeTiming();
        delete g;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void GraphSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {10000, 100000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(WaveCqv)->Name("BM_Wave/cqv")->Apply(GraphSizes);
BENCHMARK(WaveBoost)->Name("BM_Wave/boost")->Apply(GraphSizes);
BENCHMARK(MaxPathCqv)->Name("BM_MaxPath/cqv")->Apply(GraphSizes);
BENCHMARK(MaxPathBoost)->Name("BM_MaxPath/boost")->Apply(GraphSizes);
BENCHMARK(DestroyCqv)->Name("BM_Destroy/cqv")->Apply(GraphSizes);
BENCHMARK(DestroyBoost)->Name("BM_Destroy/boost")->Apply(GraphSizes);
