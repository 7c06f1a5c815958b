// Z480_NAV_COM_1 and Z480_NAV_COM_2: the two VHF NAV/COM control heads, one
// design with two parameter sets. Each head shows a COM and a NAV frequency
// on digit drums that glow while their half is switched on, a power selector
// and a lamp for each half, and a whole-megahertz and a fraction knob for
// each half (left half of a knob steps down, right half up, repeating while
// held). The whole knobs stop at the band edges (COM 118 to 135, NAV 108 to
// 117); the fraction knobs leave stepping and wrapping to the host.
// Reads: the COM and NAV frequencies, packed decimal without the leading 1
// (set 1: tokens 23 and 24; set 2: 870 and 27), before every update and on
// every knob click.
// Sends: the host's whole and fraction step events of each half; the NAV-off
// event (65832; set 2: 65833) when the NAV half is switched off and once at
// install.
// Module-wide: writes Com1_Power_On and Nav1_Power_On (set 2: Com2_Power_On
// and Nav2_Power_On), which install switches off.
#include "frame/declare.h"
#include "frame/services.h"
#include "gauges/radios/radio_bcd.h"
#include "gauges/radios/radio_display.h"
#include "gauges/radios/radio_power.h"
#include "sound/click.h"

extern GaugeHeader Z480_NAV_COM_1_Header;
extern GaugeHeader Z480_NAV_COM_2_Header;

namespace {
enum Half { kCom, kNav };
enum Part { kWhole, kFraction };
enum Direction { kDown, kUp };

constexpr std::int32_t kCom1Frequency = 23;
constexpr std::int32_t kNav1Frequency = 24;
constexpr std::int32_t kCom2Frequency = 870;
constexpr std::int32_t kNav2Frequency = 27;

constexpr std::int32_t kEventCom1WholeDown = 65636;
constexpr std::int32_t kEventCom1WholeUp = 65637;
constexpr std::int32_t kEventCom1FractionDown = 65638;
constexpr std::int32_t kEventCom1FractionUp = 65639;
constexpr std::int32_t kEventNav1WholeDown = 65640;
constexpr std::int32_t kEventNav1WholeUp = 65641;
constexpr std::int32_t kEventNav1FractionDown = 65642;
constexpr std::int32_t kEventNav1FractionUp = 65643;
constexpr std::int32_t kEventNav1Off = 65832;
constexpr std::int32_t kEventCom2WholeDown = 66436;
constexpr std::int32_t kEventCom2WholeUp = 66437;
constexpr std::int32_t kEventCom2FractionDown = 66438;
constexpr std::int32_t kEventCom2FractionUp = 66440;
constexpr std::int32_t kEventNav2WholeDown = 65644;
constexpr std::int32_t kEventNav2WholeUp = 65645;
constexpr std::int32_t kEventNav2FractionDown = 65646;
constexpr std::int32_t kEventNav2FractionUp = 65647;
constexpr std::int32_t kEventNav2Off = 65833;

// Everything in which the two heads differ.
struct NavComSet {
  GaugeHeader *header;
  std::int32_t background;
  int *power[2];                     // by half
  std::int32_t frequency[2];         // token, by half
  std::int32_t step[2][2][2];        // key event by half, part and direction
  std::int32_t nav_off_event;
  std::int32_t help_gauge, help_knob, help_window;
};

constexpr NavComSet kSet1 = {
    .header = &Z480_NAV_COM_1_Header,
    .background = 4000,
    .power = {&Com1_Power_On, &Nav1_Power_On},
    .frequency = {kCom1Frequency, kNav1Frequency},
    .step = {{{kEventCom1WholeDown, kEventCom1WholeUp},
              {kEventCom1FractionDown, kEventCom1FractionUp}},
             {{kEventNav1WholeDown, kEventNav1WholeUp},
              {kEventNav1FractionDown, kEventNav1FractionUp}}},
    .nav_off_event = kEventNav1Off,
    .help_gauge = 42752,
    .help_knob = 42772,
    .help_window = 42773,
};

constexpr NavComSet kSet2 = {
    .header = &Z480_NAV_COM_2_Header,
    .background = 4010,
    .power = {&Com2_Power_On, &Nav2_Power_On},
    .frequency = {kCom2Frequency, kNav2Frequency},
    .step = {{{kEventCom2WholeDown, kEventCom2WholeUp},
              {kEventCom2FractionDown, kEventCom2FractionUp}},
             {{kEventNav2WholeDown, kEventNav2WholeUp},
              {kEventNav2FractionDown, kEventNav2FractionUp}}},
    .nav_off_event = kEventNav2Off,
    .help_gauge = 42754,
    .help_knob = 42774,
    .help_window = 42775,
};

using Reader = double (*)(std::int32_t);
constexpr Reader kReader[2][2] = {{read_com_whole, read_com_fraction},
                                  {read_nav_whole, read_nav_fraction}};

// The whole knobs send a step only while the reading lies inside these:
// down above the first value, up below the second.
constexpr double kWholeLimit[2][2] = {{118.0, 135.0}, {108.0, 117.0}};

FailureRecord com_failures[] = {{21, 3, 0}, {9, 0, 0}, {0, 0, 0}};
FailureRecord nav_failures[] = {{21, 3, 0}, {14, 0, 0}, {0, 0, 0}};

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

template <const NavComSet &S>
struct NavCom {
  // The cached frequencies (Com1_Whole, Com1_Fraction, Nav1_Whole,
  // Nav1_Fraction for set 1), by half and part, and the selectors' click.
  static inline double cached[2][2] = {};
  static inline ClickSound click;

  static int &power(Half h) { return *S.power[h]; }
  static void refresh(Half h, Part p) { cached[h][p] = kReader[h][p](S.frequency[h]); }

  // --- element callbacks

  template <Half H, Part P, int Place>
  static double FSAPI drum(MovingImageElement *e) {
    light_display(e->header, power(H) != 0);
    return decimal_digit(cached[H][P], Place);
  }
  // The leading one and the decimal point of a window.
  template <Half H>
  static double FSAPI window_image(IconElement *e) {
    light_display(e->header, power(H) != 0);
    return 0.0;
  }
  template <Half H>
  static double FSAPI selector(IconElement *) {
    return power(H) ? 1.0 : 0.0;
  }
  template <Half H>
  static double FSAPI lamp(IconElement *) {
    return power(H) ? 0.0 : -1.0;
  }
  template <Half H, Part P>
  static double FSAPI knob(NeedleElement *) {
    return cached[H][P];
  }

  // --- mouse callbacks

  template <Half H, Part P, Direction D>
  static std::int32_t FSAPI step(MouseCallbackRecord *, std::uint32_t) {
    refresh(H, P);
    if (!power(H)) return 0;
    double v = cached[H][P];
    if (P == kWhole && !(D == kUp ? v < kWholeLimit[H][kUp] : v > kWholeLimit[H][kDown]))
      return 0;
    trigger_key_event(S.step[H][P][D], 0);
    return 0;
  }

  template <Half H, int On>
  static std::int32_t FSAPI switch_half(MouseCallbackRecord *, std::uint32_t) {
    if (power(H) != 1 - On) return 0;
    power(H) = On;
    if (H == kNav && !On) trigger_key_event(S.nav_off_event, 0);
    click_play(click);
    return 0;
  }

  static void FSAPI gauge_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
    switch (service) {
      case kServiceInstall:
        power(kCom) = 0;
        power(kNav) = 0;
        trigger_key_event(S.nav_off_event, 0);
        click_install(click, extra);
        break;
      case kServicePreUpdate:
        refresh(kCom, kWhole);
        refresh(kCom, kFraction);
        refresh(kNav, kWhole);
        refresh(kNav, kFraction);
        break;
      case kServiceKill:
        click_kill(click);
        break;
      default:
        break;
    }
  }

  // --- the element tree, each element the single child of the one before

  static inline NonlinearityEntry com_whole_table[] = {table_point(118, 54, 99),
                                                       table_point(122, 54, 153)};
  static inline NonlinearityEntry com_fraction_table[] = {table_point(0, 154, 99),
                                                          table_point(50, 154, 153)};
  static inline NonlinearityEntry nav_whole_table[] = {table_point(108, 245, 99),
                                                       table_point(112, 245, 153)};
  static inline NonlinearityEntry nav_fraction_table[] = {table_point(0, 348, 99),
                                                          table_point(50, 348, 153)};

  static GaugeElement *background_next[], *com_hundredths_next[], *com_tenths_next[],
      *com_point_next[], *com_units_next[], *com_tens_next[], *com_one_next[],
      *nav_hundredths_next[], *nav_tenths_next[], *nav_point_next[], *nav_units_next[],
      *nav_tens_next[], *nav_one_next[], *nav_selector_next[], *nav_fraction_knob_next[],
      *nav_whole_knob_next[], *com_selector_next[], *com_fraction_knob_next[],
      *com_whole_knob_next[], *nav_lamp_next[];

  static constexpr MovingImageElement digit(std::int32_t bitmap, PixPoint pos, double cells,
                                  GaugeElement **next, FailureRecord *failures,
                                  MovingImageCallback callback) {
    return moving_image({.bitmap = bitmap,
                         .pos = pos,
                         .flags = 0x83,
                         .next = next,
                         .failures = failures,
                         .gauge = S.header,
                         .y = {.min = 0.0, .max = cells},
                         .y_callback = callback});
  }
  static constexpr IconElement image(std::int32_t bitmap, PixPoint pos, std::uint32_t flags,
                           std::int32_t images, GaugeElement **next, FailureRecord *failures,
                           IconCallback callback) {
    return icon({.bitmap = bitmap,
                 .pos = pos,
                 .flags = flags,
                 .next = next,
                 .failures = failures,
                 .gauge = S.header,
                 .callback = callback,
                 .images = images});
  }
  static constexpr NeedleElement knob_needle(PixPoint pos, GaugeElement **next, NeedleCallback callback,
                                   TableRef t) {
    return needle({.bitmap = 4020,
                   .pos = pos,
                   .flags = 0x83,
                   .next = next,
                   .gauge = S.header,
                   .pivot = {27, 27},
                   .callback = callback,
                   .table = t});
  }

  static inline StaticImageElement background = static_image(
      {.bitmap = S.background, .flags = 0x3, .next = background_next, .gauge = S.header});
  static inline MovingImageElement com_hundredths = digit(
      4100, {129, 41}, 10, com_hundredths_next, com_failures, drum<kCom, kFraction, 1>);
  static inline MovingImageElement com_tenths =
      digit(4050, {115, 41}, 10, com_tenths_next, com_failures, drum<kCom, kFraction, 10>);
  static inline IconElement com_point =
      image(4080, {107, 41}, 0x83, 1, com_point_next, com_failures, window_image<kCom>);
  static inline MovingImageElement com_units =
      digit(4050, {93, 41}, 10, com_units_next, com_failures, drum<kCom, kWhole, 1>);
  static inline MovingImageElement com_tens =
      digit(4090, {79, 41}, 3, com_tens_next, com_failures, drum<kCom, kWhole, 10>);
  static inline IconElement com_one =
      image(4070, {65, 41}, 0x83, 1, com_one_next, com_failures, window_image<kCom>);
  static inline MovingImageElement nav_hundredths = digit(
      4050, {317, 41}, 10, nav_hundredths_next, nav_failures, drum<kNav, kFraction, 1>);
  static inline MovingImageElement nav_tenths =
      digit(4050, {303, 41}, 10, nav_tenths_next, nav_failures, drum<kNav, kFraction, 10>);
  static inline IconElement nav_point =
      image(4080, {295, 41}, 0x83, 1, nav_point_next, nav_failures, window_image<kNav>);
  static inline MovingImageElement nav_units =
      digit(4050, {281, 41}, 10, nav_units_next, nav_failures, drum<kNav, kWhole, 1>);
  static inline MovingImageElement nav_tens =
      digit(4060, {267, 41}, 1, nav_tens_next, nav_failures, drum<kNav, kWhole, 10>);
  static inline IconElement nav_one =
      image(4070, {253, 41}, 0x83, 1, nav_one_next, nav_failures, window_image<kNav>);
  static inline IconElement nav_selector =
      image(4030, {215, 90}, 0x3, 2, nav_selector_next, nav_failures, selector<kNav>);
  static inline NeedleElement nav_fraction_knob = knob_needle(
      {348, 126}, nav_fraction_knob_next, knob<kNav, kFraction>, table(nav_fraction_table));
  static inline NeedleElement nav_whole_knob = knob_needle(
      {245, 126}, nav_whole_knob_next, knob<kNav, kWhole>, table(nav_whole_table));
  static inline IconElement com_selector =
      image(4030, {24, 90}, 0x3, 2, com_selector_next, com_failures, selector<kCom>);
  static inline NeedleElement com_fraction_knob = knob_needle(
      {154, 126}, com_fraction_knob_next, knob<kCom, kFraction>, table(com_fraction_table));
  static inline NeedleElement com_whole_knob = knob_needle(
      {54, 126}, com_whole_knob_next, knob<kCom, kWhole>, table(com_whole_table));
  static inline IconElement nav_lamp =
      image(4040, {291, 156}, 0x7, 1, nav_lamp_next, nav_failures, lamp<kNav>);
  static inline IconElement com_lamp =
      image(4040, {98, 156}, 0x7, 1, nullptr, com_failures, lamp<kCom>);

  static inline GaugeElement *elements[] = {el(background), nullptr};

  // Each knob: a parent with the down half on the left, the up half on the
  // right.
  static inline MouseRect mouse[] = {
      mouse_parent({0, 0, 0, 0}, S.help_gauge),
      mouse_parent({65, 41, 78, 26}, S.help_window),
      mouse_end_parent(),
      mouse_parent({253, 41, 78, 26}, S.help_window),
      mouse_end_parent(),
      mouse_parent({27, 99, 54, 54}, S.help_knob),
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat, step<kCom, kWhole, kDown>),
      mouse_callback({27, 0, 27, 54}, kCursorUpArrow, kLeftRepeat, step<kCom, kWhole, kUp>),
      mouse_end_parent(),
      mouse_parent({127, 99, 54, 54}, S.help_knob),
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat,
                     step<kCom, kFraction, kDown>),
      mouse_callback({27, 0, 27, 54}, kCursorUpArrow, kLeftRepeat, step<kCom, kFraction, kUp>),
      mouse_end_parent(),
      mouse_parent({218, 99, 54, 54}, S.help_knob),
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat, step<kNav, kWhole, kDown>),
      mouse_callback({27, 0, 27, 54}, kCursorUpArrow, kLeftRepeat, step<kNav, kWhole, kUp>),
      mouse_end_parent(),
      mouse_parent({321, 99, 54, 54}, S.help_knob),
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat,
                     step<kNav, kFraction, kDown>),
      mouse_callback({27, 0, 27, 54}, kCursorUpArrow, kLeftRepeat, step<kNav, kFraction, kUp>),
      mouse_end_parent(),
      // Over the off and power legends beside each selector.
      mouse_callback({8, 84, 30, 15}, kCursorHand, kMouseLeftSingle, switch_half<kCom, 0>),
      mouse_callback({42, 78, 30, 15}, kCursorHand, kMouseLeftSingle, switch_half<kCom, 1>),
      mouse_callback({199, 84, 30, 15}, kCursorHand, kMouseLeftSingle, switch_half<kNav, 0>),
      mouse_callback({232, 78, 30, 15}, kCursorHand, kMouseLeftSingle, switch_half<kNav, 1>),
      mouse_end_parent(),
      mouse_end(),
  };
};

template <const NavComSet &S>
GaugeElement *NavCom<S>::background_next[] = {el(com_hundredths), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_hundredths_next[] = {el(com_tenths), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_tenths_next[] = {el(com_point), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_point_next[] = {el(com_units), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_units_next[] = {el(com_tens), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_tens_next[] = {el(com_one), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_one_next[] = {el(nav_hundredths), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_hundredths_next[] = {el(nav_tenths), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_tenths_next[] = {el(nav_point), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_point_next[] = {el(nav_units), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_units_next[] = {el(nav_tens), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_tens_next[] = {el(nav_one), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_one_next[] = {el(nav_selector), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_selector_next[] = {el(nav_fraction_knob), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_fraction_knob_next[] = {el(nav_whole_knob), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_whole_knob_next[] = {el(com_selector), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_selector_next[] = {el(com_fraction_knob), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_fraction_knob_next[] = {el(com_whole_knob), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::com_whole_knob_next[] = {el(nav_lamp), nullptr};
template <const NavComSet &S>
GaugeElement *NavCom<S>::nav_lamp_next[] = {el(com_lamp), nullptr};

template <const NavComSet &S>
constexpr GaugeHeader nav_com_header(const char *name) {
  return gauge_header({.name = name,
                       .elements = NavCom<S>::elements,
                       .size_mm = 100,
                       .mouse = NavCom<S>::mouse,
                       .callback = NavCom<S>::gauge_callback});
}
}  // namespace

GaugeHeader Z480_NAV_COM_1_Header = nav_com_header<kSet1>("Z480_NAV_COM_1");
GaugeHeader Z480_NAV_COM_2_Header = nav_com_header<kSet2>("Z480_NAV_COM_2");
