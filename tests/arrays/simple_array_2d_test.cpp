// The two-dimensional grid: extents, row-major addressing, resizing and row
// windows.
#include "cqv_test.h"

#include <vector>

using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;

namespace {

// A grid of ny rows of nx whose element (y, x) is 10 y + x.
qvSimpleArray2D<double> Numbered(int ny, int nx) {
    qvSimpleArray2D<double> g(ny, nx);
    for (int y = 0; y < ny; ++y)
        for (int x = 0; x < nx; ++x) g(y, x) = 10 * y + x;
    return g;
}

// Height, width and element count of g.
std::vector<int> Extents(const qvSimpleArray2D<double>& g) { return {g.GetLenY(), g.GetLenX(), g.GetSize()}; }

}  // namespace

TEST(SimpleArray2D, ExtentsAndRowMajorAddressing) {
    qvSimpleArray2D<double> g = Numbered(2, 3);
    EXPECT_EQ(Extents(g), (std::vector<int>{2, 3, 6}));
    EXPECT_EQ(&g(1, 2), g.GetPointer() + 5);  // row by row
    EXPECT_EQ(Extents(qvSimpleArray2D<double>()), (std::vector<int>{0, 0, 0}));

    const qvSimpleArray2D<double> v(3, 2, 1.5);
    EXPECT_EQ(BlockSizeWord(v.GetPointer()), -6);
    EXPECT_EQ(std::vector<double>(v.begin(), v.end()), std::vector<double>(6, 1.5));
    CQV_EXPECT_BAD(qvSimpleArray2D<double>(0, 3), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvSimpleArray2D<double>(-2, 3, 1.0), "qvNewWithRef : n <= 0 ");

    // A row is a window on the grid until it regrows; rows out of range are
    // refused before anything changes.
    qvSimpleArray<double> line;
    g.GetLine(line, 1);
    line[0] = 5;
    EXPECT_EQ((std::vector<double>{line[1], g(1, 0)}), (std::vector<double>{11, 5}));
    EXPECT_EQ(BlockCount(g.GetPointer()), 2);
    CQV_EXPECT_BAD(g.GetLine(line, 2), "qvSimpleArray2D<T>::GetLine : out of range ");
    CQV_EXPECT_BAD(g.GetLine(line, -1), "qvSimpleArray2D<T>::GetLine : out of range ");
    EXPECT_EQ(line.GetPointer(), g.GetPointer() + 3);
    line.push_back(7);
    EXPECT_EQ(BlockCount(g.GetPointer()), 1);
}

TEST(SimpleArray2D, InitAndAssignmentKeepTheBlockForTheSameCountSetReallocates) {
    qvSimpleArray2D<double> g = Numbered(2, 3);
    const double* block = g.GetPointer();
    g.Init(2, 3);  // the same extents: the same block and elements
    EXPECT_EQ(g.GetPointer(), block);
    EXPECT_EQ(g(1, 2), 12);
    qvSimpleArray<double> row;
    g.GetLine(row, 0);
    g.Set(2, 3);  // the row window keeps the old block alive
    EXPECT_NE(g.GetPointer(), row.GetPointer());
    EXPECT_EQ(BlockCount(row.GetPointer()), 1);

    g.Init(3, 2);  // other extents
    EXPECT_EQ(Extents(g), (std::vector<int>{3, 2, 6}));
    g.Set(4, 1, 2.0);
    EXPECT_EQ(Extents(g), (std::vector<int>{4, 1, 4}));
    EXPECT_EQ(g(3, 0), 2.0);
    g.Set(0, 5);
    EXPECT_EQ(Extents(g), (std::vector<int>{0, 5, 0}));

    g = Numbered(2, 2);
    // A copy is private; assignment takes the extents, and at an equal
    // element count the elements go into the present block.
    const qvSimpleArray2D<double> copy(g);
    EXPECT_NE(copy.GetPointer(), g.GetPointer());
    EXPECT_EQ(copy(1, 1), 11);
    g = Numbered(1, 4);
    block = g.GetPointer();
    g = Numbered(4, 1);
    EXPECT_EQ(g.GetPointer(), block);
    EXPECT_EQ(Extents(g), (std::vector<int>{4, 1, 4}));
    EXPECT_EQ(g(3, 0), 30);
    g = qvSimpleArray2D<double>();
    EXPECT_EQ(Extents(g), (std::vector<int>{0, 0, 0}));
}
