// The autopilot panels: the flight-director selector, the manual autopilot
// and the autopilot annunciator.
#include <string>
#include <vector>

#include "tools/artwork/parts.h"

namespace art {
namespace {

struct Lamp {
  int id;
  double x, y, w, h;
  Rgb colour;
  std::vector<std::string> legend;
};

// A push button or annunciator cell: the face carries it unlit, the icon lit.
void paste_lamp(Canvas &c, const Lamp &l, bool lit) {
  Canvas cell(static_cast<int>(l.w), static_cast<int>(l.h));
  legend_lamp(cell, l.colour, lit, l.legend);
  cairo_set_source_surface(c.cr(), cairo_get_target(cell.cr()), l.x, l.y);
  cairo_paint(c.cr());
}

const std::vector<Lamp> kSelector = {
    {5100, 39, 12, 30, 22, kGreen, {"GO", "AROUND"}},
    {5140, 125, 16, 30, 22, kGreen, {"PITCH", "CPL"}},
    {5150, 157, 16, 30, 22, kGreen, {"ROLL", "CPL"}},
    {5050, 15, 40, 22, 22, kGreen, {"HDG"}},
    {5010, 43, 40, 22, 22, kGreen, {"ALT"}},
    {5060, 71, 40, 22, 22, kGreen, {"IAS"}},
    {5090, 15, 67, 22, 22, kGreen, {"V/L"}},
    {5020, 43, 67, 22, 22, kGreen, {"APP", "ARM"}},
    {5030, 71, 67, 22, 22, kGreen, {"GS"}},
    {5070, 15, 94, 22, 22, kGreen, {"REV"}},
    {5080, 43, 94, 22, 22, kAmber, {"SBY"}},
    {5040, 71, 94, 22, 22, kGreen, {"GS", "EXT"}},
    {5110, 124, 91, 32, 32, kGreen, {"A/P", "ENG"}},
    {5120, 156, 91, 32, 32, kGreen, {"Y/D", "ENG"}},
};

const std::vector<Lamp> kLights = {
    {5170, 42, 10, 40, 36, kGreen, {"HDG"}},      {5180, 87, 10, 40, 36, kGreen, {"ALT"}},
    {5190, 132, 10, 40, 36, kGreen, {"IAS"}},     {5200, 177, 10, 40, 36, kGreen, {"REV"}},
    {5210, 222, 10, 40, 36, kGreen, {"S/R"}},     {5220, 267, 10, 40, 36, kGreen, {"PTC", "CPL"}},
    {5230, 312, 10, 40, 36, kGreen, {"ROL", "CPL"}}, {5240, 42, 55, 40, 36, kGreen, {"V/L"}},
    {5250, 87, 55, 40, 36, kGreen, {"APP", "ARM"}}, {5260, 132, 55, 40, 36, kGreen, {"GS"}},
    {5270, 177, 55, 40, 36, kAmber, {"GS", "EXT"}}, {5280, 222, 55, 40, 36, kAmber, {"SBY"}},
    {5290, 267, 55, 40, 36, kGreen, {"A/P", "ENG"}}, {5300, 312, 55, 40, 36, kGreen, {"Y/D", "ENG"}},
};

Design panel_of(int id, int w, int h, const std::vector<Lamp> &lamps, const char *title,
                double title_x, double title_y) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            c.plate(0, 0, w, h);
            for (const Lamp &l : lamps) paste_lamp(c, l, false);
            c.text(title_x, title_y, title, 8, kWhite);
          }};
}

std::vector<Design> lit(const std::vector<Lamp> &lamps) {
  std::vector<Design> out;
  for (const Lamp &l : lamps)
    out.push_back({l.id, static_cast<int>(l.w), static_cast<int>(l.h),
                   [l](Canvas &c, const Context &) { legend_lamp(c, l.colour, true, l.legend); }});
  return out;
}

// The pitch wheel seen edge on, its ridges moved a sixth of a pitch per image.
Design pitch_wheel(int frame) {
  return {5320 + frame, 24, 53, [frame](Canvas &c, const Context &) {
            c.rect(0, 0, 24, 53, kBezel);
            c.rect(3, 0, 18, 53, {0.30, 0.30, 0.32});
            for (double y = frame * 2.0; y < 53; y += 12) c.line(3, y, 21, y, 3, kBezel);
          }};
}

void manual_face(Canvas &c, const Context &) {
  c.plate(0, 0, 220, 110);
  c.text(110, 10, "AUTOPILOT", 8, kWhite);
  c.text(45, 24, "DESCEND", 6, kGrey);
  c.text(45, 93, "CLIMB", 6, kGrey);
  c.text(45, 103, "PITCH", 7, kWhite);
  c.text(161, 100, "TURN", 7, kWhite);
  c.text(124, 55, "L", 8, kWhite);
  c.text(198, 55, "R", 8, kWhite);
  c.circle(107, 91, 11, kBezel);
  c.circle(107, 91, 8.5, mix(kGreen, kBlack, 0.75));
}

std::vector<Design> autopilot_designs() {
  std::vector<Design> all = {
      panel_of(5000, 200, 130, kSelector, "FLIGHT DIRECTOR", 100, 4),
      panel_of(5160, 370, 100, kLights, "A/P", 20, 50),
      {5310, 220, 110, manual_face},
      {5330, 64, 64, [](Canvas &c, const Context &) { knob_image(c, 32, false); }},
      {5340, 20, 20, [](Canvas &c, const Context &) { round_lamp(c, kGreen, false); }},
      {5341, 20, 20, [](Canvas &c, const Context &) { round_lamp(c, kGreen, true); }},
  };
  for (int f = 0; f < 6; ++f) all.push_back(pitch_wheel(f));
  for (auto &d : lit(kSelector)) all.push_back(d);
  for (auto &d : lit(kLights)) all.push_back(d);
  return all;
}

const bool kAdded = [] {
  for (auto &d : autopilot_designs()) designs().push_back(d);
  return true;
}();

}  // namespace
}  // namespace art
