// Hydr_Press_Indicator: hydraulic pressure dial in thousands of psi, with
// arcs for system 1 (HYD.1, upper left), system 2 (HYD.2, upper right) and
// the mean of both (SYSTEM, bottom).
// Reads: kVarHydraulic1Pressure / kVarHydraulic2Pressure in pounds per
// square foot (144000 = 1000 psi).
// Sends: no key events.
#include "frame/declare.h"
#include "frame/services.h"

extern GaugeHeader Hydr_Press_Indicator_Header;

namespace {
constexpr std::int32_t kHelpHydraulics = 42011;
constexpr GaugeHeader *kSelf = &Hydr_Press_Indicator_Header;
}  // namespace

double FSAPI hydraulic_system_pressure(NeedleElement *) {
  double system1 = read_var(kVarHydraulic1Pressure);
  double system2 = read_var(kVarHydraulic2Pressure);
  return (system1 + system2) / 2.0;
}

namespace {
// Each arc rests on its stop below 0 and from 5000 psi (720000) up.
NonlinearityEntry system_table[] = {
    table_point(864000, 140, 151), table_point(720000, 140, 151), table_point(432000, 110, 157),
    table_point(288000, 93, 159),  table_point(144000, 77, 156),  table_point(0, 63, 150),
    table_point(-1, 63, 150),
};
NonlinearityEntry hyd2_table[] = {
    table_point(864000, 123, 42), table_point(720000, 123, 42), table_point(432000, 145, 67),
    table_point(288000, 153, 83), table_point(144000, 158, 98), table_point(0, 161, 113),
    table_point(-1, 161, 113),
};
NonlinearityEntry hyd1_table[] = {
    table_point(-1, 39, 113),    table_point(0, 39, 113),     table_point(144000, 42, 98),
    table_point(288000, 47, 82), table_point(432000, 57, 67), table_point(720000, 77, 43),
    table_point(864000, 77, 43),
};

constexpr NeedleElement pressure_needle(PixPoint pivot, std::int32_t token, NeedleCallback cb,
                                        TableRef t) {
  return pointer({.bitmap = 4240,
                  .pos = pivot,
                  .gauge = kSelf,
                  .pivot = {0, 2},
                  .token = token,
                  .callback = cb,
                  .table = t});
}

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 4230, .flags = kImageLit, .gauge = kSelf});
  NeedleElement system_needle =
      pressure_needle({100, 72}, 0, hydraulic_system_pressure, table(system_table));
  NeedleElement hyd2_needle =
      pressure_needle({72, 116}, kVarHydraulic2Pressure, nullptr, table(hyd2_table));
  NeedleElement hyd1_needle =
      pressure_needle({128, 116}, kVarHydraulic1Pressure, nullptr, table(hyd1_table));
  IconElement hub = icon({.bitmap = 4250, .pos = {50, 50}, .flags = kImageLit, .gauge = kSelf});
  StaticImageElement glass = static_image({.bitmap = 4260, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::system_needle, &Parts::hyd2_needle,
                    &Parts::hyd1_needle, &Parts::hub, &Parts::glass>
    tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpHydraulics), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Hydr_Press_Indicator_Header = gauge_header<&Hydr_Press_Indicator_Header>(
    {.name = "Hydr_Press_Indicator", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
