// Beta-spline curves, closed curves and tubes: building them by the dense
// Gauss solver (the library's path, BM_<kernel>/cqv) beside the band solve
// (MakeBandInterpolation, BM_<kernel>/band) where both run, the band solve
// alone from 10^3 to 10^5 points on a curve and a contour and from 10^5 to
// 10^6 on a tube (items per second = points interpolated per second, flat
// when the cost is linear), and evaluation of 10^6 parameters (items per
// second = points evaluated per second). No peer library takes part.
#include <benchmark/benchmark.h>

#include <cqv/cqv.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "bench_support.h"

namespace {

using V3 = qvTVec3<double>;

// The shape every benchmark uses: a mild skew and tension.
constexpr double kSkew = 1.5;
constexpr double kTension = 1.0;

// n points winding through space.
qvVector<V3> Points(int n) {
    qvVector<V3> p(n);
    for (int i = 0; i < n; ++i) p[i] = V3(i + 0.4 * std::sin(1.7 * i), std::cos(0.9 * i), 0.3 * std::sqrt(i + 1.0));
    return p;
}

// n points around a loop.
qvVector<V3> Ring(int n, double scale) {
    qvVector<V3> p(n);
    const double step = 2 * std::acos(-1.0) / n;
    for (int i = 0; i < n; ++i)
        p[i] = V3(scale * std::cos(i * step), scale * (1.5 + 0.2 * std::sin(3 * i * step)) * std::sin(i * step), 0.1 * i);
    return p;
}

// rows rings of cols points, each lifted and scaled a little.
qvMatrix<V3> Rings(int rows, int cols) {
    qvMatrix<V3> p(rows, cols);
    for (int i = 0; i < rows; ++i) {
        const qvVector<V3> ring = Ring(cols, 1.0 + 0.25 * std::sin(0.8 * i));
        for (int j = 0; j < cols; ++j) p(i, j) = ring[j] + V3(0, 0, 1.5 * i);
    }
    return p;
}

template <class Shape, bool band>
void Build(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvVector<V3> p = Shape::Input(n);
    typename Shape::Object object(kSkew, kTension);
    for (auto _ : state) {
        if (band) {
            object.MakeBandInterpolation(p);
        } else {
            object.MakeInterpolation(p);
        }
        benchmark::DoNotOptimize(&object);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

struct Curve {
    using Object = BetaCurve;
    static qvVector<V3> Input(int n) { return Points(n); }
};

struct Contour {
    using Object = BetaContour;
    static qvVector<V3> Input(int n) { return Ring(n, 10.0); }
};

// A tube of n rings of n points.
template <bool band>
void BuildTube(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    qvMatrix<V3> p = Rings(n, n);
    BetaTube tube(kSkew, kTension);
    for (auto _ : state) {
        if (band) {
            tube.MakeBandInterpolation(p);
        } else {
            tube.MakeInterpolation(p);
        }
        benchmark::DoNotOptimize(&tube);
    }
    state.SetItemsProcessed(state.iterations() * n * n);
}

// 10^6 parameters spread over the curve through 1000 points.
void EvaluateCurve(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    BetaCurve curve(kSkew, kTension);
    curve.MakeBandInterpolation(Points(1000));
    for (auto _ : state) {
        V3 sum(0, 0, 0);
        for (int i = 0; i < count; ++i) sum += curve(static_cast<double>(i) / count);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// 10^6 parameter pairs spread over the tube of 100 rings of 100 points.
void EvaluateTube(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int side = 1000;  // count = side x side
    qvMatrix<V3> p = Rings(100, 100);
    BetaTube tube(kSkew, kTension);
    tube.MakeBandInterpolation(p);
    for (auto _ : state) {
        V3 sum(0, 0, 0);
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < count / side; ++j)
                sum += tube(static_cast<double>(j) / side, static_cast<double>(i) / (side - 1));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void Register(const char* name, void (*fn)(benchmark::State&), std::initializer_list<std::int64_t> sizes) {
    auto* b = benchmark::RegisterBenchmark(name, fn);
    for (std::int64_t n : sizes) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

const int kRegistered = [] {
    Register("BM_BetaCurveBuild/cqv", Build<Curve, false>, {10, 100, 1000});
    Register("BM_BetaCurveBuild/band", Build<Curve, true>, {10, 100, 1000});
    // Rings beyond about 350 points of this shape overflow the dense
    // solver (see BetaContour::MakeInterpolation).
    Register("BM_BetaContourBuild/cqv", Build<Contour, false>, {10, 100, 300});
    Register("BM_BetaContourBuild/band", Build<Contour, true>, {10, 100, 300});
    Register("BM_BetaTubeBuild/cqv", BuildTube<false>, {10, 100});
    Register("BM_BetaTubeBuild/band", BuildTube<true>, {10, 100});
    Register("BM_BetaCurveBand/cqv", Build<Curve, true>, {1000, 10000, 100000});
    Register("BM_BetaContourBand/cqv", Build<Contour, true>, {1000, 10000, 100000});
    // 10^5 to 10^6 points. The net of 10^6 points outgrows the caches, and
    // the build goes over it twice (forward, rows fresh from their rings;
    // back, from the last row up), so memory traffic is what grows here.
    Register("BM_BetaTubeBand/cqv", BuildTube<true>, {316, 562, 1000});
    Register("BM_BetaCurveEval/cqv", EvaluateCurve, {1000000});
    Register("BM_BetaTubeEval/cqv", EvaluateTube, {1000000});
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
