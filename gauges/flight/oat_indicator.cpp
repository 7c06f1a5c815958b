// OAT_Indicator: outside air temperature, -50 to +50 degrees Celsius; the
// needle rests on the end marks beyond them.
// Reads: token 341, outside air temperature in degrees Celsius.
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader OAT_Indicator_Header;

namespace {
constexpr std::int32_t kOutsideAirTemperature = 341;
constexpr std::int32_t kHelpOat = 43833;
constexpr GaugeHeader *kSelf = &OAT_Indicator_Header;

extern GaugeElement *dial_next[];
extern GaugeElement *needle_next[];

FailureRecord needle_failures[] = {{20, 2, 0}, {0, 0, 0}};

NonlinearityEntry needle_table[] = {
    table_point(-60, 36, 76), table_point(-50, 36, 76), table_point(0, 100, 37),
    table_point(50, 167, 73), table_point(60, 167, 73),
};

StaticImageElement dial =
    static_image({.bitmap = 2240, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement temperature_needle = needle({.bitmap = 2250,
                                           .pos = {100, 129},
                                           .flags = 0x4083,
                                           .next = needle_next,
                                           .failures = needle_failures,
                                           .gauge = kSelf,
                                           .pivot = {0, 3},
                                           .token = kOutsideAirTemperature,
                                           .table = table(needle_table)});
StaticImageElement glass = static_image({.bitmap = 2260, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(temperature_needle), nullptr};
GaugeElement *needle_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpOat), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader OAT_Indicator_Header =
    gauge_header({.name = "OAT_Indicator", .elements = elements, .size_mm = 100, .mouse = mouse});
