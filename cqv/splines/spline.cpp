#include "cqv/splines/spline_impl.h"

CQV_INSTANTIATE(qvSpline<double>)
