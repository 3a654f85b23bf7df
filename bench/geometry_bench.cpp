// Contours against Boost.Geometry and Clipper on the same polygons: star
// shapes of n vertices on the integer grid, counter-clockwise around the
// origin, as contours traced from raster data are (vertices on grid lines,
// cut lines through vertices). Their outlines undulate smoothly: a jagged
// outline, which a horizontal line crosses a number of times that grows
// with n, makes Clipper's sweep quadratic (28 s at 10^5 points where the
// library takes 0.6 ms), which would say nothing about either side.
//
// BM_Area, BM_Length and BM_Inside are the signed area, the perimeter and
// the point-in-polygon test, single passes over the vertices on both sides
// (Boost's area, perimeter and within on a closed model::polygon of double
// points). BM_Cut keeps the part of the contour below the x axis, a line
// through two of its vertices: CutByStraightLine against Clipper's
// intersection with a rectangle that covers that half-plane over the whole
// polygon. BM_IsIntersect is the self-intersection test of a simple polygon
// (so every pair of edges is looked at): the library's test is quadratic by
// its rule, Boost's intersects(polygon) sorts the edges into monotonic
// sections first, so its time grows about linearly; this pair runs at 10^2,
// 10^3 and 10^4 points only.
#include <cqv/cqv.h>

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <polyclipping/clipper.hpp>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>

#include "bench_support.h"

namespace {

namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint, false, true>;  // counter-clockwise, closed

// A star of n vertices: radius 10·n·(1 + 0.25 sin 5φ + 0.1 cos 17φ), so
// that the outline undulates like a traced shape while a straight line
// meets it a bounded number of times; rounded to the grid, with vertex 0
// and vertex n/2 on the x axis.
qvSimpleContour2D Star(int n) {
    qvSimpleContour2D c(n);
    for (int i = 0; i < n; ++i) {
        const double phi = 2 * 3.14159265358979323846 * i / n;
        const double rho = 10.0 * n * (1 + 0.25 * std::sin(5 * phi) + 0.1 * std::cos(17 * phi));
        c[i] = qvVec2(std::round(rho * std::cos(phi)), std::round(rho * std::sin(phi)));
    }
    return c;
}

// The same polygon for each side, built once per size.
struct Shapes {
    qvSimpleContour2D contour;
    BoostPolygon boost;
    ClipperLib::Path clipper;
    explicit Shapes(int n) : contour(Star(n)) {
        for (int i = 0; i <= n; ++i) {
            const qvVec2& p = contour[i % n];
            bg::append(boost.outer(), BoostPoint(p.X(), p.Y()));
        }
        for (int i = 0; i < n; ++i)
            clipper.emplace_back(static_cast<ClipperLib::cInt>(contour[i].X()),
                                 static_cast<ClipperLib::cInt>(contour[i].Y()));
    }
};

const Shapes& ShapesOf(std::int64_t n) {
    static std::map<std::int64_t, std::unique_ptr<Shapes>> shapes;
    auto& s = shapes[n];
    if (!s) s = std::make_unique<Shapes>(static_cast<int>(n));
    return *s;
}

// A point inside, off the grid lines.
const qvVec2 kProbe(0.5, 0.25);

void Items(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * state.range(0)); }

void AreaCqv(benchmark::State& state) {
    const qvSimpleContour2D& c = ShapesOf(state.range(0)).contour;
    for (auto _ : state) benchmark::DoNotOptimize(c.GetSignedS());
    Items(state);
}

void AreaBoost(benchmark::State& state) {
    const BoostPolygon& p = ShapesOf(state.range(0)).boost;
    for (auto _ : state) benchmark::DoNotOptimize(bg::area(p));
    Items(state);
}

void LengthCqv(benchmark::State& state) {
    const qvSimpleContour2D& c = ShapesOf(state.range(0)).contour;
    for (auto _ : state) benchmark::DoNotOptimize(c.GetLengthOfCurve());
    Items(state);
}

void LengthBoost(benchmark::State& state) {
    const BoostPolygon& p = ShapesOf(state.range(0)).boost;
    for (auto _ : state) benchmark::DoNotOptimize(bg::perimeter(p));
    Items(state);
}

void InsideCqv(benchmark::State& state) {
    const qvSimpleContour2D& c = ShapesOf(state.range(0)).contour;
    for (auto _ : state) benchmark::DoNotOptimize(c.IsInsidePoint(kProbe));
    Items(state);
}

void InsideBoost(benchmark::State& state) {
    const BoostPolygon& p = ShapesOf(state.range(0)).boost;
    const BoostPoint probe(kProbe.X(), kProbe.Y());
    for (auto _ : state) benchmark::DoNotOptimize(bg::within(probe, p));
    Items(state);
}

void CutCqv(benchmark::State& state) {
    const qvSimpleContour2D& c = ShapesOf(state.range(0)).contour;
    // Keeps y <= 0, the side to the right of the x axis run from the origin
    // towards +x.
    const qvGeom::StraightLine2D axis(qvVec2(0, 0), qvVec2(1, 0));
    for (auto _ : state) {
        const qvSimpleContour2D part = c.CutByStraightLine(axis);
        benchmark::DoNotOptimize(part.GetPointer());
    }
    Items(state);
}

void CutClipper(benchmark::State& state) {
    const ClipperLib::Path& subject = ShapesOf(state.range(0)).clipper;
    const ClipperLib::cInt big = 100 * static_cast<ClipperLib::cInt>(state.range(0));
    const ClipperLib::Path lowerHalf = {{-big, -big}, {big, -big}, {big, 0}, {-big, 0}};
    for (auto _ : state) {
        ClipperLib::Clipper clip;
        clip.AddPath(subject, ClipperLib::ptSubject, true);
        clip.AddPath(lowerHalf, ClipperLib::ptClip, true);
        ClipperLib::Paths part;
        clip.Execute(ClipperLib::ctIntersection, part);
        benchmark::DoNotOptimize(part.data());
    }
    Items(state);
}

void IsIntersectCqv(benchmark::State& state) {
    const qvSimpleContour2D& c = ShapesOf(state.range(0)).contour;
    for (auto _ : state) benchmark::DoNotOptimize(c.IsIntersect());
    Items(state);
}

void IsIntersectBoost(benchmark::State& state) {
    const BoostPolygon& p = ShapesOf(state.range(0)).boost;
    for (auto _ : state) benchmark::DoNotOptimize(bg::intersects(p));
    Items(state);
}

void ContourSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 100000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

void QuadraticSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {100, 1000, 10000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(AreaCqv)->Name("BM_Area/cqv")->Apply(ContourSizes);
BENCHMARK(AreaBoost)->Name("BM_Area/boost_geometry")->Apply(ContourSizes);
BENCHMARK(LengthCqv)->Name("BM_Length/cqv")->Apply(ContourSizes);
BENCHMARK(LengthBoost)->Name("BM_Length/boost_geometry")->Apply(ContourSizes);
BENCHMARK(InsideCqv)->Name("BM_Inside/cqv")->Apply(ContourSizes);
BENCHMARK(InsideBoost)->Name("BM_Inside/boost_geometry")->Apply(ContourSizes);
BENCHMARK(CutCqv)->Name("BM_Cut/cqv")->Apply(ContourSizes);
BENCHMARK(CutClipper)->Name("BM_Cut/clipper")->Apply(ContourSizes);
BENCHMARK(IsIntersectCqv)->Name("BM_IsIntersect/cqv")->Apply(QuadraticSizes);
BENCHMARK(IsIntersectBoost)->Name("BM_IsIntersect/boost_geometry")->Apply(QuadraticSizes);
