// Builders and an independent model of N-dimensional views for the
// N-dimensional array tests.
//
// The model knows nothing of strides or step tables: a view is its list of
// extents and, for each of its elements in walk order (dimension 0 fastest,
// decoded from a running count), the offset of the source element it shows.
// Every view operation rewrites that list by plain index arithmetic.
#ifndef CQV_TESTS_NDARRAY_ND_TEST_SUPPORT_H
#define CQV_TESTS_NDARRAY_ND_TEST_SUPPORT_H

#include <initializer_list>
#include <random>
#include <vector>

#include <cqv/cqv.h>

namespace ndtest {

using Ints = std::vector<int>;

inline qvArray<int> A(const Ints& xs) {
    qvArray<int> a;
    a.Init(static_cast<int>(xs.size()));
    for (int i = 0; i < a.Len(); ++i) a[i] = xs[static_cast<std::size_t>(i)];
    return a;
}

inline Ints Items(const qvArray<int>& a) { return Ints(a.begin(), a.end()); }

inline int Count(const Ints& range) {
    int n = range.empty() ? 0 : 1;
    for (int r : range) n *= r;
    return n;
}

// Multi-index number k of range, dimension 0 fastest.
inline Ints Decode(int k, const Ints& range) {
    Ints idx(range.size());
    for (std::size_t d = 0; d < range.size(); ++d) {
        idx[d] = k % range[d];
        k /= range[d];
    }
    return idx;
}

// The number of multi-index idx of range.
inline int Encode(const Ints& idx, const Ints& range) {
    int k = 0;
    for (std::size_t d = range.size(); d-- > 0;) k = k * range[d] + idx[d];
    return k;
}

// Σ idx[d]·tab[d].
inline int Dot(const Ints& idx, const Ints& tab) {
    int s = 0;
    for (std::size_t d = 0; d < idx.size(); ++d) s += idx[d] * tab[d];
    return s;
}

// A view as the model sees it: its extents and the source offset of each of
// its elements in walk order.
struct Model {
    Ints range;
    Ints at;

    // A view of the given extents and strides from source offset origin.
    static Model Strided(const Ints& range, const Ints& tab, int origin) {
        Model m{range, {}};
        for (int k = 0; k < Count(range); ++k) m.at.push_back(origin + Dot(Decode(k, range), tab));
        return m;
    }
    // Rebuilt over new extents, element idx taken from old element src(idx).
    template <class F>
    Model Remap(const Ints& newRange, F src) const {
        Model m{newRange, {}};
        for (int k = 0; k < Count(newRange); ++k) m.at.push_back(at[static_cast<std::size_t>(Encode(src(Decode(k, newRange)), range))]);
        return m;
    }
    Model Flip(int axis) const {
        return Remap(range, [&](Ints i) {
            i[static_cast<std::size_t>(axis)] = range[static_cast<std::size_t>(axis)] - 1 - i[static_cast<std::size_t>(axis)];
            return i;
        });
    }
    Model Swap(int a, int b) const {
        Ints r = range;
        std::swap(r[static_cast<std::size_t>(a)], r[static_cast<std::size_t>(b)]);
        return Remap(r, [&](Ints i) {
            std::swap(i[static_cast<std::size_t>(a)], i[static_cast<std::size_t>(b)]);
            return i;
        });
    }
    Model Slice(int axis, int index) const {
        Ints r = range;
        r.erase(r.begin() + axis);
        return Remap(r, [&](Ints i) {
            i.insert(i.begin() + axis, index);
            return i;
        });
    }
    Model Box(const Ints& origin, const Ints& r) const {
        return Remap(r, [&](Ints i) {
            for (std::size_t d = 0; d < i.size(); ++d) i[d] += origin[d];
            return i;
        });
    }
};

// Extents of 1 to maxDim dimensions, each 1 to maxExtent.
inline Ints RandomRange(std::mt19937& g, int minDim, int maxDim, int maxExtent) {
    Ints r(static_cast<std::size_t>(std::uniform_int_distribution<int>(minDim, maxDim)(g)));
    for (int& x : r) x = std::uniform_int_distribution<int>(1, maxExtent)(g);
    return r;
}

// A dense array of the given extents whose element k (in walk order) is
// k + 1.
template <class T>
qvArrayND<T> Numbered(const Ints& range) {
    qvArrayND<T> a(A(range));
    for (int k = 0; k < a.size(); ++k) a.GetPointer()[k] = static_cast<T>(k + 1);
    return a;
}

}  // namespace ndtest

#endif  // CQV_TESTS_NDARRAY_ND_TEST_SUPPORT_H
