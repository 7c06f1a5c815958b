// Pitch_Trim_Wheel_Left / Pitch_Trim_Wheel_Right: the elevator trim wheel,
// one on each side; it turns through three pictures as the trim moves, and
// its upper and lower halves send the trim events, repeating while held.
// Reads: token 783, elevator trim in radians.
// Sends: 65607 (upper half) and 65615 (lower half), from the rectangles.
#include <cmath>

#include "frame/declare.h"

extern GaugeHeader Pitch_Trim_Wheel_Left_Header;
extern GaugeHeader Pitch_Trim_Wheel_Right_Header;

namespace {
constexpr std::int32_t kElevatorTrim = 783;
constexpr std::int32_t kEventTrimUpperHalf = 65607;
constexpr std::int32_t kEventTrimLowerHalf = 65615;
constexpr std::int32_t kHelpTrim = 43859;
// The wheel repeats every 0.6 degree of trim, 0.2 degree a picture; the
// offset (65.66 degrees) keeps the argument positive over the trim range.
constexpr double kTrimOffset = 1.1459155902616465;
constexpr double kWheelPeriod = 0.010471975511965978;
constexpr double kPictureStep = 0.003490658503988659;
}  // namespace

double FSAPI trim_wheel_frame(IconElement *e) {
  return std::fmod(e->source_var.var_value.n + kTrimOffset, kWheelPeriod) / kPictureStep;
}

namespace {
struct WheelSide {
  GaugeHeader *self;
  std::int32_t background, wheel;  // bitmaps
};
constexpr WheelSide kSides[] = {{&Pitch_Trim_Wheel_Left_Header, 4270, 4280},
                                {&Pitch_Trim_Wheel_Right_Header, 4290, 4300}};
enum : int { kLeft, kRight };

template <int S>
struct TrimWheel {
  static constexpr const WheelSide &side = kSides[S];
  static StaticImageElement background;
  static IconElement wheel;
  static GaugeElement *background_next[], *elements[];
  static MouseRect mouse[];
};

template <int S>
StaticImageElement TrimWheel<S>::background = static_image(
    {.bitmap = side.background, .flags = 0x3, .next = background_next, .gauge = side.self});
template <int S>
IconElement TrimWheel<S>::wheel = icon({.bitmap = side.wheel,
                                        .flags = 0x3,
                                        .gauge = side.self,
                                        .token = kElevatorTrim,
                                        .callback = trim_wheel_frame,
                                        .images = 3});
template <int S>
GaugeElement *TrimWheel<S>::background_next[] = {el(wheel), nullptr};
template <int S>
GaugeElement *TrimWheel<S>::elements[] = {el(background), nullptr};

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

template <int S>
MouseRect TrimWheel<S>::mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpTrim),
    mouse_event({0, 0, 56, 174}, kCursorUpArrow, kLeftRepeat, kEventTrimUpperHalf),
    mouse_event({0, 174, 56, 174}, kCursorDownArrow, kLeftRepeat, kEventTrimLowerHalf),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Pitch_Trim_Wheel_Left_Header = gauge_header({.name = "Pitch_Trim_Wheel_Left",
                                                         .elements = TrimWheel<kLeft>::elements,
                                                         .size_mm = 40,
                                                         .mouse = TrimWheel<kLeft>::mouse});
GaugeHeader Pitch_Trim_Wheel_Right_Header = gauge_header({.name = "Pitch_Trim_Wheel_Right",
                                                          .elements = TrimWheel<kRight>::elements,
                                                          .size_mm = 40,
                                                          .mouse = TrimWheel<kRight>::mouse});
