// Fuel_Qty_Left / Fuel_Qty_Right: tank contents of one side on a dial marked
// 0 to 24, the needle smoothed so it settles instead of jumping; after
// loading it rises from empty.
// Reads: kVarFuelLeftQuantity / kVarFuelRightQuantity, 8388608 = full.
// Sends: no key events.
// Gauge-kind statics: Fuel_Qty_Smoothed_Left, Fuel_Qty_Smoothed_Right.
#include <cmath>

#include "frame/declare.h"

extern GaugeHeader Fuel_Qty_Left_Header;
extern GaugeHeader Fuel_Qty_Right_Header;

namespace {
double Fuel_Qty_Smoothed_Left = 0.0;
double Fuel_Qty_Smoothed_Right = 0.0;

// One step of the filter; a reading that is not a number leaves it where it
// was.
double smooth(double &q, double keep, double take, double value) {
  if (std::isfinite(value)) q = keep * q + take * value;
  return q;
}
}  // namespace

// The left filter keeps e^(-1/3) of the gap per update, the right one 0.75.
double FSAPI fuel_qty_filter_left(NeedleElement *e) {
  return smooth(Fuel_Qty_Smoothed_Left, 0.7165313105737893, 0.28346868942621073,
                e->source_var.var_value.n);
}
double FSAPI fuel_qty_filter_right(NeedleElement *e) {
  return smooth(Fuel_Qty_Smoothed_Right, 0.75, 0.25, e->source_var.var_value.n);
}

namespace {
struct QuantitySide {
  GaugeHeader *self;
  std::int32_t tank;  // token
  NeedleCallback filter;
  std::int32_t help, tooltip;
};
constexpr QuantitySide kSides[] = {
    {&Fuel_Qty_Left_Header, kVarFuelLeftQuantity, fuel_qty_filter_left, 43817, 12562},
    {&Fuel_Qty_Right_Header, kVarFuelRightQuantity, fuel_qty_filter_right, 43818, 12563},
};
enum : int { kLeft, kRight };

NonlinearityEntry quantity_table[] = {
    table_point(-1, 59, 229),
    table_point(0, 44, 212),
    table_point(4194305, 125, 33),
    table_point(8388610, 274, 166),
};

template <int S>
struct QuantityDial {
  static constexpr const QuantitySide &side = kSides[S];
  static MouseRect mouse[];
  struct Parts {
    StaticImageElement dial = static_image({.bitmap = 220, .flags = kImageLit, .gauge = side.self});
    NeedleElement quantity = pointer({.bitmap = 230,
                                      .pos = {150, 150},
                                      .gauge = side.self,
                                      .pivot = {0, 4},
                                      .token = side.tank,
                                      .callback = side.filter,
                                      .table = table(quantity_table)});
    // Always its one image: no variable, no callback.
    IconElement hub = icon({.bitmap = 240, .pos = {100, 100}, .flags = kImageLit, .gauge = side.self});
    StaticImageElement glass =
        static_image({.bitmap = 250, .flags = kImageStandard, .gauge = side.self});
  };
  static constinit inline DrawOrder<Parts, &Parts::dial, &Parts::quantity, &Parts::hub,
                                    &Parts::glass>
      tree{};
};

template <int S>
MouseRect QuantityDial<S>::mouse[] = {mouse_parent({0, 0, 0, 0}, side.help),
                                      mouse_tooltip(side.tooltip), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Fuel_Qty_Left_Header = gauge_header<&Fuel_Qty_Left_Header>({.name = "Fuel_Qty_Left",
                                                 .elements = QuantityDial<kLeft>::tree.elements,
                                                 .size_mm = 100,
                                                 .mouse = QuantityDial<kLeft>::mouse});
GaugeHeader Fuel_Qty_Right_Header = gauge_header<&Fuel_Qty_Right_Header>({.name = "Fuel_Qty_Right",
                                                  .elements = QuantityDial<kRight>::tree.elements,
                                                  .size_mm = 100,
                                                  .mouse = QuantityDial<kRight>::mouse});
