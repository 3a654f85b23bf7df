// Member definitions of qvPolynom<E>; included only by the library's sources
// that instantiate it. Not installed.
#ifndef CQV_NUMERIC_POLYNOM_IMPL_H
#define CQV_NUMERIC_POLYNOM_IMPL_H

#include "cqv/core/exceptions.h"
#include "cqv/numeric/messages.h"
#include "cqv/linalg/vector_impl.h"
#include "cqv/numeric/polynom.h"
#include "cqv/numeric/polynom_internal.h"

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
    return qvDetail::PolynomDerivative(this->data, this->len, this->tab, static_cast<int>(koefType), x - x0, k);
}

#endif  // CQV_NUMERIC_POLYNOM_IMPL_H
