// Annunciator: the warning-legend panel. Eight of its legends light from
// host variables: doors, both generators, hydraulic low pressure, both fuel
// low pressures and both engine fires. The other legends printed on the
// panel (fuel filter, hydraulic power, discharge, cabin temperature,
// pressurisation, windshield, test buttons) have no lamp and never light.
// Reads: kVarDoor1Open and kVarDoor2Open; kVarGenerator2Online and
// kVarGenerator1Online, the right and left generators; kVarHydraulic1Pressure
// and kVarHydraulic2Pressure; kVarEngine2FuelPressure and
// kVarEngine1FuelPressure, right and left; kVarEngine2Fire and
// kVarEngine1Fire, right and left (1 = fire).
// Sends no key events; no module-wide variables.
#include "frame/declare.h"
#include "frame/services.h"

extern GaugeHeader Annunciator_Header;

namespace {
constexpr double kHydraulicLow = 14400.0;
constexpr double kFuelLow = 418.0;
constexpr GaugeHeader *kSelf = &Annunciator_Header;

constexpr double kLit = 0.0;
constexpr double kDark = -1.0;
constexpr double lamp(bool lit) { return lit ? kLit : kDark; }
double reading(const IconElement *e) { return e->source_var.var_value.n; }

double FSAPI doors_open(IconElement *e) {
  return lamp(reading(e) > 0.0 || read_var(kVarDoor2Open) > 0.0);
}
double FSAPI generator_off(IconElement *e) { return lamp(reading(e) == 0.0); }
double FSAPI hydraulic_low(IconElement *e) {
  return lamp(reading(e) < kHydraulicLow || read_var(kVarHydraulic2Pressure) < kHydraulicLow);
}
double FSAPI fuel_pressure_low(IconElement *e) { return lamp(reading(e) < kFuelLow); }
// The fire indication is 1 for a fire: one less is the lit image, 0 less one
// draws nothing.
double FSAPI engine_fire(IconElement *e) { return reading(e) - 1.0; }

// A legend lamp at its place on the panel.
constexpr IconElement legend(std::int32_t bitmap, PixPoint pos, std::int32_t token,
                             IconCallback lit) {
  return icon({.bitmap = bitmap,
               .pos = pos,
               .flags = kImageBright,
               .gauge = kSelf,
               .token = token,
               .callback = lit});
}

struct Parts {
  StaticImageElement panel = static_image({.bitmap = 6100, .flags = kImageStandard, .gauge = kSelf});
  IconElement doors = legend(6220, {281, 74}, kVarDoor1Open, doors_open);
  IconElement generator_right = legend(6200, {347, 74}, kVarGenerator2Online, generator_off);
  IconElement generator_left = legend(6200, {15, 74}, kVarGenerator1Online, generator_off);
  IconElement hydraulic = legend(6140, {115, 6}, kVarHydraulic1Pressure, hydraulic_low);
  IconElement fuel_right = legend(6120, {313, 6}, kVarEngine2FuelPressure, fuel_pressure_low);
  IconElement fuel_left = legend(6120, {49, 6}, kVarEngine1FuelPressure, fuel_pressure_low);
  IconElement fire_right = legend(6110, {378, 7}, kVarEngine2Fire, engine_fire);
  IconElement fire_left = legend(6110, {14, 5}, kVarEngine1Fire, engine_fire);
};
constinit DrawOrder<Parts, &Parts::panel, &Parts::doors, &Parts::generator_right,
                    &Parts::generator_left, &Parts::hydraulic, &Parts::fuel_right,
                    &Parts::fuel_left, &Parts::fire_right, &Parts::fire_left>
    tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Annunciator_Header =
    gauge_header<&Annunciator_Header>({.name = "Annunciator", .elements = tree.elements, .size_mm = 30, .mouse = mouse});
