// Vertical_Speed: vertical speed indicator, -3000 to +3000 ft/min, zero at the
// left of the dial; the needle rests on the 2500 ft/min marks beyond them.
// Reads: kVarVerticalSpeed in metres per second x 256 (500 ft/min =
// 650.24).
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Vertical_Speed_Header;

namespace {
constexpr std::int32_t kHelpVerticalSpeed = 43894;
constexpr GaugeHeader *kSelf = &Vertical_Speed_Header;
constexpr double k500FeetPerMinute = 650.2399791923207;  // in the token's unit

FailureRecord needle_failures[] = {
    failure(kFailGaugeVerticalSpeed, kFailActionFreeze),
    failure(kFailSystemPitotStatic, kFailActionZero),
    kFailuresEnd,
};

// No entry at zero: it lies halfway between the -500 and +500 points.
NonlinearityEntry needle_table[] = {
    table_point(-6 * k500FeetPerMinute, 266, 157), table_point(-5 * k500FeetPerMinute, 266, 157),
    table_point(-4 * k500FeetPerMinute, 253, 208), table_point(-3 * k500FeetPerMinute, 208, 253),
    table_point(-2 * k500FeetPerMinute, 136, 269), table_point(-1 * k500FeetPerMinute, 60, 233),
    table_point(1 * k500FeetPerMinute, 64, 64),    table_point(2 * k500FeetPerMinute, 136, 31),
    table_point(3 * k500FeetPerMinute, 205, 45),   table_point(4 * k500FeetPerMinute, 248, 89),
    table_point(5 * k500FeetPerMinute, 263, 137),  table_point(6 * k500FeetPerMinute, 263, 137),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 400, .flags = kImageLit, .gauge = kSelf});
  NeedleElement speed_needle = needle({.bitmap = 410,
                                       .pos = {145, 147},
                                       .flags = kImageLitSmooth,
                                       .failures = needle_failures,
                                       .gauge = kSelf,
                                       .pivot = {66, 10},
                                       .token = kVarVerticalSpeed,
                                       .table = table(needle_table)});
  StaticImageElement glass = static_image({.bitmap = 420, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::speed_needle, &Parts::glass> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpVerticalSpeed), mouse_end_parent(),
                     mouse_end()};
}  // namespace

GaugeHeader Vertical_Speed_Header = gauge_header<&Vertical_Speed_Header>(
    {.name = "Vertical_Speed", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
