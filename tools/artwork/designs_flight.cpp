// The needle flight instruments: airspeed, altimeter, vertical speed,
// outside air temperature and the inclinometer.
#include <cmath>
#include <cstdio>
#include <numbers>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

// Vertical speed in ft/min as the host gives it (m/s x 256).
constexpr double kFpmToken = 650.2399791923207 / 500.0;

void airspeed_dial(Canvas &c, const Context &ctx) {
  c.round_dial(140, 140, 139);
  Dial d = ctx.needle("Airspeed", 0);
  band(c, d, 75, 150, 111, 6, kWhite);
  band(c, d, 90, 220, 119, 7, kGreen);
  band(c, d, 220, 250, 119, 7, kYellow);
  ticks(c, d, {50, 150, 5, 113, 122, 1.2});
  ticks(c, d, {150, 300, 10, 113, 122, 1.5});
  ticks(c, d, {50, 300, 50, 104, 122, 3});
  ticks(c, d, {250, 250, 1, 102, 123, 4, kRed});
  numbers(c, d, 50, 300, 50, 88, 19);
  c.text(140, 178, "KNOTS", 13, kWhite);
  c.text(140, 100, "AIRSPEED", 10, kGrey);
}

void altimeter_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 170, 80, 84, kPanel, false);
  c.round_dial(135, 127, 126);
  Dial d = ctx.needle("Altimeter_Mb", 2);
  ticks(c, d, {0, 980, 20, 110, 118, 1.5});
  ticks(c, d, {0, 900, 100, 106, 118, 3.5});
  numbers(c, d, 0, 900, 100, 97, 18, 0.01);
  // The pressure window (inside the figures) and its index.
  c.round_rect(198, 97, 36, 50, 3, kBezel);
  c.rect(201, 100, 30, 44, kBlack);
  c.polygon({192, 117, 200, 122, 192, 127}, kWhite);
  c.text(135, 168, "FEET", 11, kWhite);
  c.text(135, 88, "ALT", 13, kWhite);
  c.text(216, 162, "hPa", 9, kGrey);
  c.text(135, 190, "100 FT", 8, kGrey);
}

// The pressure scale seen through the window: every hectopascal from 952 to
// 1074 round the disc, so that the setting stands at the window's centre.
void baro_scale(Canvas &c, const Context &) {
  constexpr double kCx = 107, kCy = 107;
  // The window (201, 100, 30 x 44) as seen from the texture centre (131, 127).
  const double window = std::atan2(216.0 - 131.0, -(122.0 - 127.0));
  c.circle(kCx, kCy, 106, kFace);
  for (int p = 952; p <= 1074; ++p) {
    double a = window + (p - 1013) * 2.95 * std::numbers::pi / 180.0;
    double s = std::sin(a), co = -std::cos(a);
    double r1 = p % 5 == 0 ? 95 : 98;
    c.line(kCx + s * r1, kCy + co * r1, kCx + s * 104, kCy + co * 104, p % 5 == 0 ? 1.6 : 1.0, kWhite);
    if (p % 5 == 0) {
      char text[8];
      std::snprintf(text, sizeof text, "%d", p);
      c.text(kCx + s * 84, kCy + co * 84, text, 9, kWhite, Align::kCentre, true, 0.8);
    }
  }
}

void pointer_10000(Canvas &c, const Context &) {
  c.line(0, 6, 108, 6, 2, kWhite);
  c.polygon({104, 6, 121, 0.5, 121, 11.5}, kWhite);
}

void vsi_dial(Canvas &c, const Context &ctx) {
  c.round_dial(145, 147, 144);
  Dial d = ctx.needle("Vertical_Speed", 0);
  for (double sign : {-1.0, 1.0}) {
    for (double v = 0; v <= 2500; v += 100)
      ticks(c, d, {sign * v * kFpmToken, sign * v * kFpmToken, 1, std::fmod(v, 500) == 0 ? 104.0 : 114.0,
                   123, std::fmod(v, 500) == 0 ? 3.2 : 1.4});
    figures(c, d,
            {{sign * 500 * kFpmToken, ".5"}, {sign * 1000 * kFpmToken, "1"},
             {sign * 1500 * kFpmToken, "1.5"}, {sign * 2000 * kFpmToken, "2"}},
            89, 18);
  }
  ticks(c, d, {0, 0, 1, 100, 123, 3.5});
  figures(c, d, {{0, "0"}}, 89, 20);
  c.text(118, 104, "UP", 12, kWhite);
  c.text(118, 190, "DN", 12, kWhite);
  c.text(170, 135, "VERT SPEED", 9, kGrey);
  c.text(170, 159, "1000 FT/MIN", 9, kGrey);
}

void oat_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 200, 170, kFace);
  Dial d = ctx.needle("OAT_Indicator", 0);
  band(c, d, -50, 0, 86, 4, kCyan);
  ticks(c, d, {-50, 50, 5, 80, 91, 1.4});
  ticks(c, d, {-50, 50, 10, 74, 91, 3});
  figures(c, d, {{-50, "-50"}, {-25, "-25"}, {0, "0"}, {25, "+25"}, {50, "+50"}}, 62, 14);
  c.text(100, 150, "OAT  \u00b0C", 13, kWhite);
}

void tube(Canvas &c, double half_width, Rgb colour) {
  cairo_t *cr = c.cr();
  // The ball's path: it rises by b*b/4096 for a sideways 45/128 px per unit.
  for (int x = 20; x <= 160; ++x) {
    double b = (x - 90) / 0.3515625;
    double y = 38 - b * b / 4096;
    if (x == 20)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_set_line_width(cr, half_width * 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void turn_ball_face(Canvas &c, const Context &) {
  c.plate(0, 0, 180, 76, kFace);
  tube(c, 16, kBezel);
  tube(c, 14, {0.80, 0.82, 0.78});
  c.line(77, 20, 77, 56, 2, kBlack);
  c.line(103, 20, 103, 56, 2, kBlack);
  c.text(90, 66, "SLIP", 8, kGrey);
}

void ball(Canvas &c, const Context &) {
  c.circle(11, 11, 10.5, kBlack);
  c.circle(8, 8, 3, {0.35, 0.35, 0.37});
}

const Designs kFlight{
    {1000, 280, 280, airspeed_dial},
    {1010, 148, 55, [](Canvas &c, const Context &) { needle_right(c, 40, 27, 116, 36, 7); }},
    glass_design(1020, 280, 280, 140, 140, 130),
    {330, 270, 254, altimeter_dial},
    {340, 214, 214, baro_scale},
    mask_design(341, 30, 44),
    {350, 148, 27, [](Canvas &c, const Context &) { needle_right(c, 35, 13, 110, 30, 8); }},
    {360, 103, 29, [](Canvas &c, const Context &) { needle_right(c, 33, 14, 68, 28, 13); }},
    {370, 122, 13, pointer_10000},
    {380, 270, 254, [](Canvas &c, const Context &) {
       c.glass(135, 127, 118);
       hub(c, {135, 127}, 7);
     }},
    {390, 40, 40, [](Canvas &c, const Context &) { knob_image(c, 20); }},
    {400, 290, 294, vsi_dial},
    {410, 171, 21, [](Canvas &c, const Context &) { needle_right(c, 66, 10, 104, 58, 7); }},
    glass_design(420, 290, 294, 145, 147, 134),
    {2240, 200, 170, oat_dial},
    {2250, 88, 7, [](Canvas &c, const Context &) { needle_right(c, 0, 3.5, 86, 0, 5, kWhite, false); }},
    {2260, 200, 170, [](Canvas &c, const Context &) {
       c.glass(100, 129, 92);
       hub(c, {100, 129}, 7);
     }},
    {300, 180, 76, turn_ball_face},
    {310, 22, 22, ball},
    {320, 180, 76, [](Canvas &c, const Context &) { c.line(30, 27, 150, 27, 2, mix(kWhite, kFace, 0.5)); }},
};

}  // namespace
}  // namespace art
