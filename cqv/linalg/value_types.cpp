// The members of the small value types that need the vectors and matrices:
// conversions from and to the general column vector and matrix, and the
// determinant and inverse of the 3 × 3 matrix by the general elimination.
#include "cqv/core/exceptions.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/messages.h"
#include "cqv/linalg/vector.h"
#include "cqv/values/matrix2x2.h"
#include "cqv/values/matrix3x3.h"
#include "cqv/values/vec2.h"

qvVec2::qvVec2(const qvColumnVector<double>& c) {
    if (c.Len() != 2) throw BadParameters(qvMsg::Vec2DimensionTwo);
    v[0] = c[0];
    v[1] = c[1];
}

qvMatrix2x2::qvMatrix2x2(const qvMatrix<double>& a) {
    if (a.ColumnLen() != 2 || a.LineLen() != 2) throw BadParameters(qvMsg::Matrix2x2FromMatrix);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) m[2 * i + j] = a(i, j);
}

qvMatrix2x2::operator qvMatrix<double>() const {
    qvMatrix<double> a(2, 2);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) a(i, j) = m[2 * i + j];
    return a;
}

namespace {

// A general 3 × 3 matrix viewing the nine elements in place.
template <class T>
qvMatrix<T> View(T* m) {
    qvMatrix<T> v;
    v.SetDirectly(m, 3, 3, 3, 1);
    return v;
}

}  // namespace

template <class T>
qvTMatrix3x3<T>::qvTMatrix3x3(const qvMatrix<T>& a) {
    if (a.ColumnLen() != 3 || a.LineLen() != 3) throw BadParameters(qvMsg::Matrix3x3FromMatrix);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[3 * i + j] = a(i, j);
}

template <class T>
qvTMatrix3x3<T>::operator qvMatrix<T>() const {
    qvMatrix<T> a(3, 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) a(i, j) = m[3 * i + j];
    return a;
}

template <class T>
T qvTMatrix3x3<T>::Det() const {
    return View(const_cast<T*>(m)).Det();
}

template <class T>
qvTMatrix3x3<T> qvTMatrix3x3<T>::Inverse() const {
    return qvTMatrix3x3(View(const_cast<T*>(m)).Inverse());
}

// The rest of the 3 × 3 matrix is instantiated in cqv/values/matrix3x3.cpp;
// these four members are instantiated here, for the same element types.
#define CQV_INSTANTIATE_MATRIX3X3_LINALG(T)                       \
    template qvTMatrix3x3<T>::qvTMatrix3x3(const qvMatrix<T>&);   \
    template qvTMatrix3x3<T>::operator qvMatrix<T>() const;       \
    template T qvTMatrix3x3<T>::Det() const;                      \
    template qvTMatrix3x3<T> qvTMatrix3x3<T>::Inverse() const;
CQV_FOR_EACH_MATRIX3X3_TYPE(CQV_INSTANTIATE_MATRIX3X3_LINALG)
