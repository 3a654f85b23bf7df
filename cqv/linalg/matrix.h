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

template <class E>
class qvMatrix : public qvPArray {
public:
    // An empty matrix.
    qvMatrix() : data(nullptr), tabInLine(0), tabInColumn(0), lineLen(0), columnLen(0) {}
    // A fresh row-major block of rows × cols uninitialised elements; a zero
    // size gives an empty matrix. Throws BadParameters
    // "qvNewWithRef : n <= 0 " when a size is negative.
    qvMatrix(int rows, int cols);
    // A window on all of m.
    qvMatrix(const qvMatrix& m);
    // Releases the held block.
    ~qvMatrix() override;

    // Element (0, 0) and the extents around it, in elements: above, 1 plus
    // (len - 1)·tab for each stride of 0 or more; below, (len - 1)·tab for
    // each negative stride. The pointer checks of qvPArray measure the
    // storage by these, so, as for vectors, they never fail below the data.
    CQV_INLINE void* Pointer() const override { return data; }
    int PositiveLength() const override;
    int NegativeLength() const override;
    CQV_INLINE int GetSizeOfType() const override { return static_cast<int>(sizeof(E)); }
    // Replaces shared or external storage by a private row-major copy.
    void Copy() override;

    // Record: rows and columns (int32 each), then the elements row by row.
    // MemSize and ToMem throw BadParameters
    // "Record size does not fit in 32 bits" when the record would be 2 GiB
    // or more (windows with stride 0 can claim any size), ToMem before
    // writing anything.
    int MemSize() const override;
    int ToMem(unsigned char* p) const override;
    // Reads a record into a fresh row-major block (empty for a zero size).
    // Throws BadParameters "qvNewWithRef : n <= 0 " when a size is negative
    // and "Record size does not fit in 32 bits" when the record would be
    // 2 GiB or more, before anything changes. Trusts the sizes: for
    // untrusted bytes use FromMem(p, available).
    int FromMem(unsigned char* p) override;
    // The same reading from untrusted bytes: looks at no byte at or beyond
    // p + available. Throws as FromMem(p), and BadParameters
    // "Record is longer than the bytes available" when the record claims
    // more than available bytes, before anything changes.
    int FromMem(const unsigned char* p, int available);
    // The size of the record at p, which may be read up to p + available;
    // throws as FromMem(p, available).
    static int RecordSize(const unsigned char* p, int available);

    // Releases the block, then a fresh row-major block as the constructor.
    // Throws BadParameters "qvNewWithRef : n <= 0 " when a size is
    // negative, before anything changes.
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

    // Element access without checks.
    E& operator()(int i, int j) const { return data[i * tabInColumn + j * tabInLine]; }
    E* GetPointer() const { return data; }
    // Number of columns (elements in a row) and of rows.
    int LineLen() const { return lineLen; }
    int ColumnLen() const { return columnLen; }
    // Strides within a row and within a column.
    int TabInLine() const { return tabInLine; }
    int TabInColumn() const { return tabInColumn; }

    // v becomes a window on row i, or on column j. Not checked.
    void GetLine(qvLineVector<E>& v, int i) const;
    void GetColumn(qvColumnVector<E>& v, int j) const;

    // Brings this matrix to m's size (Init) and copies m's elements; equal
    // sizes write into the present storage.
    void operator=(const qvMatrix& m);

    // Each element e becomes e + s, e - s, e·s, e / s.
    void operator+=(const E& s);
    void operator-=(const E& s);
    void operator*=(const E& s);
    void operator/=(const E& s);
    // Element-wise with a matrix of the same size. Throw BadParameters
    // "different size." when the sizes differ.
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
    // a singular matrix. Throws BadParameters "Det: Matrix must be square."
    // when the matrix is not square, and "qvNewWithRef : n <= 0 " when it is
    // empty.
    E Det() const;
    // The inverse by row-pointer elimination of a private copy. Throws
    // BadParameters "Matrix must be square." when the matrix is not square,
    // "qvNewWithRef : n <= 0 " when it is empty, and
    // "Система имеет не единственное решение." (qvMsg::SystemNotUnique) when
    // it is singular.
    qvMatrix Inverse() const;
    // Solves this·x = b by row-pointer elimination, using this matrix and b
    // as work space (both are overwritten). x gets one element per row.
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
    // Hold and release the block by the rule of cqv/core/counted_block.h;
    // the other fields stay. SetMem throws BadParameters
    // "qvIncMemRef : memory must be allocated with qvNewWithRef." when p is
    // not a counted block.
    void SetMem(void* const p) override;
    void Free();
    // A fresh row-major block of rows × cols without releasing the old one.
    // Throws BadParameters "qvNewWithRef : n <= 0 " when a size is negative.
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
