// Flaps_Position: flap position dial; the needle glides to the flaps'
// position, one eighth of the gap per update (from 0 after loading).
// Reads: token 330, flap position (0 to 16380 on the dial).
// Sends: no key events.
// Gauge-kind statics: Flaps_Smoothed.
#include <cmath>

#include "frame/declare.h"

extern GaugeHeader Flaps_Position_Header;

namespace {
constexpr std::int32_t kFlapPosition = 330;
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
extern GaugeElement *dial_next[];
extern GaugeElement *needle_next[];

NonlinearityEntry flaps_table[] = {
    table_point(0, 242, 101),
    table_point(3300, 234, 127),
    table_point(6750, 209, 185),
    table_point(16380, 100, 242),
};

StaticImageElement dial =
    static_image({.bitmap = 2270, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement flaps_needle = needle({.bitmap = 2280,
                                     .pos = {100, 101},
                                     .flags = 0x4083,
                                     .next = needle_next,
                                     .gauge = kSelf,
                                     .pivot = {0, 4},
                                     .token = kFlapPosition,
                                     .callback = flaps_filter,
                                     .table = table(flaps_table)});
StaticImageElement glass = static_image({.bitmap = 2290, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(flaps_needle), nullptr};
GaugeElement *needle_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpFlaps), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Flaps_Position_Header =
    gauge_header({.name = "Flaps_Position", .elements = elements, .size_mm = 100, .mouse = mouse});
