// Member definitions of qvPolynom<E>; included only by the library's sources
// that instantiate it. Not installed.
#ifndef CQV_NUMERIC_POLYNOM_IMPL_H
#define CQV_NUMERIC_POLYNOM_IMPL_H

#include "cqv/core/exceptions.h"
#include "cqv/numeric/messages.h"
#include "cqv/linalg/vector_impl.h"
#include "cqv/numeric/polynom.h"

template <class E>
qvPolynom<E>::~qvPolynom() {}

template <class E>
qvPolynom<E>& qvPolynom<E>::operator=(const qvPolynom& p) {
    SetKoef(p, p.x0, p.koefType);
    return *this;
}

template <class E>
void qvPolynom<E>::SetKoef(const qvColumnVector<E>& c, E offset, KoefType k) {
    qvVector<E>::operator=(c);
    x0 = offset;
    koefType = k;
}

template <class E>
E qvPolynom<E>::operator()(E x) const {
    return Derivative(x, 0);
}

template <class E>
E qvPolynom<E>::Derivative(E x, int k) const {
    const int len = this->len;
    if (k < 0) k = 0;
    if (k >= len) return E(0);
    // The derivative is a polynomial of the first n coefficients.
    const int n = len - k;
    const E t = x - x0;
    const E* c = this->data;
    const int tab = this->tab;
    switch (koefType) {
    case KoefPower: {
        // Horner's rule over c[j]·(D-j)·(D-j-1)·…·(D-j-k+1), the falling
        // product of k factors formed first.
        E v = E(0);
        for (int j = 0, power = len - 1; j < n; ++j, --power) {
            E falling = E(1);
            for (int f = 0; f < k; ++f) falling = falling * E(power - f);
            const E a = c[j * tab] * falling;
            v = j == 0 ? a : v * t + a;
        }
        return v;
    }
    case KoefTaylor: {
        // Each step divides by the order of the term it completes: n-1, n-2,
        // …, 1.
        E v = c[0];
        for (int j = 1; j < n; ++j) v = v * t / E(n - j) + c[j * tab];
        return v;
    }
    }
    throw BadParameters(qvMsg::PolynomWrongKoefType);
}

#endif  // CQV_NUMERIC_POLYNOM_IMPL_H
