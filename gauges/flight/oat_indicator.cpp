// OAT_Indicator: outside air temperature, -50 to +50 degrees Celsius; the
// needle rests on the end marks beyond them.
// Reads: kVarOutsideAirTemperature in degrees Celsius.
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader OAT_Indicator_Header;

namespace {
constexpr std::int32_t kHelpOat = 43833;
constexpr GaugeHeader *kSelf = &OAT_Indicator_Header;

FailureRecord needle_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionZero),
    kFailuresEnd,
};

NonlinearityEntry needle_table[] = {
    table_point(-60, 36, 76), table_point(-50, 36, 76), table_point(0, 100, 37),
    table_point(50, 167, 73), table_point(60, 167, 73),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 2240, .flags = kImageLit, .gauge = kSelf});
  NeedleElement temperature_needle = needle({.bitmap = 2250,
                                             .pos = {100, 129},
                                             .flags = kImageLitSmooth,
                                             .failures = needle_failures,
                                             .gauge = kSelf,
                                             .pivot = {0, 3},
                                             .token = kVarOutsideAirTemperature,
                                             .table = table(needle_table)});
  StaticImageElement glass =
      static_image({.bitmap = 2260, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::temperature_needle, &Parts::glass> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpOat), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader OAT_Indicator_Header = gauge_header<&OAT_Indicator_Header>(
    {.name = "OAT_Indicator", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
