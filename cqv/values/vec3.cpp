#include "cqv/values/vec3.h"

#include <cmath>

#include "cqv/values/matrix3x3.h"

template <class T>
T qvTVec3<T>::Norm() const {
    return std::sqrt(ScalarMul());
}

template <class T>
qvTMatrix3x3<T> qvTVec3<T>::MulCL(const qvTVec3& b) const {
    qvTMatrix3x3<T> r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r(i, j) = v[i] * b.v[j];
    return r;
}

template <class T>
qvTVec3<T> qvTVec3<T>::operator*(const qvTMatrix3x3<T>& m) const {
    qvTVec3 r;
    for (int j = 0; j < 3; ++j) r.v[j] = v[0] * m(0, j) + v[1] * m(1, j) + v[2] * m(2, j);
    return r;
}

#define CQV_INSTANTIATE_VEC3(T) CQV_INSTANTIATE(qvTVec3<T>)
CQV_FOR_EACH_VEC3_TYPE(CQV_INSTANTIATE_VEC3)
