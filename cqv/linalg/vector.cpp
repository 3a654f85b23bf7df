#include "cqv/arrays/simple_array_impl.h"
#include "cqv/linalg/vector_impl.h"

CQV_INSTANTIATE(qvVector<double>)
CQV_INSTANTIATE(qvVector<qvComplex>)
CQV_INSTANTIATE(qvVector<qvTVec3<double>>)
CQV_INSTANTIATE(qvColumnVector<double>)
CQV_INSTANTIATE(qvColumnVector<qvComplex>)
CQV_INSTANTIATE(qvColumnVector<qvTVec3<double>>)
CQV_INSTANTIATE(qvLineVector<double>)
CQV_INSTANTIATE(qvLineVector<qvComplex>)
CQV_INSTANTIATE(qvLineVector<qvTVec3<double>>)

// Arrays of vectors: elements are built in every fresh block, copied into
// fresh storage by assignment (a private copy, since a copy-constructed
// vector would only be a window) and destroyed on release.
CQV_INSTANTIATE(qvSimpleArray<qvColumnVector<double>>)
CQV_INSTANTIATE(qvSimpleArray<qvLineVector<double>>)
