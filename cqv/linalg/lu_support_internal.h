// What the accurate LU factorisations share; library-private.
//
// The dense LU (cqv/linalg/lu_decomposition.h) and the band LU
// (cqv/numeric/band_lu.h) both pivot by magnitude, divide by their pivots,
// keep their determinant as a mantissa with a separate binary exponent and
// estimate the norm of their inverse by Higham's method. The element
// arithmetic those steps need, for double and qvComplex, and the two shared
// procedures live here.
#ifndef CQV_LINALG_LU_SUPPORT_INTERNAL_H
#define CQV_LINALG_LU_SUPPORT_INTERNAL_H

#include <cmath>
#include <limits>
#include <type_traits>

#include "cqv/core/rounding.h"
#include "cqv/values/complex.h"

namespace qvDetail {

template <class E>
struct LUElem;

template <>
struct LUElem<double> {
    static double Zero() { return 0.0; }
    static double One() { return 1.0; }
    // The magnitude the pivot search compares.
    static double Abs1(double x) { return std::fabs(x); }
    static bool IsZero(double x) { return x == 0.0; }
    static bool IsFinite(double x) { return std::isfinite(x); }
    static double Div(double a, double b) { return a / b; }
    static double Conj(double x) { return x; }
    // a - b·c, the product rounded before the subtraction.
    static double SubMul(double a, double b, double c) { return a - Rounded(b * c); }
    // The element of unit size that points the way x does (+1 for 0): the
    // vector whose 1-norm the norm estimate maximises is built from these.
    static double Direction(double x) { return x >= 0.0 ? 1.0 : -1.0; }
    static double Scale(double x, int e) { return std::ldexp(x, e); }
    // The binary exponent k with 2^(k-1) ≤ the larger part < 2^k (0 for 0).
    static int Exponent(double x) {
        int k = 0;
        std::frexp(x, &k);
        return k;
    }
    static double Modulus(double x) { return std::fabs(x); }
};

template <>
struct LUElem<qvComplex> {
    static qvComplex Zero() { return qvComplex(0.0, 0.0); }
    static qvComplex One() { return qvComplex(1.0, 0.0); }
    // |re| + |im|: within a factor √2 of the modulus, and free of the
    // overflow that squaring brings to parts beyond 1e154.
    static double Abs1(const qvComplex& z) { return std::fabs(z.re) + std::fabs(z.im); }
    static bool IsZero(const qvComplex& z) { return z.re == 0.0 && z.im == 0.0; }
    static bool IsFinite(const qvComplex& z) { return std::isfinite(z.re) && std::isfinite(z.im); }
    // a / b by Smith's method: the divisor's parts are divided by each other
    // first, so no squared modulus overflows or underflows on the way.
    static qvComplex Div(const qvComplex& a, const qvComplex& b) {
        if (std::fabs(b.re) >= std::fabs(b.im)) {
            const double r = b.im / b.re;
            const double d = b.re + Rounded(b.im * r);
            return qvComplex((a.re + Rounded(a.im * r)) / d, (a.im - Rounded(a.re * r)) / d);
        }
        const double r = b.re / b.im;
        const double d = Rounded(b.re * r) + b.im;
        return qvComplex((Rounded(a.re * r) + a.im) / d, (Rounded(a.im * r) - a.re) / d);
    }
    static qvComplex Conj(const qvComplex& z) { return qvComplex(z.re, -z.im); }
    static qvComplex SubMul(const qvComplex& a, const qvComplex& b, const qvComplex& c) { return a - b * c; }
    static qvComplex Direction(const qvComplex& z) {
        const double m = std::hypot(z.re, z.im);
        return m > 0.0 ? qvComplex(z.re / m, z.im / m) : qvComplex(1.0, 0.0);
    }
    static qvComplex Scale(const qvComplex& z, int e) { return qvComplex(std::ldexp(z.re, e), std::ldexp(z.im, e)); }
    static int Exponent(const qvComplex& z) { return LUElem<double>::Exponent(std::fmax(std::fabs(z.re), std::fabs(z.im))); }
    static double Modulus(const qvComplex& z) { return std::hypot(z.re, z.im); }
};

// Whether all of n elements, step apart, are finite.
template <class E>
bool AllFinite(const E* p, int n, int step) {
    for (int i = 0; i < n; ++i)
        if (!LUElem<E>::IsFinite(p[static_cast<long long>(i) * step])) return false;
    return true;
}

// A product of many factors kept as mantissa · 2^exponent, the mantissa's
// larger part renormalised into [0.5, 1) after every factor, so that no
// partial product overflows or underflows however many factors it takes.
template <class E>
class ScaledProduct {
public:
    ScaledProduct() : mantissa(LUElem<E>::One()), exponent(0) {}
    void Multiply(const E& f) {
        using L = LUElem<E>;
        if (L::IsZero(f)) {
            mantissa = L::Zero();
            exponent = 0;
            return;
        }
        const int kf = L::Exponent(f);
        mantissa = mantissa * L::Scale(f, -kf);
        exponent += kf;
        const int km = L::Exponent(mantissa);
        mantissa = L::Scale(mantissa, -km);
        exponent += km;
    }
    void Negate() { mantissa = -mantissa; }
    // The product as one number: infinite or zero only when its magnitude
    // lies beyond the range of double.
    E Value() const {
        constexpr long long kFar = 4096;  // beyond any double's exponent
        const long long e = exponent > kFar ? kFar : (exponent < -kFar ? -kFar : exponent);
        return LUElem<E>::Scale(mantissa, static_cast<int>(e));
    }
    // The sign (double: -1, 0 or 1) or the phase (qvComplex: modulus 1, or
    // 0 for a zero product).
    E Sign() const {
        using L = LUElem<E>;
        return L::IsZero(mantissa) ? L::Zero() : L::Direction(mantissa);
    }
    // The natural logarithm of the magnitude; -infinity for zero.
    double LogAbs() const {
        const double m = LUElem<E>::Modulus(mantissa);
        if (m == 0.0) return -std::numeric_limits<double>::infinity();
        return std::log(m) + static_cast<double>(exponent) * 0.69314718055994530942;
    }

private:
    E mantissa;
    long long exponent;
};

// An estimate of ||M||_1 for an n × n operator M known only by its action:
// apply(x) overwrites x with M·x and applyAdjoint(x) with Mᴴ·x (Mᵀ·x for
// real elements). This is Higham's refinement of Hager's method, as in
// LAPACK's xLACN2: from x = (1/n, ..., 1/n) it alternates products with M
// and with Mᴴ, moving to the unit vector where the adjoint product peaks,
// for at most five rounds, and finally tries the alternating vector
// (-1)^i·(1 + i/(n-1)), which catches matrices that fool the iteration. The
// result is a lower bound of the norm, within a factor 3 of it in practice.
// x and sign hold n elements each (work space). A non-finite product makes
// the estimate infinite.
template <class E, class Apply, class ApplyAdjoint>
double EstimateNorm1(int n, Apply apply, ApplyAdjoint applyAdjoint, E* x, E* sign) {
    using L = LUElem<E>;
    const double inf = std::numeric_limits<double>::infinity();
    auto norm1 = [&] {
        double s = 0.0;
        for (int i = 0; i < n; ++i) s += L::Modulus(x[i]);
        return s;
    };
    // The index of the first element of largest magnitude, which marks the
    // unit vector tried next.
    auto peak = [&] {
        int j = 0;
        double best = -1.0;
        for (int i = 0; i < n; ++i) {
            const double v = L::Modulus(x[i]);
            if (v > best) {
                best = v;
                j = i;
            }
        }
        return j;
    };
    for (int i = 0; i < n; ++i) x[i] = L::One() * (1.0 / n);
    apply(x);
    if (n == 1) return L::Modulus(x[0]);
    double est = norm1();
    if (!std::isfinite(est)) return inf;
    for (int i = 0; i < n; ++i) sign[i] = L::Direction(x[i]);
    for (int i = 0; i < n; ++i) x[i] = sign[i];
    applyAdjoint(x);
    int j = peak();
    for (int round = 2; round <= 5; ++round) {
        for (int i = 0; i < n; ++i) x[i] = L::Zero();
        x[j] = L::One();
        apply(x);
        const double previous = est;
        est = norm1();
        if (!std::isfinite(est)) return inf;
        // Real elements: the same signs again mean the iteration has settled.
        bool repeated = !std::is_same<E, qvComplex>::value;
        for (int i = 0; i < n && repeated; ++i) repeated = L::Direction(x[i]) == sign[i];
        if (repeated || est <= previous) break;
        for (int i = 0; i < n; ++i) sign[i] = L::Direction(x[i]);
        for (int i = 0; i < n; ++i) x[i] = sign[i];
        applyAdjoint(x);
        const int last = j;
        j = peak();
        if (L::Modulus(x[last]) == L::Modulus(x[j])) break;
    }
    double alt = 1.0;
    for (int i = 0; i < n; ++i) {
        x[i] = L::One() * (alt * (1.0 + static_cast<double>(i) / (n - 1)));
        alt = -alt;
    }
    apply(x);
    const double tail = 2.0 * norm1() / (3.0 * n);
    if (!std::isfinite(tail)) return inf;
    return tail > est ? tail : est;
}

// The determinant from the n pivots of a factorisation, pivot(k) giving the
// k-th, negated once for every step k whose exchange piv[k] moved a row.
template <class E, class Pivot>
ScaledProduct<E> PivotProduct(int n, Pivot pivot, const int* piv) {
    ScaledProduct<E> d;
    bool odd = false;
    for (int k = 0; k < n; ++k) {
        d.Multiply(pivot(k));
        if (piv[k] != k) odd = !odd;
    }
    if (odd) d.Negate();
    return d;
}

// 1 / (norm1 · ||A⁻¹||₁) with ||A⁻¹||₁ estimated by EstimateNorm1 from the
// solutions apply and applyAdjoint (work: 2n elements); 0 when the matrix
// is not regular, when norm1 is 0 or not finite, or when the estimate is
// not finite.
template <class E, class Apply, class ApplyAdjoint>
double ReciprocalCondition(int n, double norm1, bool regular, Apply apply, ApplyAdjoint applyAdjoint, E* work) {
    if (!regular || !(norm1 > 0.0) || !std::isfinite(norm1)) return 0.0;
    const double inverseNorm = EstimateNorm1<E>(n, apply, applyAdjoint, work, work + n);
    return std::isfinite(inverseNorm) && inverseNorm > 0.0 ? (1.0 / inverseNorm) / norm1 : 0.0;
}

}  // namespace qvDetail

#endif  // CQV_LINALG_LU_SUPPORT_INTERNAL_H
