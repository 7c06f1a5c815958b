// The radio altimeter and its switch, and the Breguet timer.
#include <cmath>
#include <cstdio>
#include <numbers>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFeet = 3.28084;  // the radio height arrives in metres

void radio_altimeter_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 310, 300, kFace);
  c.round_dial(152, 150, 145);
  Dial d = ctx.needle("Radio_Altimeter", 0);
  auto m = [](double feet) { return feet / kFeet; };
  auto tick = [&](double from, double to, double step, double inner, double width) {
    ticks(c, d, {m(from), m(to), m(step), inner, 124, width});
  };
  tick(0, 100, 10, 114, 1.4);
  tick(100, 500, 50, 114, 1.4);
  tick(500, 1000, 100, 114, 1.4);
  tick(1000, 2500, 500, 110, 2.2);
  for (double f : {0.0, 50.0, 100.0, 200.0, 300.0, 400.0, 500.0, 1000.0, 2000.0, 2500.0})
    ticks(c, d, {m(f), m(f), 1, 106, 124, 3.2});
  figures(c, d,
          {{m(0), "0"}, {m(50), "50"}, {m(100), "100"}, {m(200), "200"}, {m(300), "300"},
           {m(400), "400"}, {m(500), "500"}, {m(1000), "1000"}, {m(2000), "2000"}},
          88, 14);
  c.text(152, 110, "RADIO ALT", 10, kGrey);
  c.text(152, 196, "FEET", 11, kWhite);
  c.circle(35, 271, 19, kBezel);
  c.text(277, 80, "DH", 9, kWhite);
}

void dh_marker(Canvas &c, const Context &) { c.polygon({108, 8, 124, 1, 124, 15}, kAmber); }

void switch_face(Canvas &c, const Context &) {
  c.plate(0, 0, 34, 48, kPanel, false);
  c.text(17, 6, "RAD ALT", 5, kWhite);
}

// The Breguet timer: the clock's centre at (131, 163), the elapsed-minutes
// dial at (131, 206).
void breguet_face(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 264, 356, kPanel);
  c.circle(131, 163, 118, kBezel);
  c.circle(131, 163, 98, kFace);
  for (int k = 0; k < 60; ++k) {
    double a = k * kPi / 30;
    double inner = k % 5 == 0 ? 86 : 91;
    c.line(131 + std::sin(a) * inner, 163 - std::cos(a) * inner, 131 + std::sin(a) * 97,
           163 - std::cos(a) * 97, k % 5 == 0 ? 3 : 1.2, kWhite);
  }
  for (int h = 1; h <= 12; ++h) {
    double a = h * kPi / 6;
    c.text(131 + std::sin(a) * 74, 163 - std::cos(a) * 74, std::to_string(h), 15, kWhite);
  }
  Dial small = ctx.needle("Breguet_Timer", 2);
  c.circle(131, 206, 26, mix(kFace, kBlack, 0.35));
  ticks(c, small, {0, 900, 60, 20, 25, 1.2});
  ticks(c, small, {0, 900, 300, 17, 25, 2.2});
  figures(c, small, {{0, "15"}, {300, "5"}, {600, "10"}}, 12, 7);
  c.text(131, 118, "CHRONO", 8, kGrey);
  c.knob(125, 319, 24, kBezel);
  c.text(125, 319, "ST/SP", 7, kWhite);
  c.knob(217, 319, 17, kBezel);
  c.text(217, 319, "RST", 7, kWhite);
}

// The turning bezel: sixty clicks, figures every five, on a ring.
void breguet_bezel(Canvas &c, const Context &) {
  double cx = 113, cy = 115;
  cairo_t *cr = c.cr();
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, 114, 0, 2 * kPi);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, cx, cy, 99, 2 * kPi, 0);
  cairo_set_source_rgb(cr, 0.22, 0.22, 0.23);
  cairo_fill(cr);
  for (int k = 0; k < 60; ++k) {
    double a = k * kPi / 30;
    if (k % 5 == 0) {
      cairo_save(cr);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, a);
      c.text(0, -106.5, std::to_string(k), 9, k == 0 ? kAmber : kWhite);
      cairo_restore(cr);
    } else {
      c.line(cx + std::sin(a) * 103, cy - std::cos(a) * 103, cx + std::sin(a) * 110,
             cy - std::cos(a) * 110, 1.2, kWhite);
    }
  }
}

Design hand(int id, int w, int h, double px, double tip, double tail, double width, Rgb colour) {
  return {id, w, h, [=](Canvas &c, const Context &) { needle_right(c, px, h / 2.0, tip, tail, width, colour); }};
}

const Designs kClock{
    {2100, 310, 300, radio_altimeter_dial},
    {2110, 114, 28, [](Canvas &c, const Context &) { needle_right(c, 14, 14, 100, 12, 8); }},
    {2120, 126, 16, dh_marker},
    {2130, 36, 36, [](Canvas &c, const Context &) { round_lamp(c, kAmber, false, "DH"); }},
    {2131, 36, 36, [](Canvas &c, const Context &) { round_lamp(c, kAmber, true, "DH"); }},
    {2140, 40, 18, [](Canvas &c, const Context &) { c.rect(0, 0, 40, 18, kRed); c.text(20, 9, "OFF", 12, kWhite); }},
    {2150, 66, 66, [](Canvas &c, const Context &) { knob_image(c, 33, false); }},
    {2160, 310, 300, [](Canvas &c, const Context &) { c.glass(152, 150, 132); hub(c, {152, 150}, 9); }},
    {1320, 34, 48, switch_face},
    {1330, 34, 48, [](Canvas &c, const Context &) { toggle(c, Lever::kDown, 17, 26, 28); }},
    {1331, 34, 48, [](Canvas &c, const Context &) { toggle(c, Lever::kUp, 17, 26, 28); }},
    {3390, 264, 356, breguet_face},
    {3400, 102, 17, [](Canvas &c, const Context &) { needle_right(c, 8, 8.5, 92, 8, 3, kAmber); }},
    hand(3410, 30, 12, 6, 23, 5, 3, kWhite),
    hand(3420, 93, 15, 7, 84, 6, 6, kWhite),
    hand(3430, 62, 13, 6, 54, 5, 7, kWhite),
    {3450, 264, 356, [](Canvas &c, const Context &) { c.glass(131, 163, 96); hub(c, {131, 163}, 6); hub(c, {131, 206}, 3); }},
    {3460, 226, 230, breguet_bezel},
    {3461, 226, 230, [](Canvas &c, const Context &) { window_circle(c, 113, 115, 115); }},
};

}  // namespace
}  // namespace art
