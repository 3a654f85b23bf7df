// Every allocating member of the vectors, matrices, solvers, N-d arrays,
// geometry, splines and Beta-splines, failed at each of its allocations in
// turn.
#include "fault_injection.h"

#include <cmath>
#include <string>

namespace {

using faults::Bytes;
using faults::Exhaust;
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

std::string Texts(const std::string& a, const std::string& b) { return a + '|' + b; }

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
    Linalg() { window.Set(a, 1, 1, 3, 3); }
};
std::string LinalgState(const Linalg& f) {
    return Bytes(f.x) + Bytes(f.y) + Bytes(f.a) + Bytes(f.window) + faults::Block(f.a) + faults::Block(f.x);
}

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
    using Op = void (*)(Linalg&);
    const struct {
        const char* name;
        Op op;
    } ops[] = {
        {"Col(n)", [](Linalg&) { Col v(6); }},
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
        {"Vector::Mid", [](Linalg& f) {
             Col part;
             f.x.Mid(part, 1, 3);
         }},
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
        {"M::SelfTMulSelf", [](Linalg& f) {
             M r;
             f.a.SelfTMulSelf(r);
         }},
        {"M::GetLine", [](Linalg& f) {
             Line l;
             f.a.GetLine(l, 2);
         }},
        {"M::Copy (window)", [](Linalg& f) { f.window.Copy(); }},
        {"M::SolveEquationGaussMethod", [](Linalg& f) {
             Col x;
             Col b(f.x);
             f.a.SolveEquationGaussMethod(x, b);
         }},
    };
    for (const auto& o : ops) Exhaust(o.name, [] { return Linalg(); }, o.op, LinalgState);
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

    const Col source = ColOf(9, 2.0);
    std::string record = Bytes(source);
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
        F() : t(6) {
            t.Fill(1.0);
            for (int i = 0; i < 6; ++i) t.Diag()[i] = 5.0 + i;
        }
    };
    const auto state = [](const F& f) { return Texts(Bytes(f.t.GetMatrix()), Bytes(f.f)); };
    using Op = void (*)(F&);
    const struct {
        const char* name;
        Op op;
    } ops[] = {
        {"T3(n)", [](F&) { T3 t(4); }},
        {"T3(copy)", [](F& f) { T3 t(f.t); }},
        {"T3::operator=", [](F& f) { f.t = T3(f.t); }},
        {"T3 + T3", [](F& f) { (void)(f.t + f.t); }},
        {"T3 * T3", [](F& f) { (void)(f.t * f.t); }},
        {"T3::T", [](F& f) { (void)f.t.T(); }},
        {"T3::GetMatrix", [](F& f) { (void)f.t.GetMatrix(); }},
        {"T3 * Col", [](F& f) { (void)(f.t * f.f); }},
        {"T3::SolveEquationChaserMethod", [](F& f) {
             Col x;
             f.t.SolveEquationChaserMethod(x, f.f);
         }},
        {"qvPolynom copy", [](F& f) { qvPolynom<double> p(f.f, 0.0, qvPolynom<double>::KoefPower); }},
    };
    for (const auto& o : ops) Exhaust(o.name, [] { return F(); }, o.op, state);
}

TEST(Faults, NdArrays) {
    using ND = qvArrayND<double>;
    const auto state = [](const ND& g) { return Bytes(g) + faults::Block(g); };
    using Op = void (*)(ND&);
    const struct {
        const char* name;
        Op op;
    } ops[] = {
        {"ND(range)", [](ND&) { ND g(Shape(2, 5)); }},
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
        {"ND::TNew", [](ND& g) { delete g.TNew(); }},
    };
    for (const auto& o : ops) Exhaust(o.name, Grid, o.op, state);
    std::string record = Bytes(Grid());
    unsigned char* p = reinterpret_cast<unsigned char*>(&record[0]);
    Exhaust("ND::FromMem (new shape)", [] { return ND(Shape(1, 2)); }, [p](ND& g) { g.FromMem(p); }, state);
    Exhaust("ND::Set (new shape)", Grid, [](ND& g) { g.Set(Shape(5, 2)); }, state);
}

TEST(Faults, ContoursAndTransforms) {
    using C = qvSimpleContour2D;
    const auto state = [](const C& c) { return Bytes(c) + faults::Block(c); };
    using Op = void (*)(C&);
    const struct {
        const char* name;
        Op op;
    } ops[] = {
        {"C(copy)", [](C& c) { C d(c); }},
        {"C::CutByStraightLine", [](C& c) { (void)c.CutByStraightLine(qvGeom::StraightLine2D(qvVec2(1, 0), qvVec2(1, 1))); }},
        {"C::MakeCoherent", [](C& c) { c.MakeCoherent(Square(3)); }},
        {"C::IsIntersect", [](C& c) { (void)c.IsIntersect(); }},
        {"transform fit", [](C& c) {
             qvTransformCoord2D t;
             t.MakeRotateShiftFromEquations(c, c);
         }},
        {"qvTransformCoord", [](C&) {
             qvTransformCoord t(kShift, kDir, 1);
             (void)t.GetCoord(kDir);
         }},
    };
    for (const auto& o : ops) Exhaust(o.name, [] { return Square(2); }, o.op, state);
}

TEST(Faults, SplinesAndBetaSplines) {
    using C = qvSimpleContour2D;
    Exhaust("qvSpline::Set(curve)", [] { return Square(2); },
            [](C& c) {
                qvSpline<double> s;
                s.Set(c);
            },
            [](const C& c) { return Bytes(c); });
    Exhaust("qvSplineCurve2D(curve)", [] { return Square(2); }, [](C& c) { qvSplineCurve2D s(c); },
            [](const C& c) { return Bytes(c); });
    Exhaust("qvSplineCurve2D copy", [] { return qvSplineCurve2D(Square(2)); }, [](qvSplineCurve2D& s) { qvSplineCurve2D t(s); },
            [](const qvSplineCurve2D& s) { return Samples([&s](double t) { return s.GetPoint(t).X(); }, 0, 1); });
    Exhaust("qvSplineCurve2D::operator=", [] { return qvSplineCurve2D(Square(2)); },
            [](qvSplineCurve2D& s) { s = qvSplineCurve2D(Square(3)); },
            [](const qvSplineCurve2D& s) { return Samples([&s](double t) { return s.GetPoint(t).X(); }, 0, 1); });

    const auto curveState = [](const BetaCurve& b) { return Samples([&b](double u) { return b(u).Y(); }, 0, 1); };
    Exhaust("BetaCurve(points)", [] { return Wavy(7); }, [](qvVector<V3>& p) { BetaCurve b(p); },
            [](const qvVector<V3>& p) { return Bytes(p); });
    // Interpolating as many points writes into the present control points
    // (which copies share), so a failed solve leaves them as they were.
    Exhaust("BetaCurve::MakeInterpolation", [] { return BetaCurve(Wavy(6)); },
            [](BetaCurve& b) { b.MakeInterpolation(kWavySix); }, curveState);
    Exhaust("BetaCurve::MakeBandInterpolation", [] { return BetaCurve(Wavy(6)); },
            [](BetaCurve& b) { b.MakeBandInterpolation(kWavySix); }, curveState);
    Exhaust("BetaCurve copy", [] { return BetaCurve(Wavy(6)); }, [](BetaCurve& b) { BetaCurve c(b); }, curveState);
    Exhaust("BetaContour(ring)", [] { return Wavy(7); }, [](qvVector<V3>& p) { BetaContour b(p); },
            [](const qvVector<V3>& p) { return Bytes(p); });
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
    using Op = void (*)(T&);
    const struct {
        const char* name;
        Op op;
    } ops[] = {
        {"qvFCTT(m)", [](T&) { qvFCTT t(4); }},
        {"qvFCTTC(m)", [](T&) { T t(4); }},
        {"qvFCTTC copy", [](T& t) { T u(t); }},
        {"qvFCTTC::operator= (other size)", [](T& t) { t = T(4); }},
    };
    for (const auto& o : ops) Exhaust(o.name, [] { return T(3); }, o.op, state);
}
