// The array base: block reference, sharing tests, byte lengths, pointer
// checks and the persistence protocol's default refusal.
#include "cqv_test.h"

TEST(PArray, SharingStatesAndByteLengths) {
    qvSimpleArray<double> empty;
    EXPECT_EQ(empty.IsShared(), 1);
    EXPECT_EQ(empty.IsExternShared(), 1);

    qvSimpleArray<double> a(5, 1.0);
    EXPECT_EQ(a.IsShared(), 0);
    EXPECT_EQ(a.IsExternShared(), 0);
    EXPECT_EQ(a.GetNumOfRef(), 0);
    {
        qvSimpleArray<double> w;
        w.SetSubWindow(a, 1, 2);
        EXPECT_EQ(a.IsShared(), 1);
        EXPECT_EQ(w.GetNumOfRef(), 1);
    }
    EXPECT_EQ(a.IsShared(), 0);

    double outside[3] = {1, 2, 3};
    qvSimpleArray<double> ext;
    ext.SetDirectly(outside, 3);
    EXPECT_EQ(ext.IsShared(), 1);
    EXPECT_EQ(ext.IsExternShared(), 1);

    const qvSimpleArray<short> s(6);
    EXPECT_EQ(s.BytePositiveLength(), 12);
    EXPECT_EQ(s.ByteNegativeLength(), 0);
    EXPECT_EQ(qvSimpleArray<qvComplex>(2).BytePositiveLength(), 32);
}

TEST(PArray, CheckPointerAgainstTheBlock) {
    qvSimpleArray<double> a(5, 0.0);
    EXPECT_EQ(a.CheckPointer(), 1);
    qvSimpleArray<double> w;
    w.SetSubWindow(a, 1, 4);
    EXPECT_EQ(w.CheckPointer(), 1);
    EXPECT_EQ(w.CheckPointer(nullptr, 0), 1);  // p and size are ignored with a block
    w.CheckPointerWithThrow();

    // Past the block's end, below its start, and off an element boundary
    // (which only the second form checks).
    w.SetPointer(a.GetPointer() + 2);
    EXPECT_EQ(w.CheckPointer(), 0);
    CQV_EXPECT_BAD(w.CheckPointerWithThrow(), "CheckPointer : Invalid pointer or range.");
    w.SetPointer(a.GetPointer() - 1);
    EXPECT_EQ(w.CheckPointer(), 0);
    w.SetPointer(reinterpret_cast<double*>(reinterpret_cast<char*>(a.GetPointer()) + 4));
    EXPECT_EQ(w.CheckPointer(), 1);
    EXPECT_EQ(w.CheckPointer(nullptr, 0), 0);
    CQV_EXPECT_BAD(w.CheckPointerWithThrow(nullptr, 0), "CheckPointer : Invalid pointer or range.");
    w.Clear();

    double region[8] = {};
    qvSimpleArray<double> ext;
    ext.SetDirectly(region + 2, 4);
    EXPECT_EQ(ext.CheckPointer(), 1);                            // nothing to check against
    EXPECT_EQ(ext.CheckPointer(region, sizeof region), 1);       // inside the region
    EXPECT_EQ(ext.CheckPointer(region, 5 * sizeof(double)), 0);  // runs past its end
    EXPECT_EQ(ext.CheckPointer(region + 3, 5 * sizeof(double)), 0);
}

TEST(PArray, SimpleArraysHaveNoRecord) {
    qvSimpleArray<double> a(2, 1.0);
    unsigned char buf[64];
    CQV_EXPECT_BAD(a.ToMem(buf), "Have not qvPArray::ToMem");
    CQV_EXPECT_BAD(a.FromMem(buf), "Have not qvPArray::FromMem");
    const qvPArray& base = a;
    CQV_EXPECT_BAD(base.MemSize(), "Have not qvPArray::MemSize");
}
