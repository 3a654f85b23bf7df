// qvMatrix3Diag<E>: the square tridiagonal (band) matrix and its direct
// solvers.
//
// Only the three central diagonals are stored, each as an ordinary strided
// vector: Up (element (i, i+1) = Up[i]), Diag ((i, i) = Diag[i]) and Down
// ((i+1, i) = Down[i]). Since they are vectors, the diagonals can be windows
// onto the storage of other vectors, of another tridiagonal matrix or of a
// dense matrix; writes then go to that storage until Copy() makes them
// private.
//
// The solvers are the classic non-pivoting ones: the forward-backward sweep
// (also for several right-hand sides at once), an elimination for
// pentadiagonal systems whose two outer diagonals are passed in, and the
// cyclic (periodic) variants of both, which solve the leading block and
// correct for the corner elements. Nothing tests a pivot: a zero pivot
// turns into infinities and NaNs in the solution.
//
// Where they lose accuracy. Without pivoting they are stable for diagonally
// dominant matrices, as the spline's are, and for few others:
//  - tiny pivots: a zero pivot gives NaN (((0, 1), (1, 1)) with f = (1, 2)),
//    and a tiny one ruins every unknown after it: ((1e-20, 1), (1, 1)) with
//    f = (1, 2) gives x = (0, 1) without a warning (true: (1, 1));
//  - the cyclic solvers also need the leading block of order n - 1 (n - 2
//    for the pentadiagonal one) to be regular and well conditioned: the
//    cyclic sweep gives NaN for ((0, 1, 1), (1, 2, 1), (1, 1, 2)), whose
//    solution for f = (1, 2, 3) is (1, 0, 1) and which GSL's cyclic solver
//    solves;
//  - badly scaled rows do no harm of their own (no row is compared with
//    another), and large orders none beyond the small pivots a matrix
//    happens to have: over 2000 random tridiagonal systems with elements
//    uniform in (-1, 1), the normwise backward error of the sweep reached
//    9e-14 at n = 10 and 5e-14 at n = 100, of the cyclic sweep 1.7e-13, where
//    partial pivoting stays below 2e-16.
// qvBandLUDecomposition (cqv/numeric/band_lu.h) is the accurate path: Gaussian
// elimination with partial pivoting on the band, for tridiagonal,
// pentadiagonal and cyclic systems alike, in time and storage linear in n.
//
// The only instance is qvMatrix3Diag<double>.
//
// Allocation failure throws qvErrNoMemory. "qvNewWithRef : n <= 0 " below
// ends in a blank; it is also what the members that would make an empty
// vector of a matrix of order 0 throw.
#ifndef CQV_NUMERIC_TRIDIAGONAL_H
#define CQV_NUMERIC_TRIDIAGONAL_H

#include "cqv/core/export.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"

// A square tridiagonal matrix, its three central diagonals stored as
// vectors, and its direct solvers.
template <class E>
class qvMatrix3Diag {
public:
    // Order 0: three empty diagonals.
    qvMatrix3Diag() {}
    // Order n in fresh blocks, values uninitialised. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when n is below 2 (the off-diagonals would
    // have no element).
    explicit qvMatrix3Diag(int n);
    // Shares the storage of the three vectors, taken as Up, Diag and Down.
    // Their lengths are not checked.
    qvMatrix3Diag(const qvVector<E>& up, const qvVector<E>& diag, const qvVector<E>& down);
    // Windows onto the three central diagonals of m: order min(rows, cols),
    // stride m.TabInColumn() + m.TabInLine(). Writes go into m.
    explicit qvMatrix3Diag(const qvMatrix<E>& m);
    // Shares the three diagonals of b.
    qvMatrix3Diag(const qvMatrix3Diag& b) = default;
    // Assigns the diagonals one by one (Up, Diag, Down) by the vector rule:
    // equal lengths write into the present storage.
    qvMatrix3Diag& operator=(const qvMatrix3Diag& b);
    // Releases the three diagonals.
    ~qvMatrix3Diag() = default;

    // As Set(n) unless the order already is n (then the values stay).
    void Init(int n);
    // Releases the storage of all three diagonals, then takes fresh storage
    // for order n: Up first, then Diag, then Down. Order 1 has empty
    // off-diagonals. Throws BadParameters "qvNewWithRef : n <= 0 " when n is
    // below 1, from the allocation of Up, once the old storage is released:
    // the matrix is then empty (order 0).
    void Set(int n);
    // Becomes a window onto the principal sub-block of b of order len that
    // starts at diagonal index start. Not checked against b.
    void Set(const qvMatrix3Diag& b, int start, int len);
    // Takes over b's diagonals; b is left with three empty ones.
    void Move(qvMatrix3Diag& b);
    // Gives every diagonal private contiguous storage.
    void Copy();
    // Sets every stored element to v.
    void Fill(const E& v);

    // The upper diagonal: element (i, i+1) is Up()[i].
    qvVector<E>& Up() { return up; }
    // The main diagonal: element (i, i) is Diag()[i].
    qvVector<E>& Diag() { return diag; }
    // The lower diagonal: element (i+1, i) is Down()[i].
    qvVector<E>& Down() { return down; }
    // The upper diagonal: element (i, i+1) is Up()[i].
    const qvVector<E>& Up() const { return up; }
    // The main diagonal: element (i, i) is Diag()[i].
    const qvVector<E>& Diag() const { return diag; }
    // The lower diagonal: element (i+1, i) is Down()[i].
    const qvVector<E>& Down() const { return down; }
    // The order n.
    int LineLen() const { return diag.Len(); }
    int ColumnLen() const { return diag.Len(); }
    // The transpose on the same storage: Up and Down trade places.
    qvMatrix3Diag T() const;
    // A dense n × n copy with zeros off the band.
    qvMatrix<E> GetMatrix() const;

    // Element (i, j) inside the band. Throws BadParameters
    // "qvMatrix3Diag: out of range" when (i, j) lies off the band; the
    // indices are not checked against the order.
    E& operator()(int i, int j) const;

    // Every stored element combined with s; positions off the band stay 0.
    void operator+=(const E& s);
    void operator-=(const E& s);
    void operator*=(const E& s);
    void operator/=(const E& s);
    // Adds (+=) or subtracts (-=) b diagonal by diagonal (Up, Diag, Down).
    // Throws BadParameters
    // "different length." when a pair of diagonals differ in length, leaving
    // the diagonals before it updated.
    void operator+=(const qvMatrix3Diag& b);
    void operator-=(const qvMatrix3Diag& b);
    // New tridiagonal matrices in private storage. The sums and differences
    // of two tridiagonal matrices throw BadParameters "different length."
    // when their orders differ.
    qvMatrix3Diag operator-() const;
    qvMatrix3Diag operator+(const E& s) const;
    qvMatrix3Diag operator-(const E& s) const;
    qvMatrix3Diag operator*(const E& s) const;
    qvMatrix3Diag operator/(const E& s) const;
    qvMatrix3Diag operator+(const qvMatrix3Diag& b) const;
    qvMatrix3Diag operator-(const qvMatrix3Diag& b) const;
    // Dense sums and differences with an n × n matrix. Throw BadParameters
    // "different size." when m is not n × n.
    qvMatrix<E> operator+(const qvMatrix<E>& m) const;
    qvMatrix<E> operator-(const qvMatrix<E>& m) const;
    // Products: with a dense matrix of n rows, with another tridiagonal
    // matrix of order n (both dense results), and with a column vector of
    // length n. Throw BadParameters "different size." when the matrix has
    // another number of rows or the other tridiagonal matrix another order,
    // and "different length." when the vector has another length
    // ("qvNewWithRef : n <= 0 " when both are empty).
    qvMatrix<E> operator*(const qvMatrix<E>& m) const;
    qvMatrix<E> operator*(const qvMatrix3Diag& b) const;
    qvColumnVector<E> operator*(const qvColumnVector<E>& x) const;

    // Solves A·x = f by the tridiagonal sweep, without pivoting (see the top
    // of this header for where that fails). x gets length n; it may be f
    // itself. Throws BadParameters "different size." when f's length is not
    // n, and "qvNewWithRef : n <= 0 " when the order is below 2, both before
    // x changes.
    void SolveEquationChaserMethod(qvColumnVector<E>& x, const qvColumnVector<E>& f) const;
    // Solves A·X = F column by column. X first gets F's size (by X.Init: a
    // new block when the size differs; F without columns empties X), then
    // each column is swept. Throws BadParameters "different size." when F
    // does not have n rows, and "qvNewWithRef : n <= 0 " when the order is
    // below 2; both only after X got F's size (its old block released when
    // the size differed), with X's elements unwritten.
    void SolveEquationChaserMethod(qvMatrix<E>& X, const qvMatrix<E>& F) const;
    // Solves the pentadiagonal system whose second superdiagonal is e
    // ((i, i+2) = e[i]) and second subdiagonal g ((i+2, i) = g[i]), without
    // pivoting (see the top of this header); e and g
    // must have at least n - 2 elements (not checked). Throws BadParameters
    // "different size." when f's length is not n, and
    // "invalid size : size < 3." when the order is below 3.
    void SolveEquationFactorizeMethod(const qvVector<E>& e, const qvVector<E>& g, qvColumnVector<E>& x,
                                      const qvColumnVector<E>& f) const;
    // Solves the cyclic tridiagonal system: this matrix with the corner
    // elements (0, n-1) = a and (n-1, 0) = b, by sweeps over the leading
    // block of order n - 1, which must be safe without pivoting (see the top
    // of this header). Throws BadParameters
    // "different size." when the order is below 3 or f's length is not n.
    void SolveEquationCycleChaserMethod(qvColumnVector<E>& x, const qvColumnVector<E>& f, const E& a,
                                        const E& b) const;
    // Solves the cyclic pentadiagonal system, by eliminations over the
    // leading block of order n - 2, which must be safe without pivoting (see
    // the top of this header): the pentadiagonal matrix of
    // SolveEquationFactorizeMethod with the corners (0, n-1) = c1,
    // (n-1, 0) = c2, (0, n-2) = c3, (1, n-1) = c4, (n-2, 0) = c5 and
    // (n-1, 1) = c6. Throws BadParameters "different size." when the order
    // is below 3 or f's length is not n, and "invalid size : size < 3." when
    // it is below 5, both before x changes; the two closing unknowns come
    // from the dense solver, so a singular closing system throws
    // "Система имеет не единственное решение." (qvMsg::SystemNotUnique, in
    // the Windows-1251 encoding).
    void SolveEquationCycleFactorizeMethod(const qvVector<E>& e, const qvVector<E>& g, const E& c1, const E& c2,
                                           const E& c3, const E& c4, const E& c5, const E& c6,
                                           qvColumnVector<E>& x, const qvColumnVector<E>& f) const;

    // Record: the vector records of Up, Diag and Down, one after the other.
    // MemSize is the record size of Diag plus twice that of Up: it assumes
    // Up and Down have the same length, which only a matrix assembled from
    // three vectors can break. MemSize and ToMem throw BadParameters
    // "Record size does not fit in 32 bits" when the record would be 2 GiB or
    // more (ToMem before writing anything).
    int MemSize() const;
    int ToMem(unsigned char* p) const;
    // Reads the three vector records into Up, Diag and Down (fresh blocks)
    // and returns the bytes read. All three counts are checked before
    // anything changes: Throws BadParameters "qvNewWithRef : n <= 0 " when a
    // count is negative, "Record size does not fit in 32 bits" when the
    // record would be 2 GiB or more, and
    // "qvMatrix3Diag::FromMem: the diagonals do not fit together" unless Up
    // and Down have one length and Diag has one element more (or all three
    // are empty). Trusts the counts: for untrusted bytes use
    // FromMem(p, available).
    int FromMem(unsigned char* p);
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, before anything changes.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

private:
    // A copy of this matrix in private storage.
    qvMatrix3Diag PrivateCopy() const;

    qvVector<E> up;
    qvVector<E> diag;
    qvVector<E> down;
};

// The element types of the tridiagonal matrix, for the declarations here and
// the instances in tridiagonal.cpp.
#define CQV_FOR_EACH_MATRIX3DIAG_TYPE(X) X(double)
#define CQV_DECLARE_MATRIX3DIAG(T) CQV_EXTERN_TEMPLATE(qvMatrix3Diag<T>)
CQV_FOR_EACH_MATRIX3DIAG_TYPE(CQV_DECLARE_MATRIX3DIAG)
#undef CQV_DECLARE_MATRIX3DIAG

#endif  // CQV_NUMERIC_TRIDIAGONAL_H
