// The cubic builders step for step: their polynomials against the same
// system assembled by hand and solved by qvMatrix3Diag's sweeps, to the
// bit; a rebuild against a fresh build whatever the spline held before;
// and the windows that the spline's points and polynomials are, made and
// let go of in bulk.
#include "spline_test_support.h"

#include "cqv/numeric/window_arrays_internal.h"

#include <cmath>
#include <cstring>
#include <functional>

using namespace splinetest;

namespace {

// Whether two doubles have the same bits.
bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The cubic on [x_i, x_{i+1}] from its moments l and r, in power form
// around x_i, by the moments method's formula.
qvPolynom<double> Cubic(double x0, double h, double s, double y, double l, double r) {
    qvColumnVector<double> c(4);
    c[0] = (r - l) / (6 * h);
    c[1] = l * 0.5;
    c[2] = s - (l * (1.0 / 3) + r * (1.0 / 6)) * h;
    c[3] = y;
    return qvPolynom<double>(c, x0, qvPolynom<double>::KoefPower);
}

// The interval lengths h_i and the chord slopes s_i.
void Chords(const V& x, const V& y, V& h, V& s) {
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        h.push_back(x[i + 1] - x[i]);
        s.push_back((y[i + 1] - y[i]) / h[i]);
    }
}

// The polynomials of MkSpline3: the moments' system assembled row by row
// and solved by qvMatrix3Diag's sweep.
std::vector<qvPolynom<double>> ByHand(const V& x, const V& y, int slopes, int curvatures, const qvMatrix<double>& v) {
    const int n = static_cast<int>(x.size());
    V h, s;
    Chords(x, y, h, s);
    qvMatrix3Diag<double> a(n);
    qvColumnVector<double> f(n);
    for (int i = 1; i < n - 1; ++i) {
        const double lambda = h[i] / (h[i - 1] + h[i]);
        a.Down()[i - 1] = 1 - lambda;
        a.Diag()[i] = 2;
        a.Up()[i] = lambda;
        f[i] = 6 / (h[i - 1] + h[i]) * (s[i] - s[i - 1]);
    }
    a.Diag()[0] = a.Diag()[n - 1] = 2;
    a.Up()[0] = a.Down()[n - 2] = f[0] = f[n - 1] = 0;
    if (slopes & 1) {
        a.Up()[0] = 1;
        f[0] = 6 / h[0] * (s[0] - v(0, 0));
    }
    if (slopes & 2) {
        a.Down()[n - 2] = 1;
        f[n - 1] = 6 / h[n - 2] * (v(0, 1) - s[n - 2]);
    }
    if (curvatures & 1) {
        a.Diag()[0] = 1;
        a.Up()[0] = 0;
        f[0] = v(1, 0);
    }
    if (curvatures & 2) {
        a.Diag()[n - 1] = 1;
        a.Down()[n - 2] = 0;
        f[n - 1] = v(1, 1);
    }
    qvColumnVector<double> m;
    a.SolveEquationChaserMethod(m, f);
    std::vector<qvPolynom<double>> out;
    for (int i = 0; i < n - 1; ++i) out.push_back(Cubic(x[i], h[i], s[i], y[i], m[i], m[i + 1]));
    return out;
}

// The polynomials of MkPeriodSpline3: the cyclic system of the moments at
// x_1 .. x_{n-1} solved by qvMatrix3Diag's cyclic sweep.
std::vector<qvPolynom<double>> PeriodicByHand(const V& x, const V& y) {
    const int n = static_cast<int>(x.size());
    const int order = n - 1;
    V h, s;
    Chords(x, y, h, s);
    qvMatrix3Diag<double> a(order);
    qvColumnVector<double> f(order);
    double first = 0;
    for (int r = 0; r < order; ++r) {
        const double hr = r + 1 < n - 1 ? h[r + 1] : h[0];
        const double sr = r + 1 < n - 1 ? s[r + 1] : s[0];
        const double lambda = hr / (h[r] + hr);
        a.Diag()[r] = 2;
        if (r == 0) first = 1 - lambda;
        else a.Down()[r - 1] = 1 - lambda;
        if (r < order - 1) a.Up()[r] = lambda;
        f[r] = 6 / (h[r] + hr) * (sr - s[r]);
    }
    qvColumnVector<double> m;
    a.SolveEquationCycleChaserMethod(m, f, first, h[0] / (h[n - 2] + h[0]));
    std::vector<qvPolynom<double>> out;
    for (int i = 0; i < n - 1; ++i)
        out.push_back(Cubic(x[i], h[i], s[i], y[i], i == 0 ? m[n - 2] : m[i - 1], m[i]));
    return out;
}

// Counts the places where the spline's polynomials and the expected ones,
// want(i, t, k) on interval i, differ in any bit: value and derivatives 1
// to 4 at both ends and inside every interval, through the spline's
// evaluators.
template <class Want>
int DifferencesFrom(const S& s, const V& x, Want want) {
    int bad = 0;
    for (int i = 0; i + 1 < static_cast<int>(x.size()); ++i)
        for (double t : {x[i], 0.3 * x[i] + 0.7 * x[i + 1], x[i + 1]})
            for (int k = 0; k <= 4; ++k) bad += !Same(s.Derivative(t, k, i), want(i, t, k));
    return bad;
}
int Differences(const S& s, const V& x, const std::vector<qvPolynom<double>>& want) {
    return DifferencesFrom(s, x, [&](int i, double t, int k) { return want[i].Derivative(t, k); });
}
int Differences(const S& s, const V& x, const S& want) {
    return DifferencesFrom(s, x, [&](int i, double t, int k) { return want.Derivative(t, k, i); });
}

// Points with uneven gaps and values of several sizes.
void Data(Numbers& g, int n, V& x, V& y) {
    x = Knots(g, n, g.Real(-5, 5), 0.01, 2);
    y = g.Reals(n, -3, 3);
    y[1] = 1e3 * y[1];
}

}  // namespace

TEST(SplineBuild, EveryBuilderGivesTheSweepsPolynomialsToTheBit) {
    // Every code of the cubic builder; the periodic builder, also with an
    // open last value, which it takes as it is, for the seam as well.
    Numbers g(41);
    const int codes[][2] = {{0, 3}, {3, 0}, {1, 2}, {2, 1}};  // slopes, curvatures
    for (int n : {3, 4, 5, 6, 17, 33, 1000}) {
        V x, y;
        Data(g, n, x, y);
        for (const auto& c : codes) {
            const qvMatrix<double> v = MatrixOf(2, 2, {g.Real(-2, 2), g.Real(-2, 2), g.Real(-9, 9), g.Real(-9, 9)});
            S s(Points(x, y));
            s.MkSpline3(Codes({c[0], c[1]}), v);
            EXPECT_EQ(Differences(s, x, ByHand(x, y, c[0], c[1], v)), 0) << n << " points, code " << c[0] << c[1];
        }
        for (double open : {0.0, 0.5}) {
            if (n < 4) break;
            y.back() = y.front() + open;
            S s(Points(x, y));
            s.MkPeriodSpline3();
            EXPECT_EQ(Differences(s, x, PeriodicByHand(x, y)), 0) << n << " points, open by " << open;
        }
    }
}

TEST(SplineBuild, ARebuildIsAFreshBuildWhateverTheSplineHeld) {
    // One spline rebuilt by every builder in turn, and a copy of it: after
    // polynomials of other lengths (Make), after cubics (in place), after
    // the other builders, and on points set anew over old ones, each time
    // the polynomials of a fresh spline built the same way, to the bit.
    Numbers g(47);
    V x, y;
    Data(g, 6, x, y);
    const qvMatrix<double> v = MatrixOf(4, 2, {0.5, -0.25, 1, 2, 0, 0, 0, 0});
    const std::function<void(S&)> natural = [&](S& s) { s.MkSpline3(Codes({0, 3}), v); };
    const std::function<void(S&)> periodic = [&](S& s) { s.MkPeriodSpline3(); };
    const std::function<void(S&)> builds[] = {
        [&](S& s) { s.Make(2, Codes({2}), v); },          natural,
        [&](S& s) { s.MkSpline3(Codes({3, 0}), v); },     [&](S& s) { s.Make(3, Codes({3, 0}), v); },
        periodic,                                         [&](S& s) { s.Make(5, Codes({3, 3, 0, 0}), v); },
        natural,                                          periodic};
    const auto fresh = [&](const std::function<void(S&)>& build) {
        S s(Points(x, y));
        build(s);
        return s;
    };
    S s(Points(x, y));
    for (const auto& build : builds) {
        build(s);
        const S copy(s);
        EXPECT_EQ(Differences(s, x, fresh(build)) + Differences(copy, x, fresh(build)), 0);
    }
    qvCurve2D curve(static_cast<int>(x.size()));
    for (int i = 0; i < curve.Len(); ++i) curve[i] = qvVec2(x[i], y[i]);
    s.Set(curve);
    EXPECT_EQ(s.Check(), 0);  // polynomials without coefficients again
    s.MkPeriodSpline3();
    EXPECT_EQ(Differences(s, x, fresh(periodic)), 0);

    // A copy of a built spline, and the spline built again after Make on
    // the copy, keep their own polynomials.
    S copy(s);
    copy.Make(2, Codes({2}), v);
    EXPECT_EQ(Differences(s, x, fresh(periodic)), 0);
    copy.MkSpline3(Codes({0, 3}), v);
    EXPECT_EQ(Differences(copy, x, fresh(natural)) + Differences(s, x, fresh(periodic)), 0);
}

TEST(SplineBuild, AFailedSelfTestStillLeavesEveryCubic) {
    // A value far off scale in the middle: the checks fail around it, the
    // polynomials on both sides are the sweep's all the same.
    V x = {0, 1, 2, 3, 4, 5, 6}, y = {0, 1, 0, 3e17, 0, 1, 0};
    S s(Points(x, y));
    const qvMatrix<double> v = MatrixOf(2, 2, {0, 0, 0, 0});
    CQV_EXPECT_BAD(s.MkSpline3(Codes({0, 3}), v), qvMsg::SplineError);
    EXPECT_EQ(Differences(s, x, ByHand(x, y, 0, 3, v)), 0);
    EXPECT_EQ(s.Check(), 0);
}

TEST(SplineBuild, WindowsOpenedInBulk) {
    using W = qvDetail::VectorWindows;
    // Five windows of two elements with stride 5 on one block of ten: the
    // block's count rises by five at once, each window sees its pair, and
    // the array gives the references back as it goes.
    qvColumnVector<double> block(10);
    for (int i = 0; i < 10; ++i) block[i] = i;
    void* const mem = block.GetMem();
    {
        qvSimpleArray<qvColumnVector<double>> a(5);
        W::Open(a.GetPointer(), 5, mem, block.GetPointer(), 1, 2, 5);
        EXPECT_EQ(cqvtest::BlockCount(mem), 6);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(a[i].GetMem(), mem);
            EXPECT_EQ((V{a[i][0], a[i][1], double(a[i].Len()), double(a[i].Tab())}),
                      (V{double(i), double(i + 5), 2, 5}));
        }
        a[2].Set(3);
        EXPECT_EQ(cqvtest::BlockCount(mem), 5);
    }
    EXPECT_EQ(cqvtest::BlockCount(mem), 1);
    // A block that is not counted is refused before anything changes.
    double plain[4] = {0, 0, 0, 0};
    qvSimpleArray<qvColumnVector<double>> other(2);
    CQV_EXPECT_BAD(W::Open(other.GetPointer(), 2, plain + 2, plain + 2, 1, 1, 1), qvMsg::IncMemRefNotCounted);
    EXPECT_EQ((V{double(other[0].Len()), double(other[1].Len())}), (V{0, 0}));
}

TEST(SplineBuild, PolynomialWindowsTakeTheirOffsetsWhereTheyLackThem) {
    using W = qvDetail::VectorWindows;
    using P = qvPolynom<double>;
    qvColumnVector<double> old(8), fresh(9);
    void* const oldMem = old.GetMem();
    // Three polynomials: two on the old block, one on a block of its own,
    // one of them already with its offset (-0.0, which equals 0.0) and form.
    qvSimpleArray<P> p(3);
    qvColumnVector<double> part;
    part.Set(old, 0, 4);
    p[0] = P(part, -0.0, P::KoefPower);
    p[0].Set(old, 0, 4);
    p[1].Set(old, 4, 4);
    p[2].Set(2);
    EXPECT_EQ(cqvtest::BlockCount(oldMem), 4);
    const V x = {0.0, 1.5, 2.5};
    W::OpenPolynomials(p.GetPointer(), 3, fresh.GetMem(), fresh.GetPointer() + 1, 3, x.data(), P::KoefPower);
    EXPECT_EQ(cqvtest::BlockCount(oldMem), 2);  // old and part
    EXPECT_EQ(cqvtest::BlockCount(fresh.GetMem()), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p[i].GetPointer(), fresh.GetPointer() + 1 + 3 * i);
        EXPECT_EQ((V{double(p[i].Len()), double(p[i].Tab()), p[i].GetX0()}), (V{3, 1, x[i]}));
        EXPECT_EQ(p[i].GetKoefType(), P::KoefPower);
    }
    EXPECT_TRUE(std::signbit(p[0].GetX0()));
}
