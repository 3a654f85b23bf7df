// BetaSpline: the uniform cubic Beta-spline blending function.
//
// The blending function B(t) is a piecewise cubic with support (-2, 2],
// shaped by two parameters: the skew (bias, β1) and the tension (β2). With
// skew 1 and tension 0 it is the uniform cubic B-spline basis
// 2/3 - t² + |t|³/2 on [-1, 1] and (2 - |t|)³/6 beyond. For any skew and
// tension B(-1) + B(0) + B(1) = 1, and curves built on B are continuous in
// position, in the direction of the tangent and in curvature.
//
// The object is twelve doubles in this order: the tension, the skew, and the
// ten coefficients of the four cubic pieces (a, d0 .. d3, e0 .. e3, f):
//   -2 < t <= -1:  a·(t + 2)³
//   -1 < t <=  0:  d0 + d1·t + d2·t² + d3·t³
//    0 < t <=  1:  e0 + e1·t + e2·t² + e3·t³
//    1 < t <=  2:  f·(2 - t)³
// and 0 elsewhere (also for a NaN). Copying copies the twelve values.
//
// Nothing here allocates or throws.
#ifndef CQV_BETASPLINE_BETA_SPLINE_H
#define CQV_BETASPLINE_BETA_SPLINE_H

#include "cqv/core/export.h"

// The uniform cubic Beta-spline blending function of a skew and a tension:
// four cubic pieces on (-2, 2], zero elsewhere.
class CQV_API BetaSpline {
public:
    // The uniform cubic B-spline: skew 1, tension 0.
    BetaSpline();
    // The blending function of the given skew and tension.
    BetaSpline(double skew, double tension);

    // Stores the skew (β1) and the tension (β2) and recomputes the ten
    // coefficients, each a polynomial in β1 and β2 divided by
    // δ = 2(β1³ + 1) + 4(β1² + β1) + β2. A skew and tension that make δ
    // zero give infinite coefficients; nothing is checked.
    void _SetSkewTension(double skew, double tension);

    // B(t), piece by piece as above; 0 outside (-2, 2] and for a NaN.
    CQV_INLINE double BetaBlend(double t) const {
        if (t > -2.0 && t <= -1.0) {
            const double x = t + 2.0;
            return a * (x * x * x);
        }
        if (t > -1.0 && t <= 0.0) return d0 + t * (d1 + t * (d2 + t * d3));
        if (t > 0.0 && t <= 1.0) return e0 + t * (e1 + t * (e2 + t * e3));
        if (t > 1.0 && t <= 2.0) {
            const double x = 2.0 - t;
            return f * (x * x * x);
        }
        return 0.0;
    }
    // The derivative B'(t), piece by piece as above; 0 outside (-2, 2] and
    // for a NaN.
    CQV_INLINE double BetaBlendDeriv(double t) const {
        if (t > -2.0 && t <= -1.0) {
            const double x = t + 2.0;
            return 3.0 * a * (x * x);
        }
        if (t > -1.0 && t <= 0.0) return d1 + t * (2.0 * d2 + t * (3.0 * d3));
        if (t > 0.0 && t <= 1.0) return e1 + t * (2.0 * e2 + t * (3.0 * e3));
        if (t > 1.0 && t <= 2.0) {
            const double x = 2.0 - t;
            return -3.0 * f * (x * x);
        }
        return 0.0;
    }

    // The skew (bias, β1).
    CQV_INLINE double GetSkew() const { return skew; }
    // The tension (β2).
    CQV_INLINE double GetTension() const { return tension; }

protected:
    // The tension (β2).
    double tension;
    // The skew (bias, β1).
    double skew;
    // The coefficient of the piece a·(t + 2)³ on (-2, -1].
    double a;
    // The coefficients of the piece d0 + d1·t + d2·t² + d3·t³ on (-1, 0].
    double d0, d1, d2, d3;
    // The coefficients of the piece e0 + e1·t + e2·t² + e3·t³ on (0, 1].
    double e0, e1, e2, e3;
    // The coefficient of the piece f·(2 - t)³ on (1, 2].
    double f;
};

#endif  // CQV_BETASPLINE_BETA_SPLINE_H
