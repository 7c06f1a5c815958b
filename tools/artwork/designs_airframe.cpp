// The throttle quadrant, gear, flaps, trim and the pressure dials.
#include <cmath>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

constexpr double kPsf = 144.0;

void slot(Canvas &c, double cx, double top, double bottom, double width = 8) {
  c.round_rect(cx - width / 2, top, width, bottom - top, width / 2, kBlack);
}

void quadrant(Canvas &c, const Context &) {
  c.plate(0, 0, 400, 204, kPanel);
  for (double x : {39.5, 85.5, 325.5, 371.5}) slot(c, x, 12, 200);
  for (double x : {128.0, 170.0}) slot(c, x, 14, 196);
  c.round_rect(214, 78, 40, 96, 4, kBezel);
  c.text(62.5, 8, "POWER", 8, kWhite);
  c.text(348.5, 8, "POWER", 8, kWhite);
  c.text(149, 8, "PROP", 8, kWhite);
  c.text(234, 70, "FLAPS", 8, kWhite);
  for (auto [y, label] : {std::pair{93.0, "0"}, {115.0, "DEC"}, {137.0, "APP"}, {159.0, "ATT"}})
    c.text(258, y, label, 8, kWhite, Align::kLeft);
  c.text(62.5, 196, "IDLE", 7, kGrey);
  c.text(348.5, 196, "IDLE", 7, kGrey);
  c.text(149, 104, "MAX", 7, kGrey);
}

// A lever: knob on top, shaft below, the whole image sliding.
void lever(Canvas &c, double knob_h, Rgb knob, const std::string &label) {
  double w = c.width();
  c.rect(w / 2 - 3, knob_h - 2, 6, c.height() - knob_h + 2, kMetal);
  c.round_rect(1, 1, w - 2, knob_h - 2, 6, mix(knob, kBlack, 0.3));
  c.round_rect(3, 3, w - 6, knob_h - 8, 5, knob);
  if (!label.empty()) c.text(w / 2, knob_h / 2 - 2, label, 14, kWhite);
}

// The flap lever in one of its four notches.
Design flap_lever(int notch) {
  return {4220 + notch, 32, 88, [notch](Canvas &c, const Context &) {
            slot(c, 16, 4, 84, 6);
            double y = 11 + 22 * notch;
            c.round_rect(1, y - 8, 30, 16, 4, mix(kWhite, kMetal, 0.4));
            c.line(4, y, 28, y, 2, kBezel);
          }};
}

void gear_panel(Canvas &c, bool right) {
  c.plate(0, 0, 60, 164, kPanel, false);
  slot(c, 30, 26, 138, 10);
  double label_x = right ? 8 : 52;
  c.text(label_x, 26, "UP", 8, kWhite);
  c.text(label_x, 138, "DN", 8, kWhite);
  c.text(30, 155, "GEAR", 9, kWhite);
}

Design gear_lever(int id, bool down) {
  return {id, 60, 164, [down](Canvas &c, const Context &) {
            double y = down ? 128 : 36;
            c.line(30, 82, 30, y, 6, kMetal);
            c.circle(30, y, 15, mix(kWhite, kMetal, 0.2));
            c.circle(30, y, 7, kMetal);
            c.ring(30, y, 11, 2, kMetal);
          }};
}

void gear_lamps_face(Canvas &c, const Context &) {
  c.plate(0, 0, 120, 116, kPanel, false);
  c.round_rect(31, 14, 58, 22, 4, kBezel);
  c.round_rect(33, 16, 54, 18, 3, kDarkLens);
  for (double x : {25.0, 95.0}) {
    c.circle(x, 50, 15, kBezel);
    c.circle(x, 50, 12, kDarkLens);
  }
  c.circle(60, 98, 12, kBezel);
  c.circle(60, 98, 9.5, kDarkLens);
  c.text(60, 66, "GEAR", 9, kWhite);
}

void flaps_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 265, 265, kFace);
  Dial d = ctx.needle("Flaps_Position", 0);
  ticks(c, d, {0, 16380, 1638, 128, 136, 1.4});
  for (double v : {0.0, 3300.0, 6750.0, 16380.0}) ticks(c, d, {v, v, 1, 118, 138, 3.5});
  figures(c, d, {{0, "0"}, {3300, "10"}, {6750, "20"}, {16380, "40"}}, 104, 15);
  c.text(160, 60, "FLAPS", 14, kWhite);
  c.text(160, 78, "DEG", 9, kGrey);
}

Design trim_wheel(int id, int frame, bool right) {
  return {id, 56, 348, [frame, right](Canvas &c, const Context &) {
            cairo_pattern_t *p = cairo_pattern_create_linear(12, 0, 44, 0);
            double dark = 0.08, light = 0.30;
            cairo_pattern_add_color_stop_rgb(p, 0, right ? light : dark, right ? light : dark, right ? light : dark);
            cairo_pattern_add_color_stop_rgb(p, 0.5, 0.34, 0.34, 0.36);
            cairo_pattern_add_color_stop_rgb(p, 1, right ? dark : light, right ? dark : light, right ? dark : light);
            cairo_rectangle(c.cr(), 12, 20, 32, 308);
            cairo_set_source(c.cr(), p);
            cairo_fill(c.cr());
            cairo_pattern_destroy(p);
            for (double y = 20 + 6 * frame; y < 328; y += 18) c.line(13, y, 43, y, 3, kBezel);
            // The white index on the wheel's rim.
            double index = 174 + 6 * frame;
            c.rect(20, index - 2, 16, 4, kWhite);
          }};
}

void trim_panel(Canvas &c, bool right) {
  c.plate(0, 0, 56, 348, kPanel, false);
  c.rect(10, 18, 36, 312, kBlack);
  double x = right ? 4 : 52;
  Align a = right ? Align::kLeft : Align::kRight;
  c.text(x, 10, "NOSE DN", 7, kWhite, a);
  c.text(x, 340, "NOSE UP", 7, kWhite, a);
}

void hydraulic_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 200, 190, kFace);
  const char *names[] = {"SYSTEM", "HYD.2", "HYD.1"};
  for (int n : {0, 1, 2}) {
    Dial d = ctx.needle("Hydr_Press_Indicator", n);
    band(c, d, 2500 * kPsf, 3500 * kPsf, 92, 3, kGreen);
    ticks(c, d, {0, 5000 * kPsf, 500 * kPsf, 84, 90, 1.2});
    ticks(c, d, {0, 5000 * kPsf, 1000 * kPsf, 80, 90, 2.5});
    numbers(c, d, 0, 5000 * kPsf, 1000 * kPsf, 101, 9, 0.001 / kPsf);
    Point p = d.at(n == 0 ? 2500 * kPsf : 5000 * kPsf, n == 0 ? 114 : 60);
    c.text(p.x, p.y, names[n], 8, kGrey);
  }
}

// The cap over the three pivots.
void hydraulic_cap(Canvas &c, const Context &) {
  for (Point p : {Point{50, 22}, Point{22, 66}, Point{78, 66}}) c.knob(p.x, p.y, 9, kBezel);
  c.text(50, 50, "PSI\u00d71000", 7, kGrey);
}

void brake_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 200, 196, kFace);
  for (int n : {0, 1}) {
    Dial d = ctx.needle("Brake_Pressure", n);
    ticks(c, d, {0, 5000 * kPsf, 500 * kPsf, 56, 62, 1.2});
    ticks(c, d, {0, 5000 * kPsf, 1000 * kPsf, 52, 62, 2.5});
    numbers(c, d, 0, 5000 * kPsf, 1000 * kPsf, 42, 9, 0.001 / kPsf);
  }
  c.text(100, 20, "BRAKES", 11, kWhite);
  c.text(100, 178, "PSI \u00d7 1000", 8, kGrey);
  c.text(20, 98, "L", 11, kWhite);
  c.text(180, 98, "R", 11, kWhite);
}

Design thin_needle(int id, int w, int h, double tip) {
  return {id, w, h, [=](Canvas &c, const Context &) { needle_right(c, 0, h / 2.0, tip, 0, h - 1.0, kWhite, false); }};
}

const Designs kAirframe{
    {4160, 400, 204, quadrant},
    {4170, 39, 204, [](Canvas &c, const Context &) { lever(c, 44, kBezel, "1"); }},
    {4180, 39, 204, [](Canvas &c, const Context &) { lever(c, 44, kBezel, "2"); }},
    {4190, 39, 204, [](Canvas &c, const Context &) { lever(c, 44, kBezel, "1"); }},
    {4200, 39, 204, [](Canvas &c, const Context &) { lever(c, 44, kBezel, "2"); }},
    {4210, 26, 190, [](Canvas &c, const Context &) { lever(c, 40, {0.15, 0.30, 0.65}, ""); }},
    flap_lever(0), flap_lever(1), flap_lever(2), flap_lever(3),
    {2440, 60, 164, [](Canvas &c, const Context &) { gear_panel(c, false); }},
    {2460, 60, 164, [](Canvas &c, const Context &) { gear_panel(c, true); }},
    gear_lever(2450, false), gear_lever(2451, true),
    gear_lever(2470, false), gear_lever(2471, true),
    {4390, 120, 116, gear_lamps_face},
    {4400, 58, 22, [](Canvas &c, const Context &) { legend_lamp(c, kGreen, true, {"NOSE"}); }},
    {4410, 30, 30, [](Canvas &c, const Context &) { round_lamp(c, kGreen, true); }},
    {4420, 24, 24, [](Canvas &c, const Context &) { round_lamp(c, kRed, true); }},
    {2270, 265, 265, flaps_dial},
    thin_needle(2280, 140, 9, 138),
    {2290, 265, 265, [](Canvas &c, const Context &) { c.glass(132, 132, 120); hub(c, {100, 101}, 8); }},
    {4270, 56, 348, [](Canvas &c, const Context &) { trim_panel(c, false); }},
    {4290, 56, 348, [](Canvas &c, const Context &) { trim_panel(c, true); }},
    trim_wheel(4280, 0, false), trim_wheel(4281, 1, false), trim_wheel(4282, 2, false),
    trim_wheel(4300, 0, true), trim_wheel(4301, 1, true), trim_wheel(4302, 2, true),
    {4230, 200, 190, hydraulic_dial},
    thin_needle(4240, 92, 5, 90),
    {4250, 100, 80, hydraulic_cap},
    {4260, 200, 190, [](Canvas &c, const Context &) { c.glass(100, 100, 90); }},
    {3470, 200, 196, brake_dial},
    thin_needle(3480, 66, 5, 64),
    {3490, 200, 196, [](Canvas &c, const Context &) {
       c.glass(100, 98, 90);
       hub(c, {32, 98}, 6);
       hub(c, {168, 98}, 6);
     }},
};

}  // namespace
}  // namespace art
