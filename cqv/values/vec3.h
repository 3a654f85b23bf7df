// qvTVec3<T>: a vector of space, three coordinates passed and stored by
// value. Only qvTVec3<double> exists.
//
// Arithmetic is component-wise; the dot and cross products are ScalarMul and
// VectorMul. Comparisons form the component-wise order. The default
// constructor does no work. Nothing here allocates or throws.
#ifndef CQV_VALUES_VEC3_H
#define CQV_VALUES_VEC3_H

#include "cqv/core/export.h"

template <class T>
class qvTMatrix3x3;

// A vector of space: three coordinates, passed and stored by value.
template <class T>
class qvTVec3 {
public:
    // Leaves the coordinates uninitialised.
    qvTVec3() {}
    // The vector (x, y, z).
    qvTVec3(T x, T y, T z) : v{x, y, z} {}
    // Copies the three coordinates.
    qvTVec3(const qvTVec3&) = default;
    qvTVec3& operator=(const qvTVec3&) = default;

    // The x coordinate.
    T& X() { return v[0]; }
    const T& X() const { return v[0]; }
    // The y coordinate.
    T& Y() { return v[1]; }
    const T& Y() const { return v[1]; }
    // The z coordinate.
    T& Z() { return v[2]; }
    const T& Z() const { return v[2]; }
    // Coordinate i: 0, 1, 2 for x, y, z, unchecked; modifiable even on a
    // const vector.
    T& operator[](int i) const { return const_cast<T&>(v[i]); }
    // The three coordinates as an array.
    T* GetVec() const { return const_cast<T*>(v); }

    // Sets every coordinate to d.
    void Fill(T d) { v[0] = v[1] = v[2] = d; }

    // Each coordinate becomes itself plus, minus, times or divided by b's.
    void operator+=(const qvTVec3& b) { v[0] += b.v[0], v[1] += b.v[1], v[2] += b.v[2]; }
    void operator-=(const qvTVec3& b) { v[0] -= b.v[0], v[1] -= b.v[1], v[2] -= b.v[2]; }
    void operator*=(const qvTVec3& b) { v[0] *= b.v[0], v[1] *= b.v[1], v[2] *= b.v[2]; }
    void operator/=(const qvTVec3& b) { v[0] /= b.v[0], v[1] /= b.v[1], v[2] /= b.v[2]; }
    // The component-wise sum, difference, product or quotient with b.
    qvTVec3 operator+(const qvTVec3& b) const { return qvTVec3(v[0] + b.v[0], v[1] + b.v[1], v[2] + b.v[2]); }
    qvTVec3 operator-(const qvTVec3& b) const { return qvTVec3(v[0] - b.v[0], v[1] - b.v[1], v[2] - b.v[2]); }
    qvTVec3 operator*(const qvTVec3& b) const { return qvTVec3(v[0] * b.v[0], v[1] * b.v[1], v[2] * b.v[2]); }
    qvTVec3 operator/(const qvTVec3& b) const { return qvTVec3(v[0] / b.v[0], v[1] / b.v[1], v[2] / b.v[2]); }
    // Every coordinate negated.
    qvTVec3 operator-() const { return qvTVec3(-v[0], -v[1], -v[2]); }

    // Arithmetic with a scalar applied to each coordinate.
    void operator+=(T s) { v[0] += s, v[1] += s, v[2] += s; }
    void operator-=(T s) { v[0] -= s, v[1] -= s, v[2] -= s; }
    void operator*=(T s) { v[0] *= s, v[1] *= s, v[2] *= s; }
    void operator/=(T s) { v[0] /= s, v[1] /= s, v[2] /= s; }
    qvTVec3 operator+(T s) const { return qvTVec3(v[0] + s, v[1] + s, v[2] + s); }
    qvTVec3 operator-(T s) const { return qvTVec3(v[0] - s, v[1] - s, v[2] - s); }
    qvTVec3 operator*(T s) const { return qvTVec3(v[0] * s, v[1] * s, v[2] * s); }
    qvTVec3 operator/(T s) const { return qvTVec3(v[0] / s, v[1] / s, v[2] / s); }

    // Component-wise comparisons: true when true for every coordinate
    // (!= when some coordinate differs).
    int operator==(const qvTVec3& b) const { return v[0] == b.v[0] && v[1] == b.v[1] && v[2] == b.v[2]; }
    int operator!=(const qvTVec3& b) const { return v[0] != b.v[0] || v[1] != b.v[1] || v[2] != b.v[2]; }
    int operator<(const qvTVec3& b) const { return v[0] < b.v[0] && v[1] < b.v[1] && v[2] < b.v[2]; }
    int operator>(const qvTVec3& b) const { return v[0] > b.v[0] && v[1] > b.v[1] && v[2] > b.v[2]; }
    int operator<=(const qvTVec3& b) const { return v[0] <= b.v[0] && v[1] <= b.v[1] && v[2] <= b.v[2]; }
    int operator>=(const qvTVec3& b) const { return v[0] >= b.v[0] && v[1] >= b.v[1] && v[2] >= b.v[2]; }

    // Euclidean length, without scaling.
    T Norm() const;
    // The squared length.
    T ScalarMul() const { return v[0] * v[0] + v[1] * v[1] + v[2] * v[2]; }
    // The dot product.
    T ScalarMul(const qvTVec3& b) const { return v[0] * b.v[0] + v[1] * b.v[1] + v[2] * b.v[2]; }
    // The cross product this × b.
    qvTVec3 VectorMul(const qvTVec3& b) const {
        return qvTVec3(v[1] * b.v[2] - v[2] * b.v[1], v[2] * b.v[0] - v[0] * b.v[2], v[0] * b.v[1] - v[1] * b.v[0]);
    }
    // The smallest coordinate: x against y first (y on a tie), then that
    // against z (z on a tie).
    T Min() const {
        const T m = v[0] < v[1] ? v[0] : v[1];
        return m < v[2] ? m : v[2];
    }
    // The largest coordinate: x against y first (y on a tie), then that
    // against z (z on a tie).
    T Max() const {
        const T m = v[0] > v[1] ? v[0] : v[1];
        return m > v[2] ? m : v[2];
    }
    // x + y + z.
    T Sum() const { return v[0] + v[1] + v[2]; }
    // The mean, as the sum times the double nearest 1/3.
    T E() const { return Sum() * 0.3333333333333333; }

    // The outer product: element (i, j) = this[i]·b[j].
    qvTMatrix3x3<T> MulCL(const qvTVec3& b) const;
    // Row vector times matrix: result[j] = Σ_i this[i]·m(i, j).
    qvTVec3 operator*(const qvTMatrix3x3<T>& m) const;

private:
    T v[3];
};

// The coordinate types of the space vector, for the declarations here and
// the instances in vec3.cpp.
#define CQV_FOR_EACH_VEC3_TYPE(X) X(double)
#define CQV_DECLARE_VEC3(T) CQV_EXTERN_TEMPLATE(qvTVec3<T>)
CQV_FOR_EACH_VEC3_TYPE(CQV_DECLARE_VEC3)
#undef CQV_DECLARE_VEC3

#endif  // CQV_VALUES_VEC3_H
