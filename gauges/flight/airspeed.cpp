// Airspeed: the airspeed indicator, 0 to 300 kt on a non-linear scale (50 kt
// steps to 150 kt, then one 100 kt step to 250 kt).
// Reads: kVarIndicatedAirspeed in knots.
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Airspeed_Header;

namespace {
constexpr std::int32_t kHelpAirspeed = 43778;
constexpr GaugeHeader *kSelf = &Airspeed_Header;

FailureRecord needle_failures[] = {
    failure(kFailGaugeAirspeed, kFailActionFreeze),
    failure(kFailSystemPitotStatic, kFailActionZero),
    kFailuresEnd,
};

NonlinearityEntry needle_table[] = {
    table_point(-1, 101, 256),  table_point(0, 101, 256),   table_point(50, 44, 206),
    table_point(100, 76, 47),   table_point(150, 206, 44),  table_point(250, 206, 233),
    table_point(300, 120, 254), table_point(400, 120, 254),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 1000, .flags = kImageLit, .gauge = kSelf});
  NeedleElement speed_needle = needle({.bitmap = 1010,
                                       .pos = {140, 140},
                                       .flags = kImageLitSmooth,
                                       .failures = needle_failures,
                                       .gauge = kSelf,
                                       .pivot = {40, 27},
                                       .token = kVarIndicatedAirspeed,
                                       .table = table(needle_table)});
  StaticImageElement glass =
      static_image({.bitmap = 1020, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::speed_needle, &Parts::glass> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpAirspeed), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Airspeed_Header =
    gauge_header<&Airspeed_Header>({.name = "Airspeed", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
