// The value types' records: their doubles little-endian in order, read back
// bit for bit; a record cut anywhere is refused and leaves the value as it
// was.
#include <cstring>
#include <limits>
#include <type_traits>

#include "record_cuts.h"
#include "values_test_support.h"

namespace {

const double kTiny = std::numeric_limits<double>::denorm_min();

// A sample of each type, one of another value, and the doubles of the
// sample's record in order; signed zeros and subnormals must come back to
// the bit.
template <class V>
struct ValueRecord;

template <>
struct ValueRecord<qvComplex> {
    static qvComplex Sample() { return qvComplex(kTiny, -0.0); }
    static qvComplex Other() { return qvComplex(7, 8); }
    static std::vector<double> Record() { return {kTiny, -0.0}; }  // real part first
};

template <>
struct ValueRecord<qvVec2> {
    static qvVec2 Sample() { return qvVec2(-1.25, kTiny); }
    static qvVec2 Other() { return qvVec2(9, 10); }
    static std::vector<double> Record() { return {-1.25, kTiny}; }
};

template <>
struct ValueRecord<qvMatrix2x2> {
    static qvMatrix2x2 Sample() { return valuestest::Make2(1, -2, 3.5, -0.0); }
    static qvMatrix2x2 Other() { return valuestest::Make2(6, 6, 6, 6); }
    static std::vector<double> Record() { return {1, -2, 3.5, -0.0}; }  // row by row
};

// The bytes of a value, to compare values bit for bit.
template <class V>
std::vector<unsigned char> BytesOf(const V& v) {
    std::vector<unsigned char> b(sizeof(V));
    std::memcpy(b.data(), &v, sizeof(V));
    return b;
}

template <class V>
class ValueRecordBounds : public testing::Test {};

using ValueTypes = testing::Types<qvComplex, qvVec2, qvMatrix2x2>;
TYPED_TEST_SUITE(ValueRecordBounds, ValueTypes, cqvtest::TypeIndexNames);

}  // namespace

TYPED_TEST(ValueRecordBounds, CutRecordsAreRefusedAndWholeOnesRead) {
    using V = TypeParam;
    const V sample = ValueRecord<V>::Sample();
    cqvtest::RecordBytes want;
    for (double x : ValueRecord<V>::Record()) want.Double(x);
    const int size = want.Size();
    std::vector<unsigned char> rec(static_cast<std::size_t>(size) + 4, 0xEE);
    if constexpr (!std::is_same<V, qvComplex>::value) {  // the complex number has no qvMemSize
        EXPECT_EQ(qvMemSize(sample), size);
    }
    ASSERT_EQ(qvToMem(rec.data(), sample), size);
    want.bytes.resize(rec.size(), 0xEE);  // and nothing written past the record
    EXPECT_EQ(rec, want.bytes);
    rec.resize(static_cast<std::size_t>(size));

    V target = ValueRecord<V>::Other();
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return qvFromMem(p, n, target); },
        [&] { return BytesOf(target); });
    EXPECT_EQ(BytesOf(target), BytesOf(sample));
    V back = ValueRecord<V>::Other();
    EXPECT_EQ(qvFromMem(rec.data(), back), size);  // the reader that trusts the record
    EXPECT_EQ(BytesOf(back), BytesOf(sample));

    // The size needs no byte of the record, only enough of them.
    EXPECT_EQ(qvRecordSize(rec.data(), size + 5, target), size);
    CQV_EXPECT_BAD(qvRecordSize(rec.data(), size - 1, target), qvMsg::RecordTruncated);
}
