// The typed N-dimensional array: the record byte for byte, its bounded
// reading and the element arithmetic for every element type, storage states, extremes, MakeCoord,
// the iterators and the texts of the checks.
#include "cqv_test.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "nd_test_support.h"
#include "record_cuts.h"

using cqvtest::BlockCount;
using cqvtest::RecordBytes;
using namespace ndtest;

namespace {

template <class T>
class ArrayNDTyped : public testing::Test {};
using ElementTypes = testing::Types<unsigned char, short, unsigned short, int, unsigned int, float, double>;
struct ElementTypeNames {
    template <class T>
    static std::string GetName(int i) {
        static const char* const names[] = {"uchar", "short", "ushort", "int", "uint", "float", "double"};
        return names[i];
    }
};
TYPED_TEST_SUITE(ArrayNDTyped, ElementTypes, ElementTypeNames);

// The little-endian image of v: its bits as an unsigned integer, taken apart
// by shifting.
template <class T>
std::vector<unsigned char> Image(T v) {
    std::uint64_t bits = 0;
    std::conditional_t<sizeof(T) == 1, std::uint8_t,
                       std::conditional_t<sizeof(T) == 2, std::uint16_t,
                                          std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>
        u;
    std::memcpy(&u, &v, sizeof v);
    bits = u;
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i < sizeof v; ++i) out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    return out;
}

template <class T>
auto NdState(const qvArrayND<T>& a) {
    return std::make_tuple(cqvtest::StateOf(a), Items(a.Range()), Items(a.Tab()));
}

}  // namespace

// The record: dimension count, extents, then the elements in walk order;
// read back dense into another shape (through the base class), into the
// present storage through a view when the extents agree. A record cut
// anywhere is refused and leaves the array, and what it views, as it was.
TYPED_TEST(ArrayNDTyped, RecordByteForByteAndCutsRefused) {
    using T = TypeParam;
    qvArrayND<T> a = Numbered<T>({3, 2});
    a.GetPointer()[5] = static_cast<T>(200);
    qvArrayND<T> view;
    view.Set(a);
    view.SwapAxis(0, 1);  // walks a's elements 0, 3, 1, 4, 2, 5
    std::vector<unsigned char> want = {2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
    for (int k : {0, 3, 1, 4, 2, 5}) {
        const std::vector<unsigned char> img = Image(a.GetPointer()[k]);
        want.insert(want.end(), img.begin(), img.end());
    }
    const int size = static_cast<int>(want.size());
    std::vector<unsigned char> rec(want.size() + 4, 0xEE);
    EXPECT_EQ(std::make_pair(view.MemSize(), view.ToMem(rec.data())), std::make_pair(size, size));
    want.resize(rec.size(), 0xEE);
    EXPECT_EQ(rec, want);
    rec.resize(static_cast<std::size_t>(size));
    qvArrayND<T> back = Numbered<T>({4});
    qvArrayNDAbs& base = back;
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return base.FromMem(p, n); }, [&] { return NdState(back); });
    EXPECT_EQ(std::make_tuple(Items(back.Range()), Items(back.Tab()), Walked(back)),
              std::make_tuple(Ints{2, 3}, Ints{1, 2}, Walked(view)));
    qvArrayND<T> unbounded;
    EXPECT_EQ(unbounded.FromMem(rec.data()), size);
    EXPECT_EQ(Walked(unbounded), Walked(view));
    // Equal extents: read through the half-turned view into a, whose
    // offsets 5, 2, 4, 1, 3, 0 receive 2, 5, 3, 6, 4, 201.
    for (T& e : back) e = static_cast<T>(e + 1);
    rec = cqvtest::RecordOf(back);
    view.Rotate180(0, 1);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return view.FromMem(p, n); },
        [&] { return std::make_pair(NdState(view), NdState(a)); });
    EXPECT_EQ(std::make_tuple(Walked(a), BlockCount(a.GetPointer())),
              std::make_tuple(std::vector<T>{201, 6, 5, 4, 3, 2}, 2));
    EXPECT_EQ(qvRecordSize(rec.data(), size, view), size);
    EXPECT_EQ(std::make_pair(qvArrayND<T>().MemSize(), a.GetSizeOfType()),
              std::make_pair(4, static_cast<int>(sizeof(T))));
}

// Records of shapes the array cannot hold are refused before anything is
// read or changed: sizes past 32 bits, counts below 1, no dimensions.
TYPED_TEST(ArrayNDTyped, ShapesTheArrayCannotHoldAreRefusedFirst) {
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

// The element type's own order and arithmetic (unsigned compare as
// unsigned, integers wrap), walked through two layouts.
TYPED_TEST(ArrayNDTyped, ArithmeticAndExtremes) {
    using T = TypeParam;
    const T values[] = {5, 1, 4, 2};
    qvArrayND<T> c(A({2, 2})), d;
    std::copy(values, values + 4, c.GetPointer());
    d.Set(c);
    d.SwapAxis(0, 1);  // 5, 4, 1, 2
    T lo = 0, hi = 0;
    c.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(lo, hi, c.Min(), c.Max(), c.Median(), Walked(c)),
              std::make_tuple(T(1), T(5), T(1), T(5), T(2), std::vector<T>(values, values + 4)));
    const qvArrayND<T> e(d);  // 5, 4, 1, 2, dense
    EXPECT_EQ(std::make_tuple(e == d, e != d, e == c), std::make_tuple(1, 0, 0));
    ((c += e) -= static_cast<T>(1)) *= e;
    EXPECT_EQ(Walked(c), (std::vector<T>{45, 16, 4, 6}));
    c /= e;
    EXPECT_EQ(Walked(c), (std::vector<T>{9, 4, 4, 3}));
    c.Fill(std::numeric_limits<T>::max());
    c += static_cast<T>(1);
    EXPECT_EQ(c.Max(), std::is_integral<T>::value ? std::numeric_limits<T>::lowest() : std::numeric_limits<T>::max());
}

// Ties keep the element met first in walk order from element 0: the signed
// zeros compare equal, so which one an extreme returns shows the order. A
// NaN is the answer as element 0 and passed over anywhere else. Each array
// is flipped, so that its walk runs against its storage.
TEST(ArrayND, ExtremesFollowTheWalkFromElementZero) {
    struct Case {
        std::vector<double> stored;
        double min, max;  // of the flipped array, sign included
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {{-0.0, 0.0, 1}, 0.0, 1},      // walk 1, 0, -0: the minimum is 0
        {{0.0, -0.0, -1}, -1, -0.0},   // walk -1, -0, 0: the maximum is -0
        {{1, 2, nan}, nan, nan},       // NaN first
        {{nan, 2, 1}, 1, 2},           // NaN last
    };
    for (const Case& c : cases) {
        qvArrayND<double> a(A({3}));
        std::copy(c.stored.begin(), c.stored.end(), a.GetPointer());
        a.Flip(0);
        double lo = 0, hi = 0;
        a.MinAndMax(lo, hi);
        const auto same = [](double x, double y) { return std::isnan(y) ? std::isnan(x) : x == y && std::signbit(x) == std::signbit(y); };
        EXPECT_TRUE(same(a.Min(), c.min) && same(lo, c.min) && same(a.Max(), c.max) && same(hi, c.max)) << "case " << &c - cases;
    }
}

TEST(ArrayND, StorageStates) {
    qvArrayND<double> a = Numbered<double>({2, 3});
    EXPECT_EQ(std::make_tuple(Items(a.Tab()), a.IsCon(), BlockCount(a.GetPointer()), a.IsShared()),
              std::make_tuple(Ints{1, 2}, true, 1, 0));
    // Assignment with equal extents writes through a view; other extents
    // detach it.
    qvArrayND<double> row;
    row.ReduceDimArrayND(a, 1, 2);  // elements 4 and 5
    row = Numbered<double>({2});
    EXPECT_EQ(Walked(a), (std::vector<double>{1, 2, 3, 4, 1, 2}));
    qvArrayND<double> shared;
    shared.Set(a);
    shared.Copy();  // now private: a keeps its elements
    shared.Fill(0);
    qvArrayND<double> nothing;  // a view without elements lets go of its block
    nothing.Set(a, 0, A({0, 3}), A({1, 2}));
    nothing.Copy();
    EXPECT_EQ(std::make_tuple(nothing.GetMem(), nothing.size(), BlockCount(a.GetPointer())),
              std::make_tuple(static_cast<void*>(nullptr), 0, 2));
    row = Numbered<double>({3});
    EXPECT_EQ(std::make_tuple(BlockCount(a.GetPointer()), Walked(row), a.back()),
              std::make_tuple(1, std::vector<double>{1, 2, 3}, 2.0));
    // Init keeps the block for the same extents; Set always replaces it.
    double* block = a.GetPointer();
    a.Init(A({2, 3}));
    EXPECT_EQ(a.GetPointer(), block);
    a.Set(A({2, 3}));
    EXPECT_NE(a.GetPointer(), block);
    // The caller's memory, seen and never freed, until Copy makes it private.
    double mine[6] = {1, 2, 3, 4, 5, 6};
    qvArrayND<double> ext;
    ext.SetDirectly(mine, A({3, 2}));
    EXPECT_EQ(std::make_tuple(ext.IsExternShared(), Items(ext.Tab()), ext.back()), std::make_tuple(1, Ints{1, 3}, 6.0));
    ext.SetDirectly(mine + 5, A({3, 2}), A({-1, -3}));
    ext.Fill(0);
    ext.Copy();
    ext.Fill(9);
    EXPECT_EQ(std::make_tuple(mine[0], mine[5], ext.IsExternShared(), BlockCount(ext.GetPointer())), std::make_tuple(0.0, 0.0, 0, 1));
    // Move takes everything but the source's shape; clear forgets the shape.
    qvArrayND<double> taken;
    taken.Move(a);
    EXPECT_EQ(std::make_tuple(Items(a.Range()), a.GetPointer(), a.GetMem(), BlockCount(taken.GetPointer())),
              std::make_tuple(Ints{2, 3}, static_cast<double*>(nullptr), static_cast<void*>(nullptr), 1));
    taken += a;  // a has no elements left to walk
    EXPECT_EQ(std::make_tuple(Walked(taken).size(), Walked(a).size(), taken == a, a.MemSize()),
              std::make_tuple(std::size_t{6}, std::size_t{0}, 0, 12));
    taken.clear();
    EXPECT_EQ(std::make_tuple(taken.GetDim(), taken.size(), taken.empty(), taken.GetEndPos(), taken.GetPointer()),
              std::make_tuple(0, 0, true, 0, static_cast<double*>(nullptr)));
    // Factories give empty arrays of the same type; empty arrays copy as
    // empty.
    std::unique_ptr<qvArrayNDAbs> fresh(ext.New());
    qvArrayND<double> none(taken);
    none = *std::unique_ptr<qvArrayND<double>>(ext.TNew());
    EXPECT_EQ(std::make_pair(dynamic_cast<qvArrayND<double>*>(fresh.get())->GetDim(), none.GetDim()), std::make_pair(0, 0));
}

TEST(ArrayND, IteratorsKeepTheIndexOnlyWhenNeededAndMakeCoordInvertsStrides) {
    qvArrayND<int> a = Numbered<int>({2, 3});
    EXPECT_EQ(a.begin().GetIndex().Len(), 0);  // contiguous: no index
    a.Flip(0);
    std::vector<Ints> seen;
    for (qvArrayND<int>::const_iterator c = a.begin(); c != a.end(); c++) seen.push_back(Items(c.GetIndex()));
    EXPECT_EQ(seen, (std::vector<Ints>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}}));
    EXPECT_EQ(std::make_pair(Items(a.end().GetIndex()), a.end().ElementPointer()),
              std::make_pair(Ints{1, 2}, a.GetPointer() + a.GetEndPos()));

    std::mt19937 g(17);
    qvArray<int> coord;
    for (int trial = 0; trial < 40; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        const qvArrayND<double> src = Numbered<double>(range);
        const auto box = RandomBox(g, range);
        qvArrayND<double> w;
        w.SetSubWindow(src, A(box.first), A(box.second));
        // Axes exchanged, so that the strides no longer grow with the
        // dimension.
        const int a = std::uniform_int_distribution<int>(0, w.GetDim() - 1)(g);
        w.SwapAxis(0, a);
        for (int k = 0; k < Count(Items(w.Range())); ++k) {
            const Ints idx = Decode(k, Items(w.Range()));
            w.MakeCoord(coord, w.GetPointer() + Dot(idx, Items(w.Tab())));
            EXPECT_EQ(Items(coord), idx);
        }
    }
    // A zero stride takes index 0; of equal strides the higher dimension
    // takes the quotient.
    double cell[4] = {};
    qvArrayND<double> z;
    z.SetDirectly(cell, A({3, 1, 4}), A({0, 1, 1}));
    z.MakeCoord(coord, cell + 3);
    EXPECT_EQ(Items(coord), (Ints{0, 0, 3}));
}

TEST(ArrayND, ChecksAndTheirTexts) {
    qvArrayND<double> a = Numbered<double>({2, 3}), w, one = Numbered<double>({4}), empty;
    double* block = a.GetPointer();
    double lo, hi;
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[] { qvArrayND<double> x{qvArray<int>()}; }, "Array length is zero."},
        {[] { qvArrayND<double> x(A({2, 0})); }, "qvNewWithRef : n <= 0 "},
        {[] { qvArrayND<double> x(A({-1, -2})); }, "qvNewWithRef : n <= 0 "},
        {[&] { a.Set(qvArray<int>()); }, "Array length is zero."},
        {[&] { a.Init(qvArray<int>()); }, "Array length is zero."},
        {[&] { a = empty; }, "Array length is zero."},
        {[&] { w.SetSubWindow(a, qvArray<int>(), A({1, 1})); }, "Array length is zero."},
        {[&] { w.SetSubWindow(a, A({0}), A({1, 1})); }, "Different range"},
        {[&] { w.SetSubWindow(a, A({1, 1}), A({2, 2})); }, "CheckPointer : Invalid pointer or range."},
        {[&] { w.Set(a, 0, A({2, 3}), A({1})); }, "Different range"},
        {[&] { w.Set(a, -1, A({2}), A({1})); }, "CheckPointer : Invalid pointer or range."},
        {[&] { w.Set(a, 0, A({-2}), A({1})); }, "CheckPointer : Invalid pointer or range."},
        {[&] { a += one; }, "Different dimension"},
        {[&] { a -= qvArrayND<double>(A({3, 2})); }, "Different range"},
        {[&] { a *= empty; }, "Different dimension"},
        {[&] { a /= qvArrayND<double>(A({2, 2})); }, "Different range"},
        {[&] { w.ReduceDimArrayND(a, 2, 0); }, "out of range of dimension"},
        {[&] { w.ReduceDimArrayND(a, -1, 0); }, "out of range of dimension"},
        {[&] { w.ReduceDimArrayND(one, 0, 0); }, "Must be dimension > 1"},
        {[&] { w.ReduceDimArrayND(a, 0, 2); }, "Out of range"},
        {[&] { delete a.GetReduceDimArrayND(1, -1); }, "Out of range"},
        {[&] { a.Flip(2); }, "out of range of dimension"},
        {[&] { a.SwapAxis(0, 2); }, "out of range of dimension"},
        {[&] { a.Rotate90(-1, 0); }, "out of range of dimension"},
        {[&] { empty.Min(); }, "ArrayND range is empty."},
        {[&] { empty.Max(); }, "ArrayND range is empty."},
        {[&] { empty.MinAndMax(lo, hi); }, "ArrayND range is empty."},
        {[&] { empty.Median(); }, "Lenght of array is equl zero."},
        {[&] { w.SetDirectly(block, A({2}), A({1, 1})); }, "Different range"},
        {[&] { w.SetDirectly(block, qvArray<int>()); }, "qvArrayNDAbs:MkTabFromRange:Array length is zero."},
    };
    for (const auto& c : cases) CQV_EXPECT_BAD(c.first(), c.second);
    // Nothing changed on the way.
    EXPECT_EQ(std::make_tuple(a.GetPointer(), Items(a.Range()), Items(a.Tab()), Walked(a), BlockCount(block)),
              std::make_tuple(block, Ints{2, 3}, Ints{1, 2}, std::vector<double>{1, 2, 3, 4, 5, 6}, 1));
    EXPECT_EQ(std::make_tuple(w.GetDim(), w.GetPointer()), std::make_tuple(0, static_cast<double*>(nullptr)));
}
