// Attitude: the attitude director indicator. The horizon moves with pitch
// (stopping at 40 degrees) and turns with bank, under a bank pointer; the
// flight-director bars show the commanded pitch and bank while the host's
// flight director is active; the localizer and glide-slope pointers and
// flags follow NAV 1; the rising runway shows the radio height below 500 ft
// on a localizer approach; the speed pointer shows the airspeed against the
// reference (20 kt at most either way); a rate-of-turn pointer, an
// inclinometer ball, the decision-height lamp and a failure flag. No gauge
// callback; nothing is clicked.
// Reads: 78 pitch and 80 bank (degrees); 69 ball; 70 rate of turn (256 per
// dial unit); 61 and 116 indicated and reference airspeed (knots), 123 the
// speed pointer's enable; 792 flight director active (1.0), 793 and 794 its
// pitch and bank commands (degrees); 849 and 850 lateral and glide-slope
// deviation, 851 and 852 their validity; 848 navigation-test override;
// 46 NAV 1 flags (bit 0x80 lets the runway show); 614 and 615 radio and
// decision height (metres); 60 the host state that darkens the DH lamp at
// 1.0; 612 the reference bars; 285 navigation-receiver, 279 instrument, 276
// attitude and 288 vacuum failures; 755 bus voltage (flags from 10 V).
// Sends: no key events.
// Module-wide: reads Nav1_Power_On and Radio_Altimeter_On.
#include <cmath>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/flight/radio_altimeter_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader Attitude_Header;

namespace {
constexpr std::int32_t kPitch = 78;
constexpr std::int32_t kBank = 80;
constexpr std::int32_t kBall = 69;
constexpr std::int32_t kTurnRate = 70;
constexpr std::int32_t kIndicatedAirspeed = 61;
constexpr std::int32_t kReferenceAirspeed = 116;
constexpr std::int32_t kSpeedPointerEnable = 123;
constexpr std::int32_t kFlightDirectorActive = 792;
constexpr std::int32_t kFlightDirectorPitch = 793;
constexpr std::int32_t kFlightDirectorBank = 794;
constexpr std::int32_t kLateralDeviation = 849;
constexpr std::int32_t kGlideSlopeDeviation = 850;
constexpr std::int32_t kLateralValid = 851;
constexpr std::int32_t kGlideSlopeValid = 852;
constexpr std::int32_t kNavigationTest = 848;
constexpr std::int32_t kNav1Flags = 46;
constexpr std::int32_t kRadioHeight = 614;
constexpr std::int32_t kDecisionHeight = 615;
constexpr std::int32_t kSystemsOn = 60;
constexpr std::int32_t kAttitudeBars = 612;
constexpr std::int32_t kNavReceiverFailure = 285;
constexpr std::int32_t kInstrumentFailure = 279;
constexpr std::int32_t kAttitudeFailure = 276;
constexpr std::int32_t kVacuumFailure = 288;
constexpr std::int32_t kBusVoltage = 755;

constexpr std::int32_t kHelpAttitude = 43789;
constexpr std::int32_t kHelpBall = 43873;
constexpr GaugeHeader *kSelf = &Attitude_Header;

constexpr double kPitchStop = 40.0;          // degrees
constexpr double kBarTravel = 30.0;          // pixels, either bar
constexpr double kSpeedStop = 20.0;          // knots
constexpr double kRunwayBelow = 152.5;       // metres, 500 ft
constexpr std::uint32_t kRunwayAllowed = 0x80;  // in the NAV 1 flags
constexpr double kFlagVolts = 10.0;
constexpr double kTurnRateUnit = 0.00390625;  // 1/256

constexpr double kDraw = 0.0;
constexpr double kNoDraw = -1.0;

// Held within -bound .. bound; no reading centres it.
double limited(double v, double bound) {
  if (v != v) return 0.0;
  return v > bound ? bound : v < -bound ? -bound : v;
}

// A flag the host gives as an integer: nonzero is set.
bool flag_set(double v) { return to_int(v) != 0; }

void set_hidden(GaugeElement &e, bool hidden) {
  auto flags = static_cast<std::uint32_t>(e.image_flags);
  flags = hidden ? (flags | kImageHidden) : (flags & ~kImageHidden);
  e.image_flags = static_cast<std::int32_t>(flags);
}

// --- element callbacks

double FSAPI adi_pitch(SpriteElement *e) { return limited(e->source_var_y.var_value.n, kPitchStop); }

double FSAPI adi_ball_height(SliderElement *e) {
  double b = e->source_var_y.var_value.n;
  return b * b;
}

double FSAPI adi_turn_rate(NeedleElement *e) { return e->source_var.var_value.n * kTurnRateUnit; }

double FSAPI adi_runway_x(SliderElement *e) { return e->source_var_x.var_value.n; }

// The runway rises into view below 500 ft on a localizer the host marks as
// usable for it, while the radio altimeter runs.
double FSAPI adi_runway_y(SliderElement *e) {
  double height = read_var(kRadioHeight);
  bool allowed = (to_word(read_var(kNav1Flags)) & kRunwayAllowed) != 0;
  set_hidden(e->header, !(allowed && Radio_Altimeter_On != 0 && height < kRunwayBelow));
  return height;
}

// A bar's error in degrees, held to the bar's travel in pixels at its scale.
double director_error(std::int32_t command, std::int32_t attitude, double scale) {
  double a = read_var(attitude);
  double c = read_var(command);
  if (read_var(kFlightDirectorActive) != 1.0) return 0.0;
  return limited(c - a, kBarTravel / scale);
}

double FSAPI adi_fd_pitch(SliderElement *e) {
  return director_error(kFlightDirectorPitch, kPitch, e->scale_y);
}

// The bank bar moves against the bank error.
double FSAPI adi_fd_bank(SliderElement *e) {
  return -director_error(kFlightDirectorBank, kBank, e->scale_x);
}

double FSAPI adi_gs_pointer(SliderElement *e) {
  set_hidden(e->header, Nav1_Power_On == 0 || read_var(kGlideSlopeValid) == 0.0);
  return e->source_var_y.var_value.n;
}

double FSAPI adi_speed_pointer(SliderElement *) {
  double indicated = read_var(kIndicatedAirspeed);
  double reference = read_var(kReferenceAirspeed);
  double d = limited(indicated - reference, kSpeedStop);
  return read_var(kSpeedPointerEnable) == 0.0 ? 0.0 : d;
}

// 1 (no flag) with a valid localizer; the failures and a weak bus count only
// outside the navigation test.
double FSAPI adi_loc_flag(IconElement *e) {
  double state = e->source_var.var_value.n;
  if (flag_set(read_var(kInstrumentFailure))) state = kDraw;
  if (read_var(kNavigationTest) == 0.0) {
    if (flag_set(read_var(kNavReceiverFailure))) state = kDraw;
    if (!(read_var(kBusVoltage) >= kFlagVolts)) state = kDraw;
  }
  return state;
}

double FSAPI adi_gs_flag(IconElement *) {
  double valid = read_var(kGlideSlopeValid);
  double receiver = read_var(kNavReceiverFailure);
  double instruments = read_var(kInstrumentFailure);
  double volts = read_var(kBusVoltage);
  double test = read_var(kNavigationTest);
  if (Nav1_Power_On == 0 || receiver == 1.0 || instruments == 1.0 || test == 1.0 ||
      !(volts >= kFlagVolts))
    return kDraw;
  return valid == 1.0 ? kNoDraw : kDraw;
}

double FSAPI adi_failure_flag(IconElement *) {
  double instruments = read_var(kInstrumentFailure);
  double attitude = read_var(kAttitudeFailure);
  double vacuum = read_var(kVacuumFailure);
  return instruments > 0.0 || attitude > 0.0 || vacuum > 0.0 ? kDraw : kNoDraw;
}

// Lit at or below the decision height, unless the host's state reads 1.0.
double FSAPI adi_dh_lamp(IconElement *) {
  double decision = read_var(kDecisionHeight);
  double height = read_var(kRadioHeight);
  double systems = read_var(kSystemsOn);
  bool at_or_below = height - decision <= 0.0;
  return at_or_below && systems != 1.0 ? kDraw : kNoDraw;
}

// --- the element tree, each element the single child of the one before

FailureRecord attitude_failures[] = {{8, 0, 0}, {2, 0, 0}, {4, 0, 0}, {0, 0, 0}};
FailureRecord navigation_failures[] = {{21, 3, 0}, {14, 3, 0}, {0, 0, 0}};
FailureRecord turn_failures[] = {{18, 1, 0}, {20, 2, 0}, {0, 0, 0}};
FailureRecord lamp_failures[] = {{20, 3, 0}, {21, 3, 0}, {0, 0, 0}};

constexpr PixPoint kCentre = {150, 131};

NonlinearityEntry bank_table[] = {table_point(-90, 160, 131), table_point(90, 140, 131)};
NonlinearityEntry turn_table[] = {table_point(-5, 117, 267), table_point(-4.5, 117, 267),
                                  table_point(4.5, 183, 267), table_point(5, 183, 267)};

extern GaugeElement *dial_next[];
extern GaugeElement *horizon_next[];
extern GaugeElement *mask_next[];
extern GaugeElement *runway_next[];
extern GaugeElement *bank_pointer_next[];
extern GaugeElement *bars_next[];
extern GaugeElement *fd_pitch_next[];
extern GaugeElement *fd_bank_next[];
extern GaugeElement *inner_mask_next[];
extern GaugeElement *turn_next[];
extern GaugeElement *gs_pointer_next[];
extern GaugeElement *speed_next[];
extern GaugeElement *failure_flag_next[];
extern GaugeElement *loc_flag_next[];
extern GaugeElement *gs_flag_next[];
extern GaugeElement *bezel_next[];
extern GaugeElement *lamp_next[];
extern GaugeElement *ball_next[];

constexpr SliderElement pointer_slider(std::int32_t bitmap, PixPoint pos, GaugeElement **next,
                                       FailureRecord *failures, Axis x, Axis y,
                                       SliderCallback x_cb, SliderCallback y_cb) {
  return slider({.bitmap = bitmap,
                 .pos = pos,
                 .flags = 0x4083,
                 .next = next,
                 .failures = failures,
                 .gauge = kSelf,
                 .x = x,
                 .y = y,
                 .x_callback = x_cb,
                 .y_callback = y_cb});
}

constexpr IconElement flag(std::int32_t bitmap, PixPoint pos, std::uint32_t flags,
                           GaugeElement **next, FailureRecord *failures, std::int32_t token,
                           IconCallback cb) {
  return icon({.bitmap = bitmap,
               .pos = pos,
               .flags = flags,
               .next = next,
               .failures = failures,
               .gauge = kSelf,
               .token = token,
               .callback = cb});
}

StaticImageElement dial =
    static_image({.bitmap = 3190, .flags = 0x4003, .next = dial_next, .gauge = kSelf});
SpriteElement horizon = sprite({.bitmap = 3180,
                                .pos = {16, 16},
                                .flags = 0x4083,
                                .next = horizon_next,
                                .failures = attitude_failures,
                                .gauge = kSelf,
                                .centre = kCentre,
                                .y = {.token = kPitch, .scale = 3.75},
                                .rotation = {.token = kBank, .scale = -1.0},
                                .texture_scale_x = 1.0f,
                                .texture_scale_y = 0.7f,
                                .y_callback = adi_pitch});
StaticImageElement mask =
    static_image({.bitmap = 3170, .pos = {16, 16}, .flags = 0x4003, .next = mask_next, .gauge = kSelf});
// 8 px per 61 m of radio height: 20 px at 152.5 m, where it comes into view
SliderElement runway =
    pointer_slider(3140, {131, 204}, runway_next, navigation_failures,
                   {.token = kLateralDeviation, .scale = 33.0}, {.scale = 0.13114754098360656},
                   adi_runway_x, adi_runway_y);
NeedleElement bank_pointer = needle({.bitmap = 3160,
                                     .pos = kCentre,
                                     .flags = 0x4083,
                                     .next = bank_pointer_next,
                                     .failures = attitude_failures,
                                     .gauge = kSelf,
                                     .pivot = {83, 11},
                                     .token = kBank,
                                     .table = table(bank_table)});
SliderElement bars = slider({.bitmap = 3150,
                             .pos = {47, 126},
                             .flags = 0x4003,
                             .next = bars_next,
                             .gauge = kSelf,
                             .y = {.token = kAttitudeBars, .scale = -0.28}});
SliderElement fd_pitch_bar = pointer_slider(3130, {84, 128}, fd_pitch_next, nullptr, {},
                                            {.scale = 3.0}, nullptr, adi_fd_pitch);
SliderElement fd_bank_bar = pointer_slider(3120, {126, 16}, fd_bank_next, nullptr,
                                           {.scale = 2.0}, {}, adi_fd_bank, nullptr);
StaticImageElement inner_mask = static_image(
    {.bitmap = 3110, .pos = {16, 16}, .flags = 0x4003, .next = inner_mask_next, .gauge = kSelf});
NeedleElement turn_pointer = needle({.bitmap = 3100,
                                     .pos = {150, 300},
                                     .flags = 0x4083,
                                     .next = turn_next,
                                     .failures = turn_failures,
                                     .gauge = kSelf,
                                     .pivot = {0, 5},
                                     .token = kTurnRate,
                                     .callback = adi_turn_rate,
                                     .table = table(turn_table)});
SliderElement gs_pointer =
    pointer_slider(3090, {267, 125}, gs_pointer_next, navigation_failures,
                   {.token = kGlideSlopeValid, .scale = 0.0},
                   {.token = kGlideSlopeDeviation, .scale = 40.0}, nullptr, adi_gs_pointer);
SliderElement speed_pointer = pointer_slider(3080, {26, 125}, speed_next, attitude_failures, {},
                                             {.scale = 1.6}, nullptr, adi_speed_pointer);
IconElement failure_flag =
    flag(3060, {219, 179}, 0x4083, failure_flag_next, nullptr, 0, adi_failure_flag);
IconElement loc_flag =
    flag(3070, {119, 152}, 0x4083, loc_flag_next, nullptr, kLateralValid, adi_loc_flag);
IconElement gs_flag =
    flag(3050, {265, 103}, 0x4083, gs_flag_next, nullptr, kGlideSlopeValid, adi_gs_flag);
StaticImageElement bezel =
    static_image({.bitmap = 3040, .flags = 0x3, .next = bezel_next, .gauge = kSelf});
IconElement dh_lamp = flag(3030, {6, 15}, 0x7, lamp_next, lamp_failures, 0, adi_dh_lamp);
SliderElement ball = pointer_slider(3010, {146, 276}, ball_next, nullptr,
                                    {.token = kBall, .scale = 0.234375},
                                    {.token = kBall, .scale = -0.00030517578125}, nullptr,
                                    adi_ball_height);
StaticImageElement tube =
    static_image({.bitmap = 3000, .pos = {109, 263}, .flags = 0x3, .gauge = kSelf});

GaugeElement *dial_next[] = {el(horizon), nullptr};
GaugeElement *horizon_next[] = {el(mask), nullptr};
GaugeElement *mask_next[] = {el(runway), nullptr};
GaugeElement *runway_next[] = {el(bank_pointer), nullptr};
GaugeElement *bank_pointer_next[] = {el(bars), nullptr};
GaugeElement *bars_next[] = {el(fd_pitch_bar), nullptr};
GaugeElement *fd_pitch_next[] = {el(fd_bank_bar), nullptr};
GaugeElement *fd_bank_next[] = {el(inner_mask), nullptr};
GaugeElement *inner_mask_next[] = {el(turn_pointer), nullptr};
GaugeElement *turn_next[] = {el(gs_pointer), nullptr};
GaugeElement *gs_pointer_next[] = {el(speed_pointer), nullptr};
GaugeElement *speed_next[] = {el(failure_flag), nullptr};
GaugeElement *failure_flag_next[] = {el(loc_flag), nullptr};
GaugeElement *loc_flag_next[] = {el(gs_flag), nullptr};
GaugeElement *gs_flag_next[] = {el(bezel), nullptr};
GaugeElement *bezel_next[] = {el(dh_lamp), nullptr};
GaugeElement *lamp_next[] = {el(ball), nullptr};
GaugeElement *ball_next[] = {el(tube), nullptr};
GaugeElement *elements[] = {el(dial), nullptr};

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpAttitude),
    mouse_parent({109, 263, 84, 31}, kHelpBall),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Attitude_Header =
    gauge_header({.name = "Attitude", .elements = elements, .size_mm = 100, .mouse = mouse});
