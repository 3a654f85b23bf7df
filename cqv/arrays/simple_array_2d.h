// qvSimpleArray2D<T>: a rectangular grid stored row after row in one simple
// array.
//
// Element (y, x) is element y * GetLenX() + x of the flat array. The grid
// adds its two extents, access by row and column, resizing by extents and
// row windows that share its block. The members inherited from the simple
// array act on the flat sequence and leave the extents alone. A grid has no
// storage record.
//
// Allocation failure throws qvErrNoMemory, also for a grid whose element
// count exceeds the int range. "qvNewWithRef : n <= 0 " below ends in a
// blank.
//
// The instance exists for double only.
#ifndef CQV_ARRAYS_SIMPLE_ARRAY_2D_H
#define CQV_ARRAYS_SIMPLE_ARRAY_2D_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"

// A rectangular grid of ny rows of nx elements, row after row in the
// simple array it extends.
template <class T>
class qvSimpleArray2D : public qvSimpleArray<T> {
public:
    // An empty grid, both extents 0.
    qvSimpleArray2D() : lenX(0), lenY(0) {}
    // ny rows of nx uninitialised elements in a fresh block. Throws
    // BadParameters "qvNewWithRef : n <= 0 " when an extent is negative or
    // the grid would be empty.
    qvSimpleArray2D(int ny, int nx);
    // ny rows of nx copies of v in a fresh block. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when an extent is negative or the grid would
    // be empty.
    qvSimpleArray2D(int ny, int nx, const T& v);
    // A private copy of g's elements with g's extents.
    qvSimpleArray2D(const qvSimpleArray2D& g);
    // The simple array's assignment of the elements, then g's extents.
    qvSimpleArray2D& operator=(const qvSimpleArray2D& g);
    // Releases the held block.
    ~qvSimpleArray2D() override;

    // A fresh uninitialised block of ny rows of nx unless both extents are
    // already these (then contents and sharing stay). A zero extent gives an
    // empty grid. Throws BadParameters "qvNewWithRef : n <= 0 " when an
    // extent is negative.
    void Init(int ny, int nx);
    // Always a fresh uninitialised block of ny rows of nx; a zero extent
    // gives an empty grid. Throws BadParameters "qvNewWithRef : n <= 0 "
    // when an extent is negative.
    void Set(int ny, int nx);
    // A fresh block of ny rows of nx copies of v. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when an extent is negative or the grid would
    // be empty.
    void Set(int ny, int nx, const T& v);

    // Element (y, x), without range checks.
    T& operator()(int y, int x) { return this->data[y * lenX + x]; }
    const T& operator()(int y, int x) const { return this->data[y * lenX + x]; }

    // Number of columns.
    int GetLenX() const { return lenX; }
    int GetWidth() const { return lenX; }
    // Number of rows.
    int GetLenY() const { return lenY; }
    int GetHeight() const { return lenY; }
    // Number of elements, GetLenX() * GetLenY().
    int GetSize() const { return lenX * lenY; }

    // Makes line a window on row y: its GetLenX() elements in this grid's
    // block, which line then holds one more reference to. Throws
    // BadParameters "qvSimpleArray2D<T>::GetLine : out of range " (with the
    // trailing blank) when y is not a row of the grid.
    void GetLine(qvSimpleArray<T>& line, int y) const;

private:
    // Stores the extents and gives the grid a fresh block for them
    // (uninitialised, or empty when an extent is 0).
    void Reshape(int ny, int nx);

    int lenX;
    int lenY;
};

// The element types of the two-dimensional array, for the declarations here
// and the instances in simple_array_2d.cpp.
#define CQV_FOR_EACH_SIMPLE_ARRAY_2D_TYPE(X) X(double)
#define CQV_DECLARE_SIMPLE_ARRAY_2D(T) CQV_EXTERN_TEMPLATE(qvSimpleArray2D<T>)
CQV_FOR_EACH_SIMPLE_ARRAY_2D_TYPE(CQV_DECLARE_SIMPLE_ARRAY_2D)
#undef CQV_DECLARE_SIMPLE_ARRAY_2D

#endif  // CQV_ARRAYS_SIMPLE_ARRAY_2D_H
