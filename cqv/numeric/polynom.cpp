#include "cqv/arrays/simple_array_impl.h"
#include "cqv/numeric/polynom_impl.h"

CQV_INSTANTIATE(qvPolynom<double>)

// Arrays of polynomials: elements are built in every fresh block and copied
// into fresh storage by assignment, so each copy owns its coefficients (a
// copy-constructed polynomial would only share them).
CQV_INSTANTIATE(qvSimpleArray<qvPolynom<double>>)
