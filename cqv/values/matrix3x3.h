// qvTMatrix3x3<T>: a 3 × 3 matrix passed and stored by value. Only
// qvTMatrix3x3<double> exists.
//
// Row-major: element (i, j) is stored at position 3·i + j. It is the linear
// part of the space transforms and the partner of qvTVec3<double>; it
// converts to and from the general qvMatrix<double>, whose elimination gives
// it its determinant and inverse. The default constructor does no work.
// The conversion to the general matrix, Det and Inverse allocate; allocation
// failure throws qvErrNoMemory.
#ifndef CQV_VALUES_MATRIX3X3_H
#define CQV_VALUES_MATRIX3X3_H

#include "cqv/core/export.h"
#include "cqv/values/matrix2x2.h"
#include "cqv/values/vec3.h"

template <class E>
class qvMatrix;

// A 3 × 3 matrix, row-major, passed and stored by value.
template <class T>
class qvTMatrix3x3 {
public:
    // Leaves the elements uninitialised.
    qvTMatrix3x3() {}
    // Every element d.
    explicit qvTMatrix3x3(T d);
    // The elements of a 3 × 3 general matrix. Throws BadParameters
    // "qvTMatrix3x3<TT>::qvTMatrix3x3<TT>( const qvMatrix<TT> & m ) : Matrix m != 3x3 "
    // (with the trailing blank) when a is not 3 × 3.
    qvTMatrix3x3(const qvMatrix<T>& a);
    // Copies the nine elements.
    qvTMatrix3x3(const qvTMatrix3x3&) = default;
    qvTMatrix3x3& operator=(const qvTMatrix3x3&) = default;
    // A 3 × 3 general matrix with the same elements.
    operator qvMatrix<T>() const;

    // Element (i, j), unchecked; modifiable even on a const matrix.
    T& operator()(int i, int j) const { return const_cast<T&>(m[3 * i + j]); }

    // Each element becomes itself plus (+=) or minus (-=) b's element at the
    // same place.
    void operator+=(const qvTMatrix3x3& b);
    void operator-=(const qvTMatrix3x3& b);
    // The element-wise sum (+) or difference (-) with b.
    qvTMatrix3x3 operator+(const qvTMatrix3x3& b) const;
    qvTMatrix3x3 operator-(const qvTMatrix3x3& b) const;
    // Every element negated.
    qvTMatrix3x3 operator-() const;
    // Matrix times column vector.
    qvTVec3<T> operator*(const qvTVec3<T>& v) const;
    // The matrix product this·b.
    qvTMatrix3x3 operator*(const qvTMatrix3x3& b) const;

    // Writes a into the four elements left when row n and column n are
    // left out; the other five stay. Throws BadParameters
    // "qvTMatrix3x3<TT>::Copy: n != {0,1,2}." when n is not 0, 1 or 2.
    void Copy(const qvMatrix2x2& a, int n);
    // The rotation Rz(g)·Ry(b)·Rx(a): by a about x, then b about y, then g
    // about z.
    void SetTurn(T a, T b, T g);
    // The right-handed rotation with cosine c and sine s about axis.
    void SetTurn(T c, T s, qvTVec3<T> axis);
    // The right-handed rotation by angle about axis.
    void SetTurn(T angle, qvTVec3<T> axis);
    // The rotation that turns the direction of from onto that of to
    // (the unit matrix or its negative for parallel directions).
    void SetTurn(qvTVec3<T> from, qvTVec3<T> to);
    // Becomes all zeros.
    void MakeNull();
    // Becomes the unit matrix.
    void MakeE();
    // The determinant, by the general matrix's elimination.
    T Det() const;
    // The inverse, by the general matrix's elimination. Throws BadParameters
    // "Система имеет не единственное решение." (qvMsg::SystemNotUnique,
    // thrown in the Windows-1251 encoding) when the matrix is singular.
    qvTMatrix3x3 Inverse() const;

private:
    T m[9];
};

// The element types of the 3 × 3 matrix, for the declarations here and the
// instances in matrix3x3.cpp and cqv/linalg/value_types.cpp.
#define CQV_FOR_EACH_MATRIX3X3_TYPE(X) X(double)
#define CQV_DECLARE_MATRIX3X3(T) CQV_EXTERN_TEMPLATE(qvTMatrix3x3<T>)
CQV_FOR_EACH_MATRIX3X3_TYPE(CQV_DECLARE_MATRIX3X3)
#undef CQV_DECLARE_MATRIX3X3

#endif  // CQV_VALUES_MATRIX3X3_H
