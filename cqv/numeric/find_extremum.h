// qvFindExtremum: a local minimum or maximum by steepest descent along a
// gradient the caller supplies.
//
// From the start point the search steps against the gradient, x - g·h. In
// each round the step doubles while the trial keeps lowering the function
// (up to ten trials, all from the same point and compared with its value),
// then halves once; when not even the first trial lowers the function the
// step is halved until one does. The search has converged when the last
// step, |h| times the length of the gradient, falls below eps. A negative h
// searches a maximum: the search then minimises -f, and x - g·h moves up the
// gradient.
//
// Every callback receives the caller's data pointer unchanged. The array
// forms may also map every trial point to an admissible one through a
// correction callback; the corrected point is the one evaluated and, when
// accepted, kept.
//
// The search can be bounded by a wall-clock limit in whole seconds (the C
// clock, time()), checked before every gradient and, since halving the step
// may go on without end once the step is infinite or eps is not positive,
// before every trial of the halving phase too. A search without a limit
// stops after MaxTrialsWithoutLimit trial points, so that a function that
// never lets the step fall below eps cannot hold the caller forever.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_NUMERIC_FIND_EXTREMUM_H
#define CQV_NUMERIC_FIND_EXTREMUM_H

#include <cstdint>

#include "cqv/arrays/array.h"
#include "cqv/core/export.h"

// A local minimum or maximum by steepest descent along a gradient the
// caller supplies.
class CQV_API qvFindExtremum {
public:
    // How many trial points (function evaluations after the one at the
    // start) a search without a time limit may take before it gives up and
    // returns 1. A converging search needs far fewer: a well-scaled
    // quadratic in a few variables converges within some hundreds.
    static constexpr std::int32_t MaxTrialsWithoutLimit = 1000000;

    // No time limit (-1).
    qvFindExtremum();
    // Copies the time limit.
    qvFindExtremum& operator=(const qvFindExtremum& o);
    CQV_INLINE qvFindExtremum(const qvFindExtremum& o) : maxTime(o.maxTime) {}

    // The time limit in seconds; -1 means none. The search returns 1 once
    // more than t seconds have passed since it started (by the C clock, which
    // counts whole seconds: a limit of 0 stops the search within the first
    // second that ends). Any other negative t stops it at the first check.
    // Values beyond the 32-bit range are taken as its nearest end.
    void SetMaxTime(long t);
    // The time limit in seconds, -1 for none.
    CQV_INLINE std::int32_t GetMaxTime() const { return maxTime; }

    // Searches an extremum of f(x, data) of one variable from x0 with the
    // initial step h (h < 0: a maximum) until the step falls below eps.
    // d(g, x, data) writes f'(x) into g. x receives the best point found.
    // Returns 0 when converged, 1 when stopped by the time limit or, without
    // one, by MaxTrialsWithoutLimit. x is written only when the search
    // returns: an exception from a callback leaves it as it was.
    int GradMethod(double& x, double (*f)(double, void*), void (*d)(double&, double, void*), double x0, double h,
                   double eps, void* data) const;

    // The same for a function of an array. d(g, x, data) writes the gradient
    // at x into g, which arrives with x's length. The trial points are
    // x - g·h by the array arithmetic, so a gradient of another length than
    // x throws BadParameters "Different range" (x is then left as it was).
    // x may be x0 itself.
    int GradMethod(qvArray<double>& x, double (*f)(qvArray<double>&, void*),
                   void (*d)(qvArray<double>&, qvArray<double>&, void*), qvArray<double>& x0, double h, double eps,
                   void* data) const;

    // The same with a correction: c(y, t) receives every trial point t (in
    // the doubling and in the halving phase, before f sees it) and writes
    // into y the point to evaluate instead; y arrives holding a copy of t.
    // The start point x0 is taken as it is.
    int GradMethod(qvArray<double>& x, double (*f)(qvArray<double>&, void*),
                   void (*d)(qvArray<double>&, qvArray<double>&, void*),
                   void (*c)(qvArray<double>&, qvArray<double>&), qvArray<double>& x0, double h, double eps,
                   void* data) const;

private:
    std::int32_t maxTime;
};

#endif  // CQV_NUMERIC_FIND_EXTREMUM_H
