// The multi-index stepping and the 32-bit shape arithmetic of the
// N-dimensional arrays; library-private.
#ifndef CQV_NDARRAY_ODOMETER_INTERNAL_H
#define CQV_NDARRAY_ODOMETER_INTERNAL_H

namespace qvDetail {

// Products and sums of extents and strides, modulo 2^32: shapes too large
// for 32 bits wrap instead of overflowing (they cannot be allocated anyway).
inline int WrapMul(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) * static_cast<unsigned>(b)); }
inline int WrapAdd(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); }
inline int WrapSub(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b)); }

// One step of the line-wise odometer over dim dimensions: index[0] returns
// to 0, and the first dimension d >= 1 that does not wrap grows by one, the
// ones below it returning to 0. Returns that d, or 0 when every dimension
// wrapped (the index is all zeros again).
inline int OdometerInc(int* index, const int* range, int dim) {
    if (dim == 0) return 0;
    index[0] = 0;
    for (int d = 1; d < dim; ++d) {
        if (++index[d] < range[d]) return d;
        index[d] = 0;
    }
    return 0;
}

// One step back: index[0] becomes range[0] - 1, and the first dimension
// d >= 1 that does not wrap falls by one, the ones below it becoming their
// extent - 1. Returns that d, or 0 when every dimension wrapped.
inline int OdometerDec(int* index, const int* range, int dim) {
    if (dim == 0) return 0;
    index[0] = range[0] - 1;
    for (int d = 1; d < dim; ++d) {
        if (--index[d] >= 0) return d;
        index[d] = range[d] - 1;
    }
    return 0;
}

}  // namespace qvDetail

#endif  // CQV_NDARRAY_ODOMETER_INTERNAL_H
