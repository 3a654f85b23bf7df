#include "cqv/values/vec3.h"

#include <cmath>

template <class T>
T qvTVec3<T>::Norm() const {
    return std::sqrt(ScalarMul());
}

CQV_INSTANTIATE(qvTVec3<double>)
