// Member definitions of qvSimpleArray2D<T>; included only by the library's
// sources that instantiate it. Not installed.
#ifndef CQV_ARRAYS_SIMPLE_ARRAY_2D_IMPL_H
#define CQV_ARRAYS_SIMPLE_ARRAY_2D_IMPL_H

#include <climits>
#include <cstdint>

#include "cqv/arrays/simple_array_2d.h"
#include "cqv/arrays/simple_array_impl.h"
#include "cqv/core/exceptions.h"
#include "cqv/arrays/messages.h"

namespace qvDetail {

// The element count of a grid of ny rows of nx. A negative extent, or an
// empty grid unless allowEmpty, throws; a count beyond int cannot be
// allocated.
inline int GridSize(int ny, int nx, bool allowEmpty) {
    if (ny < 0 || nx < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    const std::int64_t n = static_cast<std::int64_t>(ny) * nx;
    if (n == 0 && !allowEmpty) throw BadParameters(qvMsg::NewWithRefNonPositive);
    if (n > INT_MAX) throw qvErrNoMemory(UINT_MAX);
    return static_cast<int>(n);
}

}  // namespace qvDetail

template <class T>
qvSimpleArray2D<T>::qvSimpleArray2D(int ny, int nx)
    : qvSimpleArray<T>(qvDetail::GridSize(ny, nx, false)), lenX(nx), lenY(ny) {}

template <class T>
qvSimpleArray2D<T>::qvSimpleArray2D(int ny, int nx, const T& v)
    : qvSimpleArray<T>(qvDetail::GridSize(ny, nx, false), v), lenX(nx), lenY(ny) {}

template <class T>
qvSimpleArray2D<T>::qvSimpleArray2D(const qvSimpleArray2D& g) : qvSimpleArray<T>(g), lenX(g.lenX), lenY(g.lenY) {}

template <class T>
qvSimpleArray2D<T>& qvSimpleArray2D<T>::operator=(const qvSimpleArray2D& g) {
    const int nx = g.lenX;
    const int ny = g.lenY;
    // Should the new block fail, the old one is gone already: the grid is
    // left empty with both extents 0.
    lenX = lenY = 0;
    qvSimpleArray<T>::operator=(g);
    lenX = nx;
    lenY = ny;
    return *this;
}

template <class T>
qvSimpleArray2D<T>::~qvSimpleArray2D() = default;

template <class T>
void qvSimpleArray2D<T>::Init(int ny, int nx) {
    if (ny == lenY && nx == lenX) return;
    Reshape(ny, nx);
}

template <class T>
void qvSimpleArray2D<T>::Set(int ny, int nx) {
    Reshape(ny, nx);
}

template <class T>
void qvSimpleArray2D<T>::Set(int ny, int nx, const T& v) {
    const T value(v);  // v may be an element of this grid
    Release();
    qvSimpleArray<T>::Set(qvDetail::GridSize(ny, nx, false), value);
    lenX = nx;
    lenY = ny;
}

template <class T>
void qvSimpleArray2D<T>::Reshape(int ny, int nx) {
    Release();
    qvSimpleArray<T>::Set(qvDetail::GridSize(ny, nx, true));
    lenX = nx;
    lenY = ny;
}

template <class T>
void qvSimpleArray2D<T>::Release() {
    // The block goes before the extents are checked and the new block is
    // made; should either fail, the grid is left empty with both extents 0.
    lenX = lenY = 0;
    this->Clear();
}

template <class T>
void qvSimpleArray2D<T>::GetLine(qvSimpleArray<T>& line, int y) const {
    if (y < 0 || y >= lenY) throw BadParameters(qvMsg::SimpleArray2DGetLineOutOfRange);
    line.SetSubWindow(*this, y * lenX, lenX);
}

#endif  // CQV_ARRAYS_SIMPLE_ARRAY_2D_IMPL_H
