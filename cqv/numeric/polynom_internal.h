// The evaluation rule of qvPolynom, on raw coefficients, shared by the
// polynomial itself and by the spline's inner loops. Library-private.
#ifndef CQV_NUMERIC_POLYNOM_INTERNAL_H
#define CQV_NUMERIC_POLYNOM_INTERNAL_H

#include "cqv/core/exceptions.h"
#include "cqv/numeric/messages.h"

namespace qvDetail {

// The coefficient forms, as qvPolynom<E>::KoefType stores them.
enum : int { PolynomPower = 0, PolynomTaylor = 1 };

// The k-th derivative (a negative k counts as 0) at t = x - x0 of the
// polynomial whose len coefficients, highest order first, lie at c, c + tab,
// …, in the given form. 0 for k ≥ len; any form other than power or Taylor
// throws "qvPolynom : wrong KoefType".
//
//   power:  Horner's rule over c[j]·(D-j)·(D-j-1)·…·(D-j-k+1), the falling
//           product of k factors formed first (D = len - 1);
//   Taylor: v = c[0], then v = v·t/(n-j) + c[j] for j = 1 .. n-1, n = len - k.
template <class E>
inline E PolynomDerivative(const E* c, int len, int tab, int form, E t, int k) {
    if (k < 0) k = 0;
    if (k >= len) return E(0);
    const int n = len - k;
    if (form == PolynomPower) {
        E v = c[0];
        if (k == 0) {
            for (int j = 1; j < n; ++j) v = v * t + c[j * tab];
            return v;
        }
        for (int j = 0, power = len - 1; j < n; ++j, --power) {
            E falling = E(1);
            for (int f = 0; f < k; ++f) falling = falling * E(power - f);
            const E a = c[j * tab] * falling;
            v = j == 0 ? a : v * t + a;
        }
        return v;
    }
    if (form == PolynomTaylor) {
        // Each step divides by the order of the term it completes: n-1, n-2,
        // …, 1.
        E v = c[0];
        for (int j = 1; j < n; ++j) v = v * t / E(n - j) + c[j * tab];
        return v;
    }
    throw BadParameters(qvMsg::PolynomWrongKoefType);
}

}  // namespace qvDetail

#endif  // CQV_NUMERIC_POLYNOM_INTERNAL_H
