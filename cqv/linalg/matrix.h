// qvMatrix<E>: the dense matrix, a strided view onto a counted block.
//
// Element (i, j) lies at data + i·TabInColumn() + j·TabInLine(), so a matrix
// is its own row-major storage or a window onto part of another matrix (a
// sub-matrix, a transpose); rows and columns come out as vectors that share
// the elements. Matrices the library makes are row-major and contiguous.
//
// Besides element-wise arithmetic and the products with matrices and vectors
// it offers three direct solvers built on one elimination scheme with
// partial pivoting through a table of row pointers: Det, Inverse and
// SolveEquationGaussMethod. Every result element is computed in a fixed
// order of floating-point operations (sums run in index order), so results
// do not depend on the shape of the storage.
//
// Where the three solvers lose accuracy. They follow the library's classic
// elimination to the bit, and it is partial pivoting only at its first
// step: every row it updates is divided by its element e in the pivot
// column (the row becomes (1/e)·row - pivot row), so each later pivot search
// compares rescaled rows and may pick a pivot that is tiny beside the rest
// of its column; Det multiplies every pivot and every e into one running
// product; only an exactly zero pivot is noticed. Measured against partial
// pivoting by magnitude (Eigen's PartialPivLU; LAPACK's xGESV does the same)
// in the normwise backward error ||b - A·x||∞ / (||A||∞·||x||∞ + ||b||∞):
//  - badly scaled rows: ((1, -2, -7), (-2, 7, 7), (1e-8, 0, -5)) with
//    b = (1, 1, 1), condition number 57 (1-norm), gives 6.5e-10 against
//    9.5e-18, and Inverse is off by 8e-9 in elements of size 2;
//  - elements spanning 10^±150, n = 3 to 200: backward errors up to 1, or
//    the "no unique solution" text for a regular matrix;
//  - tiny pivots: ((1, 1), (1e-310, 1)) gives NaN from the solver and a
//    matrix of NaN from Inverse, without an exception, and
//    ((1, 1), (1e-300, 1e10)) with b = (1 + 1e-10, 1) gives x = (1, 0)
//    silently (true: (1, 1e-10));
//  - large orders: on random matrices with elements uniform in (-1, 1) the
//    backward error is about 40 times that of partial pivoting at n = 200 to
//    500 and the forward error up to 100 times (1.8e-11 against 2.2e-13 at
//    n = 200);
//  - Det: ((1e-300, 1), (1e-300, 2)) gives 0 (true: 1e-300), and the
//    running product overflows to ±infinity on random (-1, 1) matrices from
//    n ≈ 160 on, where the determinant is about 1e102.
// qvLUDecomposition (cqv/linalg/lu_decomposition.h) is the accurate path:
// true partial pivoting without rescaling, substitutions that divide by the
// pivots, a determinant whose exponent is kept apart, a condition estimate,
// and an exception instead of NaN for a singular matrix. It solves every
// example above to working accuracy.
//
// Instances exist for double, qvComplex and qvTVec3<double>.
//
// Allocation failure throws qvErrNoMemory, also for a size whose element
// count exceeds the int range. "qvNewWithRef : n <= 0 " below ends in a
// blank. The solvers' two texts are Russian and thrown in the Windows-1251
// encoding: "Система не совместна." (qvMsg::SystemNotCompatible, the system
// is inconsistent) and "Система имеет не единственное решение."
// (qvMsg::SystemNotUnique, the system has no unique solution).
#ifndef CQV_LINALG_MATRIX_H
#define CQV_LINALG_MATRIX_H

#include "cqv/core/export.h"
#include "cqv/core/parray.h"
#include "cqv/linalg/vector.h"

// A dense matrix of E, element (i, j) at data + i·TabInColumn() +
// j·TabInLine(), in a counted block that windows, rows and columns share.
template <class E>
class qvMatrix : public qvPArray {
public:
    // An empty matrix.
    qvMatrix() : data(nullptr), tabInLine(0), tabInColumn(0), lineLen(0), columnLen(0) {}
    // A fresh row-major block of rows × cols uninitialised elements; a zero
    // size gives an empty matrix. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when the other size is negative (a count
    // below 1), and also when both are (this library's own check: their
    // positive product would give a matrix of negative sizes).
    qvMatrix(int rows, int cols);
    // A window on all of m.
    qvMatrix(const qvMatrix& m);
    // Releases the held block.
    ~qvMatrix() override;

    // Element (0, 0).
    CQV_INLINE void* Pointer() const override { return data; }
    // The extent above element (0, 0), in elements: 1 plus (len - 1)·tab for
    // each stride of 0 or more. The pointer checks of qvPArray measure the
    // storage by it.
    int PositiveLength() const override;
    // The extent below element (0, 0), in elements: (len - 1)·tab for each
    // negative stride (0 or less). As for vectors, the pointer checks of
    // qvPArray never fail below the data.
    int NegativeLength() const override;
    // Size of one element in bytes.
    CQV_INLINE int GetSizeOfType() const override { return static_cast<int>(sizeof(E)); }
    // Replaces shared or external storage by a private row-major copy.
    void Copy() override;

    // The size of the record: rows and columns (int32 each), then the
    // elements row by row. MemSize and ToMem throw BadParameters
    // "Record size does not fit in 32 bits" when the record would be 2 GiB
    // or more (windows with stride 0 can claim any size), ToMem before
    // writing anything.
    int MemSize() const override;
    // Writes the record at p; returns its size.
    int ToMem(unsigned char* p) const override;
    // Releases the block, then reads a record into a fresh row-major block
    // (empty for a zero size), whatever the present sizes. Throws
    // BadParameters "Record size does not fit in 32 bits" when the record
    // would be 2 GiB or more, before anything changes, and
    // "qvNewWithRef : n <= 0 " for sizes the constructor refuses, once the
    // block is released: the matrix is then empty. Trusts the sizes: for
    // untrusted bytes use FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, and
    // "qvMatrix::FromMem: one size is zero, the other is not" for a record
    // no matrix writes (an empty matrix is 0 x 0, so the bytes would not
    // come back as read), before anything changes.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

    // Releases the block, then a fresh row-major block as the constructor.
    // Throws BadParameters "qvNewWithRef : n <= 0 " for sizes the
    // constructor refuses, once the block is released: the matrix is then
    // empty.
    void Set(int rows, int cols);
    // As Set, unless both sizes already agree: then nothing changes. Throws
    // as Set.
    void Init(int rows, int cols);
    // Views external memory with the given sizes and strides.
    void SetDirectly(E* p, int rows, int cols, int tabInColumn, int tabInLine);
    // A window on the rows × cols sub-matrix of m whose element (0, 0) is
    // m(row, col), with m's strides. Not checked against m.
    void Set(const qvMatrix& m, int row, int col, int rows, int cols);
    // Takes over m's storage when m is not empty (m becomes empty);
    // otherwise this becomes empty and m stays.
    void Move(qvMatrix& m);

    // Element (i, j), without checks.
    E& operator()(int i, int j) const { return data[i * tabInColumn + j * tabInLine]; }
    // Element (0, 0)'s address.
    E* GetPointer() const { return data; }
    // Number of columns (elements in a row).
    int LineLen() const { return lineLen; }
    // Number of rows (elements in a column).
    int ColumnLen() const { return columnLen; }
    // The stride within a row: from element (i, j) to (i, j + 1).
    int TabInLine() const { return tabInLine; }
    // The stride within a column: from element (i, j) to (i + 1, j).
    int TabInColumn() const { return tabInColumn; }

    // v becomes a window on row i. Not checked.
    void GetLine(qvLineVector<E>& v, int i) const;
    // v becomes a window on column j. Not checked.
    void GetColumn(qvColumnVector<E>& v, int j) const;

    // Brings this matrix to m's size (Init) and copies m's elements; equal
    // sizes write into the present storage.
    void operator=(const qvMatrix& m);

    // Each element e becomes e + s, e - s, e·s, e / s.
    void operator+=(const E& s);
    void operator-=(const E& s);
    void operator*=(const E& s);
    void operator/=(const E& s);
    // Each element becomes itself plus (+=) or minus (-=) m's element at the
    // same place. Throw BadParameters "different size." when the sizes
    // differ.
    void operator+=(const qvMatrix& m);
    void operator-=(const qvMatrix& m);
    // New row-major matrices: each element combined with s, or negated.
    qvMatrix operator+(const E& s) const;
    qvMatrix operator-(const E& s) const;
    qvMatrix operator*(const E& s) const;
    qvMatrix operator/(const E& s) const;
    qvMatrix operator-() const;
    // Element-wise sums and differences. Throw BadParameters
    // "different size." when the sizes differ.
    qvMatrix operator+(const qvMatrix& m) const;
    qvMatrix operator-(const qvMatrix& m) const;
    // The product this·b; element (i, j) sums a(i, k)·b(k, j) over k in
    // order. Throws BadParameters "different size." when this matrix's
    // number of columns differs from b's number of rows.
    qvMatrix operator*(const qvMatrix& b) const;
    // Matrix times column: result[i] sums a(i, j)·v[j] over j in order.
    // Throws BadParameters "different length." when v's length differs from
    // the number of columns, and "qvNewWithRef : n <= 0 " when both are
    // empty.
    qvColumnVector<E> operator*(const qvColumnVector<E>& v) const;

    // Zeros with ones on the main diagonal, for any shape.
    void SetE();
    // r becomes AᵀA (n × n with n the number of columns), symmetric.
    void SelfTMulSelf(qvMatrix& r) const;
    // The determinant by row-pointer elimination of a private copy; zero for
    // a singular matrix. Inexact for badly scaled matrices, and its running
    // product overflows or underflows at large orders even when the
    // determinant is representable (see the top of this header;
    // qvLUDecomposition::Det keeps the exponent apart). Throws BadParameters
    // "Det: Matrix must be square." when the matrix is not square, and
    // "qvNewWithRef : n <= 0 " when it is empty.
    E Det() const;
    // The inverse by row-pointer elimination of a private copy. Loses digits
    // on badly scaled matrices and gives NaN for some regular ones with tiny
    // pivots (see the top of this header; qvLUDecomposition::Inverse does
    // not). Throws BadParameters "Matrix must be square." when the matrix is
    // not square,
    // "qvNewWithRef : n <= 0 " when it is empty, and
    // "Система имеет не единственное решение." (qvMsg::SystemNotUnique) when
    // it is singular.
    qvMatrix Inverse() const;
    // Solves this·x = b by row-pointer elimination, using this matrix and b
    // as work space (both are overwritten). x gets one element per row.
    // Backward errors far above those of partial pivoting for badly scaled
    // rows, tiny pivots and large orders, NaN or silently wrong solutions in
    // some regular cases (see the top of this header;
    // qvLUDecomposition::Solve solves them).
    // Throws BadParameters "different size." when b's length differs from
    // the number of rows, and "Система не совместна."
    // (qvMsg::SystemNotCompatible) when there are more rows than columns,
    // both before anything changes; "qvNewWithRef : n <= 0 " when the matrix
    // is empty; and "Система имеет не единственное решение."
    // (qvMsg::SystemNotUnique) when a pivot is zero, after the elimination,
    // with x's elements from the last one up to that row already written
    // (unless x shares this matrix's or b's storage).
    void SolveEquationGaussMethod(qvColumnVector<E>& x, qvColumnVector<E>& b);

protected:
    // Makes p (a counted block or null) the held block: the block held so
    // far is released first, then p is stored and its count raised; the
    // other fields stay. When p is not a counted block it is stored all the
    // same, after the previous block was released, and BadParameters
    // "qvIncMemRef : memory must be allocated with qvNewWithRef." is thrown:
    // the matrix then holds p as an uncounted block, which the release rule
    // frees when the matrix lets go of it. (The members that make this
    // matrix a window take their reference before releasing, instead.)
    void SetMem(void* const p) override;
    void Free();
    // A fresh row-major block of rows × cols without releasing the old one.
    // Throws as the constructor.
    void New(int rows, int cols);

private:
    // Free, and the matrix becomes empty.
    void MakeEmpty();
    // Becomes a view with the given fields, holding a reference to block.
    void SetWindow(void* block, E* first, int rows, int cols, int tabColumn, int tabLine);
    // The inversion worker on a private row-major copy; destroys it.
    qvMatrix Inverse1();

    E* data;
    int tabInLine;
    int tabInColumn;
    int lineLen;
    int columnLen;
};

#define CQV_DECLARE_MATRIX(T) CQV_EXTERN_TEMPLATE(qvMatrix<T>)
CQV_FOR_EACH_LINALG_TYPE(CQV_DECLARE_MATRIX)
#undef CQV_DECLARE_MATRIX

// Arrays of matrices exist for these element types.
#define CQV_FOR_EACH_MATRIX_ARRAY_TYPE(X) X(double)
#define CQV_DECLARE_MATRIX_ARRAY(T) CQV_EXTERN_TEMPLATE(qvSimpleArray<qvMatrix<T>>)
CQV_FOR_EACH_MATRIX_ARRAY_TYPE(CQV_DECLARE_MATRIX_ARRAY)
#undef CQV_DECLARE_MATRIX_ARRAY

#endif  // CQV_LINALG_MATRIX_H
