// qvVec2: a vector of the plane, two doubles passed and stored by value.
//
// Arithmetic is component-wise; the products that are not have names of
// their own (ScalarMul, MulCL). Comparisons form the component-wise order: a
// relation holds only if it holds for both coordinates, so two vectors may be
// unordered. The default constructor does no work. Nothing here allocates;
// only the conversion from a column vector throws.
#ifndef CQV_VALUES_VEC2_H
#define CQV_VALUES_VEC2_H

#include "cqv/core/export.h"
#include "cqv/core/record.h"

class qvMatrix2x2;
template <class E>
class qvColumnVector;

// A vector of the plane: two doubles, passed and stored by value.
class CQV_API qvVec2 {
public:
    // Leaves both coordinates uninitialised.
    CQV_INLINE qvVec2() {}
    // The vector (x, y).
    CQV_INLINE qvVec2(double x, double y) : v{x, y} {}
    // The two elements of a column vector. Throws BadParameters
    // "qvVec2: Dim must be equal 2 " (with the trailing blank) when c's
    // length is not 2.
    qvVec2(const qvColumnVector<double>& c);
    // Copies both coordinates.
    qvVec2(const qvVec2&) = default;
    qvVec2& operator=(const qvVec2&) = default;

    // The x coordinate.
    CQV_INLINE double& X() { return v[0]; }
    CQV_INLINE const double& X() const { return v[0]; }
    // The y coordinate.
    CQV_INLINE double& Y() { return v[1]; }
    CQV_INLINE const double& Y() const { return v[1]; }
    // Coordinate i: 0 for x and 1 for y, unchecked.
    CQV_INLINE double& operator[](int i) { return v[i]; }
    CQV_INLINE const double& operator[](int i) const { return v[i]; }
    // The two coordinates as an array of two doubles.
    CQV_INLINE double* GetVec() { return v; }
    CQV_INLINE const double* GetVec() const { return v; }

    // Sets both coordinates to d.
    CQV_INLINE void Fill(double d) { v[0] = v[1] = d; }

    // Each coordinate becomes itself plus, minus, times or divided by b's.
    CQV_INLINE void operator+=(const qvVec2& b) { v[0] += b.v[0], v[1] += b.v[1]; }
    CQV_INLINE void operator-=(const qvVec2& b) { v[0] -= b.v[0], v[1] -= b.v[1]; }
    CQV_INLINE void operator*=(const qvVec2& b) { v[0] *= b.v[0], v[1] *= b.v[1]; }
    CQV_INLINE void operator/=(const qvVec2& b) { v[0] /= b.v[0], v[1] /= b.v[1]; }
    // The component-wise sum, difference, product or quotient with b.
    CQV_INLINE qvVec2 operator+(const qvVec2& b) const { return qvVec2(v[0] + b.v[0], v[1] + b.v[1]); }
    CQV_INLINE qvVec2 operator-(const qvVec2& b) const { return qvVec2(v[0] - b.v[0], v[1] - b.v[1]); }
    CQV_INLINE qvVec2 operator*(const qvVec2& b) const { return qvVec2(v[0] * b.v[0], v[1] * b.v[1]); }
    CQV_INLINE qvVec2 operator/(const qvVec2& b) const { return qvVec2(v[0] / b.v[0], v[1] / b.v[1]); }
    // Both coordinates negated.
    CQV_INLINE qvVec2 operator-() const { return qvVec2(-v[0], -v[1]); }

    // Arithmetic with a scalar applied to each coordinate.
    CQV_INLINE void operator*=(double s) { v[0] *= s, v[1] *= s; }
    CQV_INLINE void operator/=(double s) { v[0] /= s, v[1] /= s; }
    CQV_INLINE qvVec2 operator*(double s) const { return qvVec2(v[0] * s, v[1] * s); }
    CQV_INLINE qvVec2 operator/(double s) const { return qvVec2(v[0] / s, v[1] / s); }
    CQV_INLINE qvVec2 operator+(double s) const { return qvVec2(v[0] + s, v[1] + s); }
    CQV_INLINE qvVec2 operator-(double s) const { return qvVec2(v[0] - s, v[1] - s); }

    // Component-wise comparisons: true when true for both coordinates
    // (!= when some coordinate differs).
    CQV_INLINE int operator==(const qvVec2& b) const { return v[0] == b.v[0] && v[1] == b.v[1]; }
    CQV_INLINE int operator!=(const qvVec2& b) const { return v[0] != b.v[0] || v[1] != b.v[1]; }
    CQV_INLINE int operator<(const qvVec2& b) const { return v[0] < b.v[0] && v[1] < b.v[1]; }
    CQV_INLINE int operator>(const qvVec2& b) const { return v[0] > b.v[0] && v[1] > b.v[1]; }
    CQV_INLINE int operator<=(const qvVec2& b) const { return v[0] <= b.v[0] && v[1] <= b.v[1]; }
    CQV_INLINE int operator>=(const qvVec2& b) const { return v[0] >= b.v[0] && v[1] >= b.v[1]; }

    // Euclidean length, without scaling.
    double Norm() const;
    // The squared length.
    CQV_INLINE double ScalarMul() const { return v[0] * v[0] + v[1] * v[1]; }
    // The dot product.
    CQV_INLINE double ScalarMul(const qvVec2& b) const { return v[0] * b.v[0] + v[1] * b.v[1]; }
    // Component-wise maximum and minimum; a tie takes b's coordinate.
    CQV_INLINE qvVec2 Max(const qvVec2& b) const {
        return qvVec2(v[0] > b.v[0] ? v[0] : b.v[0], v[1] > b.v[1] ? v[1] : b.v[1]);
    }
    CQV_INLINE qvVec2 Min(const qvVec2& b) const {
        return qvVec2(v[0] < b.v[0] ? v[0] : b.v[0], v[1] < b.v[1] ? v[1] : b.v[1]);
    }

    // The outer product: element (i, j) = this[i]·b[j].
    qvMatrix2x2 MulCL(const qvVec2& b) const;
    // Row vector times matrix: result[j] = Σ_i this[i]·m(i, j).
    qvVec2 operator*(const qvMatrix2x2& m) const;

private:
    double v[2];
};

// Each coordinate replaced by its sign: -1, 0 or +1.
CQV_API qvVec2 qvSgn(const qvVec2& v);

// 16, the size of a vector's record: x then y, little-endian doubles.
CQV_API int qvMemSize(const qvVec2& v);
// Writes v's 16-byte record at p; returns 16.
CQV_API int qvToMem(unsigned char* p, const qvVec2& v);
// Reads the 16-byte record at p into v; returns 16.
CQV_API int qvFromMem(unsigned char* p, qvVec2& v);
// Bounded reading for untrusted bytes (see cqv/core/record.h): the record's
// size, 16, and the reader that looks at no more than available bytes at p.
// Both throw BadParameters "Record is longer than the bytes available" when
// available is below 16; c is then unchanged.
CQV_API int qvRecordSize(const unsigned char* p, int available, const qvVec2& v);
CQV_API int qvFromMem(const unsigned char* p, int available, qvVec2& v);

#endif  // CQV_VALUES_VEC2_H
