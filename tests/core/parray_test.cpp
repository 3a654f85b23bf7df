// The array base: block reference, sharing tests, byte lengths, pointer
// checks and the persistence protocol's default refusal.
#include "cqv_test.h"

#include <vector>

namespace {

using Ints = std::vector<int>;

// IsShared and IsExternShared of a.
Ints Sharing(const qvPArray& a) { return {a.IsShared(), a.IsExternShared()}; }

}  // namespace

TEST(PArray, SharingStatesAndByteLengths) {
    // No block and an outside region count as shared, and as shared outside.
    double outside[3] = {1, 2, 3};
    qvSimpleArray<double> empty, ext;
    ext.SetDirectly(outside, 3);
    EXPECT_EQ(Sharing(empty), Ints({1, 1}));
    EXPECT_EQ(Sharing(ext), Ints({1, 1}));

    qvSimpleArray<double> a(5, 1.0);
    EXPECT_EQ(Sharing(a), Ints({0, 0}));
    EXPECT_EQ(a.GetNumOfRef(), 0);
    {
        qvSimpleArray<double> w;
        w.SetSubWindow(a, 1, 2);
        EXPECT_EQ(Ints({a.IsShared(), w.GetNumOfRef()}), Ints({1, 1}));
    }
    EXPECT_EQ(a.IsShared(), 0);

    const qvSimpleArray<short> s(6);
    EXPECT_EQ(Ints({s.BytePositiveLength(), s.ByteNegativeLength(), qvSimpleArray<qvComplex>(2).BytePositiveLength()}),
              Ints({12, 0, 32}));
}

TEST(PArray, CheckPointerAgainstTheBlock) {
    qvSimpleArray<double> a(5, 0.0);
    qvSimpleArray<double> w;
    w.SetSubWindow(a, 1, 4);
    // p and size are ignored with a block.
    EXPECT_EQ(Ints({a.CheckPointer(), w.CheckPointer(), w.CheckPointer(nullptr, 0)}), Ints({1, 1, 1}));
    w.CheckPointerWithThrow();

    // Past the block's end, below its start, and off an element boundary
    // (which only the second form checks).
    w.SetPointer(a.GetPointer() + 2);
    EXPECT_EQ(w.CheckPointer(), 0);
    CQV_EXPECT_BAD(w.CheckPointerWithThrow(), "CheckPointer : Invalid pointer or range.");
    w.SetPointer(a.GetPointer() - 1);
    EXPECT_EQ(w.CheckPointer(), 0);
    w.SetPointer(reinterpret_cast<double*>(reinterpret_cast<char*>(a.GetPointer()) + 4));
    EXPECT_EQ(Ints({w.CheckPointer(), w.CheckPointer(nullptr, 0)}), Ints({1, 0}));
    CQV_EXPECT_BAD(w.CheckPointerWithThrow(nullptr, 0), "CheckPointer : Invalid pointer or range.");
    w.Clear();

    double region[8] = {};
    qvSimpleArray<double> ext;
    ext.SetDirectly(region + 2, 4);
    // Nothing to check against; inside the region; running past its end.
    EXPECT_EQ(Ints({ext.CheckPointer(), ext.CheckPointer(region, sizeof region),
                    ext.CheckPointer(region, 5 * sizeof(double)), ext.CheckPointer(region + 3, 5 * sizeof(double))}),
              Ints({1, 1, 0, 0}));
}

TEST(PArray, SimpleArraysHaveNoRecord) {
    qvSimpleArray<double> a(2, 1.0);
    unsigned char buf[64];
    CQV_EXPECT_BAD(a.ToMem(buf), "Have not qvPArray::ToMem");
    CQV_EXPECT_BAD(a.FromMem(buf), "Have not qvPArray::FromMem");
    const qvPArray& base = a;
    CQV_EXPECT_BAD(base.MemSize(), "Have not qvPArray::MemSize");
}
