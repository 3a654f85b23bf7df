// qvSimpleArray<T>: the growable one-dimensional array under most containers.
//
// The elements live in one counted block, in a window onto another array's
// block, or in memory the caller owns (SetDirectly). Element writes go to the
// present storage and are seen by everyone who shares it; Copy makes the
// storage private on request. There is no spare capacity: every growth or
// shrink allocates a block of the exact new size and copies into it, so long
// arrays are best sized first and then filled by index.
//
// Allocation failure throws qvErrNoMemory. A member that replaces the
// storage by a fresh block of another size (Init, Set, assignment and
// reading a record of another length) lets go of the old block first, so
// its failure leaves the array empty; every other member leaves the array,
// its block and the arrays sharing it as they were. The text
// "qvNewWithRef : n <= 0 " below ends in a blank.
//
// Instances exist for char, unsigned char, short, unsigned short, int, float,
// double, qvComplex and qvVec2 here; further element types add theirs.
#ifndef CQV_ARRAYS_SIMPLE_ARRAY_H
#define CQV_ARRAYS_SIMPLE_ARRAY_H

#include "cqv/core/export.h"
#include "cqv/core/parray.h"
#include "cqv/values/complex.h"
#include "cqv/values/vec2.h"

// A growable one-dimensional array of T in a counted block, a window onto
// another array's block, or memory the caller owns.
template <class T>
class qvSimpleArray : public qvPArray {
public:
    // An empty array.
    qvSimpleArray() : data(nullptr), len(0) {}
    // A fresh block of n elements (numeric elements uninitialised). Throws
    // BadParameters "qvNewWithRef : n <= 0 " when n is below 1.
    explicit qvSimpleArray(int n);
    // A fresh block of n copies of v. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1.
    qvSimpleArray(int n, const T& v);
    // A private copy of a's elements (empty if a is empty); never shares.
    qvSimpleArray(const qvSimpleArray& a);
    // Copies a's elements: into the present storage when the lengths are
    // equal (even if shared), else into a fresh block.
    qvSimpleArray& operator=(const qvSimpleArray& a);
    // Releases the held block.
    ~qvSimpleArray() override;

    // Number of elements.
    int Len() const { return len; }
    int size() const { return len; }
    int Range() const { return len; }
    CQV_INLINE int PositiveLength() const override { return len; }
    // Always 0: a simple array has nothing below element 0.
    CQV_INLINE int NegativeLength() const override { return 0; }
    // True when the array has no elements.
    bool empty() const { return len == 0; }
    // Size of one element in bytes.
    CQV_INLINE int GetSizeOfType() const override { return static_cast<int>(sizeof(T)); }

    // Address of element 0 (null when empty).
    T* GetPointer() const { return data; }
    CQV_INLINE void* Pointer() const override { return data; }
    // The first element's address, where a walk over the elements begins.
    T* begin() { return data; }
    const T* begin() const { return data; }
    // One past the last element's address, where a walk ends.
    T* end() { return data + len; }
    const T* end() const { return data + len; }

    // Element i, without range checks.
    T& operator[](int i) { return data[i]; }
    const T& operator[](int i) const { return data[i]; }
    // Element 0, without checks.
    T& front() { return data[0]; }
    const T& front() const { return data[0]; }
    // The last element, without checks.
    T& back() { return data[len - 1]; }
    const T& back() const { return data[len - 1]; }
    T& Last() { return data[len - 1]; }
    const T& Last() const { return data[len - 1]; }

    // A fresh uninitialised block of n elements unless the length already is
    // n (then contents and sharing stay). 0 empties the array. Throws
    // BadParameters "qvNewWithRef : n <= 0 " when n is negative.
    void Init(int n);
    // Always a fresh uninitialised block of n elements; 0 empties the array.
    // Throws BadParameters "qvNewWithRef : n <= 0 " when n is negative,
    // before anything changes.
    void Set(int n);
    // A fresh block of n copies of v. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1, before anything changes.
    void Set(int n, const T& v);
    // Changes the length to n, keeping the first min(n, Len()) elements in a
    // private block; 0 empties the array. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is negative.
    void ReSet(int n) { Regrow(n); }
    void resize(int n) { Regrow(n); }
    // Releases the storage; the array becomes empty.
    void Clear();
    void RemoveAll() { Clear(); }
    void clear() { Clear(); }
    // Assigns v to every element in the present storage.
    void Fill(const T& v);

    // Points element 0 at p; the block and the length stay as they are.
    void SetPointer(T* p) { data = p; }
    // Views n elements at p that the caller owns; the array never frees them.
    void SetDirectly(T* p, int n);
    // Views n elements of a from index start, sharing a's block (or a's
    // external memory). Throws BadParameters
    // "qvSimpleArray<T>::Set : out of range." when start or n is negative or
    // the range is not inside a.
    void SetSubWindow(const qvSimpleArray& a, int start, int n);
    // Takes over a's storage without copying; a becomes empty.
    void Move(qvSimpleArray& a);
    // Exchanges the storage of the two arrays.
    void swap(qvSimpleArray& a);
    // Makes shared or external storage private by copying it into a fresh
    // block.
    void Copy() override;

    // Appends v (which may be an element of this array).
    void Concat(T v);
    void push_back(const T& v);
    // Appends a's elements; a may be this array, which then doubles.
    void Concat(const qvSimpleArray& a);
    // Inserts v before element 0.
    void push_front(const T& v);
    // Inserts v before *it; returns the address of the new element. it may
    // be end(). Throws BadParameters "Out of range" when it lies outside
    // begin() to end().
    T* insert(T* it, const T& v);
    // Inserts v before element pos (0 to Len()); returns pos. Throws
    // BadParameters "Out of range" when pos is outside that range.
    int Insert(T v, int pos);
    // Removes *it; returns the address of the element that followed it.
    // Throws BadParameters "Out of range" when it is not an element of the
    // array.
    T* erase(T* it);
    // Removes element i. Throws BadParameters "Out of range" when i is not
    // an index of the array.
    void Remove(int i);
    // Removes the last element; an empty array is left alone.
    void RemoveLast();
    void pop_back() { RemoveLast(); }
    // Removes element 0. Throws BadParameters "Out of range" when the array
    // is empty.
    void pop_front();
    // Replaces count elements from pos by a's elements: the length becomes
    // Len() - count + a.Len() and the elements after the replaced range follow
    // a's. Throws BadParameters "Out of range" when pos or count is negative
    // or the range is not inside the array.
    void Replace(int pos, int count, const qvSimpleArray& a);
    // Rotates right by k modulo Len(): element i moves to i + k. A remainder
    // of 0 or less changes nothing.
    void CycleRightShift(int k);
    // Rotates left by k modulo Len(): element i moves to i - k.
    void CycleLeftShift(int k);
    // Reverses the order of the elements in place.
    void InverseOrder();

    // Private copies of the first n, the last n, and the n from start.
    // Throw BadParameters "qvSimpleArray<T>::Left: Out of Range",
    // "qvSimpleArray<T>::Right: Out of Range" and
    // "qvSimpleArray<T>::Mid: Out of Range" when n is below 1 or the
    // elements are not all inside the array.
    qvSimpleArray Left(int n) const;
    qvSimpleArray Right(int n) const;
    qvSimpleArray Mid(int start, int n) const;

protected:
    // Takes a fresh counted block of n elements as the storage; callers
    // release the previous block first. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1.
    virtual void New(int n);
    // Hold and release the block by the rule of cqv/core/counted_block.h;
    // element 0 and the length are not touched. SetMem throws BadParameters
    // "qvIncMemRef : memory must be allocated with qvNewWithRef." when p is
    // not a counted block.
    void SetMem(void* const p) override;
    void Free();

    // Changes the length to m keeping the first min(m, len) elements in a
    // fresh private block; m of 0 empties the array. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when m is negative.
    void Regrow(int m);
    // Rebuilds the array in a fresh private block of len + gap - skip
    // elements: the first head elements, then gap new elements (copies of
    // fill[0..gap) when fill is given), then the elements that followed the
    // skip elements after head. fill may point into this array's storage:
    // it is read before the old storage is released.
    void Splice(int head, int gap, int skip, const T* fill);
    // Makes a private block holding copies of src[0..n) the storage.
    void AdoptCopyOf(const T* src, int n);
    // Free, and the array becomes empty.
    void MakeEmpty();

    // The address of element 0.
    T* data;
    // The number of elements.
    int len;
};

// The element types of the simple array that live in this folder or below,
// for the declarations here and the instances in simple_array.cpp. Arrays of
// the library's larger classes (strings, vectors, matrices, polynomials,
// contours) are declared and instantiated beside those classes.
#define CQV_FOR_EACH_SIMPLE_ARRAY_TYPE(X) \
    X(char) X(unsigned char) X(short int) X(unsigned short int) X(int) X(float) X(double) X(qvComplex) X(qvVec2)
#define CQV_DECLARE_SIMPLE_ARRAY(T) CQV_EXTERN_TEMPLATE(qvSimpleArray<T>)
CQV_FOR_EACH_SIMPLE_ARRAY_TYPE(CQV_DECLARE_SIMPLE_ARRAY)
#undef CQV_DECLARE_SIMPLE_ARRAY

#endif  // CQV_ARRAYS_SIMPLE_ARRAY_H
