// A small SVG writer for the tour's pictures: no dependency, one file.
//
// Coordinates are given in the drawing's own units (y pointing up, as the
// library's geometry has it); the writer maps the box given at construction
// onto the picture, flipping y, and keeps a margin around it.
#ifndef CQV_EXAMPLES_SVG_WRITER_H
#define CQV_EXAMPLES_SVG_WRITER_H

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

class SvgWriter {
public:
    // A picture of width x height pixels showing the box [x0, x1] x [y0, y1].
    SvgWriter(double x0, double y0, double x1, double y1, int width = 480, int height = 480)
        : x0_(x0), y0_(y0), x1_(x1), y1_(y1), width_(width), height_(height) {}

    // An open polyline through the points.
    void Polyline(const std::vector<std::pair<double, double>>& pts, const char* stroke, double stroke_width = 1.5,
                  const char* dash = nullptr) {
        Path(pts, false, stroke, "none", stroke_width, dash);
    }

    // A closed polygon through the points, filled with fill ("none" for no
    // fill).
    void Polygon(const std::vector<std::pair<double, double>>& pts, const char* stroke, const char* fill,
                 double stroke_width = 1.5) {
        Path(pts, true, stroke, fill, stroke_width, nullptr);
    }

    // A line segment between two points.
    void Line(double xa, double ya, double xb, double yb, const char* stroke, double stroke_width = 1.0,
              const char* dash = nullptr) {
        Polyline({{xa, ya}, {xb, yb}}, stroke, stroke_width, dash);
    }

    // A dot of radius r pixels.
    void Dot(double x, double y, const char* fill, double r = 3.0) {
        char buf[256];
        std::snprintf(buf, sizeof buf, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.2f\" fill=\"%s\"/>\n", MapX(x), MapY(y),
                      r, fill);
        body_ += buf;
    }

    // Text whose baseline starts at the point, offset by (dx, dy) pixels.
    void Text(double x, double y, const std::string& text, double dx = 4.0, double dy = -4.0, int size = 12) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "<text x=\"%.2f\" y=\"%.2f\" font-family=\"sans-serif\" font-size=\"%d\">",
                      MapX(x) + dx, MapY(y) + dy, size);
        body_ += buf;
        for (char c : text) {
            if (c == '<') body_ += "&lt;";
            else if (c == '>') body_ += "&gt;";
            else if (c == '&') body_ += "&amp;";
            else body_ += c;
        }
        body_ += "</text>\n";
    }

    // Writes the picture to path; returns false if the file cannot be written.
    bool Save(const std::string& path) const {
        std::FILE* f = std::fopen(path.c_str(), "w");
        if (f == nullptr) return false;
        std::fprintf(f,
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                     "viewBox=\"0 0 %d %d\">\n<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
                     width_, height_, width_, height_);
        std::fputs(body_.c_str(), f);
        std::fputs("</svg>\n", f);
        return std::fclose(f) == 0;
    }

private:
    static constexpr double kMargin = 20.0;

    double MapX(double x) const { return kMargin + (x - x0_) / (x1_ - x0_) * (width_ - 2 * kMargin); }
    double MapY(double y) const { return height_ - kMargin - (y - y0_) / (y1_ - y0_) * (height_ - 2 * kMargin); }

    void Path(const std::vector<std::pair<double, double>>& pts, bool closed, const char* stroke, const char* fill,
              double stroke_width, const char* dash) {
        if (pts.empty()) return;
        body_ += "<path d=\"";
        char buf[64];
        for (std::size_t i = 0; i < pts.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%c%.2f %.2f ", i == 0 ? 'M' : 'L', MapX(pts[i].first),
                          MapY(pts[i].second));
            body_ += buf;
        }
        if (closed) body_ += "Z";
        std::snprintf(buf, sizeof buf, "\" stroke=\"%s\" fill=\"", stroke);
        body_ += buf;
        body_ += fill;
        std::snprintf(buf, sizeof buf, "\" stroke-width=\"%.2f\"", stroke_width);
        body_ += buf;
        if (dash != nullptr) {
            body_ += " stroke-dasharray=\"";
            body_ += dash;
            body_ += "\"";
        }
        body_ += "/>\n";
    }

    double x0_, y0_, x1_, y1_;
    int width_, height_;
    std::string body_;
};

#endif  // CQV_EXAMPLES_SVG_WRITER_H
