// Z480_NAV_COM_1 and Z480_NAV_COM_2: the two VHF NAV/COM control heads, one
// design with two parameter sets. Each head shows a COM and a NAV frequency
// on digit drums that glow while their half is switched on, a power selector
// and a lamp for each half, and a whole-megahertz and a fraction knob for
// each half (left half of a knob steps down, right half up, repeating while
// held). The whole knobs stop at the band edges (COM 118 to 135, NAV 108 to
// 117); the fraction knobs leave stepping and wrapping to the host.
// Reads: the COM and NAV frequencies, packed decimal without the leading 1
// (set 1: kVarCom1Frequency and kVarNav1Frequency; set 2: kVarCom2Frequency
// and kVarNav2Frequency), before every update and on every knob click.
// Sends: the host's whole and fraction step events of each half; the NAV-off
// event (kEventNav1Off; set 2: kEventNav2Off) when the NAV half is switched
// off and once at install.
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

// Everything in which the two heads differ.
struct NavComSet {
  GaugeHeader *header;
  std::int32_t background;
  int *power[2];               // by half
  std::int32_t frequency[2];   // token, by half
  std::int32_t step[2][2][2];  // key event by half, part and direction
  std::int32_t nav_off_event;
  std::int32_t help_gauge, help_knob, help_window;
};

constexpr NavComSet kSet1 = {
    .header = &Z480_NAV_COM_1_Header,
    .background = 4000,
    .power = {&Com1_Power_On, &Nav1_Power_On},
    .frequency = {kVarCom1Frequency, kVarNav1Frequency},
    .step = {{{kEventCom1WholeDec, kEventCom1WholeInc},
              {kEventCom1FractionDec, kEventCom1FractionInc}},
             {{kEventNav1WholeDec, kEventNav1WholeInc},
              {kEventNav1FractionDec, kEventNav1FractionInc}}},
    .nav_off_event = kEventNav1Off,
    .help_gauge = 42752,
    .help_knob = 42772,
    .help_window = 42773,
};

constexpr NavComSet kSet2 = {
    .header = &Z480_NAV_COM_2_Header,
    .background = 4010,
    .power = {&Com2_Power_On, &Nav2_Power_On},
    .frequency = {kVarCom2Frequency, kVarNav2Frequency},
    .step = {{{kEventCom2WholeDec, kEventCom2WholeInc},
              {kEventCom2FractionDec, kEventCom2FractionInc}},
             {{kEventNav2WholeDec, kEventNav2WholeInc},
              {kEventNav2FractionDec, kEventNav2FractionInc}}},
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

FailureRecord com_failures[] = {
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeCommunications),
    kFailuresEnd,
};
FailureRecord nav_failures[] = {
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeNavigationVor1),
    kFailuresEnd,
};

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
    if (P == kWhole && !(D == kUp ? v < kWholeLimit[H][kUp] : v > kWholeLimit[H][kDown])) return 0;
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

  // --- the elements

  static inline NonlinearityEntry com_whole_table[] = {table_point(118, 54, 99),
                                                       table_point(122, 54, 153)};
  static inline NonlinearityEntry com_fraction_table[] = {table_point(0, 154, 99),
                                                          table_point(50, 154, 153)};
  static inline NonlinearityEntry nav_whole_table[] = {table_point(108, 245, 99),
                                                       table_point(112, 245, 153)};
  static inline NonlinearityEntry nav_fraction_table[] = {table_point(0, 348, 99),
                                                          table_point(50, 348, 153)};

  static constexpr MovingImageElement digit(std::int32_t bitmap, PixPoint pos, double cells,
                                            FailureRecord *failures, MovingImageCallback callback) {
    return moving_image({.bitmap = bitmap,
                         .pos = pos,
                         .flags = kImageSmooth,
                         .failures = failures,
                         .gauge = S.header,
                         .y = {.min = 0.0, .max = cells},
                         .y_callback = callback});
  }
  static constexpr IconElement image(std::int32_t bitmap, PixPoint pos, std::uint32_t flags,
                                     std::int32_t images, FailureRecord *failures,
                                     IconCallback callback) {
    return icon({.bitmap = bitmap,
                 .pos = pos,
                 .flags = flags,
                 .failures = failures,
                 .gauge = S.header,
                 .callback = callback,
                 .images = images});
  }
  static constexpr NeedleElement knob_needle(PixPoint pos, NeedleCallback callback, TableRef t) {
    return needle({.bitmap = 4020,
                   .pos = pos,
                   .flags = kImageSmooth,
                   .gauge = S.header,
                   .pivot = {27, 27},
                   .callback = callback,
                   .table = t});
  }

  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = S.background, .flags = kImageStandard, .gauge = S.header});
    MovingImageElement com_hundredths =
        digit(4100, {129, 41}, 10, com_failures, drum<kCom, kFraction, 1>);
    MovingImageElement com_tenths =
        digit(4050, {115, 41}, 10, com_failures, drum<kCom, kFraction, 10>);
    IconElement com_point =
        image(4080, {107, 41}, kImageSmooth, 1, com_failures, window_image<kCom>);
    MovingImageElement com_units = digit(4050, {93, 41}, 10, com_failures, drum<kCom, kWhole, 1>);
    MovingImageElement com_tens = digit(4090, {79, 41}, 3, com_failures, drum<kCom, kWhole, 10>);
    IconElement com_one = image(4070, {65, 41}, kImageSmooth, 1, com_failures, window_image<kCom>);
    MovingImageElement nav_hundredths =
        digit(4050, {317, 41}, 10, nav_failures, drum<kNav, kFraction, 1>);
    MovingImageElement nav_tenths =
        digit(4050, {303, 41}, 10, nav_failures, drum<kNav, kFraction, 10>);
    IconElement nav_point =
        image(4080, {295, 41}, kImageSmooth, 1, nav_failures, window_image<kNav>);
    MovingImageElement nav_units = digit(4050, {281, 41}, 10, nav_failures, drum<kNav, kWhole, 1>);
    MovingImageElement nav_tens = digit(4060, {267, 41}, 1, nav_failures, drum<kNav, kWhole, 10>);
    IconElement nav_one = image(4070, {253, 41}, kImageSmooth, 1, nav_failures, window_image<kNav>);
    IconElement nav_selector =
        image(4030, {215, 90}, kImageStandard, 2, nav_failures, selector<kNav>);
    NeedleElement nav_fraction_knob =
        knob_needle({348, 126}, knob<kNav, kFraction>, table(nav_fraction_table));
    NeedleElement nav_whole_knob =
        knob_needle({245, 126}, knob<kNav, kWhole>, table(nav_whole_table));
    IconElement com_selector =
        image(4030, {24, 90}, kImageStandard, 2, com_failures, selector<kCom>);
    NeedleElement com_fraction_knob =
        knob_needle({154, 126}, knob<kCom, kFraction>, table(com_fraction_table));
    NeedleElement com_whole_knob =
        knob_needle({54, 126}, knob<kCom, kWhole>, table(com_whole_table));
    IconElement nav_lamp = image(4040, {291, 156}, kImageBright, 1, nav_failures, lamp<kNav>);
    IconElement com_lamp = image(4040, {98, 156}, kImageBright, 1, com_failures, lamp<kCom>);
  };
  static constinit inline DrawOrder<
      Parts, &Parts::background, &Parts::com_hundredths, &Parts::com_tenths, &Parts::com_point,
      &Parts::com_units, &Parts::com_tens, &Parts::com_one, &Parts::nav_hundredths,
      &Parts::nav_tenths, &Parts::nav_point, &Parts::nav_units, &Parts::nav_tens, &Parts::nav_one,
      &Parts::nav_selector, &Parts::nav_fraction_knob, &Parts::nav_whole_knob, &Parts::com_selector,
      &Parts::com_fraction_knob, &Parts::com_whole_knob, &Parts::nav_lamp, &Parts::com_lamp>
      tree{};

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
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat, step<kCom, kFraction, kDown>),
      mouse_callback({27, 0, 27, 54}, kCursorUpArrow, kLeftRepeat, step<kCom, kFraction, kUp>),
      mouse_end_parent(),
      mouse_parent({218, 99, 54, 54}, S.help_knob),
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat, step<kNav, kWhole, kDown>),
      mouse_callback({27, 0, 27, 54}, kCursorUpArrow, kLeftRepeat, step<kNav, kWhole, kUp>),
      mouse_end_parent(),
      mouse_parent({321, 99, 54, 54}, S.help_knob),
      mouse_callback({0, 0, 27, 54}, kCursorDownArrow, kLeftRepeat, step<kNav, kFraction, kDown>),
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
constexpr GaugeHeader nav_com_header(const char *name) {
  return gauge_header<S.header>({.name = name,
                       .elements = NavCom<S>::tree.elements,
                       .size_mm = 100,
                       .mouse = NavCom<S>::mouse,
                       .callback = NavCom<S>::gauge_callback});
}
}  // namespace

GaugeHeader Z480_NAV_COM_1_Header = nav_com_header<kSet1>("Z480_NAV_COM_1");
GaugeHeader Z480_NAV_COM_2_Header = nav_com_header<kSet2>("Z480_NAV_COM_2");
