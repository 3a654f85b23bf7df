#include "cqv/values/vec2.h"

#include <cmath>

#include "cqv/core/byte_order_internal.h"
#include "cqv/values/matrix2x2.h"

double qvVec2::Norm() const { return std::sqrt(ScalarMul()); }

namespace {

double Sign(double d) {
    if (d < 0) return -1.0;
    if (d == 0) return 0.0;
    return 1.0;
}

}  // namespace

qvVec2 qvSgn(const qvVec2& v) { return qvVec2(Sign(v.X()), Sign(v.Y())); }

int qvMemSize(const qvVec2&) { return 16; }

int qvToMem(unsigned char* p, const qvVec2& v) {
    qvDetail::PutLE(p, v.X());
    qvDetail::PutLE(p + 8, v.Y());
    return 16;
}

int qvFromMem(unsigned char* p, qvVec2& v) {
    v.X() = qvDetail::GetLE<double>(p);
    v.Y() = qvDetail::GetLE<double>(p + 8);
    return 16;
}

qvMatrix2x2 qvVec2::MulCL(const qvVec2& b) const {
    qvMatrix2x2 r;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) r(i, j) = v[i] * b.v[j];
    return r;
}

qvVec2 qvVec2::operator*(const qvMatrix2x2& m) const {
    return qvVec2(v[0] * m(0, 0) + v[1] * m(1, 0), v[0] * m(0, 1) + v[1] * m(1, 1));
}

int qvRecordSize(const unsigned char*, int available, const qvVec2&) { return qvCheckRecordLength(16, available); }

int qvFromMem(const unsigned char* p, int available, qvVec2& v) {
    qvCheckRecordLength(16, available);
    return qvFromMem(const_cast<unsigned char*>(p), v);
}
