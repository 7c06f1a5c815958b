// Engine instruments and lamps, and the fuel gauges.
#include <cstdio>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

constexpr double kRankineZeroC = 491.67;  // temperatures arrive in degrees Rankine
constexpr double kRankinePerC = 1.8;
constexpr double kPsf = 144.0;              // pressures arrive in pounds per square foot
constexpr double kFullTank = 8388608.0;

double rankine(double celsius) { return kRankineZeroC + kRankinePerC * celsius; }

void torque_dial(Canvas &c, const Context &ctx) {
  c.round_dial(150, 150, 149);
  // Engine 2 turns about the left pivot over the right-hand arc, engine 1
  // about the right pivot over the left-hand arc.
  for (int n : {0, 1}) {
    Dial d = ctx.needle("Torque", n);
    band(c, d, 0.14, 0.95, 162, 5, kGreen);
    ticks(c, d, {0, 1.1, 0.02, 150, 160, 1.2});
    ticks(c, d, {0, 1.1, 0.1, 143, 160, 3});
    ticks(c, d, {1.0, 1.0, 1, 140, 164, 4, kRed});
    numbers(c, d, 0, 1.0, 0.2, 174, 15, 100);
  }
  c.text(150, 128, "TORQUE", 13, kWhite);
  c.text(150, 146, "%", 12, kGrey);
  c.text(74, 150, "2", 16, kWhite);
  c.text(226, 150, "1", 16, kWhite);
}

void glass_with_hubs(Canvas &c, double cx, double cy, double r, std::initializer_list<Point> hubs,
                     double hub_r) {
  c.glass(cx, cy, r);
  for (Point p : hubs) hub(c, p, hub_r);
}

// N2 and propeller speed share one design: percent on the main dial, units
// of one percent on the small dial.
void rpm_dial(Canvas &c, const Context &ctx, const char *gauge, double unit, const char *title) {
  c.round_dial(92, 92, 91);
  Dial main = ctx.needle(gauge, 1);
  band(c, main, 60 * unit, 100 * unit, 72, 4, kGreen);
  ticks(c, main, {0, 105 * unit, 2 * unit, 65, 72, 1.2});
  ticks(c, main, {0, 100 * unit, 10 * unit, 59, 72, 2.5});
  ticks(c, main, {100 * unit, 100 * unit, 1, 56, 74, 3.5, kRed});
  numbers(c, main, 0, 100 * unit, 20 * unit, 48, 12, 1 / unit);
  Dial small = ctx.needle(gauge, 0);
  c.circle(55, 55, 20, kBezel);
  c.circle(55, 55, 18.5, kFace);
  ticks(c, small, {0, 9.5 * unit, unit, 14, 18, 1.2});
  figures(c, small, {{0, "0"}}, 9, 7);
  c.text(110, 118, title, 12, kWhite);
  c.text(110, 132, "% RPM", 9, kGrey);
}

void egt_oil_dial(Canvas &c, const Context &ctx) {
  c.plate(0, 0, 300, 250, kFace);
  Dial oil_p = ctx.needle("EGT_Oil_Indicator", 0);
  Dial oil_t = ctx.needle("EGT_Oil_Indicator", 1);
  Dial egt = ctx.needle("EGT_Oil_Indicator", 2);
  band(c, egt, rankine(350), rankine(650), 172, 5, kGreen);
  ticks(c, egt, {rankine(0), rankine(700), kRankinePerC * 50, 158, 168, 1.5});
  ticks(c, egt, {rankine(0), rankine(700), kRankinePerC * 100, 150, 168, 3});
  ticks(c, egt, {rankine(700), rankine(700), 1, 148, 172, 4, kRed});
  std::vector<std::pair<double, std::string>> hundreds;
  for (int h = 0; h <= 7; ++h) hundreds.emplace_back(rankine(100 * h), std::to_string(h));
  figures(c, egt, hundreds, 137, 14);
  band(c, oil_p, 40 * kPsf, 80 * kPsf, 70, 4, kGreen);
  ticks(c, oil_p, {0, 80 * kPsf, 10 * kPsf, 60, 67, 1.4});
  ticks(c, oil_p, {25 * kPsf, 25 * kPsf, 1, 56, 70, 3, kRed});
  numbers(c, oil_p, 0, 80 * kPsf, 20 * kPsf, 48, 10, 1 / kPsf);
  band(c, oil_t, rankine(40), rankine(100), 70, 4, kGreen);
  ticks(c, oil_t, {rankine(0), rankine(120), kRankinePerC * 10, 60, 67, 1.4});
  ticks(c, oil_t, {rankine(120), rankine(120), 1, 56, 70, 3, kRed});
  figures(c, oil_t, {{rankine(0), "0"}, {rankine(40), "40"}, {rankine(80), "80"}, {rankine(120), "120"}}, 48, 10);
  c.text(150, 120, "EGT", 14, kWhite);
  c.text(150, 137, "\u00b0C \u00d7 100", 9, kGrey);
  c.text(60, 210, "OIL \u00b0C", 10, kWhite);
  c.text(240, 210, "OIL PSI", 10, kWhite);
}

void fuel_flow_dial(Canvas &c, const Context &ctx) {
  c.round_dial(150, 150, 149);
  Dial d = ctx.needle("Fuel_Flow_Left", 1);
  ticks(c, d, {0, 700, 25, 114, 124, 1.4});
  ticks(c, d, {0, 700, 100, 105, 124, 3.2});
  numbers(c, d, 0, 700, 100, 90, 20, 0.01);
  c.text(150, 190, "FUEL FLOW", 12, kWhite);
  c.text(150, 207, "LB/H \u00d7 100", 9, kGrey);
  c.plate(238, 240, 62, 60, kPanel, false);
  c.text(269, 300 - 4, "INDEX", 7, kGrey);
}

void index_bug(Canvas &c, const Context &) { c.polygon({112, 6.5, 125, 0.5, 125, 12.5}, kRed); }

void fuel_qty_dial(Canvas &c, const Context &ctx) {
  c.round_dial(150, 150, 149);
  Dial d = ctx.needle("Fuel_Qty_Left", 0);
  auto q = [](double hundreds) { return hundreds / 24 * kFullTank; };
  band(c, d, q(0), q(2), 123, 5, kRed);
  ticks(c, d, {q(0), q(24), q(1), 113, 122, 1.4});
  ticks(c, d, {q(0), q(24), q(4), 104, 122, 3.2});
  std::vector<std::pair<double, std::string>> marks;
  for (int h = 0; h <= 24; h += 4) marks.emplace_back(q(h), std::to_string(h));
  figures(c, d, marks, 90, 18);
  c.text(150, 195, "LB \u00d7 100", 10, kGrey);
}

void fuel_temp_dial(Canvas &c, const Context &ctx) {
  c.round_dial(150, 150, 149);
  for (int n : {0, 1}) {
    Dial d = ctx.needle("Fuel_Temp", n);
    ticks(c, d, {-30, 60, 5, 78, 85, 1.2});
    ticks(c, d, {-30, 60, 10, 74, 85, 2.5});
    figures(c, d, {{-30, "-30"}, {0, "0"}, {30, "30"}, {60, "60"}}, 62, 11);
  }
  c.text(150, 40, "FUEL TEMP", 11, kWhite);
  c.text(150, 262, "\u00b0C", 11, kGrey);
  c.text(30, 150, "1", 14, kWhite);
  c.text(270, 150, "2", 14, kWhite);
}

void fuel_used_face(Canvas &c, const Context &) {
  c.plate(0, 0, 312, 200);
  c.text(156, 24, "FUEL USED", 13, kWhite);
  c.text(156, 112, "LB", 11, kGrey);
  c.knob(152, 163, 17, kBezel);
  c.text(200, 163, "RESET", 9, kGrey, Align::kLeft);
}

// The frame over the four drums: dark between and round the windows.
void drum_frame(Canvas &c, const Context &) {
  c.rect(0, 0, 190, 50, mix(kBezel, kPanel, 0.3));
  for (int k = 0; k < 4; ++k) c.rect(9 + 44 * k, 0, 40, 50, {0, 0, 0});
  cairo_set_operator(c.cr(), CAIRO_OPERATOR_CLEAR);
  for (int k = 0; k < 4; ++k) cairo_rectangle(c.cr(), 9 + 44 * k, 0, 40, 50);
  cairo_fill(c.cr());
  cairo_set_operator(c.cr(), CAIRO_OPERATOR_OVER);
  c.rect(0, 0, 190, 2, kBezel);
  c.rect(0, 48, 190, 2, kBezel);
}

void fuel_placard(Canvas &c, const Context &) {
  c.text(22, 18, "FUEL", 12, kWhite);
  c.text(78, 18, "QTY", 12, kWhite);
}

Design needle(int id, int w, int h, double px, double tip, double tail, double width) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            needle_right(c, px, h / 2.0, tip, tail, width, kWhite, px > 0);
          }};
}

const Designs kEngine{
    {1140, 300, 300, torque_dial},
    needle(1150, 164, 13, 0, 162, 0, 6),
    {1160, 300, 300, [](Canvas &c, const Context &) { glass_with_hubs(c, 150, 150, 140, {{52, 150}, {248, 150}}, 8); }},
    {1100, 184, 184, [](Canvas &c, const Context &ctx) { rpm_dial(c, ctx, "Engine_N2", 1, "N2"); }},
    needle(1110, 22, 5, 7, 15, 6, 3),
    needle(1120, 98, 15, 30, 66, 28, 6),
    {1130, 184, 184, [](Canvas &c, const Context &) { glass_with_hubs(c, 92, 92, 84, {{92, 92}, {55, 55}}, 4); }},
    {2330, 184, 184, [](Canvas &c, const Context &ctx) { rpm_dial(c, ctx, "Propeller_RPM", 0.01, "PROP"); }},
    needle(2340, 22, 5, 7, 15, 6, 3),
    needle(2350, 98, 15, 30, 66, 28, 6),
    {2360, 184, 184, [](Canvas &c, const Context &) { glass_with_hubs(c, 92, 92, 84, {{92, 92}, {55, 55}}, 4); }},
    {2400, 300, 250, egt_oil_dial},
    needle(2410, 176, 9, 0, 172, 0, 5),
    needle(2420, 70, 9, 1, 68, 0, 5),
    {2430, 300, 250, [](Canvas &c, const Context &) {
       for (Point p : {Point{250, 162}, Point{50, 162}, Point{150, 233}}) hub(c, p, 6);
     }},
    {210, 50, 50, [](Canvas &c, const Context &) { round_lamp(c, kRed, false, "FIRE"); }},
    {211, 50, 50, [](Canvas &c, const Context &) { round_lamp(c, kRed, true, "FIRE"); }},
    {1480, 56, 40, [](Canvas &c, const Context &) { legend_lamp(c, kAmber, false, {"LOW OIL", "PRESS"}); }},
    {1481, 56, 40, [](Canvas &c, const Context &) { legend_lamp(c, kAmber, true, {"LOW OIL", "PRESS"}); }},
    {1170, 300, 300, fuel_flow_dial},
    needle(1180, 125, 21, 10, 112, 9, 7),
    {1190, 300, 300, [](Canvas &c, const Context &) { glass_with_hubs(c, 150, 150, 140, {{150, 150}}, 9); }},
    {1200, 126, 13, index_bug},
    {1210, 42, 42, [](Canvas &c, const Context &) { knob_image(c, 21); }},
    {220, 300, 300, fuel_qty_dial},
    needle(230, 122, 9, 0, 120, 0, 5),
    {240, 100, 36, fuel_placard},
    {250, 300, 300, [](Canvas &c, const Context &) { glass_with_hubs(c, 150, 150, 140, {{150, 150}}, 9); }},
    {480, 40, 40, [](Canvas &c, const Context &) { legend_lamp(c, kAmber, false, {"LOW", "FUEL"}); }},
    {481, 40, 40, [](Canvas &c, const Context &) { legend_lamp(c, kAmber, true, {"LOW", "FUEL"}); }},
    {2370, 300, 300, fuel_temp_dial},
    needle(2380, 92, 9, 0, 86, 0, 5),
    {2390, 300, 300, [](Canvas &c, const Context &) { glass_with_hubs(c, 150, 150, 140, {{60, 150}, {240, 150}}, 7); }},
    {2300, 312, 200, fuel_used_face},
    {2310, 40, 550, [](Canvas &c, const Context &) { strip(c, digits_0_to_9_0(), 50, 30, kWhite, {0.08, 0.08, 0.08}); }},
    mask_design(2311, 40, 50),
    {2320, 190, 50, drum_frame},
};

}  // namespace
}  // namespace art
