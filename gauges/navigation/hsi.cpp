// HSI: the horizontal situation indicator. A compass card turned by the
// heading; the heading marker; the NAV 1 course pointer, deviation bar and
// TO/FROM triangle; the glide-slope pointer; the ADF (green) and NAV 2 (pink)
// bearing pointers; a distance window and a course window of rolling drums;
// the HEADING, NAV and GS flags and a hatch over the distance window; the HDG
// and COURSE knobs (left half down, right half up; a left click steps one
// degree, a right click ten, repeating while held). Without power or with a
// failure nothing blanks: the pointers park at 90 degrees, the bar centres,
// the triangle and glide-slope pointer hide, and the flags and hatch show.
// Reads: 84 heading; 45 NAV 1 course (knob and window); 854 course drawn;
// 855 selected heading; 849/850 lateral and glide-slope deviation; 851/852
// their validity; 853 TO/FROM; 372 distance; 32 NAV 1 without distance;
// 39 ADF and 59 NAV 2 bearing; 55 NAV 2 flags; 273 ADF, 279 electrical,
// 282 heading-system and 285 navigation-receiver failures; 848 GPS source;
// 755 bus voltage (20 V, the NAV flag 10 V).
// Sends: 66042 (selected heading) and 65716 (NAV 1 course), value = the new
// angle in whole degrees.
// Module-wide: reads Nav1_Power_On, Nav2_Power_On, Adf_Power_On.
#include <cmath>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/navigation/navigation_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader HSI_Header;

namespace {
constexpr std::int32_t kCourseToken = 45;
constexpr std::int32_t kDrawnCourseToken = 854;
constexpr std::int32_t kLateralDeviation = 849;
constexpr std::int32_t kGlideSlopeDeviation = 850;
constexpr std::int32_t kLateralValid = 851;
constexpr std::int32_t kGlideSlopeValid = 852;
constexpr std::int32_t kToFrom = 853;
constexpr std::int32_t kAdfFailure = 273;
constexpr std::int32_t kHeadingFailure = 282;

constexpr std::int32_t kEventSetHeading = 66042;
constexpr std::int32_t kEventSetCourse = 65716;

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

void set_hidden(GaugeElement &e, bool hidden) {
  auto flags = static_cast<std::uint32_t>(e.image_flags);
  flags = hidden ? (flags | kImageHidden) : (flags & ~kImageHidden);
  e.image_flags = static_cast<std::int32_t>(flags);
}

// NAV 1 guidance (course pointer and deviation bar) needs the receiver and the bus.
bool nav1_guidance() { return Nav1_Power_On != 0 && bus_powered(); }

// --- element callbacks

double FSAPI hsi_heading_marker(NeedleElement *e) {
  return from_heading(e->source_var.var_value.n);
}

double FSAPI hsi_nav2_pointer(NeedleElement *e) {
  if (!bus_powered() || !vor_bearing_usable(Nav2_Power_On, kNav2FlagsToken))
    return kParkedBearing;
  return e->source_var.var_value.n;
}

double FSAPI hsi_adf_pointer(NeedleElement *e) {
  if (Adf_Power_On == 0 || !bus_powered() || host_flag_set(kAdfFailure)) return kParkedBearing;
  return e->source_var.var_value.n;
}

double FSAPI hsi_course_pointer(NeedleElement *e) {
  return nav1_guidance() ? from_heading(e->source_var.var_value.n) : kParkedBearing;
}

double FSAPI hsi_to_from(NeedleElement *e) {
  double to_from = e->source_var.var_value.n;
  set_hidden(e->header, Nav1_Power_On == 0 || to_from == 0.0);
  double angle = from_heading(read_var(kDrawnCourseToken));
  return to_from == -1.0 ? angle + 180.0 : angle;
}

double FSAPI hsi_deviation_offset(SpriteElement *e) {
  return nav1_guidance() ? e->source_var_x.var_value.n : 0.0;
}

double FSAPI hsi_deviation_angle(SpriteElement *e) {
  return nav1_guidance() ? from_heading(e->source_var_0.var_value.n) : kParkedBearing;
}

double FSAPI hsi_glide_slope(SliderElement *e) {
  set_hidden(e->header, Nav1_Power_On == 0 || !(read_var(kGlideSlopeValid) >= 0.5));
  return e->source_var_y.var_value.n;
}

double FSAPI hsi_course_drum(MovingImageElement *e) {
  return odometer_drum(*e, std::fmod(e->source_var_y.var_value.n, 360.0));
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
  return read_var(kNav1NoDistanceToken) < 0.0 || Nav1_Power_On == 0 ? kDraw : kNoDraw;
}

// Follows the host's validity value; GPS guidance skips the receiver and
// bus tests.
double FSAPI hsi_nav_flag(IconElement *e) {
  if (host_flag_set(kElectricalFailureToken)) return kDraw;
  if (!gps_source() &&
      (host_flag_set(kNavReceiverFailureToken) || !bus_powered(kNavFlagVolts)))
    return kDraw;
  return e->source_var.var_value.n;
}

double FSAPI hsi_glide_slope_flag(IconElement *e) {
  if (Nav1_Power_On == 0 || host_flag_set(kElectricalFailureToken)) return kDraw;
  if (!gps_source() &&
      (host_flag_set(kNavReceiverFailureToken) || !bus_powered()))
    return kDraw;
  return e->source_var.var_value.n == 1.0 ? kNoDraw : kDraw;
}

double FSAPI hsi_heading_flag(IconElement *e) {
  bool failed = to_int(e->source_var.var_value.n) != 0 || host_flag_set(kElectricalFailureToken);
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
    {kSelectedHeadingToken, kEventSetHeading, -1},
    {kSelectedHeadingToken, kEventSetHeading, +1},
    {kCourseToken, kEventSetCourse, -1},
    {kCourseToken, kEventSetCourse, +1},
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

// --- the element tree, each element the single child of the one before

extern GaugeElement *background_next[];
extern GaugeElement *card_next[];
extern GaugeElement *heading_marker_next[];
extern GaugeElement *nav2_pointer_next[];
extern GaugeElement *adf_pointer_next[];
extern GaugeElement *course_pointer_next[];
extern GaugeElement *to_from_next[];
extern GaugeElement *deviation_bar_next[];
extern GaugeElement *glide_slope_next[];
extern GaugeElement *course_units_next[];
extern GaugeElement *course_tens_next[];
extern GaugeElement *course_hundreds_next[];
extern GaugeElement *distance_point_next[];
extern GaugeElement *distance_tenths_next[];
extern GaugeElement *distance_units_next[];
extern GaugeElement *distance_tens_next[];
extern GaugeElement *hatch_next[];
extern GaugeElement *nav_flag_next[];
extern GaugeElement *glide_slope_flag_next[];
extern GaugeElement *heading_flag_next[];
extern GaugeElement *bezel_next[];
extern GaugeElement *course_knob_next[];

FailureRecord nav2_failures[] = {{20, 1, 0}, {15, 0, 0}, {21, 0, 0}, {0, 0, 0}};
FailureRecord nav1_failures[] = {{20, 1, 0}, {21, 2, 0}, {11, 1, 0}, {14, 2, 0}, {0, 0, 0}};
FailureRecord glide_slope_failures[] = {{21, 3, 0}, {14, 3, 0}, {0, 0, 0}};

constexpr PixPoint kCentre = {155, 145};

// Bearings: straight up at 0, straight down at 180 degrees.
NonlinearityEntry bearing_table[] = {table_point(0, 155, 45), table_point(180, 155, 245)};
// Knobs: half a turn per 50 degrees.
NonlinearityEntry course_knob_table[] = {table_point(0, 252, 226), table_point(50, 252, 266)};
NonlinearityEntry heading_knob_table[] = {table_point(0, 53, 226), table_point(50, 53, 266)};

constexpr NeedleElement pointer(std::int32_t bitmap, PixPoint pivot, GaugeElement **next,
                                FailureRecord *failures, std::int32_t token, NeedleCallback cb,
                                TableRef t = {}) {
  return needle({.bitmap = bitmap,
                 .pos = kCentre,
                 .flags = 0x4083,
                 .next = next,
                 .failures = failures,
                 .gauge = kSelf,
                 .pivot = pivot,
                 .token = token,
                 .callback = cb,
                 .table = t});
}

constexpr MovingImageElement drum(PixPoint pos, GaugeElement **next, std::int32_t token,
                                  double place, double span, double range,
                                  MovingImageCallback cb) {
  return window_drum({.bitmap = 3370,
                      .pos = pos,
                      .next = next,
                      .failures = distance_window_failures,
                      .gauge = kSelf,
                      .token = token,
                      .place = place,
                      .span = span,
                      .range = range,
                      .callback = cb});
}

constexpr IconElement flag(std::int32_t bitmap, PixPoint pos, GaugeElement **next,
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
    static_image({.bitmap = 3210, .flags = 0x3, .next = background_next, .gauge = kSelf});
SpriteElement card = compass_card({.bitmap = 3220,
                                   .pos = {55, 45},
                                   .centre = kCentre,
                                   .next = card_next,
                                   .failures = compass_failures,
                                   .gauge = kSelf});
NeedleElement heading_marker = pointer(3240, {11, 103}, heading_marker_next, compass_failures,
                                       kSelectedHeadingToken, hsi_heading_marker);
NeedleElement nav2_pointer = pointer(3340, {105, 12}, nav2_pointer_next, nav2_failures,
                                     kNav2BearingToken, hsi_nav2_pointer, table(bearing_table));
NeedleElement adf_pointer = pointer(3330, {84, 13}, adf_pointer_next, nullptr,
                                    kAdfBearingToken, hsi_adf_pointer, table(bearing_table));
NeedleElement course_pointer = pointer(3250, {100, 100}, course_pointer_next, nav1_failures,
                                       kDrawnCourseToken, hsi_course_pointer);
NeedleElement to_from =
    pointer(3230, {20, 35}, to_from_next, nav1_failures, kToFrom, hsi_to_from);
SpriteElement deviation_bar =
    sprite({.bitmap = 3260,
            .pos = {55, 45},
            .flags = 0x4083,
            .next = deviation_bar_next,
            .failures = nav1_failures,
            .gauge = kSelf,
            .centre = kCentre,
            .x = {.token = kLateralDeviation, .scale = kBarPixels},
            .y = {.scale = 1.0},
            .rotation = {.token = kDrawnCourseToken, .scale = -1.0},
            .x_callback = hsi_deviation_offset,
            .rotation_callback = hsi_deviation_angle});
SliderElement glide_slope = slider({.bitmap = 3310,
                                    .pos = {20, 139},
                                    .flags = 0x4083,
                                    .next = glide_slope_next,
                                    .failures = glide_slope_failures,
                                    .gauge = kSelf,
                                    .x = {.token = kGlideSlopeValid, .scale = 1.0},
                                    .y = {.token = kGlideSlopeDeviation, .scale = kGlideSlopePixels},
                                    .y_callback = hsi_glide_slope});
MovingImageElement course_units =
    drum({277, 42}, course_units_next, kCourseToken, 1, 0.1, 10, hsi_course_drum);
MovingImageElement course_tens =
    drum({262, 42}, course_tens_next, kCourseToken, 10, 1, 100, hsi_course_drum);
MovingImageElement course_hundreds =
    drum({247, 42}, course_hundreds_next, kCourseToken, 100, 1, 1000, hsi_course_drum);
IconElement distance_point =
    flag(3380, {51, 42}, distance_point_next, kDistanceToken, hsi_distance_point);
MovingImageElement distance_tenths =
    drum({54, 42}, distance_tenths_next, kDistanceToken, 0.1, 0.01, 1, hsi_distance_drum);
MovingImageElement distance_units =
    drum({38, 42}, distance_units_next, kDistanceToken, 1, 0.01, 10, hsi_distance_drum);
MovingImageElement distance_tens =
    drum({23, 42}, distance_tens_next, kDistanceToken, 10, 0.01, 100, hsi_distance_drum);
IconElement hatch = flag(3350, {23, 53}, hatch_next, kLateralValid, hsi_distance_hatch);
IconElement nav_flag = flag(3290, {270, 100}, nav_flag_next, kLateralValid, hsi_nav_flag);
IconElement glide_slope_flag =
    flag(3320, {26, 100}, glide_slope_flag_next, kGlideSlopeValid, hsi_glide_slope_flag);
IconElement heading_flag =
    flag(3300, {108, 25}, heading_flag_next, kHeadingFailure, hsi_heading_flag);
StaticImageElement bezel =
    static_image({.bitmap = 3360, .flags = 0x3, .next = bezel_next, .gauge = kSelf});
NeedleElement course_knob = needle({.bitmap = 3280,
                                    .pos = {252, 246},
                                    .flags = 0x83,
                                    .next = course_knob_next,
                                    .gauge = kSelf,
                                    .pivot = {22, 22},
                                    .token = kCourseToken,
                                    .table = table(course_knob_table)});
NeedleElement heading_knob = needle({.bitmap = 3270,
                                     .pos = {53, 246},
                                     .flags = 0x83,
                                     .gauge = kSelf,
                                     .pivot = {22, 22},
                                     .token = kSelectedHeadingToken,
                                     .table = table(heading_knob_table)});

GaugeElement *background_next[] = {el(card), nullptr};
GaugeElement *card_next[] = {el(heading_marker), nullptr};
GaugeElement *heading_marker_next[] = {el(nav2_pointer), nullptr};
GaugeElement *nav2_pointer_next[] = {el(adf_pointer), nullptr};
GaugeElement *adf_pointer_next[] = {el(course_pointer), nullptr};
GaugeElement *course_pointer_next[] = {el(to_from), nullptr};
GaugeElement *to_from_next[] = {el(deviation_bar), nullptr};
GaugeElement *deviation_bar_next[] = {el(glide_slope), nullptr};
GaugeElement *glide_slope_next[] = {el(course_units), nullptr};
GaugeElement *course_units_next[] = {el(course_tens), nullptr};
GaugeElement *course_tens_next[] = {el(course_hundreds), nullptr};
GaugeElement *course_hundreds_next[] = {el(distance_point), nullptr};
GaugeElement *distance_point_next[] = {el(distance_tenths), nullptr};
GaugeElement *distance_tenths_next[] = {el(distance_units), nullptr};
GaugeElement *distance_units_next[] = {el(distance_tens), nullptr};
GaugeElement *distance_tens_next[] = {el(hatch), nullptr};
GaugeElement *hatch_next[] = {el(nav_flag), nullptr};
GaugeElement *nav_flag_next[] = {el(glide_slope_flag), nullptr};
GaugeElement *glide_slope_flag_next[] = {el(heading_flag), nullptr};
GaugeElement *heading_flag_next[] = {el(bezel), nullptr};
GaugeElement *bezel_next[] = {el(course_knob), nullptr};
GaugeElement *course_knob_next[] = {el(heading_knob), nullptr};
GaugeElement *elements[] = {el(background), nullptr};

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
    gauge_header({.name = "HSI", .elements = elements, .size_mm = 120, .mouse = mouse});
