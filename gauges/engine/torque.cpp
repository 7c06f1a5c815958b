// Torque: one dial for both engines, each scale between the two pivots; the
// left needle shows engine 2, the right needle engine 1.
// Reads: token 629, engine 1 torque, and token 648, engine 2 torque, both as
// a fraction (1.0 = 100 %).
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Torque_Header;

namespace {
constexpr std::int32_t kTorqueEngine1 = 629;
constexpr std::int32_t kTorqueEngine2 = 648;
constexpr std::int32_t kHelpTorque = 43888;
constexpr GaugeHeader *kSelf = &Torque_Header;

extern GaugeElement *dial_next[];
extern GaugeElement *engine2_next[];
extern GaugeElement *engine1_next[];

NonlinearityEntry engine2_table[] = {
    table_point(1.1, 173, 27),
    table_point(1.0, 180, 42),
    table_point(0.14, 166, 266),
    table_point(0.0, 160, 270),
};
NonlinearityEntry engine1_table[] = {
    table_point(0.0, 140, 270),
    table_point(0.14, 135, 266),
    table_point(1.0, 120, 43),
    table_point(1.1, 132, 34),
};

StaticImageElement dial =
    static_image({.bitmap = 1140, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement engine2_needle = needle({.bitmap = 1150,
                                       .pos = {52, 150},
                                       .flags = 0x4083,
                                       .next = engine2_next,
                                       .gauge = kSelf,
                                       .pivot = {0, 6},
                                       .token = kTorqueEngine2,
                                       .table = table(engine2_table)});
NeedleElement engine1_needle = needle({.bitmap = 1150,
                                       .pos = {248, 150},
                                       .flags = 0x4083,
                                       .next = engine1_next,
                                       .gauge = kSelf,
                                       .pivot = {0, 6},
                                       .token = kTorqueEngine1,
                                       .table = table(engine1_table)});
StaticImageElement glass = static_image({.bitmap = 1160, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(engine2_needle), nullptr};
GaugeElement *engine2_next[] = {el(engine1_needle), nullptr};
GaugeElement *engine1_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpTorque), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Torque_Header =
    gauge_header({.name = "Torque", .elements = elements, .size_mm = 100, .mouse = mouse});
