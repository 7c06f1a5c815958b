// Homing_Indicator: a bearing indicator for the two NAV receivers. A compass
// card turned by the heading, the single-bar NAV 1 and double-bar NAV 2
// bearing pointers (parked at 90 degrees without a usable bearing), a
// heading marker with its knob (the host steps the selected heading from the
// knob halves itself), a NAV 1 and a NAV 2 flag, and a four-drum distance
// window (hundreds to tenths of a mile) with a hatch. The window follows the
// receiver the ILS/TACAN lever picks, and while it is live the gauge keeps
// the host's distance receiver in step with the lever.
// Reads: 84 heading; 855 selected heading; 550 and 59 NAV 1 and NAV 2
// bearings; 46 and 55 their flags; 49 and 58 their signal values (below 256
// shows the flag); 372 distance; 32 and 36 no distance from NAV 1 / NAV 2;
// 355 the host's distance receiver (1 or 2); 279 and 285 electrical and
// navigation-receiver failures; 848 GPS source; 755 bus voltage (20 V).
// Sends: 65787 / 65788 (select distance receiver 1 / 2) on every drawing
// pass until the host follows; the knob rectangles carry 65880 / 65879
// (selected heading down / up).
// Module-wide: reads Dme_Source_Nav1, Nav1_Power_On, Nav2_Power_On.
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/navigation/navigation_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader Homing_Indicator_Header;

namespace {
constexpr std::int32_t kNav1Signal = 49;
constexpr std::int32_t kNav2Signal = 58;
constexpr std::int32_t kDistanceReceiver = 355;

constexpr std::int32_t kEventSelectReceiver1 = 65787;
constexpr std::int32_t kEventSelectReceiver2 = 65788;
constexpr std::int32_t kEventHeadingDown = 65880;
constexpr std::int32_t kEventHeadingUp = 65879;

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
  std::int32_t host_number;  // 1 or 2 in token 355
  std::int32_t select_event;
  bool uses_gps_source;  // the GPS source withdraws the NAV 1 hatch only
};
constexpr Receiver kNav1 = {&Nav1_Power_On, kNav1FlagsToken, kNav1NoDistanceToken, 1,
                            kEventSelectReceiver1, true};
constexpr Receiver kNav2 = {&Nav2_Power_On, kNav2FlagsToken, kNav2NoDistanceToken, 2,
                            kEventSelectReceiver2, false};

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
  if (to_int(read_var(kDistanceReceiver)) == other.host_number)
    trigger_key_event(r.select_event, 0);
  if (r.uses_gps_source && gps_source()) return kNoDraw;
  return read_var(r.no_distance) < 0.0 || *r.power_on == 0 ? kDraw : kNoDraw;
}

double FSAPI homing_distance_drum(MovingImageElement *e) {
  return odometer_drum(*e, e->source_var_y.var_value.n);
}

// --- the element tree, each element the single child of the one before

extern GaugeElement *background_next[];
extern GaugeElement *card_next[];
extern GaugeElement *tenths_next[];
extern GaugeElement *units_next[];
extern GaugeElement *tens_next[];
extern GaugeElement *hundreds_next[];
extern GaugeElement *hatch_next[];
extern GaugeElement *nav2_flag_next[];
extern GaugeElement *nav1_flag_next[];
extern GaugeElement *nav2_pointer_next[];
extern GaugeElement *nav1_pointer_next[];
extern GaugeElement *heading_marker_next[];
extern GaugeElement *bezel_next[];

FailureRecord nav2_failures[] = {{20, 1, 0}, {15, 0, 0}, {21, 0, 0}, {0, 0, 0}};
FailureRecord nav1_failures[] = {{20, 1, 0}, {14, 0, 0}, {21, 0, 0}, {0, 0, 0}};

constexpr PixPoint kCentre = {150, 150};

// One degree per unit: straight up at 0, straight down at 180.
NonlinearityEntry bearing_table[] = {table_point(0, 150, 50), table_point(180, 150, 250)};
// The knob turns half a turn per 30 degrees.
NonlinearityEntry knob_table[] = {table_point(0, 268, 257), table_point(30, 268, 297)};

constexpr NeedleElement pointer(std::int32_t bitmap, PixPoint pivot, GaugeElement **next,
                                FailureRecord *failures, std::int32_t token, NeedleCallback cb) {
  return needle({.bitmap = bitmap,
                 .pos = kCentre,
                 .flags = 0x4083,
                 .next = next,
                 .failures = failures,
                 .gauge = kSelf,
                 .pivot = pivot,
                 .token = token,
                 .callback = cb,
                 .table = table(bearing_table)});
}

constexpr MovingImageElement drum(PixPoint pos, GaugeElement **next, double place, double span,
                                  double range) {
  return window_drum({.bitmap = 2080,
                      .pos = pos,
                      .next = next,
                      .failures = distance_window_failures,
                      .gauge = kSelf,
                      .token = kDistanceToken,
                      .place = place,
                      .span = span,
                      .range = range,
                      .callback = homing_distance_drum});
}

constexpr IconElement lamp(std::int32_t bitmap, PixPoint pos, GaugeElement **next,
                           std::int32_t token, IconCallback cb) {
  return icon({.bitmap = bitmap,
               .pos = pos,
               .flags = 0x4003,
               .next = next,
               .gauge = kSelf,
               .token = token,
               .callback = cb});
}

StaticImageElement background =
    static_image({.bitmap = 2000, .flags = 0x3, .next = background_next, .gauge = kSelf});
SpriteElement card = compass_card({.bitmap = 2010,
                                   .pos = {20, 20},
                                   .centre = kCentre,
                                   .next = card_next,
                                   .failures = compass_failures,
                                   .gauge = kSelf});
MovingImageElement tenths = drum({170, 92}, tenths_next, 0.1, 0.01, 1);
MovingImageElement units = drum({150, 92}, units_next, 1, 0.01, 10);
MovingImageElement tens = drum({131, 92}, tens_next, 10, 0.01, 100);
// The hundreds drum rolls over a whole mile.
MovingImageElement hundreds = drum({112, 92}, hundreds_next, 100, 1, 1000);
IconElement hatch = lamp(2070, {111, 97}, hatch_next, kNav1Signal, homing_distance_hatch);
IconElement nav2_flag = lamp(2060, {186, 137}, nav2_flag_next, kNav2Signal, homing_flag<kNav2>);
IconElement nav1_flag = lamp(2060, {81, 137}, nav1_flag_next, kNav1Signal, homing_flag<kNav1>);
NeedleElement nav2_pointer = pointer(2050, {105, 17}, nav2_pointer_next, nav2_failures,
                                     kNav2BearingToken, homing_pointer<kNav2>);
NeedleElement nav1_pointer = pointer(2040, {105, 10}, nav1_pointer_next, nav1_failures,
                                     kNav1BearingToken, homing_pointer<kNav1>);
NeedleElement heading_marker = pointer(2030, {0, 15}, heading_marker_next, compass_failures,
                                       kSelectedHeadingToken, homing_heading_marker);
StaticImageElement bezel =
    static_image({.bitmap = 2090, .flags = 0x83, .next = bezel_next, .gauge = kSelf});
NeedleElement heading_knob = needle({.bitmap = 2020,
                                     .pos = {268, 277},
                                     .flags = 0x83,
                                     .gauge = kSelf,
                                     .pivot = {23, 23},
                                     .token = kSelectedHeadingToken,
                                     .table = table(knob_table)});

GaugeElement *background_next[] = {el(card), nullptr};
GaugeElement *card_next[] = {el(tenths), nullptr};
GaugeElement *tenths_next[] = {el(units), nullptr};
GaugeElement *units_next[] = {el(tens), nullptr};
GaugeElement *tens_next[] = {el(hundreds), nullptr};
GaugeElement *hundreds_next[] = {el(hatch), nullptr};
GaugeElement *hatch_next[] = {el(nav2_flag), nullptr};
GaugeElement *nav2_flag_next[] = {el(nav1_flag), nullptr};
GaugeElement *nav1_flag_next[] = {el(nav2_pointer), nullptr};
GaugeElement *nav2_pointer_next[] = {el(nav1_pointer), nullptr};
GaugeElement *nav1_pointer_next[] = {el(heading_marker), nullptr};
GaugeElement *heading_marker_next[] = {el(bezel), nullptr};
GaugeElement *bezel_next[] = {el(heading_knob), nullptr};
GaugeElement *elements[] = {el(background), nullptr};

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpHoming),
    mouse_parent({245, 254, 46, 46}, kHelpHeadingKnob),
    mouse_event({0, 0, 23, 46}, kCursorDownArrow, kLeftRepeat, kEventHeadingDown),
    mouse_event({23, 0, 23, 46}, kCursorUpArrow, kLeftRepeat, kEventHeadingUp),
    mouse_end_parent(),
    mouse_parent({112, 92, 78, 19}, kHelpDistance),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Homing_Indicator_Header = gauge_header(
    {.name = "Homing_Indicator", .elements = elements, .size_mm = 120, .mouse = mouse});
