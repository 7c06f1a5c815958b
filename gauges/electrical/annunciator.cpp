// Annunciator: the warning-legend panel. Eight of its legends light from
// host variables: doors, both generators, hydraulic low pressure, both fuel
// low pressures and both engine fires. The other legends printed on the
// panel (fuel filter, hydraulic power, discharge, cabin temperature,
// pressurisation, windshield, test buttons) have no lamp and never light.
// Reads: 868 and 869 the two door states; 576 and 566 the right and left
// generator states; 732 and 734 the two hydraulic system pressures; 900 and
// 899 the right and left fuel pressures; 888 and 887 the right and left
// engine fire indications (1 = fire).
// Sends no key events; no module-wide variables.
#include "frame/declare.h"
#include "frame/services.h"

extern GaugeHeader Annunciator_Header;

namespace {
constexpr std::int32_t kDoor1 = 868;
constexpr std::int32_t kDoor2 = 869;
constexpr std::int32_t kGeneratorRight = 576;
constexpr std::int32_t kGeneratorLeft = 566;
constexpr std::int32_t kHydraulicPressure1 = 732;
constexpr std::int32_t kHydraulicPressure2 = 734;
constexpr std::int32_t kFuelPressureRight = 900;
constexpr std::int32_t kFuelPressureLeft = 899;
constexpr std::int32_t kFireRight = 888;
constexpr std::int32_t kFireLeft = 887;
constexpr double kHydraulicLow = 14400.0;
constexpr double kFuelLow = 418.0;
constexpr GaugeHeader *kSelf = &Annunciator_Header;

constexpr double kLit = 0.0;
constexpr double kDark = -1.0;
constexpr double lamp(bool lit) { return lit ? kLit : kDark; }
double reading(const IconElement *e) { return e->source_var.var_value.n; }

double FSAPI doors_open(IconElement *e) {
  return lamp(reading(e) > 0.0 || read_var(kDoor2) > 0.0);
}
double FSAPI generator_off(IconElement *e) { return lamp(reading(e) == 0.0); }
double FSAPI hydraulic_low(IconElement *e) {
  return lamp(reading(e) < kHydraulicLow || read_var(kHydraulicPressure2) < kHydraulicLow);
}
double FSAPI fuel_pressure_low(IconElement *e) { return lamp(reading(e) < kFuelLow); }
// The fire indication is 1 for a fire: one less is the lit image, 0 less one
// draws nothing.
double FSAPI engine_fire(IconElement *e) { return reading(e) - 1.0; }

extern GaugeElement *panel_next[];
extern GaugeElement *doors_next[];
extern GaugeElement *generator_right_next[];
extern GaugeElement *generator_left_next[];
extern GaugeElement *hydraulic_next[];
extern GaugeElement *fuel_right_next[];
extern GaugeElement *fuel_left_next[];
extern GaugeElement *fire_right_next[];

// A legend lamp at its place on the panel.
constexpr IconElement legend(std::int32_t bitmap, PixPoint pos, std::int32_t token,
                             IconCallback lit, GaugeElement **next) {
  return icon({.bitmap = bitmap,
               .pos = pos,
               .flags = 0x7,
               .next = next,
               .gauge = kSelf,
               .token = token,
               .callback = lit});
}

StaticImageElement panel =
    static_image({.bitmap = 6100, .flags = 0x3, .next = panel_next, .gauge = kSelf});
IconElement doors = legend(6220, {281, 74}, kDoor1, doors_open, doors_next);
IconElement generator_right =
    legend(6200, {347, 74}, kGeneratorRight, generator_off, generator_right_next);
IconElement generator_left =
    legend(6200, {15, 74}, kGeneratorLeft, generator_off, generator_left_next);
IconElement hydraulic =
    legend(6140, {115, 6}, kHydraulicPressure1, hydraulic_low, hydraulic_next);
IconElement fuel_right =
    legend(6120, {313, 6}, kFuelPressureRight, fuel_pressure_low, fuel_right_next);
IconElement fuel_left =
    legend(6120, {49, 6}, kFuelPressureLeft, fuel_pressure_low, fuel_left_next);
IconElement fire_right = legend(6110, {378, 7}, kFireRight, engine_fire, fire_right_next);
IconElement fire_left = legend(6110, {14, 5}, kFireLeft, engine_fire, nullptr);

GaugeElement *panel_next[] = {el(doors), nullptr};
GaugeElement *doors_next[] = {el(generator_right), nullptr};
GaugeElement *generator_right_next[] = {el(generator_left), nullptr};
GaugeElement *generator_left_next[] = {el(hydraulic), nullptr};
GaugeElement *hydraulic_next[] = {el(fuel_right), nullptr};
GaugeElement *fuel_right_next[] = {el(fuel_left), nullptr};
GaugeElement *fuel_left_next[] = {el(fire_right), nullptr};
GaugeElement *fire_right_next[] = {el(fire_left), nullptr};
GaugeElement *elements[] = {el(panel), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Annunciator_Header =
    gauge_header({.name = "Annunciator", .elements = elements, .size_mm = 30, .mouse = mouse});
