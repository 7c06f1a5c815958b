// Fuel_Temp: one dial, two arcs, the fuel temperature of each engine from
// -30 to +60 degrees Celsius. The reading is modelled: the outside
// temperature pulled 90 % of the way to 15 degrees, plus 5 % of the engine's
// oil temperature in degrees Celsius.
// Reads: kVarFuelTemperature in degrees Celsius (both needles' own
// variable); kVarEngine1OilTemperature / kVarEngine2OilTemperature in degrees
// Rankine.
// Sends: no key events.
#include "frame/declare.h"
#include "frame/services.h"

extern GaugeHeader Fuel_Temp_Header;

namespace {
constexpr double kFuelBase = 15.0;  // degrees Celsius the fuel settles towards
constexpr GaugeHeader *kSelf = &Fuel_Temp_Header;

double celsius_from_rankine(double rankine) {
  return (rankine - 459.67 - 32.0) * 0.5555555555555556;
}

template <std::int32_t OilToken>
double FSAPI fuel_temp_needle(NeedleElement *e) {
  double t = e->source_var.var_value.n;
  double oil = read_var(OilToken);
  return (t - kFuelBase) * 0.1 + kFuelBase + celsius_from_rankine(oil) * 0.05;
}

// The right arc reads upwards on the left side of its pivot, the left arc on
// the right side of its own.
NonlinearityEntry right_table[] = {
    table_point(-40, 178, 225), table_point(-30, 178, 225), table_point(-20, 173, 216),
    table_point(-10, 168, 200), table_point(0, 161, 175),   table_point(10, 160, 150),
    table_point(20, 164, 126),  table_point(30, 166, 106),  table_point(40, 175, 89),
    table_point(50, 180, 78),   table_point(60, 186, 69),   table_point(70, 186, 69),
};
NonlinearityEntry left_table[] = {
    table_point(70, 114, 71),   table_point(60, 114, 71),   table_point(50, 120, 80),
    table_point(40, 125, 91),   table_point(30, 132, 108),  table_point(20, 139, 126),
    table_point(10, 141, 150),  table_point(0, 137, 174),   table_point(-10, 133, 200),
    table_point(-20, 126, 213), table_point(-30, 123, 225), table_point(-40, 123, 225),
};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 2370, .flags = kImageLit, .gauge = kSelf});
  NeedleElement right_needle = pointer({.bitmap = 2380,
                                        .pos = {240, 150},
                                        .gauge = kSelf,
                                        .pivot = {0, 4},
                                        .token = kVarFuelTemperature,
                                        .callback = fuel_temp_needle<kVarEngine2OilTemperature>,
                                        .table = table(right_table)});
  NeedleElement left_needle = pointer({.bitmap = 2380,
                                       .pos = {60, 150},
                                       .gauge = kSelf,
                                       .pivot = {0, 4},
                                       .token = kVarFuelTemperature,
                                       .callback = fuel_temp_needle<kVarEngine1OilTemperature>,
                                       .table = table(left_table)});
  StaticImageElement glass = static_image({.bitmap = 2390, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::right_needle, &Parts::left_needle, &Parts::glass>
    tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Fuel_Temp_Header =
    gauge_header<&Fuel_Temp_Header>({.name = "Fuel_Temp", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
