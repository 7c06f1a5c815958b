// Torque: one dial for both engines, each scale between the two pivots; the
// left needle shows engine 2, the right needle engine 1.
// Reads: kVarEngine1Torque and kVarEngine2Torque, both as a fraction
// (1.0 = 100 %).
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Torque_Header;

namespace {
constexpr std::int32_t kHelpTorque = 43888;
constexpr GaugeHeader *kSelf = &Torque_Header;


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

struct Parts {
  StaticImageElement dial =
      static_image({.bitmap = 1140, .flags = kImageLit, .gauge = kSelf});
  NeedleElement engine2_needle = needle({.bitmap = 1150,
                                         .pos = {52, 150},
                                         .flags = kImageLitSmooth,
                                         .gauge = kSelf,
                                         .pivot = {0, 6},
                                         .token = kVarEngine2Torque,
                                         .table = table(engine2_table)});
  NeedleElement engine1_needle = needle({.bitmap = 1150,
                                         .pos = {248, 150},
                                         .flags = kImageLitSmooth,
                                         .gauge = kSelf,
                                         .pivot = {0, 6},
                                         .token = kVarEngine1Torque,
                                         .table = table(engine1_table)});
  StaticImageElement glass = static_image({.bitmap = 1160, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::engine2_needle, &Parts::engine1_needle, &Parts::glass> tree;


MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpTorque), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Torque_Header =
    gauge_header<&Torque_Header>({.name = "Torque", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
