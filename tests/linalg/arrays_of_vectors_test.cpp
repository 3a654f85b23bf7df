// Simple arrays whose elements are vectors or matrices: elements are built
// in every fresh block, copied into fresh storage by assignment (so an array
// copy owns private element storage, although a copied vector alone would be
// a window), and released exactly once.
#include "linalg_test_support.h"

using namespace linalgtest;

namespace {

Col Filled(int n, double start) {
    Col v(n);
    for (int i = 0; i < n; ++i) v[i] = start + i;
    return v;
}

}  // namespace

TEST(ArraysOfVectors, FreshElementsAreEmptyVectors) {
    qvSimpleArray<Col> a(3);
    for (const Col& v : a) {
        EXPECT_EQ(v.Len(), 0);
        EXPECT_EQ(v.IsColumn(), 1);
    }
    qvSimpleArray<M> ms(2);
    EXPECT_EQ(ms[1].LineLen(), 0);
}

TEST(ArraysOfVectors, CopiesArePrivateDeepCopies) {
    qvSimpleArray<Col> a(2);
    a[0] = Filled(3, 1);
    a[1] = Filled(2, 10);
    EXPECT_EQ(Holders(a[0]), 1);

    qvSimpleArray<Col> b(a);
    ASSERT_EQ(b.Len(), 2);
    EXPECT_NE(b[0].GetPointer(), a[0].GetPointer());
    b[0][0] = 100;
    EXPECT_EQ(a[0][0], 1);
    EXPECT_EQ(b[1][1], 11);

    // Equal lengths: each element is assigned into its present storage.
    qvSimpleArray<Col> c(2);
    c[0] = Filled(3, 0);
    c[1] = Filled(5, 0);
    const double* keep = c[0].GetPointer();
    c = a;
    EXPECT_EQ(c[0].GetPointer(), keep);  // same length: written through
    EXPECT_EQ(c[0][2], 3);
    EXPECT_EQ(c[1].Len(), 2);
    c[1][0] = -1;
    EXPECT_EQ(a[1][0], 10);

    const Col v = Filled(2, 7);
    c.Fill(v);
    EXPECT_NE(c[0].GetPointer(), v.GetPointer());
    EXPECT_EQ(c[1][1], 8);
}

TEST(ArraysOfVectors, EditingKeepsEveryElement) {
    qvSimpleArray<Line> a;
    for (int i = 0; i < 5; ++i) {
        Line l(i + 1);
        l.Fill(i);
        a.push_back(l);
    }
    ASSERT_EQ(a.Len(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(a[i].Len(), i + 1);
        EXPECT_EQ(a[i][i], i);
    }
    // A window on an element outlives the array.
    Line w(a[4]);
    EXPECT_EQ(Holders(w), 2);
    a.Remove(1);
    a.erase(a.begin());
    a.push_front(Line(2));
    a.InverseOrder();
    EXPECT_EQ(a.Len(), 4);
    EXPECT_EQ(a[0].Len(), 5);
    qvSimpleArray<Line> window;
    window.SetSubWindow(a, 1, 2);
    window.push_back(Line(1));  // a private block with copies
    EXPECT_EQ(window[0].Len(), 4);
    a.Clear();
    EXPECT_EQ(Holders(w), 1);
    EXPECT_EQ(w[4], 4);
}

TEST(ArraysOfVectors, MatricesToo) {
    qvSimpleArray<M> a(2);
    a[0] = M(2, 2);
    a[0].SetE();
    a[1] = M(1, 3);
    a[1].SetE();
    qvSimpleArray<M> b = a;
    b[0](0, 1) = 5;
    EXPECT_EQ(a[0](0, 1), 0);
    EXPECT_EQ(b[1].LineLen(), 3);
    b.resize(3);
    EXPECT_EQ(b[2].ColumnLen(), 0);
    EXPECT_EQ(b[0](0, 1), 5);
    b.Concat(a);
    EXPECT_EQ(b.Len(), 5);
    EXPECT_EQ(b[3](1, 1), 1);
}
