// qvRoundArrayND: a cyclic cursor over the positions of an N-dimensional
// array.
//
// The cursor's elements are its current index, one int per dimension; beside
// them it keeps the element offset of that index, Σ_d index[d]·tab[d], so
// that qvArrayND<T>::operator[] reads the element with no arithmetic. It
// steps through the positions in walk order (dimension 0 fastest) and wraps
// from the last position to the first and back, reporting the wrap.
//
// The cursor does not own the shape: it refers to an extent table and a
// stride table (an array's Range() and Tab(), or the caller's own) that must
// outlive it and keep their lengths. When the array's shape changes, move the
// cursor with ToBegin, ToEnd or SetPos before using its offset again.
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_NDARRAY_ROUND_ARRAY_ND_H
#define CQV_NDARRAY_ROUND_ARRAY_ND_H

#include "cqv/arrays/array.h"
#include "cqv/core/export.h"
#include "cqv/ndarray/array_nd_abs.h"

// A cyclic cursor over the positions of an N-dimensional array: the index
// of every dimension and the element offset of that index.
class CQV_API qvRoundArrayND : public qvArray<int> {
public:
    // At the first position of a's shape (index all zeros, offset 0),
    // referring to a's extents and strides. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when a has no dimensions.
    explicit qvRoundArrayND(const qvArrayNDAbs& a);
    // At the first position of the shape given by the two tables, which it
    // refers to. Throws BadParameters "qvNewWithRef : n <= 0 " for an empty
    // range.
    qvRoundArrayND(const qvArray<int>& range, const qvArray<int>& tab);
    // A private copy of c's index, referring to the same tables, at the same
    // offset.
    qvRoundArrayND(const qvRoundArrayND& c);
    // Becomes a copy of c as the copy constructor makes it.
    qvRoundArrayND& operator=(const qvRoundArrayND& c);
    // Releases the index; the tables referred to stay.
    ~qvRoundArrayND() override;

    // The first position: index all zeros, offset 0.
    void ToBegin();
    // The last position: index range[d] - 1 in every dimension. Throws
    // BadParameters "Different range" when the tables differ in length and
    // "Array length is zero." when both are empty (the cursor is unchanged
    // then).
    void ToEnd();
    // Moves to the index idx. Throws BadParameters, checked in this order:
    // "qvRoundArrayND : Out of range." for a negative entry, "Different
    // range" when idx has another length than the extents, "qvRoundArrayND :
    // Out of range." for an entry not below its extent, then "Different
    // range" when the strides have another length and "Array length is
    // zero." when there are none; the cursor is unchanged whenever it throws.
    void SetPos(qvArray<int>& idx);
    // The element offset of the current index.
    int GetPos() const { return pos; }

    // The next position in walk order. Returns 1, or 0 when it wrapped from
    // the last position to the first.
    int operator++();
    // The previous position. Returns 1, or 0 when it wrapped from the first
    // position to the last.
    int operator--();

private:
    const qvArray<int>* range;  // the extents, not owned
    const qvArray<int>* tab;    // the strides, not owned
    int pos;                    // Σ_d index[d]·tab[d]
};

#endif  // CQV_NDARRAY_ROUND_ARRAY_ND_H
