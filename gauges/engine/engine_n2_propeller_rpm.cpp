// Engine_N2 and Propeller_RPM: one dial design for two speeds of an engine, a
// main needle over the scale to 105 % and a small needle that spreads the
// last 5 %; placed once per engine with the engine digit as parameter ("1"
// left, "2" right).
// Reads: token 625, N2 of engine 1 in percent (engine n: 625 + 19 (n - 1));
// token 701, propeller speed of engine 1 as a fraction (engine n:
// 701 + 8 (n - 1)).
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader Engine_N2_Header;
extern GaugeHeader Propeller_RPM_Header;

namespace {
constexpr std::int32_t kN2Engine1 = 625;
constexpr std::int32_t kPropellerSpeedEngine1 = 701;
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
    {&Engine_N2_Header, 1100, 1110, 1120, 1130, kN2Engine1, 100.0},
    {&Propeller_RPM_Header, 2330, 2340, 2350, 2360, kPropellerSpeedEngine1, 1.0},
};
enum : int { kN2, kPropeller };

template <int D>
struct SpeedDialRecords {
  static constexpr const SpeedDial &dial = kDials[D];
  static NonlinearityEntry small_table[], main_table[];
  static StaticImageElement background, glass;
  static NeedleElement small_needle, main_needle;
  static GaugeElement *background_next[], *small_next[], *main_next[], *elements[];
};

template <int D>
NonlinearityEntry SpeedDialRecords<D>::small_table[] = {
    table_point(0, 55, 38),
    table_point(0.05 * dial.full_scale, 55, 74),
};
template <int D>
NonlinearityEntry SpeedDialRecords<D>::main_table[] = {
    table_point(0, 92, 20),
    table_point(dial.full_scale, 16, 93),
    table_point(1.05 * dial.full_scale, 16, 83),
};

template <int D>
StaticImageElement SpeedDialRecords<D>::background = static_image(
    {.bitmap = dial.background, .flags = 0x4003, .next = background_next, .gauge = dial.self});
template <int D>
NeedleElement SpeedDialRecords<D>::small_needle = needle({.bitmap = dial.small_needle,
                                                          .pos = {55, 55},
                                                          .flags = 0x4083,
                                                          .next = small_next,
                                                          .gauge = dial.self,
                                                          .pivot = {7, 2},
                                                          .token = dial.token,
                                                          .table = table(small_table)});
template <int D>
NeedleElement SpeedDialRecords<D>::main_needle = needle({.bitmap = dial.main_needle,
                                                         .pos = {92, 92},
                                                         .flags = 0x4083,
                                                         .next = main_next,
                                                         .gauge = dial.self,
                                                         .pivot = {30, 7},
                                                         .token = dial.token,
                                                         .table = table(main_table)});
template <int D>
StaticImageElement SpeedDialRecords<D>::glass =
    static_image({.bitmap = dial.glass, .flags = 0x3, .gauge = dial.self});

template <int D>
GaugeElement *SpeedDialRecords<D>::background_next[] = {el(small_needle), nullptr};
template <int D>
GaugeElement *SpeedDialRecords<D>::small_next[] = {el(main_needle), nullptr};
template <int D>
GaugeElement *SpeedDialRecords<D>::main_next[] = {el(glass), nullptr};
template <int D>
GaugeElement *SpeedDialRecords<D>::elements[] = {el(background), nullptr};

MouseRect n2_mouse[] = {mouse_parent({0, 0, 0, 0}, kHelpN2), mouse_end_parent(), mouse_end()};
MouseRect propeller_mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_tooltip(kHelpPropellerRpm),
                               mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Engine_N2_Header = gauge_header({.name = "Engine_N2",
                                             .elements = SpeedDialRecords<kN2>::elements,
                                             .size_mm = 100,
                                             .mouse = n2_mouse,
                                             .callback = engine_gauge_callback});
GaugeHeader Propeller_RPM_Header = gauge_header({.name = "Propeller_RPM",
                                                 .elements = SpeedDialRecords<kPropeller>::elements,
                                                 .size_mm = 100,
                                                 .mouse = propeller_mouse,
                                                 .callback = engine_gauge_callback});
