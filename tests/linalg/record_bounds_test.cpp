// Bounded reading of the vector and matrix records, and record sizes that do
// not fit in 32 bits.
#include <climits>
#include <cstdint>

#include "record_cuts.h"

using cqvtest::RecordBytes;
using cqvtest::StateOf;

namespace {

template <class E>
E ValueAt(int i) {
    if constexpr (std::is_same<E, qvComplex>::value) {
        return qvComplex(i, 0.5 - i);
    } else if constexpr (std::is_same<E, double>::value) {
        return 1.5 * i - 2;
    } else {
        return E(i, -i, 0.25 * i);
    }
}

template <class E>
qvColumnVector<E> VectorAt(int n, int from) {
    qvColumnVector<E> v(n);
    for (int i = 0; i < n; ++i) v[i] = ValueAt<E>(from + i);
    return v;
}

template <class E>
qvMatrix<E> MatrixAt(int rows, int cols, int from) {
    qvMatrix<E> m(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) m(i, j) = ValueAt<E>(from + i * cols + j);
    return m;
}

template <class E>
class LinalgRecordBounds : public testing::Test {};

using ElementTypes = testing::Types<double, qvComplex, qvTVec3<double>>;
TYPED_TEST_SUITE(LinalgRecordBounds, ElementTypes, cqvtest::TypeIndexNames);

}  // namespace

TYPED_TEST(LinalgRecordBounds, CutVectorRecordsLeaveTheVectorAsItWas) {
    using E = TypeParam;
    const std::vector<unsigned char> rec = cqvtest::RecordOf(VectorAt<E>(3, 0));

    // A strided window (every second element of another vector): a whole
    // record gives it a fresh block, a cut one leaves both alone.
    qvColumnVector<E> viewed = VectorAt<E>(6, 10), window;
    window.Set(viewed, 0, 3, 2);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return window.FromMem(p, n); },
        [&] { return std::make_tuple(StateOf(window), window.Tab(), StateOf(viewed), cqvtest::Holders(viewed)); });
    EXPECT_EQ(cqvtest::RecordOf(window), rec);
    EXPECT_EQ(std::make_pair(window.Tab(), cqvtest::Holders(viewed)), std::make_pair(1, 1));
    EXPECT_EQ(cqvtest::RecordOf(viewed), cqvtest::RecordOf(VectorAt<E>(6, 10)));
    EXPECT_EQ(qvRecordSize(rec.data(), static_cast<int>(rec.size()), window), static_cast<int>(rec.size()));
}

TYPED_TEST(LinalgRecordBounds, CutMatrixRecordsLeaveTheMatrixAsItWas) {
    using E = TypeParam;
    for (const auto& shape : {std::make_pair(2, 3), std::make_pair(0, 0), std::make_pair(1, 1)}) {
        const std::vector<unsigned char> rec =
            shape.first == 0 ? RecordBytes().Int(0).Int(0).bytes
                             : cqvtest::RecordOf(MatrixAt<E>(shape.first, shape.second, 0));
        qvMatrix<E> target = MatrixAt<E>(3, 2, 40);
        qvMatrix<E> corner;
        corner.Set(target, 1, 0, 2, 2);
        cqvtest::ExpectEveryCutRefused(
            rec, [&](const unsigned char* p, int n) { return corner.FromMem(p, n); },
            [&] { return std::make_pair(StateOf(corner), StateOf(target)); });
        EXPECT_EQ(std::make_pair(corner.ColumnLen(), corner.LineLen()),
                  shape.first == 0 ? std::make_pair(0, 0) : shape);
        EXPECT_EQ(cqvtest::RecordOf(target), cqvtest::RecordOf(MatrixAt<E>(3, 2, 40)));
    }
}

TYPED_TEST(LinalgRecordBounds, SizesTheRecordCannotDescribeAreRefused) {
    using E = TypeParam;
    const int width = static_cast<int>(sizeof(E));
    qvMatrix<E> m = MatrixAt<E>(2, 2, 0);
    qvColumnVector<E> v = VectorAt<E>(2, 0);
    const auto before = std::make_pair(StateOf(m), StateOf(v));

    // 65536 × 65536 elements: the product of the two counts wraps to 0 in
    // 32 bits.
    const RecordBytes square = RecordBytes().Int(65536).Int(65536);
    CQV_EXPECT_BAD(m.FromMem(const_cast<unsigned char*>(square.bytes.data())), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(m.FromMem(square.bytes.data(), 8), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(m.FromMem(RecordBytes().Int(3).Int(-1).bytes.data(), 8), qvMsg::NewWithRefNonPositive);
    // 2 x 0 and 0 x 2 describe no matrix: the bounded reader refuses them,
    // the unbounded one reads the empty matrix, which writes 0 x 0.
    CQV_EXPECT_BAD(m.FromMem(RecordBytes().Int(2).Int(0).bytes.data(), 8), qvMsg::MatrixRecordOneSizeZero);
    CQV_EXPECT_BAD(m.FromMem(RecordBytes().Int(0).Int(2).bytes.data(), 8), qvMsg::MatrixRecordOneSizeZero);
    const RecordBytes largest = RecordBytes().Int(1).Int((INT_MAX - 8) / width);
    CQV_EXPECT_BAD(m.FromMem(largest.bytes.data(), 8), qvMsg::RecordTruncated);

    const RecordBytes longVector = RecordBytes().Int((INT_MAX - 4) / width + 1);
    CQV_EXPECT_BAD(v.FromMem(const_cast<unsigned char*>(longVector.bytes.data())), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(v.FromMem(longVector.bytes.data(), 4), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(v.FromMem(RecordBytes().Int(-2).bytes.data(), 4), qvMsg::NewWithRefNonPositive);
    EXPECT_TRUE(std::make_pair(StateOf(m), StateOf(v)) == before);

    // Stride 0 lets one element stand for any number of them: the 2^28
    // doubles of a 2 GiB record, or a 65536 × 65536 matrix.
    E one = ValueAt<E>(1);
    qvColumnVector<E> repeated;
    repeated.SetDirectly(&one, (INT_MAX - 4) / width, 0);
    EXPECT_EQ(repeated.MemSize(), 4 + (INT_MAX - 4) / width * width);
    repeated.SetDirectly(&one, (INT_MAX - 4) / width + 1, 0);
    cqvtest::ExpectNoRecord(repeated);
    qvMatrix<E> flat;
    flat.SetDirectly(&one, 65536, 65536, 0, 0);
    cqvtest::ExpectNoRecord(flat);
}
