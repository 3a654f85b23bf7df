// qvVector<E>, qvColumnVector<E>, qvLineVector<E>: strided vectors over
// counted blocks.
//
// A vector sees len elements of type E, element i at data + i·tab, inside a
// counted block it holds one reference to, or in memory the caller owns. One
// block can be seen by many vectors and matrices at once: a copied vector, a
// transpose, a sub-range, a row or a column of a matrix are windows that share
// the elements, with any stride (zero and negative too). Assignment between
// vectors of equal length writes into the present storage; only a change of
// length allocates, always a fresh contiguous block of the exact new size.
//
// The column and line (row) vectors add an orientation, which decides the
// products: line × column is a scalar, column × line a matrix, line × matrix
// a line, matrix × column a column.
//
// Instances exist for double, qvComplex and qvTVec3<double>.
//
// Allocation failure throws qvErrNoMemory. A member that replaces the
// storage by a fresh block of another length (Set, Init, assignment and
// reading a record of another length) lets go of the old block first, so
// its failure leaves the vector empty; other members leave it as it was.
// "qvNewWithRef : n <= 0 " below ends in a blank; it is also what every
// member that makes a fresh vector of an empty one throws (the block
// allocator refuses a length of 0).
#ifndef CQV_LINALG_VECTOR_H
#define CQV_LINALG_VECTOR_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/core/parray.h"
#include "cqv/core/record.h"
#include "cqv/values/complex.h"
#include "cqv/values/vec3.h"

template <class E>
class qvMatrix;
template <class E>
class qvColumnVector;
template <class E>
class qvLineVector;
namespace qvDetail {
struct VectorWindows;
}

// A vector of len elements of E, element i at data + i·tab, in a counted
// block that copies, windows and matrices may share, or in memory the caller
// owns.
template <class E>
class qvVector : public qvPArray {
public:
    // A position in a vector: an element pointer and the stride it advances
    // by.
    template <class R>
    class basic_iterator {
    public:
        // A null position.
        basic_iterator() : p(nullptr), step(0) {}
        // At ptr, advancing by stride elements.
        basic_iterator(R* ptr, int stride) : p(ptr), step(stride) {}
        // A const iterator from a mutable one.
        template <class S>
        basic_iterator(const basic_iterator<S>& it) : p(it.Pointer()), step(it.Tab()) {}
        // The element at the position.
        R& operator*() const { return *p; }
        R* operator->() const { return p; }
        // One stride forward; returns this iterator.
        basic_iterator& operator++() {
            p += step;
            return *this;
        }
        // One stride forward; returns the former position.
        basic_iterator operator++(int) {
            basic_iterator t = *this;
            p += step;
            return t;
        }
        // One stride back; returns this iterator.
        basic_iterator& operator--() {
            p -= step;
            return *this;
        }
        // One stride back; returns the former position.
        basic_iterator operator--(int) {
            basic_iterator t = *this;
            p -= step;
            return t;
        }
        // n strides forward; returns this iterator.
        basic_iterator& operator+=(int n) {
            p += n * step;
            return *this;
        }
        // The position n strides forward.
        basic_iterator operator+(int n) const { return basic_iterator(p + n * step, step); }
        // Equal when the element pointers are; != is the negation.
        bool operator==(const basic_iterator& o) const { return p == o.p; }
        bool operator!=(const basic_iterator& o) const { return p != o.p; }
        // The element pointer.
        R* Pointer() const { return p; }
        // The stride in elements.
        int Tab() const { return step; }

    private:
        R* p;
        int step;
    };

    // The iterators over mutable and over read-only elements.
    using iterator = basic_iterator<E>;
    using const_iterator = basic_iterator<const E>;

    // An empty vector.
    qvVector() : data(nullptr), len(0), tab(0) {}
    // A fresh contiguous block of n uninitialised elements. Throws
    // BadParameters "qvNewWithRef : n <= 0 " when n is below 1.
    explicit qvVector(int n);
    // A window on all of v: same elements, length and stride.
    qvVector(const qvVector& v);
    // A window on the elements of a simple array (stride 1).
    explicit qvVector(const qvSimpleArray<E>& a);
    // Releases the held block.
    CQV_INLINE ~qvVector() noexcept override { Free(); }

    // Copies v's elements into this vector, each side through its own
    // stride. Equal lengths write into the present storage (through a
    // window, into whatever it views); otherwise a fresh contiguous block of
    // v's length is made first.
    virtual void operator=(const qvVector& v);
    // Sets every element to x.
    virtual void Fill(const E& x);
    // A new, empty object of this vector's class, from the library allocator.
    virtual qvVector* NewVector() const;
    // Orientation: 1 on a column vector, 0 on a line vector, -1 here
    // (unknown).
    virtual int IsColumn() const;
    // Orientation: 1 on a line vector, 0 on a column vector, -1 here
    // (unknown).
    virtual int IsLine() const;

    // The element storage: element 0.
    CQV_INLINE void* Pointer() const override { return data; }
    // The extent above element 0 in elements, by the vectors' own rule:
    // len·tab for a stride of 0 or more, else 0. This rule surprises in the
    // pointer checks of qvPArray (CheckPointer, CheckPointerWithThrow), which
    // measure the storage by it: above the data they count the whole last
    // stride, room for len·tab elements, so a strided window whose last
    // element lies less than a stride before the end of its block fails them
    // although every element is inside.
    CQV_INLINE int PositiveLength() const override { return tab >= 0 ? len * tab : 0; }
    // The extent below element 0 in elements: (len - 1)·tab (0 or less) for
    // a negative stride, else 0. The pointer checks of qvPArray never fail
    // below the data, since this length is subtracted and only widens the
    // room they allow.
    CQV_INLINE int NegativeLength() const override { return tab < 0 ? (len - 1) * tab : 0; }
    // Size of one element in bytes.
    CQV_INLINE int GetSizeOfType() const override { return static_cast<int>(sizeof(E)); }
    // Replaces shared or external storage by a private contiguous copy.
    void Copy() override;

    // The size in bytes of the record: element count (int32), then the
    // elements in index order. MemSize and ToMem throw BadParameters
    // "Record size does not fit in 32 bits" when the record would be 2 GiB
    // or more (a window with stride 0 can claim any length), ToMem before
    // writing anything.
    int MemSize() const override;
    // Writes the record at p; returns its size.
    int ToMem(unsigned char* p) const override;
    // Releases the block, then reads a record into a fresh contiguous block
    // (empty for a count of 0), whatever the present length. Throws
    // BadParameters "Record size does not fit in 32 bits" when the record
    // would be 2 GiB or more, before anything changes, and
    // "qvNewWithRef : n <= 0 " when the count is negative, once the block is
    // released: the vector is then empty. Trusts the count: for untrusted
    // bytes use FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, before anything changes.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

    // Element i, without checks.
    E& operator[](int i) const { return data[i * tab]; }
    // Element 0, without checks.
    E& front() const { return data[0]; }
    // The last element, without checks.
    E& back() const { return data[(len - 1) * tab]; }
    E& Last() const { return data[(len - 1) * tab]; }
    // Element 0's address (null for a vector made empty).
    E* GetPointer() const { return data; }
    // The number of elements.
    int Len() const { return len; }
    int size() const { return len; }
    int Range() const { return len; }
    // The stride in elements.
    int Tab() const { return tab; }
    // True when the vector has no elements.
    bool empty() const { return len == 0; }

    // An iterator on element 0, stepping by the stride.
    iterator begin() { return iterator(data, tab); }
    // The iterator one stride past the last element.
    iterator end() { return iterator(data + len * tab, tab); }
    // An iterator on element 0, stepping by the stride.
    const_iterator begin() const { return const_iterator(data, tab); }
    // The iterator one stride past the last element.
    const_iterator end() const { return const_iterator(data + len * tab, tab); }

    // Releases the block, then takes a fresh contiguous block of n elements
    // (0 leaves the vector empty); contents are not kept. Throws
    // BadParameters "qvNewWithRef : n <= 0 " when n is negative, once the
    // block is released: the vector is then empty.
    void Set(int n);
    // As Set(n), unless the length already is n: then nothing changes.
    // Throws as Set(n).
    void Init(int n);
    // Views n elements at p with stride step; the memory stays the caller's.
    void SetDirectly(E* p, int n, int step);
    // A window on elements start to start + n - 1 of v, with v's stride.
    // The window is not checked against v.
    void Set(const qvVector& v, int start, int n);
    void SetSubWindow(const qvVector& v, int start, int n) { Set(v, start, n); }
    // A window from element start of v with n elements and the given
    // stride (in storage elements).
    void Set(const qvVector& v, int start, int n, int step);
    // Takes over v's storage; v keeps its stride but nothing else.
    void Move(qvVector& v);
    // Releases the storage; the vector becomes empty.
    void Clear();
    void RemoveAll() { Clear(); }
    void clear() { Clear(); }

    // Length n keeping the first min(n, Len()) elements in a fresh block;
    // n equal to Len() changes nothing, 0 empties. A negative n throws
    // BadParameters "qvNewWithRef : n <= 0 " with nothing changed. This and
    // the other length changes below always end in a contiguous block of
    // the exact new length (stride 1); when this vector alone holds its
    // whole block with stride 1, that block is resized with qvRealloc
    // (often where it lies) instead of copied. A shared block, a window or
    // external memory is left to its other users. Exhausted memory leaves
    // the vector as it was.
    void resize(int n);
    void ReSet(int n) { resize(n); }
    // Appends x (which may be an element of this vector).
    void push_back(const E& x);
    void Concat(E x) { push_back(x); }
    // Appends v's elements; v may be this vector.
    void Concat(const qvVector& v);
    // Inserts x before element 0.
    void push_front(const E& x);
    // Inserts x before element i (0 to Len()); returns i. Throws
    // BadParameters "Out of range" when i is outside that range.
    int Insert(E x, int i);
    // Inserts x before the element it points at; returns an iterator on it.
    // Throws BadParameters "Out of range" when it is outside begin() to
    // end().
    iterator insert(iterator it, const E& x);
    // Removes the last element; an empty vector is left alone.
    void pop_back();
    void RemoveLast() { pop_back(); }
    // Removes element 0. Throws BadParameters "Out of range" when the vector
    // is empty.
    void pop_front();
    // Removes element i. Throws BadParameters "Out of range" when i is not
    // an index of the vector.
    void Remove(int i);
    // Removes the element it points at; returns an iterator on its index.
    // Throws BadParameters "Out of range" when it is not an element.
    iterator erase(iterator it);

    // dst becomes a window on the first n, the last n, or the n elements
    // from start. Throw BadParameters "qvVector<T>::Left: Out of Range",
    // "qvVector<T>::Right: Out of Range" and "qvVector<T>::Mid: Out of Range"
    // when n is below 1 or the elements are not all inside the vector.
    void Left(qvVector& dst, int n) const;
    void Right(qvVector& dst, int n) const;
    void Mid(qvVector& dst, int start, int n) const;

    // Each element e becomes e + s, e - s, e·s, e / s.
    void operator+=(const E& s);
    void operator-=(const E& s);
    void operator*=(const E& s);
    void operator/=(const E& s);
    // Each element e_i becomes e_i + v_i (+=), e_i - v_i (-=), e_i·v_i (Mul)
    // or e_i / v_i (Div). Throw BadParameters "different length." when the
    // lengths differ (as Min, Max and ScalarMul below do).
    void operator+=(const qvVector& v);
    void operator-=(const qvVector& v);
    void Mul(const qvVector& v);
    void Div(const qvVector& v);
    // Element i becomes v[i] when that is smaller (Min) or greater (Max) by
    // the element type's own order.
    void Min(const qvVector& v);
    void Max(const qvVector& v);
    // Σ e_i·v_i in index order; zero for empty vectors. Throws BadParameters
    // "different length." when the lengths differ.
    E ScalarMul(const qvVector& v) const;
    // The Euclidean norm from Σ e_i·e_i in index order (per coordinate for
    // space vectors, the principal complex root for complex ones). Zero for
    // an empty vector.
    E Norm() const;

protected:
    // Makes p (a counted block or null) the held block: the block held so
    // far is released first, then p is stored and its count raised; data,
    // length and stride stay. When p is not a counted block it is stored all
    // the same, after the previous block was released, and BadParameters
    // "qvIncMemRef : memory must be allocated with qvNewWithRef." is thrown:
    // the vector then holds p as an uncounted block, which the release rule
    // frees when the vector lets go of it. (The members that make this
    // vector a window take their reference before releasing, instead.)
    void SetMem(void* const p) override;
    CQV_INLINE void Free() { qvDetail::ReleaseBlock<E>(mem); }
    // A fresh contiguous block of n elements, without releasing the old one.
    void New(int n);
    // Becomes a view of n elements from first with the given stride, holding
    // a reference to block (none when block is null).
    void SetWindow(void* block, E* first, int n, int step);
    // Rebuilds the vector in a fresh contiguous block: the first head
    // elements, then gap new elements (copied from fill with stride fillTab
    // when fill is given), then the elements after the skip elements that
    // follow head. fill is read before the old storage is released.
    void Rebuild(int head, int gap, int skip, const E* fill, int fillTab);
    // Free, and the vector becomes empty: data null, length and stride 0.
    void MakeEmpty();
    // Throws BadParameters "different length." unless v has this vector's
    // length.
    void CheckSameLength(const qvVector& v) const;

    // The address of element 0.
    E* data;
    // The number of elements.
    int len;
    // The stride in elements between neighbours.
    int tab;

    friend class qvMatrix<E>;
    // The library's own code that makes many vectors windows on one block
    // at once (cqv/numeric/window_arrays_internal.h).
    friend struct qvDetail::VectorWindows;
};

// A vector oriented as a column: the right operand of a matrix product.
template <class E>
class qvColumnVector : public qvVector<E> {
public:
    // An empty column vector.
    qvColumnVector() {}
    // A fresh contiguous block of n elements. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1.
    explicit qvColumnVector(int n) : qvVector<E>(n) {}
    // Windows on v or on a simple array's elements.
    qvColumnVector(const qvColumnVector& v) : qvVector<E>(v) {}
    explicit qvColumnVector(const qvVector<E>& v) : qvVector<E>(v) {}
    explicit qvColumnVector(const qvSimpleArray<E>& a) : qvVector<E>(a) {}
    // Releases the held block.
    CQV_INLINE ~qvColumnVector() noexcept override {}

    // Assignment by the vector rule (write-through at equal lengths).
    qvColumnVector& operator=(const qvColumnVector& v) {
        qvVector<E>::operator=(v);
        return *this;
    }
    using qvVector<E>::operator=;

    // A new, empty column vector, from the library allocator.
    qvVector<E>* NewVector() const override;
    // 1: a column vector.
    int IsColumn() const override;
    // 0: not a line vector.
    int IsLine() const override;

    // New column vectors: each element combined with s. Throw BadParameters
    // "qvNewWithRef : n <= 0 " when this vector is empty.
    qvColumnVector operator+(const E& s) const;
    qvColumnVector operator-(const E& s) const;
    qvColumnVector operator*(const E& s) const;
    qvColumnVector operator/(const E& s) const;
    // Element-wise sums and differences. Throw BadParameters
    // "different length." when the lengths differ, and
    // "qvNewWithRef : n <= 0 " when both vectors are empty.
    qvColumnVector operator+(const qvColumnVector& v) const;
    qvColumnVector operator-(const qvColumnVector& v) const;
    // The outer product: element (i, j) = this[i]·r[j]; empty when either
    // vector is.
    qvMatrix<E> operator*(const qvLineVector<E>& r) const;
    // The transpose: a line vector on the same elements.
    qvLineVector<E> T() const;
};

// A vector oriented as a line (row): the left operand of a matrix product.
template <class E>
class qvLineVector : public qvVector<E> {
public:
    // An empty line vector.
    qvLineVector() {}
    // A fresh contiguous block of n elements. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1.
    explicit qvLineVector(int n) : qvVector<E>(n) {}
    // Windows on v or on a simple array's elements.
    qvLineVector(const qvLineVector& v) : qvVector<E>(v) {}
    explicit qvLineVector(const qvVector<E>& v) : qvVector<E>(v) {}
    explicit qvLineVector(const qvSimpleArray<E>& a) : qvVector<E>(a) {}
    // Releases the held block.
    CQV_INLINE ~qvLineVector() noexcept override {}

    // Assignment by the vector rule (write-through at equal lengths).
    qvLineVector& operator=(const qvLineVector& v) {
        qvVector<E>::operator=(v);
        return *this;
    }
    using qvVector<E>::operator=;

    // A new, empty line vector, from the library allocator.
    qvVector<E>* NewVector() const override;
    // 0: not a column vector.
    int IsColumn() const override;
    // 1: a line vector.
    int IsLine() const override;

    // New line vectors: each element combined with s. Throw BadParameters
    // "qvNewWithRef : n <= 0 " when this vector is empty.
    qvLineVector operator+(const E& s) const;
    qvLineVector operator-(const E& s) const;
    qvLineVector operator*(const E& s) const;
    qvLineVector operator/(const E& s) const;
    // Element-wise sums and differences. Throw BadParameters
    // "different length." when the lengths differ, and
    // "qvNewWithRef : n <= 0 " when both vectors are empty.
    qvLineVector operator+(const qvLineVector& v) const;
    qvLineVector operator-(const qvLineVector& v) const;
    // Line times column: Σ this[i]·c[i] in index order (zero for empty
    // vectors). Throws BadParameters "different length." when the lengths
    // differ.
    E operator*(const qvColumnVector<E>& c) const;
    // Line times matrix: result[j] = Σ_i this[i]·m(i, j), i ascending.
    // Throws BadParameters "different length." when the length differs from
    // the matrix's number of rows, and "qvNewWithRef : n <= 0 " when both
    // are empty.
    qvLineVector operator*(const qvMatrix<E>& m) const;
    // The transpose: a column vector on the same elements.
    qvColumnVector<E> T() const;
};

// The element types of the vectors and the matrix, for the declarations
// here and in matrix.h and the instances in vector.cpp and matrix.cpp.
#define CQV_FOR_EACH_LINALG_TYPE(X) X(double) X(qvComplex) X(qvTVec3<double>)
#define CQV_DECLARE_VECTORS(T) \
    CQV_EXTERN_TEMPLATE(qvVector<T>) CQV_EXTERN_TEMPLATE(qvColumnVector<T>) CQV_EXTERN_TEMPLATE(qvLineVector<T>)
CQV_FOR_EACH_LINALG_TYPE(CQV_DECLARE_VECTORS)
#undef CQV_DECLARE_VECTORS

// Arrays of column and line vectors exist for these element types.
#define CQV_FOR_EACH_VECTOR_ARRAY_TYPE(X) X(double)
#define CQV_DECLARE_VECTOR_ARRAYS(T) \
    CQV_EXTERN_TEMPLATE(qvSimpleArray<qvColumnVector<T>>) CQV_EXTERN_TEMPLATE(qvSimpleArray<qvLineVector<T>>)
CQV_FOR_EACH_VECTOR_ARRAY_TYPE(CQV_DECLARE_VECTOR_ARRAYS)
#undef CQV_DECLARE_VECTOR_ARRAYS

#endif  // CQV_LINALG_VECTOR_H
