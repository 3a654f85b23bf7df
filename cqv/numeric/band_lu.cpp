#include "cqv/numeric/band_lu_impl.h"

#define CQV_INSTANTIATE_BAND_LU(T) CQV_INSTANTIATE(qvBandLUDecomposition<T>)
CQV_FOR_EACH_BAND_LU_TYPE(CQV_INSTANTIATE_BAND_LU)
