#include "cqv/linalg/lu_decomposition_impl.h"

#define CQV_INSTANTIATE_LU(T) CQV_INSTANTIATE(qvLUDecomposition<T>)
CQV_FOR_EACH_LU_TYPE(CQV_INSTANTIATE_LU)
