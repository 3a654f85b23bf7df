// The arithmetic array's storage record: a little-endian int32 count, then
// the element records, byte for byte.
#include "cqv_test.h"

#include <vector>

#include "array_test_support.h"

using cqvtest::BlockCount;
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

TEST(ArrayRecord, FromMemReadsIntoFreshOrPresentStorage) {
    Bytes rec(A<double>({1, 2}).MemSize());
    A<double>({1, 2}).ToMem(rec.data());
    // A different length replaces the block; 0 empties the array.
    qvArray<double> b = A<double>({5, 6, 7});
    EXPECT_EQ(b.FromMem(rec.data()), 20);
    EXPECT_EQ(Items(b), Vs<double>({1, 2}));
    EXPECT_EQ(BlockCount(b.GetPointer()), 1);
    Bytes none = {0, 0, 0, 0};
    EXPECT_EQ(b.FromMem(none.data()), 4);
    EXPECT_EQ(b.GetPointer(), nullptr);

    // An equal length writes through a window into the viewed array, and
    // into memory the caller owns; another length detaches the window.
    qvArray<double> base = A<double>({9, 9, 9, 9});
    qvArray<double> w;
    w.SetSubWindow(base, 1, 2);
    EXPECT_EQ(w.FromMem(rec.data()), 20);
    EXPECT_EQ(Items(base), Vs<double>({9, 1, 2, 9}));
    EXPECT_EQ(BlockCount(base.GetPointer()), 2);
    double outside[2] = {0, 0};
    qvArray<double> ext;
    ext.SetDirectly(outside, 2);
    ext.FromMem(rec.data());
    EXPECT_EQ(outside[1], 2.0);
    Bytes three(A<double>({1, 1, 1}).MemSize());
    A<double>({1, 1, 1}).ToMem(three.data());
    w.FromMem(three.data());
    EXPECT_EQ(Items(w), Vs<double>({1, 1, 1}));
    EXPECT_EQ(Items(base), Vs<double>({9, 1, 2, 9}));
    EXPECT_EQ(BlockCount(base.GetPointer()), 1);

}
