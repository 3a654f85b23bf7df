#include "cqv/values/matrix2x2.h"

#include <cmath>

#include "cqv/core/byte_order_internal.h"
#include "cqv/core/exceptions.h"
#include "cqv/values/messages.h"

void qvMatrix2x2::operator+=(const qvMatrix2x2& b) {
    for (int i = 0; i < 4; ++i) m[i] += b.m[i];
}

void qvMatrix2x2::operator-=(const qvMatrix2x2& b) {
    for (int i = 0; i < 4; ++i) m[i] -= b.m[i];
}

qvMatrix2x2 qvMatrix2x2::operator+(const qvMatrix2x2& b) const {
    qvMatrix2x2 r;
    for (int i = 0; i < 4; ++i) r.m[i] = m[i] + b.m[i];
    return r;
}

qvMatrix2x2 qvMatrix2x2::operator-(const qvMatrix2x2& b) const {
    qvMatrix2x2 r;
    for (int i = 0; i < 4; ++i) r.m[i] = m[i] - b.m[i];
    return r;
}

qvMatrix2x2 qvMatrix2x2::operator*(const qvMatrix2x2& b) const {
    qvMatrix2x2 r;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) r.m[2 * i + j] = m[2 * i] * b.m[j] + m[2 * i + 1] * b.m[2 + j];
    return r;
}

qvVec2 qvMatrix2x2::operator*(const qvVec2& v) const {
    return qvVec2(m[0] * v.X() + m[1] * v.Y(), m[2] * v.X() + m[3] * v.Y());
}

double qvMatrix2x2::Det() const { return m[0] * m[3] - m[2] * m[1]; }

qvMatrix2x2 qvMatrix2x2::Inverse() const {
    const double d = Det();
    if (std::fabs(d) < 1e-60) throw BadParameters(qvMsg::Matrix2x2InverseDetZero);
    qvMatrix2x2 r;
    r.m[0] = m[3] / d;
    r.m[1] = -m[1] / d;
    r.m[2] = -m[2] / d;
    r.m[3] = m[0] / d;
    return r;
}

void qvMatrix2x2::MakeE() {
    m[0] = m[3] = 1.0;
    m[1] = m[2] = 0.0;
}

void qvMatrix2x2::MakeNull() { m[0] = m[1] = m[2] = m[3] = 0.0; }

void qvMatrix2x2::SetTurn(double a) {
    const double c = std::cos(a);
    const double s = std::sin(a);
    m[0] = c;
    m[1] = -s;
    m[2] = s;
    m[3] = c;
}

void qvMatrix2x2::SetTurn(const qvVec2& u, const qvVec2& v) {
    const double l = u.Norm() * v.Norm();
    const double c = u.ScalarMul(v) / l;
    const double s = (u.X() * v.Y() - u.Y() * v.X()) / l;
    m[0] = c;
    m[1] = -s;
    m[2] = s;
    m[3] = c;
}

void qvMatrix2x2::SetTurn(const qvVec2& v, int k) { SetTurn(k == 0 ? qvVec2(1.0, 0.0) : qvVec2(0.0, 1.0), v); }

int qvMemSize(const qvMatrix2x2&) { return 32; }

int qvToMem(unsigned char* p, const qvMatrix2x2& m) {
    for (int i = 0; i < 4; ++i) qvDetail::PutLE(p + 8 * i, m(i / 2, i % 2));
    return 32;
}

int qvFromMem(unsigned char* p, qvMatrix2x2& m) {
    for (int i = 0; i < 4; ++i) m(i / 2, i % 2) = qvDetail::GetLE<double>(p + 8 * i);
    return 32;
}

int qvRecordSize(const unsigned char*, int available, const qvMatrix2x2&) { return qvCheckRecordLength(32, available); }

int qvFromMem(const unsigned char* p, int available, qvMatrix2x2& m) {
    qvCheckRecordLength(32, available);
    return qvFromMem(const_cast<unsigned char*>(p), m);
}
