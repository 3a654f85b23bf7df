// qvMatrix2x2: a 2 × 2 matrix of doubles passed and stored by value.
//
// Row-major: element (i, j) is stored at position 2·i + j. It is the linear
// part of the plane transforms and the partner of qvVec2; it converts to and
// from the general qvMatrix<double>. The default constructor does no work.
// Only the conversion to the general matrix allocates; allocation failure
// throws qvErrNoMemory.
#ifndef CQV_VALUES_MATRIX2X2_H
#define CQV_VALUES_MATRIX2X2_H

#include "cqv/core/export.h"
#include "cqv/core/record.h"
#include "cqv/values/vec2.h"

template <class E>
class qvMatrix;

// A 2 × 2 matrix of doubles, row-major, passed and stored by value.
class CQV_API qvMatrix2x2 {
public:
    // Leaves the elements uninitialised.
    CQV_INLINE qvMatrix2x2() {}
    // The elements of a 2 × 2 general matrix. Throws BadParameters
    // "qvMatrix2x2::qvMatrix2x2( const qvMatrix<double> & m ) : Matrix m != 2x2 "
    // (with the trailing blank) when m is not 2 × 2.
    qvMatrix2x2(const qvMatrix<double>& m);
    // Copies the four elements.
    qvMatrix2x2(const qvMatrix2x2&) = default;
    qvMatrix2x2& operator=(const qvMatrix2x2&) = default;
    // A 2 × 2 general matrix with the same elements.
    operator qvMatrix<double>() const;

    // Element (i, j), unchecked; modifiable even on a const matrix.
    CQV_INLINE double& operator()(int i, int j) const { return const_cast<double&>(m[2 * i + j]); }

    // Each element becomes itself plus (+=) or minus (-=) b's element at the
    // same place.
    void operator+=(const qvMatrix2x2& b);
    void operator-=(const qvMatrix2x2& b);
    // The element-wise sum (+) or difference (-) with b.
    qvMatrix2x2 operator+(const qvMatrix2x2& b) const;
    qvMatrix2x2 operator-(const qvMatrix2x2& b) const;
    // The matrix product this·b.
    qvMatrix2x2 operator*(const qvMatrix2x2& b) const;
    // Matrix times column vector.
    qvVec2 operator*(const qvVec2& v) const;

    // m00·m11 - m10·m01.
    double Det() const;
    // The inverse. Throws BadParameters "qvMatrix2x2::Inverse : det = 0 "
    // (with the trailing blank) when the determinant is below 1e-60 in
    // magnitude.
    qvMatrix2x2 Inverse() const;
    // Becomes the unit matrix.
    void MakeE();
    // Becomes all zeros.
    void MakeNull();
    // The rotation by a radians, counter-clockwise.
    void SetTurn(double a);
    // The rotation that turns the direction of u onto that of v.
    void SetTurn(const qvVec2& u, const qvVec2& v);
    // The rotation that turns the x axis (k = 0) or the y axis (any other
    // k) onto the direction of v.
    void SetTurn(const qvVec2& v, int k);

private:
    double m[4];
};

// 32, the size of the record: m00, m01, m10, m11 as little-endian doubles.
CQV_API int qvMemSize(const qvMatrix2x2& m);
// Writes m's 32-byte record at p; returns 32.
CQV_API int qvToMem(unsigned char* p, const qvMatrix2x2& m);
// Reads the 32-byte record at p into m; returns 32.
CQV_API int qvFromMem(unsigned char* p, qvMatrix2x2& m);
// Bounded reading for untrusted bytes (see cqv/core/record.h): the record's
// size, 32, and the reader that looks at no more than available bytes at p.
// Both throw BadParameters "Record is longer than the bytes available" when
// available is below 32; c is then unchanged.
CQV_API int qvRecordSize(const unsigned char* p, int available, const qvMatrix2x2& m);
CQV_API int qvFromMem(const unsigned char* p, int available, qvMatrix2x2& m);

#endif  // CQV_VALUES_MATRIX2X2_H
