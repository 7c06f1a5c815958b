// Gear_Lever_Left / Gear_Lever_Right: the landing gear lever, drawn on each
// side of the panel; the upper half raises the gear, the lower half lowers
// it.
// Reads: token 331, gear lever position (16000 and above counts as down).
// Sends: 66079 (upper half) and 66080 (lower half), from the rectangles.
#include "frame/declare.h"

extern GaugeHeader Gear_Lever_Left_Header;
extern GaugeHeader Gear_Lever_Right_Header;

namespace {
constexpr std::int32_t kGearLever = 331;
constexpr double kGearLeverDown = 16000.0;
constexpr std::int32_t kEventGearUp = 66079;
constexpr std::int32_t kEventGearDown = 66080;
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
  static StaticImageElement background;
  static IconElement lever;
  static GaugeElement *background_next[], *elements[];
  static MouseRect mouse[];
};

template <int S>
StaticImageElement GearLever<S>::background = static_image(
    {.bitmap = side.background, .flags = 0x3, .next = background_next, .gauge = side.self});
template <int S>
IconElement GearLever<S>::lever = icon({.bitmap = side.lever,
                                        .flags = 0x3,
                                        .gauge = side.self,
                                        .token = kGearLever,
                                        .callback = gear_lever_image,
                                        .images = 2});
template <int S>
GaugeElement *GearLever<S>::background_next[] = {el(lever), nullptr};
template <int S>
GaugeElement *GearLever<S>::elements[] = {el(background), nullptr};
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

GaugeHeader Gear_Lever_Left_Header = gauge_header({.name = "Gear_Lever_Left",
                                                   .elements = GearLever<kLeft>::elements,
                                                   .size_mm = 45,
                                                   .mouse = GearLever<kLeft>::mouse});
GaugeHeader Gear_Lever_Right_Header = gauge_header({.name = "Gear_Lever_Right",
                                                    .elements = GearLever<kRight>::elements,
                                                    .size_mm = 45,
                                                    .mouse = GearLever<kRight>::mouse});
