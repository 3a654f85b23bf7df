#include "cqv/arrays/array_impl.h"

CQV_INSTANTIATE(qvArray<char>)
CQV_INSTANTIATE(qvArray<unsigned char>)
CQV_INSTANTIATE(qvArray<short int>)
CQV_INSTANTIATE(qvArray<unsigned short int>)
CQV_INSTANTIATE(qvArray<int>)
CQV_INSTANTIATE(qvArray<float>)
CQV_INSTANTIATE(qvArray<double>)
CQV_INSTANTIATE(qvArray<qvComplex>)
CQV_INSTANTIATE(qvArray<qvVec2>)
