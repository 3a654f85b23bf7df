// The element arithmetic and the selection the arithmetic array and the
// N-dimensional array share; library-private.
#ifndef CQV_ARRAYS_ARRAY_KERNELS_INTERNAL_H
#define CQV_ARRAYS_ARRAY_KERNELS_INTERNAL_H

#include <algorithm>
#include <type_traits>

namespace qvDetail {

// Arithmetic of one element type. Integer elements wrap modulo their width:
// the operands are widened to unsigned int, where overflow is defined, and
// the result is narrowed back (modulo the width on every compiler the library
// builds with), so neither the promotion of short operands to int nor the
// overflow of int itself can go undefined.
template <class T>
struct ElementArith {
    static constexpr bool kWraps = std::is_integral<T>::value;
    using Wide = unsigned int;
    static_assert(!kWraps || sizeof(T) <= sizeof(Wide), "integer elements are at most 32 bits wide");

    static T Add(const T& a, const T& b) {
        if constexpr (kWraps) {
            return static_cast<T>(static_cast<Wide>(a) + static_cast<Wide>(b));
        } else {
            return a + b;
        }
    }
    static T Sub(const T& a, const T& b) {
        if constexpr (kWraps) {
            return static_cast<T>(static_cast<Wide>(a) - static_cast<Wide>(b));
        } else {
            return a - b;
        }
    }
    static T Mul(const T& a, const T& b) {
        if constexpr (kWraps) {
            return static_cast<T>(static_cast<Wide>(a) * static_cast<Wide>(b));
        } else {
            return a * b;
        }
    }
    // Division by zero is the caller's to avoid. The one overflowing
    // quotient, the least int divided by -1, wraps to itself.
    static T Div(const T& a, const T& b) {
        if constexpr (kWraps && std::is_signed<T>::value && sizeof(T) == sizeof(int)) {
            if (b == -1) return static_cast<T>(Wide(0) - static_cast<Wide>(a));
        }
        return static_cast<T>(a / b);
    }
};

// The element-wise operations as function objects for the loops below.
struct AddOp {
    template <class T>
    T operator()(const T& a, const T& b) const { return ElementArith<T>::Add(a, b); }
};
struct SubOp {
    template <class T>
    T operator()(const T& a, const T& b) const { return ElementArith<T>::Sub(a, b); }
};
struct MulOp {
    template <class T>
    T operator()(const T& a, const T& b) const { return ElementArith<T>::Mul(a, b); }
};
struct DivOp {
    template <class T>
    T operator()(const T& a, const T& b) const { return ElementArith<T>::Div(a, b); }
};

// Exchanges two elements.
template <class T>
inline void SwapElements(T& a, T& b) {
    const T w = a;
    a = b;
    b = w;
}

// The stoppers one scan of ExchangeStoppersInBlocks found in its latest
// block: the offsets, counted in the scan's direction from the block's first
// element, of the elements where the scan would stop.
struct BlockStoppers {
    static constexpr int kBlock = 64;
    int step;  // +1 for the scan from the left, -1 from the right
    int base = 0, used = 0, found = 0;
    unsigned char offset[kBlock];

    explicit BlockStoppers(int s) : step(s) {}
    // Records the stoppers among the kBlock elements from a[first] on.
    template <class T, class Stops>
    void Scan(const T* a, int first, Stops stops) {
        base = first;
        used = found = 0;
        for (int p = 0; p < kBlock; ++p) {
            offset[found] = static_cast<unsigned char>(p);
            found += stops(a[first + step * p]) ? 1 : 0;
        }
    }
    // Index of stopper t of the block.
    int At(int t) const { return base + step * offset[t]; }
};

// The opening exchanges of one partition pass of HoareFind over a[i..j]
// around x, done block by block without a branch per comparison.
//
// The pass exchanges, in order, the t-th element from the left that is not
// less than x with the t-th element from the right that is not greater, for
// as long as the first lies left of the second. Which elements those are
// depends only on the elements the scans pass over, and an exchange only
// touches elements both scans have already passed, so the stoppers can be
// collected ahead: blocks from either end of the part not yet scanned, each
// comparison adding one offset to a list. Matched pairs are exchanged exactly
// as the scans would exchange them. When the part not yet scanned is too
// small for another block, i and j are left just inside the last exchanged
// pair, which is the state the plain pass would be in after the same
// exchanges, and the plain pass takes over from there.
template <class T>
void ExchangeStoppersInBlocks(T* a, const T& x, int& i, int& j) {
    constexpr int kBlock = BlockStoppers::kBlock;
    BlockStoppers left(1), right(-1);
    int l = i, r = j;  // a[l..r] is not scanned yet
    for (;;) {
        if (left.used == left.found) {
            if (r - l + 1 < kBlock) return;
            left.Scan(a, l, [&x](const T& e) { return !(e < x); });
            l += kBlock;
        }
        if (right.used == right.found) {
            if (r - l + 1 < kBlock) return;
            right.Scan(a, r, [&x](const T& e) { return !(x < e); });
            r -= kBlock;
        }
        const int m = std::min(left.found - left.used, right.found - right.used);
        if (m == 0) continue;
        for (int t = 0; t < m; ++t) SwapElements(a[left.At(left.used + t)], a[right.At(right.used + t)]);
        left.used += m;
        right.used += m;
        i = left.At(left.used - 1) + 1;
        j = right.At(right.used - 1) - 1;
    }
}

// Hoare's selection (FIND) of position k among a[0..n): partition around the
// present element k, scanning from the left for an element not less than it
// and from the right for one not greater, exchanging the two, until the scans
// cross; then keep the side that holds k and repeat. Leaves no element before
// k greater than a[k] and none after it less. Each scan is stopped by an
// element the previous exchange left behind, so no bound checks are needed,
// whatever the relation (NaNs and partial orders included). For numbers, the
// bulk of each pass runs in blocks (above) with the same outcome.
template <class T>
void HoareFind(T* a, int n, int k) {
    int lo = 0;
    int hi = n - 1;
    while (lo < hi) {
        const T x = a[k];
        int i = lo;
        int j = hi;
        if constexpr (std::is_arithmetic<T>::value) ExchangeStoppersInBlocks(a, x, i, j);
        while (i <= j) {
            while (a[i] < x) ++i;
            while (x < a[j]) --j;
            if (i <= j) {
                SwapElements(a[i], a[j]);
                ++i;
                --j;
            }
        }
        if (j < k) lo = i;
        if (k < i) hi = j;
    }
}

}  // namespace qvDetail

#endif  // CQV_ARRAYS_ARRAY_KERNELS_INTERNAL_H
