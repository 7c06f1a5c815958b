// Low_Fuel_Lamp_Left / Low_Fuel_Lamp_Right: lamp lit while a tank holds at
// most about 9.2 % of its capacity.
// Reads: kVarFuelLeftQuantity / kVarFuelRightQuantity, 8388608 = full.
// Sends: no key events.
#include "frame/declare.h"

extern GaugeHeader Low_Fuel_Lamp_Left_Header;
extern GaugeHeader Low_Fuel_Lamp_Right_Header;

namespace {
constexpr double kLowFuel = 772787.0;
constexpr std::int32_t kHelpLowFuel = 43819;
}  // namespace

// Image 1 (lit) at or below the limit, image 0 above it; both lamps.
double FSAPI low_fuel_lamp(IconElement *e) {
  return e->source_var.var_value.n <= kLowFuel ? 1.0 : 0.0;
}

namespace {
struct LampSide {
  GaugeHeader *self;
  std::int32_t tank;  // token
};
constexpr LampSide kSides[] = {{&Low_Fuel_Lamp_Left_Header, kVarFuelLeftQuantity},
                               {&Low_Fuel_Lamp_Right_Header, kVarFuelRightQuantity}};
enum : int { kLeft, kRight };

template <int S>
struct Lamp {
  static constexpr const LampSide &side = kSides[S];
  static MouseRect mouse[];
  struct Parts {
    StaticImageElement dark =
        static_image({.bitmap = 480, .flags = kImageStandard, .gauge = side.self});
    IconElement lamp = icon({.bitmap = 480,
                             .flags = kImageBright,
                             .gauge = side.self,
                             .token = side.tank,
                             .callback = low_fuel_lamp,
                             .images = 2});
  };
  static constinit inline DrawOrder<Parts, &Parts::dark, &Parts::lamp> tree{};
};

template <int S>
MouseRect Lamp<S>::mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpLowFuel), mouse_end_parent(),
                              mouse_end()};
}  // namespace

GaugeHeader Low_Fuel_Lamp_Left_Header = gauge_header<&Low_Fuel_Lamp_Left_Header>({.name = "Low_Fuel_Lamp_Left",
                                                      .elements = Lamp<kLeft>::tree.elements,
                                                      .size_mm = 20,
                                                      .mouse = Lamp<kLeft>::mouse});
GaugeHeader Low_Fuel_Lamp_Right_Header = gauge_header<&Low_Fuel_Lamp_Right_Header>({.name = "Low_Fuel_Lamp_Right",
                                                       .elements = Lamp<kRight>::tree.elements,
                                                       .size_mm = 20,
                                                       .mouse = Lamp<kRight>::mouse});
