// Arrays of class elements (types with a virtual destructor): elements are
// built when a block is made, copied by assignment into fresh storage, moved
// bytewise when nobody else sees the old block, and destroyed exactly once.
//
// The element type here exists only in this test, so the test instantiates
// the array template itself from the library's definitions.
#include "cqv_test.h"

#include "cqv/arrays/simple_array_impl.h"

namespace object_array_test {

// Owns a heap cell, so that a missed destruction leaks and a doubled one
// frees twice; the sanitizer build reports either.
struct Tracked {
    static int alive;
    static int copies;
    int* cell;
    explicit Tracked(int v = 0) : cell(new int(v)) { ++alive; }
    Tracked(const Tracked& t) : cell(new int(*t.cell)) {
        ++alive;
        ++copies;
    }
    Tracked& operator=(const Tracked& t) {
        *cell = *t.cell;
        return *this;
    }
    virtual ~Tracked() {
        delete cell;
        --alive;
    }
    int value() const { return *cell; }
};
int Tracked::alive = 0;
int Tracked::copies = 0;

std::vector<int> Values(const qvSimpleArray<Tracked>& a) {
    std::vector<int> out;
    for (const Tracked& t : a) out.push_back(t.value());
    return out;
}

qvSimpleArray<Tracked> Numbered(int n) {
    qvSimpleArray<Tracked> a(n);
    for (int i = 0; i < n; ++i) *a[i].cell = i + 1;
    return a;
}

class ObjectArray : public ::testing::Test {
protected:
    void SetUp() override { Tracked::alive = Tracked::copies = 0; }
    void TearDown() override { EXPECT_EQ(Tracked::alive, 0); }
};

using V = std::vector<int>;

}  // namespace object_array_test

using namespace object_array_test;

template class qvSimpleArray<object_array_test::Tracked>;

TEST_F(ObjectArray, GrowingAPrivateArrayMovesTheElementsWithoutCopies) {
    qvSimpleArray<Tracked> a = Numbered(3);
    const int* firstCell = a[0].cell;
    Tracked::copies = 0;
    a.push_back(Tracked(4));
    a.push_front(Tracked(0));
    a.Insert(Tracked(9), 2);
    EXPECT_EQ(Values(a), V({0, 1, 9, 2, 3, 4}));
    EXPECT_EQ(a[1].cell, firstCell);  // the element itself moved over
    EXPECT_EQ(V({Tracked::alive, Tracked::copies}), V({6, 0}));
    a.resize(2);
    EXPECT_EQ(Tracked::alive, 2);
    a.push_back(a[0]);  // an element of the array itself
    a.Concat(a);
    EXPECT_EQ(Values(a), V({0, 1, 0, 0, 1, 0}));
    EXPECT_EQ(Tracked::alive, 6);
}

TEST_F(ObjectArray, RemovingDestroysExactlyTheRemovedElement) {
    qvSimpleArray<Tracked> a = Numbered(4);
    a.erase(a.begin() + 1);
    EXPECT_EQ(Values(a), V({1, 3, 4}));
    EXPECT_EQ(Tracked::alive, 3);
    a.Remove(2);
    a.pop_front();
    EXPECT_EQ(Values(a), V({3}));
    EXPECT_EQ(Tracked::alive, 1);
    a.pop_back();
    EXPECT_EQ(Tracked::alive, 0);
    a.Replace(0, 0, Numbered(2));
    EXPECT_EQ(Tracked::alive, 2);
}

TEST_F(ObjectArray, WindowsAndSharedBlocksAreCopiedNotStolen) {
    qvSimpleArray<Tracked> a = Numbered(4);
    qvSimpleArray<Tracked> w;
    w.SetSubWindow(a, 1, 2);
    w.push_back(Tracked(8));
    *w[0].cell = 20;  // a private copy, not a shared element
    EXPECT_EQ(Values(w), V({20, 3, 8}));
    EXPECT_EQ(Values(a), V({1, 2, 3, 4}));
    EXPECT_EQ(Tracked::alive, 7);

    // A window whose source died alone holds the block: its growth moves
    // its own elements and destroys the ones outside it.
    qvSimpleArray<Tracked> orphan;
    {
        qvSimpleArray<Tracked> source = Numbered(5);
        orphan.SetSubWindow(source, 1, 2);
    }
    EXPECT_EQ(Tracked::alive, 12);
    orphan.push_back(Tracked(6));
    EXPECT_EQ(Values(orphan), V({2, 3, 6}));
    EXPECT_EQ(Tracked::alive, 10);
}

TEST_F(ObjectArray, BlocksBuildEveryElementAndCopiesAreDeep) {
    qvSimpleArray<Tracked> a = Numbered(3);
    const qvSimpleArray<Tracked> filled(2, Tracked(7));
    qvSimpleArray<Tracked> b(a), c(3);
    const int* cCell = c[0].cell;
    c = a;  // equal length: element assignment into the present elements
    EXPECT_EQ(c[0].cell, cCell);
    *b[0].cell = 10;
    EXPECT_EQ((std::vector<V>{Values(a), Values(b), Values(c), Values(filled), Values(a.Mid(1, 2))}),
              (std::vector<V>{{1, 2, 3}, {10, 2, 3}, {1, 2, 3}, {7, 7}, {2, 3}}));
    c = Numbered(2);
    EXPECT_EQ(Values(c), V({1, 2}));
    a.Copy();  // private: nothing happens
    EXPECT_EQ(Tracked::alive, 10);
}

TEST_F(ObjectArray, ReorderingNeitherBuildsNorDestroys) {
    qvSimpleArray<Tracked> a = Numbered(5);
    Tracked::copies = 0;
    a.CycleRightShift(2);
    EXPECT_EQ(Values(a), V({4, 5, 1, 2, 3}));
    a.CycleLeftShift(2);
    a.InverseOrder();
    EXPECT_EQ(Values(a), V({5, 4, 3, 2, 1}));
    qvSimpleArray<Tracked> b = Numbered(1);
    a.swap(b);
    EXPECT_EQ(Values(a), V({1}));
    EXPECT_EQ(V({Tracked::alive, Tracked::copies}), V({6, 0}));
}
