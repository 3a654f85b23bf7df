// The tour's section on N-dimensional arrays: a cube, views that write
// through to it, the median of a view, the cyclic cursor, and a segment
// clipped to a grid (drawn to ndarray_clip.svg).
#include <cqv/cqv.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "svg_writer.h"
#include "tour.h"

namespace {

qvArray<int> Ints(std::initializer_list<int> xs) {
    qvArray<int> a(static_cast<int>(xs.size()));
    int i = 0;
    for (int x : xs) a[i++] = x;
    return a;
}

void PrintTable(const char* label, const qvArray<int>& a) {
    std::printf("%s (", label);
    for (int i = 0; i < a.Len(); ++i) std::printf(i == 0 ? "%d" : ", %d", a[i]);
    std::printf(")");
}

// The elements of a 4 × 3 plane of the cube, row j on a line of its own.
void PrintPlane(const char* label, const qvArrayND<double>& plane) {
    std::printf("%s\n", label);
    const qvArray<int>& r = plane.Range();
    const qvArray<int>& t = plane.Tab();
    for (int j = 0; j < r[1]; ++j) {
        std::printf("   ");
        for (int i = 0; i < r[0]; ++i) std::printf(" %5g", plane.GetPointer()[i * t[0] + j * t[1]]);
        std::printf("\n");
    }
}

}  // namespace

void NDimensionalArrays() {
    Section("N-dimensional arrays: a cube, views written through, a cyclic cursor");
    //! [ndarray]
    // A 4 × 3 × 2 cube, dimension 0 fastest in memory, numbered in storage
    // order.
    qvArrayND<double> cube(Ints({4, 3, 2}));
    for (int k = 0; k < cube.size(); ++k) cube.GetPointer()[k] = k;
    PrintTable("cube: extents", cube.Range());
    PrintTable(", strides", cube.Tab());
    PrintTable(", carry steps", cube.GetForTab());
    std::printf(", %d elements, contiguous: %s\n", cube.size(), cube.IsCon() ? "yes" : "no");

    // The plane k = 1 as a view of two dimensions, shared with the cube.
    qvArrayND<double> plane;
    plane.ReduceDimArrayND(cube, 2, 1);
    PrintPlane("plane k = 1 (a slice):", plane);
    //! [ndarray]

    // Written through a flipped view of the slice: its row j = 0, read
    // backwards, becomes 100, 101, 102, 103.
    qvArrayND<double> mirror;
    mirror.Set(plane);
    mirror.Flip(0);
    qvArrayND<double> row;
    row.ReduceDimArrayND(mirror, 1, 0);
    for (int i = 0; i < 4; ++i) row.GetPointer()[i * row.Tab()[0]] = 100 + i;
    PrintPlane("the same plane after writing 100..103 through its mirror's first row:", plane);
    std::printf("cube elements 12..15 now: %g %g %g %g; the block has %d holders\n", cube.GetPointer()[12],
                cube.GetPointer()[13], cube.GetPointer()[14], cube.GetPointer()[15], cube.GetNumOfRef() + 1);

    // Arithmetic between layouts: a private copy of the cube plus the cube
    // seen half-turned in the plane of dimensions 0 and 1.
    qvArrayND<double> sum(cube);
    qvArrayND<double> half;
    half.Set(cube);
    half.Rotate180(0, 1);
    sum += half;
    std::printf("cube plus its half-turn: element (0,0,0) = %g + %g = %g, (3,2,1) = %g + %g = %g\n",
                cube.front(), half.front(), sum.front(), cube.back(), half.back(), sum.back());

    // The median of a view: the elements are copied in walk order; the
    // cube keeps its order.
    double lo = 0, hi = 0;
    plane.MinAndMax(lo, hi);
    std::printf("plane k = 1: least %g, greatest %g, median %g; cube element 12 is still %g\n", lo, hi,
                plane.Median(), cube.GetPointer()[12]);

    // The cyclic cursor walks the positions of the mirror in walk order
    // and wraps around at the end; the array reads through it directly.
    qvRoundArrayND cursor(mirror);
    std::printf("the mirror through a cyclic cursor:");
    int steps = 0;
    do {
        std::printf(" %g", mirror[cursor]);
        ++steps;
    } while (++cursor);
    std::printf("\n  %d steps, then back at index (%d, %d), offset %d; one step back: ", steps, cursor[0], cursor[1],
                cursor.GetPos());
    --cursor;
    std::printf("index (%d, %d), offset %d, element %g\n", cursor[0], cursor[1], cursor.GetPos(), mirror[cursor]);

    //! [ndarray_clip]
    // A segment clipped to a 10 × 8 grid, drawn with the grid.
    const qvArrayND<unsigned char> grid(Ints({10, 8}));
    qvArray<int> p1 = Ints({-3, 1}), p2 = Ints({14, 10});
    const std::pair<double, double> a(p1[0], p1[1]), b(p2[0], p2[1]);
    const int inside = grid.GetLineWithin(p1, p2);
    std::printf("segment (%g, %g)-(%g, %g) clipped to the 10 x 8 grid: %s (%d, %d)-(%d, %d)\n", a.first, a.second,
                b.first, b.second, inside ? "inside from" : "outside", p1[0], p1[1], p2[0], p2[1]);
    //! [ndarray_clip]
    SvgWriter svg(-4, -1, 15, 11);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 8; ++y) svg.Dot(x, y, "#bbbbbb", 2.0);
    svg.Polygon({{0, 0}, {9, 0}, {9, 7}, {0, 7}}, "#888888", "none", 1.0);
    svg.Line(a.first, a.second, b.first, b.second, "#4477aa", 1.0, "4 3");
    svg.Line(p1[0], p1[1], p2[0], p2[1], "#cc3311", 2.5);
    svg.Text(p1[0], p1[1], "clipped");
    const std::string path = TourOutputPath("ndarray_clip.svg");
    if (svg.Save(path)) std::printf("picture: %s\n", path.c_str());
}
