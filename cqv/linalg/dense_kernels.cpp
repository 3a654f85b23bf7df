// Fast paths of the dense matrix for double elements.
//
// Every routine keeps, for each result element, the exact sequence of
// floating-point operations of the plain element loops; the speed comes from
// visiting independent elements together: tiles of results held in vector
// registers, packed operands for the product, and an elimination that
// defers the updates of far columns so that a tile of rows takes many
// elimination steps while it stays in registers.
#include "cqv/linalg/dense_kernels_internal.h"

#include <cstddef>
#include <cmath>
#include <cstring>
#include <limits>

#include "cqv/core/allocator.h"

// Full unrolling of the short loops over the rows of a register tile.
#if defined(__clang__)
#define CQV_UNROLL _Pragma("unroll")
#elif defined(__GNUC__)
#define CQV_UNROLL _Pragma("GCC unroll 8")
#else
#define CQV_UNROLL
#endif

namespace qvDetail {
namespace {

// ---- a small vector of doubles ---------------------------------------------------

// GCC and Clang vector extensions where the target has vector registers
// (32-bit x86 without SSE2 has none: there a pack is a plain pair).
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__SSE2__) || defined(__aarch64__) || defined(__ARM_NEON))
#define CQV_VECTOR_PACK 1
#else
#define CQV_VECTOR_PACK 0
#endif

#if CQV_VECTOR_PACK
#if defined(__AVX512F__)
constexpr int kLanes = 8;
#elif defined(__AVX__)
constexpr int kLanes = 4;
#else
constexpr int kLanes = 2;
#endif
typedef double Pack __attribute__((vector_size(kLanes * sizeof(double))));
#else
// Without vector extensions a pack is a pair of doubles, which compilers
// still map onto SIMD registers.
constexpr int kLanes = 2;
struct Pack {
    double v[kLanes];
    friend Pack operator+(const Pack& a, const Pack& b) { return Pack{{a.v[0] + b.v[0], a.v[1] + b.v[1]}}; }
    friend Pack operator-(const Pack& a, const Pack& b) { return Pack{{a.v[0] - b.v[0], a.v[1] - b.v[1]}}; }
    friend Pack operator*(const Pack& a, const Pack& b) { return Pack{{a.v[0] * b.v[0], a.v[1] * b.v[1]}}; }
};
#endif

inline Pack Load(const double* p) {
    Pack v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store(double* p, const Pack& v) { std::memcpy(p, &v, sizeof v); }

inline Pack Broadcast(double x) {
#if CQV_VECTOR_PACK && defined(__AVX512F__)
    return Pack{x, x, x, x, x, x, x, x};
#elif CQV_VECTOR_PACK && defined(__AVX__)
    return Pack{x, x, x, x};
#elif CQV_VECTOR_PACK
    return Pack{x, x};
#else
    return Pack{{x, x}};
#endif
}

// Scratch memory from the library allocator, freed on scope exit.
struct Scratch {
    void* p;
    explicit Scratch(std::size_t bytes) : p(qvMalloc(static_cast<unsigned int>(bytes))) {}
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() { qvFree(p); }
};

// ---- the product ----------------------------------------------------------------

// A register tile of the product: kMR rows by kNR = 2 packs of columns.
constexpr int kNR = 2 * kLanes;
constexpr int kMR = kLanes == 8 ? 8 : 4;
constexpr int kKC = 256;  // k-depth of a packed block
constexpr int kMC = 128;  // rows of a packed block of a (a multiple of kMR)

// Adds the products of one packed k-block to a tile of c (leading
// dimension ldc), or with Sub set subtracts them. With first set the tile
// starts from the block's first product instead of from its present values
// (never with Sub).
template <bool first, bool Sub = false>
inline void ProductTile(int kc, const double* ap, const double* bp, double* c, int ldc) {
    Pack acc[kMR][2];
    int l = 0;
    if (first) {
        const Pack b0 = Load(bp);
        const Pack b1 = Load(bp + kLanes);
CQV_UNROLL
        for (int r = 0; r < kMR; ++r) {
            const Pack a = Broadcast(ap[r]);
            acc[r][0] = a * b0;
            acc[r][1] = a * b1;
        }
        l = 1;
    } else {
CQV_UNROLL
        for (int r = 0; r < kMR; ++r) {
            acc[r][0] = Load(c + r * ldc);
            acc[r][1] = Load(c + r * ldc + kLanes);
        }
    }
    for (; l < kc; ++l) {
        const Pack b0 = Load(bp + l * kNR);
        const Pack b1 = Load(bp + l * kNR + kLanes);
        const double* a = ap + l * kMR;
CQV_UNROLL
        for (int r = 0; r < kMR; ++r) {
            const Pack ar = Broadcast(a[r]);
            if (Sub) {
                acc[r][0] = acc[r][0] - ar * b0;
                acc[r][1] = acc[r][1] - ar * b1;
            } else {
                acc[r][0] = acc[r][0] + ar * b0;
                acc[r][1] = acc[r][1] + ar * b1;
            }
        }
    }
CQV_UNROLL
    for (int r = 0; r < kMR; ++r) {
        Store(c + r * ldc, acc[r][0]);
        Store(c + r * ldc + kLanes, acc[r][1]);
    }
}

// A tile that may stick out of c: computed in a local tile and the part
// inside c (mr × nr) copied in and out.
template <bool Sub>
inline void ProductEdgeTile(int kc, const double* ap, const double* bp, double* c, int ldc, int mr, int nr,
                            bool first) {
    double t[kMR * kNR] = {};
    if (first) {
        ProductTile<true>(kc, ap, bp, t, kNR);
    } else {
        for (int r = 0; r < mr; ++r)
            for (int j = 0; j < nr; ++j) t[r * kNR + j] = c[r * ldc + j];
        ProductTile<false, Sub>(kc, ap, bp, t, kNR);
    }
    for (int r = 0; r < mr; ++r)
        for (int j = 0; j < nr; ++j) c[r * ldc + j] = t[r * kNR + j];
}

// c (m × n, leading dimension ldc) = a · b (Sub clear) or c − a · b (Sub
// set), where a(i, l) is a[i·aRow + l·aCol] and b(l, j) is
// b[l·bRow + j·bCol]. The operands go through packed blocks of kKC steps
// and kMC rows; each element of c takes the products of a block in l order
// inside a register tile. The product starts each element from its l = 0
// term; the update starts from c.
template <bool Sub>
void PackedProduct(const double* a, int aRow, int aCol, const double* b, int bRow, int bCol, double* c, int ldc,
                   int m, int n, int k) {
    const int panels = (n + kNR - 1) / kNR;
    const int kcMax = k < kKC ? k : kKC;
    const int mcMax = ((m < kMC ? m : kMC) + kMR - 1) / kMR * kMR;
    Scratch scratch((static_cast<std::size_t>(panels) * kNR + mcMax) * kcMax * sizeof(double));
    double* bp = static_cast<double*>(scratch.p);
    double* ap = bp + static_cast<std::size_t>(panels) * kNR * kcMax;

    for (int p0 = 0; p0 < k; p0 += kKC) {
        const int kc = k - p0 < kKC ? k - p0 : kKC;
        const bool first = !Sub && p0 == 0;
        // b's k-block in slivers of kNR columns, zero beyond column n.
        for (int s = 0; s < panels; ++s) {
            double* dst = bp + static_cast<std::size_t>(s) * kc * kNR;
            for (int l = 0; l < kc; ++l) {
                const double* src = b + (p0 + l) * bRow;
                for (int j = 0; j < kNR; ++j) {
                    const int col = s * kNR + j;
                    dst[l * kNR + j] = col < n ? src[col * bCol] : 0.0;
                }
            }
        }
        for (int i0 = 0; i0 < m; i0 += kMC) {
            const int mc = m - i0 < kMC ? m - i0 : kMC;
            const int slivers = (mc + kMR - 1) / kMR;
            // a's block in slivers of kMR rows, zero beyond row m.
            for (int s = 0; s < slivers; ++s) {
                double* dst = ap + static_cast<std::size_t>(s) * kc * kMR;
                for (int r = 0; r < kMR; ++r) {
                    const int row = i0 + s * kMR + r;
                    if (row < m) {
                        const double* src = a + row * aRow + p0 * aCol;
                        for (int l = 0; l < kc; ++l) dst[l * kMR + r] = src[l * aCol];
                    } else {
                        for (int l = 0; l < kc; ++l) dst[l * kMR + r] = 0.0;
                    }
                }
            }
            for (int jp = 0; jp < panels; ++jp) {
                const int j0 = jp * kNR;
                const int nr = n - j0 < kNR ? n - j0 : kNR;
                const double* bs = bp + static_cast<std::size_t>(jp) * kc * kNR;
                for (int s = 0; s < slivers; ++s) {
                    const int ii = i0 + s * kMR;
                    const int mr = m - ii < kMR ? m - ii : kMR;
                    const double* as = ap + static_cast<std::size_t>(s) * kc * kMR;
                    double* cc = c + static_cast<std::size_t>(ii) * ldc + j0;
                    if (mr == kMR && nr == kNR) {
                        if (first) {
                            ProductTile<true>(kc, as, bs, cc, ldc);
                        } else {
                            ProductTile<false, Sub>(kc, as, bs, cc, ldc);
                        }
                    } else {
                        ProductEdgeTile<Sub>(kc, as, bs, cc, ldc, mr, nr, first);
                    }
                }
            }
        }
    }
}

}  // namespace

void MatMulDouble(const double* a, int aRow, int aCol, const double* b, int bRow, int bCol, double* c, int m,
                  int n, int k) {
    PackedProduct<false>(a, aRow, aCol, b, bRow, bCol, c, n, m, n, k);
}

// ---- the update of the accurate LU ------------------------------------------------

namespace {

// Updates up to this depth read their operands in place; deeper ones pack.
constexpr int kDirectDepth = 48;
// Columns of b taken at a time by the in-place update: k rows of them stay
// in the first-level cache while every row of c passes.
constexpr int kDirectColumns = 64;

// A kMR × kNR tile of c −= a · b with a and b read in place: a's rows
// broadcast element by element, b's rows loaded a vector at a time.
inline void DirectTile(int k, const double* a, int lda, const double* b, int ldb, double* c, int ldc) {
    Pack acc[kMR][2];
CQV_UNROLL
    for (int r = 0; r < kMR; ++r) {
        acc[r][0] = Load(c + r * ldc);
        acc[r][1] = Load(c + r * ldc + kLanes);
    }
    for (int l = 0; l < k; ++l) {
        const Pack b0 = Load(b + l * ldb);
        const Pack b1 = Load(b + l * ldb + kLanes);
CQV_UNROLL
        for (int r = 0; r < kMR; ++r) {
            const Pack ar = Broadcast(a[r * lda + l]);
            acc[r][0] = acc[r][0] - ar * b0;
            acc[r][1] = acc[r][1] - ar * b1;
        }
    }
CQV_UNROLL
    for (int r = 0; r < kMR; ++r) {
        Store(c + r * ldc, acc[r][0]);
        Store(c + r * ldc + kLanes, acc[r][1]);
    }
}

// One element of c −= a · b, its products subtracted in l order as in the
// tiles.
inline void DirectElement(int k, const double* a, const double* b, int ldb, double* c) {
    double x = *c;
    for (int l = 0; l < k; ++l) x = x - a[l] * b[l * ldb];
    *c = x;
}

void DirectUpdate(const double* a, int lda, const double* b, int ldb, double* c, int ldc, int m, int n, int k) {
    const int mFull = m / kMR * kMR;
    for (int j0 = 0; j0 < n; j0 += kDirectColumns) {
        const int j1 = n - j0 < kDirectColumns ? n : j0 + kDirectColumns;
        const int jFull = j0 + (j1 - j0) / kNR * kNR;
        for (int i = 0; i < mFull; i += kMR) {
            const double* ai = a + static_cast<std::size_t>(i) * lda;
            double* ci = c + static_cast<std::size_t>(i) * ldc;
            for (int j = j0; j < jFull; j += kNR) DirectTile(k, ai, lda, b + j, ldb, ci + j, ldc);
            for (int r = 0; r < kMR; ++r)
                for (int j = jFull; j < j1; ++j)
                    DirectElement(k, ai + static_cast<std::size_t>(r) * lda, b + j, ldb,
                                  ci + static_cast<std::size_t>(r) * ldc + j);
        }
        for (int i = mFull; i < m; ++i)
            for (int j = j0; j < j1; ++j)
                DirectElement(k, a + static_cast<std::size_t>(i) * lda, b + j, ldb, c + static_cast<std::size_t>(i) * ldc + j);
    }
}

}  // namespace

void MatMulSubDouble(const double* a, int lda, const double* b, int ldb, double* c, int ldc, int m, int n, int k) {
    if (m <= 0 || n <= 0 || k <= 0) return;
    // Both ways subtract each element's products in l order from the
    // element itself, so they give the same bits; packing pays off only when
    // the operands outgrow the caches.
    if (k <= kDirectDepth) {
        DirectUpdate(a, lda, b, ldb, c, ldc, m, n, k);
    } else {
        PackedProduct<true>(a, lda, 1, b, ldb, 1, c, ldc, m, n, k);
    }
}

namespace {

// The rows of a substitution block, whose dot products with the solved
// part of x run side by side.
constexpr int kSR = 8;

// The sum of a pack's lanes: halves added pairwise, lanes taken out of the
// register rather than through memory.
inline double LaneSum(const Pack& v) {
#if CQV_VECTOR_PACK
#if defined(__AVX512F__)
    return ((v[0] + v[4]) + (v[1] + v[5])) + ((v[2] + v[6]) + (v[3] + v[7]));
#elif defined(__AVX__)
    return (v[0] + v[2]) + (v[1] + v[3]);
#else
    return v[0] + v[1];
#endif
#else
    return v.v[0] + v.v[1];
#endif
}

// s[r] = Σ row_r[c]·x[c] for c in [c0, c1), for the rows row_r = f + (i0 + r)·ld,
// r < rows ≤ kSR: vector partial sums per row, then the lanes, then the
// columns beyond the last whole vector.
inline void BlockDots(const double* f, int ld, int i0, int rows, const double* x, int c0, int c1, double* s) {
    Pack acc[kSR];
    for (int r = 0; r < kSR; ++r) acc[r] = Broadcast(0.0);
    const double* row[kSR];
    for (int r = 0; r < kSR; ++r) row[r] = f + static_cast<std::size_t>(i0 + (r < rows ? r : 0)) * ld;
    int c = c0;
    for (; c + kLanes <= c1; c += kLanes) {
        const Pack xv = Load(x + c);
CQV_UNROLL
        for (int r = 0; r < kSR; ++r) acc[r] = acc[r] + Load(row[r] + c) * xv;
    }
    for (int r = 0; r < rows; ++r) {
        double t = LaneSum(acc[r]);
        for (int q = c; q < c1; ++q) t += row[r][q] * x[q];
        s[r] = t;
    }
}

constexpr double kLargest = std::numeric_limits<double>::max();

// Whether the quotient q of the nonzero v overflowed or fell below the
// normal range, losing digits (NaN counts as out of range).
inline bool OutOfNormalRange(double q, double v) {
    const double a = std::fabs(q);
    return !(a <= kLargest) || (a < std::numeric_limits<double>::min() && v != 0.0);
}

}  // namespace

void LUSubstituteDouble(const double* f, int ld, int n, double* x) {
    double s[kSR];
    // L·y = x, unit diagonal, kSR rows at a time: their products with the
    // finished part of y together, then the triangle among them.
    for (int i0 = 0; i0 < n; i0 += kSR) {
        const int rows = n - i0 < kSR ? n - i0 : kSR;
        BlockDots(f, ld, i0, rows, x, 0, i0, s);
        for (int r = 0; r < rows; ++r) {
            const double* li = f + static_cast<std::size_t>(i0 + r) * ld;
            double y = x[i0 + r] - s[r];
            for (int q = i0; q < i0 + r; ++q) y = y - li[q] * x[q];
            x[i0 + r] = y;
        }
    }
    // U·x = y from the bottom, kSR rows at a time. Inside the triangle each
    // unknown is (y - u·x_next) / d, y holding the rest of its row. It is
    // computed as y / d - (u / d)·x_next, both divisions by the pivot d, so
    // that the only work waiting for the unknown found just before is a
    // product and a difference, not a division. The quotients taken first
    // can leave the normal range where the unknown does not (for
    // ((1e-300, 1e10), (0, 1))·x = (1e10, 1), 1e10 / 1e-300 overflows while
    // x = (0, 1)); then, or when the unknown comes out beyond the range, it
    // is found as (y - u·x_next) / d.
    for (int i1 = n; i1 > 0; i1 -= kSR) {
        const int i0 = i1 - kSR > 0 ? i1 - kSR : 0;
        BlockDots(f, ld, i0, i1 - i0, x, i1, n, s);
        for (int i = i1 - 1; i >= i0; --i) {
            const double* ui = f + static_cast<std::size_t>(i) * ld;
            double y = x[i] - s[i - i0];
            for (int q = i1 - 1; q > i + 1; --q) y = y - ui[q] * x[q];
            const double d = ui[i];
            if (i + 1 == i1) {
                x[i] = y / d;
                continue;
            }
            const double u = ui[i + 1], next = x[i + 1];
            const double q = y / d, r = u / d, xi = q - r * next;
            x[i] = OutOfNormalRange(q, y) || OutOfNormalRange(r, u) || !(std::fabs(xi) <= kLargest)
                       ? (y - u * next) / d
                       : xi;
        }
    }
}

void LUSolveUnitLowerDouble(const double* l, int ldl, double* b, int ldb, int w, int n) {
    // A vector of columns at a time, its w rows held in registers: row i
    // loses the rows above it in order.
    int j = 0;
    for (; j + kLanes <= n; j += kLanes) {
        Pack x[kLUPanelWidth];
        for (int i = 0; i < w; ++i) {
            double* bi = b + static_cast<std::size_t>(i) * ldb + j;
            const double* li = l + static_cast<std::size_t>(i) * ldl;
            Pack acc = Load(bi);
            for (int r = 0; r < i; ++r) acc = acc - Broadcast(li[r]) * x[r];
            x[i] = acc;
            Store(bi, acc);
        }
    }
    for (; j < n; ++j)
        for (int i = 1; i < w; ++i) {
            const double* li = l + static_cast<std::size_t>(i) * ldl;
            double x = b[static_cast<std::size_t>(i) * ldb + j];
            for (int r = 0; r < i; ++r) x = x - li[r] * b[static_cast<std::size_t>(r) * ldb + j];
            b[static_cast<std::size_t>(i) * ldb + j] = x;
        }
}

bool LUPanelDouble(double* a, int ld, int n, int c0, int* piv, double* work) {
    constexpr int W = kLUPanelWidth;
    static_assert(W % kLanes == 0, "the panel is a whole number of vectors wide");
    constexpr int P = W / kLanes;
    bool zero = false;
    double prow[W];
    for (int t = 0; t < W; ++t) {
        const int j = c0 + t;
        // The pivot: the first element of largest magnitude in column j from
        // row j down (NaN never wins); its row and row j trade places whole.
        int p = j;
        double best = std::fabs(a[static_cast<std::size_t>(j) * ld + j]);
        for (int i = j + 1; i < n; ++i) {
            const double v = std::fabs(a[static_cast<std::size_t>(i) * ld + j]);
            if (v > best) {
                best = v;
                p = i;
            }
        }
        piv[j] = p;
        double* aj = a + static_cast<std::size_t>(j) * ld;
        if (p != j) {
            double* ap = a + static_cast<std::size_t>(p) * ld;
            for (int c = 0; c < n; ++c) {
                const double x = aj[c];
                aj[c] = ap[c];
                ap[c] = x;
            }
        }
        const double pivot = aj[j];
        if (pivot == 0.0) {
            zero = true;  // the column is zero from here down
            continue;
        }
        // The multipliers, divided in one vectorised pass.
        for (int i = j + 1; i < n; ++i) work[i] = a[static_cast<std::size_t>(i) * ld + j];
        for (int i = j + 1; i < n; ++i) work[i] = work[i] / pivot;
        // Each row takes its update over the panel's whole width, against
        // the pivot row with zeros up to the pivot column: subtracting m·0
        // leaves the multipliers stored left of column j as they are, and
        // m goes into column j afterwards (stored before the row is loaded,
        // it would stall the load).
        for (int c = 0; c < W; ++c) prow[c] = c > t ? aj[c0 + c] : 0.0;
        Pack pv[P];
        for (int q = 0; q < P; ++q) pv[q] = Load(prow + q * kLanes);
        for (int i = j + 1; i < n; ++i) {
            double* ai = a + static_cast<std::size_t>(i) * ld + c0;
            const Pack m = Broadcast(work[i]);
CQV_UNROLL
            for (int q = 0; q < P; ++q) Store(ai + q * kLanes, Load(ai + q * kLanes) - m * pv[q]);
            ai[t] = work[i];
        }
    }
    return zero;
}

double DotDouble(const double* a, const double* b, int n) {
    // Four packs of partial sums, added pairwise at the end, then the
    // lanes in order, then the elements beyond the last group of packs.
    Pack s0 = Broadcast(0.0), s1 = s0, s2 = s0, s3 = s0;
    int i = 0;
    for (; i + 4 * kLanes <= n; i += 4 * kLanes) {
        s0 = s0 + Load(a + i) * Load(b + i);
        s1 = s1 + Load(a + i + kLanes) * Load(b + i + kLanes);
        s2 = s2 + Load(a + i + 2 * kLanes) * Load(b + i + 2 * kLanes);
        s3 = s3 + Load(a + i + 3 * kLanes) * Load(b + i + 3 * kLanes);
    }
    for (; i + kLanes <= n; i += kLanes) s0 = s0 + Load(a + i) * Load(b + i);
    double lanes[kLanes];
    Store(lanes, (s0 + s1) + (s2 + s3));
    double s = 0.0;
    for (int l = 0; l < kLanes; ++l) s += lanes[l];
    for (; i < n; ++i) s += a[i] * b[i];
    return s;
}

// ---- the elimination --------------------------------------------------------------

namespace {

constexpr int kPanel = 64;  // steps whose far-column updates are deferred together
constexpr int kInner = 8;   // steps done one by one inside a panel
constexpr int kER = kLanes == 8 ? 8 : 4;  // rows of an update tile

inline bool IsZero(double x) { return !(x < 0.0 || x > 0.0); }

// w[j] = s·w[j] - p[j] for j in [c0, c1).
inline void RowUpdate(double* w, const double* p, double s, int c0, int c1) {
    int j = c0;
    const Pack sv = Broadcast(s);
    for (; j + kLanes <= c1; j += kLanes) Store(w + j, sv * Load(w + j) - Load(p + j));
    for (; j < c1; ++j) w[j] = s * w[j] - p[j];
}

// w[j] = w[j]·r for j in [c0, c1).
inline void RowScale(double* w, double r, int c0, int c1) {
    int j = c0;
    const Pack rv = Broadcast(r);
    for (; j + kLanes <= c1; j += kLanes) Store(w + j, Load(w + j) * rv);
    for (; j < c1; ++j) w[j] = w[j] * r;
}

struct Elimination {
    double** rows;   // the row table
    double** comp;   // the companion, or null
    double** fac;    // per row: 1/e for each step of the panel, NaN if skipped
    double* recip;   // per step of the panel: 1/pivot
    int n;
    int m;
    int k0;  // first step of the panel
    double* det;
    int* swaps;

    void Exchange(int a, int b) {
        double* t = rows[a];
        rows[a] = rows[b];
        rows[b] = t;
        t = fac[a];
        fac[a] = fac[b];
        fac[b] = t;
        if (comp != nullptr) {
            t = comp[a];
            comp[a] = comp[b];
            comp[b] = t;
        }
    }

    // Step k on the columns before end; the others wait for Defer. Returns
    // false at a zero pivot.
    bool Step(int k, int end) {
        double best = std::fabs(rows[k][k]);
        for (int i = k + 1; i < n; ++i) {
            const double cand = std::fabs(rows[i][k]);
            if (!(cand <= best)) {
                Exchange(k, i);
                ++*swaps;
                best = cand;
            }
        }
        double* pr = rows[k];
        const double pivot = pr[k];
        if (IsZero(pivot)) return false;
        double d = det == nullptr ? 0.0 : (k == 0 ? pivot : *det * pivot);
        const double r = 1.0 / pivot;
        recip[k - k0] = r;
        for (int j = k + 1; j < end; ++j) pr[j] = pr[j] * r;
        if (comp != nullptr) *comp[k] = *comp[k] * r;
        for (int i = k + 1; i < n; ++i) {
            double* w = rows[i];
            const double e = w[k];
            if (IsZero(e)) {
                fac[i][k - k0] = std::numeric_limits<double>::quiet_NaN();
                continue;
            }
            d = d * e;
            const double s = 1.0 / e;
            fac[i][k - k0] = s;
            for (int j = k + 1; j < end; ++j) w[j] = s * w[j] - pr[j];
            if (comp != nullptr) *comp[i] = s * *comp[i] - *comp[k];
        }
        if (det != nullptr) *det = d;
        return true;
    }

    // One row at position ≥ kb takes steps [ka, kb) on columns [c0, c1).
    void UpdateRow(int pos, int ka, int kb, int c0, int c1) {
        double* w = rows[pos];
        const double* f = fac[pos];
        for (int k = ka; k < kb; ++k) {
            const double s = f[k - k0];
            if (s != s) continue;
            RowUpdate(w, rows[k], s, c0, c1);
        }
    }

    // Gathers the factors of the kER rows from position g for the steps
    // [ka, kend), kER a step; returns whether all of them are in use.
    bool Gather(int g, int ka, int kend, double* sg) const {
        bool dense = true;
        for (int k = ka; k < kend; ++k)
            for (int r = 0; r < kER; ++r) {
                const double f = fac[g + r][k - k0];
                sg[(k - ka) * kER + r] = f;
                dense = dense && f == f;
            }
        return dense;
    }

    // kER rows from position g take the steps [ka, kend) on the W packs of
    // columns from c, held in registers (sg from Gather). With pivots set
    // the rows are the pivot rows of steps kend = g onwards: each then also
    // takes the steps of the rows above it in the group and its own scaling.
    template <int W, bool pivots>
    void Tile(int g, int ka, int kend, int c, const double* sg, bool dense) {
        Pack acc[kER][W];
        double* w[kER];
        CQV_UNROLL
        for (int r = 0; r < kER; ++r) {
            w[r] = rows[g + r] + c;
            CQV_UNROLL
            for (int x = 0; x < W; ++x) acc[r][x] = Load(w[r] + x * kLanes);
        }
        if (dense) {
            for (int k = ka; k < kend; ++k, sg += kER) {
                const double* p = rows[k] + c;
                Pack pk[W];
                CQV_UNROLL
                for (int x = 0; x < W; ++x) pk[x] = Load(p + x * kLanes);
                CQV_UNROLL
                for (int r = 0; r < kER; ++r) {
                    const Pack sv = Broadcast(sg[r]);
                    CQV_UNROLL
                    for (int x = 0; x < W; ++x) acc[r][x] = sv * acc[r][x] - pk[x];
                }
            }
        } else {
            for (int k = ka; k < kend; ++k, sg += kER) {
                const double* p = rows[k] + c;
                Pack pk[W];
                CQV_UNROLL
                for (int x = 0; x < W; ++x) pk[x] = Load(p + x * kLanes);
                for (int r = 0; r < kER; ++r) {
                    const double f = sg[r];
                    if (f != f) continue;
                    const Pack sv = Broadcast(f);
                    CQV_UNROLL
                    for (int x = 0; x < W; ++x) acc[r][x] = sv * acc[r][x] - pk[x];
                }
            }
        }
        if (pivots) {
            CQV_UNROLL
            for (int q = 0; q < kER; ++q) {
                const double* f = fac[g + q] - k0 + g;
                CQV_UNROLL
                for (int t = 0; t < q; ++t) {
                    if (f[t] != f[t]) continue;
                    const Pack sv = Broadcast(f[t]);
                    CQV_UNROLL
                    for (int x = 0; x < W; ++x) acc[q][x] = sv * acc[q][x] - acc[t][x];
                }
                const Pack rv = Broadcast(recip[g + q - k0]);
                CQV_UNROLL
                for (int x = 0; x < W; ++x) acc[q][x] = acc[q][x] * rv;
            }
        }
        CQV_UNROLL
        for (int r = 0; r < kER; ++r) {
            CQV_UNROLL
            for (int x = 0; x < W; ++x) Store(w[r] + x * kLanes, acc[r][x]);
        }
    }

    // The pivot row at position p takes the steps [ka, p), then its own
    // scaling, on the columns [c0, c1).
    void PivotRow(int p, int ka, int c0, int c1) {
        UpdateRow(p, ka, p, c0, c1);
        RowScale(rows[p], recip[p - k0], c0, c1);
    }

    // Applies the finished steps [ka, kb) to the columns [c0, c1), which
    // lie right of every pivot of those steps: first the pivot rows in
    // order (each takes the earlier steps of the range, then its own
    // scaling), then every row below them. Rows go kER at a time through
    // register tiles of two packs, or one pack at the edge; the columns
    // beyond the last pack and the rows beyond the last group go one by
    // one.
    void Defer(int ka, int kb, int c0, int c1) {
        if (ka >= kb || c0 >= c1) return;
        const int wideEnd = c0 + (c1 - c0) / (2 * kLanes) * (2 * kLanes);
        const int packEnd = c0 + (c1 - c0) / kLanes * kLanes;
        double sg[kPanel * kER];
        int g = ka;
        for (; g + kER <= kb; g += kER) {
            const bool dense = Gather(g, ka, g, sg);
            int c = c0;
            for (; c < wideEnd; c += 2 * kLanes) Tile<2, true>(g, ka, g, c, sg, dense);
            for (; c < packEnd; c += kLanes) Tile<1, true>(g, ka, g, c, sg, dense);
            if (packEnd < c1)
                for (int r = 0; r < kER; ++r) PivotRow(g + r, ka, packEnd, c1);
        }
        for (; g < kb; ++g) PivotRow(g, ka, c0, c1);
        for (g = kb; g + kER <= n; g += kER) {
            const bool dense = Gather(g, ka, kb, sg);
            int c = c0;
            for (; c < wideEnd; c += 2 * kLanes) Tile<2, false>(g, ka, kb, c, sg, dense);
            for (; c < packEnd; c += kLanes) Tile<1, false>(g, ka, kb, c, sg, dense);
            if (packEnd < c1)
                for (int r = 0; r < kER; ++r) UpdateRow(g + r, ka, kb, packEnd, c1);
        }
        for (; g < n; ++g) UpdateRow(g, ka, kb, c0, c1);
    }
};

}  // namespace

int EliminateDouble(double** rows, int n, int m, double** comp, double* det, int* swaps) {
    const std::size_t facBytes = static_cast<std::size_t>(n) * kPanel * sizeof(double);
    Scratch scratch(facBytes + static_cast<std::size_t>(n) * sizeof(double*) + kPanel * sizeof(double));
    double* facStore = static_cast<double*>(scratch.p);
    double** fac = reinterpret_cast<double**>(static_cast<char*>(scratch.p) + facBytes);
    double* recip = reinterpret_cast<double*>(fac + n);
    for (int i = 0; i < n; ++i) fac[i] = facStore + static_cast<std::size_t>(i) * kPanel;

    Elimination el{rows, comp, fac, recip, n, m, 0, det, swaps};
    for (int p0 = 0; p0 < n; p0 += kPanel) {
        const int p1 = n - p0 < kPanel ? n : p0 + kPanel;
        el.k0 = p0;
        int stop = p1;
        for (int b0 = p0; b0 < p1 && stop == p1; b0 += kInner) {
            const int b1 = p1 - b0 < kInner ? p1 : b0 + kInner;
            int k = b0;
            while (k < b1 && el.Step(k, b1)) ++k;
            if (k < b1) stop = k;
            el.Defer(b0, k, b1, p1);
        }
        el.Defer(p0, stop, p1, m);
        if (stop < p1) return stop;
    }
    return n;
}

// ---- the inverse's back substitution ------------------------------------------

namespace {

constexpr int kIR = kLanes == 8 ? 8 : 4;  // rows of a substitution tile

}  // namespace

void InverseBackDouble(double* const* rows, int n, double* r) {
    constexpr int tileCols = 2 * kLanes;
    const int fullEnd = n / tileCols * tileCols;
    const int lead = n % kIR;  // the top rows left over by the groups
    for (int c = 0; c < fullEnd; c += tileCols) {
        for (int i1 = n; i1 - kIR >= lead; i1 -= kIR) {
            const int i0 = i1 - kIR;
            Pack acc[kIR][2];
            const double* w[kIR];
CQV_UNROLL
            for (int q = 0; q < kIR; ++q) {
                w[q] = rows[i0 + q];
                acc[q][0] = Load(w[q] + n + c);
                acc[q][1] = Load(w[q] + n + c + kLanes);
            }
            for (int l = n - 1; l >= i1; --l) {
                const double* p = r + static_cast<std::size_t>(l) * n + c;
                const Pack p0 = Load(p);
                const Pack p1 = Load(p + kLanes);
CQV_UNROLL
                for (int q = 0; q < kIR; ++q) {
                    const Pack f = Broadcast(w[q][l]);
                    acc[q][0] = acc[q][0] - p0 * f;
                    acc[q][1] = acc[q][1] - p1 * f;
                }
            }
CQV_UNROLL
            for (int q = kIR - 1; q >= 0; --q) {
                for (int l = i1 - 1; l > i0 + q; --l) {
                    const Pack f = Broadcast(w[q][l]);
                    acc[q][0] = acc[q][0] - acc[l - i0][0] * f;
                    acc[q][1] = acc[q][1] - acc[l - i0][1] * f;
                }
                Store(r + static_cast<std::size_t>(i0 + q) * n + c, acc[q][0]);
                Store(r + static_cast<std::size_t>(i0 + q) * n + c + kLanes, acc[q][1]);
            }
        }
        for (int i = lead - 1; i >= 0; --i) {
            const double* w = rows[i];
            Pack a0 = Load(w + n + c);
            Pack a1 = Load(w + n + c + kLanes);
            for (int l = n - 1; l > i; --l) {
                const double* p = r + static_cast<std::size_t>(l) * n + c;
                const Pack f = Broadcast(w[l]);
                a0 = a0 - Load(p) * f;
                a1 = a1 - Load(p + kLanes) * f;
            }
            Store(r + static_cast<std::size_t>(i) * n + c, a0);
            Store(r + static_cast<std::size_t>(i) * n + c + kLanes, a1);
        }
    }
    if (fullEnd == n) return;
    for (int i = n - 1; i >= 0; --i) {
        const double* w = rows[i];
        double* ri = r + static_cast<std::size_t>(i) * n;
        for (int j = fullEnd; j < n; ++j) ri[j] = w[n + j];
        for (int l = n - 1; l > i; --l) {
            const double f = w[l];
            const double* rl = r + static_cast<std::size_t>(l) * n;
            for (int j = fullEnd; j < n; ++j) ri[j] = ri[j] - rl[j] * f;
        }
    }
}

}  // namespace qvDetail
