#include "cqv/arrays/simple_array_impl.h"
#include "cqv/numeric/polynom_impl.h"

// Polynomials, and arrays of them: the elements of an array are built in
// every fresh block and copied into fresh storage by assignment, so each copy
// owns its coefficients (a copy-constructed polynomial would only share
// them).
#define CQV_INSTANTIATE_POLYNOM(T) CQV_INSTANTIATE(qvPolynom<T>) CQV_INSTANTIATE(qvSimpleArray<qvPolynom<T>>)
CQV_FOR_EACH_POLYNOM_TYPE(CQV_INSTANTIATE_POLYNOM)
