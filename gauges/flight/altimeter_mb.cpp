// Altimeter_Mb: three-pointer altimeter (10000 ft, 1000 ft and 100 ft
// pointers) with a pressure-setting scale in hectopascals seen through a
// window, and the setting knob below the glass.
// Reads: kVarIndicatedAltitude in feet; kVarPressureSetting in hPa (1013
// standard).
// Sends: kEventPressureSettingDown and kEventPressureSettingUp from the knob
// halves;
// the host sends them itself, repeating while the button is held.
#include "frame/declare.h"

extern GaugeHeader Altimeter_Mb_Header;

namespace {
constexpr std::int32_t kHelpAltimeter = 43783;
constexpr std::int32_t kHelpKnob = 43834;
constexpr GaugeHeader *kSelf = &Altimeter_Mb_Header;

// The scale shows 952 to 1074 hPa, 61 hPa either side of standard.
constexpr double kScaleLow = 952.0;
constexpr double kScaleHigh = 1074.0;
constexpr double kStandard = 1013.0;

}  // namespace

// Turns the pressure scale: the setting, held to the scale's ends, less
// standard pressure (the sprite's 2.95 scale makes that degrees).
double FSAPI baro_scale_rotation(SpriteElement *e) {
  double p = e->source_var_0.var_value.n;
  if (p != p) return 0.0;  // no reading: the scale rests at standard
  if (p <= kScaleLow) p = kScaleLow;
  if (p >= kScaleHigh) p = kScaleHigh;
  return p - kStandard;
}

namespace {
FailureRecord pointer_failures[] = {
    failure(kFailSystemPitotStatic, kFailActionFreeze),
    failure(kFailGaugeAltimeter, kFailActionFreeze),
    kFailuresEnd,
};

// Straight up at zero, straight down at half a turn.
NonlinearityEntry table_10000[] = {table_point(0, 135, 77), table_point(50000, 135, 177)};
NonlinearityEntry table_1000[] = {table_point(0, 135, 77), table_point(5000, 135, 177)};
NonlinearityEntry table_100[] = {table_point(0, 135, 77), table_point(500, 135, 177)};
NonlinearityEntry knob_table[] = {table_point(1013, 53, 223), table_point(1070, 13, 223)};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 330, .flags = kImageLit, .gauge = kSelf});
  SpriteElement pressure_scale = sprite({.bitmap = 340,
                                         .pos = {201, 100},
                                         .flags = kImageLitSmooth,
                                         .gauge = kSelf,
                                         .centre = {131, 127},
                                         .x = {.scale = 1.0},
                                         .y = {.scale = 1.0},
                                         .rotation = {.token = kVarPressureSetting, .scale = 2.95},
                                         .rotation_callback = baro_scale_rotation});
  NeedleElement pointer_10000 = needle({.bitmap = 370,
                                        .pos = {135, 127},
                                        .flags = kImageLitSmooth,
                                        .failures = pointer_failures,
                                        .gauge = kSelf,
                                        .pivot = {0, 6},
                                        .token = kVarIndicatedAltitude,
                                        .table = table(table_10000)});
  NeedleElement pointer_1000 = needle({.bitmap = 360,
                                       .pos = {135, 127},
                                       .flags = kImageLitSmooth,
                                       .failures = pointer_failures,
                                       .gauge = kSelf,
                                       .pivot = {33, 14},
                                       .token = kVarIndicatedAltitude,
                                       .table = table(table_1000)});
  NeedleElement pointer_100 = needle({.bitmap = 350,
                                      .pos = {135, 127},
                                      .flags = kImageLitSmooth,
                                      .failures = pointer_failures,
                                      .gauge = kSelf,
                                      .pivot = {35, 13},
                                      .token = kVarIndicatedAltitude,
                                      .table = table(table_100)});
  StaticImageElement glass = static_image({.bitmap = 380, .flags = kImageStandard, .gauge = kSelf});
  NeedleElement knob = needle({.bitmap = 390,
                               .pos = {33, 223},
                               .flags = kImageSmooth,
                               .gauge = kSelf,
                               .pivot = {20, 20},
                               .token = kVarPressureSetting,
                               .table = table(knob_table)});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::pressure_scale, &Parts::pointer_10000,
                    &Parts::pointer_1000, &Parts::pointer_100, &Parts::glass, &Parts::knob>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpAltimeter),
    mouse_parent({13, 203, 40, 40}, kHelpKnob),
    mouse_event({0, 0, 20, 40}, kCursorDownArrow, kLeftRepeat, kEventPressureSettingDown),
    mouse_event({20, 0, 20, 40}, kCursorUpArrow, kLeftRepeat, kEventPressureSettingUp),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Altimeter_Mb_Header = gauge_header<&Altimeter_Mb_Header>(
    {.name = "Altimeter_Mb", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
