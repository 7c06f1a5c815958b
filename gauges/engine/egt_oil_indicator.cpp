// EGT_Oil_Indicator: three needles on one dial for one engine, oil pressure
// at the right, oil temperature at the left, exhaust gas temperature at the
// bottom; placed once per engine with the engine digit as parameter.
// Reads (engine 1; the gauge callback moves them to engine n):
// kVarEngine1OilPressure in pounds per square foot (14400 = 100 psi);
// kVarEngine1OilTemperature and kVarEngine1Egt, both in degrees Rankine.
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader EGT_Oil_Indicator_Header;

namespace {
constexpr std::int32_t kHelpEgtOil = 43805;
constexpr GaugeHeader *kSelf = &EGT_Oil_Indicator_Header;

// Repeated points hold a needle at its stop: pressure from 80 psi (11520) up,
// oil temperature above 120 and below 0 degrees Celsius, EGT below 0 and
// above 700 degrees Celsius.
NonlinearityEntry pressure_table[] = {
    table_point(0, 236, 231),     table_point(2880, 214, 223),  table_point(8640, 179, 162),
    table_point(11520, 183, 138), table_point(14400, 183, 138),
};
NonlinearityEntry oil_temperature_table[] = {
    table_point(761.67, 111, 132), table_point(707.67, 111, 132), table_point(635.67, 118, 162),
    table_point(527.67, 84, 223),  table_point(491.67, 66, 229),  table_point(489.87, 66, 229),
};
NonlinearityEntry egt_table[] = {
    table_point(489.87, 32, 102),   table_point(491.67, 32, 102),   table_point(1121.67, 150, 56),
    table_point(1751.67, 268, 102), table_point(2291.67, 268, 102),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 2400, .flags = kImageLit, .gauge = kSelf});
  NeedleElement pressure_needle = pointer({.bitmap = 2420,
                                           .pos = {250, 162},
                                           .gauge = kSelf,
                                           .pivot = {1, 4},
                                           .token = kVarEngine1OilPressure,
                                           .table = table(pressure_table)});
  NeedleElement oil_temperature_needle = pointer({.bitmap = 2420,
                                                  .pos = {50, 162},
                                                  .gauge = kSelf,
                                                  .pivot = {1, 4},
                                                  .token = kVarEngine1OilTemperature,
                                                  .table = table(oil_temperature_table)});
  NeedleElement egt_needle = pointer({.bitmap = 2410,
                                      .pos = {150, 233},
                                      .gauge = kSelf,
                                      .pivot = {0, 4},
                                      .token = kVarEngine1Egt,
                                      .table = table(egt_table)});
  StaticImageElement glass = static_image({.bitmap = 2430, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::pressure_needle, &Parts::oil_temperature_needle,
                    &Parts::egt_needle, &Parts::glass>
    tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpEgtOil), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader EGT_Oil_Indicator_Header = gauge_header<&EGT_Oil_Indicator_Header>({.name = "EGT_Oil_Indicator",
                                                     .elements = tree.elements,
                                                     .size_mm = 100,
                                                     .mouse = mouse,
                                                     .callback = engine_gauge_callback});
