// EGT_Oil_Indicator: three needles on one dial for one engine, oil pressure
// at the right, oil temperature at the left, exhaust gas temperature at the
// bottom; placed once per engine with the engine digit as parameter.
// Reads (engine 1; engine n adds 10 (n - 1)): token 562, oil pressure in
// pounds per square foot (14400 = 100 psi); token 561, oil temperature, and
// token 567, exhaust gas temperature, both in degrees Rankine.
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader EGT_Oil_Indicator_Header;

namespace {
constexpr std::int32_t kOilTemperature = 561;
constexpr std::int32_t kOilPressure = 562;
constexpr std::int32_t kExhaustGasTemperature = 567;
constexpr std::int32_t kHelpEgtOil = 43805;
constexpr GaugeHeader *kSelf = &EGT_Oil_Indicator_Header;

extern GaugeElement *dial_next[];
extern GaugeElement *pressure_next[];
extern GaugeElement *oil_temperature_next[];
extern GaugeElement *egt_next[];

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

StaticImageElement dial =
    static_image({.bitmap = 2400, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
NeedleElement pressure_needle = needle({.bitmap = 2420,
                                        .pos = {250, 162},
                                        .flags = 0x4083,
                                        .next = pressure_next,
                                        .gauge = kSelf,
                                        .pivot = {1, 4},
                                        .token = kOilPressure,
                                        .table = table(pressure_table)});
NeedleElement oil_temperature_needle = needle({.bitmap = 2420,
                                               .pos = {50, 162},
                                               .flags = 0x4083,
                                               .next = oil_temperature_next,
                                               .gauge = kSelf,
                                               .pivot = {1, 4},
                                               .token = kOilTemperature,
                                               .table = table(oil_temperature_table)});
NeedleElement egt_needle = needle({.bitmap = 2410,
                                   .pos = {150, 233},
                                   .flags = 0x4083,
                                   .next = egt_next,
                                   .gauge = kSelf,
                                   .pivot = {0, 4},
                                   .token = kExhaustGasTemperature,
                                   .table = table(egt_table)});
StaticImageElement glass = static_image({.bitmap = 2430, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(pressure_needle), nullptr};
GaugeElement *pressure_next[] = {el(oil_temperature_needle), nullptr};
GaugeElement *oil_temperature_next[] = {el(egt_needle), nullptr};
GaugeElement *egt_next[] = {el(glass), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpEgtOil), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader EGT_Oil_Indicator_Header = gauge_header({.name = "EGT_Oil_Indicator",
                                                     .elements = elements,
                                                     .size_mm = 100,
                                                     .mouse = mouse,
                                                     .callback = engine_gauge_callback});
