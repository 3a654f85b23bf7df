#include "cqv/numeric/integrate.h"

#include <cmath>

// The sums are kept six times the Simpson value, S = h·(f_a + f_b + E + O)
// with E twice the even points and O four times the odd ones, and the
// tolerance is scaled the same way.
double qvIntegrateSimpson(double (*f)(double, void*), void* data, double a, double b, double eps) {
    double h = (b - a) / 2;
    const double fa = f(a, data);
    const double fb = f(b, data);
    const double fm = f(a + h, data);
    double odd = 4 * fm;
    double even = 0;
    double s = 2 * h * (fa + 4 * fm + fb);
    for (;;) {
        even = even + odd / 2;
        double sum = 0;
        for (long long k = 0;; ++k) {
            const double t = a + h / 2 + static_cast<double>(k) * h;
            if (!(t < b)) break;
            sum = sum + f(t, data);
        }
        odd = 4 * sum;
        const double next = h * (fa + fb + even + odd);
        h = h / 2;
        if (!std::isfinite(next) || std::fabs(next - s) < 6 * eps) return next * 0.16666666666666666;
        s = next;
    }
}
