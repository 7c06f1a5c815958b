// Fuel_Qty_Left / Fuel_Qty_Right: tank contents of one side on a dial marked
// 0 to 24, the needle smoothed so it settles instead of jumping; after
// loading it rises from empty.
// Reads: token 291 (left) / 297 (right), tank quantity, 8388608 = full.
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
    {&Fuel_Qty_Left_Header, 291, fuel_qty_filter_left, 43817, 12562},
    {&Fuel_Qty_Right_Header, 297, fuel_qty_filter_right, 43818, 12563},
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
  static StaticImageElement dial, glass;
  static NeedleElement quantity;
  static IconElement hub;
  static GaugeElement *dial_next[], *quantity_next[], *hub_next[], *elements[];
  static MouseRect mouse[];
};

template <int S>
StaticImageElement QuantityDial<S>::dial =
    static_image({.bitmap = 220, .flags = 0x4003, .next = dial_next, .gauge = side.self});
template <int S>
NeedleElement QuantityDial<S>::quantity = needle({.bitmap = 230,
                                                  .pos = {150, 150},
                                                  .flags = 0x4083,
                                                  .next = quantity_next,
                                                  .gauge = side.self,
                                                  .pivot = {0, 4},
                                                  .token = side.tank,
                                                  .callback = side.filter,
                                                  .table = table(quantity_table)});
// Always its one image: no variable, no callback.
template <int S>
IconElement QuantityDial<S>::hub =
    icon({.bitmap = 240, .pos = {100, 100}, .flags = 0x4003, .next = hub_next, .gauge = side.self});
template <int S>
StaticImageElement QuantityDial<S>::glass =
    static_image({.bitmap = 250, .flags = 0x3, .gauge = side.self});

template <int S>
GaugeElement *QuantityDial<S>::dial_next[] = {el(quantity), nullptr};
template <int S>
GaugeElement *QuantityDial<S>::quantity_next[] = {el(hub), nullptr};
template <int S>
GaugeElement *QuantityDial<S>::hub_next[] = {el(glass), nullptr};
template <int S>
GaugeElement *QuantityDial<S>::elements[] = {el(dial), nullptr};

template <int S>
MouseRect QuantityDial<S>::mouse[] = {mouse_parent({0, 0, 0, 0}, side.help),
                                      mouse_tooltip(side.tooltip), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Fuel_Qty_Left_Header = gauge_header({.name = "Fuel_Qty_Left",
                                                 .elements = QuantityDial<kLeft>::elements,
                                                 .size_mm = 100,
                                                 .mouse = QuantityDial<kLeft>::mouse});
GaugeHeader Fuel_Qty_Right_Header = gauge_header({.name = "Fuel_Qty_Right",
                                                  .elements = QuantityDial<kRight>::elements,
                                                  .size_mm = 100,
                                                  .mouse = QuantityDial<kRight>::mouse});
