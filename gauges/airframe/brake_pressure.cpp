// Brake_Pressure: brake pressure of each side, from 80 % of its hydraulic
// system's pressure with the brake released to 100 % at full brake.
// Reads: kVarBrakeLeft / kVarBrakeRight (0 to 32768); kVarHydraulic1Pressure /
// kVarHydraulic2Pressure in pounds per square foot.
// Sends: no key events.
#include "frame/declare.h"
#include "frame/services.h"

extern GaugeHeader Brake_Pressure_Header;

namespace {
constexpr double kFullBrake = 32768.0;
constexpr GaugeHeader *kSelf = &Brake_Pressure_Header;

double brake_pressure(std::int32_t brake_token, double hydraulic_pressure) {
  return (0.2 * read_var(brake_token) / kFullBrake + 0.8) * hydraulic_pressure;
}
}  // namespace

double FSAPI brake_pressure_left(NeedleElement *e) {
  return brake_pressure(kVarBrakeLeft, e->source_var.var_value.n);
}
double FSAPI brake_pressure_right(NeedleElement *e) {
  return brake_pressure(kVarBrakeRight, e->source_var.var_value.n);
}

namespace {
NonlinearityEntry right_table[] = {
    table_point(-1, 118, 146),     table_point(0, 118, 146),     table_point(144000, 113, 131),
    table_point(288000, 110, 111), table_point(432000, 110, 85), table_point(576000, 117, 65),
    table_point(720000, 123, 50),  table_point(864000, 123, 50),
};
NonlinearityEntry left_table[] = {
    table_point(864000, 77, 54), table_point(720000, 77, 54),  table_point(576000, 84, 65),
    table_point(432000, 87, 86), table_point(288000, 86, 109), table_point(144000, 81, 129),
    table_point(0, 75, 142),     table_point(-1, 75, 142),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 3470, .flags = kImageLit, .gauge = kSelf});
  NeedleElement right_needle = pointer({.bitmap = 3480,
                                        .pos = {168, 98},
                                        .gauge = kSelf,
                                        .pivot = {0, 2},
                                        .token = kVarHydraulic2Pressure,
                                        .callback = brake_pressure_right,
                                        .table = table(right_table)});
  NeedleElement left_needle = pointer({.bitmap = 3480,
                                       .pos = {32, 98},
                                       .gauge = kSelf,
                                       .pivot = {0, 2},
                                       .token = kVarHydraulic1Pressure,
                                       .callback = brake_pressure_left,
                                       .table = table(left_table)});
  StaticImageElement glass = static_image({.bitmap = 3490, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::right_needle, &Parts::left_needle, &Parts::glass>
    tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Brake_Pressure_Header =
    gauge_header<&Brake_Pressure_Header>({.name = "Brake_Pressure", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
