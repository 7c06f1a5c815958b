// Voltmeter_DC: the DC voltmeter, 0 to 30 V, parked at its stops outside.
// Reads: 753, the voltage it shows.
// Sends no key events; no module-wide variables.
#include "frame/declare.h"

extern GaugeHeader Voltmeter_DC_Header;

namespace {
constexpr std::int32_t kDcVoltage = 753;
constexpr GaugeHeader *kSelf = &Voltmeter_DC_Header;

extern GaugeElement *dial_next[];
extern GaugeElement *needle_next[];

NonlinearityEntry volts_table[] = {
    table_point(-1, 19, 36), table_point(0, 19, 36),  table_point(15, 55, 23),
    table_point(30, 90, 38), table_point(40, 90, 38),
};

StaticImageElement dial =
    static_image({.bitmap = 5470, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement volts = needle({.bitmap = 5480,
                              .pos = {55, 72},
                              .flags = 0x4083,
                              .next = needle_next,
                              .gauge = kSelf,
                              .pivot = {0, 1},
                              .token = kDcVoltage,
                              .table = table(volts_table)});
StaticImageElement glass = static_image({.bitmap = 5490, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(volts), nullptr};
GaugeElement *needle_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Voltmeter_DC_Header =
    gauge_header({.name = "Voltmeter_DC", .elements = elements, .size_mm = 100, .mouse = mouse});
