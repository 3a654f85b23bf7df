#include "cqv/values/matrix3x3.h"

#include <cmath>

#include "cqv/core/exceptions.h"
#include "cqv/values/messages.h"

template <class T>
qvTMatrix3x3<T>::qvTMatrix3x3(T d) {
    for (int i = 0; i < 9; ++i) m[i] = d;
}

template <class T>
void qvTMatrix3x3<T>::operator+=(const qvTMatrix3x3& b) {
    for (int i = 0; i < 9; ++i) m[i] += b.m[i];
}

template <class T>
void qvTMatrix3x3<T>::operator-=(const qvTMatrix3x3& b) {
    for (int i = 0; i < 9; ++i) m[i] -= b.m[i];
}

template <class T>
qvTMatrix3x3<T> qvTMatrix3x3<T>::operator+(const qvTMatrix3x3& b) const {
    qvTMatrix3x3 r;
    for (int i = 0; i < 9; ++i) r.m[i] = m[i] + b.m[i];
    return r;
}

template <class T>
qvTMatrix3x3<T> qvTMatrix3x3<T>::operator-(const qvTMatrix3x3& b) const {
    qvTMatrix3x3 r;
    for (int i = 0; i < 9; ++i) r.m[i] = m[i] - b.m[i];
    return r;
}

template <class T>
qvTMatrix3x3<T> qvTMatrix3x3<T>::operator-() const {
    qvTMatrix3x3 r;
    for (int i = 0; i < 9; ++i) r.m[i] = -m[i];
    return r;
}

template <class T>
qvTVec3<T> qvTMatrix3x3<T>::operator*(const qvTVec3<T>& v) const {
    qvTVec3<T> r;
    for (int i = 0; i < 3; ++i) r[i] = m[3 * i] * v[0] + m[3 * i + 1] * v[1] + m[3 * i + 2] * v[2];
    return r;
}

template <class T>
qvTMatrix3x3<T> qvTMatrix3x3<T>::operator*(const qvTMatrix3x3& b) const {
    qvTMatrix3x3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[3 * i + j] = m[3 * i] * b.m[j] + m[3 * i + 1] * b.m[3 + j] + m[3 * i + 2] * b.m[6 + j];
    return r;
}

template <class T>
void qvTMatrix3x3<T>::Copy(const qvMatrix2x2& a, int n) {
    if (n < 0 || n > 2) throw BadParameters(qvMsg::Matrix3x3CopyIndex);
    // The two indices that remain when n is left out, in order.
    const int keep[3][2] = {{1, 2}, {0, 2}, {0, 1}};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) m[3 * keep[n][i] + keep[n][j]] = a(i, j);
}

template <class T>
void qvTMatrix3x3<T>::SetTurn(T a, T b, T g) {
    const T ca = std::cos(a), sa = std::sin(a);
    const T cb = std::cos(b), sb = std::sin(b);
    const T cg = std::cos(g), sg = std::sin(g);
    m[0] = cb * cg;
    m[1] = sa * sb * cg - ca * sg;
    m[2] = ca * sb * cg + sa * sg;
    m[3] = cb * sg;
    m[4] = sa * sb * sg + ca * cg;
    m[5] = ca * sb * sg - sa * cg;
    m[6] = -sb;
    m[7] = sa * cb;
    m[8] = ca * cb;
}

template <class T>
void qvTMatrix3x3<T>::SetTurn(T c, T s, qvTVec3<T> axis) {
    const qvTVec3<T> n = axis / axis.Norm();
    // The cross-product matrix of n.
    const T k[9] = {0, -n.Z(), n.Y(), n.Z(), 0, -n.X(), -n.Y(), n.X(), 0};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[3 * i + j] = (1 - c) * n[i] * n[j] + c * (i == j ? T(1) : T(0)) + s * k[3 * i + j];
}

template <class T>
void qvTMatrix3x3<T>::SetTurn(T angle, qvTVec3<T> axis) {
    SetTurn(std::cos(angle), std::sin(angle), axis);
}

template <class T>
void qvTMatrix3x3<T>::SetTurn(qvTVec3<T> from, qvTVec3<T> to) {
    const qvTVec3<T> f = from / from.Norm();
    const qvTVec3<T> t = to / to.Norm();
    const T c = f.ScalarMul(t);
    const qvTVec3<T> w = f.VectorMul(t);
    const T s = w.Norm();
    if (s > 1e-12) {
        SetTurn(c, s, w);
        return;
    }
    MakeE();
    if (c < 0)
        for (int i = 0; i < 9; ++i) m[i] = -m[i];
}

template <class T>
void qvTMatrix3x3<T>::MakeNull() {
    for (int i = 0; i < 9; ++i) m[i] = 0;
}

template <class T>
void qvTMatrix3x3<T>::MakeE() {
    for (int i = 0; i < 9; ++i) m[i] = i % 4 == 0 ? T(1) : T(0);
}

// The members that need the general matrix (the conversions, Det and
// Inverse) are defined and instantiated with it, in
// cqv/linalg/value_types.cpp.
#define CQV_INSTANTIATE_MATRIX3X3(T) CQV_INSTANTIATE(qvTMatrix3x3<T>)
CQV_FOR_EACH_MATRIX3X3_TYPE(CQV_INSTANTIATE_MATRIX3X3)
