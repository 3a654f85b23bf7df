// The interpolation systems of the Beta-spline curves and their dense
// solution.
#include "cqv/betaspline/beta_internal.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "cqv/core/prefetch_internal.h"
#include "cqv/linalg/band_elimination_internal.h"

namespace qvDetail {

qvMatrix<BetaPoint> BetaDenseMatrix(const BetaSpline& b, BetaSystem kind, int m) {
    const int n = BetaOrder(kind, m);
    qvMatrix<BetaPoint> a(n, n);
    BetaPoint* e = a.GetPointer();
    for (long long k = 0, count = static_cast<long long>(n) * n; k < count; ++k) e[k] = BetaPoint(0.0, 0.0, 0.0);
    const double w1 = b.BetaBlend(1.0), w0 = b.BetaBlend(0.0), wm1 = b.BetaBlend(-1.0);
    const auto entry = [](double w) { return BetaPoint(w, w, w); };
    if (kind == BetaSystem::Open) {
        a(0, 1) = entry(1.0);
        for (int r = 1; r <= n - 2; ++r) {
            a(r, r - 1) = entry(w1);
            a(r, r) = entry(w0);
            a(r, r + 1) = entry(wm1);
        }
        a(n - 1, n - 2) = entry(1.0);
    } else {
        for (int i = 0; i < m; ++i) {
            a(i, (i + m - 2) % m) = entry(w1);
            a(i, (i + m - 1) % m) = entry(w0);
            a(i, i) = entry(wm1);
        }
    }
    return a;
}

qvColumnVector<BetaPoint> BetaRightSide(BetaSystem kind, const BetaPoint* p, int step, int m) {
    if (kind == BetaSystem::Ring) {
        qvColumnVector<BetaPoint> r(m);
        for (int i = 0; i < m; ++i) r[i] = p[i * step];
        return r;
    }
    qvColumnVector<BetaPoint> r(m + 2);
    r[0] = p[0];
    for (int j = 0; j < m; ++j) r[j + 1] = p[j * step];
    r[m + 1] = p[(m - 1) * step];
    return r;
}

qvColumnVector<BetaPoint> BetaSolveDense(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int step,
                                         int m) {
    qvMatrix<BetaPoint> a = BetaDenseMatrix(b, kind, m);
    qvColumnVector<BetaPoint> r = BetaRightSide(kind, p, step, m);
    qvColumnVector<BetaPoint> x;
    a.SolveEquationGaussMethod(x, r);
    return x;
}

namespace {

// Fills the band store with the matrix of the system of spline b for m
// points: one sub- and one super-diagonal for an open curve; two
// sub-diagonals and the corner entries in the last two columns for a ring.
// Either way a row never spans more than three columns of the band.
template <class Store>
void FillBand(Store& store, const BetaSpline& b, BetaSystem kind, int m) {
    const int n = BetaOrder(kind, m);
    const double w1 = b.BetaBlend(1.0), w0 = b.BetaBlend(0.0), wm1 = b.BetaBlend(-1.0);
    if (kind == BetaSystem::Open) {
        store.Set(0, 1, 1.0);
        for (int r = 1; r <= n - 2; ++r) {
            store.Set(r, r - 1, w1);
            store.Set(r, r, w0);
            store.Set(r, r + 1, wm1);
        }
        store.Set(n - 1, n - 2, 1.0);
    } else {
        for (int i = 0; i < m; ++i) {
            std::pair<int, double> row[3] = {{(i + m - 2) % m, w1}, {(i + m - 1) % m, w0}, {i, wm1}};
            std::sort(row, row + 3);
            for (const auto& e : row) store.Set(i, e.first, e.second);
        }
    }
}

// Eliminates the matrix of the system for m points once on the band,
// recording its operations on the right-hand sides and its back
// substitution, and hands the recorded elimination to use. Rows are updated
// the dense solver's way (open systems) or the classic way (rings, whose
// rows with the corner entries would overflow the dense solver's way).
template <bool multipliers, class Use>
void WithRecorded(const BetaSpline& b, BetaSystem kind, int m, Use use) {
    const int n = BetaOrder(kind, m);
    BandStore<BetaPoint, multipliers> store(n, 4, kind == BetaSystem::Ring ? 2 : 0);
    FillBand(store, b, kind, m);
    BandScratch work(BandScratch::Bytes<BetaPoint*>(n));
    BetaPoint** none = work.Take<BetaPoint*>(n);
    for (int r = 0; r < n; ++r) none[r] = nullptr;
    BandJournal journal;
    BandElimination<BandStore<BetaPoint, multipliers>> band(store, none, 0);
    band.Record(&journal);
    band.Eliminate();
    band.RecordSubstitution();
    use(static_cast<const BandElimination<BandStore<BetaPoint, multipliers>>&>(band), static_cast<const BandJournal&>(journal));
}

// Gathers g right-hand sides into v side by side, so that their
// independent operations overlap, and takes them through a recorded
// elimination: point i of right-hand side c is p[i·pi + c·pc], and v has
// room for g·order points, element r of right-hand side c at v[r·g + c].
// tick goes to the replay.
template <class Band, class Tick = NoTick>
void GatherAndReplay(const Band& band, BetaSystem kind, const BetaPoint* p, std::ptrdiff_t pi, std::ptrdiff_t pc,
                     int m, int g, BetaPoint* v, Tick&& tick = Tick()) {
    const int n = BetaOrder(kind, m);
    // Equation r asks for point r of a ring; of an open curve, for P_0 in
    // rows 0 and 1, P_{r-1} below, and P_{m-1} in the last row.
    BetaPoint* at = kind == BetaSystem::Ring ? v : v + g;
    for (int c = 0; c < g; ++c) {
        const BetaPoint* src = p + c * pc;
        for (int i = 0; i < m; ++i) at[static_cast<std::ptrdiff_t>(i) * g + c] = src[i * pi];
    }
    if (kind == BetaSystem::Open)
        for (int c = 0; c < g; ++c) {
            v[c] = v[g + c];
            v[static_cast<std::ptrdiff_t>(n - 1) * g + c] = v[static_cast<std::ptrdiff_t>(n - 2) * g + c];
        }
    band.Replay(v, g, tick);
}

// How many right-hand sides go through a recorded elimination side by side.
constexpr int kSide = 16;

// The matrix is eliminated once; then the right-hand sides are gathered,
// replayed and substituted kSide at a time, straight from and to their
// strided storage.
template <bool multipliers>
void SolveEach(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
               BetaPoint* x, int xi, int xc) {
    const int n = BetaOrder(kind, m);
    const int side = nrhs < kSide ? nrhs : kSide;
    WithRecorded<multipliers>(b, kind, m, [&](const auto& band, const BandJournal&) {
        BandScratch work(BandScratch::Bytes<BetaPoint>(static_cast<std::size_t>(n) * side));
        BetaPoint* v = work.Take<BetaPoint>(static_cast<std::size_t>(n) * side);
        for (int c0 = 0; c0 < nrhs; c0 += side) {
            const int g = nrhs - c0 < side ? nrhs - c0 : side;
            GatherAndReplay(band, kind, p + static_cast<std::ptrdiff_t>(c0) * pc, pi, pc, m, g, v);
            band.SubstituteReplayed(v, g, x + static_cast<std::ptrdiff_t>(c0) * xc, xi, xc);
        }
    });
}

}  // namespace

void BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int pi, int pc, int m, int nrhs,
                   BetaPoint* x, int xi, int xc) {
    if (kind == BetaSystem::Ring) {
        SolveEach<true>(b, kind, p, pi, pc, m, nrhs, x, xi, xc);
    } else {
        SolveEach<false>(b, kind, p, pi, pc, m, nrhs, x, xi, xc);
    }
}

namespace {

// The coordinates of the points of a net row as one run of doubles.
double* Coordinates(BetaPoint* p) { return reinterpret_cast<double*>(p); }
static_assert(sizeof(BetaPoint) == 3 * sizeof(double), "a point is three contiguous doubles");

// Cache lines fetched at each step of a group's replay and substitution:
// of the next group's points, and of the group's own net rows, which are
// written once the group is solved. Spread over the group's arithmetic,
// the fetches keep the memory busy while the processor computes; at a
// million points they save about a tenth of the time.
constexpr int kReadLinesPerStep = 1;
constexpr int kWriteLinesPerStep = 2;

// Fetches count runs of bytes bytes into the cache, run c at first + c·step,
// a few cache lines at each call, in order; for writing or for reading.
class LineFetcher {
public:
    LineFetcher() = default;
    LineFetcher(const void* first, std::ptrdiff_t step, std::ptrdiff_t bytes, int count, int perCall, bool forWrite)
        : run(static_cast<const char*>(first)), at(run), step(step), bytes(bytes), left(count), perCall(perCall),
          forWrite(forWrite) {}

    void operator()() {
        for (int k = 0; k < perCall && left > 0; ++k) {
            if (forWrite) {
                PrefetchForWrite(at);
            } else {
                Prefetch(at);
            }
            at += kLine;
            if (at - run >= bytes) {
                run += step;
                at = run;
                --left;
            }
        }
    }

private:
    static constexpr std::ptrdiff_t kLine = 64;
    const char* run = nullptr;
    const char* at = nullptr;
    std::ptrdiff_t step = 0, bytes = 0;
    int left = 0, perCall = 0;
    bool forWrite = false;
};

}  // namespace

void BetaSolveTube(const BetaSpline& b, const BetaPoint* p, int pi, int pr, int mu, int mv, BetaPoint* net,
                   int netRow) {
    const int n = mv + 2;                         // rows of the net, and order of the open systems along
    const int len = 3 * mu;                       // coordinates of a row's ring control points
    const int side = mv < kSide ? mv : kSide;     // rings solved side by side
    const auto home = [&](int r) { return net + static_cast<std::ptrdiff_t>(r) * netRow + 2; };
    const auto row = [&](int r) { return Coordinates(home(r)); };
    WithRecorded<true>(b, BetaSystem::Ring, mu, [&](const auto& around, const BandJournal& ring) {
        WithRecorded<false>(b, BetaSystem::Open, mv, [&](const auto&, const BandJournal& along) {
            // Either elimination stopped at a zero pivot: the substitution
            // would throw; nothing is worth solving.
            if (ring.zeroAt >= 0 || along.zeroAt >= 0) throw BadParameters(qvMsg::SystemNotUnique);
            BandScratch work(BandScratch::Bytes<BetaPoint>(static_cast<std::size_t>(mu) * side) +
                             BandScratch::Bytes<int>(n) * 2);
            BetaPoint* v = work.Take<BetaPoint>(static_cast<std::size_t>(mu) * side);
            // The open systems along are solved for all the columns at once,
            // a row of the net being one right-hand side element. The row
            // exchanges of the elimination exchange the rows' places only:
            // position q's element lies in net row at[q], which holds it.
            int* at = work.Take<int>(n);
            int* holds = work.Take<int>(n);
            for (int r = 0; r < n; ++r) at[r] = holds[r] = r;

            // Forward: each group of rings is solved into its net rows, and
            // the recorded operations along are carried out as far as the
            // rows they touch are there, while those rows are in the cache.
            const BandJournal::Op* op = along.begin();
            int ready = 0;  // net rows 0 .. ready - 1 hold their right-hand side
            for (int i0 = 0; i0 < mv; i0 += side) {
                const int g = mv - i0 < side ? mv - i0 : side;
                // While the group is solved in the cache, the points of the
                // next group (when each ring's points are contiguous) and
                // this group's net rows are fetched.
                const int after = mv - i0 - g < side ? mv - i0 - g : side;
                const std::ptrdiff_t ringBytes = static_cast<std::ptrdiff_t>(mu) * sizeof(BetaPoint);
                LineFetcher next, rows(home(i0 + 1), static_cast<std::ptrdiff_t>(netRow) * sizeof(BetaPoint), ringBytes,
                                       g, kWriteLinesPerStep, true);
                if (pi == 1 && after > 0)
                    next = LineFetcher(p + static_cast<std::ptrdiff_t>(i0 + g) * pr,
                                       static_cast<std::ptrdiff_t>(pr) * sizeof(BetaPoint), ringBytes, after,
                                       kReadLinesPerStep, false);
                const auto fetch = [&] {
                    next();
                    rows();
                };
                // Each unknown replaces its own element of v (the
                // substitution reads an element before it writes that
                // unknown, and only unknowns after it besides), and the
                // rings then go to their rows in one sequential sweep each.
                GatherAndReplay(around, BetaSystem::Ring, p + static_cast<std::ptrdiff_t>(i0) * pr, pi, pr, mu, g, v,
                                fetch);
                around.SubstituteReplayed(v, g, v, g, 1, fetch);
                for (int c = 0; c < g; ++c) {
                    BetaPoint* dst = home(i0 + 1 + c);
                    for (int j = 0; j < mu; ++j) dst[j] = v[static_cast<std::ptrdiff_t>(j) * g + c];
                }
                // Row 0 repeats the first ring, row mv + 1 the last, as the
                // right-hand side of an open curve does.
                if (i0 == 0) std::copy(row(1), row(1) + len, row(0));
                ready = i0 + g + 1;
                if (ready == mv + 1) {
                    std::copy(row(mv), row(mv) + len, row(mv + 1));
                    ready = n;
                }
                for (; op != along.end(); ++op) {
                    if (op->kind == BandJournal::kSwap) {
                        const int ra = at[op->a], rb = at[op->b];
                        at[op->a] = rb;
                        at[op->b] = ra;
                        holds[ra] = op->b;
                        holds[rb] = op->a;
                        continue;
                    }
                    if (at[op->a] >= ready || (op->kind == BandJournal::kUpdate && at[op->b] >= ready)) break;
                    double* x = row(at[op->a]);
                    const double f = op->f;
                    if (op->kind == BandJournal::kScale) {
                        for (int k = 0; k < len; ++k) x[k] = x[k] * f;
                    } else {
                        const double* y = row(at[op->b]);
                        for (int k = 0; k < len; ++k) x[k] = x[k] * f - y[k];
                    }
                }
            }

            // Back: unknown i from the last up, into its own row, each row
            // given its wrap copies once it is final.
            for (int i = n - 1; i >= 0; --i) {
                double* x = row(at[i]);
                for (int t = along.first[i]; t < along.first[i + 1]; ++t) {
                    const double* y = row(along.terms[t].j);
                    const double w = along.terms[t].w;
                    for (int k = 0; k < len; ++k) x[k] = x[k] - y[k] * w;
                }
                if (at[i] != i) {
                    // Row i holds the element of an earlier position: the two
                    // rows change places.
                    const int from = at[i], q = holds[i];
                    std::swap_ranges(x, x + len, row(i));
                    at[q] = from;
                    holds[from] = q;
                    at[i] = holds[i] = i;
                }
                BetaPoint* r = net + static_cast<std::ptrdiff_t>(i) * netRow;
                r[0] = r[mu];
                r[1] = r[mu + 1];
                r[mu + 2] = r[2];
            }
        });
    });
}

qvColumnVector<BetaPoint> BetaSolveBand(const BetaSpline& b, BetaSystem kind, const BetaPoint* p, int step, int m) {
    qvColumnVector<BetaPoint> x(BetaOrder(kind, m));
    BetaSolveBand(b, kind, p, step, 0, m, 1, x.GetPointer(), x.Tab(), 0);
    return x;
}

void BetaRingLayout(const BetaPoint* d, int dStep, int m, BetaPoint* out, int step) {
    out[0] = d[(m - 2) * dStep];
    out[step] = d[(m - 1) * dStep];
    for (int i = 0; i < m; ++i) out[(i + 2) * step] = d[i * dStep];
    out[(m + 2) * step] = d[0];
}

}  // namespace qvDetail
