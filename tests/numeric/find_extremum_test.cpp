// The gradient search: its steps traced by hand, the sign of the step, the
// correction and its order, the time limit and the trial bound.
#include "cqv_near.h"
#include "cqv_test.h"

#include <climits>
#include <cmath>
#include <ctime>
#include <string>
#include <vector>

namespace {

using A = qvArray<double>;
using Calls = std::vector<std::string>;

// s·((x - c)² + lift), its gradient, and what the callbacks saw: "f x",
// "d x" or "c x" with the point (the first 200 calls), and how often f ran.
struct Bowl {
    double c, s;
    Calls calls;
    double lift = 0;
    long long evaluations = 0;
    void Add(char what, const A& p) {
        if (calls.size() == 200) return;
        std::string line(1, what);
        for (int i = 0; i < p.Len(); ++i) line += " " + std::to_string(p[i]);
        calls.push_back(line);
    }
};

double F1(double x, void* d) {
    Bowl& b = *static_cast<Bowl*>(d);
    b.Add('f', A(1, x));
    ++b.evaluations;
    return b.s * ((x - b.c) * (x - b.c) + b.lift);
}
void D1(double& g, double x, void* d) {
    Bowl& b = *static_cast<Bowl*>(d);
    b.Add('d', A(1, x));
    g = 2 * b.s * (x - b.c);
}
// f(x) = x never lets the step shrink.
double Rising(double x, void* d) { return ++static_cast<Bowl*>(d)->evaluations, x; }
void One(double& g, double, void*) { g = 1; }

// s·((x - c)² + 4(y + 2)²) over arrays.
double F2(A& p, void* d) {
    Bowl& b = *static_cast<Bowl*>(d);
    b.Add('f', p);
    return b.s * ((p[0] - b.c) * (p[0] - b.c) + 4 * (p[1] + 2) * (p[1] + 2));
}
void D2(A& g, A& p, void* d) {
    Bowl& b = *static_cast<Bowl*>(d);
    b.Add('d', p);
    g[0] = 2 * b.s * (p[0] - b.c);
    g[1] = 8 * b.s * (p[1] + 2);
}
void ShortGradient(A& g, A&, void*) { g = A(1, 1.0); }

// The correction: every coordinate at -1 or above, logged into g_log.
Bowl* g_log = nullptr;
void AtLeastMinusOne(A& y, A& t) {
    g_log->Add('c', t);
    for (int i = 0; i < t.Len(); ++i) y[i] = t[i] < -1 ? -1 : t[i];
}

A Pair(double a, double b) {
    A p(2);
    p[0] = a;
    p[1] = b;
    return p;
}

}  // namespace

TEST(FindExtremum, OneVariableTracedByHandAndTheSignOfTheStep) {
    // x² from 1 with h = 1/4: the trials 1/2 and 0 improve, -1 does not, so
    // x moves to 0 and h (doubled twice, halved once) is 1/2. There the
    // gradient is 0, the trial stays at 0, and the halving stops at once
    // since the step |0·h| is below eps.
    Bowl b{0, 1, {}};
    double x = 7;
    EXPECT_EQ(qvFindExtremum().GradMethod(x, F1, D1, 1, 0.25, 1e-9, &b), 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(b.calls, (Calls{"f 1.000000", "d 1.000000", "f 0.500000", "f 0.000000", "f -1.000000",
                              "d 0.000000", "f 0.000000", "f 0.000000"}));

    // (x - 3)² + 2 falls to 3 with h > 0 and its negative climbs to it with
    // h < 0, from either side, also from a step so long that it has to be
    // halved first. (x - 3)² with h < 0 climbs away: its first trial from 0
    // is -0.6, and it ends far off once the function overflows.
    for (double sign : {1.0, -1.0})
        for (double x0 : {0.0, 10.0})
            for (double h : {0.1, 10.0}) {
                Bowl up{3, sign, {}, 2};
                EXPECT_EQ(qvFindExtremum().GradMethod(x, F1, D1, x0, h * sign, 1e-9, &up), 0);
                EXPECT_NEAR(x, 3, 1e-6) << sign << " " << x0 << " " << h;
            }
    Bowl away{3, 1, {}};
    qvFindExtremum().GradMethod(x, F1, D1, 0, -0.1, 1e-9, &away);
    EXPECT_EQ(away.calls[2], "f -0.600000");
    EXPECT_LT(x, -1e100);
}

TEST(FindExtremum, ArraysTheCorrectionAndItsOrder) {
    // The valley's bottom (1, -2), and its top when turned over.
    for (double sign : {1.0, -1.0}) {
        Bowl b{1, sign, {}};
        A x0 = Pair(4, 3), x;
        EXPECT_EQ(qvFindExtremum().GradMethod(x, F2, D2, x0, 0.05 * sign, 1e-10, &b), 0);
        EXPECT_TRUE(cqvtest::Near({x[0], x[1]}, {1, -2}, 1e-6)) << sign;
    }
    // At the bottom the gradient is zero and so is the step |h|·|g|: the
    // search stops after one halving, as the traced one-variable search.
    Bowl flat{0, 1, {}};
    A bottom, from = Pair(1, -2);
    EXPECT_EQ(qvFindExtremum().GradMethod(bottom, F2, D2, from, 0.25, 1e-9, &flat), 0);
    EXPECT_EQ(flat.calls, (Calls{"f 1.000000 -2.000000", "d 1.000000 -2.000000", "f 0.500000 -2.000000",
                                 "f 0.000000 -2.000000", "f -1.000000 -2.000000", "d 0.000000 -2.000000",
                                 "f 0.000000 -2.000000", "f 0.000000 -2.000000"}));
    // From (1, 1) with h = 1/4 towards (0, -2), kept at -1 or above: every
    // trial x - g·h goes to the correction, then the corrected point to f;
    // the gradient is taken at accepted points only. x may be the start
    // point itself.
    Bowl order{0, 1, {}};
    g_log = &order;
    A x = Pair(1, 1);
    EXPECT_EQ(qvFindExtremum().GradMethod(x, F2, D2, AtLeastMinusOne, x, 0.25, 1e-9, &order), 0);
    g_log = nullptr;
    EXPECT_NEAR(x[0], 0, 1e-9);
    EXPECT_EQ(x[1], -1);
    EXPECT_EQ(Calls(order.calls.begin(), order.calls.begin() + 6),
              (Calls{"f 1.000000 1.000000", "d 1.000000 1.000000", "c 0.500000 -5.000000", "f 0.500000 -1.000000",
                     "c 0.000000 -11.000000", "f 0.000000 -1.000000"}));
    for (std::size_t i = 2; i < order.calls.size(); ++i)
        EXPECT_TRUE(order.calls[i][0] != 'f' || order.calls[i - 1][0] == 'c') << i;

    // A gradient of the wrong length fails in the array arithmetic and
    // leaves x as it was.
    A kept = Pair(7, 7);
    CQV_EXPECT_BAD(qvFindExtremum().GradMethod(kept, F2, ShortGradient, x, 0.1, 1e-9, &order), qvMsg::DifferentRange);
    EXPECT_EQ(kept, Pair(7, 7));
}

TEST(FindExtremum, TimeLimitAndTrialBound) {
    qvFindExtremum s;
    EXPECT_EQ(s.GetMaxTime(), -1);
    s.SetMaxTime(LONG_MAX);
    EXPECT_EQ(s.GetMaxTime(), INT32_MAX);
    // A negative limit other than -1 has passed at the first check.
    s.SetMaxTime(-5);
    Bowl early{0, 1, {}};
    double x = 1;
    EXPECT_EQ(s.GradMethod(x, F1, D1, 0.5, 0.1, 1e-9, &early), 1);
    EXPECT_EQ(x, 0.5);
    EXPECT_EQ(early.calls, Calls{"f 0.500000"});

    // With a limit of 0 a search that never converges stops at the end of
    // the second it started in; the trial bound does not apply.
    qvFindExtremum limited;
    s.SetMaxTime(0);
    limited = s;
    Bowl slope{0, 1, {}};
    const std::time_t start = std::time(nullptr);
    EXPECT_EQ(limited.GradMethod(x, Rising, One, 0, 0.1, 0, &slope), 1);
    const std::time_t stop = std::time(nullptr);
    EXPECT_GE(stop - start, 1);
    EXPECT_LE(stop - start, 2);
    EXPECT_LT(x, 0);

    // Without a limit it gives up after the trial bound: one evaluation at
    // the start, then one per trial point.
    Bowl bounded{0, 1, {}};
    EXPECT_EQ(qvFindExtremum().GradMethod(x, Rising, One, 0, 0.1, 0, &bounded), 1);
    EXPECT_EQ(bounded.evaluations, 1LL + qvFindExtremum::MaxTrialsWithoutLimit);
    EXPECT_LT(x, -1e300);
}
