// Library-private: many vectors made windows on one block, or let go of it,
// at once. Not installed.
//
// An array of n vectors that all view one block (the points of a spline,
// its polynomials) would take n references one by one through Set, each an
// out-of-line call. These helpers write the fields of all the windows in one
// loop and change the block's count once; the vectors end as Set would leave
// them.
#ifndef CQV_NUMERIC_WINDOW_ARRAYS_INTERNAL_H
#define CQV_NUMERIC_WINDOW_ARRAYS_INTERNAL_H

#include <type_traits>
#include <utility>

#include "cqv/core/counted_block.h"
#include "cqv/core/counted_block_internal.h"
#include "cqv/linalg/vector.h"
#include "cqv/numeric/polynom.h"

namespace qvDetail {

struct VectorWindows {
    // The element type of the vector class V.
    template <class V>
    using Elem = std::remove_pointer_t<decltype(std::declval<const V&>().GetPointer())>;

    // Makes v[0 .. n) windows on the counted block, v[i] seeing len elements
    // with stride tab from first + i·gap, as v[i].Set on a vector of that
    // block would; the block's count rises by n once. The vectors must hold
    // no block (fresh ones, or closed by Close). Throws BadParameters
    // "qvIncMemRef : memory must be allocated with qvNewWithRef." when the
    // block is not counted, with nothing changed.
    template <class V>
    static void Open(V* v, int n, void* block, Elem<V>* first, int gap, int len, int tab) {
        if (n <= 0) return;
        HoldBlockTimes(block, n);
        for (int i = 0; i < n; ++i) {
            qvVector<Elem<V>>& w = v[i];
            w.mem = block;
            w.data = first + i * gap;
            w.len = len;
            w.tab = tab;
        }
    }

    // Lets w go of its block: counted in held when it is common, which the
    // caller then releases that many times, else released now.
    template <class E>
    static void LetGo(qvVector<E>& w, void* common, int& held) {
        if (w.mem == common) ++held;
        else ReleaseBlock<E>(w.mem);
        w.mem = nullptr;
    }

    // Makes p[0 .. n) windows of len coefficients side by side on the
    // counted block, from first, with the offset x[i] and the form k where
    // p[i] lacks them (as SetOffsets), in one pass: what each held before is
    // let go, those that held the block of p[0] together. Throws as Open,
    // with nothing changed.
    template <class E>
    static void OpenPolynomials(qvPolynom<E>* p, int n, void* block, E* first, int len, const E* x,
                                typename qvPolynom<E>::KoefType k) {
        if (n <= 0) return;
        HoldBlockTimes(block, n);
        void* const old = p[0].mem;
        int held = 0;
        for (int i = 0; i < n; ++i) {
            qvPolynom<E>& w = p[i];
            LetGo<E>(w, old, held);
            w.mem = block;
            w.data = first + i * len;
            w.len = len;
            w.tab = 1;
            if (w.x0 == x[i] && w.koefType == k) continue;
            w.x0 = x[i];
            w.koefType = k;
        }
        if (old != nullptr) ReleaseBlockTimes<E>(old, held);
    }

    // Gives polynomial p[i] the offset x[i] and the form k where it lacks
    // them (an offset that compares equal stays, as SetKoef on itself
    // leaves it), its coefficients untouched.
    template <class E>
    static void SetOffsets(qvPolynom<E>* p, int n, const E* x, typename qvPolynom<E>::KoefType k) {
        for (int i = 0; i < n; ++i) {
            if (p[i].x0 == x[i] && p[i].koefType == k) continue;
            p[i].x0 = x[i];
            p[i].koefType = k;
        }
    }
};

}  // namespace qvDetail

#endif  // CQV_NUMERIC_WINDOW_ARRAYS_INTERNAL_H
