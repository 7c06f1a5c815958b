#include "tools/artwork/parts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {
namespace {
constexpr double kPi = std::numbers::pi;
}

void needle_right(Canvas &c, double px, double py, double tip, double tail, double width,
                  Rgb colour, bool hub) {
  double h = width / 2;
  c.polygon({px - tail, py - h * 1.2, px, py - h, px + tip - width * 1.5, py - h * 0.45,
             px + tip, py, px + tip - width * 1.5, py + h * 0.45, px, py + h, px - tail,
             py + h * 1.2},
            colour);
  if (tail > width) c.round_rect(px - tail, py - h * 1.6, tail * 0.45, h * 3.2, h, colour);
  if (hub) {
    c.circle(px, py, std::max(width * 1.1, 3.0), mix(colour, kBlack, 0.15));
    c.circle(px, py, std::max(width * 0.45, 1.2), kBlack);
  }
}

void needle_up(Canvas &c, double px, double py, double tip, double tail, double width, Rgb colour,
               bool hub) {
  cairo_save(c.cr());
  cairo_translate(c.cr(), px, py);
  cairo_rotate(c.cr(), -kPi / 2);
  cairo_translate(c.cr(), -px, -py);
  needle_right(c, px, py, tip, tail, width, colour, hub);
  cairo_restore(c.cr());
}

void knob_image(Canvas &c, double r, bool index_right) {
  c.knob(r, r, r - 0.5);
  if (index_right)
    c.line(r, r, 2 * r - 3, r, std::max(1.5, r * 0.12), kWhite);
  else
    c.line(r, r, r, 3, std::max(1.5, r * 0.12), kWhite);
}

void round_lamp(Canvas &c, Rgb colour, bool lit, const std::string &legend) {
  double r = std::min(c.width(), c.height()) / 2.0;
  double cx = c.width() / 2.0, cy = c.height() / 2.0;
  c.circle(cx, cy, r - 0.5, kMetal);
  c.circle(cx, cy, r * 0.82, kBezel);
  Rgb lens = lit ? colour : mix(colour, kBlack, 0.72);
  cairo_pattern_t *p = cairo_pattern_create_radial(cx - r * 0.2, cy - r * 0.25, r * 0.05, cx, cy, r * 0.72);
  Rgb hi = mix(lens, kWhite, lit ? 0.65 : 0.2);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, lens.r, lens.g, lens.b);
  cairo_new_sub_path(c.cr());
  cairo_arc(c.cr(), cx, cy, r * 0.72, 0, 2 * kPi);
  cairo_set_source(c.cr(), p);
  cairo_fill(c.cr());
  cairo_pattern_destroy(p);
  if (!legend.empty()) {
    double size = std::min(r * 0.5, 1.25 * r / std::max<std::size_t>(3, legend.size()) * 1.6);
    c.text(cx, cy, legend, size, lit ? kBlack : mix(colour, kWhite, 0.25), Align::kCentre, true, 0.85);
  }
}

void legend_lamp(Canvas &c, Rgb colour, bool lit, const std::vector<std::string> &lines) {
  double w = c.width(), h = c.height();
  c.round_rect(0, 0, w, h, 3, kBezel);
  Rgb lens = lit ? colour : mix(colour, kBlack, 0.82);
  c.round_rect(2, 2, w - 4, h - 4, 2, lens);
  double size = std::min(h * 0.8 / std::max<std::size_t>(1, lines.size()), h * 0.42);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    double fit = c.text_width(lines[i], size, true, 1.0);
    double narrow = std::min(1.0, (w - 6) / std::max(1.0, fit));
    double y = h / 2 + (i - (lines.size() - 1) / 2.0) * size * 1.05;
    c.text(w / 2, y, lines[i], size, lit ? kBlack : mix(colour, kGrey, 0.75), Align::kCentre,
           true, narrow);
  }
}

void toggle(Canvas &c, Lever lever, double cx, double cy, double size) {
  double nut = size * 0.26;
  c.circle(cx, cy, nut * 1.25, mix(kMetal, kBlack, 0.3));
  c.circle(cx, cy, nut, kMetal);
  double dx = 0, dy = 0;
  switch (lever) {
    case Lever::kUp: dy = -1; break;
    case Lever::kDown: dy = 1; break;
    case Lever::kLeft: dx = -1; break;
    case Lever::kRight: dx = 1; break;
    case Lever::kCentre: break;
  }
  double len = size * 0.48;
  if (lever == Lever::kCentre) {
    c.circle(cx, cy, nut * 0.75, mix(kWhite, kMetal, 0.3));
    return;
  }
  double ex = cx + dx * len, ey = cy + dy * len;
  cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_ROUND);
  c.line(cx, cy, ex, ey, nut * 0.9, mix(kMetal, kWhite, 0.2));
  cairo_set_line_cap(c.cr(), CAIRO_LINE_CAP_BUTT);
  c.circle(ex, ey, nut * 0.7, mix(kMetal, kWhite, 0.45));
  c.circle(cx, cy, nut * 0.35, mix(kMetal, kBlack, 0.4));
}

void strip(Canvas &c, const std::vector<std::string> &texts, double cell, double size, Rgb ink,
           Rgb ground, double narrow) {
  c.rect(0, 0, c.width(), c.height(), ground);
  for (std::size_t k = 0; k < texts.size(); ++k)
    c.text(c.width() / 2.0, cell * (k + 0.5), texts[k], size, ink, Align::kCentre, true, narrow);
}

std::vector<std::string> digits_0_to_9_0() {
  return {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
}

void window_rect(Canvas &c) { c.rect(0, 0, c.width(), c.height(), kWhite); }
void window_circle(Canvas &c, double cx, double cy, double r) { c.circle(cx, cy, r, kWhite); }

void push_button(Canvas &c, Rgb cap, bool lit, const std::string &legend) {
  double w = c.width(), h = c.height();
  c.round_rect(0, 0, w, h, std::min(w, h) * 0.2, kBezel);
  Rgb face = lit ? mix(cap, kWhite, 0.25) : cap;
  c.round_rect(w * 0.12, h * 0.12, w * 0.76, h * 0.76, std::min(w, h) * 0.15, face);
  if (lit) c.round_rect(w * 0.12, h * 0.12, w * 0.76, h * 0.76 * 0.35, std::min(w, h) * 0.1, mix(face, kWhite, 0.3));
  if (!legend.empty()) c.text(w / 2, h / 2, legend, h * 0.28, lit ? kBlack : kWhite, Align::kCentre, true, 0.8);
}

Design glass_design(int id, int width, int height, double cx, double cy, double r) {
  return {id, width, height, [=](Canvas &c, const Context &) { c.glass(cx, cy, r); }};
}

Design mask_design(int id, int width, int height) {
  return {id, width, height, [](Canvas &c, const Context &) { window_rect(c); }};
}

}  // namespace art
