// Bounded reading of the N-dimensional record, and record sizes that do not
// fit in 32 bits.
#include <climits>

#include "nd_test_support.h"
#include "record_cuts.h"

using namespace ndtest;
using cqvtest::RecordBytes;

namespace {

template <class T>
class NdRecordBounds : public testing::Test {};

using NdTypes = testing::Types<unsigned char, short, unsigned short, int, unsigned int, float, double>;
TYPED_TEST_SUITE(NdRecordBounds, NdTypes, cqvtest::TypeIndexNames);

template <class T>
auto NdState(const qvArrayND<T>& a) {
    return std::make_tuple(cqvtest::StateOf(a), Items(a.Range()), Items(a.Tab()));
}

}  // namespace

TYPED_TEST(NdRecordBounds, CutRecordsLeaveTheArrayAsItWas) {
    using T = TypeParam;
    qvArrayND<T> source = Numbered<T>({3, 2});
    const std::vector<unsigned char> rec = cqvtest::RecordOf(source);

    // Another shape, read through the typed array and through its base.
    qvArrayND<T> other = Numbered<T>({4});
    qvArrayNDAbs& base = other;
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return base.FromMem(p, n); }, [&] { return NdState(other); });
    EXPECT_EQ(Walked(other), Walked(source));

    // The same extents through a turned view: a whole record writes into the
    // viewed array, a cut one leaves both alone.
    qvArrayND<T> viewed = Numbered<T>({2, 3});
    qvArrayND<T> view;
    view.Set(viewed);
    view.SwapAxis(0, 1);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return view.FromMem(p, n); },
        [&] { return std::make_pair(NdState(view), NdState(viewed)); });
    EXPECT_EQ(Walked(view), Walked(source));
    EXPECT_EQ(qvRecordSize(rec.data(), static_cast<int>(rec.size()), view), static_cast<int>(rec.size()));
}

TYPED_TEST(NdRecordBounds, ShapesTheArrayCannotHoldAreRefusedFirst) {
    using T = TypeParam;
    const int width = static_cast<int>(sizeof(T));
    qvArrayND<T> a = Numbered<T>({2, 2});
    const auto before = NdState(a);

    const RecordBytes square = RecordBytes().Int(2).Int(65536).Int(65536);
    const auto twelve = cqvtest::Prefix(square.bytes, 12);
    CQV_EXPECT_BAD(a.FromMem(twelve.get()), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(a.FromMem(twelve.get(), 12), qvMsg::RecordTooLarge);
    // The largest count whose record fits in 32 bits, with no element there.
    const RecordBytes largest = RecordBytes().Int(1).Int((INT_MAX - 8) / width);
    CQV_EXPECT_BAD(a.FromMem(largest.bytes.data(), 8), qvMsg::RecordTruncated);
    const RecordBytes tooMany = RecordBytes().Int(1).Int((INT_MAX - 8) / width + 1);
    CQV_EXPECT_BAD(a.FromMem(tooMany.bytes.data(), 8), qvMsg::RecordTooLarge);
    // Negative counts and extents below 1.
    CQV_EXPECT_BAD(a.FromMem(RecordBytes().Int(-1).bytes.data(), 4), qvMsg::NewWithRefNonPositive);
    const RecordBytes flat = RecordBytes().Int(2).Int(3).Int(0);
    CQV_EXPECT_BAD(a.FromMem(flat.bytes.data(), 12), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(a.FromMem(const_cast<unsigned char*>(flat.bytes.data())), qvMsg::NewWithRefNonPositive);
    // A record without dimensions suits only an array without any.
    const RecordBytes none = RecordBytes().Int(0);
    CQV_EXPECT_BAD(a.FromMem(none.bytes.data(), 4), qvMsg::ArrayLengthZero);
    EXPECT_TRUE(NdState(a) == before);
    qvArrayND<T> empty;
    EXPECT_EQ(empty.FromMem(none.bytes.data(), 4), 4);

    // A view of stride 0 whose record would just pass 2^31 - 1 bytes.
    T one[1] = {T(1)};
    qvArrayND<T> repeated;
    repeated.SetDirectly(one, A({1, (INT_MAX - 12) / width}), A({0, 0}));
    EXPECT_EQ(repeated.MemSize(), 12 + (INT_MAX - 12) / width * width);
    repeated.SetDirectly(one, A({1, (INT_MAX - 12) / width + 1}), A({0, 0}));
    cqvtest::ExpectNoRecord(repeated);
}
