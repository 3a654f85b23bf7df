// The arithmetic array's storage record: a little-endian int32 count, then
// the element records, byte for byte.
#include "cqv_test.h"

#include <type_traits>
#include <vector>

#include "array_test_support.h"

using cqvtest::BlockCount;
using namespace arraytest;

namespace {

using Bytes = std::vector<unsigned char>;

// The record of a, checking that ToMem writes exactly MemSize bytes.
template <class T>
Bytes Record(const qvArray<T>& a) {
    const int size = a.MemSize();
    Bytes out(static_cast<std::size_t>(size) + 8, 0xEE);
    EXPECT_EQ(a.ToMem(out.data()), size);
    for (std::size_t i = static_cast<std::size_t>(size); i < out.size(); ++i) EXPECT_EQ(out[i], 0xEE);
    out.resize(static_cast<std::size_t>(size));
    return out;
}

// Little-endian images of the doubles used below.
const Bytes kOne = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
const Bytes kTwo = {0, 0, 0, 0, 0, 0, 0, 0x40};
const Bytes kMinusOne = {0, 0, 0, 0, 0, 0, 0xF0, 0xBF};

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes r;
    for (const Bytes& p : parts) r.insert(r.end(), p.begin(), p.end());
    return r;
}

}  // namespace

TEST(ArrayRecord, BytesOfEachElementKind) {
    EXPECT_EQ(Record(qvArray<double>()), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(Record(A<double>({1, 2})), Cat({{2, 0, 0, 0}, kOne, kTwo}));
    EXPECT_EQ(Record(A<float>({1})), Bytes({1, 0, 0, 0, 0, 0, 0x80, 0x3F}));
    EXPECT_EQ(Record(A<int>({0x01020304, -2})), Bytes({2, 0, 0, 0, 4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Record(A<short>({-2, 0x1234})), Bytes({2, 0, 0, 0, 0xFE, 0xFF, 0x34, 0x12}));
    EXPECT_EQ(Record(A<unsigned short>({0xABCD})), Bytes({1, 0, 0, 0, 0xCD, 0xAB}));
    EXPECT_EQ(Record(A<unsigned char>({0xAB, 7})), Bytes({2, 0, 0, 0, 0xAB, 7}));
    EXPECT_EQ(Record(From<char>({'h', 'i'})), Bytes({2, 0, 0, 0, 'h', 'i'}));
    EXPECT_EQ(Record(Complexes({{1, 2}})), Cat({{1, 0, 0, 0}, kOne, kTwo}));
    EXPECT_EQ(Record(Vec2s({{2, -1}, {1, 1}})), Cat({{2, 0, 0, 0}, kTwo, kMinusOne, kOne, kOne}));

    // Through the array base, as a container of arrays would store them.
    const qvArray<qvVec2> v = Vec2s({{2, -1}});
    const qvPArray& base = v;
    EXPECT_EQ(base.MemSize(), 20);
}

TEST(ArrayRecord, FromMemReadsIntoFreshOrPresentStorage) {
    Bytes rec = Cat({{2, 0, 0, 0}, kOne, kTwo});
    qvArray<double> a;
    EXPECT_EQ(a.FromMem(rec.data()), 20);
    EXPECT_EQ(Items(a), Vs<double>({1, 2}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 1);

    // A different length replaces the block; 0 empties the array.
    qvArray<double> b = A<double>({5, 6, 7});
    EXPECT_EQ(b.FromMem(rec.data()), 20);
    EXPECT_EQ(Items(b), Vs<double>({1, 2}));
    Bytes none = {0, 0, 0, 0};
    EXPECT_EQ(b.FromMem(none.data()), 4);
    EXPECT_EQ(b.Len(), 0);
    EXPECT_EQ(b.GetPointer(), nullptr);

    // An equal length writes through a window into the viewed array...
    qvArray<double> base = A<double>({9, 9, 9, 9});
    qvArray<double> w;
    w.SetSubWindow(base, 1, 2);
    EXPECT_EQ(w.FromMem(rec.data()), 20);
    EXPECT_EQ(Items(base), Vs<double>({9, 1, 2, 9}));
    EXPECT_EQ(BlockCount(base.GetPointer()), 2);
    // ...and into memory the caller owns.
    double outside[2] = {0, 0};
    qvArray<double> ext;
    ext.SetDirectly(outside, 2);
    ext.FromMem(rec.data());
    EXPECT_EQ(outside[1], 2.0);
    // A different length detaches the window and leaves the viewed array.
    Bytes three = Cat({{3, 0, 0, 0}, kOne, kOne, kOne});
    w.FromMem(three.data());
    EXPECT_EQ(Items(w), Vs<double>({1, 1, 1}));
    EXPECT_EQ(Items(base), Vs<double>({9, 1, 2, 9}));
    EXPECT_EQ(BlockCount(base.GetPointer()), 1);
}

TEST(ArrayRecord, NegativeCountThrowsBeforeAnyChange) {
    Bytes rec = {0xFF, 0xFF, 0xFF, 0xFF};
    qvArray<int> a = A<int>({1, 2});
    const int* before = a.GetPointer();
    CQV_EXPECT_BAD(a.FromMem(rec.data()), "qvNewWithRef : n <= 0 ");
    EXPECT_EQ(a.GetPointer(), before);
    EXPECT_EQ(Items(a), Vs<int>({1, 2}));
}

template <class T>
class ArrayRecordAllTypes : public ::testing::Test {};
TYPED_TEST_SUITE(ArrayRecordAllTypes, ElementTypes);

TYPED_TEST(ArrayRecordAllTypes, RoundTrip) {
    using T = TypeParam;
    const qvArray<T> a = A<T>({3, 1, 2});
    const Bytes rec = Record(a);
    EXPECT_EQ(static_cast<int>(rec.size()), 4 + 3 * (std::is_class<T>::value ? 16 : static_cast<int>(sizeof(T))));
    Bytes copy = rec;
    qvArray<T> b;
    EXPECT_EQ(b.FromMem(copy.data()), a.MemSize());
    EXPECT_EQ(Items(b), Items(a));
}
