// qvArrayNDAbs: the shape of an N-dimensional array, whatever its elements.
//
// A shape is the extent of every dimension (Range) and the stride of every
// dimension in elements (Tab): element (i_0, ..., i_{N-1}) lies at
// Σ_d i_d·tab[d] from element 0. Dimension 0 varies fastest; the strides the
// library makes itself are dense with dimension 0 fastest (MkTabFromRange).
// Strides may be zero or negative, which is how flipped views and repeated
// elements are seen without copying.
//
// From range and tab the shape keeps the quantities a walk over all elements
// needs (MakeAux): the step table forTab, what to add to the element pointer
// when the walk carries into dimension d after a line of dimension 0; the
// element count; the end offset; and whether the elements form one
// arithmetic progression of step tab[0] (IsCon), in which case a walk is a
// single flat run.
//
// The static helpers build tables of element offsets for neighbourhood work
// on arrays (direct neighbours, the whole surrounding cube, a box, the
// corners of a cell), and GetLineWithin clips a segment to a two-dimensional
// array.
//
// The typed array qvArrayND<T> derives from this class and holds the
// elements. Extents and strides whose products leave 32 bits wrap around;
// shapes that large cannot be allocated anyway. Allocation failure throws
// qvErrNoMemory.
#ifndef CQV_NDARRAY_ARRAY_ND_ABS_H
#define CQV_NDARRAY_ARRAY_ND_ABS_H

#include "cqv/arrays/array.h"
#include "cqv/core/export.h"
#include "cqv/core/parray.h"

template <class T>
class qvArrayND;

// The shape of an N-dimensional array, whatever its elements: the extent
// and the stride of every dimension.
class CQV_API qvArrayNDAbs : public qvPArray {
public:
    // A multi-index: the current index of every dimension, one int each. The
    // typed array's walk and its iterators step it like an odometer.
    class CQV_API Index : public qvArray<int> {
    public:
        // An empty index.
        Index();
        // A private copy of a's entries.
        Index(const Index& a);
        // Copies a's entries (into the present storage when the lengths agree).
        Index& operator=(const Index& a);
        // Releases the entries.
        ~Index() override;

    protected:
        // Becomes the first index of a's walk (atEnd false: all zeros) or the
        // last (atEnd true: range[d] - 1 in every dimension), one entry per
        // dimension of a (empty for a shape without dimensions); the storage
        // is reallocated only when the length changes. Returns 1 when a has
        // at least one element, else 0.
        int Set(const qvArrayNDAbs* a, bool atEnd);
        // One step of the line-wise odometer: index 0 returns to 0 and the
        // first dimension d >= 1 that does not wrap grows by one (the lower
        // ones return to 0). Returns that d, or 0 when every dimension
        // wrapped (at once for one dimension). range holds the extents.
        int Inc(const int* range);
        // One step back: index 0 becomes range[0] - 1 and the first
        // dimension d >= 1 that does not wrap below 0 falls by one (the lower
        // ones become range - 1). Returns that d, or 0 when every one wrapped.
        int Dec(const int* range);

        template <class T>
        friend class qvArrayND;
    };

    // No dimensions, no elements, contiguous.
    qvArrayNDAbs();
    // The given extents with the default dense strides. Throws BadParameters
    // "qvArrayNDAbs:MkTabFromRange:Array length is zero." for no extents.
    explicit qvArrayNDAbs(const qvArray<int>& range);
    // The given extents and strides (private copies). Throws BadParameters
    // "Different range" when range has entries and tab another number.
    qvArrayNDAbs(const qvArray<int>& range, const qvArray<int>& tab);
    // Private copies of a's tables and quantities; the block pointer is
    // copied as it is (the typed array accounts for its references).
    qvArrayNDAbs(const qvArrayNDAbs& a);
    // Copies a's tables and quantities into this shape's own; the block
    // pointer is copied as it is.
    qvArrayNDAbs& operator=(const qvArrayNDAbs& a);
    // Releases the tables.
    ~qvArrayNDAbs() override;

    // 1 + Σ_d max(0, (range[d] - 1)·tab[d]): the extent in elements from
    // element 0 upwards. Throws BadParameters "Array length is zero." without
    // dimensions.
    int PositiveLength() const override;
    // Σ_d min(0, (range[d] - 1)·tab[d]): the extent below element 0 (zero or
    // negative). Throws BadParameters "Array length is zero." without
    // dimensions.
    int NegativeLength() const override;
    // The size of the shape's record: the dimension count (int32), then the
    // extents (int32 each); strides are not stored.
    int MemSize() const override;
    // Writes the shape's record at p; returns its size.
    int ToMem(unsigned char* p) const override;
    // Reads a shape record and hands its extents to Init; returns the bytes
    // read. Throws BadParameters "qvNewWithRef : n <= 0 " for a negative
    // count, and whatever Init throws. Trusts the count: for untrusted bytes
    // use FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // Reads the record of a typed array (the shape record followed by the
    // elements, GetSizeOfType() bytes each) from untrusted bytes through the
    // virtual FromMem(p), after checking it within p + available: throws
    // BadParameters "Record is longer than the bytes available" when the
    // record claims more than available bytes, and as RecordSize, before
    // anything changes; then throws what FromMem(p) throws. Not virtual.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p of a typed array whose elements take
    // elementSize bytes, where the record may be read up to p + available.
    // An array read back has as many elements as the product of the
    // extents, none when there are no dimensions or an extent is below 1.
    // Throws BadParameters "qvNewWithRef : n <= 0 " for a negative
    // dimension count, "Record size does not fit in 32 bits" when the
    // record would be 2 GiB or more, and
    // "Record is longer than the bytes available".
    static int RecordSize(const unsigned char* p, int available, int elementSize);

    // Takes the extents of range with the default dense strides. Throws
    // BadParameters "qvArrayNDAbs:MkTabFromRange:Array length is zero." for
    // no extents (nothing changes then).
    virtual void Set(const qvArray<int>& range);
    // Gives the object the extents of range; the typed array allocates.
    virtual void Init(const qvArray<int>& range) = 0;
    // A new empty object of the same class; null here.
    virtual qvArrayNDAbs* New() const;
    // 1: this is an N-dimensional array.
    virtual int IsArrayND() const;
    // The hooks below serve picture and segmentation classes built on
    // N-dimensional arrays outside this library; their defaults are their
    // whole behaviour here.

    // Whether this is such a picture: false here.
    virtual bool IsInheritFromPictureND() const;
    // Whether this is a segmentation: 0 here.
    virtual int IsSegm() const;
    // The segmentation that goes with the picture: null here.
    virtual qvArrayNDAbs* GetSegm() const;
    // The current mask: -1 here.
    virtual int GetCurMask() const;
    // Sets the current mask: nothing here.
    virtual void SetCurMask(int mask);
    // The mask test of such classes: true here.
    virtual bool IsEqualCurMask(const void* p, int mask) const;
    // Reverses dimension axis in place (a view; nothing moves).
    virtual void Flip(int axis) = 0;
    // Exchanges dimensions a and b in place (a view; nothing moves).
    virtual void SwapAxis(int a, int b) = 0;

    // Takes the given extents and strides. Throws BadParameters "Different
    // range" when range has entries and tab another number (nothing changes
    // then).
    void Set(const qvArray<int>& range, const qvArray<int>& tab);
    // The extents for editing in place; AfterModifyRange must follow.
    qvArray<int>& ModifyRange();
    // Recomputes the derived quantities after the extents were edited
    // through ModifyRange. Throws BadParameters "Different range" when the
    // edited extents no longer match the strides.
    void AfterModifyRange();

    // Number of dimensions.
    CQV_INLINE int GetDim() const { return range.Len(); }
    // The extent of every dimension.
    CQV_INLINE const qvArray<int>& Range() const { return range; }
    // The stride of every dimension, in elements.
    CQV_INLINE const qvArray<int>& Tab() const { return tab; }
    // The walk's step table (see MakeForTab), one entry per dimension.
    CQV_INLINE const qvArray<int>& GetForTab() const { return forTab; }
    // Number of elements: the product of the extents (0 without dimensions).
    CQV_INLINE int GetSize() const { return size; }
    // Offset from element 0, in elements, one stride of dimension 0 past the
    // last element of the walk.
    CQV_INLINE int GetEndPos() const { return endPos; }
    // Whether the elements form one run of step tab[0].
    CQV_INLINE bool IsCon() const { return isCon; }

    // The dense strides of range: tab[0] = firstTab, tab[d] =
    // range[d - 1]·tab[d - 1]. Throws BadParameters
    // "qvArrayNDAbs:MkTabFromRange:Array length is zero." for no extents.
    static qvArray<int> MkTabFromRange(const qvArray<int>& range, int firstTab);
    // The walk's step table of a shape: forTab[0] = tab[0], forTab[1] =
    // tab[1] - range[0]·tab[0], forTab[d] = forTab[d - 1] -
    // range[d - 1]·tab[d - 1] + tab[d]: what takes a pointer that has just
    // passed the end of a line of dimension 0 to the start of the next line
    // when the walk carries into dimension d. One entry per extent; throws
    // BadParameters "Different range" when tab has fewer entries than range.
    static qvArray<int> MakeForTab(const qvArray<int>& range, const qvArray<int>& tab);

    // The 2·N offsets of the direct neighbours of a cell: +tab[d], then
    // -tab[d], for d = 0 to N - 1 (N the length of tab; empty for none).
    static void MkTabFor4Link(const qvArray<int>& tab, qvArray<int>& out);
    // The offsets Σ_d (i_d - 1)·tab[d] of the cells of the 3 × ... × 3 cube
    // around a cell, i_0 fastest, leaving out every offset equal to 0: the
    // 3^N - 1 neighbours of the cell whenever only the centre sits at offset
    // 0 (strides that let another cell of the cube coincide with the centre
    // give fewer entries). Throws BadParameters "Array length is zero." for
    // an empty tab.
    static void MkTabFor8Link(const qvArray<int>& tab, qvArray<int>& out);
    // The offsets Σ_d i_d·tab[d] of the cells 0 <= i_d < range[d] of a box,
    // i_0 fastest, starting with 0. Throws BadParameters "Array length is
    // zero." for an empty range, "Different range" when tab has another
    // number of entries, and "qvNewWithRef : n <= 0 " when an extent is
    // below 1.
    static void MkTabForAp(const qvArray<int>& tab, const qvArray<int>& range, qvArray<int>& out);
    // The 2^N corners of a cell: MkTabForAp with an extent of 2 in every
    // dimension. Throws BadParameters "qvNewWithRef : n <= 0 " for an empty
    // tab.
    static void MkTabForVertexLink(const qvArray<int>& tab, qvArray<int>& out);
    // The neighbours a forward pass has already visited: the entries of
    // MkTabFor8Link's table that come from cells before the centre in walk
    // order (dimension 0 fastest), (3^N - 1) / 2 of them for strides that
    // keep neighbours apart. A recursive two-pass filter (a distance
    // transform, a labelling) reads these in its forward pass and their
    // negations in its backward pass. Throws BadParameters "Array length is
    // zero." for an empty tab.
    static void Rcurs2(const qvArray<int>& tab, qvArray<int>& out);
    // In every builder above out is reallocated only when its length changes.

    // Clips the segment p1-p2 (integer x, y: index 0, index 1) to the box
    // 0 <= x < range[0], 0 <= y < range[1] by Cohen-Sutherland clipping with
    // the slope taken once from the given points, the end points moved at
    // most five times. Returns 1 with the clipped end points in p1 and p2
    // (in their original roles), or 0 when the segment misses the box (p1
    // and p2 then hold whatever the clipping reached, possibly exchanged).
    // Throws BadParameters "Dimension must equal 2 in GetLine." unless p1,
    // p2 and this shape all have two dimensions (nothing changes then).
    int GetLineWithin(qvArray<int>& p1, qvArray<int>& p2) const;

    // SwapAxis(a, b), then Flip(b): a quarter turn in the plane of a and b.
    // Throws what those throw (the typed array: BadParameters "out of range
    // of dimension" when an axis is outside the dimensions).
    void Rotate90(int a, int b);
    // Flip(a), then Flip(b): a half turn in the plane of a and b. Throws as
    // Rotate90.
    void Rotate180(int a, int b);

protected:
    // Recomputes forTab, endPos, size and isCon from range and tab. Throws
    // BadParameters "Different range" when range has entries and tab
    // another number.
    void MakeAux();
    // Recomputes endPos, size and isCon from range, tab and forTab; allocates
    // nothing.
    void DeriveWalk();

    qvArray<int> range;   // extent of every dimension
    qvArray<int> tab;     // stride of every dimension, in elements
    qvArray<int> forTab;  // the walk's step table
    int endPos;           // one stride of dimension 0 past the last element
    int size;             // number of elements
    bool isCon;           // the elements form one run of step tab[0]
};

#endif  // CQV_NDARRAY_ARRAY_ND_ABS_H
