// Every allocating member of the vectors, matrices, solvers, N-d arrays,
// geometry, splines and Beta-splines, failed at each of its allocations in
// turn.
#include "fault_injection.h"

#include <cmath>
#include <string>

namespace {

using faults::Bytes;
using faults::Exhaust;
using faults::ExhaustEach;
using Col = qvColumnVector<double>;
using Line = qvLineVector<double>;
using M = qvMatrix<double>;
using V3 = qvTVec3<double>;

Col ColOf(int n, double from) {
    Col v(n);
    for (int i = 0; i < n; ++i) v[i] = from + std::sin(1.3 * i + from);
    return v;
}

// A diagonally dominant n × n matrix, so that every solver succeeds.
M Dominant(int n) {
    M m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m(i, j) = i == j ? 10.0 + i : std::cos(i + 2.0 * j);
    return m;
}

// Values of a function at a spread of points, as the state of an object
// without a record.
template <class F>
std::string Samples(F f, double lo, double hi) {
    std::string s;
    for (int i = 0; i <= 16; ++i) s += std::to_string(f(lo + (hi - lo) * i / 16)) + ',';
    return s;
}

const Col kShift = ColOf(2, 0);
const Col kDir = ColOf(2, 1);

struct Linalg {
    Col x = ColOf(5, 0.5);
    Col y = ColOf(5, -1.0);
    Col z = ColOf(7, 3.0);
    M a = Dominant(5);
    M window;
    // Results of members that write into an object of the caller's.
    Col out;
    M product;
    Line line;
    Linalg() { window.Set(a, 1, 1, 3, 3); }
};
std::string LinalgState(const Linalg& f) {
    return Bytes(f.x) + Bytes(f.y) + Bytes(f.a) + Bytes(f.window) + faults::Block(f.a) + faults::Block(f.x);
}

// Built inside operations: only the library allocates.
qvArray<int> Shape(int a, int b) {
    qvArray<int> r(2);
    r[0] = a;
    r[1] = b;
    return r;
}

qvArrayND<double> Grid() {
    qvArrayND<double> g(Shape(4, 3));
    int k = 0;
    for (double& e : g) e = (k++ * 5) % 7;
    return g;
}

qvSimpleContour2D Square(double side) {
    qvSimpleContour2D c(5);
    const double xs[] = {0, side, side, 0, 0}, ys[] = {0, 0, side, side, 0};
    for (int i = 0; i < 5; ++i) c[i] = qvVec2(xs[i], ys[i]);
    return c;
}

qvVector<V3> Wavy(int m) {
    qvVector<V3> p(m);
    for (int i = 0; i < m; ++i) p[i] = V3(i + 0.4 * std::sin(1.7 * i), std::cos(0.9 * i), 0.3 * std::sqrt(i + 1.0));
    return p;
}

// Six points other than Wavy(6)'s.
const qvVector<V3> kWavySix = [] {
    qvVector<V3> p = Wavy(6);
    for (int i = 0; i < 6; ++i) p[i] = p[i] * 1.5;
    return p;
}();

}  // namespace

TEST(Faults, VectorsAndMatrices) {
    ExhaustEach<Linalg>(
        {{"Col(n)", [](Linalg&) { Col v(6); }},
         {"Col(copy)", [](Linalg& f) { Col v(f.x); }},
         {"Col + Col", [](Linalg& f) { (void)(f.x + f.y); }},
         {"Col * s", [](Linalg& f) { (void)(f.x * 2.0); }},
         {"Col::T", [](Linalg& f) { (void)f.x.T(); }},
         {"Col * Line", [](Linalg& f) { (void)(f.x * f.y.T()); }},
         {"Vector::push_back", [](Linalg& f) { f.x.push_back(1.0); }},
         {"Vector::Insert", [](Linalg& f) { f.x.Insert(1.0, 2); }},
         {"Vector::Remove", [](Linalg& f) { f.x.Remove(2); }},
         {"Vector::resize", [](Linalg& f) { f.x.resize(8); }},
         {"Vector::Concat", [](Linalg& f) { f.x.Concat(f.y); }},
         {"Vector::Mid", [](Linalg& f) { f.x.Mid(f.out, 1, 3); }},
         {"Vector::Copy (shared)", [](Linalg& f) {
              Col view;
              view.Set(f.x, 1, 3);
              view.Copy();
          }},
         {"M(rows, cols)", [](Linalg&) { M m(3, 4); }},
         {"M(copy)", [](Linalg& f) { M m(f.a); }},
         {"M + M", [](Linalg& f) { (void)(f.a + f.a); }},
         {"M * M", [](Linalg& f) { (void)(f.a * f.a); }},
         {"-M", [](Linalg& f) { (void)(-f.a); }},
         {"M * Col", [](Linalg& f) { (void)(f.a * f.x); }},
         {"Line * M", [](Linalg& f) { (void)(f.x.T() * f.a); }},
         {"M::Inverse", [](Linalg& f) { (void)f.a.Inverse(); }},
         {"M::Det", [](Linalg& f) { (void)f.a.Det(); }},
         {"M::SelfTMulSelf", [](Linalg& f) { f.a.SelfTMulSelf(f.product); }},
         {"M::GetLine", [](Linalg& f) { f.a.GetLine(f.line, 2); }},
         {"M::Copy (window)", [](Linalg& f) { f.window.Copy(); }},
         {"M::SolveEquationGaussMethod", [](Linalg& f) {
              Col b(f.x);
              f.a.SolveEquationGaussMethod(f.out, b);
          }}},
        [] { return Linalg(); }, LinalgState);
    // A vector of another length takes a fresh block: failing, it is empty.
    Exhaust("Vector::operator= (other length)", [] { return Linalg(); }, [](Linalg& f) { f.y = f.z; }, LinalgState,
            [](const Linalg& f) { return faults::Emptied(f.y); });
    Exhaust("Vector::operator= (from a window on itself)", [] { return Linalg(); },
            [](Linalg& f) {
                Col head;
                head.Set(f.x, 0, 2);
                f.x = head;
            },
            LinalgState, [](const Linalg& f) { return faults::Emptied(f.x); });

    std::string record = Bytes(ColOf(9, 2.0));
    unsigned char* p = reinterpret_cast<unsigned char*>(&record[0]);
    Exhaust("Vector::FromMem (new length)", [] { return ColOf(3, 0); }, [p](Col& v) { v.FromMem(p); },
            [](const Col& v) { return Bytes(v) + faults::Block(v); }, faults::Emptied);
    std::string matrixRecord = Bytes(Dominant(4));
    unsigned char* q = reinterpret_cast<unsigned char*>(&matrixRecord[0]);
    Exhaust("M::FromMem (new shape)", [] { return Dominant(2); }, [q](M& m) { m.FromMem(q); },
            [](const M& m) { return Bytes(m) + faults::Block(m); }, faults::Emptied);
}

TEST(Faults, TridiagonalAndPolynomials) {
    using T3 = qvMatrix3Diag<double>;
    struct F {
        T3 t;
        Col f = ColOf(6, 1.0);
        Col x;  // the solution
        F() : t(6) {
            t.Fill(1.0);
            for (int i = 0; i < 6; ++i) t.Diag()[i] = 5.0 + i;
        }
    };
    const auto state = [](const F& f) { return Bytes(f.t.GetMatrix()) + '|' + Bytes(f.f); };
    ExhaustEach<F>(
        {{"T3(n)", [](F&) { T3 t(4); }},
         {"T3(copy)", [](F& f) { T3 t(f.t); }},
         {"T3::operator=", [](F& f) { f.t = T3(f.t); }},
         {"T3 + T3", [](F& f) { (void)(f.t + f.t); }},
         {"T3 * T3", [](F& f) { (void)(f.t * f.t); }},
         {"T3::T", [](F& f) { (void)f.t.T(); }},
         {"T3::GetMatrix", [](F& f) { (void)f.t.GetMatrix(); }},
         {"T3 * Col", [](F& f) { (void)(f.t * f.f); }},
         {"T3::SolveEquationChaserMethod", [](F& f) { f.t.SolveEquationChaserMethod(f.x, f.f); }},
         {"qvPolynom copy", [](F& f) { qvPolynom<double> p(f.f, 0.0, qvPolynom<double>::KoefPower); }}},
        [] { return F(); }, state);
}

TEST(Faults, NdArrays) {
    using ND = qvArrayND<double>;
    const auto state = [](const ND& g) { return Bytes(g) + faults::Block(g); };
    ExhaustEach<ND>(
        {{"ND(range)", [](ND&) { ND g(Shape(2, 5)); }},
         {"ND(copy)", [](ND& g) { ND h(g); }},
         {"ND += ND", [](ND& g) { g += g; }},
         {"ND::Median", [](ND& g) { (void)g.Median(); }},
         {"ND::Copy (shared)", [](ND& g) {
              ND view;
              view.Set(g);
              view.Copy();
          }},
         {"ND::GetReduceDimArrayND", [](ND& g) { delete g.GetReduceDimArrayND(0, 1); }},
         {"ND::ReduceDimArrayND", [](ND& g) {
              ND line;
              line.ReduceDimArrayND(g, 1, 2);
          }},
         {"ND::TNew", [](ND& g) { delete g.TNew(); }}},
        Grid, state);
    std::string record = Bytes(Grid());
    unsigned char* p = reinterpret_cast<unsigned char*>(&record[0]);
    Exhaust("ND::FromMem (new shape)", [] { return ND(Shape(1, 2)); }, [p](ND& g) { g.FromMem(p); }, state);
    Exhaust("ND::Set (new shape)", Grid, [](ND& g) { g.Set(Shape(5, 2)); }, state);
}

TEST(Faults, ContoursAndTransforms) {
    using C = qvSimpleContour2D;
    const auto state = [](const C& c) { return Bytes(c) + faults::Block(c); };
    ExhaustEach<C>(
        {{"C(copy)", [](C& c) { C d(c); }},
         {"C::CutByStraightLine",
          [](C& c) { (void)c.CutByStraightLine(qvGeom::StraightLine2D(qvVec2(1, 0), qvVec2(1, 1))); }},
         {"C::MakeCoherent", [](C& c) { c.MakeCoherent(Square(3)); }},
         {"C::IsIntersect", [](C& c) { (void)c.IsIntersect(); }},
         {"transform fit", [](C& c) {
              qvTransformCoord2D t;
              t.MakeRotateShiftFromEquations(c, c);
          }},
         {"qvTransformCoord", [](C&) {
              qvTransformCoord t(kShift, kDir, 1);
              (void)t.GetCoord(kDir);
          }}},
        [] { return Square(2); }, state);
}

TEST(Faults, SplinesAndBetaSplines) {
    using C = qvSimpleContour2D;
    using S = qvSplineCurve2D;
    using P = qvVector<V3>;
    ExhaustEach<C>({{"qvSpline::Set(curve)", [](C& c) {
                         qvSpline<double> s;
                         s.Set(c);
                     }},
                    {"qvSplineCurve2D(curve)", [](C& c) { S s(c); }}},
                   [] { return Square(2); }, [](const C& c) { return Bytes(c); });
    ExhaustEach<S>({{"qvSplineCurve2D copy", [](S& s) { S t(s); }},
                    {"qvSplineCurve2D::operator=", [](S& s) { s = S(Square(3)); }}},
                   [] { return S(Square(2)); },
                   [](const S& s) { return Samples([&s](double t) { return s.GetPoint(t).X(); }, 0, 1); });
    ExhaustEach<P>({{"BetaCurve(points)", [](P& p) { BetaCurve b(p); }},
                    {"BetaContour(ring)", [](P& p) { BetaContour b(p); }}},
                   [] { return Wavy(7); }, [](const P& p) { return Bytes(p); });
    // Interpolating as many points writes into the present control points
    // (which copies share), so a failed solve leaves them as they were.
    ExhaustEach<BetaCurve>({{"BetaCurve::MakeInterpolation", [](BetaCurve& b) { b.MakeInterpolation(kWavySix); }},
                            {"BetaCurve::MakeBandInterpolation",
                             [](BetaCurve& b) { b.MakeBandInterpolation(kWavySix); }},
                            {"BetaCurve copy", [](BetaCurve& b) { BetaCurve c(b); }}},
                           [] { return BetaCurve(Wavy(6)); },
                           [](const BetaCurve& b) { return Samples([&b](double u) { return b(u).Y(); }, 0, 1); });
    Exhaust("BetaTube(points)", [] { return 0; },
            [](int&) {
                qvMatrix<V3> grid(4, 5);
                for (int i = 0; i < 4; ++i)
                    for (int j = 0; j < 5; ++j) grid(i, j) = V3(std::cos(j), std::sin(j), i);
                BetaTube t(grid);
            },
            [](int) { return std::string(); });
}

// The cosine transforms hold a work buffer and two tables per level, each a
// block of its own: a construction that fails part-way must free the blocks
// it already made, and a failed assignment must keep the old tables.
TEST(Faults, FastCosineTransformTables) {
    using T = qvFCTTC;
    const auto state = [](T& t) {
        double x[8];
        for (int i = 0; i < 8; ++i) x[i] = std::cos(0.7 * i * i);
        t.FCT(x);
        return std::string(reinterpret_cast<const char*>(x), sizeof x);
    };
    ExhaustEach<T>(
        {{"qvFCTT(m)", [](T&) { qvFCTT t(4); }},
         {"qvFCTTC(m)", [](T&) { T t(4); }},
         {"qvFCTTC copy", [](T& t) { T u(t); }},
         {"qvFCTTC::operator= (other size)", [](T& t) { t = T(4); }}},
        [] { return T(3); }, state);
}
