// qvSimpleArray<T>: the growable one-dimensional array under most containers.
//
// The elements live in one counted block, in a window onto another array's
// block, or in memory the caller owns (SetDirectly). Element writes go to the
// present storage and are seen by everyone who shares it; Copy makes the
// storage private on request. There is no spare capacity: every growth or
// shrink leaves a block of the exact new size, either a fresh one the
// elements are copied into or, for a block of raw elements this array alone
// holds, the same block resized by qvRealloc. Long arrays are still best
// sized first and then filled by index.
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

#include <cstddef>
#include <cstring>

#include "cqv/core/counted_block.h"
#include "cqv/core/export.h"
#include "cqv/core/parray.h"
#include "cqv/values/complex.h"
#include "cqv/values/vec2.h"

namespace qvDetail {

// Whether every byte of the raw element x is zero (0, 0.0 and the zero
// complex number and plane vector, not -0.0).
template <class T>
inline bool AllZeroBytes(const T& x) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, static_cast<const void*>(&x), sizeof(T));
    unsigned char any = 0;
    for (unsigned char b : bytes) any = static_cast<unsigned char>(any | b);
    return any == 0;
}

}  // namespace qvDetail

// A growable one-dimensional array of T in a counted block, a window onto
// another array's block, or memory the caller owns.
template <class T>
class qvSimpleArray : public qvPArray {
public:
    // An empty array.
    CQV_INLINE qvSimpleArray() : data(nullptr), len(0) {}
    // A fresh block of n elements (numeric elements uninitialised). Throws
    // BadParameters "qvNewWithRef : n <= 0 " when n is below 1.
    CQV_INLINE explicit qvSimpleArray(int n) : data(nullptr), len(0) { New(n); }
    // A fresh block of n copies of v. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1.
    CQV_INLINE qvSimpleArray(int n, const T& v) : data(nullptr), len(0) {
        New(n);
        Fill(v);
    }
    // A private copy of a's elements (empty if a is empty); never shares.
    qvSimpleArray(const qvSimpleArray& a);
    // Copies a's elements: into the present storage when the lengths are
    // equal (even if shared), else into a fresh block.
    qvSimpleArray& operator=(const qvSimpleArray& a);
    // Releases the held block.
    CQV_INLINE ~qvSimpleArray() noexcept override { Free(); }

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
    // n (then contents and sharing stay). 0 empties the array. Throws as
    // Set(n) when n is negative.
    void Init(int n);
    // Releases the block, then takes a fresh uninitialised block of n
    // elements; 0 leaves the array empty. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is negative, once the block is
    // released: the array is then empty.
    void Set(int n);
    // Releases the block, then takes a fresh block of n copies of v (v may
    // be an element of this array). Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 1, once the block is
    // released: the array is then empty.
    void Set(int n, const T& v);
    // Changes the length to n, keeping the first min(n, Len()) elements in a
    // private block; 0 empties the array. When this array alone holds its
    // whole block of numbers (or complex numbers, or plane vectors), the
    // block is resized where it lies (qvRealloc) instead of copied; its
    // length stays exact either way. Throws BadParameters
    // "qvNewWithRef : n <= 0 " with nothing changed when n is negative: a
    // check of this library's own, where the length would otherwise turn
    // negative and every later use read outside the storage.
    void ReSet(int n) { Regrow(n); }
    void resize(int n) { Regrow(n); }
    // Releases the storage; the array becomes empty.
    void Clear();
    void RemoveAll() { Clear(); }
    void clear() { Clear(); }
    // Assigns v to every element in the present storage.
    CQV_INLINE void Fill(const T& v) {
        if constexpr (qvIsObjectElement<T>::value) {
            for (int i = 0; i < len; ++i) data[i] = v;
        } else {
            const T value = v;  // v may be one of the elements
            if (qvDetail::AllZeroBytes(value)) {
                // The C runtime's fill: the fastest way to clear memory.
                if (len > 0) std::memset(static_cast<void*>(data), 0, sizeof(T) * static_cast<std::size_t>(len));
                return;
            }
            T* p = data;
            for (int i = 0; i < len; ++i) p[i] = value;
        }
    }

    // Points element 0 at p; the block and the length stay as they are.
    void SetPointer(T* p) { data = p; }
    // Views n elements at p that the caller owns; the array never frees them.
    void SetDirectly(T* p, int n);
    // Views n elements of a from index start, sharing a's block (or a's
    // external memory). Throws BadParameters
    // "qvSimpleArray<T>::Set : out of range." when start is negative or the
    // range is not inside a, and (a check of this library's own, since a
    // negative length breaks every later use) when n is negative.
    void SetSubWindow(const qvSimpleArray& a, int start, int n);
    // Takes over a's storage without copying; a becomes empty.
    void Move(qvSimpleArray& a);
    // Exchanges the storage of the two arrays.
    void swap(qvSimpleArray& a);
    // Makes shared or external storage private by copying it into a fresh
    // block.
    void Copy() override;

    // Appends v (which may be an element of this array). The growth and
    // shrinking members below build a fresh block of the exact new length,
    // except that a block of raw elements (numbers, complex numbers, plane
    // vectors) that this array alone holds and sees whole is resized with
    // qvRealloc: often where it lies, for a large block by remapping its
    // pages, never with room to spare. A shared block, a window or external
    // memory is left to its other users and the array moves to a fresh
    // block. Exhausted memory leaves the array as it was.
    void Concat(T v);
    void push_back(const T& v);
    // Appends a's elements; a may be this array, which then doubles.
    void Concat(const qvSimpleArray& a);
    // Inserts v before element 0.
    void push_front(const T& v);
    // Inserts v before *it; returns the address of the new element. it may
    // be end(). Throws BadParameters "Out of range" when it lies outside
    // begin() to end(): a check of this library's own, where writing
    // outside the storage would follow.
    T* insert(T* it, const T& v);
    // Inserts v before element pos (0 to Len()); returns pos. Throws
    // BadParameters "Out of range" when pos is outside that range (the
    // library's own check, as for insert).
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
    // or the range is not inside the array: a check of this library's own,
    // where copying outside the storage would follow.
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
    CQV_INLINE virtual void New(int n) {
        T* block = qvNewWithRef<T>(n);
        InitMem(block);
        data = block;
        len = n;
    }
    // Makes p (a counted block or null) the held block: the block held so
    // far is released first, then p is stored and its count raised. Element
    // 0 and the length are not touched. When p is not a counted block it is
    // stored all the same, after the previous block was released, and
    // BadParameters "qvIncMemRef : memory must be allocated with
    // qvNewWithRef." is thrown: the array then holds p as an uncounted
    // block, which the release rule frees when the array lets go of it.
    void SetMem(void* const p) override;
    CQV_INLINE void Free() { qvDetail::ReleaseBlock<T>(mem); }

    // Changes the length to m keeping the first min(m, len) elements in a
    // private block of exactly m (see ReSet); m of 0 empties the array.
    // Throws BadParameters "qvNewWithRef : n <= 0 " when m is negative.
    void Regrow(int m);
    // Rebuilds the array in a private block of len + gap - skip
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
