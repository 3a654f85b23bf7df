#include "cqv/values/complex.h"

#include <cmath>

#include "cqv/core/byte_order_internal.h"

double qvAbs(const qvComplex& c) { return std::sqrt(c.re * c.re + c.im * c.im); }

qvComplex qvComplex::operator/(const qvComplex& b) const {
    // The divisor's squared modulus, obtained through its modulus.
    const double m = qvAbs(b);
    const double d = m * m;
    using qvDetail::Rounded;
    return qvComplex((Rounded(re * b.re) + Rounded(im * b.im)) / d, (Rounded(im * b.re) - Rounded(re * b.im)) / d);
}

int qvComplex::operator<(const qvComplex& b) const { return qvAbs(*this) < qvAbs(b); }
int qvComplex::operator>(const qvComplex& b) const { return qvAbs(*this) > qvAbs(b); }
int qvComplex::operator<=(const qvComplex& b) const { return qvAbs(*this) <= qvAbs(b); }
int qvComplex::operator>=(const qvComplex& b) const { return qvAbs(*this) >= qvAbs(b); }

int qvToMem(unsigned char* p, const qvComplex& c) {
    qvDetail::PutLE(p, c.re);
    qvDetail::PutLE(p + 8, c.im);
    return 16;
}

int qvFromMem(unsigned char* p, qvComplex& c) {
    c.re = qvDetail::GetLE<double>(p);
    c.im = qvDetail::GetLE<double>(p + 8);
    return 16;
}

char const* qvType<qvComplex>::GetValueTypeName() { return "Complex"; }

int qvRecordSize(const unsigned char*, int available, const qvComplex&) { return qvCheckRecordLength(16, available); }

int qvFromMem(const unsigned char* p, int available, qvComplex& c) {
    qvCheckRecordLength(16, available);
    return qvFromMem(const_cast<unsigned char*>(p), c);
}
