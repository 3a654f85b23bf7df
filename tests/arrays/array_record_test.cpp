// The arithmetic array's storage record: a little-endian int32 count, then
// the element records, byte for byte.
#include "cqv_test.h"

#include <vector>

#include "array_test_support.h"

using namespace arraytest;

namespace {

using Bytes = std::vector<unsigned char>;

// Expects the record of a to be exactly want, written in MemSize bytes and
// read back by FromMem into a fresh array.
template <class T>
void ExpectRecord(const qvArray<T>& a, std::initializer_list<Bytes> want) {
    Bytes expected;
    for (const Bytes& part : want) expected.insert(expected.end(), part.begin(), part.end());
    const int size = a.MemSize();
    EXPECT_EQ(static_cast<std::size_t>(size), expected.size());
    Bytes out(expected.size() + 8, 0xEE);
    EXPECT_EQ(a.ToMem(out.data()), size);
    expected.resize(out.size(), 0xEE);  // and nothing written past the record
    EXPECT_EQ(out, expected);
    qvArray<T> back;
    EXPECT_EQ(back.FromMem(out.data()), size);
    EXPECT_EQ(Items(back), Items(a));
}

// Little-endian images of the doubles used below.
const Bytes kOne = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
const Bytes kTwo = {0, 0, 0, 0, 0, 0, 0, 0x40};
const Bytes kMinusOne = {0, 0, 0, 0, 0, 0, 0xF0, 0xBF};

}  // namespace

TEST(ArrayRecord, BytesOfEachElementKindRoundTrip) {
    ExpectRecord(qvArray<double>(), {{0, 0, 0, 0}});
    ExpectRecord(A<double>({1, 2}), {{2, 0, 0, 0}, kOne, kTwo});
    ExpectRecord(A<float>({1}), {{1, 0, 0, 0, 0, 0, 0x80, 0x3F}});
    ExpectRecord(A<int>({0x01020304, -2}), {{2, 0, 0, 0, 4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}});
    ExpectRecord(A<short>({-2, 0x1234}), {{2, 0, 0, 0, 0xFE, 0xFF, 0x34, 0x12}});
    ExpectRecord(A<unsigned short>({0xABCD}), {{1, 0, 0, 0, 0xCD, 0xAB}});
    ExpectRecord(A<unsigned char>({0xAB, 7}), {{2, 0, 0, 0, 0xAB, 7}});
    ExpectRecord(From<char>({'h', 'i'}), {{2, 0, 0, 0, 'h', 'i'}});
    ExpectRecord(Complexes({{1, 2}}), {{1, 0, 0, 0}, kOne, kTwo});
    ExpectRecord(Vec2s({{2, -1}, {1, 1}}), {{2, 0, 0, 0}, kTwo, kMinusOne, kOne, kOne});
    // Through the array base, as a container of arrays would store them.
    const qvArray<qvVec2> v = Vec2s({{2, -1}});
    EXPECT_EQ(static_cast<const qvPArray&>(v).MemSize(), 20);
}

// Where a record goes (into the present block at an equal length, a window's
// included, else a fresh one) is checked against the sharing model
// (sharing_model_test.cpp); the model has no memory of the caller's, which an
// equal length writes into as well.
TEST(ArrayRecord, FromMemWritesIntoTheCallersMemoryAtAnEqualLength) {
    Bytes rec(A<double>({1, 2}).MemSize());
    A<double>({1, 2}).ToMem(rec.data());
    double outside[2] = {0, 0};
    qvArray<double> ext;
    ext.SetDirectly(outside, 2);
    EXPECT_EQ(ext.FromMem(rec.data()), 20);
    EXPECT_EQ(std::vector<double>(outside, outside + 2), Vs<double>({1, 2}));
    EXPECT_EQ(ext.GetMem(), nullptr);
}
