#include "tools/artwork/scale.h"

#include <cmath>
#include <cstdio>

namespace art {

void ticks(Canvas &c, const Dial &d, const Ticks &t) {
  double step = std::abs(t.step);
  int count = static_cast<int>(std::floor((t.to - t.from) / step + 1e-6));
  for (int i = 0; i <= count; ++i) {
    double v = t.from + i * step;
    Point a = d.at(v, t.inner), b = d.at(v, t.outer);
    c.line(a.x, a.y, b.x, b.y, t.width, t.colour);
  }
}

void figures(Canvas &c, const Dial &d, const std::vector<std::pair<double, std::string>> &marks,
             double radius, double size, Rgb colour, double narrow) {
  for (const auto &[value, text] : marks) {
    Point p = d.at(value, radius);
    c.text(p.x, p.y, text, size, colour, Align::kCentre, true, narrow);
  }
}

void numbers(Canvas &c, const Dial &d, double from, double to, double step, double radius,
             double size, double shown, Rgb colour) {
  std::vector<std::pair<double, std::string>> marks;
  int count = static_cast<int>(std::floor((to - from) / step + 1e-6));
  for (int i = 0; i <= count; ++i) {
    double v = from + i * step;
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", v * shown);
    marks.emplace_back(v, text);
  }
  figures(c, d, marks, radius, size, colour);
}

void band(Canvas &c, const Dial &d, double from, double to, double radius, double width,
          Rgb colour) {
  constexpr int kSteps = 64;
  cairo_t *cr = c.cr();
  for (int i = 0; i <= kSteps; ++i) {
    Point p = d.at(from + (to - from) * i / kSteps, radius);
    if (i == 0)
      cairo_move_to(cr, p.x, p.y);
    else
      cairo_line_to(cr, p.x, p.y);
  }
  cairo_set_line_width(cr, width);
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
  cairo_stroke(cr);
}

void hub(Canvas &c, Point at, double r) { c.knob(at.x, at.y, r, kBezel); }

}  // namespace art
