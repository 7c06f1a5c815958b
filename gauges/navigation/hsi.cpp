// HSI: the horizontal situation indicator. A compass card turned by the
// heading; the heading marker; the NAV 1 course pointer, deviation bar and
// TO/FROM triangle; the glide-slope pointer; the ADF (green) and NAV 2 (pink)
// bearing pointers; a distance window and a course window of rolling drums;
// the HEADING, NAV and GS flags and a hatch over the distance window; the HDG
// and COURSE knobs (left half down, right half up; a left click steps one
// degree, a right click ten, repeating while held). Without power or with a
// failure nothing blanks: the pointers park at 90 degrees, the bar centres,
// the triangle and glide-slope pointer hide, and the flags and hatch show.
// Reads: kVarHeading; kVarNav1Course (knob and window); kVarHsiCourse (the
// course drawn); kVarSelectedHeading; kVarHsiLateralDeviation and
// kVarHsiGlideSlopeDeviation and their validity, kVarHsiLateralValid and
// kVarHsiGlideSlopeValid; kVarHsiToFrom; kVarDistance; kVarNav1NoDistance;
// kVarAdfBearing and kVarNav2Bearing; kVarNav2Flags; the failures
// kVarAdfFailure, kVarElectricalFailure, kVarHeadingFailure and
// kVarNavReceiverFailure; kVarGpsSource; kVarBusVoltage (20 V, the NAV flag
// 10 V).
// Sends: kEventSelectedHeadingSet and kEventNav1CourseSet, value = the new
// angle in whole degrees.
// Module-wide: reads Nav1_Power_On, Nav2_Power_On, Adf_Power_On.
#include <cmath>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/odometer.h"
#include "frame/services.h"
#include "gauges/navigation/navigation_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader HSI_Header;

namespace {
constexpr std::int32_t kHelpHsi = 43830;
constexpr std::int32_t kTooltipHsi = 12436;
constexpr std::int32_t kHelpHeadingKnob = 43827;
constexpr std::int32_t kHelpCourseKnob = 43832;
constexpr std::int32_t kHelpDistance = 42756;
constexpr GaugeHeader *kSelf = &HSI_Header;

// The NAV flag's own, lower, threshold.
constexpr double kNavFlagVolts = 10.0;
// From this distance the window shows whole miles without the point.
constexpr double kWholeMiles = 100.0;
// Pixels the deviation bar moves at full deflection, and the glide-slope pointer.
constexpr double kBarPixels = -45.0;
constexpr double kGlideSlopePixels = 38.0;

constexpr double kDraw = 0.0;
constexpr double kNoDraw = -1.0;

// NAV 1 guidance (course pointer and deviation bar) needs the receiver and the bus.
bool nav1_guidance() { return Nav1_Power_On != 0 && bus_powered(); }

// --- element callbacks

double FSAPI hsi_heading_marker(NeedleElement *e) {
  return from_heading(e->source_var.var_value.n);
}

double FSAPI hsi_nav2_pointer(NeedleElement *e) {
  if (!bus_powered() || !vor_bearing_usable(Nav2_Power_On, kVarNav2Flags)) return kParkedBearing;
  return e->source_var.var_value.n;
}

double FSAPI hsi_adf_pointer(NeedleElement *e) {
  if (Adf_Power_On == 0 || !bus_powered() || host_flag_set(kVarAdfFailure)) return kParkedBearing;
  return e->source_var.var_value.n;
}

double FSAPI hsi_course_pointer(NeedleElement *e) {
  return nav1_guidance() ? from_heading(e->source_var.var_value.n) : kParkedBearing;
}

double FSAPI hsi_to_from(NeedleElement *e) {
  double to_from = e->source_var.var_value.n;
  set_hidden(e->header, Nav1_Power_On == 0 || to_from == 0.0);
  double angle = from_heading(read_var(kVarHsiCourse));
  return to_from == -1.0 ? angle + 180.0 : angle;
}

double FSAPI hsi_deviation_offset(SpriteElement *e) {
  return nav1_guidance() ? e->source_var_x.var_value.n : 0.0;
}

double FSAPI hsi_deviation_angle(SpriteElement *e) {
  return nav1_guidance() ? from_heading(e->source_var_0.var_value.n) : kParkedBearing;
}

double FSAPI hsi_glide_slope(SliderElement *e) {
  set_hidden(e->header, Nav1_Power_On == 0 || !(read_var(kVarHsiGlideSlopeValid) >= 0.5));
  return e->source_var_y.var_value.n;
}

double FSAPI hsi_course_drum(MovingImageElement *e) {
  return odometer_drum(*e, wrapped(e->source_var_y.var_value.n, 360.0));
}

// Tenths below 100 NM, whole miles from there.
double FSAPI hsi_distance_drum(MovingImageElement *e) {
  double miles = e->source_var_y.var_value.n;
  return odometer_drum(*e, miles >= kWholeMiles ? miles / 10.0 : miles);
}

double FSAPI hsi_distance_point(IconElement *e) {
  return e->source_var.var_value.n < kWholeMiles ? kDraw : kNoDraw;
}

// The hatch tests power before it looks at the source: with GPS on a dead
// bus the window stays closed.
double FSAPI hsi_distance_hatch(IconElement *) {
  if (nav_electrics_lost()) return kDraw;
  if (gps_source()) return kNoDraw;
  return read_var(kVarNav1NoDistance) < 0.0 || Nav1_Power_On == 0 ? kDraw : kNoDraw;
}

// Follows the host's validity value; GPS guidance skips the receiver and
// bus tests.
double FSAPI hsi_nav_flag(IconElement *e) {
  if (host_flag_set(kVarElectricalFailure)) return kDraw;
  if (!gps_source() && (host_flag_set(kVarNavReceiverFailure) || !bus_powered(kNavFlagVolts)))
    return kDraw;
  return e->source_var.var_value.n;
}

double FSAPI hsi_glide_slope_flag(IconElement *e) {
  if (Nav1_Power_On == 0 || host_flag_set(kVarElectricalFailure)) return kDraw;
  if (!gps_source() && (host_flag_set(kVarNavReceiverFailure) || !bus_powered())) return kDraw;
  return e->source_var.var_value.n == 1.0 ? kNoDraw : kDraw;
}

double FSAPI hsi_heading_flag(IconElement *e) {
  bool failed = to_int(e->source_var.var_value.n) != 0 || host_flag_set(kVarElectricalFailure);
  return failed ? kDraw : kNoDraw;
}

// --- mouse callbacks

// The knob's new angle: the host's reading truncated to whole degrees, moved
// by step and kept within 0 to 359.
std::int32_t step_degrees(double reading, std::int32_t step) {
  std::int32_t n = to_int(reading) % 360;
  return ((n + step) % 360 + 360) % 360;
}

struct KnobHalf {
  std::int32_t token;
  std::int32_t event;
  std::int32_t direction;  // -1 the left half, +1 the right half
};
enum KnobIndex { kHeadingDown, kHeadingUp, kCourseDown, kCourseUp };
constexpr KnobHalf kKnobs[] = {
    {kVarSelectedHeading, kEventSelectedHeadingSet, -1},
    {kVarSelectedHeading, kEventSelectedHeadingSet, +1},
    {kVarNav1Course, kEventNav1CourseSet, -1},
    {kVarNav1Course, kEventNav1CourseSet, +1},
};
constexpr std::int32_t kLeftStep = 1;
constexpr std::int32_t kRightStep = 10;

template <KnobIndex I>
std::int32_t FSAPI hsi_knob(MouseCallbackRecord *, std::uint32_t flags) {
  const KnobHalf &k = kKnobs[I];
  std::int32_t step = 0;
  if (flags & kMouseLeftSingle)
    step = kLeftStep;
  else if (flags & kMouseRightSingle)
    step = kRightStep;
  else
    return 0;
  trigger_key_event(k.event, to_event_value(step_degrees(read_var(k.token), k.direction * step)));
  return 0;
}

// --- the elements

FailureRecord nav1_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionFreeze),
    failure(kFailSystemElectricalAvionics, kFailActionZero),
    failure(kFailGaugeGyroHeading, kFailActionFreeze),
    failure(kFailGaugeNavigationVor1, kFailActionZero),
    kFailuresEnd,
};
FailureRecord glide_slope_failures[] = {
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeNavigationVor1, kFailActionNoDraw),
    kFailuresEnd,
};

constexpr PixPoint kCentre = {155, 145};

// Bearings: straight up at 0, straight down at 180 degrees.
NonlinearityEntry bearing_table[] = {table_point(0, 155, 45), table_point(180, 155, 245)};
// Knobs: half a turn per 50 degrees.
NonlinearityEntry course_knob_table[] = {table_point(0, 252, 226), table_point(50, 252, 266)};
NonlinearityEntry heading_knob_table[] = {table_point(0, 53, 226), table_point(50, 53, 266)};

// A drum of the course or distance window: the caller names its place.
constexpr MovingImageElement window_drum(DrumSpec d) {
  d.bitmap = 3370;
  d.failures = distance_window_failures;
  d.gauge = kSelf;
  return drum(d);
}

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 3210, .flags = kImageStandard, .gauge = kSelf});
  SpriteElement card = compass_card({.bitmap = 3220,
                                     .pos = {55, 45},
                                     .centre = kCentre,
                                     .failures = compass_failures,
                                     .gauge = kSelf});
  NeedleElement heading_marker = pointer({.bitmap = 3240,
                                          .pos = kCentre,
                                          .failures = compass_failures,
                                          .gauge = kSelf,
                                          .pivot = {11, 103},
                                          .token = kVarSelectedHeading,
                                          .callback = hsi_heading_marker});
  NeedleElement nav2_pointer = pointer({.bitmap = 3340,
                                        .pos = kCentre,
                                        .failures = nav2_pointer_failures,
                                        .gauge = kSelf,
                                        .pivot = {105, 12},
                                        .token = kVarNav2Bearing,
                                        .callback = hsi_nav2_pointer,
                                        .table = table(bearing_table)});
  NeedleElement adf_pointer = pointer({.bitmap = 3330,
                                       .pos = kCentre,
                                       .gauge = kSelf,
                                       .pivot = {84, 13},
                                       .token = kVarAdfBearing,
                                       .callback = hsi_adf_pointer,
                                       .table = table(bearing_table)});
  NeedleElement course_pointer = pointer({.bitmap = 3250,
                                          .pos = kCentre,
                                          .failures = nav1_failures,
                                          .gauge = kSelf,
                                          .pivot = {100, 100},
                                          .token = kVarHsiCourse,
                                          .callback = hsi_course_pointer});
  NeedleElement to_from = pointer({.bitmap = 3230,
                                   .pos = kCentre,
                                   .failures = nav1_failures,
                                   .gauge = kSelf,
                                   .pivot = {20, 35},
                                   .token = kVarHsiToFrom,
                                   .callback = hsi_to_from});
  SpriteElement deviation_bar =
      sprite({.bitmap = 3260,
              .pos = {55, 45},
              .flags = kImageLitSmooth,
              .failures = nav1_failures,
              .gauge = kSelf,
              .centre = kCentre,
              .x = {.token = kVarHsiLateralDeviation, .scale = kBarPixels},
              .y = {.scale = 1.0},
              .rotation = {.token = kVarHsiCourse, .scale = -1.0},
              .x_callback = hsi_deviation_offset,
              .rotation_callback = hsi_deviation_angle});
  SliderElement glide_slope =
      slider({.bitmap = 3310,
              .pos = {20, 139},
              .flags = kImageLitSmooth,
              .failures = glide_slope_failures,
              .gauge = kSelf,
              .x = {.token = kVarHsiGlideSlopeValid, .scale = 1.0},
              .y = {.token = kVarHsiGlideSlopeDeviation, .scale = kGlideSlopePixels},
              .y_callback = hsi_glide_slope});
  MovingImageElement course_units = window_drum({.pos = {277, 42},
                                                 .token = kVarNav1Course,
                                                 .place = 1,
                                                 .span = 0.1,
                                                 .range = 10,
                                                 .callback = hsi_course_drum});
  MovingImageElement course_tens = window_drum({.pos = {262, 42},
                                                .token = kVarNav1Course,
                                                .place = 10,
                                                .span = 1,
                                                .range = 100,
                                                .callback = hsi_course_drum});
  MovingImageElement course_hundreds = window_drum({.pos = {247, 42},
                                                    .token = kVarNav1Course,
                                                    .place = 100,
                                                    .span = 1,
                                                    .range = 1000,
                                                    .callback = hsi_course_drum});
  IconElement distance_point = flag({.bitmap = 3380,
                                     .pos = {51, 42},
                                     .gauge = kSelf,
                                     .token = kVarDistance,
                                     .callback = hsi_distance_point});
  MovingImageElement distance_tenths = window_drum({.pos = {54, 42},
                                                    .token = kVarDistance,
                                                    .place = 0.1,
                                                    .span = 0.01,
                                                    .range = 1,
                                                    .callback = hsi_distance_drum});
  MovingImageElement distance_units = window_drum({.pos = {38, 42},
                                                   .token = kVarDistance,
                                                   .place = 1,
                                                   .span = 0.01,
                                                   .range = 10,
                                                   .callback = hsi_distance_drum});
  MovingImageElement distance_tens = window_drum({.pos = {23, 42},
                                                  .token = kVarDistance,
                                                  .place = 10,
                                                  .span = 0.01,
                                                  .range = 100,
                                                  .callback = hsi_distance_drum});
  IconElement hatch = flag({.bitmap = 3350,
                            .pos = {23, 53},
                            .gauge = kSelf,
                            .token = kVarHsiLateralValid,
                            .callback = hsi_distance_hatch});
  IconElement nav_flag = flag({.bitmap = 3290,
                               .pos = {270, 100},
                               .gauge = kSelf,
                               .token = kVarHsiLateralValid,
                               .callback = hsi_nav_flag});
  IconElement glide_slope_flag = flag({.bitmap = 3320,
                                       .pos = {26, 100},
                                       .gauge = kSelf,
                                       .token = kVarHsiGlideSlopeValid,
                                       .callback = hsi_glide_slope_flag});
  IconElement heading_flag = flag({.bitmap = 3300,
                                   .pos = {108, 25},
                                   .gauge = kSelf,
                                   .token = kVarHeadingFailure,
                                   .callback = hsi_heading_flag});
  StaticImageElement bezel =
      static_image({.bitmap = 3360, .flags = kImageStandard, .gauge = kSelf});
  NeedleElement course_knob = needle({.bitmap = 3280,
                                      .pos = {252, 246},
                                      .flags = kImageSmooth,
                                      .gauge = kSelf,
                                      .pivot = {22, 22},
                                      .token = kVarNav1Course,
                                      .table = table(course_knob_table)});
  NeedleElement heading_knob = needle({.bitmap = 3270,
                                       .pos = {53, 246},
                                       .flags = kImageSmooth,
                                       .gauge = kSelf,
                                       .pivot = {22, 22},
                                       .token = kVarSelectedHeading,
                                       .table = table(heading_knob_table)});
};
constinit DrawOrder<
    Parts, &Parts::background, &Parts::card, &Parts::heading_marker, &Parts::nav2_pointer,
    &Parts::adf_pointer, &Parts::course_pointer, &Parts::to_from, &Parts::deviation_bar,
    &Parts::glide_slope, &Parts::course_units, &Parts::course_tens, &Parts::course_hundreds,
    &Parts::distance_point, &Parts::distance_tenths, &Parts::distance_units, &Parts::distance_tens,
    &Parts::hatch, &Parts::nav_flag, &Parts::glide_slope_flag, &Parts::heading_flag, &Parts::bezel,
    &Parts::course_knob, &Parts::heading_knob>
    tree;

// Left or right click, repeating while held.
constexpr std::uint32_t kEitherRepeat = kMouseLeftSingle | kMouseRightSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpHsi),
    mouse_tooltip(kTooltipHsi),
    mouse_parent({31, 224, 44, 44}, kHelpHeadingKnob),
    mouse_callback({0, 0, 22, 44}, kCursorDownArrow, kEitherRepeat, hsi_knob<kHeadingDown>),
    mouse_callback({22, 0, 22, 44}, kCursorUpArrow, kEitherRepeat, hsi_knob<kHeadingUp>),
    mouse_end_parent(),
    mouse_parent({230, 224, 44, 44}, kHelpCourseKnob),
    mouse_callback({0, 0, 22, 44}, kCursorDownArrow, kEitherRepeat, hsi_knob<kCourseDown>),
    mouse_callback({22, 0, 22, 44}, kCursorUpArrow, kEitherRepeat, hsi_knob<kCourseUp>),
    mouse_end_parent(),
    mouse_parent({23, 42, 44, 33}, kHelpDistance),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader HSI_Header =
    gauge_header<&HSI_Header>({.name = "HSI", .elements = tree.elements, .size_mm = 120, .mouse = mouse});
