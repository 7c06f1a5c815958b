// The traffic display's bezel, screen, cover and power switch.
#include "tools/artwork/parts.h"

namespace art {
namespace {

void radar_bezel(Canvas &c, const Context &) {
  c.plate(0, 0, 297, 216);
  c.circle(148, 106, 100, kBezel);
  c.text(148, 208, "TRAFFIC", 7, kGrey);
  c.text(270, 14, "PWR", 7, kWhite);
  for (double y : {60.0, 84.0}) c.round_rect(258, y, 23, 17, 3, kPanel);
  c.polygon({269.5, 63, 263, 73, 276, 73}, kWhite);
  c.polygon({269.5, 98, 263, 88, 276, 88}, kWhite);
  c.text(269.5, 112, "RNG", 7, kWhite);
}

// The screen before anything is drawn on it: a dark round tube.
void radar_screen(Canvas &c, const Context &) {
  c.rect(0, 0, 192, 192, {0.02, 0.03, 0.02});
  c.circle(96, 96, 95, {0.03, 0.07, 0.04});
}

void radar_cover(Canvas &c, const Context &) {
  c.circle(96, 96, 96, {0.12, 0.13, 0.13});
  c.text(96, 96, "RADAR", 14, kGrey);
}

Design power(int id, bool on) {
  return {id, 16, 16, [on](Canvas &c, const Context &) {
            c.round_rect(0, 0, 16, 16, 3, kBezel);
            toggle(c, on ? Lever::kUp : Lever::kDown, 8, 8, 14);
          }};
}

const Designs kRadar{
    {5350, 297, 216, radar_bezel},
    {5360, 192, 192, radar_screen, {0, 0, 0}},
    {5370, 192, 192, radar_cover},
    power(5380, false),
    power(5381, true),
};

}  // namespace
}  // namespace art
