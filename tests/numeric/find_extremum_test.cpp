// The gradient search: its steps traced by hand, convergence and the sign
// convention, the correction, the time limit and the trial bound.
#include "cqv_test.h"

#include <climits>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

namespace {

using A = qvArray<double>;

// What the callbacks saw, in order: "f x", "d x" or "c x" with the point.
struct Log {
    std::vector<std::string> calls;
    long long fCalls = 0;
    // Keeps the first 200 calls.
    void Add(char what, const A& p) {
        if (calls.size() == 200) return;
        std::string s(1, what);
        for (int i = 0; i < p.Len(); ++i) s += " " + std::to_string(p[i]);
        calls.push_back(s);
    }
};

double Square(double x, void* data) {
    static_cast<Log*>(data)->Add('f', A(1, x));
    return x * x;
}
void SquareSlope(double& g, double x, void* data) {
    static_cast<Log*>(data)->Add('d', A(1, x));
    g = 2 * x;
}

// (x - 3)² and its derivative, and the same turned upside down.
double Bowl(double x, void*) { return (x - 3) * (x - 3); }
void BowlSlope(double& g, double x, void*) { g = 2 * (x - 3); }
double LoggedBowl(double x, void* data) {
    static_cast<Log*>(data)->Add('f', A(1, x));
    return Bowl(x, data);
}
double Cap(double x, void*) { return 5 - (x - 3) * (x - 3); }
void CapSlope(double& g, double x, void*) { g = -2 * (x - 3); }

// f(x) = x never lets the step shrink: the search runs until it is stopped.
double Slope(double x, void* data) {
    ++static_cast<Log*>(data)->fCalls;
    return x;
}
void One(double& g, double, void*) { g = 1; }

// The sum of squares, logged, and its gradient.
double SumSquares(A& x, void* data) {
    static_cast<Log*>(data)->Add('f', x);
    double s = 0;
    for (int i = 0; i < x.Len(); ++i) s += x[i] * x[i];
    return s;
}
void SumSquaresGradient(A& g, A& x, void* data) {
    static_cast<Log*>(data)->Add('d', x);
    for (int i = 0; i < x.Len(); ++i) g[i] = 2 * x[i];
}
// Keeps every coordinate at 0.25 or above.
Log* g_clampLog = nullptr;
void ClampBelow(A& y, A& t) {
    g_clampLog->Add('c', t);
    for (int i = 0; i < t.Len(); ++i) y[i] = t[i] < 0.25 ? 0.25 : t[i];
}

// (x - 1)² + 4(y + 2)², a valley with its bottom at (1, -2).
double Valley(A& p, void*) { return (p[0] - 1) * (p[0] - 1) + 4 * (p[1] + 2) * (p[1] + 2); }
void ValleyGradient(A& g, A& p, void*) {
    g[0] = 2 * (p[0] - 1);
    g[1] = 8 * (p[1] + 2);
}
double NegValley(A& p, void* data) { return -Valley(p, data); }
void NegValleyGradient(A& g, A& p, void* data) {
    ValleyGradient(g, p, data);
    g *= -1.0;
}
void IntoUnitBox(A& y, A& t) {
    for (int i = 0; i < t.Len(); ++i) y[i] = t[i] < 0 ? 0 : t[i] > 1 ? 1 : t[i];
}
void ShortGradient(A& g, A&, void*) { g = A(1, 1.0); }

A Pair(double a, double b) {
    A p(2);
    p[0] = a;
    p[1] = b;
    return p;
}

}  // namespace

TEST(FindExtremum, OneVariableStepsTracedByHand) {
    // f = x² from 1 with h = 1/4: the trials 1/2 and 0 improve, -1 does
    // not; h doubled twice and halved once is 1/2, and x moves to 0. There
    // the gradient is 0, the trial stays at 0 without improving, and the
    // halving loop ends at once since the step |0·h| is below eps.
    Log log;
    double x = 7;
    EXPECT_EQ(qvFindExtremum().GradMethod(x, Square, SquareSlope, 1, 0.25, 1e-9, &log), 0);
    EXPECT_EQ(x, 0);
    const std::vector<std::string> want = {"f 1.000000",  "d 1.000000", "f 0.500000", "f 0.000000",
                                           "f -1.000000", "d 0.000000", "f 0.000000", "f 0.000000"};
    EXPECT_EQ(log.calls, want);
}

TEST(FindExtremum, MinimaMaximaAndTheSignOfTheStep) {
    struct Case {
        double (*f)(double, void*);
        void (*d)(double&, double, void*);
        double h;
    };
    // A bowl searched downwards and a cap upwards reach 3 from either side.
    for (const Case& c : {Case{Bowl, BowlSlope, 0.1}, Case{Cap, CapSlope, -0.1}})
        for (double x0 : {0.0, 10.0}) {
            double x = 0;
            EXPECT_EQ(qvFindExtremum().GradMethod(x, c.f, c.d, x0, c.h, 1e-9, nullptr), 0);
            EXPECT_NEAR(x, 3, 1e-6) << x0 << " " << c.h;
        }

    // A negative step on the bowl climbs it: the first trial from 0 lies at
    // -0.6, away from 3, where a positive step tries 0.6. Climbing goes on
    // until the function overflows, and the search ends far away.
    for (double h : {0.1, -0.1}) {
        Log log;
        double x = 0;
        qvFindExtremum().GradMethod(x, LoggedBowl, BowlSlope, 0, h, 1e-9, &log);
        ASSERT_GE(log.calls.size(), 2u);
        EXPECT_EQ(log.calls[1], h < 0 ? "f -0.600000" : "f 0.600000");
        EXPECT_TRUE(h < 0 ? x < -1e100 : std::fabs(x - 3) < 1e-6) << x;
    }
}

TEST(FindExtremum, ArraysWithAndWithoutCorrection) {
    // The valley's bottom, and the top of the valley turned over.
    for (int up = 0; up < 2; ++up) {
        A x0 = Pair(4, 3), x;
        const int r = up ? qvFindExtremum().GradMethod(x, NegValley, NegValleyGradient, x0, -0.05, 1e-10, nullptr)
                         : qvFindExtremum().GradMethod(x, Valley, ValleyGradient, x0, 0.05, 1e-10, nullptr);
        EXPECT_EQ(r, 0);
        EXPECT_NEAR(x[0], 1, 1e-6);
        EXPECT_NEAR(x[1], -2, 1e-6);
    }

    // Corrected into the unit box, the search ends on the box's nearest
    // corner, (1, 0); x may be the start point itself.
    A x = Pair(0.5, 0.5);
    EXPECT_EQ(qvFindExtremum().GradMethod(x, Valley, ValleyGradient, IntoUnitBox, x, 0.05, 1e-10, nullptr), 0);
    EXPECT_EQ(x, Pair(1, 0));

    // A gradient of the wrong length fails in the array arithmetic and
    // leaves x as it was.
    A kept = Pair(7, 7);
    A start = Pair(0, 0);
    CQV_EXPECT_BAD(qvFindExtremum().GradMethod(kept, Valley, ShortGradient, start, 0.1, 1e-9, nullptr),
                   qvMsg::DifferentRange);
    EXPECT_EQ(kept, Pair(7, 7));
}

TEST(FindExtremum, TheCorrectionSeesEveryTrialBeforeTheFunction) {
    // Sum of squares from (1, 1), h = 1/4, every coordinate kept at 0.25 or
    // above: each trial x - g·h goes to the correction first and the
    // corrected point to f. The gradient is taken only at accepted points.
    Log log;
    g_clampLog = &log;
    A x0 = Pair(1, 1), x;
    EXPECT_EQ(qvFindExtremum().GradMethod(x, SumSquares, SumSquaresGradient, ClampBelow, x0, 0.25, 1e-3, &log), 0);
    g_clampLog = nullptr;
    EXPECT_EQ(x, Pair(0.25, 0.25));

    ASSERT_GE(log.calls.size(), 8u);
    const std::vector<std::string> head = {"f 1.000000 1.000000",   "d 1.000000 1.000000",
                                           "c 0.500000 0.500000",   "f 0.500000 0.500000",
                                           "c 0.000000 0.000000",   "f 0.250000 0.250000",
                                           "c -1.000000 -1.000000", "f 0.250000 0.250000"};
    EXPECT_EQ(std::vector<std::string>(log.calls.begin(), log.calls.begin() + 8), head);
    std::string accepted = "1.000000 1.000000";
    for (std::size_t i = 2; i < log.calls.size(); ++i) {
        const std::string& s = log.calls[i];
        if (s[0] == 'c') {
            ASSERT_LT(i + 1, log.calls.size());
            EXPECT_EQ(log.calls[i + 1][0], 'f') << i;
        } else if (s[0] == 'f') {
            EXPECT_EQ(log.calls[i - 1][0], 'c') << i;  // no trial escapes the correction
        } else {
            EXPECT_EQ(s, "d 0.250000 0.250000") << i;  // the only point accepted after the start
        }
    }
}

TEST(FindExtremum, TimeLimitAndTrialBound) {
    qvFindExtremum s;
    EXPECT_EQ(s.GetMaxTime(), -1);
    s.SetMaxTime(LONG_MAX);
    EXPECT_EQ(s.GetMaxTime(), INT32_MAX);
    // A negative limit other than -1 has passed at the first check.
    s.SetMaxTime(-5);
    Log early;
    double x = 1;
    EXPECT_EQ(s.GradMethod(x, Square, SquareSlope, 0, 0.1, 1e-9, &early), 1);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(early.calls, std::vector<std::string>{"f 0.000000"});

    s.SetMaxTime(0);
    qvFindExtremum copy;
    copy = s;
    EXPECT_EQ(copy.GetMaxTime(), 0);

    // With a limit of 0 a search that never converges stops at the end of
    // the second it started in; the trial bound does not apply.
    Log log;
    x = 0;
    const std::time_t start = std::time(nullptr);
    EXPECT_EQ(s.GradMethod(x, Slope, One, 0, 0.1, 0, &log), 1);
    const std::time_t stop = std::time(nullptr);
    EXPECT_GE(stop - start, 1);
    EXPECT_LE(stop - start, 2);
    EXPECT_LT(x, 0);  // it went downhill

    // Without a limit the same search gives up after the trial bound: one
    // evaluation at the start, then one per trial point.
    Log bounded;
    x = 0;
    EXPECT_EQ(qvFindExtremum().GradMethod(x, Slope, One, 0, 0.1, 0, &bounded), 1);
    EXPECT_EQ(bounded.fCalls, 1LL + qvFindExtremum::MaxTrialsWithoutLimit);
    EXPECT_TRUE(x < -1e300);
}
