#include "cqv/numeric/fast_transform.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "cqv/core/allocator.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kSqrt2 = 1.4142135623730951;

double* AllocateDoubles(int n) {
    return static_cast<double*>(qvMalloc(static_cast<unsigned int>(sizeof(double)) * static_cast<unsigned int>(n)));
}

// The forward stage s = n/2 (the last one, left alone when the number of
// stages is odd): a single pair, whose elements lo = o and hi = n/2 + o
// become their half-sum and their difference times the table's one entry.
void ForwardLastStage(const double* src, double* dst, int n, const double* c) {
    const int s = n / 2;
    for (int o = 0; o < s; ++o) {
        dst[o] = (src[s + o] + src[o]) * 0.5;
        dst[s + o] = (src[o] - src[s + o]) * c[0];
    }
}

// Stages s and 2s of the forward transform in one pass from src to dst, with
// c1 and c2 their cosine tables. Stage 2s combines stage s's pairs j and
// pairs-1-j, whose four input blocks of s elements start at s·j, n/2 - s·(j+1),
// n/2 + s·j and n - s·(j+1); every output is the expression the two stages
// would compute one after the other, so the bits are the same, with half the
// sweeps through memory.
void ForwardStagePair(const double* src, double* dst, int n, int s, const double* c1, const double* c2) {
    const int pairs = n / (2 * s);
    const int half = n / 2;
    if (s == 1) {
        for (int j = 0; j < pairs / 2; ++j) {
            const double a = src[j], b = src[n - 1 - j], c = src[half - 1 - j], d = src[half + j];
            const double sj = (b + a) * 0.5, dj = (a - b) * c1[j];
            const double sJ = (d + c) * 0.5, dJ = (c - d) * c1[pairs - 1 - j];
            const double c2j = c2[j];
            double* z = dst + 4 * j;
            z[0] = (sJ + sj) * 0.5;
            z[1] = (dJ + dj) * 0.5;
            z[2] = (sj - sJ) * c2j;
            z[3] = (dj - dJ) * c2j;
        }
        return;
    }
    for (int j = 0; j < pairs / 2; ++j) {
        const double* a = src + s * j;
        const double* b = src + n - s * (j + 1);
        const double* c = src + half - s * (j + 1);
        const double* d = src + half + s * j;
        double* z = dst + 4 * s * j;
        const double c1j = c1[j], c1J = c1[pairs - 1 - j], c2j = c2[j];
        for (int o = 0; o < s; ++o) {
            const double sj = (b[o] + a[o]) * 0.5, dj = (a[o] - b[o]) * c1j;
            const double sJ = (d[o] + c[o]) * 0.5, dJ = (c[o] - d[o]) * c1J;
            z[o] = (sJ + sj) * 0.5;
            z[s + o] = (dJ + dj) * 0.5;
            z[2 * s + o] = (sj - sJ) * c2j;
            z[3 * s + o] = (dj - dJ) * c2j;
        }
    }
}

// The inverse of the forward stage s = 1 (the last inverse stage, left alone
// when the number of stages is odd): from half-sum σ and scaled difference
// δ, lo = σ + δ·h and hi = σ - δ·h with h the half-secant entry.
void InverseLastStage(const double* src, double* dst, int n, const double* h) {
    for (int j = 0; j < n / 2; ++j) {
        const double sigma = src[2 * j], t = src[2 * j + 1] * h[j];
        dst[j] = sigma + t;
        dst[n - 1 - j] = sigma - t;
    }
}

// Inverse stages 2s and then s in one pass from src to dst, with h1 and h2
// the half-secant tables of stages s and 2s: the exact inverse of
// ForwardStagePair, each output computed as the two stages would compute it.
void InverseStagePair(const double* src, double* dst, int n, int s, const double* h1, const double* h2) {
    const int pairs = n / (2 * s);
    const int half = n / 2;
    for (int j = 0; j < pairs / 2; ++j) {
        const double* z = src + 4 * s * j;
        double* a = dst + s * j;
        double* b = dst + n - s * (j + 1);
        double* c = dst + half - s * (j + 1);
        double* d = dst + half + s * j;
        const double h1j = h1[j], h1J = h1[pairs - 1 - j], h2j = h2[j];
        for (int o = 0; o < s; ++o) {
            const double t = z[2 * s + o] * h2j, u = z[3 * s + o] * h2j;
            const double sj = z[o] + t, sJ = z[o] - t;
            const double dj = z[s + o] + u, dJ = z[s + o] - u;
            const double v = dj * h1j, w = dJ * h1J;
            a[o] = sj + v;
            b[o] = sj - v;
            c[o] = sJ + w;
            d[o] = sJ - w;
        }
    }
}

// Runs `Lanes` neighbouring chains of one recombination pass side by side,
// keeping their running values in registers.
template <int Lanes>
void RecombineChains(double* chain, int d, int steps) {
    double run[Lanes];
    for (int i = 0; i < Lanes; ++i) run[i] = chain[i];
    for (int k = 1; k <= steps; ++k) {
        double* up = chain + k * d;
        for (int i = 0; i < Lanes; ++i) {
            run[i] = up[i] - run[i];
            up[i] = run[i];
        }
    }
}

// The last three recombination passes (d = 8, 4, 2) in one sweep over blocks
// of eight elements. Each pass keeps its chains' running values in
// registers, so a later pass may overwrite an element whose value an earlier
// pass still needs for the next block. A chain starts by subtracting +0,
// which leaves the bits of its first element as they are. Needs n >= 16.
void RecombineLastThree(double* x, int n) {
    double r8[4] = {0, 0, 0, 0}, r4[2] = {0, 0}, r2 = 0;
    for (int b = 0; b < n; b += 8) {
        double* e = x + b;
        // Pass 8: elements 4..7 of the block.
        for (int i = 0; i < 4; ++i) r8[i] = e[4 + i] - r8[i];
        // Pass 4: elements 2, 3 (untouched by pass 8), then 6, 7.
        const double p2 = e[2] - r4[0], p3 = e[3] - r4[1];
        r4[0] = r8[2] - p2;
        r4[1] = r8[3] - p3;
        // Pass 2: the odd elements.
        const double q1 = e[1] - r2;
        const double q3 = p3 - q1;
        const double q5 = r8[1] - q3;
        r2 = r4[1] - q5;
        e[1] = q1;
        e[2] = p2;
        e[3] = q3;
        e[4] = r8[0];
        e[5] = q5;
        e[6] = r4[0];
        e[7] = r2;
    }
}

// The recombination of the forward transform: passes d = n/2, n/4, ..., 2,
// each walking its chains a, a + d, a + 2d, ... (a = d/2 .. d-1) upward so
// that every element loses the element just updated below it. Wide passes go
// row by row (row k's upper half loses row k-1's), which streams through
// memory; passes of 8 to 16 chains run them side by side in registers; the
// last three passes, whose few long chains are bound by the latency of one
// subtraction per step, run interleaved.
void Recombine(double* x, int n) {
    int d = n / 2;
    for (; d >= 64; d /= 2) {
        const int h = d / 2;
        for (int k = 1; k < n / d; ++k) {
            double* up = x + k * d + h;
            const double* below = up - d;
            for (int a = 0; a < h; ++a) up[a] -= below[a];
        }
    }
    for (; d >= 16; d /= 2) {
        for (int a0 = d / 2; a0 < d; a0 += 8) RecombineChains<8>(x + a0, d, n / d - 1);
    }
    if (n >= 16) {
        RecombineLastThree(x, n);
        return;
    }
    for (; d >= 2; d /= 2) {
        switch (d) {
            case 2: RecombineChains<1>(x + 1, d, n / d - 1); break;
            case 4: RecombineChains<2>(x + 2, d, n / d - 1); break;
            default: RecombineChains<4>(x + 4, d, n / d - 1); break;
        }
    }
}

// The first three restoring passes of the inverse (d = 2, 4, 8) in one
// ascending sweep over blocks of eight elements. Every pass adds to an
// element the value its lower neighbour had before that pass, so the values
// a block needs from the block below (its inputs, and its results after
// passes 2 and 4) are carried over in registers. A chain's first element
// gains -0, which leaves its bits as they are. Needs n >= 16.
void RestoreFirstThree(double* x, int n) {
    double in7 = -0.0;                    // the input of element 7 below
    double two6 = -0.0, two7 = -0.0;      // their values after pass 2
    double four[4] = {-0.0, -0.0, -0.0, -0.0};  // elements 4..7 after pass 4
    for (int b = 0; b < n; b += 8) {
        double* e = x + b;
        double v[8];
        for (int i = 0; i < 8; ++i) v[i] = e[i];
        // Pass 2: the odd elements gain their odd neighbour below.
        const double t1 = v[1] + in7, t3 = v[3] + v[1], t5 = v[5] + v[3], t7 = v[7] + v[5];
        in7 = v[7];
        // Pass 4: elements 2, 3, 6, 7 gain the element four below.
        const double f2 = v[2] + two6, f3 = t3 + two7, f6 = v[6] + v[2], f7 = t7 + t3;
        two6 = v[6];
        two7 = t7;
        // Pass 8: elements 4..7 gain the element eight below.
        const double g4 = v[4] + four[0], g5 = t5 + four[1], g6 = f6 + four[2], g7 = f7 + four[3];
        four[0] = v[4];
        four[1] = t5;
        four[2] = f6;
        four[3] = f7;
        e[1] = t1;
        e[2] = f2;
        e[3] = f3;
        e[4] = g4;
        e[5] = g5;
        e[6] = g6;
        e[7] = g7;
    }
}

// Swaps a[i][j] and a[j][i] of the n×n row-major array, in tiles so that
// both sides of a swap stay in cache.
void TransposeInPlace(double* a, int n) {
    constexpr int kTile = 8;
    for (int ib = 0; ib < n; ib += kTile) {
        const int iEnd = ib + kTile < n ? ib + kTile : n;
        for (int jb = 0; jb <= ib; jb += kTile) {
            const int jEnd = jb + kTile < n ? jb + kTile : n;
            for (int i = ib; i < iEnd; ++i) {
                const int jStop = jEnd < i ? jEnd : i;
                for (int j = jb; j < jStop; ++j) std::swap(a[static_cast<std::ptrdiff_t>(i) * n + j], a[static_cast<std::ptrdiff_t>(j) * n + i]);
            }
        }
    }
}

}  // namespace

int qvIntLog2(int v) {
    if (v < 1) return -1;
    int m = 0;
    while (v > 1) {
        v >>= 1;
        ++m;
    }
    return m;
}

qvFCTT::qvFCTT(int levels) : m(0), work(nullptr), halfSecant(nullptr), cosine(nullptr) { Build(levels); }

qvFCTT::qvFCTT(const qvFCTT& t) : m(0), work(nullptr), halfSecant(nullptr), cosine(nullptr) { Build(t.m); }

qvFCTT& qvFCTT::operator=(const qvFCTT& t) {
    if (&t != this && t.m != m) {
        // Build the new tables before releasing the old ones, so a failed
        // allocation leaves this object as it was.
        qvFCTT fresh(t.m);
        std::swap(m, fresh.m);
        std::swap(work, fresh.work);
        std::swap(halfSecant, fresh.halfSecant);
        std::swap(cosine, fresh.cosine);
    }
    return *this;
}

qvFCTT::~qvFCTT() { Release(); }

void qvFCTT::Build(int levels) {
    // Each block is stored as soon as it exists, so the destructor of a
    // partly built object (a failed allocation in a constructor) is not run,
    // and Release after a failure here frees what was made.
    struct Guard {
        qvFCTT* t;
        ~Guard() {
            if (t != nullptr) t->Release();
        }
    } guard{this};
    const int size = levels > 0 ? 1 << levels : 1;
    work = AllocateDoubles(size);
    if (levels > 0) {
        halfSecant = static_cast<double**>(qvMalloc(static_cast<unsigned int>(sizeof(double*)) * levels));
        cosine = static_cast<double**>(qvMalloc(static_cast<unsigned int>(sizeof(double*)) * levels));
        for (int l = 0; l < levels; ++l) halfSecant[l] = cosine[l] = nullptr;
        m = levels;
        for (int l = 0; l < levels; ++l) {
            const int count = 1 << l;
            halfSecant[l] = AllocateDoubles(count);
            cosine[l] = AllocateDoubles(count);
            for (int j = 0; j < count; ++j) {
                const double c = std::cos((2 * j + 1) * kPi / (4.0 * count));
                cosine[l][j] = c;
                halfSecant[l][j] = 0.5 / c;
            }
        }
    }
    guard.t = nullptr;
}

void qvFCTT::Release() {
    for (int l = 0; l < m; ++l) {
        if (halfSecant != nullptr) qvFree(halfSecant[l]);
        if (cosine != nullptr) qvFree(cosine[l]);
    }
    qvFree(halfSecant);
    qvFree(cosine);
    qvFree(work);
    m = 0;
    work = nullptr;
    halfSecant = nullptr;
    cosine = nullptr;
}

void qvFCTT::FCT(double* x, int levels, int n) {
    if (n > 1) {
        double* src = x;
        double* dst = work;
        // Stage s uses cosine table l with 2^l = n/(2s); the stages go two at
        // a time, the last one alone when their number is odd.
        int s = 1, l = levels - 1;
        for (; 2 * s <= n / 2; s *= 4, l -= 2) {
            ForwardStagePair(src, dst, n, s, cosine[l], cosine[l - 1]);
            std::swap(src, dst);
        }
        if (s <= n / 2) {
            ForwardLastStage(src, dst, n, cosine[l]);
            std::swap(src, dst);
        }
        if (src != x) std::memcpy(x, src, sizeof(double) * static_cast<std::size_t>(n));
        Recombine(x, n);
    }
    x[0] *= kSqrt2;
}

void qvFCTT::IFCT(double* x, int n) {
    x[0] /= kSqrt2;
    if (n <= 1) return;
    int first = 2;
    if (n >= 16) {
        RestoreFirstThree(x, n);
        first = 16;
    }
    for (int d = first; d <= n / 2; d *= 2) {
        const int c = n / d;
        // Each chain is restored from its top down, adding the element below
        // before that one is itself restored.
        for (int k = c - 2; k >= 0; --k) {
            double* up = x + (k + 1) * d;
            const double* below = x + k * d;
            for (int a = d / 2; a < d; ++a) up[a] += below[a];
        }
    }
    double* src = x;
    double* dst = work;
    // From s = n/2 down to 1, two stages at a time (2s, then s).
    int s = n / 2, l = 0;
    for (; s >= 2; s /= 4, l += 2) {
        InverseStagePair(src, dst, n, s / 2, halfSecant[l + 1], halfSecant[l]);
        std::swap(src, dst);
    }
    if (s == 1) {
        InverseLastStage(src, dst, n, halfSecant[l]);
        std::swap(src, dst);
    }
    if (src != x) std::memcpy(x, src, sizeof(double) * static_cast<std::size_t>(n));
}

void qvFCTT::FCT2D(double* a, int levels, int n) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = 0; r < n; ++r) FCT(a + static_cast<std::ptrdiff_t>(r) * n, levels, n);
        TransposeInPlace(a, n);
    }
}

void qvFCTT::IFCT2D(double* a, int n) {
    for (int pass = 0; pass < 2; ++pass) {
        TransposeInPlace(a, n);
        for (int r = 0; r < n; ++r) IFCT(a + static_cast<std::ptrdiff_t>(r) * n, n);
    }
}

qvFCTTC::qvFCTTC(int levels) : qvFCTT(levels), n(1 << (levels > 0 ? levels : 0)), m(levels) {}
