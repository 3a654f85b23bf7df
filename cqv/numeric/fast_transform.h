// Fast cosine transforms for lengths that are powers of two.
//
// qvFCTT precomputes the cosine tables for n = 2^m and owns a work buffer of
// n doubles, so a transform allocates nothing. FCT is the type-II DCT scaled
// so that y0 = (√2/n)·Σ x_i and y_k = (2/n)·Σ x_i·cos(π(2i+1)k/(2n)) —
// √(2/n) times the orthonormal transform — and IFCT is its exact inverse
// (the type-III DCT). Both work in place, in one or two dimensions.
//
// Allocation failure (of the tables and buffer, when an object is made or
// assigned) throws qvErrNoMemory, and leaves an assigned object as it was.
// Nothing else throws: lengths and levels are not checked.
#ifndef CQV_NUMERIC_FAST_TRANSFORM_H
#define CQV_NUMERIC_FAST_TRANSFORM_H

#include "cqv/core/export.h"

// floor(log2 v) for v ≥ 1: the number of halvings that bring v to 1;
// -1 for v < 1.
CQV_API int qvIntLog2(int v);

// Fast cosine transforms of n = 2^m values, one and two dimensional, with
// the cosine tables and a work buffer made once.
class CQV_API qvFCTT {
public:
    // Tables for the levels 0 .. m-1 and a work buffer of 2^m doubles
    // (m ≤ 0: no tables and a buffer of one double).
    explicit qvFCTT(int m);
    // A copy owns tables and a buffer of its own.
    qvFCTT(const qvFCTT& t);
    // Makes this object an independent copy of t (tables and buffer are
    // copied, never shared, so each object releases its own once).
    qvFCTT& operator=(const qvFCTT& t);
    // Releases the tables and the buffer.
    ~qvFCTT();

    // Forward transform of x[0 .. n-1] in place; n = 2^m, m the object's
    // level count.
    void FCT(double* x, int m, int n);
    // Inverse transform of x[0 .. n-1] in place.
    void IFCT(double* x, int n);
    // Forward transform of the n×n row-major array a in place.
    void FCT2D(double* a, int m, int n);
    // Inverse two-dimensional transform in place.
    void IFCT2D(double* a, int n);

private:
    void Build(int levels);
    void Release();

    int m;               // number of levels
    double* work;        // 2^m doubles
    double** halfSecant; // table l: 2^l entries 0.5 / cos((2j+1)π/(4·2^l))
    double** cosine;     // table l: 2^l entries cos((2j+1)π/(4·2^l))
};

// The transform with its size remembered: calls take only the data.
class CQV_API qvFCTTC : public qvFCTT {
public:
    // The tables of qvFCTT(m), for n = 2^m values (1 for m ≤ 0).
    explicit qvFCTTC(int m);

    // Forward transform of x[0 .. n-1] in place.
    CQV_INLINE void FCT(double* x) { qvFCTT::FCT(x, m, n); }
    // Inverse transform of x[0 .. n-1] in place.
    CQV_INLINE void IFCT(double* x) { qvFCTT::IFCT(x, n); }
    // Forward transform of the n×n row-major array a in place.
    CQV_INLINE void FCT2D(double* a) { qvFCTT::FCT2D(a, m, n); }
    // Inverse two-dimensional transform of the n×n array a in place.
    CQV_INLINE void IFCT2D(double* a) { qvFCTT::IFCT2D(a, n); }

private:
    int n;  // 2^m
    int m;
};

#endif  // CQV_NUMERIC_FAST_TRANSFORM_H
