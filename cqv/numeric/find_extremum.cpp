#include "cqv/numeric/find_extremum.h"

#include <cmath>
#include <ctime>
#include <limits>

namespace {

// When a search must give up: after the time limit (checked by the caller at
// the points the search allows) or, without one, after the trial bound.
class Budget {
public:
    explicit Budget(std::int32_t limit) : limit_(limit), start_(std::time(nullptr)), trials_(0) {}

    // True once more than the limit has passed since the start.
    bool OutOfTime() const {
        return limit_ != -1 && static_cast<long long>(std::time(nullptr) - start_) > limit_;
    }
    // Counts one more trial point; true when a search without a time limit
    // has used up its trials.
    bool TrialsSpent() { return limit_ == -1 && ++trials_ > qvFindExtremum::MaxTrialsWithoutLimit; }

private:
    std::int32_t limit_;
    std::time_t start_;
    std::int32_t trials_;
};

// The descent on a function of one variable. The point, the gradient and
// the trial live here; the search below only sees values.
struct Line {
    double (*f)(double, void*);
    void (*d)(double&, double, void*);
    void* data;
    double x, g, trial, candidate;

    double Value() { return f(x, data); }
    void Gradient() {
        g = 0;
        d(g, x, data);
    }
    // f at x - g·h, kept as the trial.
    double Try(double h) {
        trial = x - g * h;
        return f(trial, data);
    }
    void KeepTrial() { candidate = trial; }
    void Accept() { x = candidate; }
    double StepLength(double h) const { return std::fabs(g * h); }
};

// The descent on a function of an array, with an optional correction of
// every trial point. The arrays are sized once and then written in place.
struct Space {
    double (*f)(qvArray<double>&, void*);
    void (*d)(qvArray<double>&, qvArray<double>&, void*);
    void (*c)(qvArray<double>&, qvArray<double>&);
    void* data;
    qvArray<double> x, g, trial, corrected, candidate;

    double Value() { return f(x, data); }
    void Gradient() {
        g.Init(x.Len());
        if (x.Len() > 0) g.Fill(0.0);
        d(g, x, data);
    }
    // f at x - g·h, corrected when a correction is given. -h·g + x equals
    // x - g·h bit for bit, and the in-place forms check the lengths as the
    // operators would.
    double Try(double h) {
        trial = g;
        trial *= -h;
        trial += x;
        if (c == nullptr) return f(trial, data);
        corrected = trial;
        c(corrected, trial);
        return f(corrected, data);
    }
    void KeepTrial() { candidate = c == nullptr ? trial : corrected; }
    void Accept() { x = candidate; }
    // |h| times the Euclidean length of the gradient, summed in index order.
    double StepLength(double h) const {
        double s = 0;
        for (int i = 0; i < g.Len(); ++i) s = i == 0 ? g[i] * g[i] : s + g[i] * g[i];
        return std::fabs(h) * std::sqrt(s);
    }
};

// The search itself, on x already set to the start point. Returns 0 when the
// step fell below eps, 1 when the budget ran out; x then holds the best
// point found.
template <class S>
int Descend(S& s, double h, double eps, Budget& budget) {
    const double sign = h < 0 ? -1.0 : 1.0;
    double value = sign * s.Value();
    for (;;) {
        if (budget.OutOfTime()) return 1;
        s.Gradient();

        // Doubling: every trial from the same x, against the same value.
        bool found = false;
        double best = 0;
        for (int i = 0; i < 10; ++i) {
            if (budget.TrialsSpent()) {
                if (found) s.Accept();
                return 1;
            }
            const double v = sign * s.Try(h);
            if (!(v < value)) break;
            s.KeepTrial();
            best = v;
            found = true;
            h *= 2;
        }
        h *= 0.5;

        // Halving, when not even the first trial lowered the function. The
        // last trial is the candidate whatever its value.
        if (!found) {
            double v;
            do {
                if (budget.OutOfTime() || budget.TrialsSpent()) return 1;
                v = sign * s.Try(h);
                s.KeepTrial();
                best = v;
                if (v >= value) h *= 0.5;
                if (s.StepLength(h) < eps) {
                    if (v < value) s.Accept();
                    return 0;
                }
            } while (v >= value);
        }

        s.Accept();
        value = best;
        if (s.StepLength(h) < eps) return 0;
    }
}

std::int32_t ClampToInt32(long t) {
    const long long v = t;
    if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

}  // namespace

qvFindExtremum::qvFindExtremum() : maxTime(-1) {}

qvFindExtremum& qvFindExtremum::operator=(const qvFindExtremum& o) {
    maxTime = o.maxTime;
    return *this;
}

void qvFindExtremum::SetMaxTime(long t) { maxTime = ClampToInt32(t); }

int qvFindExtremum::GradMethod(double& x, double (*f)(double, void*), void (*d)(double&, double, void*), double x0,
                               double h, double eps, void* data) const {
    Budget budget(maxTime);
    Line s{f, d, data, x0, 0, 0, 0};
    const int r = Descend(s, h, eps, budget);
    x = s.x;
    return r;
}

int qvFindExtremum::GradMethod(qvArray<double>& x, double (*f)(qvArray<double>&, void*),
                               void (*d)(qvArray<double>&, qvArray<double>&, void*), qvArray<double>& x0, double h,
                               double eps, void* data) const {
    return GradMethod(x, f, d, nullptr, x0, h, eps, data);
}

int qvFindExtremum::GradMethod(qvArray<double>& x, double (*f)(qvArray<double>&, void*),
                               void (*d)(qvArray<double>&, qvArray<double>&, void*),
                               void (*c)(qvArray<double>&, qvArray<double>&), qvArray<double>& x0, double h,
                               double eps, void* data) const {
    Budget budget(maxTime);
    Space s{f, d, c, data, x0, qvArray<double>(), qvArray<double>(), qvArray<double>(), qvArray<double>()};
    const int r = Descend(s, h, eps, budget);
    x = s.x;
    return r;
}
