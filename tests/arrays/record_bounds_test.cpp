// Bounded reading of the array and string records, and record sizes that do
// not fit in 32 bits.
#include <climits>
#include <cstdint>

#include "record_cuts.h"

using cqvtest::RecordBytes;
using cqvtest::StateOf;

namespace {

// Distinct values of every element type.
template <class T>
T ValueAt(int i) {
    if constexpr (std::is_same<T, qvComplex>::value) {
        return qvComplex(i + 0.5, -i);
    } else if constexpr (std::is_same<T, qvVec2>::value) {
        return qvVec2(-i, i + 0.25);
    } else {
        return static_cast<T>(3 * i + 1);
    }
}

template <class T>
qvArray<T> Sample(int n, int from) {
    qvArray<T> a;
    for (int i = 0; i < n; ++i) a.push_back(ValueAt<T>(from + i));
    return a;
}

template <class T>
class ArrayRecordBounds : public testing::Test {};

using ArrayTypes = testing::Types<char, unsigned char, short, unsigned short, int, float, double, qvComplex, qvVec2>;
TYPED_TEST_SUITE(ArrayRecordBounds, ArrayTypes, cqvtest::TypeIndexNames);

}  // namespace

TYPED_TEST(ArrayRecordBounds, CutRecordsLeaveTheArrayAsItWas) {
    using T = TypeParam;
    const std::vector<unsigned char> rec = cqvtest::RecordOf(Sample<T>(3, 0));

    // Into an array of another length, which a whole record replaces.
    qvArray<T> other = Sample<T>(5, 10);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return other.FromMem(p, n); }, [&] { return StateOf(other); });
    EXPECT_EQ(cqvtest::RecordOf(other), rec);

    // Into a window of the record's length, which a whole record writes
    // through into the viewed array.
    qvArray<T> viewed = Sample<T>(6, 20);
    qvArray<T> window;
    window.SetSubWindow(viewed, 2, 3);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return window.FromMem(p, n); },
        [&] { return std::make_pair(StateOf(window), StateOf(viewed)); });
    EXPECT_EQ(std::vector<T>({viewed[2], viewed[3], viewed[4]}), std::vector<T>({ValueAt<T>(0), ValueAt<T>(1), ValueAt<T>(2)}));
    EXPECT_EQ(std::make_pair(viewed[1], viewed[5]), std::make_pair(ValueAt<T>(21), ValueAt<T>(25)));

    EXPECT_EQ(qvRecordSize(rec.data(), static_cast<int>(rec.size()), other), static_cast<int>(rec.size()));
}

TYPED_TEST(ArrayRecordBounds, CountsTheRecordCannotHoldAreRefusedReadingAndWriting) {
    using T = TypeParam;
    qvArray<T> a = Sample<T>(2, 0);
    const auto before = StateOf(a);
    const int width = static_cast<int>(cqvtest::RecordOf(Sample<T>(1, 0)).size()) - 4;

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
    T one[1] = {ValueAt<T>(0)};
    qvArray<T> fits, over;
    fits.SetDirectly(one, (INT_MAX - 4) / width);
    over.SetDirectly(one, (INT_MAX - 4) / width + 1);
    EXPECT_EQ(fits.MemSize(), 4 + (INT_MAX - 4) / width * width);
    cqvtest::ExpectNoRecord(over);
}

TEST(ArrayRecordBounds, TheSpecifiedReaderStillWritesThroughAndReturnsTheSize) {
    // Bytes written by hand: the bounded and the trusting reader agree.
    RecordBytes rec;
    rec.Int(2).Double(1.0).Double(2.0);
    qvArray<double> viewed = Sample<double>(4, 0), window, free;
    window.SetSubWindow(viewed, 1, 2);
    EXPECT_EQ(window.FromMem(rec.bytes.data()), 20);
    EXPECT_EQ(free.FromMem(rec.bytes.data(), rec.Size() + 3), 20);
    EXPECT_EQ(std::vector<double>({viewed[0], viewed[1], viewed[2], viewed[3], free[0], free[1]}),
              std::vector<double>({1, 1, 2, 10, 1, 2}));
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
