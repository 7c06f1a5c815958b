// Fuel_Flow_Left / Fuel_Flow_Right: fuel flow of one engine, 0 to 700 pounds
// per hour, with a red index pointer that the pilot sets with the knob below
// the glass (10 lb/h a step).
// Reads: kVarEngine1FuelFlow (left) / kVarEngine2FuelFlow (right), in pounds
// per hour.
// Sends: no key events.
// Gauge-kind statics: Fuel_Flow_Index_Left, Fuel_Flow_Index_Right.
#include "frame/declare.h"

extern GaugeHeader Fuel_Flow_Left_Header;
extern GaugeHeader Fuel_Flow_Right_Header;

namespace {
constexpr double kIndexStep = 10.0;
constexpr double kIndexTop = 700.0;
constexpr std::int32_t kHelpFuelFlow = 43816;

double Fuel_Flow_Index_Left = 580.0;
double Fuel_Flow_Index_Right = 580.0;

struct FlowSide {
  GaugeHeader *self;
  std::int32_t flow;  // token
  double *index;
};
constexpr FlowSide kSides[] = {
    {&Fuel_Flow_Left_Header, kVarEngine1FuelFlow, &Fuel_Flow_Index_Left},
    {&Fuel_Flow_Right_Header, kVarEngine2FuelFlow, &Fuel_Flow_Index_Right},
};
enum : int { kLeft, kRight };

template <int S>
double FSAPI fuel_flow_index(NeedleElement *) {
  return *kSides[S].index;
}

// Each step is refused at the end of the scale, so the index stays on it.
template <int S>
std::int32_t FSAPI fuel_flow_index_down(MouseCallbackRecord *, std::uint32_t) {
  double &index = *kSides[S].index;
  if (index > 0.0) index -= kIndexStep;
  return 0;
}
template <int S>
std::int32_t FSAPI fuel_flow_index_up(MouseCallbackRecord *, std::uint32_t) {
  double &index = *kSides[S].index;
  if (index < kIndexTop) index += kIndexStep;
  return 0;
}

NonlinearityEntry flow_table[] = {
    table_point(0, 50, 215),
    table_point(350, 150, 34),
    table_point(700, 253, 216),
    table_point(800, 253, 216),
};
NonlinearityEntry knob_table[] = {table_point(0, 269, 251), table_point(100, 269, 289)};

template <int S>
struct FlowDial {
  static constexpr const FlowSide &side = kSides[S];
  static MouseRect mouse[];
  struct Parts {
    StaticImageElement dial = static_image({.bitmap = 1170, .flags = kImageLit, .gauge = side.self});
    NeedleElement index = pointer({.bitmap = 1200,
                                   .pos = {150, 150},
                                   .gauge = side.self,
                                   .pivot = {0, 6},
                                   .callback = fuel_flow_index<S>,
                                   .table = table(flow_table)});
    NeedleElement flow = pointer({.bitmap = 1180,
                                  .pos = {150, 150},
                                  .gauge = side.self,
                                  .pivot = {10, 10},
                                  .token = side.flow,
                                  .table = table(flow_table)});
    StaticImageElement glass =
        static_image({.bitmap = 1190, .flags = kImageStandard, .gauge = side.self});
    NeedleElement knob = needle({.bitmap = 1210,
                                 .pos = {269, 271},
                                 .flags = kImageSmooth,
                                 .gauge = side.self,
                                 .pivot = {21, 21},
                                 .token = side.flow,
                                 .callback = fuel_flow_index<S>,
                                 .table = table(knob_table)});
  };
  static constinit inline DrawOrder<Parts, &Parts::dial, &Parts::index, &Parts::flow,
                                    &Parts::glass, &Parts::knob>
      tree{};
};

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

template <int S>
MouseRect FlowDial<S>::mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpFuelFlow),
    mouse_callback({248, 250, 21, 42}, kCursorDownArrow, kLeftRepeat, fuel_flow_index_down<S>),
    mouse_callback({269, 250, 21, 42}, kCursorUpArrow, kLeftRepeat, fuel_flow_index_up<S>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Fuel_Flow_Left_Header = gauge_header<&Fuel_Flow_Left_Header>({.name = "Fuel_Flow_Left",
                                                  .elements = FlowDial<kLeft>::tree.elements,
                                                  .size_mm = 100,
                                                  .mouse = FlowDial<kLeft>::mouse});
GaugeHeader Fuel_Flow_Right_Header = gauge_header<&Fuel_Flow_Right_Header>({.name = "Fuel_Flow_Right",
                                                   .elements = FlowDial<kRight>::tree.elements,
                                                   .size_mm = 100,
                                                   .mouse = FlowDial<kRight>::mouse});
