// Member definitions of qvSpline<E>; included only by the library's sources
// that instantiate it. Not installed.
#ifndef CQV_SPLINES_SPLINE_IMPL_H
#define CQV_SPLINES_SPLINE_IMPL_H

#include <cmath>
#include <cstdint>
#include <cstring>

#include "cqv/core/exceptions.h"
#include "cqv/numeric/window_arrays_internal.h"
#include "cqv/numeric/polynom_internal.h"
#include "cqv/splines/messages.h"
#include "cqv/splines/spline.h"

namespace qvDetail {

// The four power coefficients, highest first, of the cubic on an interval
// of length h with chord slope s, left value y and second derivatives l and
// r at its ends:
//   (r - l)/(6h),  l/2,  s - (l/3 + r/6)·h,  y.
template <class E>
inline void CubicFromMoments(E* c, int tab, E l, E r, E h, E s, E y) {
    c[0] = (r - l) / (E(6) * h);
    c[tab] = l * E(0.5);
    c[2 * tab] = s - (l * (E(1) / E(3)) + r * (E(1) / E(6))) * h;
    c[3 * tab] = y;
}

// The cubic c[0]·t³ + c[1]·t² + c[2]·t + c[3] (coefficients tab apart) and
// its first and second derivatives, each exactly as the polynomial's
// general rule computes them (Horner's rule over the coefficients times
// their falling factors 3, 2, 1 and 6, 2).
template <class E>
inline E CubicValue(const E* c, int tab, E t) {
    return ((c[0] * t + c[tab]) * t + c[2 * tab]) * t + c[3 * tab];
}
template <class E>
inline E CubicSlope(const E* c, int tab, E t) {
    return (c[0] * E(3) * t + c[tab] * E(2)) * t + c[2 * tab] * E(1);
}
template <class E>
inline E CubicCurvature(const E* c, int tab, E t) {
    return c[0] * E(6) * t + c[tab] * E(2);
}

// The k-th derivative of p at x, through the cubic's own code for the value
// of a cubic in power form, the general rule otherwise.
template <class E>
inline E SplinePiece(const qvPolynom<E>& p, E x, int k) {
    const int form = static_cast<int>(p.GetKoefType());
    const E t = x - p.GetX0();
    if (k == 0 && p.Len() == 4 && form == PolynomPower) return CubicValue(p.GetPointer(), p.Tab(), t);
    return PolynomDerivative(p.GetPointer(), p.Len(), p.Tab(), form, t, k);
}

// The interval of x among the n ≥ 2 knots k with k[0] ≤ x < k[n-1]: the
// last i with k[i] ≤ x. The search starts from near (any index) and looks
// at it and its right neighbour first; from there it doubles its steps
// away until it has bracketed x, then halves the bracket. Constant time
// when x lies in or next to interval near, logarithmic in the distance
// otherwise.
template <class E>
inline int SplineIntervalFrom(const E* k, int n, E x, int near) {
    int lo, hi;
    if (k[near] <= x) {
        if (x < k[near + 1]) return near;
        lo = near + 1;
        for (int step = 1;; step *= 2) {
            hi = lo + step;
            if (hi >= n - 1) {
                hi = n - 1;
                break;
            }
            if (x < k[hi]) break;
            lo = hi;
        }
    } else {
        hi = near;
        for (int step = 1;; step *= 2) {
            lo = hi - step;
            if (lo <= 0) {
                lo = 0;
                break;
            }
            if (k[lo] <= x) break;
            hi = lo;
        }
    }
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (x < k[mid]) hi = mid;
        else lo = mid;
    }
    return lo;
}

// Checks x against the knots: throws "qvSpline: Out of range." for x
// outside [k[0], k[n-1]] or n < 2. Returns the last interval for x = k[n-1]
// and for NaN, -1 for every other x.
template <class E>
inline int SplineIntervalAtEnd(const E* k, int n, E x) {
    if (n < 2 || x < k[0] || x > k[n - 1]) throw BadParameters(qvMsg::SplineOutOfRange);
    return x < k[n - 1] ? -1 : n - 2;
}

// The n - 1 buckets of equal width between k[0] and k[n-1] (bucket b starts
// at k[0] + b/scale, scale = (n - 1)/(k[n-1] - k[0])) and, for each, the
// interval that holds its start: where the search for an x in that bucket
// begins. Written to table[0 .. n-2], four bytes each, by memcpy since the
// table lives in a block of E.
template <class E>
inline void SplineBuckets(const E* k, int n, E scale, unsigned char* table) {
    const E width = E(1) / scale;
    std::int32_t at = 0;
    for (int b = 0; b < n - 1; ++b) {
        const E start = k[0] + E(b) * width;
        while (at + 1 < n - 1 && k[at + 1] <= start) ++at;
        std::memcpy(table + 4 * static_cast<std::size_t>(b), &at, 4);
    }
}

// The interval of x among the n knots k (see the class comment), with the
// buckets above: the search starts from the interval that holds the start
// of x's bucket, so it ends at once when the knots are spread so that a
// bucket holds one or two of them, and takes a logarithmic number of steps
// where they crowd (SplineIntervalFrom). Throws as SplineIntervalAtEnd.
template <class E>
inline int SplineInterval(const E* k, int n, E scale, const unsigned char* table, E x) {
    const int end = SplineIntervalAtEnd(k, n, x);
    if (end >= 0) return end;
    const int top = n - 2;
    // A non-finite place (from infinite knots) takes the last bucket; the
    // search then finds x all the same.
    const E place = (x - k[0]) * scale;
    const int bucket = place < E(top) ? static_cast<int>(place) : top;
    std::int32_t at;
    std::memcpy(&at, table + 4 * static_cast<std::size_t>(bucket), 4);
    return SplineIntervalFrom(k, n, x, static_cast<int>(at));
}

// One end row of MkSpline3's system: its element beside the diagonal (Up[0]
// in row 0, Down[n-2] in row n-1), its diagonal element and its right side.
template <class E>
struct SplineEndRow {
    E side, diag, rhs;
};

// The cubic spline through the n ≥ 3 points (x_i, y_i) with the given end
// rows, as MkSpline3 builds it: every inner row
//   μ_i·M_{i-1} + 2·M_i + λ_i·M_{i+1} = 6/(h_{i-1} + h_i)·(s_i - s_{i-1}),
// λ_i = h_i/(h_{i-1} + h_i), μ_i = 1 - λ_i, solved by the tridiagonal sweep
// (the steps of qvDetail::SweepRun), and every interval's cubic from its
// moments (CubicFromMoments). ends(h_0, s_0, h_{n-2}, s_{n-2}, first, last)
// gives the two end rows. The coefficients go to c, four per interval,
// which is also the work space: until the backward sweep reaches interval
// i its four places hold h_i, s_i and the sweep's alpha_i and beta_i. The
// arithmetic of each element is that of the separate passes (system, sweep,
// cubics), in the same order. Returns whether the cubics pass the
// self-test (Check), checked as each is made.
template <class E, class Ends>
inline bool NaturalCubicsInto(E* c, const E* x, const E* y, int n, Ends ends) {
    const E tol = E(0.01);
    auto off = [tol](E a, E b) { return std::fabs(a - b) > tol; };
    E hp = x[1] - x[0];
    E sp = (y[1] - y[0]) / hp;
    const E h0 = hp, s0 = sp;
    E hl = x[n - 1] - x[n - 2];
    E sl = (y[n - 1] - y[n - 2]) / hl;
    SplineEndRow<E> first, last;
    ends(h0, s0, hl, sl, first, last);
    // Forward: row 0, then the inner rows 1 .. n-2.
    E alpha = -first.side / first.diag;
    E beta = first.rhs / first.diag;
    c[0] = h0;
    c[1] = s0;
    c[2] = alpha;
    c[3] = beta;
    for (int i = 1; i < n - 1; ++i) {
        const E h = x[i + 1] - x[i];
        const E s = (y[i + 1] - y[i]) / h;
        const E sum = hp + h;
        const E lambda = h / sum;
        const E lower = E(1) - lambda;
        const E rhs = E(6) / sum * (s - sp);
        const E den = lower * alpha + E(2);
        alpha = -lambda / den;
        beta = (rhs - lower * beta) / den;
        E* ci = c + 4 * i;
        ci[0] = h;
        ci[1] = s;
        ci[2] = alpha;
        ci[3] = beta;
        hp = h;
        sp = s;
    }
    // Row n-1 gives M_{n-1}; backward, each interval's cubic as soon as
    // both its moments are known, with the checks of its values and of the
    // join at its right knot.
    E right = (last.rhs - last.side * beta) / (last.side * alpha + last.diag);
    bool bad = false;
    for (int i = n - 2; i >= 0; --i) {
        E* ci = c + 4 * i;
        const E h = ci[0], s = ci[1];
        const E left = right * ci[2] + ci[3];
        CubicFromMoments(ci, 1, left, right, h, s, y[i]);
        bad = bad || off(CubicValue(ci, 1, x[i] - x[i]), y[i]) || off(CubicValue(ci, 1, x[i + 1] - x[i]), y[i + 1]);
        if (i + 1 < n - 1) {
            const E* next = ci + 4;
            const E tl = x[i + 1] - x[i];
            const E tr = x[i + 1] - x[i + 1];
            bad = bad || off(CubicSlope(ci, 1, tl), CubicSlope(next, 1, tr)) ||
                  off(CubicCurvature(ci, 1, tl), CubicCurvature(next, 1, tr));
        }
        right = left;
    }
    return !bad;
}

// The periodic cubic spline through the n ≥ 4 points (x_i, y_i), as
// MkPeriodSpline3 builds it: the n - 1 moments at x_1 .. x_{n-1} (row r for
// point r + 1, the interval after the last one being the first again)
// solved as qvMatrix3Diag's cyclic sweep solves them, two sweeps over the
// leading block of order n - 2 (for the right side, u, and for the column
// (1 - λ_1, 0, …, 0, λ_{n-2}), w) that share their alphas, the last moment
// from the closing row and the others corrected by it, then each
// interval's cubic from its moments. The coefficients go to c, four per
// interval, which is also the work space: interval r holds s_r, then
// alpha_r, beta_r of u and of w, then u_r and w_r. The arithmetic of each
// element is that of the separate passes, in the same order.
template <class E>
inline void PeriodicCubicsInto(E* c, const E* x, const E* y, int n) {
    const int lead = n - 2;  // rows 0 .. n-3; row n-2 closes the system
    const E h0 = x[1] - x[0];
    const E s0 = (y[1] - y[0]) / h0;
    c[0] = s0;
    E hp = h0, sp = s0;
    // The row r's elements with the interval after it: h_{r+1} and
    // s_{r+1}, or h_0 and s_0 after the last interval.
    auto row = [&](int r, E& lambda, E& rhs) {
        E h = h0, s = s0;
        if (r + 1 < n - 1) {
            h = x[r + 2] - x[r + 1];
            s = (y[r + 2] - y[r + 1]) / h;
            c[4 * (r + 1)] = s;
        }
        const E sum = hp + h;
        lambda = h / sum;
        rhs = E(6) / sum * (s - sp);
        hp = h;
        sp = s;
    };
    E lambda, rhs;
    row(0, lambda, rhs);
    const E corner = E(1) - lambda;  // (0, n-2)
    E alpha = -lambda / E(2);
    E bu = rhs / E(2);
    E bw = corner / E(2);
    c[1] = alpha;
    c[2] = bu;
    c[3] = bw;
    E lower = E(0);
    E up = lambda;  // the last lead row's λ, which w's last right side is
    for (int r = 1; r < lead; ++r) {
        row(r, lambda, rhs);
        lower = E(1) - lambda;
        up = lambda;
        if (r == lead - 1) break;
        const E den = lower * alpha + E(2);
        alpha = -lambda / den;
        bu = (rhs - lower * bu) / den;
        bw = (E(0) - lower * bw) / den;
        E* cr = c + 4 * r;
        cr[1] = alpha;
        cr[2] = bu;
        cr[3] = bw;
    }
    // The last lead row ends both sweeps; then back to row 0.
    const E den = lower * alpha + E(2);
    E u = (rhs - lower * bu) / den;
    E w = (up - lower * bw) / den;
    E* cl = c + 4 * (lead - 1);
    cl[2] = u;
    cl[3] = w;
    const E uLast = u, wLast = w;
    for (int r = lead - 2; r >= 0; --r) {
        E* cr = c + 4 * r;
        u = u * cr[1] + cr[2];
        w = w * cr[1] + cr[3];
        cr[2] = u;
        cr[3] = w;
    }
    // The closing row (point n-1, which is point 0 again).
    E closeLambda, closeRhs;
    row(lead, closeLambda, closeRhs);
    const E closeLower = E(1) - closeLambda;
    const E cornerLast = h0 / (x[n - 1] - x[n - 2] + h0);  // (n-2, 0)
    const E mLast = (closeRhs - u * cornerLast - closeLower * uLast) /
                    (E(2) - closeLower * wLast - cornerLast * w);
    // Interval 0 runs from M'_{n-2} to M'_0, interval i from M'_{i-1} to
    // M'_i.
    E left = mLast;
    for (int i = 0; i < n - 1; ++i) {
        E* ci = c + 4 * i;
        const E right = i < lead ? ci[2] - mLast * ci[3] : mLast;
        CubicFromMoments(ci, 1, left, right, x[i + 1] - x[i], ci[0], y[i]);
        left = right;
    }
}

// Zeros in every element of a matrix the library has just made (row-major,
// contiguous).
template <class E>
inline void FillZero(qvMatrix<E>& m) {
    E* p = m.GetPointer();
    const int count = m.ColumnLen() * m.LineLen();
    for (int i = 0; i < count; ++i) p[i] = E(0);
}

}  // namespace qvDetail

template <class E>
qvSpline<E>::qvSpline() {}

template <class E>
qvSpline<E>::qvSpline(const qvSimpleArray<qvColumnVector<E>>& p) : poly(p.Len() - 1) {
    const int n = p.Len();
    for (int i = 0; i < n; ++i)
        if (p[i].Len() < 2) throw BadParameters(qvMsg::DifferentSize);
    AdoptPoints(n, [&](int i, E& x, E& y) {
        x = p[i][0];
        y = p[i][1];
    });
    if (n < 3) throw BadParameters(qvMsg::SplineTooFewPoints);
}

template <class E>
qvSpline<E>::qvSpline(const qvSpline& s) {
    AdoptPoints(s.points.Len(), [&](int i, E& x, E& y) {
        x = s.points[i][0];
        y = s.points[i][1];
    });
    const int np = s.poly.Len();
    if (np == 0) return;
    poly.Set(np);
    ShapePolynomials(s.poly[0].Len(), s.poly[0].GetKoefType());
    // Equal lengths: each assignment writes into the fresh block, with the
    // offset and the form, so the copy has the source's layout.
    for (int i = 0; i < np; ++i) poly[i] = s.poly[i];
    MarkCubics(s.HoldsCubics());
}

template <class E>
qvSpline<E>& qvSpline<E>::operator=(const qvSpline& s) {
    if (this != &s) {
        qvSpline copy(s);
        swap(copy);
    }
    return *this;
}

template <class E>
void qvSpline<E>::swap(qvSpline& s) {
    poly.swap(s.poly);
    points.swap(s.points);
}

template <class E>
qvSpline<E>::~qvSpline() {}

template <class E>
void qvSpline<E>::Set(const qvCurve2D& c) {
    const int n = c.Len();
    if (n < 3) throw BadParameters(qvMsg::SplineTooFewPoints);
    qvSimpleArray<qvPolynom<E>> fresh(n - 1);
    AdoptPoints(n, [&](int i, E& x, E& y) {
        x = c[i].X();
        y = c[i].Y();
    });
    poly.swap(fresh);
}

template <class E>
template <class Get>
void qvSpline<E>::AdoptPoints(int n, Get get) {
    if (n == 0) {
        points.Clear();
        return;
    }
    qvColumnVector<E> block(2 * n + 2 + BucketElements(n));
    E* b = block.GetPointer();
    for (int i = 0; i < n; ++i) get(i, b[i], b[n + i]);
    b[2 * n] = E(n - 1) / (b[n - 1] - b[0]);
    b[2 * n + 1] = E(0);
    qvDetail::SplineBuckets(b, n, b[2 * n], reinterpret_cast<unsigned char*>(b + 2 * n + 2));
    // Point i: the window of x_i and y_i, n elements apart.
    qvSimpleArray<qvColumnVector<E>> p(n);
    qvDetail::VectorWindows::Open(p.GetPointer(), n, block.GetMem(), b, 1, 2, n);
    points.swap(p);
}

template <class E>
E* qvSpline<E>::ShapePolynomials(int len, typename qvPolynom<E>::KoefType form) {
    const int np = poly.Len();
    if (np == 0 || len == 0) return nullptr;
    E* base = poly[0].GetPointer();
    if (len == 4 && form == qvPolynom<E>::KoefPower && HoldsCubics()) return base;
    int i = 0;
    while (i < np && poly[i].Len() == len && poly[i].Tab() == 1 && poly[i].GetPointer() == base + i * len) ++i;
    if (i == np) {
        qvDetail::VectorWindows::SetOffsets(poly.GetPointer(), np, Knots(), form);
        return base;
    }
    // One block, its first coefficient on a 32-byte boundary, so that a
    // cubic's four coefficients never straddle two cache lines.
    qvColumnVector<E> block(np * len + 3);
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(block.GetPointer());
    const int skip = static_cast<int>((32 - at % 32) % 32 / sizeof(E));
    qvDetail::VectorWindows::OpenPolynomials(poly.GetPointer(), np, block.GetMem(), block.GetPointer() + skip, len,
                                             Knots(), form);
    return poly[0].GetPointer();
}

template <class E>
void qvSpline<E>::MkSpline3(const qvSimpleArray<int>& code, const qvMatrix<E>& value) {
    const int n = points.Len();
    if (n < 3) throw BadParameters(qvMsg::SplineTooFewPoints);
    if (code.Len() < 2) throw BadParameters(qvMsg::SplineBoundConditions);
    const int slopes = code[0], curvatures = code[1];
    const int count = (slopes & 1) + ((slopes >> 1) & 1) + (curvatures & 1) + ((curvatures >> 1) & 1);
    if (count != 2) throw BadParameters(qvMsg::SplineBoundConditions);
    if (value.ColumnLen() < ((curvatures & 3) != 0 ? 2 : 1) || value.LineLen() < 2)
        throw BadParameters(qvMsg::DifferentSize);

    const E* x = Knots();
    const E* y = x + n;
    E* c = ShapePolynomials(4, qvPolynom<E>::KoefPower);
    // End rows 2·M = 0 until a condition replaces them; a curvature
    // condition is applied after a slope condition on the same end.
    auto ends = [&](E h0, E s0, E hl, E sl, qvDetail::SplineEndRow<E>& first, qvDetail::SplineEndRow<E>& last) {
        first = {E(0), E(2), E(0)};
        last = {E(0), E(2), E(0)};
        if (slopes & 1) {
            first.side = E(1);
            first.rhs = E(6) / h0 * (s0 - value(0, 0));
        }
        if (slopes & 2) {
            last.side = E(1);
            last.rhs = E(6) / hl * (value(0, 1) - sl);
        }
        if (curvatures & 1) first = {E(0), E(1), value(1, 0)};
        if (curvatures & 2) last = {E(0), E(1), value(1, 1)};
    };
    const bool pass = qvDetail::NaturalCubicsInto(c, x, y, n, ends);
    MarkCubics(true);
    if (!pass) throw BadParameters(qvMsg::SplineError);
}

template <class E>
void qvSpline<E>::MkPeriodSpline3() {
    const int n = points.Len();
    const int order = n - 1;  // the moments at x_1 .. x_{n-1}
    if (order < 3) throw BadParameters(qvMsg::DifferentSize);
    E* c = ShapePolynomials(4, qvPolynom<E>::KoefPower);
    qvDetail::PeriodicCubicsInto(c, Knots(), Knots() + n, n);
    MarkCubics(true);
}

template <class E>
void qvSpline<E>::Make(int d, const qvSimpleArray<int>& code, const qvMatrix<E>& value) {
    const int n = points.Len();
    if (n < 3) throw BadParameters(qvMsg::SplineTooFewPoints);
    const int codes = d - 1;
    if (codes < 0 || code.Len() < codes) throw BadParameters(qvMsg::SplineBoundConditions);
    int count = 0, extra = 0;
    for (int k = 0; k < codes; ++k) {
        switch (code[k]) {
        case 0: break;
        case 1:
        case 2: ++count; break;
        case 3: count += 2; ++extra; break;
        case 4: ++count; ++extra; break;
        default: throw BadParameters(qvMsg::SplineBoundConditions);
        }
    }
    if (count != codes) throw BadParameters(qvMsg::SplineBoundConditions);
    if (codes > 0 && (value.ColumnLen() < codes || value.LineLen() < 2)) throw BadParameters(qvMsg::DifferentSize);

    const int intervals = n - 1;
    const int unknowns = intervals + extra;
    const int width = unknowns + 1;  // a form: one coefficient per unknown, then the constant
    const E* x = Knots();
    const E* y = x + n;

    // taylor[i·(d+1) + r] = h_i^r / r!.
    qvColumnVector<E> taylor(intervals * (d + 1));
    for (int i = 0; i < intervals; ++i) {
        E* t = taylor.GetPointer() + i * (d + 1);
        const E hi = x[i + 1] - x[i];
        E power = E(1), factorial = E(1);
        t[0] = E(1);
        for (int r = 1; r <= d; ++r) {
            power = power * hi;
            factorial = factorial * E(r);
            t[r] = power / factorial;
        }
    }
    const E* taylorAt = taylor.GetPointer();

    // The form of f^(m)(x_i), m = 1 .. d-1, i = 0 .. intervals.
    qvMatrix<E> forms;
    if (codes > 0) forms.Set(codes * n, width);
    qvDetail::FillZero(forms);
    auto form = [&](int m, int i) { return &forms((m - 1) * n + i, 0); };

    // The dense system; its extra rows and unknowns follow the intervals.
    qvMatrix<E> a(unknowns, unknowns);
    qvDetail::FillZero(a);
    qvColumnVector<E> b(unknowns);
    int nextUnknown = intervals, nextRow = intervals;

    // Forms, the highest order first: each uses those above it.
    for (int m = d - 1; m >= 1; --m) {
        const int k = m - 1;
        const int c = code[k];
        if (c == 2) {
            // From the right end backwards:
            // f^(m)(x_i) = f^(m)(x_{i+1}) - Σ_{j>m} f^(j)(x_i)·h_i^(j-m)/(j-m)!.
            E* end = form(m, intervals);
            end[unknowns] = value(k, 1);
            for (int i = intervals - 1; i >= 0; --i) {
                const E* t = taylorAt + i * (d + 1);
                E* out = form(m, i);
                const E* next = form(m, i + 1);
                for (int col = 0; col < width; ++col) {
                    E sum = E(0);
                    bool any = false;
                    for (int j = m + 1; j < d; ++j) {
                        const E term = form(j, i)[col] * t[j - m];
                        sum = any ? sum + term : term;
                        any = true;
                    }
                    if (col == i) {
                        const E term = t[d - m];
                        sum = any ? sum + term : term;
                        any = true;
                    }
                    out[col] = any ? next[col] - sum : next[col];
                }
            }
            continue;
        }
        // From the left end forwards:
        // f^(m)(x_{i+1}) = Σ_{j=m..d} f^(j)(x_i)·h_i^(j-m)/(j-m)!.
        E* start = form(m, 0);
        int w = -1;
        if (c == 1 || c == 3) start[unknowns] = value(k, 0);
        else {
            w = nextUnknown++;
            start[w] = E(1);
        }
        for (int i = 0; i < intervals; ++i) {
            const E* t = taylorAt + i * (d + 1);
            const E* here = form(m, i);
            E* out = form(m, i + 1);
            for (int col = 0; col < width; ++col) {
                E sum = here[col];
                for (int j = m + 1; j < d; ++j) sum = sum + form(j, i)[col] * t[j - m];
                if (col == i) sum = sum + t[d - m];
                out[col] = sum;
            }
        }
        if (c == 3 || c == 4) {
            // f^(m)(x_N) = value(k, 1), or f^(m)(x_N) - w = 0.
            const E* end = form(m, intervals);
            const int row = nextRow++;
            for (int col = 0; col < unknowns; ++col) a(row, col) = end[col];
            if (c == 4) a(row, w) = a(row, w) - E(1);
            b[row] = (c == 3 ? value(k, 1) : E(0)) - end[unknowns];
        }
    }

    // Rows 0 .. N-1: Σ_m h_i^m/m!·f^(m)(x_i) + h_i^d/d!·u_i = y_{i+1} - y_i.
    for (int i = 0; i < intervals; ++i) {
        const E* t = taylorAt + i * (d + 1);
        for (int col = 0; col < width; ++col) {
            E sum = E(0);
            bool any = false;
            for (int m = 1; m < d; ++m) {
                const E term = t[m] * form(m, i)[col];
                sum = any ? sum + term : term;
                any = true;
            }
            if (col == i) {
                sum = any ? sum + t[d] : t[d];
                any = true;
            }
            if (col < unknowns) a(i, col) = any ? sum : E(0);
            else b[i] = (y[i + 1] - y[i]) - (any ? sum : E(0));
        }
    }

    qvColumnVector<E> u;
    a.SolveEquationGaussMethod(u, b);

    // Polynomial i: (u_i, f^(d-1)(x_i), …, f'(x_i), y_i) in Taylor form.
    MarkCubics(false);
    E* coefficients = ShapePolynomials(d + 1, qvPolynom<E>::KoefTaylor);
    const E* uu = u.GetPointer();
    for (int i = 0; i < intervals; ++i) {
        E* c = coefficients + i * (d + 1);
        c[0] = uu[i];
        for (int m = d - 1; m >= 1; --m) {
            const E* fm = form(m, i);
            E v = E(0);
            for (int col = 0; col < unknowns; ++col) v = col == 0 ? fm[col] * uu[col] : v + fm[col] * uu[col];
            c[d - m] = v + fm[unknowns];
        }
        c[d] = y[i];
    }
}

template <class E>
int qvSpline<E>::GetSegmentNum(const E& x) const {
    const int n = points.Len();
    return n > 0 ? qvDetail::SplineInterval(Knots(), n, Knots()[2 * n], Buckets(), x)
                 : qvDetail::SplineIntervalAtEnd(static_cast<const E*>(nullptr), 0, x);
}

template <class E>
int qvSpline<E>::GetSegmentNum(const E& x, int near) const {
    const int n = points.Len();
    const E* k = n > 0 ? Knots() : nullptr;
    const E at = x;
    const int end = qvDetail::SplineIntervalAtEnd(k, n, at);
    if (end >= 0) return end;
    return qvDetail::SplineIntervalFrom(k, n, at, near < 0 ? 0 : near > n - 2 ? n - 2 : near);
}

template <class E>
E qvSpline<E>::operator()(const E& x) const {
    return Derivative(x, 0);
}

template <class E>
E qvSpline<E>::Derivative(const E& x, int k) const {
    const E at = x;
    const int n = points.Len();
    const E* knots = n > 0 ? Knots() : nullptr;
    const int seg = n > 0 ? qvDetail::SplineInterval(knots, n, knots[2 * n], Buckets(), at)
                          : qvDetail::SplineIntervalAtEnd(knots, n, at);
    if (seg >= poly.Len()) throw BadParameters(qvMsg::SplineOutOfRange);
    // Cubics side by side with their offsets at the knots: the value without
    // a look at the polynomial object.
    if (k == 0 && HoldsCubics()) return qvDetail::CubicValue(poly[0].GetPointer() + 4 * seg, 1, at - knots[seg]);
    return qvDetail::SplinePiece(poly[seg], at, k);
}

template <class E>
E qvSpline<E>::operator()(const E& x, int seg) const {
    return Derivative(x, 0, seg);
}

template <class E>
E qvSpline<E>::Derivative(const E& x, int k, int seg) const {
    if (seg < 0 || seg >= poly.Len()) throw BadParameters(qvMsg::SplineOutOfRange);
    return qvDetail::SplinePiece(poly[seg], x, k);
}

template <class E>
E qvSpline<E>::Derivative(int k, int i) const {
    const int n = points.Len();
    if (i < 0 || i >= n) throw BadParameters(qvMsg::SplineOutOfRange);
    const int seg = i == n - 1 ? n - 2 : i;
    if (seg < 0 || seg >= poly.Len()) throw BadParameters(qvMsg::SplineOutOfRange);
    return qvDetail::SplinePiece(poly[seg], Knots()[i], k);
}

template <class E>
int qvSpline<E>::SelfTest() const {
    const int n = points.Len();
    const int np = poly.Len();
    if (np == 0) return 1;
    const E* x = Knots();
    const E* y = x + n;
    const E tol = E(0.01);
    // A difference passes unless it is greater than the tolerance, so NaN
    // passes.
    auto off = [tol](E a, E b) { return std::fabs(a - b) > tol; };
    for (int i = 0; i < np; ++i) {
        if (off(qvDetail::SplinePiece(poly[i], x[i], 0), y[i]) ||
            off(qvDetail::SplinePiece(poly[i], x[i + 1], 0), y[i + 1]))
            return 0;
        if (i == 0) continue;
        // The derivatives on both sides of the inner knot x_i.
        const int len = poly[i - 1].Len() > poly[i].Len() ? poly[i - 1].Len() : poly[i].Len();
        for (int k = 1; k <= len - 2; ++k)
            if (off(qvDetail::SplinePiece(poly[i - 1], x[i], k), qvDetail::SplinePiece(poly[i], x[i], k))) return 0;
    }
    return 1;
}

template <class E>
int qvSpline<E>::Check() const {
    return SelfTest();
}

#endif  // CQV_SPLINES_SPLINE_IMPL_H
