#include "cqv/numeric/random.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int32_t kMultiplier = 113;
constexpr std::int32_t kModulus = 12703;
constexpr double kInverseModulus = 7.872156183578682e-05;  // the double nearest 1/12703

// The generator's state; a constant initialiser, so loading the library runs
// no code for it.
std::int32_t g_state = 7531;

}  // namespace

double rnd() {
    // (113·s) mod 12703 in exact 32-bit arithmetic.
    const std::int32_t q = g_state / kMultiplier;
    std::int32_t s = kMultiplier * g_state - kModulus * q;
    if (s > kModulus) s -= kModulus;
    g_state = s;
    return s * kInverseModulus;
}

double randab(double a, double b) { return rnd() * (b - a) + a; }

double Normal(double m, double d) {
    double sum = 0.0;
    for (int i = 0; i < 12; ++i) sum += rnd();
    return (sum - 6.0) * d + m;
}

double NegExp(double r) { return -std::log(rnd()) / r; }
