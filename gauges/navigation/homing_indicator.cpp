// Homing_Indicator: a bearing indicator for the two NAV receivers. A compass
// card turned by the heading, the single-bar NAV 1 and double-bar NAV 2
// bearing pointers (parked at 90 degrees without a usable bearing), a
// heading marker with its knob (the host steps the selected heading from the
// knob halves itself), a NAV 1 and a NAV 2 flag, and a four-drum distance
// window (hundreds to tenths of a mile) with a hatch. The window follows the
// receiver the ILS/TACAN lever picks, and while it is live the gauge keeps
// the host's distance receiver in step with the lever.
// Reads: kVarHeading; kVarSelectedHeading; kVarNav1Bearing and
// kVarNav2Bearing; kVarNav1Flags and kVarNav2Flags; kVarNav1Signal and
// kVarNav2Signal (below 256 shows the flag); kVarDistance;
// kVarNav1NoDistance and kVarNav2NoDistance; kVarDistanceReceiver (1 or 2);
// kVarElectricalFailure and kVarNavReceiverFailure; kVarGpsSource;
// kVarBusVoltage (20 V).
// Sends: kEventDistanceReceiver1 / 2 on every drawing pass until the host
// follows; the knob rectangles carry kEventSelectedHeadingDec / Inc.
// Module-wide: reads Dme_Source_Nav1, Nav1_Power_On, Nav2_Power_On.
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/odometer.h"
#include "frame/services.h"
#include "gauges/navigation/navigation_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader Homing_Indicator_Header;

namespace {
constexpr std::int32_t kHelpHoming = 43867;
constexpr std::int32_t kHelpHeadingKnob = 43827;
constexpr std::int32_t kHelpDistance = 42756;
constexpr GaugeHeader *kSelf = &Homing_Indicator_Header;

// A signal this weak shows the receiver's flag.
constexpr double kUsableSignal = 256.0;

constexpr double kDraw = 0.0;
constexpr double kNoDraw = -1.0;

// What the window and flag of one receiver depend on.
struct Receiver {
  const int *power_on;
  std::int32_t flags;
  std::int32_t no_distance;
  std::int32_t host_number;  // 1 or 2 in kVarDistanceReceiver
  std::int32_t select_event;
  bool uses_gps_source;  // the GPS source withdraws the NAV 1 hatch only
};
constexpr Receiver kNav1 = {&Nav1_Power_On,          kVarNav1Flags, kVarNav1NoDistance, 1,
                            kEventDistanceReceiver1, true};
constexpr Receiver kNav2 = {&Nav2_Power_On,          kVarNav2Flags, kVarNav2NoDistance, 2,
                            kEventDistanceReceiver2, false};

// --- element callbacks

double FSAPI homing_heading_marker(NeedleElement *e) {
  return from_heading(e->source_var.var_value.n);
}

template <const Receiver &R>
double FSAPI homing_pointer(NeedleElement *e) {
  return vor_bearing_usable(*R.power_on, R.flags) ? e->source_var.var_value.n : kParkedBearing;
}

template <const Receiver &R>
double FSAPI homing_flag(IconElement *e) {
  if (nav_electrics_lost()) return kDraw;
  if (gps_source()) return kNoDraw;
  if (e->source_var.var_value.n < kUsableSignal || *R.power_on == 0) return kDraw;
  return kNoDraw;
}

// Keeps the host's distance receiver on the lever's choice, then shows the
// window only when that receiver has a distance.
double FSAPI homing_distance_hatch(IconElement *) {
  if (nav_electrics_lost()) return kDraw;
  const Receiver &r = Dme_Source_Nav1 == 1 ? kNav1 : kNav2;
  const Receiver &other = Dme_Source_Nav1 == 1 ? kNav2 : kNav1;
  if (to_int(read_var(kVarDistanceReceiver)) == other.host_number)
    trigger_key_event(r.select_event, 0);
  if (r.uses_gps_source && gps_source()) return kNoDraw;
  return read_var(r.no_distance) < 0.0 || *r.power_on == 0 ? kDraw : kNoDraw;
}

double FSAPI homing_distance_drum(MovingImageElement *e) {
  return odometer_drum(*e, e->source_var_y.var_value.n);
}

// --- the elements

FailureRecord nav1_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailGaugeNavigationVor1),
    failure(kFailSystemElectricalAvionics),
    kFailuresEnd,
};

constexpr PixPoint kCentre = {150, 150};

// One degree per unit: straight up at 0, straight down at 180.
NonlinearityEntry bearing_table[] = {table_point(0, 150, 50), table_point(180, 150, 250)};
// The knob turns half a turn per 30 degrees.
NonlinearityEntry knob_table[] = {table_point(0, 268, 257), table_point(30, 268, 297)};

// A drum of the distance window: the caller names its place.
constexpr MovingImageElement distance_drum(DrumSpec d) {
  d.bitmap = 2080;
  d.failures = distance_window_failures;
  d.gauge = kSelf;
  d.token = kVarDistance;
  d.callback = homing_distance_drum;
  return drum(d);
}
// A bearing pointer about the card's centre.
constexpr NeedleElement bearing_pointer(PointerSpec p) {
  p.pos = kCentre;
  p.gauge = kSelf;
  p.table = table(bearing_table);
  return pointer(p);
}

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 2000, .flags = kImageStandard, .gauge = kSelf});
  SpriteElement card = compass_card({.bitmap = 2010,
                                     .pos = {20, 20},
                                     .centre = kCentre,
                                     .failures = compass_failures,
                                     .gauge = kSelf});
  MovingImageElement tenths =
      distance_drum({.pos = {170, 92}, .place = 0.1, .span = 0.01, .range = 1});
  MovingImageElement units =
      distance_drum({.pos = {150, 92}, .place = 1, .span = 0.01, .range = 10});
  MovingImageElement tens =
      distance_drum({.pos = {131, 92}, .place = 10, .span = 0.01, .range = 100});
  // The hundreds drum rolls over a whole mile.
  MovingImageElement hundreds =
      distance_drum({.pos = {112, 92}, .place = 100, .span = 1, .range = 1000});
  IconElement hatch = flag({.bitmap = 2070,
                            .pos = {111, 97},
                            .gauge = kSelf,
                            .token = kVarNav1Signal,
                            .callback = homing_distance_hatch});
  IconElement nav2_flag = flag({.bitmap = 2060,
                                .pos = {186, 137},
                                .gauge = kSelf,
                                .token = kVarNav2Signal,
                                .callback = homing_flag<kNav2>});
  IconElement nav1_flag = flag({.bitmap = 2060,
                                .pos = {81, 137},
                                .gauge = kSelf,
                                .token = kVarNav1Signal,
                                .callback = homing_flag<kNav1>});
  NeedleElement nav2_pointer = bearing_pointer({.bitmap = 2050,
                                                .failures = nav2_pointer_failures,
                                                .pivot = {105, 17},
                                                .token = kVarNav2Bearing,
                                                .callback = homing_pointer<kNav2>});
  NeedleElement nav1_pointer = bearing_pointer({.bitmap = 2040,
                                                .failures = nav1_failures,
                                                .pivot = {105, 10},
                                                .token = kVarNav1Bearing,
                                                .callback = homing_pointer<kNav1>});
  NeedleElement heading_marker = bearing_pointer({.bitmap = 2030,
                                                  .failures = compass_failures,
                                                  .pivot = {0, 15},
                                                  .token = kVarSelectedHeading,
                                                  .callback = homing_heading_marker});
  StaticImageElement bezel = static_image({.bitmap = 2090, .flags = kImageSmooth, .gauge = kSelf});
  NeedleElement heading_knob = needle({.bitmap = 2020,
                                       .pos = {268, 277},
                                       .flags = kImageSmooth,
                                       .gauge = kSelf,
                                       .pivot = {23, 23},
                                       .token = kVarSelectedHeading,
                                       .table = table(knob_table)});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::card, &Parts::tenths, &Parts::units,
                    &Parts::tens, &Parts::hundreds, &Parts::hatch, &Parts::nav2_flag,
                    &Parts::nav1_flag, &Parts::nav2_pointer, &Parts::nav1_pointer,
                    &Parts::heading_marker, &Parts::bezel, &Parts::heading_knob>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpHoming),
    mouse_parent({245, 254, 46, 46}, kHelpHeadingKnob),
    mouse_event({0, 0, 23, 46}, kCursorDownArrow, kLeftRepeat, kEventSelectedHeadingDec),
    mouse_event({23, 0, 23, 46}, kCursorUpArrow, kLeftRepeat, kEventSelectedHeadingInc),
    mouse_end_parent(),
    mouse_parent({112, 92, 78, 19}, kHelpDistance),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Homing_Indicator_Header = gauge_header<&Homing_Indicator_Header>(
    {.name = "Homing_Indicator", .elements = tree.elements, .size_mm = 120, .mouse = mouse});
