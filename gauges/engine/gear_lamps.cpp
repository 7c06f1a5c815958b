// Gear_Lamps: three green lamps, one per leg, lit when the leg is down and
// locked, and a red lamp that blinks while the legs are neither all down nor
// all up.
// Reads: tokens 332, 333, 334, the nose (top), left and right leg positions
// (above 16350 down and locked, below 50 up); token 604, simulation time in
// seconds, for the blink.
// Sends: no key events.
#include <cmath>

#include "frame/declare.h"
#include "frame/services.h"

extern GaugeHeader Gear_Lamps_Header;

namespace {
constexpr std::int32_t kSimulationTime = 604;
constexpr std::int32_t kLegs[] = {332, 333, 334};
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
  double t = read_var(kSimulationTime);
  bool all_locked = true;
  bool all_up = true;
  for (std::int32_t leg : kLegs) {
    double position = read_var(leg);
    all_locked = all_locked && position > kLegLocked;
    all_up = all_up && position < kLegUp;
  }
  if (all_locked || all_up) return kDark;
  return std::fmod(t, kBlinkPeriod) > kBlinkPeriod / 2 ? kLit : kDark;
}

namespace {
extern GaugeElement *panel_next[];
extern GaugeElement *warning_next[];
extern GaugeElement *right_next[];
extern GaugeElement *left_next[];

StaticImageElement panel =
    static_image({.bitmap = 4390, .flags = 0x3, .next = panel_next, .gauge = kSelf});
IconElement warning = icon({.bitmap = 4420,
                            .pos = {48, 86},
                            .flags = 0x7,
                            .next = warning_next,
                            .gauge = kSelf,
                            .callback = gear_warning_lamp});
IconElement right_leg = icon({.bitmap = 4410,
                              .pos = {80, 35},
                              .flags = 0x7,
                              .next = right_next,
                              .gauge = kSelf,
                              .token = kLegs[2],
                              .callback = gear_down_lamp});
IconElement left_leg = icon({.bitmap = 4410,
                             .pos = {10, 35},
                             .flags = 0x7,
                             .next = left_next,
                             .gauge = kSelf,
                             .token = kLegs[1],
                             .callback = gear_down_lamp});
IconElement nose_leg = icon({.bitmap = 4400,
                             .pos = {31, 14},
                             .flags = 0x7,
                             .gauge = kSelf,
                             .token = kLegs[0],
                             .callback = gear_down_lamp});

GaugeElement *panel_next[] = {el(warning), nullptr};
GaugeElement *warning_next[] = {el(right_leg), nullptr};
GaugeElement *right_next[] = {el(left_leg), nullptr};
GaugeElement *left_next[] = {el(nose_leg), nullptr};
GaugeElement *elements[] = {el(panel), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpGearLamps), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Gear_Lamps_Header =
    gauge_header({.name = "Gear_Lamps", .elements = elements, .size_mm = 40, .mouse = mouse});
