// qvArrayND<T>: the N-dimensional array of numbers.
//
// The shape machinery of qvArrayNDAbs plus a pointer to element (0, ..., 0)
// and a counted block that holds the elements: element (i_0, ..., i_{N-1})
// lies at GetPointer() + Σ_d i_d·tab[d]. Because every dimension has its own
// stride, one block can be seen through many arrays at once: a sub-box
// (SetSubWindow), a slice of one dimension less (ReduceDimArrayND), a flipped
// or axis-swapped view (Flip, SwapAxis). Such views copy nothing: they hold
// one more reference to the block, so a write through a view is seen by the
// source and by every other holder, and a view stays valid after its source
// is destroyed. Arrays the library allocates are dense, dimension 0 fastest.
// Copy construction, unlike for vectors and matrices, makes a private dense
// copy; Copy() makes shared storage private on request.
//
// Whole-array operations (assignment, Fill, arithmetic, comparison, Min,
// Max, Median, the record) visit the elements in walk order, dimension 0
// fastest, one pointer stepping by the strides; two operands are walked in
// step, each with its own strides, so they may have different layouts as
// long as their extents agree. Integer arithmetic wraps as the element type
// does; integer division by zero is the caller's to avoid.
//
// The record is the dimension count (int32), the extents (int32 each) and
// the elements in walk order as little-endian images; strides are not
// stored, so an array read back is dense.
//
// Instances exist for unsigned char, short, unsigned short, int, unsigned
// int, float and double. Allocation failure throws qvErrNoMemory.
#ifndef CQV_NDARRAY_ARRAY_ND_H
#define CQV_NDARRAY_ARRAY_ND_H

#include <cstddef>
#include <iterator>
#include <type_traits>

#include "cqv/arrays/array.h"
#include "cqv/core/export.h"
#include "cqv/ndarray/array_nd_abs.h"
#include "cqv/ndarray/round_array_nd.h"

// The element types of the N-dimensional array, for the extern declarations
// below and the instances inside the library.
#define CQV_FOR_EACH_ARRAYND_TYPE(X) \
    X(unsigned char) X(short int) X(unsigned short int) X(int) X(unsigned int) X(float) X(double)

// An N-dimensional array of numbers: a shape, a pointer to element
// (0, ..., 0) and the counted block that holds the elements.
template <class T>
class qvArrayND : public qvArrayNDAbs {
public:
    // A position in the walk: the multi-index of the element (kept only for
    // arrays that are not contiguous), the element pointer, the stride of
    // dimension 0, the array's extents and step table, and the count of
    // elements passed. Iterators compare by that count, so the walk of an
    // array with zero or overlapping strides also ends after every element.
    template <class R>
    class basic_iterator : public qvArrayNDAbs::Index {
    public:
        // A forward iterator.
        using iterator_category = std::forward_iterator_tag;
        // The element type.
        using value_type = typename std::remove_const<R>::type;
        // The difference of two positions.
        using difference_type = std::ptrdiff_t;
        // A pointer to an element.
        using pointer = R*;
        // A reference to an element.
        using reference = R&;

        // A null position, equal to no other but another null one.
        basic_iterator() : p(nullptr), step(0), extents(nullptr), steps(nullptr), con(true), passed(0) {}
        // A const iterator from a mutable one.
        template <class S>
        basic_iterator(const basic_iterator<S>& it)
            : qvArrayNDAbs::Index(it), p(it.p), step(it.step), extents(it.extents), steps(it.steps), con(it.con),
              passed(it.passed) {}
        // The element at the position.
        R& operator*() const { return *p; }
        R* operator->() const { return p; }
        // The next element of the walk: one stride of dimension 0, and on the
        // end of a line the step into the next one.
        basic_iterator& operator++() {
            p += step;
            ++passed;
            if (!con && ++data[0] == extents[0]) {
                const int k = Inc(extents);
                if (k != 0) p += steps[k];
            }
            return *this;
        }
        // The next element of the walk; returns the former position.
        basic_iterator operator++(int) {
            basic_iterator t = *this;
            ++*this;
            return t;
        }
        // Equal when as many elements were passed; != is the negation.
        bool operator==(const basic_iterator& o) const { return passed == o.passed; }
        bool operator!=(const basic_iterator& o) const { return passed != o.passed; }
        // The element pointer (Pointer() is the index's own storage, as for
        // every array).
        R* ElementPointer() const { return p; }
        // The multi-index of the element (empty for a contiguous array).
        const qvArrayNDAbs::Index& GetIndex() const { return *this; }

    private:
        friend class qvArrayND;
        template <class S>
        friend class basic_iterator;
        // At the first element of a's walk, or one past its last (atEnd).
        basic_iterator(const qvArrayND& a, bool atEnd)
            : p(a.data), step(a.GetDim() > 0 ? a.tab[0] : 0), extents(a.range.GetPointer()),
              steps(a.forTab.GetPointer()), con(a.isCon), passed(atEnd ? a.ElementCount() : 0) {
            if (atEnd) p = a.data + a.endPos;
            if (!con) Set(&a, atEnd);
        }

        R* p;
        int step;
        const int* extents;
        const int* steps;
        bool con;
        int passed;
    };

    // The iterators over mutable and over read-only elements.
    using iterator = basic_iterator<T>;
    using const_iterator = basic_iterator<const T>;

    // An empty array: no dimensions, no elements.
    qvArrayND();
    // A fresh dense block of Π range elements, uninitialised. Throws
    // BadParameters "Array length is zero." for no extents and "qvNewWithRef
    // : n <= 0 " when an extent is below 1.
    explicit qvArrayND(const qvArray<int>& range);
    // A private dense copy of a's elements (a view is copied as it is seen).
    // An empty a gives an empty array; a view with an extent of 0 throws
    // BadParameters "qvNewWithRef : n <= 0 ".
    qvArrayND(const qvArrayND& a);
    // Init(a.Range()), then a's elements are copied in walk order, each side
    // through its own strides: with equal extents nothing is reallocated and
    // the elements are written into the present storage (through a view into
    // its source). Throws BadParameters "Array length is zero." when a has no
    // dimensions and this array has some, and "qvNewWithRef : n <= 0 " when
    // a has an extent below 1 that this array does not share.
    qvArrayND& operator=(const qvArrayND& a);
    // Releases the held block.
    ~qvArrayND() override;

    // Element (0, ..., 0).
    CQV_INLINE void* Pointer() const override { return data; }
    // Size of one element in bytes.
    CQV_INLINE int GetSizeOfType() const override { return static_cast<int>(sizeof(T)); }
    // When the storage is shared or external, replaces it by a private dense
    // copy of the elements; otherwise nothing. A view with an extent of 0
    // just lets go of its block.
    void Copy() override;
    // The size of the record: 4 + 4·N + (number of elements)·sizeof(T).
    // MemSize and ToMem throw BadParameters "Record size does not fit in 32
    // bits" when the record would be 2 GiB or more (ToMem before writing
    // anything).
    int MemSize() const override;
    // Writes the record at p; returns its size.
    int ToMem(unsigned char* p) const override;
    // Reads a record: Init with its extents (so equal extents write into the
    // present storage), then the elements in walk order; returns the bytes
    // read. Throws BadParameters "qvNewWithRef : n <= 0 " for a negative
    // count or an extent below 1, "Record size does not fit in 32 bits"
    // when the record would be 2 GiB or more, and "Array length is zero."
    // for a record without dimensions read into an array that has some, all
    // before anything changes. Trusts the counts: for untrusted bytes use
    // FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, before anything changes.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as qvArrayNDAbs::RecordSize with the element size sizeof(T).
    static int RecordSize(const unsigned char* p, int available);

    // Releases the block and takes a fresh dense block of range's shape.
    // Throws BadParameters "Array length is zero." for no extents and
    // "qvNewWithRef : n <= 0 " when an extent is below 1; nothing changes
    // then.
    void Set(const qvArray<int>& range) override;
    // Nothing when range equals the present extents value for value;
    // otherwise Set(range), with its checks.
    void Init(const qvArray<int>& range) override;
    // A new empty array of this type (from the library allocator).
    qvArrayNDAbs* New() const override;
    // Reverses dimension axis: its stride is negated and element 0 moves to
    // the former last element along it. Shares the block. Throws
    // BadParameters "out of range of dimension" for an axis outside the
    // dimensions.
    void Flip(int axis) override;
    // Exchanges the extents and strides of dimensions a and b: element
    // (.., i, .., j, ..) of the view is element (.., j, .., i, ..) before.
    // Shares the block. Throws BadParameters "out of range of dimension" for
    // an axis outside the dimensions.
    void SwapAxis(int a, int b) override;

    // Sets every element to value.
    virtual void Fill(T value);
    // A new empty array of this type (from the library allocator).
    virtual qvArrayND* TNew() const;
    // Takes over src's block reference, element pointer and shape without
    // copying; src keeps its shape but loses its elements and block (walks
    // over it, and operations with it as the other operand, visit nothing;
    // its record holds the extents only).
    virtual void Move(qvArrayND& src);
    // A view with the given extents and strides whose element 0 is element
    // offset of src's storage (counted from src's element 0); holds one more
    // reference to src's block (or views src's external memory). Throws
    // BadParameters "Different range" when range has entries and tab another
    // number, and "CheckPointer : Invalid pointer or range." when an extent
    // is negative or the view leaves src's block; nothing changes then.
    virtual void Set(const qvArrayND& src, int offset, const qvArray<int>& range, const qvArray<int>& tab);
    // The same with src's strides.
    virtual void Set(const qvArrayND& src, int offset, const qvArray<int>& range);
    // A view on the whole of src.
    virtual void Set(const qvArrayND& src);
    // Views memory the caller owns, with the given extents and strides (the
    // default dense strides in the second form); the array never frees it.
    // Throws BadParameters "Different range" when range has entries and tab
    // another number, and as MkTabFromRange for no extents.
    virtual void SetDirectly(T* p, const qvArray<int>& range, const qvArray<int>& tab);
    virtual void SetDirectly(T* p, const qvArray<int>& range);
    // A view on the box of extents range whose first element is element
    // origin of src, with src's strides. Throws BadParameters "Array length
    // is zero." for an empty origin, "Different range" when origin has
    // another number of entries than src has dimensions, and "CheckPointer :
    // Invalid pointer or range." when an extent is negative or the box
    // leaves src's block.
    virtual void SetSubWindow(const qvArrayND& src, const qvArray<int>& origin, const qvArray<int>& range);
    // The slice at index along axis in a new array from TNew(), owned by
    // the caller (release it with delete). Throws BadParameters "out of
    // range of dimension", "Must be dimension > 1" or "Out of range" as
    // ReduceDimArrayND does.
    virtual qvArrayND* GetReduceDimArrayND(int axis, int index) const;
    // The least and greatest element: both start at element 0 and take an
    // element only when it is strictly smaller (greater), in walk order.
    // Throws BadParameters "ArrayND range is empty." without elements.
    virtual void MinAndMax(T& min, T& max) const;

    // Becomes the slice of src at index along axis: src's extents and
    // strides without entry axis, element 0 at src's element with that
    // index. Shares the block. Throws BadParameters, checked in this order:
    // "out of range of dimension" for an axis outside src's dimensions,
    // "Must be dimension > 1" when src has fewer than two, "Out of range"
    // for an index outside 0 to src.Range()[axis] - 1.
    void ReduceDimArrayND(const qvArrayND& src, int axis, int index);

    // Releases the block and forgets the shape: no dimensions, no elements.
    void clear();
    // Points element 0 at p; block and shape stay as they are.
    void SetPointer(T* p) { data = p; }
    // Element (0, ..., 0).
    T* GetPointer() const { return data; }

    // The element the cursor stands on (no checks).
    T& operator[](const qvRoundArrayND& cursor) { return data[cursor.GetPos()]; }
    const T& operator[](const qvRoundArrayND& cursor) const { return data[cursor.GetPos()]; }
    // Element 0 (no checks).
    T& front() const { return data[0]; }
    // The last element of the walk (no checks).
    T& back() const { return data[endPos - tab[0]]; }
    // The number of elements.
    int size() const { return GetSize(); }
    // True when the array has no elements.
    bool empty() const { return GetSize() == 0; }
    // The start of the walk, at element 0.
    iterator begin() { return iterator(*this, false); }
    // The end of the walk, one past the last element.
    iterator end() { return iterator(*this, true); }
    // The start of the walk, at element 0.
    const_iterator begin() const { return const_iterator(*this, false); }
    // The end of the walk, one past the last element.
    const_iterator end() const { return const_iterator(*this, true); }

    // Each element e becomes e op a's element at the same indices. Throws
    // BadParameters "Different dimension" when the dimension counts differ,
    // then "Different range" when the extents do; nothing changes then.
    qvArrayND& operator+=(const qvArrayND& a);
    qvArrayND& operator-=(const qvArrayND& a);
    qvArrayND& operator*=(const qvArrayND& a);
    qvArrayND& operator/=(const qvArrayND& a);
    // Each element e becomes e op s.
    qvArrayND& operator+=(const T& s);
    qvArrayND& operator-=(const T& s);
    qvArrayND& operator*=(const T& s);
    qvArrayND& operator/=(const T& s);
    // 1 when the extents agree and every element equals a's element at the
    // same indices (strides may differ), else 0; != is the negation.
    int operator==(const qvArrayND& a) const;
    int operator!=(const qvArrayND& a) const;

    // The indices of the element at p: the offset p - GetPointer() is
    // divided by the strides from the largest to the smallest (ties: the
    // higher dimension first), each quotient the index of its dimension and
    // the remainder going on. Meant for positive strides; a dimension of
    // extent 1 or stride 0 takes index 0 and no part in the division, so
    // that views with exchanged axes decompose too. coord gets one entry per
    // dimension.
    void MakeCoord(qvArray<int>& coord, const T* p) const;
    // The least element, as MinAndMax finds it. Throws BadParameters
    // "ArrayND range is empty." without elements.
    T Min() const;
    // The greatest element, as MinAndMax finds it. Throws BadParameters
    // "ArrayND range is empty." without elements.
    T Max() const;
    // The element at (size() - 1) / 2 of the elements in order, found by
    // partition-based selection on a temporary copy made in walk order; the
    // array is not reordered. Throws BadParameters "Lenght of array is equl
    // zero." without elements.
    T Median();

protected:
    // Makes p the held block: a reference on p is taken before the previous
    // block is released.
    void SetMem(void* const p) override;
    // Releases the held block; element pointer and shape stay.
    void Free();
    // A fresh counted block of n elements as the storage (element pointer
    // and block), without releasing the old one. n below 1 throws
    // BadParameters "qvNewWithRef : n <= 0 ".
    void New(int n);

private:
    // The number of elements a walk visits: the product of the extents, or
    // 0 when an extent is below 1, there are no dimensions or no elements.
    int ElementCount() const;
    // Becomes a view of the given shape from first, holding a reference to
    // block (none when null); validated against block before anything
    // changes.
    void SetWindow(void* block, T* first, const qvArray<int>& range, const qvArray<int>& tab);
    // Checks an operand of the element-wise operators.
    void RequireSameShape(const qvArrayND& a) const;
    // The element-wise updates e = op(e, a's element) and e = op(e, s).
    template <class Op>
    qvArrayND& Update(const qvArrayND& a, Op op);
    template <class Op>
    qvArrayND& Update(const T& s, Op op);

    T* data;
};

#define CQV_ARRAYND_EXTERN(T) CQV_EXTERN_TEMPLATE(qvArrayND<T>)
CQV_FOR_EACH_ARRAYND_TYPE(CQV_ARRAYND_EXTERN)
#undef CQV_ARRAYND_EXTERN

#endif  // CQV_NDARRAY_ARRAY_ND_H
