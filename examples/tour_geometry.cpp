// The tour's geometry section: a contour on the grid, its area and
// orientation, points inside and on its boundary, a cut by a straight line,
// and a rotation with shift fitted to pairs of points, drawn into one picture.
#include <cqv/cqv.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "svg_writer.h"
#include "tour.h"

namespace {

using Pts = std::vector<std::pair<double, double>>;

Pts ToPts(const qvSimpleArray<qvVec2>& c, double dx = 0) {
    Pts out;
    for (int i = 0; i < c.Len(); ++i) out.emplace_back(c[i].X() + dx, c[i].Y());
    return out;
}

void PrintPoints(const char* label, const qvSimpleArray<qvVec2>& c) {
    std::printf("%-28s", label);
    for (int i = 0; i < c.Len(); ++i) std::printf(" (%g, %g)", c[i].X(), c[i].Y());
    std::printf("\n");
}

}  // namespace

void Geometry() {
    //! [geometry]
    Section("Geometry: a contour, a cut by a line, a fitted transform");
    // A notched outline traced on the grid, counter-clockwise.
    const double outline[][2] = {{1, 1}, {9, 1}, {9, 8}, {6, 8}, {6, 4}, {4, 4}, {4, 8}, {1, 8}};
    qvSimpleContour2D c;
    for (const auto& p : outline) c.push_back(qvVec2(p[0], p[1]));
    PrintPoints("contour", c);
    std::printf("%-28s %g (signed %g), perimeter %g\n", "area", c.GetS(), c.GetSignedS(), c.GetLengthOfCurve());
    std::printf("%-28s %d (%s)\n", "orientation code", c.GetOrient(),
                c.GetOrient() == 0 ? "counter-clockwise" : "clockwise");
    const qvVec2 probes[] = {qvVec2(2, 2), qvVec2(5, 6), qvVec2(6, 5), qvVec2(9, 8)};
    for (const qvVec2& p : probes) {
        char label[64];
        std::snprintf(label, sizeof label, "IsInsidePoint(%g, %g)", p.X(), p.Y());
        std::printf("%-28s %2d\n", label, c.IsInsidePoint(p));
    }

    // Keep what lies below the line from (0, 6) to (10, 3): the right of its
    // direction with y up. The notch's floor ends up inside the kept part.
    const qvVec2 from(0, 6), to(10, 3);
    const qvGeom::StraightLine2D line(from, to);
    const qvSimpleContour2D kept = c.CutByStraightLine(line);
    PrintPoints("kept below the line", kept);
    std::printf("%-28s %g of %g\n", "kept area", kept.GetS(), c.GetS());

    // Pairs of points: b is a turned by 30 degrees about the origin and
    // shifted by (3, -1), with a little noise. The fit recovers the turn.
    const double pi = 3.14159265358979323846;
    const double noise[][2] = {{0.05, -0.02}, {-0.03, 0.04}, {0.02, 0.03}, {-0.04, -0.05}, {0.01, 0.02}};
    qvSimpleArray<qvVec2> a(5), b(5);
    qvTransformCoord2D truth;
    truth.AddTurn(pi / 6);
    truth.AddShift(qvVec2(3, -1));
    for (int i = 0; i < 5; ++i) {
        a[i] = qvVec2(1 + 1.5 * i, (i % 2 == 0) ? 2.0 : 5.0);
        b[i] = truth.Transform(a[i]) + qvVec2(noise[i][0], noise[i][1]);
    }
    qvTransformCoord2D fit;
    fit.MakeRotateShiftFromEquations(a, b);
    const qvMatrix2x2& m = fit.GetMatrix();
    double residual = 0;
    for (int i = 0; i < 5; ++i) residual += (fit.Transform(a[i]) - b[i]).ScalarMul();
    std::printf("%-28s turn %.3f degrees, shift (%.3f, %.3f), residual %.5f\n", "fitted to 5 pairs",
                std::atan2(m(1, 0), m(0, 0)) * 180 / pi, fit.GetShift().X(), fit.GetShift().Y(), residual);

    // One picture: the cut on the left, the fit on the right (moved by 14).
    const double dx = 14;
    //! [geometry]
    SvgWriter svg(0, -2, 26, 12, 960, 520);
    svg.Polygon(ToPts(c), "#555", "none", 1.5);
    svg.Polygon(ToPts(kept), "#1f6fb4", "#9cc3e6");
    svg.Line(from.X(), from.Y(), to.X(), to.Y(), "#c0392b", 1.5, "6 4");
    svg.Text(0.5, 10.5, "contour, cutting line, part kept", 0, 0, 14);
    svg.Text(0.5, -0.5, "probes: inside green, outside grey, on the boundary orange", 0, 0, 12);
    // The probe points: inside green, outside grey, on the boundary orange.
    for (const qvVec2& p : probes) {
        const int where = c.IsInsidePoint(p);
        svg.Dot(p.X(), p.Y(), where > 0 ? "#27ae60" : where < 0 ? "#888" : "#e67e22", 4);
    }
    for (int i = 0; i < 5; ++i) {
        const qvVec2 img = fit.Transform(a[i]);
        svg.Line(a[i].X() + dx, a[i].Y(), b[i].X() + dx, b[i].Y(), "#bbb", 1.0, "3 3");
        svg.Dot(a[i].X() + dx, a[i].Y(), "#1f6fb4");
        svg.Dot(b[i].X() + dx, b[i].Y(), "#c0392b", 4);
        svg.Dot(img.X() + dx, img.Y(), "#27ae60", 2);
    }
    svg.Text(dx + 0.5, 10.5, "a (blue), b (red), fitted images of a (green)", 0, 0, 14);
    const std::string path = TourOutputPath("geometry.svg");
    if (svg.Save(path))
        std::printf("%-28s %s\n", "picture", path.c_str());
    else
        std::printf("%-28s could not write %s\n", "picture", path.c_str());
}
