// Engine_N2 and Propeller_RPM: one dial design for two speeds of an engine, a
// main needle over the scale to 105 % and a small needle that spreads the
// last 5 %; placed once per engine with the engine digit as parameter ("1"
// left, "2" right).
// Reads: kVarEngine1N2 in percent; kVarEngine1PropRpm as a fraction (the
// gauge callback moves both to engine n).
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader Engine_N2_Header;
extern GaugeHeader Propeller_RPM_Header;

namespace {
constexpr std::int32_t kHelpN2 = 43810;
constexpr std::int32_t kHelpPropellerRpm = 12464;

// What tells the two dials apart.
struct SpeedDial {
  GaugeHeader *self;
  std::int32_t background, small_needle, main_needle, glass;  // bitmaps
  std::int32_t token;
  double full_scale;  // the value at 100 %
};

constexpr SpeedDial kDials[] = {
    {&Engine_N2_Header, 1100, 1110, 1120, 1130, kVarEngine1N2, 100.0},
    {&Propeller_RPM_Header, 2330, 2340, 2350, 2360, kVarEngine1PropRpm, 1.0},
};
enum : int { kN2, kPropeller };

template <int D>
struct SpeedDialRecords {
  static constexpr const SpeedDial &dial = kDials[D];
  static inline NonlinearityEntry small_table[] = {
      table_point(0, 55, 38),
      table_point(0.05 * dial.full_scale, 55, 74),
  };
  static inline NonlinearityEntry main_table[] = {
      table_point(0, 92, 20),
      table_point(dial.full_scale, 16, 93),
      table_point(1.05 * dial.full_scale, 16, 83),
  };
  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = dial.background, .flags = kImageLit, .gauge = dial.self});
    NeedleElement small_needle = pointer({.bitmap = dial.small_needle,
                                          .pos = {55, 55},
                                          .gauge = dial.self,
                                          .pivot = {7, 2},
                                          .token = dial.token,
                                          .table = table(small_table)});
    NeedleElement main_needle = pointer({.bitmap = dial.main_needle,
                                         .pos = {92, 92},
                                         .gauge = dial.self,
                                         .pivot = {30, 7},
                                         .token = dial.token,
                                         .table = table(main_table)});
    StaticImageElement glass =
        static_image({.bitmap = dial.glass, .flags = kImageStandard, .gauge = dial.self});
  };
  static constinit inline DrawOrder<Parts, &Parts::background, &Parts::small_needle,
                                    &Parts::main_needle, &Parts::glass>
      tree{};
};

MouseRect n2_mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpN2), mouse_end_parent(), mouse_end()};
MouseRect propeller_mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_tooltip(kHelpPropellerRpm),
                               mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Engine_N2_Header = gauge_header<&Engine_N2_Header>({.name = "Engine_N2",
                                             .elements = SpeedDialRecords<kN2>::tree.elements,
                                             .size_mm = 100,
                                             .mouse = n2_mouse,
                                             .callback = engine_gauge_callback});
GaugeHeader Propeller_RPM_Header = gauge_header<&Propeller_RPM_Header>({.name = "Propeller_RPM",
                                                 .elements = SpeedDialRecords<kPropeller>::tree.elements,
                                                 .size_mm = 100,
                                                 .mouse = propeller_mouse,
                                                 .callback = engine_gauge_callback});
