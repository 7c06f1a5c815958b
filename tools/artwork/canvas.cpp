#include "tools/artwork/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMinCoverage = 0.25;

void set(cairo_t *cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

std::uint32_t channel(double v) {
  return static_cast<std::uint32_t>(std::clamp(std::lround(v * 255.0), 0L, 255L));
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Canvas::Canvas(int width, int height, Rgb matte)
    : width_(width), height_(height), matte_(matte),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  // Text the same on every machine with the same fonts: no hinting.
  cairo_font_options_t *options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::rect(double x, double y, double w, double h, Rgb fill) {
  cairo_rectangle(cr_, x, y, w, h);
  set(cr_, fill);
  cairo_fill(cr_);
}

void Canvas::round_rect(double x, double y, double w, double h, double r, Rgb fill) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr_, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr_, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr_, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr_);
  set(cr_, fill);
  cairo_fill(cr_);
}

void Canvas::circle(double cx, double cy, double r, Rgb fill) {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, r, 0, 2 * kPi);
  set(cr_, fill);
  cairo_fill(cr_);
}

void Canvas::ring(double cx, double cy, double r, double width, Rgb colour) {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, r, 0, 2 * kPi);
  cairo_set_line_width(cr_, width);
  set(cr_, colour);
  cairo_stroke(cr_);
}

void Canvas::line(double x1, double y1, double x2, double y2, double width, Rgb colour) {
  cairo_move_to(cr_, x1, y1);
  cairo_line_to(cr_, x2, y2);
  cairo_set_line_width(cr_, width);
  set(cr_, colour);
  cairo_stroke(cr_);
}

void Canvas::polygon(std::initializer_list<double> xy, Rgb fill) {
  const double *p = xy.begin();
  cairo_move_to(cr_, p[0], p[1]);
  for (std::size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr_, p[i], p[i + 1]);
  cairo_close_path(cr_);
  set(cr_, fill);
  cairo_fill(cr_);
}

void Canvas::knob(double cx, double cy, double r, Rgb body) {
  circle(cx, cy, r, mix(body, kBlack, 0.4));
  cairo_pattern_t *p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r);
  Rgb light = mix(body, kWhite, 0.35);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 1, body.r, body.g, body.b);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, r * 0.86, 0, 2 * kPi);
  cairo_set_source(cr_, p);
  cairo_fill(cr_);
  cairo_pattern_destroy(p);
  // Knurls round the rim.
  int n = std::max(12, static_cast<int>(r * 1.2));
  for (int i = 0; i < n; ++i) {
    double a = 2 * kPi * i / n;
    line(cx + std::cos(a) * r * 0.88, cy + std::sin(a) * r * 0.88, cx + std::cos(a) * r,
         cy + std::sin(a) * r, std::max(0.8, r * 0.06), mix(body, kWhite, 0.15));
  }
}

void Canvas::screw(double cx, double cy, double r) {
  circle(cx, cy, r, mix(kMetal, kBlack, 0.35));
  circle(cx - r * 0.15, cy - r * 0.15, r * 0.8, kMetal);
  line(cx - r * 0.6, cy + r * 0.3, cx + r * 0.6, cy - r * 0.3, std::max(0.8, r * 0.25),
       mix(kMetal, kBlack, 0.5));
}

void Canvas::round_dial(double cx, double cy, double r) {
  circle(cx, cy, r, kBezel);
  cairo_pattern_t *p = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.30, 0.30, 0.32);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.05, 0.06);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, r - 1.5, 0, 2 * kPi);
  cairo_set_line_width(cr_, 3);
  cairo_set_source(cr_, p);
  cairo_stroke(cr_);
  cairo_pattern_destroy(p);
  circle(cx, cy, r * 0.93, kFace);
}

void Canvas::plate(double x, double y, double w, double h, Rgb fill, bool screws) {
  round_rect(x, y, w, h, 4, mix(fill, kBlack, 0.45));
  round_rect(x + 1.5, y + 1.5, w - 3, h - 3, 3, fill);
  if (screws && w > 40 && h > 40) {
    double s = std::clamp(std::min(w, h) * 0.035, 2.5, 5.0);
    double m = s + 3;
    screw(x + m, y + m, s);
    screw(x + w - m, y + m, s);
    screw(x + m, y + h - m, s);
    screw(x + w - m, y + h - m, s);
  }
}

void Canvas::glass(double cx, double cy, double r) {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, r * 0.86, kPi * 1.08, kPi * 1.42);
  cairo_set_line_width(cr_, std::max(2.0, r * 0.045));
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgba(cr_, 1, 1, 1, 0.5);
  cairo_stroke(cr_);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

void Canvas::font(double size, bool bold, double narrow) {
  cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, size * narrow, size);
  cairo_set_font_matrix(cr_, &m);
}

double Canvas::text_width(const std::string &s, double size, bool bold, double narrow) {
  font(size, bold, narrow);
  cairo_text_extents_t e;
  cairo_text_extents(cr_, s.c_str(), &e);
  return e.x_advance;
}

void Canvas::text(double x, double y, const std::string &s, double size, Rgb colour, Align align,
                  bool bold, double narrow) {
  double w = text_width(s, size, bold, narrow);
  double left = align == Align::kLeft ? x : align == Align::kCentre ? x - w / 2 : x - w;
  // Digits and capitals: centre on the cap height.
  cairo_move_to(cr_, left, y + size * 0.36);
  set(cr_, colour);
  cairo_show_text(cr_, s.c_str());
  cairo_new_path(cr_);
}

z480::Pixels Canvas::pixels() {
  cairo_surface_flush(surface_);
  const unsigned char *data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  z480::Pixels out;
  out.width = width_;
  out.height = height_;
  out.rgb.resize(static_cast<std::size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y) {
    const auto *row = reinterpret_cast<const std::uint32_t *>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < width_; ++x) {
      std::uint32_t argb = row[x];
      double a = (argb >> 24) / 255.0;
      std::uint32_t c = 0;
      if (a >= kMinCoverage) {
        // cairo keeps colours premultiplied: add the matte for what is uncovered.
        double r = ((argb >> 16) & 0xff) / 255.0 + (1 - a) * matte_.r;
        double g = ((argb >> 8) & 0xff) / 255.0 + (1 - a) * matte_.g;
        double b = (argb & 0xff) / 255.0 + (1 - a) * matte_.b;
        c = channel(r) << 16 | channel(g) << 8 | channel(b);
        if (c == 0) c = 0x010101;
      }
      out.rgb[static_cast<std::size_t>(y) * width_ + x] = c;
    }
  }
  return out;
}

}  // namespace art
