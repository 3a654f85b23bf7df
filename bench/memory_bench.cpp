// Memory used per element: the library's counted block against
// std::vector<double>, for an array grown element by element with
// push_back and for one built at its final size.
//
// How the bytes are counted. For each container, once it holds its n
// elements, we take the heap chunk behind its storage and add the size of
// the container object itself:
//   - the counted block is one allocation that starts 8 bytes (the
//     reference count and the element count) before element 0;
//   - the vector's buffer is one allocation from std::allocator, which
//     gets it from operator new and so from malloc, starting at data().
// For either allocation malloc_usable_size() gives what glibc's malloc set
// aside for it (the request rounded up to its 16-byte granule), and glibc
// keeps one further 8-byte size word in front of every chunk, so
// usable + 8 is the chunk's real size in the heap. (Very large requests are
// mapped pages, whose chunks carry 8 bytes more; at those sizes that is
// below a millionth of a byte per element.) The counter bytes_per_element
// is (chunk + sizeof(container)) / n; heap_bytes_per_element leaves the
// container object out. The vector's spare capacity after push_back growth
// is counted, since it is memory it holds. The heap is settled first (see
// bench_support.h), so that no run pays for pages the heap handed back to
// the system before it. The times are those of building
// and releasing the container. Blocks carry no spare room, so every
// push_back on the library's side resizes the block by one element: a
// block the array alone holds is resized in place by realloc, which moves
// it only when the heap cannot extend it.
#include <malloc.h>

#include <cqv/cqv.h>

#include <cstdint>
#include <vector>

#include "bench_support.h"

namespace {

// Real heap bytes of the allocation that starts at p (see above).
double ChunkBytes(const void* p) {
    return static_cast<double>(malloc_usable_size(const_cast<void*>(p)) + sizeof(std::size_t));
}

// The allocation behind a counted block starts at its header words.
double Footprint(const qvSimpleArray<double>& a) {
    return ChunkBytes(reinterpret_cast<const char*>(a.GetPointer()) - 2 * sizeof(std::int32_t));
}

double Footprint(const std::vector<double>& v) { return ChunkBytes(v.data()); }

template <class C>
void Report(benchmark::State& state, const C& c) {
    const double n = static_cast<double>(state.range(0));
    const double heap = Footprint(c);
    state.counters["heap_bytes_per_element"] = heap / n;
    state.counters["bytes_per_element"] = (heap + static_cast<double>(sizeof(C))) / n;
}

template <class C>
void GrowByPushBack(C& c, int n) {
    for (int i = 0; i < n; ++i) c.push_back(0.5 * i);
}

template <class C>
void PushBack(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        C c;
        GrowByPushBack(c, n);
        benchmark::DoNotOptimize(&c[0]);
    }
    C c;
    GrowByPushBack(c, n);
    Report(state, c);
}

template <class C>
void AtSize(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        C c(n, 0.0);
        benchmark::DoNotOptimize(&c[0]);
    }
    const C c(n, 0.0);
    Report(state, c);
}

void GrowthSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {100, 1000, 10000, 1000000}) b->Arg(n);
}

void FinalSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {100, 10000, 1000000}) b->Arg(n);
}

}  // namespace

BENCHMARK(PushBack<qvArray<double>>)->Name("BM_MemPushBack/cqv")->Apply(GrowthSizes);
BENCHMARK(PushBack<std::vector<double>>)->Name("BM_MemPushBack/vector")->Apply(GrowthSizes);
BENCHMARK(PushBack<qvSimpleArray<double>>)->Name("BM_MemPushBackSimple/cqv")->Apply(GrowthSizes);
BENCHMARK(PushBack<std::vector<double>>)->Name("BM_MemPushBackSimple/vector")->Apply(GrowthSizes);
BENCHMARK(AtSize<qvArray<double>>)->Name("BM_MemAtSize/cqv")->Apply(FinalSizes);
BENCHMARK(AtSize<std::vector<double>>)->Name("BM_MemAtSize/vector")->Apply(FinalSizes);
BENCHMARK(AtSize<qvSimpleArray<double>>)->Name("BM_MemAtSizeSimple/cqv")->Apply(FinalSizes);
BENCHMARK(AtSize<std::vector<double>>)->Name("BM_MemAtSizeSimple/vector")->Apply(FinalSizes);
