// RMI: the radio magnetic indicator. A compass card turned by the heading
// and two bearing pointers, each with a VOR/ADF selector knob: the single
// bar shows NAV 1 or the ADF, the double bar NAV 2 or the ADF. A pointer
// switches its source by rewriting its own element's host variable, so the
// new source shows from the pass after the click; a pointer without a usable
// source parks at 90 degrees. Nothing here tests the bus.
// Reads: kVarHeading; kVarNav1Bearing, kVarNav2Bearing and kVarAdfBearing,
// the relative bearings; kVarNav1Flags and kVarNav2Flags (bit 0x80: no
// bearing).
// Sends: no key events; the selectors make no sound.
// Module-wide: reads Nav1_Power_On, Nav2_Power_On, Adf_Power_On.
#include "frame/declare.h"
#include "frame/host_names.h"
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
constexpr PointerSource kSingleBar = {&Rmi_Single_Adf, &Nav1_Power_On, kVarNav1Bearing,
                                      kVarNav1Flags};
constexpr PointerSource kDoubleBar = {&Rmi_Double_Adf, &Nav2_Power_On, kVarNav2Bearing,
                                      kVarNav2Flags};

// --- element callbacks

// The value the host read this pass belongs to the token the pointer named
// on the previous one.
template <const PointerSource &P>
double FSAPI rmi_pointer(NeedleElement *e) {
  bool usable = false;
  if (*P.adf_selected == 1) {
    e->source_var.id = kVarAdfBearing;
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

// --- the elements

FailureRecord card_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailGaugeGyroHeading),
    kFailuresEnd,
};
FailureRecord double_bar_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailGaugeAdf),
    failure(kFailGaugeNavigationVor2),
    failure(kFailSystemElectricalAvionics),
    kFailuresEnd,
};
FailureRecord single_bar_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailGaugeAdf),
    failure(kFailGaugeNavigationVor1),
    failure(kFailSystemElectricalAvionics),
    kFailuresEnd,
};

constexpr PixPoint kCentre = {148, 140};

// Straight up at 0, straight down at 180 degrees.
NonlinearityEntry bearing_table[] = {table_point(0, 148, 40), table_point(180, 148, 240)};

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 1030, .flags = kImageLit, .gauge = kSelf});
  SpriteElement card = compass_card({.bitmap = 1040,
                                     .pos = {18, 10},
                                     .centre = kCentre,
                                     .failures = card_failures,
                                     .gauge = kSelf});
  NeedleElement double_bar = pointer({.bitmap = 1060,
                                      .pos = kCentre,
                                      .failures = double_bar_failures,
                                      .gauge = kSelf,
                                      .pivot = {110, 18},
                                      .token = kVarNav2Bearing,
                                      .callback = rmi_pointer<kDoubleBar>,
                                      .table = table(bearing_table)});
  NeedleElement single_bar = pointer({.bitmap = 1050,
                                      .pos = kCentre,
                                      .failures = single_bar_failures,
                                      .gauge = kSelf,
                                      .pivot = {110, 7},
                                      .token = kVarNav1Bearing,
                                      .callback = rmi_pointer<kSingleBar>,
                                      .table = table(bearing_table)});
  StaticImageElement bezel =
      static_image({.bitmap = 1070, .flags = kImageStandard, .gauge = kSelf});
  IconElement right_selector = icon({.bitmap = 1090,
                                     .pos = {216, 216},
                                     .flags = kImageStandard,
                                     .gauge = kSelf,
                                     .callback = rmi_selector<kDoubleBar>,
                                     .images = 2});
  IconElement left_selector = icon({.bitmap = 1080,
                                    .pos = {13, 211},
                                    .flags = kImageStandard,
                                    .gauge = kSelf,
                                    .callback = rmi_selector<kSingleBar>,
                                    .images = 2});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::card, &Parts::double_bar, &Parts::single_bar,
                    &Parts::bezel, &Parts::right_selector, &Parts::left_selector>
    tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpRmi),
    mouse_callback({13, 211, 70, 65}, kCursorHand, kMouseLeftSingle, rmi_select<kSingleBar>),
    mouse_callback({216, 204, 65, 70}, kCursorHand, kMouseLeftSingle, rmi_select<kDoubleBar>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader RMI_Header =
    gauge_header<&RMI_Header>({.name = "RMI", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
