// qvIntegrateSimpson: a definite integral by Simpson's rule with repeated
// halving of the step.
//
// The rule starts from the three points a, (a+b)/2, b and halves the step
// until two successive Simpson values differ by less than the absolute
// tolerance eps. Each round reuses every value already computed: the old
// midpoints join the even points and only the new midpoints are evaluated,
// so round r costs 2^r evaluations. The rule is exact for cubics, so a
// cubic integrand stops after the first halving (five evaluations).
//
// The tolerance bounds the difference of two successive values, not the
// error: an integrand that takes the same values at the first few sample
// points (one periodic with them, say) can stop early on two values that
// agree by coincidence.
//
// Allocates nothing.
#ifndef CQV_NUMERIC_INTEGRATE_H
#define CQV_NUMERIC_INTEGRATE_H

#include "cqv/core/export.h"

// ∫ f(t, data) dt over [a, b]. The evaluations run f(a), f(b), f((a+b)/2),
// then each round's new midpoints a + h/2 + k·h (k = 0, 1, … while below b,
// h the step before halving) in increasing order, and the sums accumulate
// in that order. There is no bound on the number of rounds: the halving
// goes on until the tolerance is met, except that a value that is not
// finite (from an integrand that gives NaN or infinity) is returned at once.
// data is passed to f unchanged. a < b and eps > 0 are expected.
CQV_API double qvIntegrateSimpson(double (*f)(double, void*), void* data, double a, double b, double eps);

#endif  // CQV_NUMERIC_INTEGRATE_H
