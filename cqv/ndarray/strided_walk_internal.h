// The walk over the elements of a strided N-dimensional range;
// library-private.
//
// A range is an element pointer, the extent and stride of each dimension and
// the step table of the walk (qvArrayNDAbs::MakeForTab). The walk visits the
// elements in storage order of the index, dimension 0 fastest, as runs: a
// contiguous range (every carry step 0) is one run of all its elements,
// any other range one run per line of dimension 0, the next line reached
// through the step table when the odometer carries. Two ranges of equal
// extents are walked in step, each through its own strides.
//
// The runs are handed to a callback with their first element, length and
// stride; the element loops below give the strides 1 and -1 as constants,
// so that the compiler can vectorise them.
#ifndef CQV_NDARRAY_STRIDED_WALK_INTERNAL_H
#define CQV_NDARRAY_STRIDED_WALK_INTERNAL_H

#include <cstddef>

#include "cqv/core/allocator.h"
#include "cqv/ndarray/odometer_internal.h"

namespace qvDetail {

// A strided N-dimensional range as a walk sees it.
template <class T>
struct StridedND {
    T* first;           // element (0, ..., 0)
    int dim;            // number of dimensions
    const int* range;   // extents
    const int* tab;     // strides, in elements
    const int* forTab;  // the walk's step table
    bool isCon;         // one run of step tab[0]
    int count;          // elements to visit; 0 for none
};

// The multi-index of a walk: on the stack for up to 16 dimensions, else
// from the library allocator. Starts at all zeros.
class WalkIndex {
public:
    explicit WalkIndex(int dim) : p(dim <= kLocal ? local : static_cast<int*>(qvMalloc(sizeof(int) * static_cast<unsigned>(dim)))) {
        for (int d = 0; d < dim; ++d) p[d] = 0;
    }
    WalkIndex(const WalkIndex&) = delete;
    WalkIndex& operator=(const WalkIndex&) = delete;
    ~WalkIndex() {
        if (p != local) qvFree(p);
    }
    int* Get() { return p; }

private:
    static constexpr int kLocal = 16;
    int local[kLocal];
    int* p;
};

// Calls run(first, n, stride) for each run of a's walk, in walk order.
template <class T, class Run>
void ForEachRun(const StridedND<T>& a, Run run) {
    if (a.count <= 0) return;
    if (a.isCon) {
        run(a.first, a.count, a.tab[0]);
        return;
    }
    WalkIndex index(a.dim);
    const int n = a.range[0];
    const int s = a.tab[0];
    const std::ptrdiff_t line = static_cast<std::ptrdiff_t>(n) * s;
    std::ptrdiff_t at = 0;
    for (;;) {
        run(a.first + at, n, s);
        const int k = OdometerInc(index.Get(), a.range, a.dim);
        if (k == 0) return;
        at += line + a.forTab[k];
    }
}

// Calls run(firstA, firstB, n, strideA, strideB) for the runs of two ranges
// of equal extents walked in step.
template <class A, class B, class Run>
void ForEachRun2(const StridedND<A>& a, const StridedND<B>& b, Run run) {
    if (a.count <= 0) return;
    if (a.isCon && b.isCon) {
        run(a.first, b.first, a.count, a.tab[0], b.tab[0]);
        return;
    }
    WalkIndex index(a.dim);
    const int n = a.range[0];
    const int sa = a.tab[0];
    const int sb = b.tab[0];
    const std::ptrdiff_t lineA = static_cast<std::ptrdiff_t>(n) * sa;
    const std::ptrdiff_t lineB = static_cast<std::ptrdiff_t>(n) * sb;
    std::ptrdiff_t atA = 0, atB = 0;
    for (;;) {
        run(a.first + atA, b.first + atB, n, sa, sb);
        const int k = OdometerInc(index.Get(), a.range, a.dim);
        if (k == 0) return;
        atA += lineA + a.forTab[k];
        atB += lineB + b.forTab[k];
    }
}

// f(e) for the n elements of a run from p with stride s, in order.
template <class T, class F>
inline void ApplyRun(T* p, int n, int s, F f) {
    if (s == 1) {
        for (int i = 0; i < n; ++i) f(p[i]);
    } else if (s == -1) {
        for (int i = 0; i < n; ++i) f(p[-i]);
    } else {
        for (int i = 0; i < n; ++i) f(p[static_cast<std::ptrdiff_t>(i) * s]);
    }
}

// f(a_i, b_i) for the n element pairs of two runs in step, in order.
template <class A, class B, class F>
inline void ApplyRun2(A* a, B* b, int n, int sa, int sb, F f) {
    if (sa == 1 && sb == 1) {
        for (int i = 0; i < n; ++i) f(a[i], b[i]);
    } else if (sa == -1 && sb == -1) {
        for (int i = 0; i < n; ++i) f(a[-i], b[-i]);
    } else if (sa == 1 && sb == -1) {
        for (int i = 0; i < n; ++i) f(a[i], b[-i]);
    } else {
        for (int i = 0; i < n; ++i) f(a[static_cast<std::ptrdiff_t>(i) * sa], b[static_cast<std::ptrdiff_t>(i) * sb]);
    }
}

// f(e) for every element of a, in walk order.
template <class T, class F>
inline void ForEachElement(const StridedND<T>& a, F f) {
    ForEachRun(a, [&f](T* p, int n, int s) { ApplyRun(p, n, s, f); });
}

// f(a_e, b_e) for every pair of elements at the same indices, in walk order.
template <class A, class B, class F>
inline void ForEachPair(const StridedND<A>& a, const StridedND<B>& b, F f) {
    ForEachRun2(a, b, [&f](A* pa, B* pb, int n, int sa, int sb) { ApplyRun2(pa, pb, n, sa, sb, f); });
}

}  // namespace qvDetail

#endif  // CQV_NDARRAY_STRIDED_WALK_INTERNAL_H
