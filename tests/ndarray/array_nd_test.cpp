// The typed N-dimensional array: storage states, the record byte for byte
// for every element type, element-wise operations, reductions and the
// texts of its checks.
#include "cqv_test.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "nd_test_support.h"

using cqvtest::BlockCount;
using namespace ndtest;

namespace {

template <class T>
std::vector<T> Walked(const qvArrayND<T>& a) {
    return std::vector<T>(a.begin(), a.end());
}

template <class T>
class ArrayNDTyped : public testing::Test {};

using ElementTypes = testing::Types<unsigned char, short, unsigned short, int, unsigned int, float, double>;
TYPED_TEST_SUITE(ArrayNDTyped, ElementTypes);

// The little-endian image of v: its bits as an unsigned integer of the same
// width, taken apart by shifting.
template <class T>
std::vector<unsigned char> Image(T v) {
    using U = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                                 std::conditional_t<sizeof(T) == 2, std::uint16_t,
                                                    std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
    U bits;
    std::memcpy(&bits, &v, sizeof v);
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i < sizeof v; ++i) out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    return out;
}

}  // namespace

// The record: count, extents, then the elements in walk order; read back
// dense, into the present storage when the extents agree.
TYPED_TEST(ArrayNDTyped, RecordByteForByte) {
    using T = TypeParam;
    qvArrayND<T> a = Numbered<T>({3, 2});
    a.GetPointer()[5] = static_cast<T>(200);
    qvArrayND<T> view;
    view.Set(a);
    view.SwapAxis(0, 1);  // walk order: elements 0, 3, 1, 4, 2, 5 of a
    std::vector<unsigned char> want = {2, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
    for (int k : {0, 3, 1, 4, 2, 5}) {
        const std::vector<unsigned char> img = Image(a.GetPointer()[k]);
        want.insert(want.end(), img.begin(), img.end());
    }
    ASSERT_EQ(view.MemSize(), static_cast<int>(want.size()));
    std::vector<unsigned char> rec(want.size() + 4, 0xEE);
    EXPECT_EQ(view.ToMem(rec.data()), view.MemSize());
    want.resize(rec.size(), 0xEE);
    EXPECT_EQ(rec, want);

    qvArrayND<T> back;
    EXPECT_EQ(back.FromMem(rec.data()), view.MemSize());
    EXPECT_EQ(std::make_tuple(Items(back.Range()), Items(back.Tab()), Walked(back)),
              std::make_tuple(Ints{2, 3}, Ints{1, 2}, Walked(view)));
    // Equal extents: read through the view into a. The view, turned by
    // half, walks a's offsets 5, 2, 4, 1, 3, 0 and receives 2, 5, 3, 6, 4,
    // 201 there.
    for (T& e : back) e = static_cast<T>(e + 1);
    back.ToMem(rec.data());
    view.Rotate180(0, 1);
    EXPECT_EQ(view.FromMem(rec.data()), view.MemSize());
    EXPECT_EQ(Walked(a), (std::vector<T>{201, 6, 5, 4, 3, 2}));
    EXPECT_EQ(BlockCount(a.GetPointer()), 2);
    // Other extents: a fresh dense block.
    qvArrayND<T> other = Numbered<T>({4});
    EXPECT_EQ(other.FromMem(rec.data()), view.MemSize());
    EXPECT_EQ(std::make_tuple(Items(other.Range()), Walked(other)), std::make_tuple(Ints{2, 3}, Walked(back)));
    EXPECT_EQ(qvArrayND<T>().MemSize(), 4);
    EXPECT_EQ(a.GetSizeOfType(), static_cast<int>(sizeof(T)));
}

TYPED_TEST(ArrayNDTyped, ArithmeticWalksBothLayouts) {
    using T = TypeParam;
    // a(i, j) = i + 2j + 1; b(i, j) = other(j, i) = j + 3i + 1.
    qvArrayND<T> a = Numbered<T>({2, 3});
    const qvArrayND<T> other = Numbered<T>({3, 2});
    qvArrayND<T> b;
    b.Set(other);
    b.SwapAxis(0, 1);
    std::vector<T> sum, product;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 2; ++i) {
            sum.push_back(static_cast<T>((i + 2 * j + 1) + (j + 3 * i + 1)));
            product.push_back(static_cast<T>((i + 2 * j + 1) * (j + 3 * i + 1) * 2));
        }
    a += b;
    EXPECT_EQ(Walked(a), sum);
    a -= b;
    a *= b;
    a *= static_cast<T>(4);
    a /= static_cast<T>(2);
    EXPECT_EQ(Walked(a), product);
    a /= b;
    a -= static_cast<T>(1);
    a += static_cast<T>(1);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(a.GetPointer()[k], static_cast<T>(2 * (k + 1)));
    // Equality looks through the strides, not at them.
    qvArrayND<T> dense(b);
    EXPECT_EQ(std::make_tuple(dense == b, dense != b, b == other, dense == a), std::make_tuple(1, 0, 0, 0));
    if (std::is_integral<T>::value) {
        // Integers wrap as the element type does.
        a.Fill(std::numeric_limits<T>::max());
        a += static_cast<T>(1);
        EXPECT_EQ(a.Max(), std::numeric_limits<T>::lowest());
        a -= static_cast<T>(1);
        EXPECT_EQ(a.Min(), std::numeric_limits<T>::max());
    }
}

TYPED_TEST(ArrayNDTyped, ExtremesAndMedian) {
    using T = TypeParam;
    qvArrayND<T> a(A({2, 2}));
    const T values[] = {5, 1, 4, 2};
    std::copy(values, values + 4, a.GetPointer());
    T lo = 0, hi = 0;
    a.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(lo, hi, a.Min(), a.Max(), a.Median()),
              std::make_tuple(T(1), T(5), T(1), T(5), T(2)));
    EXPECT_EQ(Walked(a), std::vector<T>(values, values + 4));
    qvArrayND<T> odd = Numbered<T>({3});
    odd.GetPointer()[0] = 3;
    odd.GetPointer()[1] = 1;
    odd.GetPointer()[2] = 2;
    odd.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(lo, hi, odd.Median()), std::make_tuple(T(1), T(3), T(2)));
}

// Ties keep the element met first in walk order from element 0: the signed
// zeros compare equal, so which one an extreme returns shows the order.
TEST(ArrayND, ExtremesTakeOnlyStrictlyBetterElements) {
    qvArrayND<double> a(A({2}));
    a.GetPointer()[0] = 0.0;
    a.GetPointer()[1] = -0.0;
    double lo = 1, hi = 1;
    a.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(std::signbit(a.Min()), std::signbit(a.Max()), std::signbit(lo), std::signbit(hi)),
              std::make_tuple(false, false, false, false));
    a.Flip(0);
    a.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(std::signbit(a.Min()), std::signbit(a.Max()), std::signbit(lo), std::signbit(hi)),
              std::make_tuple(true, true, true, true));
    // A NaN compares with nothing: as element 0 it is the answer, anywhere
    // else it is passed over, wherever it lies in memory.
    const double nan = std::nan("");
    qvArrayND<double> b(A({3}));
    b.GetPointer()[0] = nan;
    b.GetPointer()[1] = 2;
    b.GetPointer()[2] = 1;
    b.MinAndMax(lo, hi);
    EXPECT_TRUE(std::isnan(b.Min()) && std::isnan(b.Max()) && std::isnan(lo) && std::isnan(hi));
    b.Flip(0);  // 1, 2, NaN
    b.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(b.Min(), b.Max(), lo, hi), std::make_tuple(1.0, 2.0, 1.0, 2.0));
}

TEST(ArrayND, StorageStates) {
    // A fresh array owns a dense block.
    qvArrayND<double> a = Numbered<double>({2, 3});
    EXPECT_EQ(std::make_tuple(a.size(), Items(a.Tab()), a.IsCon(), BlockCount(a.GetPointer()), a.IsShared()),
              std::make_tuple(6, Ints{1, 2}, true, 1, 0));
    // Copies are private; assignment with equal extents writes through.
    qvArrayND<double> copy(a);
    EXPECT_NE(copy.GetPointer(), a.GetPointer());
    qvArrayND<double> row;
    row.ReduceDimArrayND(a, 1, 2);  // elements 4 and 5
    row = Numbered<double>({2});
    EXPECT_EQ(Walked(a), (std::vector<double>{1, 2, 3, 4, 1, 2}));
    // Other extents detach the view and leave the source alone.
    row = Numbered<double>({3});
    EXPECT_EQ(std::make_tuple(BlockCount(a.GetPointer()), BlockCount(row.GetPointer()), Walked(row)),
              std::make_tuple(1, 1, std::vector<double>{1, 2, 3}));
    // Init keeps the block for the same extents; Set always replaces it.
    double* block = a.GetPointer();
    a.Init(A({2, 3}));
    EXPECT_EQ(a.GetPointer(), block);
    a.Set(A({2, 3}));
    EXPECT_NE(a.GetPointer(), block);
    // Memory of the caller's own, seen and never freed.
    double mine[6] = {1, 2, 3, 4, 5, 6};
    qvArrayND<double> ext;
    ext.SetDirectly(mine, A({3, 2}));
    EXPECT_EQ(std::make_tuple(ext.IsExternShared(), Items(ext.Tab()), ext.back()), std::make_tuple(1, Ints{1, 3}, 6.0));
    ext.SetDirectly(mine + 5, A({3, 2}), A({-1, -3}));
    ext.Fill(0);
    EXPECT_EQ(mine[0] + mine[5], 0.0);
    ext.Copy();
    ext.Fill(9);
    EXPECT_EQ(std::make_tuple(ext.IsExternShared(), mine[2], BlockCount(ext.GetPointer())), std::make_tuple(0, 0.0, 1));
    // Move takes everything but the source's shape.
    qvArrayND<double> taken;
    taken.Move(a);
    EXPECT_EQ(std::make_tuple(Items(a.Range()), a.GetPointer(), a.GetMem(), BlockCount(taken.GetPointer())),
              std::make_tuple(Ints{2, 3}, static_cast<double*>(nullptr), static_cast<void*>(nullptr), 1));
    // clear forgets the shape too.
    taken.clear();
    EXPECT_EQ(std::make_tuple(taken.GetDim(), taken.size(), taken.empty(), taken.GetEndPos(), taken.GetPointer()),
              std::make_tuple(0, 0, true, 0, static_cast<double*>(nullptr)));
    // Factories give empty arrays of the same type.
    qvArrayNDAbs* fresh = copy.New();
    qvArrayND<double>* typed = copy.TNew();
    EXPECT_EQ(std::make_tuple(fresh->GetDim(), typed->GetDim(), dynamic_cast<qvArrayND<double>*>(fresh) != nullptr),
              std::make_tuple(0, 0, true));
    delete fresh;
    delete typed;
    // An empty array copies and assigns as empty.
    qvArrayND<double> none, none2(none);
    none = none2;
    EXPECT_EQ(std::make_tuple(none.GetDim(), none2.GetPointer(), none.MemSize()),
              std::make_tuple(0, static_cast<double*>(nullptr), 4));
}

TEST(ArrayND, IteratorsKeepTheIndexOnlyWhenNeeded) {
    qvArrayND<int> a = Numbered<int>({2, 3});
    auto it = a.begin();
    EXPECT_EQ(it.GetIndex().Len(), 0);  // contiguous: no index
    a.Flip(0);
    qvArrayND<int>::const_iterator c = a.begin();
    std::vector<Ints> seen;
    for (; c != a.end(); ++c) seen.push_back(Items(c.GetIndex()));
    EXPECT_EQ(seen, (std::vector<Ints>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}}));
    EXPECT_EQ(Items(a.end().GetIndex()), (Ints{1, 2}));
    EXPECT_EQ(a.end().ElementPointer(), a.GetPointer() + a.GetEndPos());
}

TEST(ArrayND, MakeCoordInvertsTheStrides) {
    std::mt19937 g(17);
    for (int trial = 0; trial < 40; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        qvArrayND<double> src = Numbered<double>(range);
        Ints origin(range.size()), box(range.size());
        for (std::size_t d = 0; d < range.size(); ++d) {
            origin[d] = std::uniform_int_distribution<int>(0, range[d] - 1)(g);
            box[d] = std::uniform_int_distribution<int>(1, range[d] - origin[d])(g);
        }
        qvArrayND<double> w;
        w.SetSubWindow(src, A(origin), A(box));
        qvArray<int> coord;
        for (int k = 0; k < Count(box); ++k) {
            const Ints idx = Decode(k, box);
            w.MakeCoord(coord, w.GetPointer() + Dot(idx, Items(w.Tab())));
            EXPECT_EQ(Items(coord), idx);
        }
    }
    // A zero stride takes index 0; equal strides give the higher dimension
    // the quotient.
    double cell[4] = {};
    qvArrayND<double> z;
    z.SetDirectly(cell, A({3, 1, 4}), A({0, 1, 1}));
    qvArray<int> coord;
    z.MakeCoord(coord, cell + 3);
    EXPECT_EQ(Items(coord), (Ints{0, 0, 3}));
}

TEST(ArrayND, ChecksAndTheirTexts) {
    qvArrayND<double> a = Numbered<double>({2, 3});
    qvArrayND<double> w, one = Numbered<double>({4}), empty;
    double* block = a.GetPointer();
    struct Case {
        std::function<void()> call;
        const char* text;
    };
    const Case cases[] = {
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
        {[&] {
             double lo, hi;
             empty.MinAndMax(lo, hi);
         },
         "ArrayND range is empty."},
        {[&] { empty.Median(); }, "Lenght of array is equl zero."},
        {[&] { w.SetDirectly(block, A({2}), A({1, 1})); }, "Different range"},
        {[&] { w.SetDirectly(block, qvArray<int>()); }, "qvArrayNDAbs:MkTabFromRange:Array length is zero."},
    };
    for (const Case& c : cases) CQV_EXPECT_BAD(c.call(), c.text);
    // Nothing changed on the way.
    EXPECT_EQ(std::make_tuple(a.GetPointer(), Items(a.Range()), Items(a.Tab()), Walked(a), BlockCount(block)),
              std::make_tuple(block, Ints{2, 3}, Ints{1, 2}, std::vector<double>{1, 2, 3, 4, 5, 6}, 1));
    EXPECT_EQ(std::make_tuple(w.GetDim(), w.GetPointer()), std::make_tuple(0, static_cast<double*>(nullptr)));
}
