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

// One butterfly stage of the forward transform with stride s: for every
// pair j the elements lo = o + s·j and hi = n - s·(j+1) + o of each offset o
// become their half-sum and their difference times the cosine table entry.
// The loop over o runs over contiguous memory, so wide stages vectorise.
void ForwardStage(const double* src, double* dst, int n, int s, const double* c) {
    const int pairs = n / (2 * s);
    if (s == 1) {
        for (int j = 0; j < pairs; ++j) {
            const double lo = src[j], hi = src[n - 1 - j];
            dst[2 * j] = (hi + lo) * 0.5;
            dst[2 * j + 1] = (lo - hi) * c[j];
        }
        return;
    }
    for (int j = 0; j < pairs; ++j) {
        const double* lo = src + s * j;
        const double* hi = src + n - s * (j + 1);
        double* sum = dst + 2 * s * j;
        double* diff = sum + s;
        const double cj = c[j];
        for (int o = 0; o < s; ++o) {
            sum[o] = (hi[o] + lo[o]) * 0.5;
            diff[o] = (lo[o] - hi[o]) * cj;
        }
    }
}

// The inverse of ForwardStage: from half-sum σ and scaled difference δ,
// lo = σ + δ·h and hi = σ - δ·h with h the half-secant entry.
void InverseStage(const double* src, double* dst, int n, int s, const double* h) {
    const int pairs = n / (2 * s);
    if (s == 1) {
        for (int j = 0; j < pairs; ++j) {
            const double sigma = src[2 * j], t = src[2 * j + 1] * h[j];
            dst[j] = sigma + t;
            dst[n - 1 - j] = sigma - t;
        }
        return;
    }
    for (int j = 0; j < pairs; ++j) {
        const double* sum = src + 2 * s * j;
        const double* diff = sum + s;
        double* lo = dst + s * j;
        double* hi = dst + n - s * (j + 1);
        const double hj = h[j];
        for (int o = 0; o < s; ++o) {
            const double t = diff[o] * hj;
            lo[o] = sum[o] + t;
            hi[o] = sum[o] - t;
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

// One recombination pass of the forward transform: along every chain
// a, a + d, a + 2d, ... (a = d/2 .. d-1) each element loses the element just
// updated below it. A pass is a running difference, so its speed is the
// latency of one subtraction per step; the d/2 chains of a pass start at
// neighbouring addresses and advance side by side, eight at a time.
void Recombine(double* x, int n, int d) {
    const int steps = n / d - 1;
    switch (d) {
        case 2: RecombineChains<1>(x + 1, d, steps); return;
        case 4: RecombineChains<2>(x + 2, d, steps); return;
        case 8: RecombineChains<4>(x + 4, d, steps); return;
        default:
            for (int a0 = d / 2; a0 < d; a0 += 8) RecombineChains<8>(x + a0, d, steps);
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
        for (int s = 1, l = levels - 1; s <= n / 2; s *= 2, --l) {
            ForwardStage(src, dst, n, s, cosine[l]);
            std::swap(src, dst);
        }
        if (src != x) std::memcpy(x, src, sizeof(double) * static_cast<std::size_t>(n));
        for (int d = n / 2; d >= 2; d /= 2) Recombine(x, n, d);
    }
    x[0] *= kSqrt2;
}

void qvFCTT::IFCT(double* x, int n) {
    x[0] /= kSqrt2;
    if (n <= 1) return;
    for (int d = 2; d <= n / 2; d *= 2) {
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
    for (int s = n / 2, l = 0; s >= 1; s /= 2, ++l) {
        InverseStage(src, dst, n, s, halfSecant[l]);
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
