#include "cqv/geometry/transform.h"

#include <cmath>

#include "cqv/core/byte_order_internal.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/record.h"
#include "cqv/geometry/messages.h"

namespace {

// The plane and space transforms share their logic: the helpers below take
// the shift and the matrix of either (N coordinates), or a whole transform
// through its public members.

// Output axis i scaled by k[i]: s[i] and row i of m.
template <int N, class V, class A>
void ScaleAxes(V& s, A& m, const V& k) {
    for (int i = 0; i < N; ++i) {
        s[i] *= k[i];
        for (int j = 0; j < N; ++j) m(i, j) *= k[i];
    }
}

// Element i: sqrt(Σ_j (k[j]·m(j, i))²), j ascending.
template <int N, class V, class A>
V ColumnLengths(const A& m, const V& k) {
    V r;
    for (int i = 0; i < N; ++i) {
        double sum = 0;
        for (int j = 0; j < N; ++j) {
            const double e = k[j] * m(j, i);
            sum += e * e;
        }
        r[i] = std::sqrt(sum);
    }
    return r;
}

// p ↦ M⁻¹·(p - s): the identity, shifted by -s, then M⁻¹ applied.
template <class T>
T InverseOf(const T& t) {
    T r;
    r.AddShift(-t.GetShift());
    r.AddMatrix(t.GetMatrix().Inverse());
    return r;
}

// first, then second.
template <class T>
T Compose(const T& second, const T& first) {
    T r(first);
    r.AddMatrix(second.GetMatrix());
    r.AddShift(second.GetShift());
    return r;
}

// The least-squares residual Σ |t(a[i]) - b[i]|², i ascending.
double Residual(const qvTransformCoord2D& t, const qvSimpleArray<qvVec2>& a, const qvSimpleArray<qvVec2>& b) {
    double sum = 0;
    for (int i = 0; i < a.Len(); ++i) sum += (t.Transform(a[i]) - b[i]).ScalarMul();
    return sum;
}

}  // namespace

// ---- qvTransformCoord2D ---------------------------------------------------

qvTransformCoord2D::qvTransformCoord2D() : s(0.0, 0.0) { M.MakeE(); }

void qvTransformCoord2D::AddShift(const qvVec2& v) { s += v; }

void qvTransformCoord2D::AddScale(const qvVec2& k) { ScaleAxes<2>(s, M, k); }

void qvTransformCoord2D::AddScale(const qvVec2& k, const qvVec2& q) {
    AddShift(-q);
    AddScale(k);
    AddShift(q);
}

void qvTransformCoord2D::AddMatrix(const qvMatrix2x2& a) {
    M = a * M;
    s = a * s;
}

void qvTransformCoord2D::AddTurn(double angle) {
    qvMatrix2x2 r;
    r.SetTurn(angle);
    AddMatrix(r);
}

void qvTransformCoord2D::AddTurn(double angle, const qvVec2& q) {
    AddShift(-q);
    AddTurn(angle);
    AddShift(q);
}

qvVec2 qvTransformCoord2D::Transform(const qvVec2& p) const { return M * p + s; }

qvVec2 qvTransformCoord2D::TransformVec(const qvVec2& v) const { return M * v; }

qvVec2 qvTransformCoord2D::GetOldScale(qvVec2 k) const { return ColumnLengths<2>(M, k); }

qvVec2 qvTransformCoord2D::GetNewScale(const qvVec2& k) const { return Inverse().GetOldScale(k); }

qvTransformCoord2D qvTransformCoord2D::Inverse() const { return InverseOf(*this); }

qvTransformCoord2D qvTransformCoord2D::operator*(const qvTransformCoord2D& t) const { return Compose(*this, t); }

qvRect<qvVec2> qvTransformCoord2D::TransformRect(const qvRect<qvVec2>& r) const {
    const qvVec2& lo = r.Low();
    const qvVec2& hi = r.High();
    const qvVec2 corners[4] = {Transform(lo), Transform(qvVec2(lo.X(), hi.Y())), Transform(qvVec2(hi.X(), lo.Y())),
                               Transform(hi)};
    qvVec2 low = corners[0], high = corners[0];
    for (int i = 1; i < 4; ++i) {
        low = corners[i].Min(low);
        high = corners[i].Max(high);
    }
    return qvRect<qvVec2>(low, high);
}

void qvTransformCoord2D::MakeRotateShiftFromEquations(const qvSimpleArray<qvVec2>& a, const qvSimpleArray<qvVec2>& b) {
    if (a.Len() != b.Len()) throw BadParameters(qvMsg::TransformFitDifferentNumber);
    const int n = a.Len();
    qvVec2 sa(0.0, 0.0), sb(0.0, 0.0);
    double dot = 0, cross = 0;  // Σ a·b and Σ (a.y·b.x - a.x·b.y)
    for (int i = 0; i < n; ++i) {
        sa += a[i];
        sb += b[i];
        dot += a[i].ScalarMul(b[i]);
        cross += a[i].Y() * b[i].X() - a[i].X() * b[i].Y();
    }
    const qvVec2 ma = sa / n, mb = sb / n;
    const double c = dot / n - ma.ScalarMul(mb);
    const double sn = -cross / n - (ma.X() * mb.Y() - ma.Y() * mb.X());
    const double r = std::sqrt(c * c + sn * sn);
    const double cosT = c / r, sinT = sn / r;

    // Two candidates, each carrying the centroid of a onto that of b: the
    // turn by θ + π, then the turn by θ.
    qvTransformCoord2D cand[2];
    qvMatrix2x2& m0 = cand[0].M;
    m0(0, 0) = -cosT, m0(0, 1) = sinT, m0(1, 0) = -sinT, m0(1, 1) = -cosT;
    qvMatrix2x2& m1 = cand[1].M;
    m1(0, 0) = cosT, m1(0, 1) = -sinT, m1(1, 0) = sinT, m1(1, 1) = cosT;
    for (qvTransformCoord2D& t : cand) t.s = mb - t.M * ma;
    *this = Residual(cand[1], a, b) < Residual(cand[0], a, b) ? cand[1] : cand[0];
}

int qvTransformCoord2D::MemSize() const { return 48; }

int qvTransformCoord2D::ToMem(unsigned char* p) const {
    const int n = qvToMem(p, M);
    return n + qvToMem(p + n, s);
}

int qvTransformCoord2D::FromMem(unsigned char* p) {
    const int n = qvFromMem(p, M);
    return n + qvFromMem(p + n, s);
}

int qvTransformCoord2D::RecordSize(const unsigned char*, int available) { return qvCheckRecordLength(48, available); }

int qvTransformCoord2D::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return FromMem(const_cast<unsigned char*>(p));
}

int qvMemSize(const qvTransformCoord2D& t) { return t.MemSize(); }
int qvToMem(unsigned char* p, const qvTransformCoord2D& t) { return t.ToMem(p); }
int qvFromMem(unsigned char* p, qvTransformCoord2D& t) { return t.FromMem(p); }
int qvRecordSize(const unsigned char* p, int available, const qvTransformCoord2D&) { return qvTransformCoord2D::RecordSize(p, available); }
int qvFromMem(const unsigned char* p, int available, qvTransformCoord2D& t) { return t.FromMem(p, available); }

// ---- qvTransformCoord3D ---------------------------------------------------

qvTransformCoord3D::qvTransformCoord3D() : s(0.0, 0.0, 0.0) { M.MakeE(); }

void qvTransformCoord3D::AddShift(const qvTVec3<double>& v) { s += v; }

void qvTransformCoord3D::AddScale(const qvTVec3<double>& k) { ScaleAxes<3>(s, M, k); }

void qvTransformCoord3D::AddScale(const qvTVec3<double>& k, const qvTVec3<double>& q) {
    AddShift(-q);
    AddScale(k);
    AddShift(q);
}

void qvTransformCoord3D::AddMatrix(const qvTMatrix3x3<double>& a) {
    M = a * M;
    s = a * s;
}

void qvTransformCoord3D::AddTurn(double a, double b, double g) {
    qvTMatrix3x3<double> r;
    r.SetTurn(a, b, g);
    AddMatrix(r);
}

void qvTransformCoord3D::AddTurn(double a, double b, double g, const qvTVec3<double>& q) {
    AddShift(-q);
    AddTurn(a, b, g);
    AddShift(q);
}

void qvTransformCoord3D::AddTurn(double angle, qvTVec3<double> v) {
    qvTMatrix3x3<double> r;
    r.SetTurn(angle, v);
    AddMatrix(r);
}

void qvTransformCoord3D::AddTurn(const qvTVec3<double>& from, const qvTVec3<double>& to) {
    qvTMatrix3x3<double> r;
    r.SetTurn(from, to);
    AddMatrix(r);
}

qvTVec3<double> qvTransformCoord3D::Transform(const qvTVec3<double>& p) const { return M * p + s; }

qvTVec3<double> qvTransformCoord3D::TransformVec(const qvTVec3<double>& v) const { return M * v; }

qvTVec3<double> qvTransformCoord3D::GetOldScale(const qvTVec3<double>& k) const { return ColumnLengths<3>(M, k); }

qvTVec3<double> qvTransformCoord3D::GetNewScale(const qvTVec3<double>& k) const { return Inverse().GetOldScale(k); }

qvTransformCoord3D qvTransformCoord3D::Inverse() const { return InverseOf(*this); }

qvTransformCoord3D qvTransformCoord3D::operator*(const qvTransformCoord3D& t) const { return Compose(*this, t); }

int qvTransformCoord3D::MemSize() const { return 96; }

int qvTransformCoord3D::ToMem(unsigned char* p) const {
    for (int i = 0; i < 9; ++i) qvDetail::PutLE(p + 8 * i, M(i / 3, i % 3));
    for (int i = 0; i < 3; ++i) qvDetail::PutLE(p + 72 + 8 * i, s[i]);
    return 96;
}

int qvTransformCoord3D::FromMem(unsigned char* p) {
    for (int i = 0; i < 9; ++i) M(i / 3, i % 3) = qvDetail::GetLE<double>(p + 8 * i);
    for (int i = 0; i < 3; ++i) s[i] = qvDetail::GetLE<double>(p + 72 + 8 * i);
    return 96;
}

int qvTransformCoord3D::RecordSize(const unsigned char*, int available) { return qvCheckRecordLength(96, available); }

int qvTransformCoord3D::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available);
    return FromMem(const_cast<unsigned char*>(p));
}

int qvMemSize(const qvTransformCoord3D& t) { return t.MemSize(); }
int qvToMem(unsigned char* p, const qvTransformCoord3D& t) { return t.ToMem(p); }
int qvFromMem(unsigned char* p, qvTransformCoord3D& t) { return t.FromMem(p); }
int qvRecordSize(const unsigned char* p, int available, const qvTransformCoord3D&) { return qvTransformCoord3D::RecordSize(p, available); }
int qvFromMem(const unsigned char* p, int available, qvTransformCoord3D& t) { return t.FromMem(p, available); }

// ---- qvTransformCoord -----------------------------------------------------

qvTransformCoord::qvTransformCoord(const qvColumnVector<double>& shift, const qvColumnVector<double>& dir, int k) {
    if (shift.Len() != 2) throw BadParameters(qvMsg::TransformShiftNotTwo);
    const qvVec2 d(dir);  // throws unless dir has two elements
    qvMatrix2x2 turn;
    turn.SetTurn(d, k);
    M = qvMatrix<double>(turn);
    qvColumnVector<double>::operator=(shift);
}

qvTransformCoord::qvTransformCoord(const qvTransformCoord& t) : qvColumnVector<double>(t), M(t.M) {}

qvTransformCoord& qvTransformCoord::operator=(const qvTransformCoord& t) {
    qvColumnVector<double>::operator=(t);
    M = t.M;
    return *this;
}

qvTransformCoord::~qvTransformCoord() {}

qvColumnVector<double> qvTransformCoord::GetCoord(const qvColumnVector<double>& x) const {
    return M * x + static_cast<const qvColumnVector<double>&>(*this);
}

qvColumnVector<double> qvTransformCoord::GetScale(const qvVector<double>& w) const {
    const int n = M.LineLen();
    if (w.Len() != M.ColumnLen()) throw BadParameters(qvMsg::DifferentLength);
    qvColumnVector<double> r(n);
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int j = 0; j < M.ColumnLen(); ++j) {
            const double e = M(j, i) * w[j];
            sum += e * e;
        }
        r[i] = std::sqrt(sum);
    }
    return r;
}
