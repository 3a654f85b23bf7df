#include "cqv/betaspline/beta_spline.h"

BetaSpline::BetaSpline() { _SetSkewTension(1.0, 0.0); }

BetaSpline::BetaSpline(double skewValue, double tensionValue) { _SetSkewTension(skewValue, tensionValue); }

void BetaSpline::_SetSkewTension(double b, double g) {
    skew = b;
    tension = g;
    const double b2 = b * b;
    const double b3 = b2 * b;
    const double delta = 2.0 * (b3 + 1.0) + 4.0 * (b2 + b) + g;
    a = 2.0 / delta;
    d0 = (4.0 * (b2 + b) + g) / delta;
    d1 = -6.0 * (1.0 - b2) / delta;
    d2 = -3.0 * (2.0 * (b + 1.0) + g) / delta;
    d3 = -2.0 * (b + g + b2 + 1.0) / delta;
    e0 = d0;
    e1 = -6.0 * (b - b3) / delta;
    e2 = -3.0 * (2.0 * (b3 + b2) + g) / delta;
    e3 = 2.0 * (b + g + b3 + b2) / delta;
    f = 2.0 * b3 / delta;
}
