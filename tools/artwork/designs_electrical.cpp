// Electrical and lighting switches, voltmeters, warning lights and the
// annunciator.
#include <cmath>
#include <numbers>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

void switch_plate(Canvas &c, const Context &) {
  c.plate(0, 0, 47, 70, kPanel, false);
  c.text(23.5, 8, "ON", 7, kWhite);
  c.text(23.5, 63, "OFF", 7, kWhite);
}

Design toggle_icon(int id, bool on) {
  return {id, 47, 70, [on](Canvas &c, const Context &) { toggle(c, on ? Lever::kUp : Lever::kDown, 23.5, 35, 40); }};
}

Design landing_levers(int id, bool on) {
  return {id, 62, 50, [on](Canvas &c, const Context &) {
            for (double x : {19.0, 43.0}) toggle(c, on ? Lever::kUp : Lever::kDown, x, 27, 30);
          }};
}

// The voltmeter selector: five positions from the left (-90 degrees) to
// the right (+90) in steps of 45.
constexpr double kSelectorStep = std::numbers::pi / 4;
constexpr const char *kSelectorLabels[] = {"BUS", "CV2", "AL2", "AL1", "CV1"};

void selector_plate(Canvas &c, const Context &) {
  c.plate(0, 0, 68, 68, kPanel, false);
  for (int k = 0; k < 5; ++k) {
    double a = -std::numbers::pi / 2 + k * kSelectorStep;
    c.text(34 + 24 * std::sin(a), 40 - 24 * std::cos(a), kSelectorLabels[k], 7, kWhite);
  }
  c.text(34, 62, "VOLTS", 7, kGrey);
}

Design selector_knob(int position) {
  return {6010 + position, 68, 68, [position](Canvas &c, const Context &) {
            double a = -std::numbers::pi / 2 + position * kSelectorStep;
            c.knob(34, 40, 13, kBezel);
            c.line(34, 40, 34 + 12 * std::sin(a), 40 - 12 * std::cos(a), 3, kWhite);
          }};
}

void voltmeter_face(Canvas &c, const Context &ctx, const char *gauge, double top, double step,
                    double label_step, const char *title) {
  c.plate(0, 0, 110, 92, kFace, false);
  Dial d = ctx.needle(gauge, 0);
  ticks(c, d, {0, top, step, 44, 50, 1});
  ticks(c, d, {0, top, label_step, 40, 50, 2});
  numbers(c, d, 0, top, label_step, 33, 8);
  c.text(55, 84, title, 8, kGrey);
}

void annunciator_face(Canvas &c, const Context &) {
  c.plate(0, 0, 420, 106, kPanel, false);
  struct Cell {
    double x, y, w;
    Rgb colour;
    std::vector<std::string> legend;
  };
  const Cell cells[] = {
      {14, 5, 32, kRed, {"FIRE"}},
      {49, 6, 62, kAmber, {"FUEL LOW", "PRESS"}},
      {115, 6, 66, kAmber, {"HYDRAULIC", "LOW PRESS"}},
      {185, 6, 60, kAmber, {"HYDRAULIC", "POWER"}},
      {249, 6, 60, kAmber, {"FUEL", "FILTER"}},
      {313, 6, 62, kAmber, {"FUEL LOW", "PRESS"}},
      {378, 7, 32, kRed, {"FIRE"}},
      {79, 40, 60, kAmber, {"DISCH 2"}},
      {143, 40, 66, kAmber, {"WINDSHIELD"}},
      {15, 74, 60, kAmber, {"GENER."}},
      {79, 74, 60, kAmber, {"DISCH 1"}},
      {143, 74, 66, kAmber, {"CABIN", "TEMP"}},
      {213, 74, 64, kAmber, {"PRESSUR."}},
      {281, 74, 62, kAmber, {"DOORS"}},
      {347, 74, 60, kAmber, {"GENER."}},
  };
  for (const Cell &cell : cells) {
    Canvas lamp(static_cast<int>(cell.w), 26);
    legend_lamp(lamp, cell.colour, false, cell.legend);
    cairo_surface_t *s = cairo_get_target(lamp.cr());
    cairo_set_source_surface(c.cr(), s, cell.x, cell.y);
    cairo_paint(c.cr());
  }
  for (double x : {250.0, 300.0}) {
    c.knob(x, 53, 8, kBezel);
    c.text(x + 24, 53, "TEST", 7, kGrey);
  }
}

Design legend(int id, int w, Rgb colour, std::vector<std::string> lines) {
  return {id, w, 26, [=](Canvas &c, const Context &) { legend_lamp(c, colour, true, lines); }};
}

const Designs kElectrical{
    {5400, 47, 70, switch_plate},
    toggle_icon(5410, false),
    toggle_icon(5411, true),
    {2480, 62, 50, [](Canvas &c, const Context &) {
       c.plate(0, 0, 62, 50, kPanel, false);
       c.text(31, 7, "LDG LT", 7, kWhite);
     }},
    landing_levers(2490, false),
    landing_levers(2491, true),
    {5420, 37, 37, [](Canvas &c, const Context &) { c.plate(0, 0, 37, 37, kPanel, false); }},
    {5430, 37, 37, [](Canvas &c, const Context &) { push_button(c, kBezel, false, "PNL"); }},
    {5431, 37, 37, [](Canvas &c, const Context &) { push_button(c, kAmber, true, "PNL"); }},
    {6000, 68, 68, selector_plate},
    selector_knob(0), selector_knob(1), selector_knob(2), selector_knob(3), selector_knob(4),
    {5440, 48, 48, [](Canvas &c, const Context &) { round_lamp(c, kAmber, false, "ELEC"); }},
    {5450, 48, 48, [](Canvas &c, const Context &) { round_lamp(c, kAmber, true, "ELEC"); }},
    {5470, 110, 92, [](Canvas &c, const Context &ctx) { voltmeter_face(c, ctx, "Voltmeter_DC", 30, 1, 10, "DC VOLTS"); }},
    {5460, 110, 92, [](Canvas &c, const Context &ctx) { voltmeter_face(c, ctx, "Voltmeter_AC", 150, 10, 50, "VOLTS"); }},
    {5480, 50, 3, [](Canvas &c, const Context &) { needle_right(c, 0, 1.5, 49, 0, 2.5, kWhite, false); }},
    {5490, 110, 92, [](Canvas &c, const Context &) { hub(c, {55, 72}, 5); }},
    {6100, 420, 106, annunciator_face},
    legend(6110, 32, kRed, {"FIRE"}),
    legend(6120, 62, kAmber, {"FUEL LOW", "PRESS"}),
    legend(6140, 66, kAmber, {"HYDRAULIC", "LOW PRESS"}),
    legend(6200, 60, kAmber, {"GENER."}),
    legend(6220, 62, kAmber, {"DOORS"}),
};

}  // namespace
}  // namespace art
