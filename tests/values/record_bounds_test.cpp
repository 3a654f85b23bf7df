// Bounded reading of the value types' records: a record cut anywhere is
// refused and leaves the value as it was.
#include <cstring>

#include "record_cuts.h"

namespace {

template <class V>
struct ValueRecord;

template <>
struct ValueRecord<qvComplex> {
    static constexpr int kSize = 16;
    static qvComplex Sample() { return qvComplex(1.5, -2.25); }
    static qvComplex Other() { return qvComplex(7, 8); }
};

template <>
struct ValueRecord<qvVec2> {
    static constexpr int kSize = 16;
    static qvVec2 Sample() { return qvVec2(-3.5, 0.125); }
    static qvVec2 Other() { return qvVec2(9, 10); }
};

template <>
struct ValueRecord<qvMatrix2x2> {
    static constexpr int kSize = 32;
    static qvMatrix2x2 Sample() {
        qvMatrix2x2 m;
        m(0, 0) = 1;
        m(0, 1) = -2;
        m(1, 0) = 3.5;
        m(1, 1) = 1e300;
        return m;
    }
    static qvMatrix2x2 Other() {
        qvMatrix2x2 m;
        m(0, 0) = m(0, 1) = m(1, 0) = m(1, 1) = 6;
        return m;
    }
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
    std::vector<unsigned char> rec(ValueRecord<V>::kSize);
    ASSERT_EQ(qvToMem(rec.data(), sample), ValueRecord<V>::kSize);

    V target = ValueRecord<V>::Other();
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return qvFromMem(p, n, target); },
        [&] { return BytesOf(target); });
    EXPECT_EQ(BytesOf(target), BytesOf(sample));

    // The size needs no byte of the record, only enough of them.
    EXPECT_EQ(qvRecordSize(rec.data(), ValueRecord<V>::kSize + 5, target), ValueRecord<V>::kSize);
    CQV_EXPECT_BAD(qvRecordSize(rec.data(), ValueRecord<V>::kSize - 1, target), qvMsg::RecordTruncated);
}
