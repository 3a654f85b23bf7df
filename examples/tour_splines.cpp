// The tour's section on splines and the extremum search: a spline through
// measured points with its derivatives, a closed spline curve and its
// length, and the gradient search for a minimum, each with a picture.
#include <cqv/cqv.h>

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "svg_writer.h"
#include "tour.h"

namespace {

using Path = std::vector<std::pair<double, double>>;

void Saved(const SvgWriter& svg, const char* name) {
    const std::string path = TourOutputPath(name);
    std::printf("%-28s %s\n", svg.Save(path) ? "picture" : "could not write", path.c_str());
}

// The spline of the readings, for the searches below.
const qvSpline<double>* g_day = nullptr;

double Temperature(qvArray<double>& t, void*) { return (*g_day)(t[0]); }
void Warming(qvArray<double>& g, qvArray<double>& t, void*) { g[0] = g_day->Derivative(t[0], 1); }
// Keeps every trial hour inside the day the readings cover.
void WithinTheDay(qvArray<double>& y, qvArray<double>& t) { y[0] = t[0] < 0 ? 0 : t[0] > 24 ? 24 : t[0]; }

void MeasuredDay() {
    //! [spline_day]
    // Temperatures read at uneven hours through a day, joined by the
    // natural spline (no curvature at either end).
    const double hours[] = {0, 2, 3.5, 6, 8, 11, 13, 15.5, 18, 21, 24};
    const double readings[] = {12.1, 11.0, 10.6, 11.2, 14.0, 18.5, 20.9, 21.4, 18.8, 15.2, 12.6};
    const int n = 11;
    qvCurve2D points(n);
    for (int i = 0; i < n; ++i) points[i] = qvVec2(hours[i], readings[i]);
    qvSpline<double> day;
    day.Set(points);
    qvSimpleArray<int> code(2);
    code[0] = 0;  // no slope prescribed
    code[1] = 3;  // the curvature at both ends: 0
    qvMatrix<double> ends(2, 2);
    ends(0, 0) = ends(0, 1) = ends(1, 0) = ends(1, 1) = 0;
    day.MkSpline3(code, ends);
    std::printf("natural spline through %d readings, self-test %d\n", day.GetNumberOfPoint(), day.Check());
    std::printf("  hour   temperature   per hour   curvature\n");
    for (double h : {1.0, 5.0, 9.5, 14.0, 20.0})
        std::printf("  %5.1f  %8.3f     %+8.3f   %+8.4f\n", h, day(h), day.Derivative(h, 1), day.Derivative(h, 2));

    // The warmest moment: a maximum, so the search takes a negative step;
    // every trial is kept within the day.
    g_day = &day;
    qvArray<double> start(1, 12.0), warmest;
    const int r = qvFindExtremum().GradMethod(warmest, Temperature, Warming, WithinTheDay, start, -0.5, 1e-9, nullptr);
    g_day = nullptr;
    std::printf("warmest at %.3f h: %.3f (search returned %d, slope there %.1e)\n", warmest[0], day(warmest[0]), r,
                day.Derivative(warmest[0], 1));

    //! [spline_day]
    SvgWriter svg(0, 9, 24, 23);
    Path curve;
    for (int i = 0; i <= 240; ++i) {
        const double h = i < 240 ? 0.1 * i : 24.0;
        curve.push_back({h, day(h)});
    }
    for (int h = 0; h <= 24; h += 6) svg.Line(h, 9, h, 23, "#dddddd");
    svg.Polyline(curve, "#1f77b4", 2);
    for (int i = 0; i < n; ++i) svg.Dot(hours[i], readings[i], "#d62728");
    svg.Dot(warmest[0], day(warmest[0]), "#2ca02c", 5);
    svg.Text(warmest[0], day(warmest[0]), "warmest");
    svg.Text(0, 9, "0 h", 2, -4);
    svg.Text(24, 9, "24 h", -30, -4);
    Saved(svg, "spline_day.svg");
}

void ClosedOutline() {
    //! [spline_flower]
    // A flower of five petals sampled at 15 points, the first repeated at
    // the end to close it, and the closed spline curve through them.
    const int m = 15;
    qvCurve2D outline(m + 1);
    for (int i = 0; i <= m; ++i) {
        const double a = 2 * 3.14159265358979323846 * (i % m) / m;
        const double r = 1 + 0.3 * std::cos(5 * a);
        outline[i] = qvVec2(r * std::cos(a), r * std::sin(a));
    }
    const qvSplineCurve2D flower(outline);
    qvSimpleContour2D polygon(m);
    for (int i = 0; i < m; ++i) polygon[i] = outline[i];
    std::printf("closed spline through %d points: length %.4f, polygon %.4f\n", m, flower.GetLengthOfCurve(),
                polygon.GetLengthOfCurve());
    const qvVec2 p = flower.GetPoint(0.5), v = flower.GetTangent(0.5);
    std::printf("at t = 0.5: point (%.4f, %.4f), tangent (%.4f, %.4f)\n", p.X(), p.Y(), v.X(), v.Y());
    const qvVec2 seam = flower.GetPoint(1), start = flower.GetPoint(0);
    std::printf("t = 1 returns to t = 0: (%.4f, %.4f) and (%.4f, %.4f)\n", seam.X(), seam.Y(), start.X(), start.Y());

    //! [spline_flower]
    SvgWriter svg(-1.4, -1.4, 1.4, 1.4);
    Path corners, smooth;
    for (int i = 0; i < m; ++i) corners.push_back({outline[i].X(), outline[i].Y()});
    for (int i = 0; i <= 300; ++i) {
        const qvVec2 q = flower.GetPoint(i < 300 ? i / 300.0 : 1.0);
        smooth.push_back({q.X(), q.Y()});
    }
    svg.Polygon(corners, "#999999", "none", 1);
    svg.Polyline(smooth, "#9467bd", 2);
    for (const auto& c : corners) svg.Dot(c.first, c.second, "#d62728");
    Saved(svg, "spline_flower.svg");
}

// Himmelblau's function, scaled down: four valleys, with its gradient. The
// gradient callback sees every point the search accepts, so it records the
// path.
double Valleys(qvArray<double>& p, void*) {
    const double a = p[0] * p[0] + p[1] - 11, b = p[0] + p[1] * p[1] - 7;
    return (a * a + b * b) / 10;
}
double Valleys(double x, double y) {
    qvArray<double> p(2);
    p[0] = x;
    p[1] = y;
    return Valleys(p, nullptr);
}
void ValleysGradient(qvArray<double>& g, qvArray<double>& p, void* data) {
    const double x = p[0], y = p[1];
    const double a = x * x + y - 11, b = x + y * y - 7;
    g[0] = (4 * x * a + 2 * b) / 10;
    g[1] = (2 * a + 4 * y * b) / 10;
    static_cast<Path*>(data)->push_back({x, y});
}

// Contour lines of f over [lo, hi]² by marching squares on a grid of
// cells: each cell's edges crossed by a level give a segment.
void ContourLines(SvgWriter& svg, double (*f)(double, double), double lo, double hi, int cells,
                  const std::vector<double>& levels) {
    const double w = (hi - lo) / cells;
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            const double x0 = lo + i * w, y0 = lo + j * w;
            // Corners counter-clockwise from the lower left, and the edges
            // between them.
            const double cx[4] = {x0, x0 + w, x0 + w, x0}, cy[4] = {y0, y0, y0 + w, y0 + w};
            double v[4];
            for (int c = 0; c < 4; ++c) v[c] = f(cx[c], cy[c]);
            for (double level : levels) {
                Path cut;
                for (int e = 0; e < 4; ++e) {
                    const int a = e, b = (e + 1) % 4;
                    if ((v[a] < level) == (v[b] < level)) continue;
                    const double s = (level - v[a]) / (v[b] - v[a]);
                    cut.push_back({cx[a] + s * (cx[b] - cx[a]), cy[a] + s * (cy[b] - cy[a])});
                }
                for (std::size_t k = 0; k + 1 < cut.size(); k += 2)
                    svg.Line(cut[k].first, cut[k].second, cut[k + 1].first, cut[k + 1].second, "#bbbbbb", 0.8);
            }
        }
}

void ValleySearch() {
    //! [gradient_search]
    // Steepest descent from (0, 0): the step doubles while it helps and
    // halves when it does not, until it is shorter than 1e-9.
    Path path;
    qvArray<double> start(2, 0.0), bottom;
    const int r = qvFindExtremum().GradMethod(bottom, Valleys, ValleysGradient, start, 0.05, 1e-9, &path);
    std::printf("gradient search from (0, 0): (%.6f, %.6f), f = %.2e, %zu steps, returned %d\n", bottom[0], bottom[1],
                Valleys(bottom, nullptr), path.size(), r);
    path.push_back({bottom[0], bottom[1]});

    //! [gradient_search]
    SvgWriter svg(-5, -5, 5, 5);
    ContourLines(svg, Valleys, -5, 5, 100, {0.05, 0.5, 2, 5, 10, 20, 40, 80});
    svg.Polyline(path, "#d62728", 1.5);
    svg.Dot(0, 0, "#1f77b4", 4);
    svg.Dot(bottom[0], bottom[1], "#2ca02c", 4);
    svg.Text(0, 0, "start");
    svg.Text(bottom[0], bottom[1], "minimum");
    Saved(svg, "gradient_search.svg");
}

}  // namespace

void Splines() {
    Section("Splines, spline curves and the extremum search");
    MeasuredDay();
    ClosedOutline();
    ValleySearch();
}
