// What a user meets first: building a small container with every element
// set, and letting it go. An arithmetic array, a string and a column vector
// of n = 1 to 16 elements against std::vector and std::string doing the
// same. Each timed call is one construction and one destruction; the
// containers' storage is kept live across the call so that neither side's
// work can be optimised away. std::string keeps up to 15 characters inside
// the object (no heap call), where every library container allocates its
// counted block.
#include <cqv/cqv.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

void ArrayCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        qvArray<double> a(n, 0.5);
        benchmark::DoNotOptimize(a.GetPointer());
        benchmark::ClobberMemory();
    }
}

void ArrayStd(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        std::vector<double> a(n, 0.5);
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
}

void StringCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        qvString s(n);
        s.Fill('x');
        benchmark::DoNotOptimize(s.GetPointer());
        benchmark::ClobberMemory();
    }
}

void StringStd(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        std::string s(n, 'x');
        benchmark::DoNotOptimize(s.data());
        benchmark::ClobberMemory();
    }
}

void VectorCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        qvColumnVector<double> v(n);
        v.Fill(0.5);
        benchmark::DoNotOptimize(v.GetPointer());
        benchmark::ClobberMemory();
    }
}

void SmallSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1, 2, 4, 8, 16}) b->Arg(n);
}

}  // namespace

BENCHMARK(ArrayCqv)->Name("BM_ConstructArray/cqv")->Apply(SmallSizes);
BENCHMARK(ArrayStd)->Name("BM_ConstructArray/std")->Apply(SmallSizes);
BENCHMARK(StringCqv)->Name("BM_ConstructString/cqv")->Apply(SmallSizes);
BENCHMARK(StringStd)->Name("BM_ConstructString/std")->Apply(SmallSizes);
BENCHMARK(VectorCqv)->Name("BM_ConstructVector/cqv")->Apply(SmallSizes);
BENCHMARK(ArrayStd)->Name("BM_ConstructVector/std")->Apply(SmallSizes);
