// Gear_Lamps: three green lamps, one per leg, lit when the leg is down and
// locked, and a red lamp that blinks while the legs are neither all down nor
// all up.
// Reads: kVarGearNosePosition (the top lamp), kVarGearLeftPosition and
// kVarGearRightPosition (above 16350 down and locked, below 50 up);
// kVarSimulationTime in seconds, for the blink.
// Sends: no key events.
#include <cmath>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"

extern GaugeHeader Gear_Lamps_Header;

namespace {
constexpr std::int32_t kLegs[] = {kVarGearNosePosition, kVarGearLeftPosition,
                                  kVarGearRightPosition};
constexpr double kLegLocked = 16350.0;
constexpr double kLegUp = 50.0;
constexpr double kBlinkPeriod = 0.51;  // seconds, dark for the first half
constexpr double kLit = 0.0;
constexpr double kDark = -1.0;
constexpr std::int32_t kHelpGearLamps = 43825;
constexpr GaugeHeader *kSelf = &Gear_Lamps_Header;
}  // namespace

double FSAPI gear_down_lamp(IconElement *e) {
  return e->source_var.var_value.n > kLegLocked ? kLit : kDark;
}

double FSAPI gear_warning_lamp(IconElement *) {
  double t = read_var(kVarSimulationTime);
  bool all_locked = true;
  bool all_up = true;
  for (std::int32_t leg : kLegs) {
    double position = read_var(leg);
    all_locked = all_locked && position > kLegLocked;
    all_up = all_up && position < kLegUp;
  }
  if (all_locked || all_up) return kDark;
  return wrapped(t, kBlinkPeriod) > kBlinkPeriod / 2 ? kLit : kDark;
}

namespace {
// A leg's green lamp.
constexpr IconElement leg_lamp(std::int32_t bitmap, PixPoint pos, std::int32_t leg) {
  return icon({.bitmap = bitmap,
               .pos = pos,
               .flags = kImageBright,
               .gauge = kSelf,
               .token = leg,
               .callback = gear_down_lamp});
}

struct Parts {
  StaticImageElement panel = static_image({.bitmap = 4390, .flags = kImageStandard, .gauge = kSelf});
  IconElement warning = icon({.bitmap = 4420,
                              .pos = {48, 86},
                              .flags = kImageBright,
                              .gauge = kSelf,
                              .callback = gear_warning_lamp});
  IconElement right_leg = leg_lamp(4410, {80, 35}, kVarGearRightPosition);
  IconElement left_leg = leg_lamp(4410, {10, 35}, kVarGearLeftPosition);
  IconElement nose_leg = leg_lamp(4400, {31, 14}, kVarGearNosePosition);
};
constinit DrawOrder<Parts, &Parts::panel, &Parts::warning, &Parts::right_leg, &Parts::left_leg,
                    &Parts::nose_leg>
    tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpGearLamps), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Gear_Lamps_Header =
    gauge_header<&Gear_Lamps_Header>({.name = "Gear_Lamps", .elements = tree.elements, .size_mm = 40, .mouse = mouse});
