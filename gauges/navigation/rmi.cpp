// RMI: the radio magnetic indicator. A compass card turned by the heading
// and two bearing pointers, each with a VOR/ADF selector knob: the single
// bar shows NAV 1 or the ADF, the double bar NAV 2 or the ADF. A pointer
// switches its source by rewriting its own element's host variable, so the
// new source shows from the pass after the click; a pointer without a usable
// source parks at 90 degrees. Nothing here tests the bus.
// Reads: 84 heading; 550 NAV 1, 59 NAV 2 and 39 ADF relative bearings;
// 46 and 55 the NAV 1 and NAV 2 flags (bit 0x80: no bearing).
// Sends: no key events; the selectors make no sound.
// Module-wide: reads Nav1_Power_On, Nav2_Power_On, Adf_Power_On.
#include "frame/declare.h"
#include "gauges/navigation/navigation_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader RMI_Header;

namespace {
constexpr std::int32_t kHelpRmi = 43866;
constexpr GaugeHeader *kSelf = &RMI_Header;

// Each pointer's source: 0 its VOR receiver, 1 the ADF.
int Rmi_Single_Adf = 0;
int Rmi_Double_Adf = 0;

struct PointerSource {
  int *adf_selected;
  const int *vor_power;
  std::int32_t vor_bearing;
  std::int32_t vor_flags;
};
constexpr PointerSource kSingleBar = {&Rmi_Single_Adf, &Nav1_Power_On, kNav1BearingToken,
                                      kNav1FlagsToken};
constexpr PointerSource kDoubleBar = {&Rmi_Double_Adf, &Nav2_Power_On, kNav2BearingToken,
                                      kNav2FlagsToken};

// --- element callbacks

// The value the host read this pass belongs to the token the pointer named
// on the previous one.
template <const PointerSource &P>
double FSAPI rmi_pointer(NeedleElement *e) {
  bool usable = false;
  if (*P.adf_selected == 1) {
    e->source_var.id = kAdfBearingToken;
    usable = Adf_Power_On != 0;
  } else {
    e->source_var.id = P.vor_bearing;
    usable = vor_bearing_usable(*P.vor_power, P.vor_flags);
  }
  return usable ? e->source_var.var_value.n : kParkedBearing;
}

template <const PointerSource &P>
double FSAPI rmi_selector(IconElement *) {
  return *P.adf_selected;
}

// --- mouse callbacks

template <const PointerSource &P>
std::int32_t FSAPI rmi_select(MouseCallbackRecord *, std::uint32_t) {
  *P.adf_selected = *P.adf_selected ? 0 : 1;
  return 0;
}

// --- the element tree, each element the single child of the one before

extern GaugeElement *background_next[];
extern GaugeElement *card_next[];
extern GaugeElement *double_bar_next[];
extern GaugeElement *single_bar_next[];
extern GaugeElement *bezel_next[];
extern GaugeElement *right_selector_next[];

FailureRecord card_failures[] = {{20, 1, 0}, {11, 0, 0}, {0, 0, 0}};
FailureRecord double_bar_failures[] = {{20, 1, 0}, {5, 0, 0}, {15, 0, 0}, {21, 0, 0}, {0, 0, 0}};
FailureRecord single_bar_failures[] = {{20, 1, 0}, {5, 0, 0}, {14, 0, 0}, {21, 0, 0}, {0, 0, 0}};

constexpr PixPoint kCentre = {148, 140};

// Straight up at 0, straight down at 180 degrees.
NonlinearityEntry bearing_table[] = {table_point(0, 148, 40), table_point(180, 148, 240)};

StaticImageElement background =
    static_image({.bitmap = 1030, .flags = 0x4003, .next = background_next, .gauge = kSelf});
SpriteElement card = compass_card({.bitmap = 1040,
                                   .pos = {18, 10},
                                   .centre = kCentre,
                                   .next = card_next,
                                   .failures = card_failures,
                                   .gauge = kSelf});
NeedleElement double_bar = needle({.bitmap = 1060,
                                   .pos = kCentre,
                                   .flags = 0x4083,
                                   .next = double_bar_next,
                                   .failures = double_bar_failures,
                                   .gauge = kSelf,
                                   .pivot = {110, 18},
                                   .token = kNav2BearingToken,
                                   .callback = rmi_pointer<kDoubleBar>,
                                   .table = table(bearing_table)});
NeedleElement single_bar = needle({.bitmap = 1050,
                                   .pos = kCentre,
                                   .flags = 0x4083,
                                   .next = single_bar_next,
                                   .failures = single_bar_failures,
                                   .gauge = kSelf,
                                   .pivot = {110, 7},
                                   .token = kNav1BearingToken,
                                   .callback = rmi_pointer<kSingleBar>,
                                   .table = table(bearing_table)});
StaticImageElement bezel =
    static_image({.bitmap = 1070, .flags = 0x3, .next = bezel_next, .gauge = kSelf});
IconElement right_selector = icon({.bitmap = 1090,
                                   .pos = {216, 216},
                                   .flags = 0x3,
                                   .next = right_selector_next,
                                   .gauge = kSelf,
                                   .callback = rmi_selector<kDoubleBar>,
                                   .images = 2});
IconElement left_selector = icon({.bitmap = 1080,
                                  .pos = {13, 211},
                                  .flags = 0x3,
                                  .gauge = kSelf,
                                  .callback = rmi_selector<kSingleBar>,
                                  .images = 2});

GaugeElement *background_next[] = {el(card), nullptr};
GaugeElement *card_next[] = {el(double_bar), nullptr};
GaugeElement *double_bar_next[] = {el(single_bar), nullptr};
GaugeElement *single_bar_next[] = {el(bezel), nullptr};
GaugeElement *bezel_next[] = {el(right_selector), nullptr};
GaugeElement *right_selector_next[] = {el(left_selector), nullptr};
GaugeElement *elements[] = {el(background), nullptr};

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpRmi),
    mouse_callback({13, 211, 70, 65}, kCursorHand, kMouseLeftSingle, rmi_select<kSingleBar>),
    mouse_callback({216, 204, 65, 70}, kCursorHand, kMouseLeftSingle, rmi_select<kDoubleBar>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader RMI_Header =
    gauge_header({.name = "RMI", .elements = elements, .size_mm = 100, .mouse = mouse});
