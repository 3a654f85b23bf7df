// The array and string records: a little-endian int32 count, then the
// element records, byte for byte; bounded reading of records cut short, and
// record sizes that do not fit in 32 bits.
#include <climits>
#include <cstdint>
#include <vector>

#include "array_test_support.h"
#include "record_cuts.h"

using namespace arraytest;
using cqvtest::RecordBytes;
using cqvtest::StateOf;

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

// n elements standing for from, from + 1, ...
template <class T>
qvArray<T> Seq(int n, int from) {
    std::vector<T> values;
    for (int i = 0; i < n; ++i) values.push_back(V<T>(from + i));
    return From(values);
}

template <class T>
class ArrayRecordBounds : public testing::Test {};
TYPED_TEST_SUITE(ArrayRecordBounds, ElementTypes, ElementTypeNames);

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
// equal length writes into as well. Bytes written by hand: the bounded and
// the trusting reader agree.
TEST(ArrayRecord, FromMemWritesThroughAtAnEqualLengthAndReturnsTheSize) {
    RecordBytes rec;
    rec.Int(2).Double(1.0).Double(2.0);
    double outside[2] = {0, 0};
    qvArray<double> viewed = A<double>({0, 5, 6, 10}), window, free, ext;
    window.SetSubWindow(viewed, 1, 2);
    ext.SetDirectly(outside, 2);
    EXPECT_EQ(window.FromMem(rec.bytes.data()), 20);
    EXPECT_EQ(free.FromMem(rec.bytes.data(), rec.Size() + 3), 20);
    EXPECT_EQ(ext.FromMem(rec.bytes.data(), rec.Size()), 20);
    EXPECT_EQ((std::vector<std::vector<double>>{Items(viewed), Items(free), {outside[0], outside[1]}}),
              (std::vector<std::vector<double>>{{0, 1, 2, 10}, {1, 2}, {1, 2}}));
    EXPECT_EQ(ext.GetMem(), nullptr);
}

TYPED_TEST(ArrayRecordBounds, CutRecordsLeaveTheArrayAsItWas) {
    using T = TypeParam;
    const std::vector<unsigned char> rec = cqvtest::RecordOf(Seq<T>(3, 0));

    // Into an array of another length, which a whole record replaces.
    qvArray<T> other = Seq<T>(5, 10);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return other.FromMem(p, n); }, [&] { return StateOf(other); });
    EXPECT_EQ(cqvtest::RecordOf(other), rec);

    // Into a window of the record's length, which a whole record writes
    // through into the viewed array.
    qvArray<T> viewed = Seq<T>(6, 20);
    qvArray<T> window;
    window.SetSubWindow(viewed, 2, 3);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return window.FromMem(p, n); },
        [&] { return std::make_pair(StateOf(window), StateOf(viewed)); });
    EXPECT_EQ(Items(viewed), Vs<T>({20, 21, 0, 1, 2, 25}));

    EXPECT_EQ(qvRecordSize(rec.data(), static_cast<int>(rec.size()), other), static_cast<int>(rec.size()));
}

TYPED_TEST(ArrayRecordBounds, CountsTheRecordCannotHoldAreRefusedReadingAndWriting) {
    using T = TypeParam;
    qvArray<T> a = Seq<T>(2, 0);
    const auto before = StateOf(a);
    const int width = static_cast<int>(cqvtest::RecordOf(Seq<T>(1, 0)).size()) - 4;

    RecordBytes negative;
    negative.Int(-1);
    CQV_EXPECT_BAD(a.FromMem(negative.bytes.data(), negative.Size()), qvMsg::NewWithRefNonPositive);

    // The smallest count whose record reaches 2^31 bytes; only its four
    // bytes exist, and neither reader looks further.
    RecordBytes huge;
    huge.Int((INT_MAX - 4) / width + 1);
    const auto four = cqvtest::Prefix(huge.bytes, 4);
    CQV_EXPECT_BAD(a.FromMem(four.get(), 4), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(a.FromMem(four.get()), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(qvArray<T>::RecordSize(four.get(), 4), qvMsg::RecordTooLarge);

    // One count less fits in 32 bits but not in four bytes.
    RecordBytes largest;
    largest.Int((INT_MAX - 4) / width);
    CQV_EXPECT_BAD(a.FromMem(largest.bytes.data(), 4), qvMsg::RecordTruncated);
    EXPECT_TRUE(StateOf(a) == before);

    // The unbounded reader keeps its own order: the present block goes
    // first, then New refuses the negative count.
    CQV_EXPECT_BAD(a.FromMem(negative.bytes.data()), qvMsg::NewWithRefNonPositive);
    EXPECT_EQ(a.Len(), 0);

    // Writing: an external array claiming as many elements, none of which
    // is read, since sizes are checked before any element is touched.
    T one[1] = {V<T>(0)};
    qvArray<T> fits, over;
    fits.SetDirectly(one, (INT_MAX - 4) / width);
    over.SetDirectly(one, (INT_MAX - 4) / width + 1);
    EXPECT_EQ(fits.MemSize(), 4 + (INT_MAX - 4) / width * width);
    cqvtest::ExpectNoRecord(over);
}

TEST(StringRecordBounds, CutRecordsLeaveTheStringAsItWas) {
    qvString text("records");
    text.Copy();
    const std::vector<unsigned char> rec = cqvtest::RecordOf(text);
    ASSERT_EQ(rec.size(), 11u);

    qvString other("other text");
    other.Copy();
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return qvFromMem(p, n, other); }, [&] { return StateOf(other); });
    EXPECT_EQ(cqvtest::RecordOf(other), rec);

    qvString same("abcdefg");
    same.Copy();
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return same.FromMem(p, n); }, [&] { return StateOf(same); });
    EXPECT_EQ(cqvtest::RecordOf(same), rec);
    EXPECT_EQ(qvRecordSize(rec.data(), 11, same), 11);

    RecordBytes huge;
    huge.Int(INT_MAX - 3);
    CQV_EXPECT_BAD(same.FromMem(huge.bytes.data(), 4), qvMsg::RecordTooLarge);
    RecordBytes largest;
    largest.Int(INT_MAX - 4);
    CQV_EXPECT_BAD(same.FromMem(largest.bytes.data(), 4), qvMsg::RecordTruncated);
    EXPECT_EQ(cqvtest::RecordOf(same), rec);
}

TEST(StringRecordBounds, LongExternalStringsHaveNoRecord) {
    char c = 'x';
    qvString s;
    s.SetDirectly(&c, INT_MAX - 3);
    cqvtest::ExpectNoRecord(s);
    s.SetDirectly(&c, INT_MAX - 4);
    EXPECT_EQ(s.MemSize(), INT_MAX);
}
