// The tour's section on Beta-spline curves, closed curves and tubes.
#include <cqv/cqv.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "svg_writer.h"
#include "tour.h"

namespace {

using V3 = qvTVec3<double>;
using Path = std::vector<std::pair<double, double>>;

const double kPi = std::acos(-1.0);

qvVector<V3> Points(const std::vector<V3>& xs) {
    qvVector<V3> p(static_cast<int>(xs.size()));
    for (int i = 0; i < p.Len(); ++i) p[i] = xs[static_cast<std::size_t>(i)];
    return p;
}

// The curve sampled at count + 1 parameters from 0 to 1, shifted by dx.
Path Sampled(const BetaCurve& c, int count, double dx = 0) {
    Path path;
    for (int i = 0; i <= count; ++i) {
        const V3 q = c(static_cast<double>(i) / count);
        path.push_back({q.X() + dx, q.Y()});
    }
    return path;
}

// The control points users see, shifted by dx.
Path ControlPolygon(const BetaCurve& c, double dx = 0) {
    Path path;
    for (int i = 0; i < c.GetControlNumber(); ++i) path.push_back({c.GetControl(i).X() + dx, c.GetControl(i).Y()});
    return path;
}

qvSimpleContour2D Contour(int n, double rx, double ry, double start, double squareness) {
    qvSimpleContour2D c(n);
    for (int j = 0; j < n; ++j) {
        const double t = start + 2 * kPi * j / n;
        const double x = std::cos(t), y = std::sin(t);
        // Between an ellipse (0) and a rounded square (1).
        const double k = 1 + squareness * (std::pow(std::fabs(x) + std::fabs(y), 2) / 2 - 0.5);
        c[j] = qvVec2(rx * x * k, ry * y * k);
    }
    return c;
}

// The oblique projection of the tour's tube picture: x to the right, z up,
// y receding at 30 degrees, foreshortened by half.
std::pair<double, double> Oblique(const V3& q) {
    return {q.X() + 0.5 * q.Y() * std::cos(kPi / 6), q.Z() + 0.5 * q.Y() * std::sin(kPi / 6)};
}

void Curves() {
    //! [beta_curves]
    const qvVector<V3> p = Points({V3(0, 0, 0), V3(1, 2, 0), V3(2.5, 2.2, 0), V3(3, 0.5, 0), V3(4.5, 0, 0),
                                   V3(5.5, 1.8, 0), V3(7, 2, 0)});
    std::printf("seven points in the plane, from (0, 0) to (7, 2)\n");
    const double shapes[4][2] = {{1.0, 0.0}, {2.0, 2.0}, {1.0, 8.0}, {0.5, 1.0}};
    const double shift = 8.5;
    SvgWriter svg(-0.5, -1.9, 4 * shift - 1.0, 3.9, 1400, 290);
    for (int s = 0; s < 4; ++s) {
        const double skew = shapes[s][0], tension = shapes[s][1];
        const BetaCurve c(p, skew, tension);
        if (s < 2) {
            // The line x = 2.8 crosses the curve once, near u = 0.4.
            V3 up(0, 1, 0), at(2.8, 0, 0);
            const double u = c.FindCrossection(up, at, 0.4);
            const V3 q = c(u);
            std::printf("skew %.1f, tension %.1f: %d control points, length %.4f; crosses x = 2.8 at u = %.6f, "
                        "y = %.6f\n",
                        skew, tension, c.GetControlNumber(), c.GetLength(), u, q.Y());
            const V3 t = c.GetTangent(0.5);
            std::printf("  at u = 0.5 the curve is at (%.4f, %.4f) heading (%.4f, %.4f)\n", c(0.5).X(), c(0.5).Y(),
                        t.X(), t.Y());
        }
        const double dx = s * shift;
        svg.Polyline(ControlPolygon(c, dx), "#999999", 1.0, "4 3");
        svg.Polyline(Sampled(c, 300, dx), "#1f5fbf", 2.0);
        for (int i = 0; i < p.Len(); ++i) svg.Dot(p[i].X() + dx, p[i].Y(), "#c03020");
        char label[64];
        std::snprintf(label, sizeof label, "skew %.1f, tension %.1f", skew, tension);
        svg.Text(dx, -1.6, label, 0, 0);
    }
    //! [beta_curves]
    const std::string path = TourOutputPath("beta_curves.svg");
    if (svg.Save(path)) std::printf("curves with their control polygons: %s\n", path.c_str());

    // Re-sampled by arc length: ten points, evenly spread along the curve.
    BetaCurve c(p, 1.0, 0.0);
    c.Rebuild(10);
    std::printf("rebuilt through %d points spaced by arc length; the first steps:", c.GetControlNumber());
    for (int i = 1; i < 4; ++i) {
        const double a = static_cast<double>(i - 1) / (c.GetControlNumber() - 1);
        const double b = static_cast<double>(i) / (c.GetControlNumber() - 1);
        std::printf(" %.3f", (c(b) - c(a)).Norm());
    }
    std::printf("\n");
}

void ClosedCurve() {
    //! [beta_contour]
    // Ten points around a five-pointed star, alternating radii.
    std::vector<V3> pts;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 2.0 : 1.0, t = kPi / 2 + 2 * kPi * i / 10;
        pts.push_back(V3(r * std::cos(t), r * std::sin(t), 0));
    }
    const qvVector<V3> p = Points(pts);
    const BetaContour star(p, 1.0, 2.0);
    double worst = 0;
    for (int i = 0; i < p.Len(); ++i) worst = std::fmax(worst, (star(static_cast<double>(i) / p.Len()) - p[i]).Norm());
    std::printf("a closed curve through 10 points (skew 1, tension 2): passes them within %.1e, "
                "u = 1 returns to (%.3f, %.3f), length %.4f\n",
                worst, star(1.0).X(), star(1.0).Y(), star.GetLength());

    //! [beta_contour]
    SvgWriter svg(-2.6, -2.6, 2.6, 2.6, 420, 420);
    Path ring = ControlPolygon(star);
    svg.Polygon(ring, "#999999", "none", 1.0);
    Path outline = Sampled(star, 400);
    svg.Polygon(outline, "#1f5fbf", "#dce8f8", 2.0);
    for (const V3& q : pts) svg.Dot(q.X(), q.Y(), "#c03020");
    svg.Text(-2.5, -2.5, "closed Beta-spline, skew 1, tension 2", 0, 0);
    const std::string path = TourOutputPath("beta_contour.svg");
    if (svg.Save(path)) std::printf("the closed curve and its control ring: %s\n", path.c_str());
}

void Tube() {
    //! [beta_tube]
    // An ellipse at height 0, a circle starting elsewhere at 2, a rounded
    // square at 4: resampled to 40 points each and aligned.
    qvSimpleArray<qvSimpleContour2D> k(3);
    k[0] = Contour(24, 3.0, 1.8, 0.0, 0.0);
    k[1] = Contour(30, 2.0, 2.0, 1.0, 0.0);
    k[2] = Contour(40, 2.4, 2.4, 0.3, 0.6);
    qvSimpleArray<double> z(3);
    z[0] = 0;
    z[1] = 2;
    z[2] = 4;
    BetaTube tube(1.2, 1.0);
    tube.MakeInterpolation(k, z);
    std::printf("a tube through three contours at heights 0, 2, 4: the point at u = 0.25 climbs");
    for (double v : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        const V3 q = tube(0.25, v);
        std::printf(" (%.2f, %.2f, %.2f)", q.X(), q.Y(), q.Z());
    }
    std::printf("\n");

    //! [beta_tube]
    SvgWriter svg(-4.5, -1.2, 5.0, 5.8, 520, 400);
    for (int i = 0; i <= 12; ++i) {
        Path ring;
        for (int j = 0; j < 96; ++j) ring.push_back(Oblique(tube(j / 96.0, i / 12.0)));
        svg.Polygon(ring, "#1f5fbf", "none", i % 6 == 0 ? 1.8 : 0.8);
    }
    for (int j = 0; j < 24; ++j) {
        Path line;
        for (int i = 0; i <= 48; ++i) line.push_back(Oblique(tube(j / 24.0, i / 48.0)));
        svg.Polyline(line, "#7a9ad0", 0.8);
    }
    for (int c = 0; c < 3; ++c)
        for (int j = 0; j < k[c].Len(); ++j) {
            const std::pair<double, double> q = Oblique(V3(k[c][j].X(), k[c][j].Y(), z[c]));
            svg.Dot(q.first, q.second, "#c03020", 2.0);
        }
    svg.Text(-4.4, -1.0, "tube through three contours, oblique projection", 0, 0);
    const std::string path = TourOutputPath("beta_tube.svg");
    if (svg.Save(path)) std::printf("the tube as a wireframe: %s\n", path.c_str());
}

}  // namespace

void BetaSplines() {
    Section("Beta-spline curves, closed curves and tubes");
    Curves();
    ClosedCurve();
    Tube();
}
