#include "cqv/arrays/simple_array_impl.h"

CQV_INSTANTIATE(qvSimpleArray<char>)
CQV_INSTANTIATE(qvSimpleArray<unsigned char>)
CQV_INSTANTIATE(qvSimpleArray<short int>)
CQV_INSTANTIATE(qvSimpleArray<unsigned short int>)
CQV_INSTANTIATE(qvSimpleArray<int>)
CQV_INSTANTIATE(qvSimpleArray<float>)
CQV_INSTANTIATE(qvSimpleArray<double>)
CQV_INSTANTIATE(qvSimpleArray<qvComplex>)
CQV_INSTANTIATE(qvSimpleArray<qvVec2>)
