#include "cqv/arrays/simple_array_2d_impl.h"

CQV_INSTANTIATE(qvSimpleArray2D<double>)
