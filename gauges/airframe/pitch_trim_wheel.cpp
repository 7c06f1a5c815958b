// Pitch_Trim_Wheel_Left / Pitch_Trim_Wheel_Right: the elevator trim wheel,
// one on each side; it turns through three pictures as the trim moves, and
// its upper and lower halves send the trim events, repeating while held.
// Reads: kVarElevatorTrim in radians.
// Sends: kEventElevatorTrimDown (upper half) and kEventElevatorTrimUp (lower
// half), from the rectangles.
#include <cmath>

#include "frame/declare.h"
#include "frame/numeric.h"

extern GaugeHeader Pitch_Trim_Wheel_Left_Header;
extern GaugeHeader Pitch_Trim_Wheel_Right_Header;

namespace {
constexpr std::int32_t kHelpTrim = 43859;
// The wheel repeats every 0.6 degree of trim, 0.2 degree a picture; the
// offset (65.66 degrees) keeps the argument positive over the trim range.
constexpr double kTrimOffset = 1.1459155902616465;
constexpr double kWheelPeriod = 0.010471975511965978;
constexpr double kPictureStep = 0.003490658503988659;
}  // namespace

double FSAPI trim_wheel_frame(IconElement *e) {
  return wrapped(e->source_var.var_value.n + kTrimOffset, kWheelPeriod) / kPictureStep;
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
  static MouseRect mouse[];
  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = side.background, .flags = kImageStandard, .gauge = side.self});
    IconElement wheel = icon({.bitmap = side.wheel,
                              .flags = kImageStandard,
                              .gauge = side.self,
                              .token = kVarElevatorTrim,
                              .callback = trim_wheel_frame,
                              .images = 3});
  };
  static constinit inline DrawOrder<Parts, &Parts::background, &Parts::wheel> tree{};
};

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

template <int S>
MouseRect TrimWheel<S>::mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpTrim),
    mouse_event({0, 0, 56, 174}, kCursorUpArrow, kLeftRepeat, kEventElevatorTrimDown),
    mouse_event({0, 174, 56, 174}, kCursorDownArrow, kLeftRepeat, kEventElevatorTrimUp),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Pitch_Trim_Wheel_Left_Header = gauge_header<&Pitch_Trim_Wheel_Left_Header>({.name = "Pitch_Trim_Wheel_Left",
                                                         .elements = TrimWheel<kLeft>::tree.elements,
                                                         .size_mm = 40,
                                                         .mouse = TrimWheel<kLeft>::mouse});
GaugeHeader Pitch_Trim_Wheel_Right_Header = gauge_header<&Pitch_Trim_Wheel_Right_Header>({.name = "Pitch_Trim_Wheel_Right",
                                                          .elements = TrimWheel<kRight>::tree.elements,
                                                          .size_mm = 40,
                                                          .mouse = TrimWheel<kRight>::mouse});
