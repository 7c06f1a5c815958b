// Airspeed: the airspeed indicator, 0 to 300 kt on a non-linear scale (50 kt
// steps to 150 kt, then one 100 kt step to 250 kt).
// Reads: token 61, indicated airspeed in knots.
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Airspeed_Header;

namespace {
constexpr std::int32_t kIndicatedAirspeed = 61;
constexpr std::int32_t kHelpAirspeed = 43778;
constexpr GaugeHeader *kSelf = &Airspeed_Header;

extern GaugeElement *dial_next[];
extern GaugeElement *needle_next[];

FailureRecord needle_failures[] = {{6, 1, 0}, {3, 2, 0}, {0, 0, 0}};

NonlinearityEntry needle_table[] = {
    table_point(-1, 101, 256),  table_point(0, 101, 256),   table_point(50, 44, 206),
    table_point(100, 76, 47),   table_point(150, 206, 44),  table_point(250, 206, 233),
    table_point(300, 120, 254), table_point(400, 120, 254),
};

StaticImageElement dial =
    static_image({.bitmap = 1000, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement speed_needle = needle({.bitmap = 1010,
                                     .pos = {140, 140},
                                     .flags = 0x4083,
                                     .next = needle_next,
                                     .failures = needle_failures,
                                     .gauge = kSelf,
                                     .pivot = {40, 27},
                                     .token = kIndicatedAirspeed,
                                     .table = table(needle_table)});
StaticImageElement glass = static_image({.bitmap = 1020, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(speed_needle), nullptr};
GaugeElement *needle_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpAirspeed), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Airspeed_Header =
    gauge_header({.name = "Airspeed", .elements = elements, .size_mm = 100, .mouse = mouse});
