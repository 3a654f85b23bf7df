// qvArray<T>: the simple array with arithmetic, order and statistics.
//
// Element-wise operators work between two arrays of equal length or between
// an array and a scalar; the in-place forms write into the present storage
// (so into a viewed array too), the others return a fresh private array.
// Comparisons hold when they hold for every element. Reductions run in index
// order and give a result of the element type: integer arithmetic wraps as
// the element type does. The array stores itself as a packed little-endian
// record: the element count, then the elements.
//
// Ordering of the value types: complex numbers are ordered by modulus (equal
// only when both parts are equal), plane vectors component-wise (a relation
// holds when it holds for both coordinates, so two vectors may be unordered).
//
// Instances exist for char, unsigned char, short, unsigned short, int, float,
// double, qvComplex and qvVec2.
//
// Allocation failure throws qvErrNoMemory. Integer division by zero is the
// caller's to avoid: the array does not check it.
#ifndef CQV_ARRAYS_ARRAY_H
#define CQV_ARRAYS_ARRAY_H

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/core/record.h"
#include "cqv/values/complex.h"
#include "cqv/values/vec2.h"

// The simple array with element-wise arithmetic and comparisons, ordered
// search and reductions; stored as a record of the count and the elements.
template <class T>
class qvArray : public qvSimpleArray<T> {
public:
    // An empty array.
    CQV_INLINE qvArray() {}
    // A fresh block of n elements (numeric elements uninitialised). Throws
    // BadParameters "qvNewWithRef : n <= 0 " (with the trailing blank) when
    // n is below 1.
    CQV_INLINE explicit qvArray(int n) : qvSimpleArray<T>(n) {}
    // A fresh block of n copies of v. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1.
    CQV_INLINE qvArray(int n, const T& v) : qvSimpleArray<T>(n, v) {}
    // A private copy of a's elements (empty if a is empty).
    qvArray(const qvArray& a);
    // Copies a's elements: into the present storage when the lengths are
    // equal (even if shared), else into a fresh block.
    qvArray& operator=(const qvArray& a);
    // Releases the held block.
    CQV_INLINE ~qvArray() noexcept override {}

    // Element i becomes a[i] op b[i]. Throws BadParameters "Different range"
    // when the lengths differ, before anything is written.
    qvArray& operator+=(const qvArray& b);
    qvArray& operator-=(const qvArray& b);
    qvArray& operator*=(const qvArray& b);
    qvArray& operator/=(const qvArray& b);
    // Element i becomes a[i] op v (v may be an element of this array).
    qvArray& operator+=(const T& v);
    qvArray& operator-=(const T& v);
    qvArray& operator*=(const T& v);
    qvArray& operator/=(const T& v);

    // A fresh array of a[i] op b[i]; operator* is the element-wise product.
    // Throws BadParameters "Different range" when the lengths differ.
    qvArray operator+(const qvArray& b);
    qvArray operator-(const qvArray& b);
    qvArray operator*(const qvArray& b);
    qvArray operator/(const qvArray& b);
    // A fresh array of a[i] op v.
    qvArray operator+(const T& v);
    qvArray operator-(const T& v);
    qvArray operator*(const T& v);
    qvArray operator/(const T& v);

    // 1 when the relation holds for every pair a[i], b[i] (two empty arrays
    // give 1). Throws BadParameters "Different range" when the lengths
    // differ.
    int operator<(const qvArray& b) const;
    int operator>(const qvArray& b) const;
    int operator<=(const qvArray& b) const;
    int operator>=(const qvArray& b) const;
    // 1 when the lengths are equal and every pair is equal; never throws.
    int operator==(const qvArray& b) const;
    int operator!=(const qvArray& b) const;
    // 1 when the relation holds between every element and v (1 on an empty
    // array); != holds when some element differs from v (0 on an empty array).
    int operator<(const T& v) const;
    int operator>(const T& v) const;
    int operator<=(const T& v) const;
    int operator>=(const T& v) const;
    int operator==(const T& v) const;
    int operator!=(const T& v) const;

    // a[0] + a[1] + ... in index order. Throws BadParameters
    // "Array length is zero." when the array is empty.
    T Sum() const;
    // a[0] * a[1] * ... in index order. Throws BadParameters
    // "Array length is zero." when the array is empty.
    T Mul() const;
    // a[0] b[0] + a[1] b[1] + ... in index order (no conjugation). Throws
    // BadParameters "Different range" when the lengths differ, and
    // "Array length is zero." when both are empty.
    T ScalarMul(const qvArray& b) const;
    // The greatest element. Throws BadParameters "Array length is zero."
    // when the array is empty.
    T Max() const;
    // The least element. Throws BadParameters "Array length is zero." when
    // the array is empty.
    T Min() const;
    // The index of the greatest element, the first one on ties. Throws
    // BadParameters "Array length is zero." when the array is empty.
    int MaxIndex() const;
    // The index of the least element, the first one on ties. Throws
    // BadParameters "Array length is zero." when the array is empty.
    int MinIndex() const;
    // A fresh array of the greater (lesser) of a[i] and b[i], b[i] when
    // neither is strictly greater (lesser). Throw BadParameters
    // "Different range" when the lengths differ.
    qvArray Max(const qvArray& b) const;
    qvArray Min(const qvArray& b) const;
    // The element at (Len() - 1) / 2 once the array is ordered, found by
    // partition-based selection in place: afterwards no element before that
    // index is greater and none after it is less. Reorders the elements in
    // the present storage. Throws BadParameters
    // "Lenght of array is equl zero." when the array is empty.
    T Median();

    // The first index whose element equals v, or -1.
    int Find(const T& v) const;
    // Binary search in an array sorted ascending (ascending non-zero) or
    // descending: the index of some element equal to v, or -1.
    int FindB(const T& v, int ascending) const;
    // Binary search as FindB: returns the index of an element equal to v and
    // sets found to 1, or inserts v where it keeps the order (the array moves
    // to a fresh private block), sets found to 0 and returns v's index.
    int InsertIfNotExistB(const T& v, int& found, int ascending);

    // A fresh copy with every element greater than zero replaced by zero.
    qvArray GetNoPositive();
    // A fresh copy with every element less than zero replaced by zero.
    qvArray GetNoNegative();

    // Size of the record: 4 bytes of count plus the element records. Throws
    // BadParameters "Record size does not fit in 32 bits" when the record
    // would be 2 GiB or more.
    int MemSize() const override;
    // Writes the record at p; returns its size. Throws as MemSize, before
    // writing anything.
    int ToMem(unsigned char* p) const override;
    // Reads a record at p into this array and returns its size. A count equal
    // to the length writes into the present storage (also a viewed one);
    // another count releases the block and takes a fresh one. Throws
    // BadParameters "Record size does not fit in 32 bits" when the record
    // would be 2 GiB or more, before anything changes, and
    // "qvNewWithRef : n <= 0 " when the count is negative, once the block is
    // released: the array is then empty. Trusts the count: for untrusted
    // bytes use FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, before anything changes. Not virtual: it
    // reads this class's record whatever the object derived from it.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

private:
    // Element i becomes op(a[i], b[i]) (lengths checked first) or
    // op(a[i], v).
    template <class Op>
    qvArray& Update(const qvArray& b, Op op);
    template <class Op>
    qvArray& Update(const T& v, Op op);
    // A fresh array of op(a[i], b[i]) (lengths checked first) or
    // op(a[i], v).
    template <class Op>
    qvArray Combine(const qvArray& b, Op op) const;
    template <class Op>
    qvArray Combine(const T& v, Op op) const;
    // 1 when rel(a[i], b[i]) (lengths checked first) or rel(a[i], v) holds
    // for every i.
    template <class Rel>
    int All(const qvArray& b, Rel rel) const;
    template <class Rel>
    int All(const T& v, Rel rel) const;
    // The index of the first element that no later element beats under
    // better(candidate, best). Throws BadParameters "Array length is zero."
    // when the array is empty.
    template <class Better>
    int BestIndex(Better better) const;
};

// The arithmetic array exists for exactly the simple array's own element
// types; the declarations here and the instances in array.cpp follow that
// one list.
#define CQV_FOR_EACH_ARRAY_TYPE(X) CQV_FOR_EACH_SIMPLE_ARRAY_TYPE(X)
#define CQV_DECLARE_ARRAY(T) CQV_EXTERN_TEMPLATE(qvArray<T>)
CQV_FOR_EACH_ARRAY_TYPE(CQV_DECLARE_ARRAY)
#undef CQV_DECLARE_ARRAY

#endif  // CQV_ARRAYS_ARRAY_H
