// The attitude director and the standby horizon.
#include <cmath>
#include <cstdio>
#include <numbers>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

constexpr double kPi = std::numbers::pi;

// A horizon texture: sky above, earth below, a pitch ladder every 5 degrees
// at `per_degree` texture pixels, across the texture's centre.
void horizon(Canvas &c, double per_degree, double ladder_width) {
  double w = c.width(), h = c.height(), cx = w / 2, cy = h / 2;
  c.rect(0, 0, w, cy, kSky);
  c.rect(0, cy, w, h - cy, kEarth);
  c.line(0, cy, w, cy, 2.5, kWhite);
  for (int deg = -60; deg <= 60; deg += 5) {
    if (deg == 0) continue;
    double y = cy - deg * per_degree;
    if (y < 4 || y > h - 4) continue;
    double half = deg % 10 == 0 ? ladder_width : ladder_width * 0.5;
    c.line(cx - half, y, cx + half, y, 1.8, kWhite);
    if (deg % 10 == 0) {
      char text[8];
      std::snprintf(text, sizeof text, "%d", std::abs(deg));
      c.text(cx - half - 12, y, text, 10, kWhite);
      c.text(cx + half + 12, y, text, 10, kWhite);
    }
  }
}

// Everything of a box but a round window (black stays transparent).
void outside_circle(Canvas &c, double cx, double cy, double r, Rgb fill) {
  cairo_t *cr = c.cr();
  cairo_rectangle(cr, 0, 0, c.width(), c.height());
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, cx, cy, r, 2 * kPi, 0);
  cairo_set_source_rgb(cr, fill.r, fill.g, fill.b);
  cairo_fill(cr);
}

// --- Attitude: the sphere's window is a circle of radius 112 about
// (150, 131), seen from the masks at (16, 16) as (134, 115).

void adi_face(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 300, 300, kFace);
  c.circle(150, 131, 118, kBezel);
  // The speed pointer's scale (left) and the glide slope's (right).
  for (double dy : {-32.0, -16.0, 16.0, 32.0}) {
    c.ring(48, 131 + dy, 3, 1.4, kWhite);
    c.ring(274, 131 + dy * 1.25, 3, 1.4, kWhite);
  }
  c.line(43, 131, 53, 131, 2, kWhite);
  c.line(269, 131, 279, 131, 2, kWhite);
  c.text(48, 92, "F", 9, kWhite);
  c.text(48, 170, "S", 9, kWhite);
  c.text(274, 82, "GS", 8, kWhite);
  // The unlit decision-height lamp.
  c.circle(18, 27, 13, kBezel);
  c.circle(18, 27, 10.5, mix(kAmber, kBlack, 0.75));
  // The rate-of-turn scale at the foot.
  Dial rate = ctx.needle("Attitude", 1);
  ticks(c, rate, {-4, 4, 1, 44, 52, 1.6});
  ticks(c, rate, {0, 0, 1, 40, 53, 3});
  // The ball's tube.
  c.round_rect(109, 263, 84, 31, 14, kBezel);
  c.round_rect(112, 266, 78, 25, 12, {0.80, 0.82, 0.78});
  c.line(144, 266, 144, 291, 1.5, kBlack);
  c.line(158, 266, 158, 291, 1.5, kBlack);
}

void adi_sphere(Canvas &c, const Context &) { horizon(c, 3.75 / 0.7, 40); }

// Drawn over the horizon: the face round the window.
void adi_inner_mask(Canvas &c, const Context &) { outside_circle(c, 134, 115, 112, kFace); }

// Drawn over the bars: the face round the window, which hides whatever
// strays outside it, and the bank scale on the glass where the bank pointer
// (below the sphere's centre at wings level) points.
void adi_outer_mask(Canvas &c, const Context &ctx) {
  outside_circle(c, 134, 115, 112, kFace);
  c.ring(134, 115, 114, 4, kBezel);
  Dial bank = ctx.needle("Attitude", 0).seen_from(16, 16);
  for (double b : {-60.0, -45.0, -30.0, -20.0, -10.0, 0.0, 10.0, 20.0, 30.0, 45.0, 60.0}) {
    bool major = b == 0 || std::fmod(std::abs(b), 30) == 0;
    ticks(c, bank, {b, b, 1, major ? 97.0 : 101.0, 111, major ? 3.0 : 2.0});
  }
}

void bank_pointer(Canvas &c, const Context &) {
  c.polygon({179, 11.5, 167, 4, 167, 19}, kWhite);
}

void reference_bars(Canvas &c, double width, double height, Rgb colour) {
  double cy = height / 2, cx = width / 2;
  c.rect(0, cy - 2.5, width * 0.28, 5, colour);
  c.rect(width * 0.72, cy - 2.5, width * 0.28, 5, colour);
  c.polygon({cx - 26, cy - 1, cx, cy + height / 2 - 0.5, cx + 26, cy - 1, cx + 18, cy - 1, cx, cy + 3, cx - 18, cy - 1}, colour);
  c.circle(cx, cy - 1, 2.5, colour);
}

void adi_bezel(Canvas &c, const Context &) {
  c.ring(150, 131, 120, 5, mix(kBezel, kMetal, 0.2));
  for (Point p : {Point{12, 288}, Point{288, 288}, Point{288, 12}}) c.screw(p.x, p.y, 4);
}

void adi_tube_glass(Canvas &c, const Context &) {
  c.line(118, 268, 184, 268, 2, mix(kWhite, kFace, 0.3));
}

// --- Standby horizon: window radius 125 about (141, 142), seen from the
// sprites' window at (13, 13) as (128, 129).

void standby_face(Canvas &c, const Context &) {
  c.plate(0, 0, 300, 300, kFace);
  c.circle(141, 142, 132, kBezel);
  c.text(260, 210, "BARS", 7, kGrey);
}

void standby_ring(Canvas &c, const Context &) {
  double cx = 128, cy = 128;
  cairo_t *cr = c.cr();
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, 126, 0, 2 * kPi);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, cx, cy, 108, 2 * kPi, 0);
  cairo_set_source_rgb(cr, 0.12, 0.25, 0.45);
  cairo_fill(cr);
  for (double b : {-90.0, -60.0, -30.0, -20.0, -10.0, 0.0, 10.0, 20.0, 30.0, 60.0, 90.0}) {
    double a = b * kPi / 180;
    bool major = std::fmod(std::abs(b), 30) == 0;
    c.line(cx + std::sin(a) * (major ? 108 : 114), cy - std::cos(a) * (major ? 108 : 114),
           cx + std::sin(a) * 125, cy - std::cos(a) * 125, major ? 3 : 2, kWhite);
  }
  c.polygon({cx, cy - 108, cx - 7, cy - 96, cx + 7, cy - 96}, kWhite);
}

void standby_bezel(Canvas &c, const Context &) {
  c.ring(141, 142, 128, 6, mix(kBezel, kMetal, 0.2));
  c.polygon({141, 26, 133, 12, 149, 12}, kAmber);
  for (Point p : {Point{12, 12}, Point{288, 12}, Point{12, 288}}) c.screw(p.x, p.y, 4);
}

Design flag(int id, int w, int h, const char *text) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            c.rect(0, 0, w, h, kRed);
            c.text(w / 2.0, h / 2.0, text, h * 0.7, kWhite, Align::kCentre, true, 0.85);
          }};
}

const Designs kAttitude{
    {3190, 300, 300, adi_face},
    {3180, 540, 760, adi_sphere},
    {3181, 268, 230, [](Canvas &c, const Context &) { window_circle(c, 134, 115, 112); }},
    {3170, 268, 230, adi_inner_mask},
    {3140, 38, 16, [](Canvas &c, const Context &) { c.polygon({12, 0, 26, 0, 38, 16, 0, 16}, kEarth); c.line(19, 2, 19, 14, 2, kWhite); }},
    {3160, 192, 23, bank_pointer},
    {3150, 206, 12, [](Canvas &c, const Context &) { reference_bars(c, 206, 12, kAmber); }},
    {3130, 132, 6, [](Canvas &c, const Context &) { c.rect(0, 0, 132, 6, kMagenta); }},
    {3120, 48, 230, [](Canvas &c, const Context &) { c.rect(21.5, 14, 5, 202, kMagenta); }},
    {3110, 268, 230, adi_outer_mask},
    {3100, 56, 10, [](Canvas &c, const Context &) { needle_right(c, 0, 5, 54, 0, 5, kWhite, false); }},
    {3090, 14, 12, [](Canvas &c, const Context &) { c.polygon({0, 6, 13, 0.5, 13, 11.5}, kMagenta); }},
    {3080, 14, 12, [](Canvas &c, const Context &) { c.polygon({14, 6, 1, 0.5, 1, 11.5}, kWhite); }},
    flag(3060, 30, 14, "ATT"),
    flag(3070, 26, 12, "LOC"),
    flag(3050, 22, 12, "GS"),
    {3040, 300, 300, adi_bezel},
    {3030, 24, 24, [](Canvas &c, const Context &) { round_lamp(c, kAmber, true, "DH"); }},
    {3010, 11, 11, [](Canvas &c, const Context &) { c.circle(5.5, 5.5, 5.3, kBlack); c.circle(4, 4, 1.5, kGrey); }},
    {3000, 84, 31, adi_tube_glass},
    {2170, 300, 300, standby_face},
    {2180, 420, 420, [](Canvas &c, const Context &) { horizon(c, 1.88, 30); }},
    {2181, 256, 258, [](Canvas &c, const Context &) { window_circle(c, 128, 129, 125); }},
    {2190, 256, 256, standby_ring},
    {2191, 256, 258, [](Canvas &c, const Context &) { window_circle(c, 128, 129, 125); }},
    {2200, 36, 16, [](Canvas &c, const Context &) { c.rect(0, 0, 36, 16, kRed); c.text(18, 8, "OFF", 11, kWhite); }},
    {2210, 238, 14, [](Canvas &c, const Context &) { reference_bars(c, 238, 14, kAmber); }},
    {2220, 300, 300, standby_bezel},
    {2230, 76, 76, [](Canvas &c, const Context &) { knob_image(c, 38); }},
};

}  // namespace
}  // namespace art
