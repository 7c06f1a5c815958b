// The engine start panel.
#include "tools/artwork/parts.h"

namespace art {
namespace {

void starter_face(Canvas &c, const Context &) {
  c.plate(0, 0, 359, 230);
  c.text(179.5, 12, "ENGINE START", 10, kWhite);
  c.text(90, 12, "1", 12, kWhite);
  c.text(270, 12, "2", 12, kWhite);
  for (double x : {47.5, 311.5}) {
    c.text(x, 72, "FWD", 6, kGrey);
    c.text(x, 145, "AFT", 6, kGrey);
    c.text(x, 160, "PUMPS", 7, kWhite);
  }
  for (double x : {89.0, 269.0}) c.text(x, 214, "FUEL COCK", 7, kWhite);
  c.text(180, 30, "START", 6, kWhite);
  c.text(180, 47, "STOP", 6, kWhite);
  c.text(180, 64, "VENT", 6, kWhite);
  for (double x : {104.0, 255.0}) c.text(x, 70, "START", 6, kGrey);
  for (double x : {109.0, 149.0, 188.0, 228.0}) {
    bool red = x == 109.0 || x == 228.0;
    c.circle(x + 15, 105, 16, kBezel);
    c.circle(x + 15, 105, 12.5, mix(red ? kRed : kGreen, kBlack, 0.75));
  }
  c.text(179.5, 128, "READY", 6, kGrey);
}

Design lever_icon(int id, int w, int h, Lever lever, double cy, double size) {
  return {id, w, h, [=](Canvas &c, const Context &) { toggle(c, lever, w / 2.0, cy, size); }};
}

void guard(Canvas &c, bool open) {
  if (open) {
    c.round_rect(1, 0, 32, 12, 3, mix(kRed, kBlack, 0.3));
    c.round_rect(3, 2, 28, 8, 2, kRed);
    return;
  }
  c.round_rect(1, 8, 32, 56, 5, mix(kRed, kBlack, 0.35));
  c.round_rect(3, 10, 28, 52, 4, kRed);
  for (double y : {22.0, 34.0, 46.0}) c.line(8, y, 26, y, 1.5, mix(kRed, kBlack, 0.3));
}

const Designs kStarter{
    {4310, 359, 230, starter_face},
    lever_icon(4320, 39, 51, Lever::kCentre, 25.5, 44),
    lever_icon(4321, 39, 51, Lever::kDown, 25.5, 44),
    lever_icon(4322, 39, 51, Lever::kUp, 25.5, 44),
    {4330, 30, 30, [](Canvas &c, const Context &) { round_lamp(c, kGreen, true); }},
    {4340, 30, 30, [](Canvas &c, const Context &) { round_lamp(c, kRed, true); }},
    {4350, 34, 68, [](Canvas &c, const Context &) { guard(c, false); }},
    {4351, 34, 68, [](Canvas &c, const Context &) { guard(c, true); }},
    {4360, 32, 32, [](Canvas &c, const Context &) { push_button(c, kBezel, false, "ST"); }},
    {4361, 32, 32, [](Canvas &c, const Context &) { push_button(c, kAmber, true, "ST"); }},
    lever_icon(4370, 34, 68, Lever::kDown, 34, 30),
    lever_icon(4371, 34, 68, Lever::kUp, 34, 30),
    lever_icon(4380, 35, 34, Lever::kDown, 17, 30),
    lever_icon(4381, 35, 34, Lever::kUp, 17, 30),
};

}  // namespace
}  // namespace art
