// Strided ranges and the walk over them; library-private.
//
// A strided range is element storage as the containers with strides see it:
// the address of element 0 and, for each dimension, a length and a stride
// counted in elements (zero and negative strides included). Element
// (i0, i1, ...) lies at first + i0·tab[0] + i1·tab[1] + ... Dimension 0 runs
// fastest: a vector is one dimension; a matrix is two, along a row and then
// from row to row; an N-dimensional array has as many as it has.
//
// The walk visits the elements in index order, dimension 0 fastest. That is
// the order in which the library fixes its floating-point operations, and
// the order in which operands that overlap (two windows on one block) see
// each other's writes, so no path of the walk ever reorders. Ranges of one
// shape are walked in step, each through its own strides. When every operand
// is contiguous (its elements one after the other in index order) the walk
// is one indexed loop with no bookkeeping, which the compiler vectorises;
// otherwise every line of dimension 0 is one loop (indexed when every
// operand's line is contiguous, stepped by pointer when not) and each
// further dimension costs one pointer addition per line.
#ifndef CQV_CORE_STRIDED_RANGE_INTERNAL_H
#define CQV_CORE_STRIDED_RANGE_INTERNAL_H

#include <cstddef>
#include <cstdint>
#include <tuple>

namespace qvDetail {

template <class E>
class StridedRange {
public:
    // n elements from first, each step elements after the one before.
    StridedRange(E* first, int n, int step) : first_(first), dims_(1), len_(own_), tab_(own_ + 2) {
        own_[0] = n;
        own_[2] = step;
    }
    // n1 lines of n0 elements: step0 from element to element within a line,
    // step1 from line to line (a matrix: n0 columns, n1 rows).
    StridedRange(E* first, int n0, int step0, int n1, int step1)
        : first_(first), dims_(2), len_(own_), tab_(own_ + 2) {
        own_[0] = n0;
        own_[1] = n1;
        own_[2] = step0;
        own_[3] = step1;
    }
    // dims dimensions of lengths len[0..dims) and strides tab[0..dims); the
    // two tables must outlive the range.
    StridedRange(E* first, int dims, const int* len, const int* tab)
        : first_(first), dims_(dims), len_(len), tab_(tab) {}
    StridedRange(const StridedRange& r) : first_(r.first_), dims_(r.dims_), len_(r.len_), tab_(r.tab_) {
        if (r.len_ == r.own_) {
            for (int i = 0; i < 4; ++i) own_[i] = r.own_[i];
            len_ = own_;
            tab_ = own_ + 2;
        }
    }
    StridedRange& operator=(const StridedRange&) = delete;

    E* First() const { return first_; }
    int Dims() const { return dims_; }
    const int* Lens() const { return len_; }
    const int* Tabs() const { return tab_; }

    // The number of elements: the product of the lengths (0 without
    // dimensions).
    std::ptrdiff_t Count() const {
        if (dims_ == 0) return 0;
        std::ptrdiff_t n = 1;
        for (int d = 0; d < dims_; ++d) n *= len_[d];
        return n;
    }

    // Whether the elements lie one after the other in index order, so that
    // element k of the walk is first[k]. A range without elements is.
    bool IsContiguous() const {
        std::ptrdiff_t next = 1;
        for (int d = 0; d < dims_; ++d) {
            if (len_[d] == 0) return true;
            if (len_[d] != 1 && tab_[d] != next) return false;
            next *= len_[d];
        }
        return true;
    }

    // The extents of the storage around element 0, in elements, summed over
    // the dimensions by the sign of each stride: above, 1 plus
    // (len - 1)·tab for every stride of 0 or more; below, (len - 1)·tab for
    // every negative stride (so 0 or less). For dimensions of length 1 or
    // more these are 1 + Σ max(0, (len - 1)·tab) and Σ min(0, (len - 1)·tab);
    // a dimension of length 0 counts -tab on its stride's side.
    int UpperExtent() const {
        int n = 1;
        for (int d = 0; d < dims_; ++d)
            if (tab_[d] >= 0) n += (len_[d] - 1) * tab_[d];
        return n;
    }
    int LowerExtent() const {
        int n = 0;
        for (int d = 0; d < dims_; ++d)
            if (tab_[d] < 0) n += (len_[d] - 1) * tab_[d];
        return n;
    }

private:
    E* first_;
    int dims_;
    int own_[4];  // lengths and strides of a one- or two-dimensional range
    const int* len_;
    const int* tab_;
};

// n contiguous elements from p.
template <class E>
inline StridedRange<E> Run(E* p, int n) {
    return StridedRange<E>(p, n, 1);
}

// An operand on its way through the dimensions: the start of its present
// line, and its strides.
template <class E>
struct WalkCursor {
    E* p;
    const int* tab;
};

// An operand within a line: the present element and the stride.
template <class E>
struct LineCursor {
    E* p;
    int step;
};

template <class F, class... E>
inline void WalkFlat(std::ptrdiff_t n, F& f, E*... p) {
    for (std::ptrdiff_t i = 0; i < n; ++i) f(p[i]...);
}

template <class... I>
inline bool AllUnitSteps(I... step) {
    return ((step == 1) && ...);
}

template <class F, class... E>
inline void WalkLine(int n, F& f, LineCursor<E>... c) {
    if (AllUnitSteps(c.step...)) {
        for (int i = 0; i < n; ++i) f(c.p[i]...);
        return;
    }
    for (int i = 0; i < n; ++i) {
        f(*c.p...);
        ((c.p += c.step), ...);
    }
}

// Calls line(n, cursors...) on every line of dimension 0, in index order.
template <class G, class... E>
void WalkLines(const int* len, int d, G& line, WalkCursor<E>... c) {
    if (d == 0) {
        line(len[0], LineCursor<E>{c.p, c.tab[0]}...);
        return;
    }
    const int n = len[d];
    for (int i = 0; i < n; ++i) {
        WalkLines(len, d - 1, line, c...);
        ((c.p += c.tab[d]), ...);
    }
}

template <class F, class... E>
void WalkDims(const int* len, int d, F& f, WalkCursor<E>... c) {
    auto line = [&f](int n, LineCursor<E>... lc) { WalkLine(n, f, lc...); };
    WalkLines(len, d, line, c...);
}

// Calls f(e0, e...) on the elements of equal index of the ranges, in index
// order. Every range has the shape of r0.
template <class F, class E0, class... E>
void ForEachInStep(F f, const StridedRange<E0>& r0, const StridedRange<E>&... r) {
    const std::ptrdiff_t n = r0.Count();
    if (n == 0) return;
    if (r0.IsContiguous() && (r.IsContiguous() && ...)) {
        WalkFlat(n, f, r0.First(), r.First()...);
        return;
    }
    WalkDims(r0.Lens(), r0.Dims() - 1, f, WalkCursor<E0>{r0.First(), r0.Tabs()}, WalkCursor<E>{r.First(), r.Tabs()}...);
}

// dst's elements become src's, assigned in index order.
template <class E, class S>
void CopyInStep(const StridedRange<E>& dst, const StridedRange<S>& src) {
    ForEachInStep([](E& d, const S& s) { d = s; }, dst, src);
}

// A reduction in index order over the elements of equal index of the
// ranges: s = first(elements of index 0), then s = next(s, elements) for
// every following index. The ranges must not be empty.
template <class First, class Next, class E0, class... E>
auto FoldInStep(First first, Next next, const StridedRange<E0>& r0, const StridedRange<E>&... r)
    -> decltype(first(*r0.First(), *r.First()...)) {
    using S = decltype(first(*r0.First(), *r.First()...));
    const std::ptrdiff_t n = r0.Count();
    if (r0.IsContiguous() && (r.IsContiguous() && ...)) {
        S s = first(r0.First()[0], r.First()[0]...);
        auto rest = [&](auto&... e) { s = next(s, e...); };
        WalkFlat(n - 1, rest, r0.First() + 1, (r.First() + 1)...);
        return s;
    }
    if (r0.Dims() == 1) {
        S s = first(*r0.First(), *r.First()...);
        auto rest = [&](auto&... e) { s = next(s, e...); };
        WalkLine(static_cast<int>(n - 1), rest, LineCursor<E0>{r0.First() + r0.Tabs()[0], r0.Tabs()[0]},
                 LineCursor<E>{r.First() + r.Tabs()[0], r.Tabs()[0]}...);
        return s;
    }
    // Line by line, the running value kept in a local of the line's loop:
    // the first line starts after the elements of index 0.
    S s = first(*r0.First(), *r.First()...);
    bool firstLine = true;
    auto line = [&](int len, LineCursor<E0> c0, LineCursor<E>... c) {
        if (firstLine) {
            firstLine = false;
            --len;
            c0.p += c0.step;
            ((c.p += c.step), ...);
        }
        S t = s;
        auto rest = [&t, &next](auto&... e) { t = next(t, e...); };
        WalkLine(len, rest, c0, c...);
        s = t;
    };
    WalkLines(r0.Lens(), r0.Dims() - 1, line, WalkCursor<E0>{r0.First(), r0.Tabs()},
              WalkCursor<E>{r.First(), r.Tabs()}...);
    return s;
}

// ---- Walks in storage order ---------------------------------------------------
//
// An operation whose outcome does not depend on the order in which it meets
// the elements (filling; updating every element by one scalar; an
// element-wise update of a range that repeats no element from operands that
// share no storage with it; the extreme of integers) may meet them in the
// order they lie in memory instead of index order. InStorageOrder hands such
// an operation the ranges rearranged: r0's dimensions by increasing stride,
// its negative strides turned around, dimensions of length 1 left out, and
// neighbours that continue one another merged into one, the other operands
// rearranged alike so that elements of equal index still meet. A view that
// permutes or reverses the dimensions of contiguous storage becomes one flat
// run again; any other runs its lines along its smallest stride.

// Ranges of more dimensions than this are handed on as they are.
constexpr int kMaxStorageOrderDims = 16;

// The rearranged strides of one operand, and its element at index 0.
template <class E>
struct StorageOrderOperand {
    E* first;
    int tab[kMaxStorageOrderDims];

    // Dimension d of r becomes dimension i, of length n, turned around when
    // turn is set.
    void Take(const StridedRange<E>& r, int i, int d, int n, bool turn) {
        int t = r.Tabs()[d];
        if (turn) {
            first += static_cast<std::ptrdiff_t>(n - 1) * t;
            t = -t;
        }
        tab[i] = t;
    }
    // Whether dimension i continues dimension m of length n.
    bool Continues(int m, int n, int i) const { return tab[i] == n * tab[m]; }
    StridedRange<E> Range(int dims, const int* len) const { return StridedRange<E>(first, dims, len, tab); }
};

// Calls g(r0', r'...) with the ranges rearranged into r0's storage order.
template <class G, class E0, class... E>
void InStorageOrder(G g, const StridedRange<E0>& r0, const StridedRange<E>&... r) {
    const int dims = r0.Dims();
    if (dims > kMaxStorageOrderDims || r0.Count() == 0) {
        g(r0, r...);
        return;
    }
    const int* len0 = r0.Lens();
    const int* tab0 = r0.Tabs();
    auto size = [tab0](int d) { return tab0[d] < 0 ? -static_cast<long long>(tab0[d]) : tab0[d]; };
    int order[kMaxStorageOrderDims];
    int kept = 0;
    for (int d = 0; d < dims; ++d) {
        if (len0[d] == 1) continue;
        int at = kept++;
        for (; at > 0 && size(order[at - 1]) > size(d); --at) order[at] = order[at - 1];
        order[at] = d;
    }
    StorageOrderOperand<E0> o0{r0.First(), {}};
    std::tuple<StorageOrderOperand<E>...> o{StorageOrderOperand<E>{r.First(), {}}...};
    int len[kMaxStorageOrderDims];
    int m = 0;  // dimensions so far, after merging
    for (int i = 0; i < kept; ++i) {
        const int d = order[i];
        const bool turn = tab0[d] < 0;
        o0.Take(r0, m, d, len0[d], turn);
        std::apply([&](auto&... oi) { (oi.Take(r, m, d, len0[d], turn), ...); }, o);
        const bool merges =
            m > 0 && o0.Continues(m - 1, len[m - 1], m) &&
            std::apply([&](const auto&... oi) { return (oi.Continues(m - 1, len[m - 1], m) && ...); }, o);
        if (merges) {
            len[m - 1] *= len0[d];
        } else {
            len[m++] = len0[d];
        }
    }
    if (m == 0) {  // a single element
        len[0] = 1;
        o0.tab[0] = 1;
        std::apply([](auto&... oi) { ((oi.tab[0] = 1), ...); }, o);
        m = 1;
    }
    std::apply([&](const auto&... oi) { g(o0.Range(m, len), oi.Range(m, len)...); }, o);
}

// Whether r meets no element twice: taken by increasing stride, every stride
// of a dimension longer than 1 exceeds the reach of the ones before it.
template <class E>
bool RepeatsNoElement(const StridedRange<E>& r) {
    long long steps[kMaxStorageOrderDims];
    long long lens[kMaxStorageOrderDims];
    if (r.Dims() > kMaxStorageOrderDims) return false;
    int k = 0;
    for (int d = 0; d < r.Dims(); ++d) {
        if (r.Lens()[d] <= 1) continue;
        const long long t = r.Tabs()[d] < 0 ? -static_cast<long long>(r.Tabs()[d]) : r.Tabs()[d];
        int at = k++;
        for (; at > 0 && steps[at - 1] > t; --at) {
            steps[at] = steps[at - 1];
            lens[at] = lens[at - 1];
        }
        steps[at] = t;
        lens[at] = r.Lens()[d];
    }
    long long reach = 0;
    for (int i = 0; i < k; ++i) {
        if (steps[i] <= reach) return false;
        reach += (lens[i] - 1) * steps[i];
    }
    return true;
}

// Whether the storage from the lowest to the highest element of a and that
// of b share no byte.
template <class A, class B>
bool SpansApart(const StridedRange<A>& a, const StridedRange<B>& b) {
    if (a.Count() == 0 || b.Count() == 0) return true;
    auto span = [](const auto& r, std::uintptr_t& lo, std::uintptr_t& hi) {
        const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(r.First());
        const std::uintptr_t size = sizeof(*r.First());
        lo = at - static_cast<std::uintptr_t>(-static_cast<long long>(r.LowerExtent())) * size;
        hi = at + static_cast<std::uintptr_t>(r.UpperExtent()) * size;  // one past the highest
    };
    std::uintptr_t alo, ahi, blo, bhi;
    span(a, alo, ahi);
    span(b, blo, bhi);
    return ahi <= blo || bhi <= alo;
}

}  // namespace qvDetail

#endif  // CQV_CORE_STRIDED_RANGE_INTERNAL_H
