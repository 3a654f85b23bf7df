// Builders and an independent model of N-dimensional views for the
// N-dimensional array tests.
//
// The model knows nothing of strides or step tables: a view is its extents
// and, for each of its elements in walk order (dimension 0 fastest, decoded
// from a running count), the offset of the source element it shows. Every
// view operation rewrites that list by plain index arithmetic.
#ifndef CQV_TESTS_NDARRAY_ND_TEST_SUPPORT_H
#define CQV_TESTS_NDARRAY_ND_TEST_SUPPORT_H

#include <random>
#include <utility>
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

// Multi-index number k of range, dimension 0 fastest, and back.
inline Ints Decode(int k, const Ints& range) {
    Ints idx;
    for (int r : range) {
        idx.push_back(k % r);
        k /= r;
    }
    return idx;
}
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

// A view as the model sees it.
struct Model {
    Ints range;
    Ints at;  // source offset of each element, in walk order

    static Model Strided(const Ints& range, const Ints& tab, int origin) {
        Model m{range, {}};
        for (int k = 0; k < Count(range); ++k) m.at.push_back(origin + Dot(Decode(k, range), tab));
        return m;
    }
    // New extents, element idx taken from this view's element src(idx).
    template <class F>
    Model Remap(const Ints& newRange, F src) const {
        Model m{newRange, {}};
        for (int k = 0; k < Count(newRange); ++k)
            m.at.push_back(at[static_cast<std::size_t>(Encode(src(Decode(k, newRange)), range))]);
        return m;
    }
    Model Flip(std::size_t axis) const {
        return Remap(range, [&](Ints i) {
            i[axis] = range[axis] - 1 - i[axis];
            return i;
        });
    }
    Model Swap(std::size_t a, std::size_t b) const {
        Ints r = range;
        std::swap(r[a], r[b]);
        return Remap(r, [&](Ints i) {
            std::swap(i[a], i[b]);
            return i;
        });
    }
    Model Slice(std::size_t axis, int index) const {
        Ints r = range;
        r.erase(r.begin() + static_cast<long>(axis));
        return Remap(r, [&](Ints i) {
            i.insert(i.begin() + static_cast<long>(axis), index);
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

// minDim to maxDim extents, each 1 to maxExtent.
inline Ints RandomRange(std::mt19937& g, int minDim, int maxDim, int maxExtent) {
    Ints r(static_cast<std::size_t>(std::uniform_int_distribution<int>(minDim, maxDim)(g)));
    for (int& x : r) x = std::uniform_int_distribution<int>(1, maxExtent)(g);
    return r;
}

// A random box inside range: its origin and extents.
inline std::pair<Ints, Ints> RandomBox(std::mt19937& g, const Ints& range) {
    Ints origin, box;
    for (int r : range) {
        origin.push_back(std::uniform_int_distribution<int>(0, r - 1)(g));
        box.push_back(std::uniform_int_distribution<int>(1, r - origin.back())(g));
    }
    return {origin, box};
}

// A dense array whose element k (in walk order) is k + 1.
template <class T>
qvArrayND<T> Numbered(const Ints& range) {
    qvArrayND<T> a(A(range));
    for (int k = 0; k < a.size(); ++k) a.GetPointer()[k] = static_cast<T>(k + 1);
    return a;
}

template <class T>
std::vector<T> Walked(const qvArrayND<T>& a) {
    return std::vector<T>(a.begin(), a.end());
}

}  // namespace ndtest

#endif  // CQV_TESTS_NDARRAY_ND_TEST_SUPPORT_H
