// Gear_Lever_Left / Gear_Lever_Right: the landing gear lever, drawn on each
// side of the panel; the upper half raises the gear, the lower half lowers
// it.
// Reads: kVarGearLever (16000 and above counts as down).
// Sends: kEventGearUp (upper half) and kEventGearDown (lower half), from the
// rectangles.
#include "frame/declare.h"

extern GaugeHeader Gear_Lever_Left_Header;
extern GaugeHeader Gear_Lever_Right_Header;

namespace {
constexpr double kGearLeverDown = 16000.0;
constexpr std::int32_t kHelpGearLever = 43824;
}  // namespace

// Image 1 shows the lever down.
double FSAPI gear_lever_image(IconElement *e) {
  return e->source_var.var_value.n >= kGearLeverDown ? 1.0 : 0.0;
}

namespace {
struct LeverSide {
  GaugeHeader *self;
  std::int32_t background, lever;  // bitmaps
};
constexpr LeverSide kSides[] = {{&Gear_Lever_Left_Header, 2440, 2450},
                                {&Gear_Lever_Right_Header, 2460, 2470}};
enum : int { kLeft, kRight };

template <int S>
struct GearLever {
  static constexpr const LeverSide &side = kSides[S];
  static MouseRect mouse[];
  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = side.background, .flags = kImageStandard, .gauge = side.self});
    IconElement lever = icon({.bitmap = side.lever,
                              .flags = kImageStandard,
                              .gauge = side.self,
                              .token = kVarGearLever,
                              .callback = gear_lever_image,
                              .images = 2});
  };
  static constinit inline DrawOrder<Parts, &Parts::background, &Parts::lever> tree{};
};

template <int S>
MouseRect GearLever<S>::mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_parent({0, 0, 60, 164}, kHelpGearLever),
    mouse_event({0, 0, 60, 82}, kCursorUpArrow, kMouseLeftSingle, kEventGearUp),
    mouse_event({0, 82, 60, 82}, kCursorDownArrow, kMouseLeftSingle, kEventGearDown),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Gear_Lever_Left_Header = gauge_header<&Gear_Lever_Left_Header>({.name = "Gear_Lever_Left",
                                                   .elements = GearLever<kLeft>::tree.elements,
                                                   .size_mm = 45,
                                                   .mouse = GearLever<kLeft>::mouse});
GaugeHeader Gear_Lever_Right_Header = gauge_header<&Gear_Lever_Right_Header>({.name = "Gear_Lever_Right",
                                                    .elements = GearLever<kRight>::tree.elements,
                                                    .size_mm = 45,
                                                    .mouse = GearLever<kRight>::mouse});
