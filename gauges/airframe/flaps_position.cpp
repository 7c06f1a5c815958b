// Flaps_Position: flap position dial; the needle glides to the flaps'
// position, one eighth of the gap per update (from 0 after loading).
// Reads: kVarFlapPosition (0 to 16380 on the dial).
// Sends: no key events.
// Gauge-kind statics: Flaps_Smoothed.
#include <cmath>

#include "frame/declare.h"

extern GaugeHeader Flaps_Position_Header;

namespace {
constexpr std::int32_t kHelpFlaps = 43812;
constexpr GaugeHeader *kSelf = &Flaps_Position_Header;

double Flaps_Smoothed = 0.0;
}  // namespace

// A reading that is not a number leaves the needle where it was.
double FSAPI flaps_filter(NeedleElement *e) {
  double v = e->source_var.var_value.n;
  if (std::isfinite(v)) Flaps_Smoothed = 0.125 * v + 0.875 * Flaps_Smoothed;
  return Flaps_Smoothed;
}

namespace {
NonlinearityEntry flaps_table[] = {
    table_point(0, 242, 101),
    table_point(3300, 234, 127),
    table_point(6750, 209, 185),
    table_point(16380, 100, 242),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 2270, .flags = kImageLit, .gauge = kSelf});
  NeedleElement flaps_needle = pointer({.bitmap = 2280,
                                        .pos = {100, 101},
                                        .gauge = kSelf,
                                        .pivot = {0, 4},
                                        .token = kVarFlapPosition,
                                        .callback = flaps_filter,
                                        .table = table(flaps_table)});
  StaticImageElement glass = static_image({.bitmap = 2290, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::flaps_needle, &Parts::glass> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpFlaps), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Flaps_Position_Header =
    gauge_header<&Flaps_Position_Header>({.name = "Flaps_Position", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
