// The row-pointer elimination of the dense solver for matrices whose
// non-zero entries lie in a band around the diagonal, with possibly a dense
// block of last columns; library-private.
//
// BandElimination performs the elimination and back substitution of
// qvMatrix::SolveEquationGaussMethod (matrix_impl.h) step for step: the
// pivot search with its immediate exchanges of the row table, the pivot row
// scaled by the reciprocal of its pivot, every lower row with a non-zero
// entry e in the pivot column replaced by (1/e)·row - pivot row, the
// right-hand sides carried along, and the substitution from the last
// unknown up. What it leaves out are the operations on entries known to be
// zero. Each row keeps its band, the columns [lo, hi) outside of which its
// entries are zero up to the columns of the right block, which are stored
// for every row; a row enters the pivot searches when the elimination
// reaches its band and leaves them when it becomes a pivot row or its band
// ends. The search visits the candidates in row-table order, and a zero
// entry can win a search only over a pivot that is NaN in every coordinate,
// which the search handles as the dense one does. A row update covers the
// union of the two bands and the right block, so that a band grows by the
// fill of the elimination and no further: rows of a matrix with l
// sub-diagonals and u super-diagonals never hold more than l + u + 1
// columns at once. The cost is linear in the order for a band of fixed
// width.
//
// Every entry computed is computed with the same operations in the same
// order as in the dense elimination, so the results agree with it bit for
// bit wherever the dense elimination's own zeros take part only as zeros.
// The two stores below differ in how exact they are beyond that:
// - DenseBandStore works in place on a dense matrix. Its rows' entries
//   beyond the band are +0.0, which a row operation leaves unchanged when
//   its factor is positive and finite; with any other factor it operates on
//   the whole rest of the row as the dense elimination does. The back
//   substitution skips the +0.0 entries only where subtracting their
//   products could not change a bit. So matrix, right-hand side and
//   solution end up exactly as the dense solver leaves them.
// - BandStore keeps only the band of each row, in a ring of slots, and the
//   right block, with matrix entries of type double standing for the
//   entries (w, w, w) of a space-vector system. Entries outside the band
//   are never formed: where the dense elimination would form a zero of the
//   other sign, or a NaN from an infinite factor times zero, it has nothing.
//   For finite systems its solution therefore equals the dense one up to
//   the sign of zero coordinates. It can also update rows the classic way,
//   row - e·pivot row, for systems whose rows would overflow under the
//   dense solver's (1/e)·row - pivot row (see BandStore).
//
// With a BandStore the elimination can also keep a journal of its
// operations on the right-hand sides and its back substitution, so that
// one elimination of the matrix serves any number of right-hand sides
// taken through it one at a time (Replay, SubstituteReplayed), each with
// the same operations it would have met in the elimination itself.
#ifndef CQV_LINALG_BAND_ELIMINATION_INTERNAL_H
#define CQV_LINALG_BAND_ELIMINATION_INTERNAL_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "cqv/core/allocator.h"
#include "cqv/core/exceptions.h"
#include "cqv/linalg/messages.h"
#include "cqv/linalg/element_ops_internal.h"
#include "cqv/values/vec3.h"

namespace qvDetail {

// ---- what the elimination asks of the element types -------------------------

// Every coordinate is +0.0 or -0.0.
inline bool BandIsZero(double x) { return x == 0.0; }
inline bool BandIsZero(const qvTVec3<double>& x) { return x.X() == 0.0 && x.Y() == 0.0 && x.Z() == 0.0; }
// Every coordinate is +0.0 exactly.
inline bool BandIsPlusZero(double x) { return x == 0.0 && !std::signbit(x); }
inline bool BandIsPlusZero(const qvTVec3<double>& x) {
    return BandIsPlusZero(x.X()) && BandIsPlusZero(x.Y()) && BandIsPlusZero(x.Z());
}
// Every coordinate is positive and finite: multiplying +0.0 by it gives +0.0.
inline bool BandIsPositiveFinite(double x) { return x > 0.0 && x <= 1.7976931348623157e308; }
inline bool BandIsPositiveFinite(const qvTVec3<double>& x) {
    return BandIsPositiveFinite(x.X()) && BandIsPositiveFinite(x.Y()) && BandIsPositiveFinite(x.Z());
}
// Some coordinate is -0.0.
inline bool BandHasMinusZero(double x) { return x == 0.0 && std::signbit(x); }
inline bool BandHasMinusZero(const qvTVec3<double>& x) {
    return BandHasMinusZero(x.X()) || BandHasMinusZero(x.Y()) || BandHasMinusZero(x.Z());
}
// Every coordinate is finite.
inline bool BandIsFinite(double x) { return std::isfinite(x); }
inline bool BandIsFinite(const qvTVec3<double>& x) {
    return std::isfinite(x.X()) && std::isfinite(x.Y()) && std::isfinite(x.Z());
}
// The product of a matrix entry and a right-hand side element, as the
// element type computes it; a double entry w stands for (w, w, w).
inline double BandMul(double w, double c) { return w * c; }
inline qvTVec3<double> BandMul(const qvTVec3<double>& w, const qvTVec3<double>& c) { return w * c; }
inline qvTVec3<double> BandMul(double w, const qvTVec3<double>& c) { return c * w; }

// Scans of a contiguous run of 8-byte words, eight at a time: the index of
// the first word that is not +0.0 or -0.0, and one past the last word that
// is not +0.0, by their bit patterns.
inline std::uint64_t BandWord(const unsigned char* p, int i) {
    std::uint64_t u;
    std::memcpy(&u, p + 8 * static_cast<std::ptrdiff_t>(i), 8);
    return u;
}
inline int BandFirstNonZeroWord(const unsigned char* p, int words) {
    int i = 0;
    for (; i + 8 <= words; i += 8) {
        std::uint64_t acc = 0;
        for (int t = 0; t < 8; ++t) acc |= BandWord(p, i + t) << 1;
        if (acc != 0) break;
    }
    for (; i < words; ++i)
        if ((BandWord(p, i) << 1) != 0) return i;
    return words;
}
inline int BandEndOfNonPlusZeroWords(const unsigned char* p, int words) {
    int i = words;
    for (; i >= 8; i -= 8) {
        std::uint64_t acc = 0;
        for (int t = 1; t <= 8; ++t) acc |= BandWord(p, i - t);
        if (acc != 0) break;
    }
    for (; i > 0; --i)
        if (BandWord(p, i - 1) != 0) return i;
    return 0;
}

// What a replay does besides its own steps, when the caller asks for
// nothing: Replay and SubstituteReplayed call their tick once before each
// step, so that a caller can spread work of its own (such as fetching the
// next right-hand sides into the cache) over the replay's arithmetic.
struct NoTick {
    void operator()() const {}
};

// Work memory from the library allocator, carved into arrays and freed on
// scope exit.
class BandScratch {
public:
    explicit BandScratch(std::size_t bytes) : base(static_cast<char*>(qvMalloc(static_cast<unsigned int>(bytes)))) {}
    BandScratch(const BandScratch&) = delete;
    BandScratch& operator=(const BandScratch&) = delete;
    ~BandScratch() { qvFree(base); }
    // The next n objects of type T (suitably aligned for doubles).
    template <class T>
    T* Take(std::size_t n) {
        T* p = reinterpret_cast<T*>(base + used);
        used += (n * sizeof(T) + 15) / 16 * 16;
        return p;
    }
    // Bytes to ask for n objects of type T.
    template <class T>
    static std::size_t Bytes(std::size_t n) {
        return (n * sizeof(T) + 15) / 16 * 16;
    }

private:
    char* base;
    std::size_t used = 0;
};

// ---- the elimination -----------------------------------------------------------

// The operations an elimination performs on its right-hand sides, in order,
// so that further right-hand sides can be taken through the same
// elimination without repeating its work on the matrix: exchanges of two
// positions, scalings of a position, and updates of a position by the
// pivot position, each with its factor.
class BandJournal {
public:
    enum Kind { kSwap, kScale, kUpdate };
    struct Op {
        int kind;
        int a, b;  // positions: the two exchanged; the scaled one; the updated one and the pivot
        double f;
    };

    // A term of the back substitution: unknown j times the entry w.
    struct Term {
        int j;
        double w;
    };

    BandJournal() = default;
    BandJournal(const BandJournal&) = delete;
    BandJournal& operator=(const BandJournal&) = delete;
    ~BandJournal() {
        qvFree(ops);
        qvFree(terms);
        qvFree(first);
    }

    void Add(int kind, int a, int b, double f) {
        if (count == capacity) {
            const int grown = capacity == 0 ? 1024 : 2 * capacity;
            ops = static_cast<Op*>(qvRealloc(ops, static_cast<unsigned int>(grown * sizeof(Op))));
            capacity = grown;
        }
        ops[count++] = Op{kind, a, b, f};
    }
    const Op* begin() const { return ops; }
    const Op* end() const { return ops + count; }

    // The back substitution, written down once the elimination is done:
    // for each position i from the last up, its terms in the order they
    // are subtracted; and the position whose pivot is zero, where the
    // substitution throws (-1 for none).
    Term* terms = nullptr;
    int* first = nullptr;  // terms of position i: first[i] .. first[i + 1] - 1
    int zeroAt = -1;

private:
    Op* ops = nullptr;
    int count = 0;
    int capacity = 0;
};

// Store is DenseBandStore or BandStore below. Rows are named by their index
// in the matrix; the row table maps positions to rows.
template <class Store>
class BandElimination {
public:
    using Entry = typename Store::Entry;
    using Rhs = typename Store::Rhs;
    using L = LinalgElem<Entry>;

    // rhs[r] points to the nrhs right-hand side elements of row r, which
    // travel with the row.
    BandElimination(Store& s, Rhs* const* rhs, int nrhs)
        : store(s),
          n(s.Rows()),
          k(nrhs),
          scratch(BandScratch::Bytes<int>(n) * 5 + BandScratch::Bytes<Rhs*>(n)),
          posRow(scratch.Take<int>(n)),
          rowPos(scratch.Take<int>(n)),
          bucket(scratch.Take<int>(n)),
          next(scratch.Take<int>(n)),
          active(scratch.Take<int>(n)),
          posComp(scratch.Take<Rhs*>(n)) {
        for (int i = 0; i < n; ++i) {
            posRow[i] = rowPos[i] = i;
            posComp[i] = rhs[i];
            bucket[i] = -1;
        }
        // Rows enter the searches at the first column of their band.
        for (int r = n - 1; r >= 0; --r) {
            const int lo = store.Lo(r);
            if (lo < n && lo < store.Hi(r)) {
                next[r] = bucket[lo];
                bucket[lo] = r;
            }
        }
    }

    // Records the operations on the right-hand sides in j (BandStore
    // only), for Replay.
    void Record(BandJournal* j) { journal = j; }

    // The elimination; returns the number of steps completed (n unless a
    // zero pivot stopped it).
    int Eliminate() {
        const int spike = store.Spike();
        for (int step = 0; step < n; ++step) {
            for (int r = bucket[step]; r >= 0; r = next[r]) active[count++] = r;
            if (step >= spike) {
                // Every row holds entries in the right block: all rows left
                // are candidates.
                count = 0;
                for (int i = step; i < n; ++i) active[count++] = posRow[i];
            }
            // The candidates in row-table order, without those whose band
            // has ended.
            int kept = 0;
            for (int a = 0; a < count; ++a) {
                const int r = active[a];
                if (step < spike && store.Hi(r) <= step) continue;
                int b = kept++;
                for (; b > 0 && rowPos[active[b - 1]] > rowPos[r]; --b) active[b] = active[b - 1];
                active[b] = r;
            }
            count = kept;
            Search(step);
            const int pr = posRow[step];
            const Entry pivot = EntryOrZero(pr, step);
            if (L::IsZero(pivot)) return step;
            const Entry rcp = L::Recip(pivot);
            store.Scale(pr, step, rcp);
            Note(BandJournal::kScale, step, step, rcp);
            Rhs* cp = posComp[step];
            for (int c = 0; c < k; ++c) cp[c] = cp[c] * rcp;
            kept = 0;
            for (int a = 0; a < count; ++a) {
                const int r = active[a];
                if (r == pr) continue;
                active[kept++] = r;
                const Entry e = store.At(r, step);
                if (L::IsZero(e)) continue;
                Rhs* ci = posComp[rowPos[r]];
                const Entry f = Store::kMultipliers ? e : L::Recip(e);
                store.Update(r, pr, step, f);
                Note(BandJournal::kUpdate, rowPos[r], step, f);
                for (int c = 0; c < k; ++c) ci[c] = Combine(ci[c], f, cp[c]);
            }
            count = kept;
        }
        return n;
    }

    // Substitutes back from the last unknown up: x[i·xStep + c] is unknown i
    // of right-hand side c. A zero diagonal entry throws the solver's
    // "Система имеет не единственное решение." after its unknown is
    // written, as the dense solver does.
    void Substitute(Rhs* x, int xStep) {
        BandScratch work(BandScratch::Bytes<int>(n + 1));
        // bad[j]: how many of the unknowns j .. n - 1 are not finite.
        int* bad = work.Take<int>(n + 1);
        bad[n] = 0;
        const int spike = store.Spike();
        const auto unknown = [&](int j) { return x + static_cast<std::ptrdiff_t>(j) * xStep; };
        for (int i = n - 1; i >= 0; --i) {
            const int r = posRow[i];
            Rhs* xi = unknown(i);
            const Rhs* ci = posComp[i];
            for (int c = 0; c < k; ++c) xi[c] = ci[c];
            // Columns i + 1 .. n - 1 of the row: the band, then zeros, then
            // the right block.
            const int blockStart = spike < n ? (spike > i + 1 ? spike : i + 1) : n;
            int bandEnd = store.Hi(r) > i + 1 ? store.Hi(r) : i + 1;
            if (bandEnd > blockStart) bandEnd = blockStart;
            for (int j = n - 1; j >= blockStart; --j) Subtract(xi, store.At(r, j), unknown(j));
            if (blockStart > bandEnd && !CanSkipGap(xi, bad, bandEnd, blockStart))
                for (int j = blockStart - 1; j >= bandEnd; --j) Subtract(xi, store.GapAt(r, j), unknown(j));
            for (int j = bandEnd - 1; j > i; --j) Subtract(xi, store.At(r, j), unknown(j));
            int finite = 1;
            for (int c = 0; c < k; ++c) finite &= BandIsFinite(xi[c]) ? 1 : 0;
            bad[i] = bad[i + 1] + 1 - finite;
            if (L::IsZero(EntryOrZero(r, i))) throw BadParameters(qvMsg::SystemNotUnique);
        }
    }

    // Takes g more right-hand sides through the recorded elimination, side
    // by side: v[r·g + c] is element r of right-hand side c, and afterwards
    // v[i·g + c] is what the elimination leaves at position i. tick is
    // called before each recorded operation.
    template <class Tick = NoTick>
    void Replay(Rhs* v, int g, Tick&& tick = Tick()) const {
        for (const BandJournal::Op& op : *journal) {
            tick();
            Rhs* a = v + static_cast<std::ptrdiff_t>(op.a) * g;
            const Rhs* b = v + static_cast<std::ptrdiff_t>(op.b) * g;
            if (op.kind == BandJournal::kSwap) {
                Rhs* bb = v + static_cast<std::ptrdiff_t>(op.b) * g;
                for (int c = 0; c < g; ++c) {
                    const Rhs t = a[c];
                    a[c] = bb[c];
                    bb[c] = t;
                }
            } else if (op.kind == BandJournal::kScale) {
                for (int c = 0; c < g; ++c) a[c] = a[c] * op.f;
            } else {
                for (int c = 0; c < g; ++c) a[c] = Combine(a[c], op.f, b[c]);
            }
        }
    }

    // Writes the back substitution into the journal, after Eliminate.
    void RecordSubstitution() {
        const int spike = store.Spike();
        int terms = 0;
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) {
                journal->terms = static_cast<BandJournal::Term*>(
                    qvMalloc(static_cast<unsigned int>((terms > 0 ? terms : 1) * sizeof(BandJournal::Term))));
                journal->first = static_cast<int*>(qvMalloc(static_cast<unsigned int>((n + 1) * sizeof(int))));
                journal->first[n] = terms;
            }
            int t = terms;
            for (int i = n - 1; i >= 0; --i) {
                const int r = posRow[i];
                const int blockStart = spike < n ? (spike > i + 1 ? spike : i + 1) : n;
                int bandEnd = store.Hi(r) > i + 1 ? store.Hi(r) : i + 1;
                if (bandEnd > blockStart) bandEnd = blockStart;
                const int here = (n - blockStart) + (bandEnd - i - 1);
                if (pass == 0) {
                    terms += here;
                    continue;
                }
                t -= here;
                journal->first[i] = t;
                BandJournal::Term* out = journal->terms + t;
                for (int j = n - 1; j >= blockStart; --j) *out++ = BandJournal::Term{j, store.At(r, j)};
                for (int j = bandEnd - 1; j > i; --j) *out++ = BandJournal::Term{j, store.At(r, j)};
                if (journal->zeroAt < 0 && L::IsZero(EntryOrZero(r, i))) journal->zeroAt = i;
            }
        }
    }

    // Substitutes back for g replayed right-hand sides v (as Replay leaves
    // them) into x[i·xStep + c·xSide], as Substitute does for the
    // elimination's own. tick is called before each position.
    template <class Tick = NoTick>
    void SubstituteReplayed(const Rhs* v, int g, Rhs* x, int xStep, int xSide, Tick&& tick = Tick()) const {
        const BandJournal::Term* terms = journal->terms;
        for (int i = n - 1; i >= 0; --i) {
            tick();
            for (int c = 0; c < g; ++c) {
                Rhs* xc = x + static_cast<std::ptrdiff_t>(c) * xSide;
                Rhs xi = v[static_cast<std::ptrdiff_t>(i) * g + c];
                for (int t = journal->first[i]; t < journal->first[i + 1]; ++t)
                    xi = xi - BandMul(terms[t].w, xc[static_cast<std::ptrdiff_t>(terms[t].j) * xStep]);
                xc[static_cast<std::ptrdiff_t>(i) * xStep] = xi;
            }
            if (i == journal->zeroAt) throw BadParameters(qvMsg::SystemNotUnique);
        }
    }

private:
    // Adds an operation to the journal, when one is kept (for the double
    // entries of BandStore).
    void Note(int kind, int a, int b, const Entry& f) {
        if constexpr (std::is_same<Entry, double>::value) {
            if (journal != nullptr) journal->Add(kind, a, b, f);
        } else {
            (void)kind, (void)a, (void)b, (void)f;
        }
    }

    // The update of a right-hand side element c by the pivot's p with the
    // factor f: f·c - p, or c - f·p with multipliers.
    static Rhs Combine(const Rhs& c, const Entry& f, const Rhs& p) {
        return Store::kMultipliers ? c - BandMul(f, p) : BandMul(f, c) - p;
    }

    // Whether row r holds its entry in column j (which may be non-zero).
    bool Holds(int r, int j) const { return j >= store.Spike() || (store.Lo(r) <= j && j < store.Hi(r)); }
    // Entry (r, j), or the zero it is known to be.
    Entry EntryOrZero(int r, int j) const { return Holds(r, j) ? store.At(r, j) : L::Zero(); }

    // The pivot search of step `step` over the candidates, in row-table
    // order: a candidate whose magnitude is greater takes position step at
    // once. The rows that are not candidates hold zeros in this column; one
    // of them wins only over a pivot that is NaN in every coordinate (the
    // first one met after it), as in the dense search.
    void Search(int step) {
        const int r0 = posRow[step];
        const typename L::Magnitude zero = L::Magnitude_(L::Zero());
        typename L::Magnitude best = L::Magnitude_(EntryOrZero(r0, step));
        int done = step;  // positions up to here have been visited
        for (int a = 0; a <= count; ++a) {
            const int r = a < count ? active[a] : -1;
            const int pos = r >= 0 ? rowPos[r] : n;
            if (r >= 0 && pos <= step) continue;
            if (done + 1 < pos && L::Greater(zero, best)) {
                Exchange(step, done + 1);
                best = zero;
            }
            if (r < 0) break;
            const typename L::Magnitude cand = L::Magnitude_(store.At(r, step));
            if (L::Greater(cand, best)) {
                Exchange(step, pos);
                best = cand;
            }
            done = pos;
        }
    }

    void Exchange(int a, int b) {
        Note(BandJournal::kSwap, a, b, Entry());
        const int ra = posRow[a], rb = posRow[b];
        posRow[a] = rb;
        posRow[b] = ra;
        rowPos[ra] = b;
        rowPos[rb] = a;
        Rhs* t = posComp[a];
        posComp[a] = posComp[b];
        posComp[b] = t;
    }

    // x_i[c] -= w·x_j[c] for every right-hand side c.
    void Subtract(Rhs* xi, const Entry& w, const Rhs* xj) const {
        for (int c = 0; c < k; ++c) xi[c] = xi[c] - BandMul(w, xj[c]);
    }

    // Whether subtracting the products of the zero entries in columns
    // [from, to) could leave x_i unchanged in every bit: the products are
    // zeros when the unknowns there are finite, and a zero subtracted from
    // anything but -0.0 leaves it alone. Stores that do not keep those
    // entries skip them always.
    bool CanSkipGap(const Rhs* xi, const int* bad, int from, int to) const {
        if (!Store::kExactGaps) return true;
        if (bad[from] != bad[to]) return false;
        for (int c = 0; c < k; ++c)
            if (BandHasMinusZero(xi[c])) return false;
        return true;
    }

    Store& store;
    int n;
    int k;
    BandScratch scratch;
    int* posRow;    // row table: position -> row
    int* rowPos;    // position of each row
    int* bucket;    // first row whose band starts in each column
    int* next;      // the next row of the same bucket
    int* active;    // the candidates
    Rhs** posComp;  // right-hand sides by position
    int count = 0;  // number of candidates
    BandJournal* journal = nullptr;
};

// ---- the stores ---------------------------------------------------------------

// The smallest order and the widest row band (in columns) of a dense system
// that the dense solver hands to the band elimination.
constexpr int kBandMinOrder = 48;
constexpr int kBandMaxWidth = 16;

// A dense n x m matrix (n <= m) of E seen through its row pointers and the
// stride tab within a row, worked on in place. Rows of entries that are all
// +0.0 beyond a band keep that band; the others extend to the last column.
template <class E>
class DenseBandStore {
public:
    using Entry = E;
    using Rhs = E;
    static constexpr bool kExactGaps = true;
    static constexpr bool kMultipliers = false;

    // Scans the rows for their bands, as far as the first row too wide for
    // the band elimination to pay (see Worthwhile).
    DenseBandStore(E* const* rowPointers, int rows, int cols, int stride)
        : rowPtr(rowPointers),
          n(rows),
          m(cols),
          tab(stride),
          scratch(BandScratch::Bytes<int>(rows) * 2),
          lo(scratch.Take<int>(rows)),
          hi(scratch.Take<int>(rows)) {
        constexpr int wordsPerEntry = static_cast<int>(sizeof(E) / 8);
        for (int r = 0; r < n && narrow; ++r) {
            const E* w = rowPtr[r];
            if (tab == 1) {
                // A contiguous row, scanned as words.
                const unsigned char* bytes = reinterpret_cast<const unsigned char*>(w);
                lo[r] = BandFirstNonZeroWord(bytes, m * wordsPerEntry) / wordsPerEntry;
                hi[r] = (BandEndOfNonPlusZeroWords(bytes, m * wordsPerEntry) + wordsPerEntry - 1) / wordsPerEntry;
            } else {
                int first = 0;
                while (first < m && BandIsZero(w[first * tab])) ++first;
                int end = m;
                while (end > 0 && BandIsPlusZero(w[(end - 1) * tab])) --end;
                lo[r] = first;
                hi[r] = end;
            }
            narrow = hi[r] - lo[r] <= kBandMaxWidth;
        }
    }

    // Whether the band elimination pays: every row keeps to a narrow band.
    // A row with entries far apart, such as the corner entries of a cyclic
    // system, spreads its width to every row it updates, and the
    // elimination would be as wide as the dense one.
    bool Worthwhile() const { return narrow; }

    int Rows() const { return n; }
    int Lo(int r) const { return lo[r]; }
    int Hi(int r) const { return hi[r]; }
    int Spike() const { return m; }
    E At(int r, int j) const { return rowPtr[r][j * tab]; }
    E GapAt(int r, int j) const { return rowPtr[r][j * tab]; }

    // Entries step + 1 .. m - 1 of the pivot row times rcp.
    void Scale(int r, int step, const E& rcp) {
        if (!BandIsPositiveFinite(rcp)) hi[r] = m;
        E* w = rowPtr[r];
        for (int j = step + 1; j < hi[r]; ++j) w[j * tab] = w[j * tab] * rcp;
    }

    // Entries step + 1 .. m - 1 of row r become s·w - p, p the pivot row.
    void Update(int r, int p, int step, const E& s) {
        int end = hi[r] > hi[p] ? hi[r] : hi[p];
        if (!BandIsPositiveFinite(s)) end = m;
        E* w = rowPtr[r];
        const E* pw = rowPtr[p];
        for (int j = step + 1; j < end; ++j) w[j * tab] = s * w[j * tab] - pw[j * tab];
        lo[r] = step + 1;
        hi[r] = end;
    }

private:
    E* const* rowPtr;
    int n, m, tab;
    BandScratch scratch;
    int* lo;
    int* hi;
    bool narrow = true;
};

// A square system of order n whose rows keep their band in a ring of
// `width` slots (a power of two at least l + u + 1 for l sub- and u
// super-diagonals) and the last `block` columns in full, with matrix entries
// of type double and right-hand sides of type R. Filled row by row with Set
// before the elimination.
//
// With multipliers false the rows are updated as the dense solver updates
// them, (1/e)·row - pivot row. With multipliers true they are updated the
// classic way, row - e·pivot row (the pivot row scaled to a unit pivot, so
// that e is the multiplier, at most 1 in magnitude by the pivot search).
// The two agree to rounding, but the dense solver's way multiplies a row by
// 1/e at every step it is carried without becoming a pivot row: the rows
// that hold the corner entries of a cyclic system are carried through the
// whole elimination, and their entries grow by the inverse of the decay
// of e, overflowing after a few hundred steps. The classic way keeps every
// entry within a small factor of the matrix's.
template <class R, bool multipliers>
class BandStore {
public:
    using Entry = double;
    using Rhs = R;
    static constexpr bool kExactGaps = false;
    static constexpr bool kMultipliers = multipliers;

    BandStore(int order, int width, int block)
        : n(order),
          w(width),
          mask(width - 1),
          b(block),
          spike(order - block),
          scratch(BandScratch::Bytes<double>(static_cast<std::size_t>(order) * (width + block)) +
                  BandScratch::Bytes<int>(order) * 2),
          band(scratch.Take<double>(static_cast<std::size_t>(order) * width)),
          right(scratch.Take<double>(static_cast<std::size_t>(order) * block)),
          lo(scratch.Take<int>(order)),
          hi(scratch.Take<int>(order)) {
        for (int r = 0; r < n; ++r) {
            lo[r] = spike;
            hi[r] = spike;
            for (int c = 0; c < b; ++c) right[static_cast<std::size_t>(r) * b + c] = 0.0;
        }
    }

    // Entry (r, j) = v. The columns of a row's band must be set in
    // increasing order and span at most `width` columns.
    void Set(int r, int j, double v) {
        if (j >= spike) {
            right[static_cast<std::size_t>(r) * b + (j - spike)] = v;
            return;
        }
        if (lo[r] == spike) lo[r] = hi[r] = j;
        while (hi[r] < j) Slot(r, hi[r]++) = 0.0;
        Slot(r, j) = v;
        hi[r] = j + 1;
    }

    int Rows() const { return n; }
    int Lo(int r) const { return lo[r]; }
    int Hi(int r) const { return hi[r]; }
    int Spike() const { return spike; }
    double At(int r, int j) const {
        return j >= spike ? right[static_cast<std::size_t>(r) * b + (j - spike)] : band[Index(r, j)];
    }
    double GapAt(int, int) const { return 0.0; }

    void Scale(int r, int step, double rcp) {
        for (int j = step + 1; j < hi[r]; ++j) Slot(r, j) = Slot(r, j) * rcp;
        double* x = right + static_cast<std::size_t>(r) * b;
        for (int j = step + 1 > spike ? step + 1 : spike; j < n; ++j) x[j - spike] = x[j - spike] * rcp;
    }

    // Entries step + 1 .. n - 1 of row r become f·w - p, or w - f·p with
    // multipliers, p being the pivot row.
    void Update(int r, int p, int step, double f) {
        const int end = hi[r] > hi[p] ? hi[r] : hi[p];
        for (int j = step + 1; j < end; ++j) {
            const double wj = j < hi[r] ? Slot(r, j) : 0.0;
            const double pj = j < hi[p] ? Slot(p, j) : 0.0;
            Slot(r, j) = Combine(wj, f, pj);
        }
        lo[r] = step + 1;
        hi[r] = end > step + 1 ? end : step + 1;
        double* x = right + static_cast<std::size_t>(r) * b;
        const double* px = right + static_cast<std::size_t>(p) * b;
        for (int j = step + 1 > spike ? step + 1 : spike; j < n; ++j)
            x[j - spike] = Combine(x[j - spike], f, px[j - spike]);
    }

private:
    static double Combine(double w, double f, double p) { return multipliers ? w - f * p : f * w - p; }
    std::size_t Index(int r, int j) const { return static_cast<std::size_t>(r) * w + (j & mask); }
    double& Slot(int r, int j) { return band[Index(r, j)]; }
    double Slot(int r, int j) const { return band[Index(r, j)]; }

    int n, w, mask, b, spike;
    BandScratch scratch;
    double* band;
    double* right;
    int* lo;
    int* hi;
};

// ---- the dense solver's use ---------------------------------------------------------

// Solves the system of the dense solver, n rows of m columns reached
// through the row table rows with stride tab and right-hand side elements
// comp[i], on its bands when that pays (DenseBandStore::Worthwhile);
// otherwise returns false having changed nothing. prepare(step) is called
// between the elimination and the back substitution, as the dense solver
// brings its solution vector to length there: it returns the solution's
// first element and sets step to its stride.
template <class E, class Prepare>
bool SolveOnBand(E* const* rows, int n, int m, int tab, E* const* comp, Prepare prepare) {
    // Below this order the bookkeeping costs more than the zeros save.
    if (n < kBandMinOrder) return false;
    DenseBandStore<E> store(rows, n, m, tab);
    if (!store.Worthwhile()) return false;
    BandElimination<DenseBandStore<E>> band(store, comp, 1);
    // The solution's storage is had before the work space changes.
    int step = 1;
    E* x = prepare(step);
    band.Eliminate();
    band.Substitute(x, step);
    return true;
}

}  // namespace qvDetail

#endif  // CQV_LINALG_BAND_ELIMINATION_INTERNAL_H
