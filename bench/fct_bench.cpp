// The fast cosine transform against FFTW's real-to-real plans: FCT against
// REDFT10 (the type-II DCT) and IFCT against REDFT01 (type III), for
// n = 2^6 .. 2^16, and the two-dimensional forms for n×n arrays up to
// 512×512. FFTW plans with FFTW_MEASURE, in place, on memory from
// fftw_malloc; the library transforms the same kind of buffer.
//
// Both sides transform the same data, and every run first copies the
// pristine input into the work buffer: transforming a buffer over and over
// would shrink or blow up its values (the scalings differ from one) until
// they reach denormals, whose arithmetic is many times slower.
//
// FFTW's transforms are unnormalised; the library's are scaled (FCT is
// sqrt(2/n) times the orthonormal DCT-II). FFTW is timed without any
// scaling pass, as a client who does not need one would call it, so its
// times are the lowest it offers. Before a size is timed, each side's
// result is checked against the other's, scaled, so that both are known to
// compute the same transform.
#include <fftw3.h>

#include <cqv/cqv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

enum class Kind { kForward, kInverse };

// Side length and element count of the problem in state.range(0) with the
// given number of dimensions.
struct Shape {
    int side;
    int m;  // side = 2^m
    std::size_t count;
    Shape(std::int64_t n, int dims)
        : side(static_cast<int>(n)),
          m(qvIntLog2(static_cast<int>(n))),
          count(dims == 1 ? static_cast<std::size_t>(n) : static_cast<std::size_t>(n * n)) {}
};

// A buffer from fftw_malloc, freed with fftw_free.
struct FftwFree {
    void operator()(double* p) const { fftw_free(p); }
};
using Buffer = std::unique_ptr<double[], FftwFree>;

Buffer NewBuffer(std::size_t count) { return Buffer(fftw_alloc_real(count)); }

// The library's scaling of FFTW's forward DCT-II: coefficient 0 is
// multiplied by 1/(sqrt 2·n), the others by 1/n.
double ForwardScale(int k, int n) { return (k == 0 ? 1.0 / std::sqrt(2.0) : 1.0) / n; }

// What FFTW's REDFT01 must be given to return the library's IFCT of y:
// y_0/sqrt 2 and y_k/2.
double InverseInputScale(int k) { return k == 0 ? 1.0 / std::sqrt(2.0) : 0.5; }

// One timed problem: the pristine input, a work buffer, FFTW's in-place
// plan on it, and the library's transform object. Built once per problem
// (planning with FFTW_MEASURE takes a while) and kept for the program's
// life, since Google Benchmark calls a benchmark function several times.
struct Problem {
    Shape shape;
    int dims;
    Kind kind;
    std::vector<double> input;
    Buffer work;
    fftw_plan plan = nullptr;
    qvFCTTC cqv;
    std::string mismatch;  // empty when both sides agree

    Problem(std::int64_t n, int dimensions, Kind k)
        : shape(n, dimensions), dims(dimensions), kind(k), work(NewBuffer(shape.count)), cqv(shape.m) {
        // Planning with FFTW_MEASURE overwrites the buffer: plan first,
        // fill afterwards.
        const fftw_r2r_kind r = kind == Kind::kForward ? FFTW_REDFT10 : FFTW_REDFT01;
        plan = dims == 1 ? fftw_plan_r2r_1d(shape.side, work.get(), work.get(), r, FFTW_MEASURE)
                         : fftw_plan_r2r_2d(shape.side, shape.side, work.get(), work.get(), r, r, FFTW_MEASURE);
        input = cqvbench::RandomDoubles(static_cast<std::int64_t>(shape.count), 11);
        Check();
    }
    Problem(const Problem&) = delete;
    Problem& operator=(const Problem&) = delete;
    ~Problem() { fftw_destroy_plan(plan); }

    void Reset() { std::memcpy(work.get(), input.data(), sizeof(double) * shape.count); }

    void RunCqv() {
        if (kind == Kind::kForward) {
            if (dims == 1) cqv.FCT(work.get()); else cqv.FCT2D(work.get());
        } else {
            if (dims == 1) cqv.IFCT(work.get()); else cqv.IFCT2D(work.get());
        }
    }

    void RunFftw() { fftw_execute(plan); }

    // Coefficient scale of element e (row-major) for the check: the product
    // of the per-dimension factors.
    double Scale(std::size_t e) const {
        const int n = shape.side;
        auto factor = [&](int k) { return kind == Kind::kForward ? ForwardScale(k, n) : InverseInputScale(k); };
        if (dims == 1) return factor(static_cast<int>(e));
        return factor(static_cast<int>(e / static_cast<std::size_t>(n))) * factor(static_cast<int>(e % static_cast<std::size_t>(n)));
    }

    // Runs both sides once and compares. The forward results agree after
    // scaling FFTW's output; for the inverse FFTW is given the scaled input.
    void Check() {
        Reset();
        RunCqv();
        const std::vector<double> ours(work.get(), work.get() + shape.count);
        Reset();
        if (kind == Kind::kInverse)
            for (std::size_t e = 0; e < shape.count; ++e) work[e] *= Scale(e);
        RunFftw();
        double worst = 0.0, size = 0.0;
        for (std::size_t e = 0; e < shape.count; ++e) {
            const double theirs = kind == Kind::kForward ? work[e] * Scale(e) : work[e];
            worst = std::max(worst, std::fabs(ours[e] - theirs));
            size = std::max(size, std::fabs(theirs));
        }
        if (!(worst <= 1e-10 * size)) mismatch = "results differ from FFTW's by " + std::to_string(worst);
    }
};

Problem& Get(std::int64_t n, int dims, Kind kind) {
    static std::map<std::int64_t, std::unique_ptr<Problem>> problems;
    const std::int64_t key = n * 4 + (dims - 1) * 2 + (kind == Kind::kForward ? 0 : 1);
    std::unique_ptr<Problem>& p = problems[key];
    if (!p) p = std::make_unique<Problem>(n, dims, kind);
    return *p;
}

template <int Dims, Kind K, bool Cqv>
void Transform(benchmark::State& state) {
    Problem& p = Get(state.range(0), Dims, K);
    if (!p.mismatch.empty()) {
        state.SkipWithError(p.mismatch.c_str());
        return;
    }
    for (auto _ : state) {
        p.Reset();
        if (Cqv) p.RunCqv(); else p.RunFftw();
        benchmark::DoNotOptimize(p.work.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(p.shape.count));
}

void Sizes1D(benchmark::internal::Benchmark* b) {
    for (int m = 6; m <= 16; ++m) b->Arg(std::int64_t{1} << m);
}

void Sizes2D(benchmark::internal::Benchmark* b) {
    for (int m = 5; m <= 9; ++m) b->Arg(std::int64_t{1} << m);
}

}  // namespace

BENCHMARK(Transform<1, Kind::kForward, true>)->Name("BM_FCT/cqv")->Apply(Sizes1D);
BENCHMARK(Transform<1, Kind::kForward, false>)->Name("BM_FCT/fftw")->Apply(Sizes1D);
BENCHMARK(Transform<1, Kind::kInverse, true>)->Name("BM_IFCT/cqv")->Apply(Sizes1D);
BENCHMARK(Transform<1, Kind::kInverse, false>)->Name("BM_IFCT/fftw")->Apply(Sizes1D);
BENCHMARK(Transform<2, Kind::kForward, true>)->Name("BM_FCT2D/cqv")->Apply(Sizes2D);
BENCHMARK(Transform<2, Kind::kForward, false>)->Name("BM_FCT2D/fftw")->Apply(Sizes2D);
BENCHMARK(Transform<2, Kind::kInverse, true>)->Name("BM_IFCT2D/cqv")->Apply(Sizes2D);
BENCHMARK(Transform<2, Kind::kInverse, false>)->Name("BM_IFCT2D/fftw")->Apply(Sizes2D);
