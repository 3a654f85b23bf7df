#include "cqv/arrays/simple_array_impl.h"
#include "cqv/linalg/matrix_impl.h"

CQV_INSTANTIATE(qvMatrix<double>)
CQV_INSTANTIATE(qvMatrix<qvComplex>)
CQV_INSTANTIATE(qvMatrix<qvTVec3<double>>)

// Arrays of matrices: built, copied by assignment and destroyed like the
// arrays of vectors.
CQV_INSTANTIATE(qvSimpleArray<qvMatrix<double>>)
