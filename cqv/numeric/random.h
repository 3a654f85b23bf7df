// Quick pseudo-random numbers from one small built-in generator.
//
// A multiplicative congruential generator (multiplier 113, prime modulus
// 12703) whose state lives in the library and starts at 7531 when the library
// is loaded. It cannot be reseeded, its period is 12702 draws, and all
// callers in the process share it: it is meant for quick simulations, not for
// statistics that need long or independent streams. Nothing here allocates
// or throws.
#ifndef CQV_NUMERIC_RANDOM_H
#define CQV_NUMERIC_RANDOM_H

#include "cqv/core/export.h"

// The next uniform deviate, strictly between 0 and 1.
CQV_API double rnd();

// A uniform deviate between a and b: a + (b - a)·rnd(). a > b reverses the
// interval.
CQV_API double randab(double a, double b);

// An approximately normal deviate with mean m and deviation d: the sum of
// twelve successive rnd() draws, minus 6, times d, plus m. Bounded to
// m ± 6·d.
CQV_API double Normal(double m, double d);

// A negative exponential deviate with rate r (mean 1/r): -ln(rnd())/r.
CQV_API double NegExp(double r);

#endif  // CQV_NUMERIC_RANDOM_H
