// What the vectors and matrices need to know about their element types;
// library-private.
//
// The three element types share every algorithm. They differ in the
// magnitude a pivot search compares, in what counts as a zero pivot, in the
// reciprocal, in the Euclidean norm and in their byte records; this header
// gathers those differences in one traits class per type.
#ifndef CQV_LINALG_ELEMENT_OPS_INTERNAL_H
#define CQV_LINALG_ELEMENT_OPS_INTERNAL_H

#include <cmath>

#include "cqv/core/byte_order_internal.h"
#include "cqv/values/complex.h"
#include "cqv/values/vec3.h"

namespace qvDetail {

template <class T>
struct LinalgElem;

template <>
struct LinalgElem<double> {
    using Magnitude = double;
    static double Zero() { return 0.0; }
    static double One() { return 1.0; }
    // A pivot that stops the elimination or a factor that skips a row:
    // exactly 0, or NaN.
    static bool IsZero(double x) { return !(x < 0.0 || x > 0.0); }
    static double Magnitude_(double x) { return std::fabs(x); }
    // The pivot search moves to a candidate of strictly greater magnitude;
    // NaN counts as greater.
    static bool Greater(double cand, double best) { return !(cand <= best); }
    static double Recip(double x) { return 1.0 / x; }
    // The norm from the sum of squares.
    static double RootOfSquares(double s) { return std::sqrt(s); }
    static int Put(unsigned char* p, const double& v) { return PutLE(p, v); }
    static int Get(const unsigned char* p, double& v) {
        v = GetLE<double>(p);
        return 8;
    }
};

template <>
struct LinalgElem<qvComplex> {
    using Magnitude = double;
    static qvComplex Zero() { return qvComplex(0.0, 0.0); }
    static qvComplex One() { return qvComplex(1.0, 0.0); }
    static bool IsZero(const qvComplex& x) {
        return (x.re == 0.0 && x.im == 0.0) || std::isnan(x.re) || std::isnan(x.im);
    }
    static double Magnitude_(const qvComplex& x) { return qvAbs(x); }
    static bool Greater(double cand, double best) { return !(cand <= best); }
    static qvComplex Recip(const qvComplex& x) { return qvComplex(1.0) / x; }
    // The principal square root of the complex sum of squares, taken through
    // its modulus r: r·sqrt((1 - c)/2) + i·r·sqrt((1 + c)/2) with c = im/r.
    static qvComplex RootOfSquares(const qvComplex& s) {
        const double r = qvAbs(s);
        if (r == 0.0) return s;
        const double c = s.im / r;
        return qvComplex(r * std::sqrt((1.0 - c) * 0.5), r * std::sqrt((1.0 + c) * 0.5));
    }
    static int Put(unsigned char* p, const qvComplex& v) {
        PutLE(p, v.re);
        PutLE(p + 8, v.im);
        return 16;
    }
    static int Get(const unsigned char* p, qvComplex& v) {
        v.re = GetLE<double>(p);
        v.im = GetLE<double>(p + 8);
        return 16;
    }
};

template <>
struct LinalgElem<qvTVec3<double>> {
    using V = qvTVec3<double>;
    using Magnitude = V;
    static V Zero() { return V(0.0, 0.0, 0.0); }
    static V One() { return V(1.0, 1.0, 1.0); }
    // Three systems share one pivot order: a pivot stops the elimination only
    // when it is zero (or NaN) in every coordinate.
    static bool IsZero(const V& x) {
        return LinalgElem<double>::IsZero(x.X()) && LinalgElem<double>::IsZero(x.Y()) &&
               LinalgElem<double>::IsZero(x.Z());
    }
    static V Magnitude_(const V& x) { return V(std::fabs(x.X()), std::fabs(x.Y()), std::fabs(x.Z())); }
    // A candidate wins only when it is greater in all three coordinates.
    static bool Greater(const V& cand, const V& best) {
        return !(cand.X() <= best.X()) && !(cand.Y() <= best.Y()) && !(cand.Z() <= best.Z());
    }
    static V Recip(const V& x) { return V(1.0 / x.X(), 1.0 / x.Y(), 1.0 / x.Z()); }
    static V RootOfSquares(const V& s) { return V(std::sqrt(s.X()), std::sqrt(s.Y()), std::sqrt(s.Z())); }
    static int Put(unsigned char* p, const V& v) {
        PutLE(p, v.X());
        PutLE(p + 8, v.Y());
        PutLE(p + 16, v.Z());
        return 24;
    }
    static int Get(const unsigned char* p, V& v) {
        v.X() = GetLE<double>(p);
        v.Y() = GetLE<double>(p + 8);
        v.Z() = GetLE<double>(p + 16);
        return 24;
    }
};

}  // namespace qvDetail

#endif  // CQV_LINALG_ELEMENT_OPS_INTERNAL_H
