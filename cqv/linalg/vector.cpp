#include "cqv/arrays/simple_array_impl.h"
#include "cqv/linalg/vector_impl.h"

#define CQV_INSTANTIATE_VECTORS(T) \
    CQV_INSTANTIATE(qvVector<T>) CQV_INSTANTIATE(qvColumnVector<T>) CQV_INSTANTIATE(qvLineVector<T>)
CQV_FOR_EACH_LINALG_TYPE(CQV_INSTANTIATE_VECTORS)

// Arrays of vectors: elements are built in every fresh block, copied into
// fresh storage by assignment (a private copy, since a copy-constructed
// vector would only be a window) and destroyed on release.
#define CQV_INSTANTIATE_VECTOR_ARRAYS(T) \
    CQV_INSTANTIATE(qvSimpleArray<qvColumnVector<T>>) CQV_INSTANTIATE(qvSimpleArray<qvLineVector<T>>)
CQV_FOR_EACH_VECTOR_ARRAY_TYPE(CQV_INSTANTIATE_VECTOR_ARRAYS)
