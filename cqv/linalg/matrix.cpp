#include "cqv/arrays/simple_array_impl.h"
#include "cqv/linalg/matrix_impl.h"

#define CQV_INSTANTIATE_MATRIX(T) CQV_INSTANTIATE(qvMatrix<T>)
CQV_FOR_EACH_LINALG_TYPE(CQV_INSTANTIATE_MATRIX)

// Arrays of matrices: built, copied by assignment and destroyed like the
// arrays of vectors.
#define CQV_INSTANTIATE_MATRIX_ARRAY(T) CQV_INSTANTIATE(qvSimpleArray<qvMatrix<T>>)
CQV_FOR_EACH_MATRIX_ARRAY_TYPE(CQV_INSTANTIATE_MATRIX_ARRAY)
