// Simple arrays whose elements are vectors or matrices: elements are built
// in every fresh block, copied into fresh storage by assignment (so an array
// copy owns private element storage, although a copied vector alone would be
// a window), and released exactly once.
#include "linalg_test_support.h"

using namespace linalgtest;

TEST(ArraysOfVectors, FreshElementsAreEmptyAndCopiesAreDeep) {
    qvSimpleArray<Col> a(2);
    EXPECT_EQ((std::vector<int>{a[1].Len(), a[1].IsColumn()}), (std::vector<int>{0, 1}));
    a[0] = MakeCol({1, 2, 3});
    a[1] = MakeCol({10, 11});
    EXPECT_EQ(Holders(a[0]), 1);
    qvSimpleArray<Col> b(a);
    EXPECT_NE(b[0].GetPointer(), a[0].GetPointer());
    EXPECT_EQ(Values(b[1]), (Doubles{10, 11}));

    // Equal lengths: each element is assigned into its present storage.
    qvSimpleArray<Col> c(2);
    c[0] = Col(3);
    c[1] = Col(5);
    const double* keep = c[0].GetPointer();
    c = a;
    EXPECT_EQ(c[0].GetPointer(), keep);  // same length: written through
    EXPECT_EQ(Values(c[0]), (Doubles{1, 2, 3}));
    c[1][0] = -1;  // c's elements are private
    EXPECT_EQ(Values(a[1]), (Doubles{10, 11}));
    const Col v = MakeCol({7, 8});
    c.Fill(v);
    EXPECT_NE(c[0].GetPointer(), v.GetPointer());
    EXPECT_EQ(Values(c[1]), (Doubles{7, 8}));
}

TEST(ArraysOfVectors, EditingKeepsEveryElement) {
    qvSimpleArray<Line> a;
    for (int i = 0; i < 5; ++i) {
        Line l(i + 1);
        l.Fill(i);
        a.push_back(l);
    }
    // A window on an element outlives the array. (How the edits move, build
    // and destroy elements is checked for every class element type with the
    // arrays, simple_array_objects_test.cpp.)
    Line w(a[4]);
    EXPECT_EQ(Holders(w), 2);
    a.Remove(1);
    a.push_front(Line(2));
    a.InverseOrder();
    EXPECT_EQ((std::vector<int>{a.Len(), a[0].Len(), a[1].Len(), a[4].Len()}), (std::vector<int>{5, 5, 4, 2}));
    EXPECT_EQ(Values(a[1]), Doubles(4, 3.0));
    a.Clear();
    EXPECT_EQ(Holders(w), 1);
    EXPECT_EQ(Values(w), Doubles(5, 4.0));

    // Matrices too.
    qvSimpleArray<M> m(2);
    m[0] = M(2, 2);
    m[0].SetE();
    m[1] = MatrixOf(1, 3, {1, 2, 3});
    qvSimpleArray<M> n = m;
    n[0](0, 1) = 5;
    EXPECT_EQ(m[0](0, 1), 0);
    n.resize(3);
    EXPECT_EQ(n[2].ColumnLen(), 0);
    n.Concat(m);
    EXPECT_EQ(Elements(n[0]), (Doubles{1, 5, 0, 1}));
    EXPECT_EQ(Elements(n[4]), (Doubles{1, 2, 3}));
}
