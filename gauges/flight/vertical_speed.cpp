// Vertical_Speed: vertical speed indicator, -3000 to +3000 ft/min, zero at the
// left of the dial; the needle rests on the 2500 ft/min marks beyond them.
// Reads: token 65, vertical speed in metres per second x 256 (500 ft/min =
// 650.24).
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Vertical_Speed_Header;

namespace {
constexpr std::int32_t kVerticalSpeed = 65;
constexpr std::int32_t kHelpVerticalSpeed = 43894;
constexpr GaugeHeader *kSelf = &Vertical_Speed_Header;
constexpr double k500FeetPerMinute = 650.2399791923207;  // in the token's unit

extern GaugeElement *dial_next[];
extern GaugeElement *needle_next[];

FailureRecord needle_failures[] = {{19, 1, 0}, {3, 2, 0}, {0, 0, 0}};

// No entry at zero: it lies halfway between the -500 and +500 points.
NonlinearityEntry needle_table[] = {
    table_point(-6 * k500FeetPerMinute, 266, 157), table_point(-5 * k500FeetPerMinute, 266, 157),
    table_point(-4 * k500FeetPerMinute, 253, 208), table_point(-3 * k500FeetPerMinute, 208, 253),
    table_point(-2 * k500FeetPerMinute, 136, 269), table_point(-1 * k500FeetPerMinute, 60, 233),
    table_point(1 * k500FeetPerMinute, 64, 64),    table_point(2 * k500FeetPerMinute, 136, 31),
    table_point(3 * k500FeetPerMinute, 205, 45),   table_point(4 * k500FeetPerMinute, 248, 89),
    table_point(5 * k500FeetPerMinute, 263, 137),  table_point(6 * k500FeetPerMinute, 263, 137),
};

StaticImageElement dial =
    static_image({.bitmap = 400, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement speed_needle = needle({.bitmap = 410,
                                     .pos = {145, 147},
                                     .flags = 0x4083,
                                     .next = needle_next,
                                     .failures = needle_failures,
                                     .gauge = kSelf,
                                     .pivot = {66, 10},
                                     .token = kVerticalSpeed,
                                     .table = table(needle_table)});
StaticImageElement glass = static_image({.bitmap = 420, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(speed_needle), nullptr};
GaugeElement *needle_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpVerticalSpeed), mouse_end_parent(),
                     mouse_end()};
}  // namespace

GaugeHeader Vertical_Speed_Header = gauge_header(
    {.name = "Vertical_Speed", .elements = elements, .size_mm = 100, .mouse = mouse});
