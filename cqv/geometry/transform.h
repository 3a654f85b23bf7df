// Affine coordinate transforms: p ↦ M·p + s, M a square matrix and s a shift.
//
// qvTransformCoord2D (plane) and qvTransformCoord3D (space) are plain values
// built up step by step from the identity: every Add… member composes its
// move after the transform so far, so AddShift(v) then AddTurn(a) first
// shifts and then turns. The plane transform can also be fitted to pairs of
// corresponding points by least squares (MakeRotateShiftFromEquations).
// qvTransformCoord is the general form on the linear-algebra vector and
// matrix: it is its own shift vector and holds its matrix, and it shares the
// storage of both the way those classes share theirs.
//
// Both fixed-size transforms store themselves as packed little-endian
// records with the matrix first: 48 bytes in the plane (the 32-byte matrix
// record, then the 16-byte vector record), 96 in space (the nine matrix
// elements row by row, then the three shift coordinates).
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_GEOMETRY_TRANSFORM_H
#define CQV_GEOMETRY_TRANSFORM_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/core/record.h"
#include "cqv/geometry/rect.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"
#include "cqv/values/matrix2x2.h"
#include "cqv/values/matrix3x3.h"
#include "cqv/values/vec2.h"
#include "cqv/values/vec3.h"

// An affine transform of the plane, p ↦ M·p + s, built up step by step from
// the identity.
class CQV_API qvTransformCoord2D {
public:
    // The identity: s = 0, M = the unit matrix.
    qvTransformCoord2D();
    // Copies the shift and the matrix.
    qvTransformCoord2D(const qvTransformCoord2D&) = default;
    qvTransformCoord2D& operator=(const qvTransformCoord2D&) = default;

    // The shift s.
    CQV_INLINE const qvVec2& GetShift() const { return s; }
    // The matrix M.
    CQV_INLINE const qvMatrix2x2& GetMatrix() const { return M; }

    // Translates by v after the present transform: s = s + v.
    void AddShift(const qvVec2& v);
    // Scales output axis i by k[i]: s[i] and row i of M are multiplied by
    // k[i].
    void AddScale(const qvVec2& k);
    // Scales by k about the centre q: AddShift(-q), AddScale(k), AddShift(q).
    void AddScale(const qvVec2& k, const qvVec2& q);
    // Applies a after the present transform: M = a·M, s = a·s.
    void AddMatrix(const qvMatrix2x2& a);
    // Turns by angle radians counter-clockwise about the origin.
    void AddTurn(double angle);
    // Turns by angle about the centre q, which stays where it is.
    void AddTurn(double angle, const qvVec2& q);

    // M·p + s.
    qvVec2 Transform(const qvVec2& p) const;
    // M·v: a direction, which is not shifted.
    qvVec2 TransformVec(const qvVec2& v) const;
    // For each axis i, the length of column i of M with its rows scaled by
    // k: sqrt(Σ_j (k[j]·M(j, i))²). How long a unit step along input axis i
    // becomes, measured in output units scaled by k.
    qvVec2 GetOldScale(qvVec2 k) const;
    // Inverse().GetOldScale(k). Throws as Inverse does.
    qvVec2 GetNewScale(const qvVec2& k) const;
    // The inverse transform p ↦ M⁻¹·(p - s). Throws BadParameters
    // "qvMatrix2x2::Inverse : det = 0 " when |det M| < 1e-60.
    qvTransformCoord2D Inverse() const;
    // The composition t first, then this transform: (this·t)(p) =
    // M·(M_t·p + s_t) + s.
    qvTransformCoord2D operator*(const qvTransformCoord2D& t) const;

    // The bounding rectangle of the images of the rectangle's four corners.
    qvRect<qvVec2> TransformRect(const qvRect<qvVec2>& r) const;

    // Replaces this transform by the rotation plus shift (no scaling) that
    // carries a[i] onto b[i] best in the least-squares sense. Of the two
    // rotations that make the least-squares condition stationary (θ and
    // θ + π) the one with the smaller residual Σ |T(a[i]) - b[i]|² is taken,
    // θ + π on a tie. Throws BadParameters
    // "qvTransformCoord2D::MakeFromEquations: different number" when a and b
    // differ in length (the transform is then unchanged). No pairs, or all
    // points of a at one place, give non-finite fields.
    void MakeRotateShiftFromEquations(const qvSimpleArray<qvVec2>& a, const qvSimpleArray<qvVec2>& b);

    // 48, the size of the record: the matrix record, then the shift record.
    int MemSize() const;
    // Writes the record at p; returns 48.
    int ToMem(unsigned char* p) const;
    // Reads the record at p; returns 48. Trusts the buffer: for untrusted
    // bytes use FromMem(p, available).
    int FromMem(unsigned char* p);
    // The same reading from untrusted bytes. Throws BadParameters
    // "Record is longer than the bytes available" when available is below
    // 48, leaving the transform unchanged.
    int FromMem(const unsigned char* p, int available);
    // The record's size, 48; throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

private:
    qvVec2 s;
    qvMatrix2x2 M;
};

// An affine transform of space, p ↦ M·p + s, built up step by step from the
// identity.
class CQV_API qvTransformCoord3D {
public:
    // The identity: s = 0, M = the unit matrix.
    qvTransformCoord3D();
    // Copies the shift and the matrix.
    qvTransformCoord3D(const qvTransformCoord3D&) = default;
    qvTransformCoord3D& operator=(const qvTransformCoord3D&) = default;

    // The shift s.
    CQV_INLINE const qvTVec3<double>& GetShift() const { return s; }
    // The matrix M.
    CQV_INLINE const qvTMatrix3x3<double>& GetMatrix() const { return M; }

    // Translates by v after the present transform: s = s + v.
    void AddShift(const qvTVec3<double>& v);
    // Scales output axis i by k[i]: s[i] and row i of M are multiplied by
    // k[i].
    void AddScale(const qvTVec3<double>& k);
    // Scales by k about the centre q: AddShift(-q), AddScale(k), AddShift(q).
    void AddScale(const qvTVec3<double>& k, const qvTVec3<double>& q);
    // Applies a after the present transform: M = a·M, s = a·s.
    void AddMatrix(const qvTMatrix3x3<double>& a);
    // Turns by a about x, then b about y, then g about z (R = Rz·Ry·Rx).
    void AddTurn(double a, double b, double g);
    // The same turn about the centre q, which stays where it is.
    void AddTurn(double a, double b, double g, const qvTVec3<double>& q);
    // Turns by angle about the axis v through the origin (right-handed).
    void AddTurn(double angle, qvTVec3<double> v);
    // Turns the direction of from onto that of to (the identity for equal
    // directions, minus the identity for opposite ones).
    void AddTurn(const qvTVec3<double>& from, const qvTVec3<double>& to);

    // M·p + s.
    qvTVec3<double> Transform(const qvTVec3<double>& p) const;
    // M·v: a direction, which is not shifted.
    qvTVec3<double> TransformVec(const qvTVec3<double>& v) const;
    // For each axis i, sqrt(Σ_j (k[j]·M(j, i))²), as in the plane.
    qvTVec3<double> GetOldScale(const qvTVec3<double>& k) const;
    // Inverse().GetOldScale(k). Throws as Inverse does.
    qvTVec3<double> GetNewScale(const qvTVec3<double>& k) const;
    // The inverse transform p ↦ M⁻¹·(p - s), M⁻¹ by the general matrix's
    // elimination. Throws BadParameters "Система имеет не единственное
    // решение." (in Windows-1251) when the elimination meets a zero pivot.
    qvTransformCoord3D Inverse() const;
    // The composition t first, then this transform.
    qvTransformCoord3D operator*(const qvTransformCoord3D& t) const;

    // 96, the size of the record: the nine matrix elements row by row, then
    // s.
    int MemSize() const;
    // Writes the record at p; returns 96.
    int ToMem(unsigned char* p) const;
    // Reads the record at p; returns 96. Trusts the buffer: for untrusted
    // bytes use FromMem(p, available).
    int FromMem(unsigned char* p);
    // The same reading from untrusted bytes. Throws BadParameters
    // "Record is longer than the bytes available" when available is below
    // 96, leaving the transform unchanged.
    int FromMem(const unsigned char* p, int available);
    // The record's size, 96; throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

private:
    qvTVec3<double> s;
    qvTMatrix3x3<double> M;
};

// 48, the size of a plane transform's record (t.MemSize()).
CQV_API int qvMemSize(const qvTransformCoord2D& t);
// Writes t's record at p; returns 48.
CQV_API int qvToMem(unsigned char* p, const qvTransformCoord2D& t);
// Reads a plane transform's record at p into t; returns 48.
CQV_API int qvFromMem(unsigned char* p, qvTransformCoord2D& t);
// 96, the size of a space transform's record (t.MemSize()).
CQV_API int qvMemSize(const qvTransformCoord3D& t);
// Writes t's record at p; returns 96.
CQV_API int qvToMem(unsigned char* p, const qvTransformCoord3D& t);
// Reads a space transform's record at p into t; returns 96.
CQV_API int qvFromMem(unsigned char* p, qvTransformCoord3D& t);
// The bounded forms for untrusted bytes: the members RecordSize and
// FromMem(p, available), which throw as those.
CQV_API int qvRecordSize(const unsigned char* p, int available, const qvTransformCoord2D& t);
CQV_API int qvFromMem(const unsigned char* p, int available, qvTransformCoord2D& t);
CQV_API int qvRecordSize(const unsigned char* p, int available, const qvTransformCoord3D& t);
CQV_API int qvFromMem(const unsigned char* p, int available, qvTransformCoord3D& t);

// The general transform p ↦ M·p + s over the linear-algebra classes: it is
// the column vector s and holds the n × n matrix M. Only the plane (n = 2)
// can be built. A copy is a window on both the source's shift and matrix
// (writing into one is seen by the other); assignment writes into the present
// storage when the sizes agree, as the vector and the matrix do.
class CQV_API qvTransformCoord : public qvColumnVector<double> {
public:
    // s = a private copy of shift; M = the turn that carries the x axis
    // (k = 0) or the y axis (any other k) onto the direction of dir. Throws
    // BadParameters "qvTransformCoord : must be dimention equal two." when
    // shift does not have two elements, then "qvVec2: Dim must be equal 2 "
    // when dir does not.
    qvTransformCoord(const qvColumnVector<double>& shift, const qvColumnVector<double>& dir, int k);
    // A window on t's shift and on t's matrix.
    qvTransformCoord(const qvTransformCoord& t);
    // Assigns the shift and the matrix by the vector's and the matrix's
    // rules (write-through at equal sizes).
    qvTransformCoord& operator=(const qvTransformCoord& t);
    // Assigning a vector assigns the shift alone.
    using qvColumnVector<double>::operator=;
    // Releases the shift's block and the matrix's.
    ~qvTransformCoord() override;

    // The matrix M (the shift is this object itself).
    CQV_INLINE const qvMatrix<double>& GetMatrix() const { return M; }

    // M·x + s. Throws BadParameters "different length." when x's length is
    // not n (or the shift's length no longer matches M).
    qvColumnVector<double> GetCoord(const qvColumnVector<double>& x) const;
    // Element i: the length of column i of M multiplied element by element
    // by w, sqrt(Σ_j (M(j, i)·w[j])²). Throws BadParameters "different
    // length." when w's length is not n.
    qvColumnVector<double> GetScale(const qvVector<double>& w) const;

private:
    qvMatrix<double> M;
};

#endif  // CQV_GEOMETRY_TRANSFORM_H
