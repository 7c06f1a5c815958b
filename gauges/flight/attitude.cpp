// Attitude: the attitude director indicator. The horizon moves with pitch
// (stopping at 40 degrees) and turns with bank, under a bank pointer; the
// flight-director bars show the commanded pitch and bank while the host's
// flight director is active; the localizer and glide-slope pointers and
// flags follow NAV 1; the rising runway shows the radio height below 500 ft
// on a localizer approach; the speed pointer shows the airspeed against the
// reference (20 kt at most either way); a rate-of-turn pointer, an
// inclinometer ball, the decision-height lamp and a failure flag. No gauge
// callback; nothing is clicked.
// Reads: kVarPitch and kVarBank (degrees); kVarTurnBall; kVarTurnRate (256
// per dial unit); kVarIndicatedAirspeed and kVarReferenceAirspeed (knots),
// kVarSpeedPointerEnable; kVarFlightDirectorActive (1.0), its pitch and bank
// commands (degrees); the NAV 1 lateral and glide-slope deviations and their
// validity (kVarHsi...); kVarGpsSource, which overrides the localizer flag's
// receiver and bus tests; kVarNav1Flags (bit 0x80 lets the runway show);
// kVarRadioHeight and kVarDecisionHeight (metres); kVarSystemsOn, which
// darkens the DH lamp at 1.0; kVarAttitudeBars; the navigation-receiver,
// electrical, attitude and vacuum failures; kVarBusVoltage (flags from 10 V).
// Sends: no key events.
// Module-wide: reads Nav1_Power_On and Radio_Altimeter_On.
#include <cmath>

#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/flight/radio_altimeter_state.h"
#include "gauges/radios/radio_power.h"

extern GaugeHeader Attitude_Header;

namespace {
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

// --- element callbacks

double FSAPI adi_pitch(SpriteElement *e) {
  return held_within(e->source_var_y.var_value.n, kPitchStop);
}

double FSAPI adi_ball_height(SliderElement *e) {
  double b = e->source_var_y.var_value.n;
  return b * b;
}

double FSAPI adi_turn_rate(NeedleElement *e) { return e->source_var.var_value.n * kTurnRateUnit; }

double FSAPI adi_runway_x(SliderElement *e) { return e->source_var_x.var_value.n; }

// The runway rises into view below 500 ft on a localizer the host marks as
// usable for it, while the radio altimeter runs.
double FSAPI adi_runway_y(SliderElement *e) {
  double height = read_var(kVarRadioHeight);
  bool allowed = (to_word(read_var(kVarNav1Flags)) & kRunwayAllowed) != 0;
  set_hidden(e->header, !(allowed && Radio_Altimeter_On != 0 && height < kRunwayBelow));
  return height;
}

// A bar's error in degrees, held to the bar's travel in pixels at its scale.
double director_error(std::int32_t command, std::int32_t attitude, double scale) {
  double a = read_var(attitude);
  double c = read_var(command);
  if (read_var(kVarFlightDirectorActive) != 1.0) return 0.0;
  return held_within(c - a, kBarTravel / scale);
}

double FSAPI adi_fd_pitch(SliderElement *e) {
  return director_error(kVarFlightDirectorPitch, kVarPitch, e->scale_y);
}

// The bank bar moves against the bank error.
double FSAPI adi_fd_bank(SliderElement *e) {
  return -director_error(kVarFlightDirectorBank, kVarBank, e->scale_x);
}

double FSAPI adi_gs_pointer(SliderElement *e) {
  set_hidden(e->header, Nav1_Power_On == 0 || read_var(kVarHsiGlideSlopeValid) == 0.0);
  return e->source_var_y.var_value.n;
}

double FSAPI adi_speed_pointer(SliderElement *) {
  double indicated = read_var(kVarIndicatedAirspeed);
  double reference = read_var(kVarReferenceAirspeed);
  double d = held_within(indicated - reference, kSpeedStop);
  return read_var(kVarSpeedPointerEnable) == 0.0 ? 0.0 : d;
}

// 1 (no flag) with a valid localizer; the failures and a weak bus count only
// outside the navigation test.
double FSAPI adi_loc_flag(IconElement *e) {
  double state = e->source_var.var_value.n;
  if (host_flag_set(kVarElectricalFailure)) state = kDraw;
  if (read_var(kVarGpsSource) == 0.0) {
    if (host_flag_set(kVarNavReceiverFailure)) state = kDraw;
    if (!bus_at_least(read_var(kVarBusVoltage), kFlagVolts)) state = kDraw;
  }
  return state;
}

double FSAPI adi_gs_flag(IconElement *) {
  double valid = read_var(kVarHsiGlideSlopeValid);
  double receiver = read_var(kVarNavReceiverFailure);
  double instruments = read_var(kVarElectricalFailure);
  double volts = read_var(kVarBusVoltage);
  double gps = read_var(kVarGpsSource);
  if (Nav1_Power_On == 0 || receiver == 1.0 || instruments == 1.0 || gps == 1.0 ||
      !bus_at_least(volts, kFlagVolts))
    return kDraw;
  return valid == 1.0 ? kNoDraw : kDraw;
}

double FSAPI adi_failure_flag(IconElement *) {
  double instruments = read_var(kVarElectricalFailure);
  double attitude = read_var(kVarAttitudeFailure);
  double vacuum = read_var(kVarVacuumFailure);
  return instruments > 0.0 || attitude > 0.0 || vacuum > 0.0 ? kDraw : kNoDraw;
}

// Lit at or below the decision height, unless the host's state reads 1.0.
double FSAPI adi_dh_lamp(IconElement *) {
  double decision = read_var(kVarDecisionHeight);
  double height = read_var(kVarRadioHeight);
  double systems = read_var(kVarSystemsOn);
  bool at_or_below = height - decision <= 0.0;
  return at_or_below && systems != 1.0 ? kDraw : kNoDraw;
}

// --- the elements

FailureRecord attitude_failures[] = {
    failure(kFailGaugeAttitude),
    failure(kFailSystemEngine),
    failure(kFailSystemVacuum),
    kFailuresEnd,
};
FailureRecord navigation_failures[] = {
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeNavigationVor1, kFailActionNoDraw),
    kFailuresEnd,
};
FailureRecord turn_failures[] = {
    failure(kFailGaugeTurnCoordinator, kFailActionFreeze),
    failure(kFailSystemElectricalPanels, kFailActionZero),
    kFailuresEnd,
};
FailureRecord lamp_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionNoDraw),
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    kFailuresEnd,
};

constexpr PixPoint kCentre = {150, 131};

NonlinearityEntry bank_table[] = {table_point(-90, 160, 131), table_point(90, 140, 131)};
NonlinearityEntry turn_table[] = {table_point(-5, 117, 267), table_point(-4.5, 117, 267),
                                  table_point(4.5, 183, 267), table_point(5, 183, 267)};

// The marks that move over the horizon: lit with the panel, moving smoothly.
struct MarkSpec {
  std::int32_t bitmap = 0;
  PixPoint pos{};
  FailureRecord *failures = nullptr;
  Axis x{}, y{};
  SliderCallback x_callback = nullptr;
  SliderCallback y_callback = nullptr;
};
constexpr SliderElement mark(const MarkSpec &m) {
  return slider({.bitmap = m.bitmap,
                 .pos = m.pos,
                 .flags = kImageLitSmooth,
                 .failures = m.failures,
                 .gauge = kSelf,
                 .x = m.x,
                 .y = m.y,
                 .x_callback = m.x_callback,
                 .y_callback = m.y_callback});
}

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 3190, .flags = kImageLit, .gauge = kSelf});
  SpriteElement horizon = sprite({.bitmap = 3180,
                                  .pos = {16, 16},
                                  .flags = kImageLitSmooth,
                                  .failures = attitude_failures,
                                  .gauge = kSelf,
                                  .centre = kCentre,
                                  .y = {.token = kVarPitch, .scale = 3.75},
                                  .rotation = {.token = kVarBank, .scale = -1.0},
                                  .texture_scale_x = 1.0f,
                                  .texture_scale_y = 0.7f,
                                  .y_callback = adi_pitch});
  StaticImageElement mask =
      static_image({.bitmap = 3170, .pos = {16, 16}, .flags = kImageLit, .gauge = kSelf});
  // 8 px per 61 m of radio height: 20 px at 152.5 m, where it comes into view
  SliderElement runway = mark({.bitmap = 3140,
                               .pos = {131, 204},
                               .failures = navigation_failures,
                               .x = {.token = kVarHsiLateralDeviation, .scale = 33.0},
                               .y = {.scale = 0.13114754098360656},
                               .x_callback = adi_runway_x,
                               .y_callback = adi_runway_y});
  NeedleElement bank_pointer = pointer({.bitmap = 3160,
                                        .pos = kCentre,
                                        .failures = attitude_failures,
                                        .gauge = kSelf,
                                        .pivot = {83, 11},
                                        .token = kVarBank,
                                        .table = table(bank_table)});
  SliderElement bars = slider({.bitmap = 3150,
                               .pos = {47, 126},
                               .flags = kImageLit,
                               .gauge = kSelf,
                               .y = {.token = kVarAttitudeBars, .scale = -0.28}});
  SliderElement fd_pitch_bar =
      mark({.bitmap = 3130, .pos = {84, 128}, .y = {.scale = 3.0}, .y_callback = adi_fd_pitch});
  SliderElement fd_bank_bar =
      mark({.bitmap = 3120, .pos = {126, 16}, .x = {.scale = 2.0}, .x_callback = adi_fd_bank});
  StaticImageElement inner_mask =
      static_image({.bitmap = 3110, .pos = {16, 16}, .flags = kImageLit, .gauge = kSelf});
  NeedleElement turn_pointer = pointer({.bitmap = 3100,
                                        .pos = {150, 300},
                                        .failures = turn_failures,
                                        .gauge = kSelf,
                                        .pivot = {0, 5},
                                        .token = kVarTurnRate,
                                        .callback = adi_turn_rate,
                                        .table = table(turn_table)});
  SliderElement gs_pointer = mark({.bitmap = 3090,
                                   .pos = {267, 125},
                                   .failures = navigation_failures,
                                   .x = {.token = kVarHsiGlideSlopeValid, .scale = 0.0},
                                   .y = {.token = kVarHsiGlideSlopeDeviation, .scale = 40.0},
                                   .y_callback = adi_gs_pointer});
  SliderElement speed_pointer = mark({.bitmap = 3080,
                                      .pos = {26, 125},
                                      .failures = attitude_failures,
                                      .y = {.scale = 1.6},
                                      .y_callback = adi_speed_pointer});
  IconElement failure_flag = flag({.bitmap = 3060,
                                   .pos = {219, 179},
                                   .flags = kImageLitSmooth,
                                   .gauge = kSelf,
                                   .callback = adi_failure_flag});
  IconElement loc_flag = flag({.bitmap = 3070,
                               .pos = {119, 152},
                               .flags = kImageLitSmooth,
                               .gauge = kSelf,
                               .token = kVarHsiLateralValid,
                               .callback = adi_loc_flag});
  IconElement gs_flag = flag({.bitmap = 3050,
                              .pos = {265, 103},
                              .flags = kImageLitSmooth,
                              .gauge = kSelf,
                              .token = kVarHsiGlideSlopeValid,
                              .callback = adi_gs_flag});
  StaticImageElement bezel =
      static_image({.bitmap = 3040, .flags = kImageStandard, .gauge = kSelf});
  IconElement dh_lamp = flag({.bitmap = 3030,
                              .pos = {6, 15},
                              .flags = kImageBright,
                              .failures = lamp_failures,
                              .gauge = kSelf,
                              .callback = adi_dh_lamp});
  SliderElement ball = mark({.bitmap = 3010,
                             .pos = {146, 276},
                             .x = {.token = kVarTurnBall, .scale = 0.234375},
                             .y = {.token = kVarTurnBall, .scale = -0.00030517578125},
                             .y_callback = adi_ball_height});
  StaticImageElement tube =
      static_image({.bitmap = 3000, .pos = {109, 263}, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::horizon, &Parts::mask, &Parts::runway,
                    &Parts::bank_pointer, &Parts::bars, &Parts::fd_pitch_bar, &Parts::fd_bank_bar,
                    &Parts::inner_mask, &Parts::turn_pointer, &Parts::gs_pointer,
                    &Parts::speed_pointer, &Parts::failure_flag, &Parts::loc_flag, &Parts::gs_flag,
                    &Parts::bezel, &Parts::dh_lamp, &Parts::ball, &Parts::tube>
    tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpAttitude),
    mouse_parent({109, 263, 84, 31}, kHelpBall),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Attitude_Header =
    gauge_header<&Attitude_Header>({.name = "Attitude", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
