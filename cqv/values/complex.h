// qvComplex: a complex number of two doubles, passed and stored by value.
//
// The default constructor does no work, so arrays of complex numbers cost
// nothing to allocate. Compound assignments return nothing. Equality is exact
// on both parts; the ordering operators compare moduli only, so two different
// numbers of equal modulus are neither less nor greater than each other.
// Nothing here allocates or throws.
#ifndef CQV_VALUES_COMPLEX_H
#define CQV_VALUES_COMPLEX_H

#include "cqv/core/export.h"
#include "cqv/core/record.h"
#include "cqv/core/rounding.h"
#include "cqv/core/type_traits.h"

// A complex number of two doubles, passed and stored by value.
class CQV_API qvComplex {
public:
    double re;  // real part
    double im;  // imaginary part

    // Leaves both parts uninitialised.
    CQV_INLINE qvComplex() {}
    // r + 0i.
    CQV_INLINE qvComplex(double r) : re(r), im(0.0) {}
    // r + i·i.
    CQV_INLINE qvComplex(double r, double i) : re(r), im(i) {}
    // Copies both parts.
    qvComplex(const qvComplex&) = default;
    qvComplex& operator=(const qvComplex&) = default;

    // Adds b part by part.
    CQV_INLINE void operator+=(const qvComplex& b) {
        re += b.re;
        im += b.im;
    }
    // Subtracts b part by part.
    CQV_INLINE void operator-=(const qvComplex& b) {
        re -= b.re;
        im -= b.im;
    }
    // Becomes this·b, as operator* computes it.
    CQV_INLINE void operator*=(const qvComplex& b) { *this = *this * b; }
    // Becomes this / b, as operator/ computes it.
    CQV_INLINE void operator/=(const qvComplex& b) { *this = *this / b; }

    // -re - im·i.
    CQV_INLINE qvComplex operator-() const { return qvComplex(-re, -im); }
    // The sum, part by part.
    CQV_INLINE qvComplex operator+(const qvComplex& b) const { return qvComplex(re + b.re, im + b.im); }
    // The difference, part by part.
    CQV_INLINE qvComplex operator-(const qvComplex& b) const { return qvComplex(re - b.re, im - b.im); }
    // (re·b.re − im·b.im) + (re·b.im + im·b.re)i, each product rounded.
    CQV_INLINE qvComplex operator*(const qvComplex& b) const {
        using qvDetail::Rounded;
        return qvComplex(Rounded(re * b.re) - Rounded(im * b.im), Rounded(re * b.im) + Rounded(im * b.re));
    }
    // Divides by b through its squared modulus, without scaling and without
    // testing b for zero: a zero divisor yields IEEE infinities or NaN.
    qvComplex operator/(const qvComplex& b) const;

    // 1 when both parts are exactly equal, else 0; != is the negation.
    CQV_INLINE int operator==(const qvComplex& b) const { return re == b.re && im == b.im; }
    CQV_INLINE int operator!=(const qvComplex& b) const { return re != b.re || im != b.im; }
    // Comparisons of the moduli.
    int operator<(const qvComplex& b) const;
    int operator>(const qvComplex& b) const;
    int operator<=(const qvComplex& b) const;
    int operator>=(const qvComplex& b) const;
};

// The modulus sqrt(re² + im²), computed without scaling.
CQV_API double qvAbs(const qvComplex& c);

// Writes the 16-byte record of c (re, then im, little-endian doubles) at p;
// returns 16.
CQV_API int qvToMem(unsigned char* p, const qvComplex& c);
// Reads the 16-byte record at p into c; returns 16.
CQV_API int qvFromMem(unsigned char* p, qvComplex& c);
// Bounded reading for untrusted bytes (see cqv/core/record.h): the record's
// size, 16, and the reader that looks at no more than available bytes at p.
// Both throw BadParameters "Record is longer than the bytes available" when
// available is below 16; c is then unchanged.
CQV_API int qvRecordSize(const unsigned char* p, int available, const qvComplex& c);
CQV_API int qvFromMem(const unsigned char* p, int available, qvComplex& c);

// The traits of the complex number: its name, "Complex", only.
template <>
class CQV_API qvType<qvComplex> {
public:
    // "Complex", the same static text on every call.
    static char const* GetValueTypeName();
};

#endif  // CQV_VALUES_COMPLEX_H
