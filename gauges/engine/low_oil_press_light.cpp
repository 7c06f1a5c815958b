// Low_Oil_Press_Light: lamp lit while an engine's oil pressure is at or below
// 25 psi; placed once per engine with the engine digit as parameter.
// Reads: kVarEngine1OilPressure in pounds per square foot (the gauge
// callback moves it to engine n).
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader Low_Oil_Press_Light_Header;

namespace {
constexpr double kLowOilPressure = 3600.0;  // 25 psi
constexpr std::int32_t kHelpLowOil = 12337;
constexpr GaugeHeader *kSelf = &Low_Oil_Press_Light_Header;
}  // namespace

// Image 1 (lit) at or below the limit, image 0 above it.
double FSAPI low_oil_pressure_lamp(IconElement *e) {
  return e->source_var.var_value.n <= kLowOilPressure ? 1.0 : 0.0;
}

namespace {
struct Parts {
  StaticImageElement dark = static_image({.bitmap = 1480, .flags = kImageStandard, .gauge = kSelf});
  IconElement lamp = icon({.bitmap = 1480,
                           .flags = kImageBright,
                           .gauge = kSelf,
                           .token = kVarEngine1OilPressure,
                           .callback = low_oil_pressure_lamp,
                           .images = 2});
};
constinit DrawOrder<Parts, &Parts::dark, &Parts::lamp> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_tooltip(kHelpLowOil), mouse_end_parent(),
                     mouse_end()};
}  // namespace

GaugeHeader Low_Oil_Press_Light_Header = gauge_header<&Low_Oil_Press_Light_Header>({.name = "Low_Oil_Press_Light",
                                                       .elements = tree.elements,
                                                       .size_mm = 30,
                                                       .mouse = mouse,
                                                       .callback = engine_gauge_callback});
