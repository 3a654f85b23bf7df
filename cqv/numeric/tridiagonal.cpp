#include "cqv/numeric/tridiagonal_impl.h"

CQV_INSTANTIATE(qvMatrix3Diag<double>)
